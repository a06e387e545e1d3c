#include "framework/stdctrls/MainMenu.h"

#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/MenuBar.h"
#include "framework/stdctrls/MenuBarTracker.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MenuLayout.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/stdctrls/PopupMenuWindow.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// One input: a press on or a move to a bar item, a click on an item of the deepest open
// drop-down, a press outside every menu, or a key (with Alt: a system key) and its character.
struct TInput
{
    enum TKind
    {
        Press,
        Move,
        Choose,
        Outside,
        Key,
        AltTap
    } Kind;
    const char* Target = "";
    unsigned VirtualKey = 0;
    char32_t Char = 0;
    TShiftState Shift = 0;
};

TInput Press(const char* Bar)
{
    return {TInput::Press, Bar};
}
TInput Move(const char* Bar)
{
    return {TInput::Move, Bar};
}
TInput Choose(const char* Item)
{
    return {TInput::Choose, Item};
}
TInput Key(unsigned VirtualKey, char32_t Char = 0, TShiftState Shift = 0)
{
    return {TInput::Key, "", VirtualKey, Char, Shift};
}
const TInput Outside{TInput::Outside};
const TInput AltTap{TInput::AltTap};

// The first input starts the menu from the form; the others run inside its loops, each after
// the state it found was logged: "File: Open" (the drop-down of File open, Open highlighted,
// "-" for none, ">" into a submenu), "[Edit]" (Edit selected on the bar), "none".
struct TScript
{
    const char* Name;
    std::vector<TInput> Inputs;
    std::vector<std::string> Log;
};

std::ostream& operator<<(std::ostream& Out, const TScript& S)
{
    return Out << S.Name;
}

class MainMenuTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        MakeForm(TRect::FromSize(100, 100, 400, 200), clBtnFace);
        Menu = new TMainMenu(Form);
        TMenuItem* File = Add(Menu->GetItems(), "File1", "&File");
        Add(File, "Open1", "&Open", "Ctrl+O");
        Add(File, "Save1", "&Save", "Ctrl+S");
        Add(File, "SaveAs1", "Save &As", "Ctrl+Shift+S");
        Add(File, "N1", "-");
        Add(File, "Exit1", "E&xit");
        TMenuItem* Edit = Add(Menu->GetItems(), "Edit1", "&Edit");
        Add(Edit, "Copy1", "&Copy", "Ctrl+C");
        Add(Edit, "Paste1", "&Paste", "Ctrl+V")->SetEnabled(false);
        Add(Edit, "SelectAll1", "S&elect All");
        Add(Add(Edit, "Find1", "&Find"), "Next1", "Find &Next", "F3");
        Add(Add(Menu->GetItems(), "Tools1", "&Tools"), "Options1", "&Options", "Ctrl+T");
        Item("Tools1")->SetEnabled(false);
        Add(Add(Menu->GetItems(), "Help1", "&Help"), "About1", "&About");
        Form->SetMenu(Menu);
        Form->OnKeyDown = [this](TObject*, unsigned& K, TShiftState) {
            Log.push_back("form key " + std::to_string(K));
        };
        Form->Show();
        Pump();
    }

    TMenuItem* Add(TMenuItem* Parent, const char* Name, const char* Caption,
                   const char* ShortCut = "")
    {
        auto* I = new TMenuItem(Form);
        I->SetName(Name);
        I->SetCaption(Caption);
        I->SetShortCut(TextToShortCut(ShortCut));
        I->OnClick = [this](TObject* Sender) {
            const bool Gone = !TMenuBarTracker::GetActive() && !TPopupMenuTracker::GetActive();
            Log.push_back("click " + dynamic_cast<TMenuItem*>(Sender)->GetName() +
                          (Gone ? "" : " inside the loop"));
        };
        Parent->Add(I);
        return I;
    }
    TMenuItem* Item(const char* Name)
    {
        return dynamic_cast<TMenuItem*>(Form->FindComponent(Name));
    }
    TMenuBar& Bar() { return *Menu->GetBar(); }

    int BarIndex(const std::string& Caption)
    {
        for (int I = 0; I < Bar().GetItemCount(); ++I)
            if (ParseMenuCaption(Bar().GetItem(I)->GetCaption()).Text == Caption)
                return I;
        ADD_FAILURE() << "no bar item " << Caption;
        return -1;
    }
    TPoint BarPoint(const std::string& Caption)
    {
        const TRect R = Bar().GetItemRect(BarIndex(Caption));
        return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }

    std::string State()
    {
        if (const TPopupMenuTracker* T = TPopupMenuTracker::GetActive()) {
            std::string S =
                ParseMenuCaption(T->GetLayout(0).GetEntry(0).Item->GetParent()->GetCaption()).Text +
                ": ";
            for (int L = 0; L < T->GetLevelCount(); ++L) {
                const int H = T->GetHighlight(L);
                S += (L ? ">" : "") +
                     (H < 0 ? "-" : ParseMenuCaption(T->GetLayout(L).GetEntry(H).Caption).Text);
            }
            return S;
        }
        if (const TMenuBarTracker* B = TMenuBarTracker::GetActive())
            return "[" + ParseMenuCaption(Bar().GetItem(B->GetSelected())->GetCaption()).Text + "]";
        return "none";
    }

    void Perform(const TInput& In)
    {
        const HWND F = Form->GetHandle();
        switch (In.Kind) {
        case TInput::Press:
            WM().HandleMouse(F, WM_LBUTTONDOWN, ssLeft, BarPoint(In.Target));
            WM().HandleMouse(F, WM_LBUTTONUP, 0, BarPoint(In.Target));
            return;
        case TInput::Move:
            return WM().HandleMouse(F, WM_MOUSEMOVE, 0, BarPoint(In.Target));
        case TInput::Choose: {
            const TPopupMenuTracker* T = TPopupMenuTracker::GetActive();
            const int L = T->GetLevelCount() - 1;
            for (int I = 0; I < T->GetLayout(L).GetCount(); ++I)
                if (ParseMenuCaption(T->GetLayout(L).GetEntry(I).Caption).Text == In.Target) {
                    const TPoint P = T->GetLayout(L).GetEntry(I).Bounds.TopLeft() + TPoint{4, 4};
                    WM().HandleMouse(T->GetWindow(L), WM_MOUSEMOVE, 0, P);
                    WM().HandleMouse(T->GetWindow(L), WM_LBUTTONUP, 0, P);
                }
            return;
        }
        case TInput::Outside:
            return WM().HandleMouse(F, WM_LBUTTONDOWN, ssLeft, {300, 150});
        case TInput::Key:
            WM().HandleKey(F, (In.Shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, In.VirtualKey,
                           In.Shift);
            if (In.Char)
                WM().HandleChar(F, In.Char);
            WM().HandleKey(F, (In.Shift & ssAlt) ? WM_SYSKEYUP : WM_KEYUP, In.VirtualKey, In.Shift);
            return;
        case TInput::AltTap:
            WM().HandleKey(F, WM_SYSKEYDOWN, VK_MENU, ssAlt);
            WM().HandleKey(F, WM_KEYUP, VK_MENU, 0);
            return;
        }
    }

    void RunScript(const std::vector<TInput>& Inputs)
    {
        for (std::size_t I = 1; I < Inputs.size(); ++I)
            Port().QueueEvent([this, In = Inputs[I]] {
                Log.push_back(State());
                Perform(In);
            });
        Perform(Inputs.front());
        Pump();
        EXPECT_EQ(Port().GetQueuedEventCount(), 0u) << "the menu closed before the script ended";
        EXPECT_EQ(State(), "none");
        EXPECT_EQ(Bar().GetSelected(), -1);
    }

    TMainMenu* Menu = nullptr;
    std::vector<std::string> Log;
};

