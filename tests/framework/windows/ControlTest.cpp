#include "framework/graphics/ImageList.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/Application.h"
#include "framework/windows/CustomControl.h"
#include "framework/windows/Form.h"
#include "framework/windows/GraphicControl.h"
#include "framework/windows/Timer.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> GLog;

// Fills its whole rectangle with one colour and logs each paint.
class TSwatch : public TGraphicControl
{
public:
    TSwatch(TComponent* Owner, TColor Fill) : TGraphicControl(Owner), FFill(Fill) {}

protected:
    void Paint() override
    {
        GLog.push_back(GetName() + ":paint");
        GetCanvas().GetBrush().SetColor(FFill);
        GetCanvas().FillRect(GetClientRect());
    }

private:
    TColor FFill;
};

class TPanelish : public TCustomControl
{
public:
    TPanelish(TComponent* Owner, TColor Fill) : TCustomControl(Owner), FFill(Fill) {}

protected:
    void Paint() override
    {
        GLog.push_back(GetName() + ":paint");
        GetCanvas().GetBrush().SetColor(FFill);
        GetCanvas().FillRect({1, 1, GetWidth() - 1, GetHeight() - 1});
    }

private:
    TColor FFill;
};

class ControlTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        GLog.clear();
        MakeForm(TRect::FromSize(100, 50, 40, 30));
    }
};

TEST_F(ControlTest, AFormPaintsItselfThenGraphicChildrenThenWindowedChildrenOverThem)
{
    auto* Swatch = new TSwatch(Form, clRed);
    Swatch->SetName("Swatch");
    Swatch->SetBounds(0, 0, 20, 10);
    Swatch->SetParent(Form);
    auto* Panel = new TPanelish(Form, clBlue);
    Panel->SetName("Panel");
    Panel->SetBounds(10, 0, 20, 10);
    Panel->SetParent(Form);
    Form->Show();
    Pump();
    EXPECT_EQ(GLog, (std::vector<std::string>{"Swatch:paint", "Panel:paint"}));
    EXPECT_EQ(At(5, 5), clRed);
    // The windowed child covers the graphic one; its erase paints its colour, its Paint the rest.
    EXPECT_EQ(At(12, 5), clBlue);
    EXPECT_EQ(At(10, 0), ColorToRGB(Panel->GetColor()));
    EXPECT_EQ(At(35, 5), clBlack);
    // Presented to the port's window.
    auto* Native = Port().GetWindows().back();
    EXPECT_FALSE(Native->GetPresentedRects().empty());
    EXPECT_EQ(PixelToColor(Native->GetScreenPixel(5, 5)), clRed);
}

TEST_F(ControlTest, RepaintIsImmediateAndEraseComesFirst)
{
    auto* Panel = new TPanelish(Form, clLime);
    Panel->SetName("Panel");
    Panel->SetBounds(0, 0, 10, 10);
    Panel->SetParent(Form);
    Form->Show();
    Pump();
    GLog.clear();
    Panel->SetColor(clYellow); // invalidates only
    EXPECT_TRUE(GLog.empty());
    Panel->Repaint();
    EXPECT_EQ(GLog, (std::vector<std::string>{"Panel:paint"}));
    EXPECT_EQ(At(0, 0), clYellow); // erased with the new colour
    EXPECT_EQ(At(5, 5), clLime);
}

TEST_F(ControlTest, MouseReachesTheGraphicControlUnderThePointerAndStaysWithItWhileCaptured)
{
    auto* Swatch = new TSwatch(Form, clRed);
    Swatch->SetBounds(10, 10, 10, 10);
    Swatch->SetParent(Form);
    std::vector<std::string> Seen;
    Swatch->OnMouseDown = [&](TObject*, TMouseButton B, TShiftState, int X, int Y) {
        Seen.push_back("down " + std::to_string(int(B)) + " " + std::to_string(X) + "," +
                       std::to_string(Y));
    };
    Swatch->OnMouseMove = [&](TObject*, TShiftState, int X, int Y) {
        Seen.push_back("move " + std::to_string(X) + "," + std::to_string(Y));
    };
    Swatch->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Seen.push_back("up " + std::to_string(X) + "," + std::to_string(Y));
    };
    Swatch->OnClick = [&](TObject*) { Seen.push_back("click"); };
    Form->Show();
    Pump();

    Mouse(WM_LBUTTONDOWN, {12, 13}, ssLeft);
    Mouse(WM_MOUSEMOVE, {35, 2}, ssLeft); // outside, but captured
    Mouse(WM_LBUTTONUP, {35, 2});         // released outside: no click
    Mouse(WM_MOUSEMOVE, {35, 2});         // no longer captured: the form's
    Mouse(WM_LBUTTONDOWN, {11, 11}, ssLeft);
    Mouse(WM_LBUTTONUP, {11, 11});
    EXPECT_EQ(Seen, (std::vector<std::string>{"down 1 2,3", "move 25,-8", "up 25,-8", "down 1 1,1",
                                              "up 1,1", "click"}));
    EXPECT_EQ(TWindowManager::Get().GetCapture(), 0u);
}

