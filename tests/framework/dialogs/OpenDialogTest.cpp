// The dialog components ask the system for its own dialog first, hand it their settings and the
// active form as owner, and draw their own only where the system has none.
#include "framework/dialogs/OpenDialog.h"

#include "framework/dialogs/FileDialogForm.h"
#include "framework/dialogs/SaveDialog.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/Screen.h"
#include "tests/support/CaseName.h"
#include "tests/support/ForwardingPlatform.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

// A system whose file dialog answers as told and keeps what it was asked.
class TDialogPlatform : public TForwardingPlatform
{
public:
    TFileDialogResult RunFileDialog(const TFileDialogParams& Params) override
    {
        Asked = Params;
        return Answer;
    }
    TFileDialogResult Answer;
    std::optional<TFileDialogParams> Asked;
};

struct TNativeCase
{
    const char* Name;
    TFileDialogOutcome Outcome;
    bool Executed;
    std::string FileName; // after Execute
    bool SelfDrawn;       // the framework's own dialog came up
};

class NativeFileDialog : public HeadlessAppTest, public testing::WithParamInterface<TNativeCase>
{
protected:
    void SetUp() override
    {
        RegisterStandardControls();
        HeadlessAppTest::SetUp();
    }
};

TEST_P(NativeFileDialog, TheSystemDialogIsAskedFirst)
{
    const TNativeCase& C = GetParam();
    THeadlessPlatform& Headless = Port(); // before the fake stands in front of it
    TDialogPlatform System;
    System.Answer = {C.Outcome, C.Outcome == TFileDialogOutcome::Chosen ? "/data/new.bin" : ""};
    auto* Owner = new TForm(App.get());
    Owner->Show();
    TSaveDialog Dialog(nullptr);
    Dialog.SetTitle("Export");
    Dialog.SetInitialDir("/data");
    Dialog.SetFileName("old.bin");
    Dialog.SetFilter("Binary (*.bin)|*.bin;*.dat|All files|*.*");
    bool SelfDrawn = false;
    Headless.QueueEvent([&] {
        for (TForm* F : Screen().GetForms())
            if (auto* D = dynamic_cast<TFileDialogForm*>(F); D && D->GetVisible()) {
                SelfDrawn = D->GetSave() && D->GetCaption() == "Export";
                WM().HandleKey(D->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
            }
    });
    EXPECT_EQ(Dialog.Execute(), C.Executed);
    EXPECT_EQ(Dialog.GetFileName(), C.FileName);
    EXPECT_EQ(SelfDrawn, C.SelfDrawn);
    ASSERT_TRUE(System.Asked);
    EXPECT_TRUE(System.Asked->Save);
    EXPECT_EQ(System.Asked->Title, "Export");
    EXPECT_EQ(System.Asked->Folder, "/data");
    EXPECT_EQ(System.Asked->FileName, "old.bin");
    EXPECT_EQ(System.Asked->Owner, WM().GetPeer(Owner->GetHandle()));
    using TFilters = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(System.Asked->Filters,
              (TFilters{{"Binary (*.bin)", "*.bin;*.dat"}, {"All files", "*.*"}}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NativeFileDialog,
    testing::Values(TNativeCase{"ChosenGivesThePath", TFileDialogOutcome::Chosen, true,
                                "/data/new.bin", false},
                    TNativeCase{"CancelledKeepsTheName", TFileDialogOutcome::Cancelled, false,
                                "old.bin", false},
                    TNativeCase{"NoNativeDialogDrawsOne", TFileDialogOutcome::NoNativeDialog, false,
                                "old.bin", true}),
    ByName{});

TEST(FileDialogDescription, HoldsTheDialogsSettings)
{
    RegisterClass<TSaveDialog>();
    TForm Read(nullptr);
    TFormReader::ReadInto(Read, "object Form1: TForm\n"
                                "  object SaveDialog1: TSaveDialog\n"
                                "    FileName = 'a.bin'\n"
                                "    InitialDir = '/data'\n"
                                "    Title = 'Export'\n"
                                "    Filter = 'All files|*.*'\n"
                                "  end\n"
                                "end\n");
    auto* D = dynamic_cast<TSaveDialog*>(Read.FindComponent("SaveDialog1"));
    ASSERT_NE(D, nullptr);
    EXPECT_EQ(D->GetFileName(), "a.bin");
    EXPECT_EQ(D->GetInitialDir(), "/data");
    EXPECT_EQ(D->GetTitle(), "Export");
    EXPECT_EQ(D->GetFilter(), "All files|*.*");
}

TEST(FileDialogFilter, PairsDescriptionsWithPatterns)
{
    using TFilters = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(TOpenDialog::ParseFilter(""), TFilters{});
    EXPECT_EQ(TOpenDialog::ParseFilter("Text|*.txt|Lone"), (TFilters{{"Text", "*.txt"}}));
    EXPECT_EQ(TOpenDialog::ParseFilter("|*.a|Empty||B|*.b"), (TFilters{{"", "*.a"}, {"B", "*.b"}}));
}

} // namespace