TEST_F(MainMenuTest, TheBarSetsItsItemsSideBySideAndLeavesTheRestOfTheClientArea)
{
    Item("Tools1")->SetVisible(false);
    TBitmap Measure(1, 1);
    const int Line = Measure.GetCanvas().TextHeight("") + TMenuLayout::ItemPaddingPixels;
    int X = 0;
    ASSERT_EQ(Bar().GetItemCount(), 3);
    for (const char* Caption : {"File", "Edit", "Help"}) {
        const int W = Measure.GetCanvas().TextWidth(Caption) + 2 * TMenuBar::ItemMarginPixels;
        EXPECT_EQ(Bar().GetItemRect(BarIndex(Caption)), TRect::FromSize(X, 0, W, Line)) << Caption;
        X += W;
    }
    auto* Top = new TPanel(Form);
    Top->SetParent(Form);
    Top->SetHeight(30);
    Top->SetAlign(alTop);
    auto* Rest = new TPanel(Form);
    Rest->SetParent(Form);
    Rest->SetAlign(alClient);
    EXPECT_EQ(Bar().GetBoundsRect(), TRect::FromSize(0, 0, 400, Line));
    EXPECT_EQ(Top->GetBoundsRect(), TRect::FromSize(0, Line, 400, 30));
    EXPECT_EQ(Rest->GetBoundsRect(), TRect(0, Line + 30, 400, 200));
    Form->SetMenu(nullptr);
    EXPECT_EQ(Top->GetBoundsRect(), TRect::FromSize(0, 0, 400, 30));
    EXPECT_EQ(Menu->GetBar(), nullptr);
}

TEST_F(MainMenuTest, ADropDownMakesRoomForItsShortCutsRightOfTheCaptions)
{
    TBitmap Measure(1, 1);
    TCanvas& C = Measure.GetCanvas();
    const TMenuLayout Layout(*Item("File1"), C);
    EXPECT_EQ(Layout.GetEntry(2).ShortCut, "Ctrl+Shift+S");
    EXPECT_EQ(Layout.GetSize().Width,
              2 * TMenuLayout::BorderPixels + TMenuLayout::CheckColumnPixels +
                  C.TextWidth("Save As") + TMenuLayout::ShortCutGapPixels +
                  C.TextWidth("Ctrl+Shift+S") + TMenuLayout::ArrowColumnPixels);
    // An item with a submenu shows its arrow, not a shortcut.
    Item("Find1")->SetShortCut({'F', ssCtrl});
    EXPECT_EQ(TMenuLayout(*Item("Edit1"), C).GetEntry(3).ShortCut, "");
}

class MainMenuScriptTest : public MainMenuTest, public testing::WithParamInterface<TScript>
{};

TEST_P(MainMenuScriptTest, RunsTheScript)
{
    RunScript(GetParam().Inputs);
    EXPECT_EQ(Log, GetParam().Log);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, MainMenuScriptTest,
    testing::Values(
        TScript{"ClickOpensAndAClickOnAnItemRunsItAfterTheLoops",
                {Press("File"), Choose("Open")},
                {"File: -", "click Open1"}},
        TScript{"MovingOverTheBarSwitchesDropDownsAndEscapeLeavesInTwoSteps",
                {Press("File"), Move("Edit"), Move("Tools"), Move("Help"), Key(VK_ESCAPE),
                 Key(VK_ESCAPE)},
                {"File: -", "Edit: -", "Edit: -", "Help: -", "[Help]"}},
        TScript{"AltAloneSelectsTheFirstItemAndTheArrowsWalkTheMenus",
                {AltTap, Key(VK_RIGHT), Key(VK_DOWN), Key(VK_DOWN), Key(VK_DOWN), Key(VK_RIGHT),
                 Key(VK_RETURN)},
                // The form sees the Alt key go down, as on Windows.
                {"form key 18", "[File]", "[Edit]", "Edit: Copy", "Edit: Select All", "Edit: Find",
                 "Edit: Find>Find Next", "click Next1"}},
        TScript{"LeftAndRightMoveBetweenDropDownsWrapping",
                {Press("Help"), Key(VK_RIGHT), Key(VK_LEFT), Key(VK_LEFT), Key(VK_ESCAPE)},
                {"Help: -", "File: Open", "Help: About", "[Tools]"}},
        TScript{"AltAndAnAccessKeyOpensThatItemAndALetterChoosesInIt",
                {Key('E', U'e', ssAlt), Key('A', U'a'), Key('C', U'c')},
                {"Edit: Copy", "Edit: Copy", "click Copy1"}},
        TScript{"AnAccessKeyOnTheBarOpensItsItem",
                {AltTap, Key('H', U'h'), Key(VK_RETURN)},
                {"form key 18", "[File]", "Help: About", "click About1"}},
        TScript{"APressOutsideClosesEverything", {Press("File"), Outside}, {"File: -"}},
        TScript{
            "APressOnTheOpenItemClosesItsDropDown", {Press("Edit"), Press("Edit")}, {"Edit: -"}}),
    ByName());