TEST_F(ControlTest, ThePointerTakesTheShapeOfTheControlItIsOverOrTheOneHoldingIt)
{
    auto* Link = new TSwatch(Form, clRed);
    Link->SetBounds(10, 10, 10, 10);
    Link->SetCursor(crHandPoint);
    Link->SetParent(Form);
    auto* Edit = new TPanelish(Form, clLime);
    Edit->SetBounds(25, 0, 15, 30);
    Edit->SetCursor(crIBeam);
    Edit->SetParent(Form);
    Form->SetCursor(crSizeAll);
    Form->Show();
    Pump();
    THeadlessWindow* Native = nullptr;
    for (THeadlessWindow* W : Port().GetWindows())
        if (W->IsVisible())
            Native = W;
    ASSERT_NE(Native, nullptr);
    const auto MoveTo = [&](HWND Wnd, TPoint Client, unsigned Shift = 0) {
        WM().HandleMouse(Wnd, WM_MOUSEMOVE, Shift, Client);
        Pump();
        return Native->GetCursor();
    };
    EXPECT_EQ(MoveTo(Form->GetHandle(), {12, 12}), TCursorShape::Hand);
    EXPECT_EQ(MoveTo(Form->GetHandle(), {2, 2}), TCursorShape::SizeAll);
    EXPECT_EQ(MoveTo(Edit->GetHandle(), {3, 3}), TCursorShape::IBeam);
    Form->SetCursor(crDefault);
    EXPECT_EQ(MoveTo(Form->GetHandle(), {2, 25}), TCursorShape::Arrow);
    // Pressed on the link and dragged off it, the pointer stays a hand until the release.
    Mouse(WM_LBUTTONDOWN, {12, 12}, ssLeft);
    EXPECT_EQ(MoveTo(Form->GetHandle(), {2, 25}, ssLeft), TCursorShape::Hand);
    Mouse(WM_LBUTTONUP, {2, 25});
    EXPECT_EQ(MoveTo(Form->GetHandle(), {3, 25}), TCursorShape::Arrow);
}

TEST_F(ControlTest, ARightClickOnAGraphicControlAsksTheFormForItsContextMenu)
{
    auto* Swatch = new TSwatch(Form, clRed);
    Swatch->SetBounds(10, 10, 10, 10);
    Swatch->SetParent(Form);
    TPoint Asked{-100, -100};
    Form->OnContextPopup = [&](TObject*, TPoint P, bool& Handled) {
        Asked = P;
        Handled = true;
    };
    Form->Show();
    Pump();
    Mouse(WM_RBUTTONDOWN, {14, 15});
    Mouse(WM_RBUTTONUP, {14, 15});
    EXPECT_EQ(Asked, TPoint(14, 15));
}

TEST_F(ControlTest, AClientAlignedChildFollowsItsParent)
{
    auto* Swatch = new TSwatch(Form, clRed);
    Swatch->SetParent(Form);
    Swatch->SetAlign(alClient);
    EXPECT_EQ(Swatch->GetBoundsRect(), TRect(0, 0, 40, 30));
    Form->SetBounds(0, 0, 60, 20);
    EXPECT_EQ(Swatch->GetBoundsRect(), TRect(0, 0, 60, 20));
}

// A control described inside one that cannot hold controls goes where that one is (a graphic
// control's parent) or to its owner (inside an image list), and is written back from there: a
// second reading and writing is the same as the first.
TEST_F(ControlTest, AControlDescribedInsideOneThatHoldsNoControlsGoesWhereThatOneIs)
{
    RegisterGraphicsClasses();
    RegisterStandardControls();
    const std::string Text = "object Form1: TForm\n"
                             "  BorderStyle = bsNone\n"
                             "  ClientWidth = 200\n"
                             "  ClientHeight = 100\n"
                             "  object Panel1: TPanel\n"
                             "    Width = 150\n"
                             "    Height = 80\n"
                             "    object Label1: TLabel\n"
                             "      object Inner: TPanel\n"
                             "        Left = 3\n"
                             "        Align = alClient\n"
                             "      end\n"
                             "    end\n"
                             "  end\n"
                             "  object Images: TImageList\n"
                             "    object Listed: TLabel\n"
                             "      Left = 5\n"
                             "    end\n"
                             "  end\n"
                             "end\n";
    TForm Read(nullptr);
    TFormReader::ReadInto(Read, Text);
    auto* Inner = dynamic_cast<TControl*>(Read.FindComponent("Inner"));
    auto* Listed = dynamic_cast<TControl*>(Read.FindComponent("Listed"));
    ASSERT_TRUE(Inner && Listed);
    EXPECT_EQ(Inner->GetParent(), Read.FindComponent("Panel1"));
    EXPECT_EQ(Inner->GetBoundsRect(), Inner->GetParent()->GetClientRect());
    EXPECT_EQ(Listed->GetParent(), &Read);
    EXPECT_EQ(Listed->GetLeft(), 5);
    const std::string Written = TFormWriter::WriteComponent(Read);
    TForm Again(nullptr);
    TFormReader::ReadInto(Again, Written);
    EXPECT_EQ(TFormWriter::WriteComponent(Again), Written);
}

