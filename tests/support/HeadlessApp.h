#pragma once

// Cases on the headless port that start from a fresh window manager, the port's clock at one
// second and its screen at 1024 x 768; HeadlessAppTest adds the application object, and
// HeadlessFormTest a form of the case's that Mouse and At address.

#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>

// The port the tests run on, and its window manager.
inline THeadlessPlatform& Port()
{
    return static_cast<THeadlessPlatform&>(TPlatform::Get());
}

inline TWindowManager& WM()
{
    return TWindowManager::Get();
}

class HeadlessWindowsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        TWindowManager::Reset();
        Port().SetTickCount(1000);
        Port().SetScreenSize({1024, 768});
    }
    void TearDown() override
    {
        TWindowManager::Reset();
        Port().ClearQueuedEvents();
    }
};

class HeadlessAppTest : public HeadlessWindowsTest
{
protected:
    void SetUp() override
    {
        HeadlessWindowsTest::SetUp();
        App = std::make_unique<TApplication>(nullptr);
        App->Initialize();
    }
    void TearDown() override
    {
        App.reset();
        HeadlessWindowsTest::TearDown();
    }

    // Lets the application handle whatever is queued.
    void Pump() { App->ProcessMessages(); }

    std::unique_ptr<TApplication> App;
};

class HeadlessFormTest : public HeadlessAppTest
{
protected:
    // A borderless form of the application at Bounds (screen), filled with Color; Form.
    TForm* MakeForm(const TRect& Bounds, TColor Color = clBlack)
    {
        Form = new TForm(App.get());
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
        Form->SetColor(Color);
        return Form;
    }

    // Mouse input at a client point of Form, then whatever it causes.
    void Mouse(UINT Msg, TPoint Client, unsigned Shift = 0)
    {
        WM().HandleMouse(Form->GetHandle(), Msg, Shift, Client);
        Pump();
    }
    // A left click at a client point of a control (its middle by default), sent to the window of
    // the form holding it, then whatever it causes.
    void Click(TControl* C, std::optional<TPoint> At = std::nullopt)
    {
        TWinControl* F = C->GetParentForm();
        const TPoint P =
            C->ClientToScreen(At.value_or(TPoint{C->GetWidth() / 2, C->GetHeight() / 2})) -
            F->ClientToScreen({0, 0});
        WM().HandleMouse(F->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, P);
        WM().HandleMouse(F->GetHandle(), WM_LBUTTONUP, 0, P);
        Pump();
    }
    // A pixel of Form as last painted, in its client coordinates.
    TColor At(int X, int Y) { return WM().GetBackBuffer(Form->GetHandle())->GetPixel(X, Y); }

    TForm* Form = nullptr;
};