struct TAccelerator
{
    const char* Name;
    unsigned Key;
    TShiftState Shift;
    std::vector<std::string> Log;
};

std::ostream& operator<<(std::ostream& Out, const TAccelerator& A)
{
    return Out << A.Name;
}

class MainMenuShortCutTest : public MainMenuTest, public testing::WithParamInterface<TAccelerator>
{};

TEST_P(MainMenuShortCutTest, RunsTheEnabledItemBeforeTheFormSeesTheKey)
{
    const TAccelerator& A = GetParam();
    WM().HandleKey(Form->GetHandle(), (A.Shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, A.Key,
                   A.Shift);
    Pump();
    EXPECT_EQ(Log, A.Log);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MainMenuShortCutTest,
    testing::Values(TAccelerator{"CtrlO", 'O', ssCtrl, {"click Open1"}},
                    TAccelerator{"CtrlShiftS", 'S', ssCtrl | ssShift, {"click SaveAs1"}},
                    TAccelerator{"NestedF3", 0x72, 0, {"click Next1"}},
                    TAccelerator{"DisabledItem", 'V', ssCtrl, {"form key 86"}},
                    TAccelerator{"DisabledParent", 'T', ssCtrl, {"form key 84"}},
                    TAccelerator{"NoSuchShortCut", 'O', ssCtrl | ssAlt, {"form key 79"}}),
    ByName());

TEST(ShortCutText, GoesBothWays)
{
    const struct
    {
        TShortCut Value;
        const char* Text;
    } Cases[] = {{{'O', ssCtrl}, "Ctrl+O"},
                 {{0x72, 0}, "F3"},
                 {{'S', ssCtrl | ssShift}, "Ctrl+Shift+S"},
                 {{0x2E, ssAlt}, "Alt+Del"},
                 {{'5', ssShift}, "Shift+5"}};
    for (const auto& C : Cases) {
        EXPECT_EQ(ShortCutToText(C.Value), C.Text);
        EXPECT_EQ(TextToShortCut(C.Text), C.Value) << C.Text;
    }
    EXPECT_EQ(TextToShortCut("ctrl+shift+s"), (TShortCut{'S', ssCtrl | ssShift}));
    for (const char* Bad : {"", "Ctrl+", "Hyper+X", "Ctrl+Nothing", "F25"})
        EXPECT_FALSE(TextToShortCut(Bad)) << Bad;
}

TEST_F(MainMenuTest, TheBarDrawsTheClassicLookAndUnderlinesAccessKeysInKeyboardMode)
{
    const TRect File = Bar().GetItemRect(0);
    TBitmap Measure(1, 1);
    const int X0 = File.Left + TMenuBar::ItemMarginPixels;
    const int Row = File.Top + TMenuLayout::ItemPaddingPixels / 2 +
                    Measure.GetCanvas().GetTextMetrics().Ascent + 1;
    const int Width = Measure.GetCanvas().TextWidth("F");
    const auto RowColors = [&] {
        std::vector<TColor> C;
        for (int X = X0; X < X0 + Width; ++X)
            C.push_back(At(X, Row));
        return C;
    };
    EXPECT_EQ(At(1, 1), ColorToRGB(clMenu));
    EXPECT_EQ(RowColors(), std::vector<TColor>(std::size_t(Width), ColorToRGB(clMenu)));
    std::vector<TColor> Selected;
    TColor Corner = clNone;
    Port().QueueEvent([&] {
        Selected = RowColors();
        Corner = At(File.Left, File.Top);
        Perform(Key(VK_ESCAPE));
    });
    Perform(AltTap);
    Pump();
    EXPECT_EQ(Corner, ColorToRGB(clHighlight));
    EXPECT_EQ(Selected, std::vector<TColor>(std::size_t(Width), ColorToRGB(clHighlightText)));
    // While its drop-down is open the item is pressed in: shadow above, light below.
    TColor Top = clNone;
    TColor Bottom = clNone;
    Port().QueueEvent([&] {
        Top = At(File.Left + 2, File.Top);
        Bottom = At(File.Left + 2, File.Bottom - 1);
        Perform(Outside);
    });
    Perform(Press("File"));
    Pump();
    EXPECT_EQ(Top, ColorToRGB(clBtnShadow));
    EXPECT_EQ(Bottom, ColorToRGB(clBtnHighlight));
    // A disabled item is engraved, its caption grey (over a white copy), never as dark as
    // the ink of an enabled one; the text is smoothed, so only the darkest pixel tells.
    const auto Darkest = [&](const TRect& R) {
        int Min = 255;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) {
                const TColor C = At(X, Y);
                Min = std::min(Min, int((C & 0xFF) + ((C >> 8) & 0xFF) + ((C >> 16) & 0xFF)) / 3);
            }
        return Min;
    };
    EXPECT_LT(Darkest(File), 0x60);
    const int Tools = Darkest(Bar().GetItemRect(BarIndex("Tools")));
    EXPECT_GE(Tools, 0x70);
    EXPECT_LT(Tools, 0xE0);
}

