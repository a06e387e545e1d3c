#pragma once

// Cases with the clock's main form on the headless port, started over a settings key that the
// case prepares, and the key read back afterwards.

#include "app/Fnixie.h"
#include "app/Fnixstart.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/HeadlessApp.h"

#include <optional>
#include <string>
#include <vector>

class ClockFormTest : public HeadlessFormTest
{
protected:
    static constexpr const char* SettingsKey = "Software\\Tolvane\\QXRidivAzoza";

    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        Port().GetRegistry().RemoveKey("Software\\Tolvane");
    }
    void TearDown() override
    {
        HeadlessFormTest::TearDown();
        Port().GetRegistry().RemoveKey("Software\\Tolvane");
    }

public:
    // A value in the clock's key before it starts.
    static void Seed(const std::string& Name, std::int32_t Value)
    {
        TRegistryKey Key = 0;
        ASSERT_EQ(Port().CreateRegistryKey(TRegistryRoot::CurrentUser, SettingsKey, Key, nullptr),
                  ERROR_SUCCESS);
        Port().SetRegistryValue(Key, Name, REG_DWORD,
                                DwordBytes(static_cast<std::uint32_t>(Value)));
        Port().CloseRegistryKey(Key);
    }
    // A REG_DWORD of the clock's key; none when missing.
    static std::optional<std::int32_t> Stored(const std::string& Name)
    {
        TRegistryKey Key = 0;
        if (Port().OpenRegistryKey(TRegistryRoot::CurrentUser, SettingsKey, Key) != ERROR_SUCCESS)
            return std::nullopt;
        std::uint32_t Type = REG_NONE;
        std::vector<std::uint8_t> Data;
        const long Result = Port().QueryRegistryValue(Key, Name, Type, Data);
        Port().CloseRegistryKey(Key);
        const std::optional<std::uint32_t> Value = DwordOf(Data);
        if (Result != ERROR_SUCCESS || Type != REG_DWORD || !Value)
            return std::nullopt;
        return static_cast<std::int32_t>(*Value);
    }
    // The port's window of the shown main form; null when there is none.
    static THeadlessWindow* NativeOfForm1()
    {
        for (THeadlessWindow* W : Port().GetWindows())
            if (W->IsVisible() && W->GetParams().Title == "Form1")
                return W;
        return nullptr;
    }
    static std::vector<std::string> StoredNames()
    {
        return Port().GetRegistry().GetValueNames(SettingsKey);
    }

protected:
    // Creates the main form (and the title box when asked) as the program does, and shows it.
    void Start(bool WithTitleBox = false)
    {
        App->CreateForm(Form1);
        Form = Form1;
        if (WithTitleBox)
            App->CreateForm(FormNixieStart);
        Form1->Show();
        Pump();
    }
    // Ends the run as Quit does (the form's destruction stores the settings) and starts again.
    void Restart()
    {
        delete Form1;
        Start();
    }
};