struct TAnchorCase
{
    const char* Name;
    TAnchors Anchors;
    TRect Grown; // the child's bounds once the form is 40 wider and 20 taller
};

class ControlAnchors : public ControlTest, public testing::WithParamInterface<TAnchorCase>
{};

TEST_P(ControlAnchors, KeepTheDistancesToTheAnchoredEdges)
{
    const TAnchorCase& C = GetParam();
    Form->SetBounds(100, 50, 218, 100);
    auto* Child = new TSwatch(Form, clRed);
    Child->SetBounds(205, 10, 8, 6);
    Child->SetAnchors(C.Anchors);
    Child->SetParent(Form);
    Form->Show();
    Pump();
    Form->SetBounds(100, 50, 258, 120);
    EXPECT_EQ(Child->GetBoundsRect(), C.Grown);
    // Back to the first size, back to the first place: nothing drifts.
    Form->SetBounds(100, 50, 218, 100);
    EXPECT_EQ(Child->GetBoundsRect(), TRect::FromSize(205, 10, 8, 6));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlAnchors,
    testing::Values(
        TAnchorCase{"LeftTop", {akLeft, akTop}, TRect::FromSize(205, 10, 8, 6)},
        TAnchorCase{"TopRight", {akTop, akRight}, TRect::FromSize(245, 10, 8, 6)},
        TAnchorCase{"LeftRight", {akLeft, akTop, akRight}, TRect::FromSize(205, 10, 48, 6)},
        TAnchorCase{"Bottom", {akLeft, akBottom}, TRect::FromSize(205, 30, 8, 6)},
        TAnchorCase{"TopBottom", {akLeft, akTop, akBottom}, TRect::FromSize(205, 10, 8, 26)},
        TAnchorCase{"None", {}, TRect::FromSize(225, 20, 8, 6)}),
    ByName{});

struct TFarBoundsCase
{
    const char* Name;
    TRect Asked;  // left, top, width, height as SetBounds takes them: in a TRect's fields
    TRect Bounds; // what the control then has, as GetBoundsRect gives it
};

class ControlFarBounds : public ControlTest, public testing::WithParamInterface<TFarBoundsCase>
{};