TEST_F(MainMenuTest, RunTimeChangesShowAtOnce)
{
    const int Before = Bar().GetItemRect(BarIndex("Help")).Width();
    Item("Help1")->SetCaption("&Help and more");
    Pump();
    EXPECT_GT(Bar().GetItemRect(BarIndex("Help and more")).Width(), Before);
    std::string Shown;
    Port().QueueEvent([&] {
        Item("Save1")->SetCaption("&Keep");
        Item("Open1")->SetEnabled(false);
        Log.push_back(State());
        const TMenuLayout& L = TPopupMenuTracker::GetActive()->GetLayout(0);
        Shown = L.GetEntry(1).Caption + (L.GetEntry(0).Enabled ? " open" : " no open");
        Perform(Key(VK_ESCAPE));
        Perform(Key(VK_ESCAPE));
    });
    Perform(Key('F', U'f', ssAlt));
    Pump();
    EXPECT_EQ(Log, (std::vector<std::string>{"File: -"}));
    EXPECT_EQ(Shown, "&Keep no open");
}

TEST_F(MainMenuTest, AFormDescriptionWithAMainMenuReadsBackAsWritten)
{
    RegisterMenuClasses();
    const char* const Text = "object MenuForm1: TForm\n"
                             "  Menu = MainMenu1\n"
                             "  object MainMenu1: TMainMenu\n"
                             "    object File1: TMenuItem\n"
                             "      Caption = '&File'\n"
                             "      object Open1: TMenuItem\n"
                             "        Caption = '&Open'\n"
                             "        ShortCut = 'Ctrl+O'\n"
                             "      end\n"
                             "    end\n"
                             "  end\n"
                             "end\n";
    TForm Read(nullptr);
    TFormReader::ReadInto(Read, Text);
    auto* Main = dynamic_cast<TMainMenu*>(Read.GetMenu());
    ASSERT_NE(Main, nullptr);
    ASSERT_EQ(Main->GetItems()->GetCount(), 1);
    const TMenuItem* Open = Main->GetItems()->GetItem(0)->GetItem(0);
    EXPECT_EQ(Open->GetShortCut(), (TShortCut{'O', ssCtrl}));
    const std::string Written = TFormWriter::WriteComponent(Read);
    EXPECT_NE(Written.find("Menu = MainMenu1"), std::string::npos) << Written;
    TForm Again(nullptr);
    TFormReader::ReadInto(Again, Written);
    EXPECT_EQ(TFormWriter::WriteComponent(Again), Written);
}

} // namespace