// Bounds are 16-bit window coordinates: the form's window, a windowed and a graphic control agree
// on where a position or size beyond them stops, and the edges they paint by are ints.
TEST_P(ControlFarBounds, StopAtTheEndsOfTheWindowRange)
{
    const TFarBoundsCase& C = GetParam();
    const TRect& A = C.Asked;
    Form->Show();
    // The form with its own size, so that its back buffer stays small.
    Form->SetBounds(A.Left, A.Top, 40, 30);
    const TRect FormBounds = TRect::FromSize(C.Bounds.Left, C.Bounds.Top, 40, 30);
    EXPECT_EQ(Form->GetBoundsRect(), FormBounds);
    EXPECT_EQ(WM().GetWindowRect(Form->GetHandle()), FormBounds);
    EXPECT_EQ(Port().GetWindows().back()->GetBounds(), FormBounds);

    auto* Panel = new TPanelish(Form, clRed);
    Panel->SetParent(Form);
    Panel->SetBounds(A.Left, A.Top, A.Right, A.Bottom);
    EXPECT_EQ(Panel->GetBoundsRect(), C.Bounds);
    const TPoint Origin = Form->ClientToScreen({0, 0});
    EXPECT_EQ(WM().GetWindowRect(Panel->GetHandle()), C.Bounds.Offset(Origin.X, Origin.Y));

    auto* Swatch = new TSwatch(Form, clBlue);
    Swatch->SetParent(Form);
    Swatch->SetBounds(A.Left, A.Top, A.Right, A.Bottom);
    EXPECT_EQ(Swatch->GetBoundsRect(), C.Bounds);
    // Painted where they reach the form: the windowed control over the graphic one.
    Pump();
    const bool Covers = C.Bounds.Intersect({0, 0, 40, 30}) == TRect(0, 0, 40, 30);
    EXPECT_EQ(At(20, 15), Covers ? clRed : clBlack);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlFarBounds,
    testing::Values(TFarBoundsCase{"TopOfTheIntRange",
                                   {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                                   TRect::FromSize(32767, 32767, 32767, 32767)},
                    TFarBoundsCase{"BottomOfTheIntRange",
                                   {INT_MIN, INT_MIN, 10, 20},
                                   TRect::FromSize(-32768, -32768, 10, 20)},
                    TFarBoundsCase{"EndsOfTheWindowRange",
                                   {-32768, 32767, 32767, 5},
                                   TRect::FromSize(-32768, 32767, 32767, 5)},
                    TFarBoundsCase{"JustBeyond",
                                   {-32769, 32768, 32768, 6},
                                   TRect::FromSize(-32768, 32767, 32767, 6)},
                    TFarBoundsCase{"CoveringTheForm",
                                   {-30000, -20000, 60000, 50000},
                                   TRect::FromSize(-30000, -20000, 32767, 32767)}),
    ByName{});

TEST_F(ControlTest, TimersTickInTheLoopAndAModalFormKeepsThemTicking)
{
    auto* Timer = new TTimer(App.get());
    Timer->SetInterval(250);
    int Ticks = 0;
    auto* Dialog = new TForm(App.get());
    Dialog->SetBorderStyle(bsNone);
    Timer->SetOnTimer([&](TObject*) {
        ++Ticks;
        if (Ticks == 2)
            Dialog->ShowModal(); // ticks 3 and 4 run inside the modal loop
        if (Ticks == 4)
            Dialog->SetModalResult(mrOk);
        if (Ticks == 6)
            App->Terminate();
    });
    App->Run();
    EXPECT_EQ(Ticks, 6);
    EXPECT_EQ(Port().GetTickCount(), 1000u + 6 * 250u);
    EXPECT_FALSE(Dialog->GetVisible());
}

TEST_F(ControlTest, AQuitPostedInsideAModalLoopEndsTheRun)
{
    auto* Dialog = new TForm(App.get());
    Dialog->SetBorderStyle(bsNone);
    auto* Timer = new TTimer(App.get());
    Timer->SetInterval(100);
    int Ticks = 0;
    TModalResult Result = -1;
    Timer->SetOnTimer([&](TObject*) {
        if (++Ticks == 1)
            Result = Dialog->ShowModal();
        else
            TWindowManager::Get().PostQuitMessage(0);
    });
    App->Run();
    EXPECT_EQ(Ticks, 2);
    EXPECT_EQ(Result, mrCancel);
    EXPECT_TRUE(App->GetTerminated());
}

TEST_F(ControlTest, TheFocusComesBackWhereItWasAfterAModalFormAndOnActivation)
{
    TForm* Main = nullptr;
    App->CreateForm(Main);
    const auto Add = [](TForm* Owner, int Left) {
        auto* C = new TCustomControl(Owner);
        C->SetBounds(Left, 0, 20, 20);
        C->SetParent(Owner);
        return C;
    };
    Add(Main, 0);
    TCustomControl* Second = Add(Main, 30);
    Main->Show();
    Second->SetFocus();
    auto* Dialog = new TForm(App.get());
    TCustomControl* InDialog = Add(Dialog, 0);
    Port().QueueEvent([&] {
        InDialog->SetFocus();
        EXPECT_TRUE(InDialog->Focused());
        Dialog->SetModalResult(mrOk);
    });
    Dialog->ShowModal();
    EXPECT_TRUE(Second->Focused());
    EXPECT_EQ(WM().GetActiveWindow(), Main->GetHandle());
    // Another program took the desktop's focus and gives it back.
    WM().HandleFocus(Main->GetHandle(), false);
    WM().SetFocus(0);
    WM().HandleFocus(Main->GetHandle(), true);
    EXPECT_TRUE(Second->Focused());
}

TEST_F(ControlTest, HidingTheApplicationWindowHidesTheMainFormsTaskbarButton)
{
    // The form created first through CreateForm is the main form.
    TForm* Main = nullptr;
    App->CreateForm(Main);
    auto* Native = Port().GetWindows().back();
    EXPECT_TRUE(Native->GetParams().TaskbarButton);
    TWindowManager::Get().ShowWindow(App->GetHandle(), SW_HIDE);
    EXPECT_FALSE(Native->GetParams().TaskbarButton);
    EXPECT_EQ(App->GetMainForm(), Main);
}

} // namespace
