// The message box and the standard exception display: wrapping, layout, the answer each key or
// click gives, the clock's timers ticking behind the box, and errors escaping handlers.
#include "framework/stdctrls/MessageForm.h"

#include "base/Exception.h"
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "framework/windows/Screen.h"
#include "framework/windows/Timer.h"
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/CaseName.h"
#include "tests/support/HeadlessApp.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TWrapCase
{
    const char* Name;
    std::string Text;
    int MaxWidth;
    std::vector<std::string> Lines;
};

class MessageWrap : public testing::TestWithParam<TWrapCase>
{};

TEST_P(MessageWrap, BreaksAtLineEndsThenWordsThenCharacters)
{
    const TWrapCase& C = GetParam();
    // Six pixels a character, whatever its encoded length.
    const auto Measure = [](const std::string& S) {
        int N = 0;
        for (unsigned char Ch : S)
            N += (Ch & 0xC0) != 0x80;
        return 6 * N;
    };
    EXPECT_EQ(TMessageForm::WrapText(C.Text, C.MaxWidth, Measure), C.Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageWrap,
    testing::Values(TWrapCase{"Empty", "", 60, {""}}, TWrapCase{"Fits", "short", 30, {"short"}},
                    TWrapCase{"Words", "one two three", 42, {"one two", "three"}},
                    TWrapCase{"LineBreaks", "a\nb\r\n\nc", 60, {"a", "b", "", "c"}},
                    TWrapCase{"LongWord", "abcdefghij", 24, {"abcd", "efgh", "ij"}},
                    TWrapCase{"LongWordAfterWords", "to abcdefgh x", 30, {"to", "abcde", "fgh x"}},
                    TWrapCase{"WholeCharacters",
                              "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F",
                              12,
                              {"\xC3\xA4\xC3\xB6", "\xC3\xBC\xC3\x9F"}},
                    TWrapCase{"NarrowerThanACharacter", "abc", 4, {"a", "b", "c"}}),
    ByName{});

void Press(TMessageForm& Box, unsigned Key)
{
    WM().HandleKey(Box.GetHandle(), WM_KEYDOWN, Key, 0);
    WM().HandleKey(Box.GetHandle(), WM_KEYUP, Key, 0);
}
void ClickButton(TMessageForm& Box, const std::string& Caption)
{
    for (TButton* B : Box.GetButtons())
        if (B->GetCaption() == Caption) {
            const TPoint P{B->GetLeft() + 5, B->GetTop() + 5};
            WM().HandleMouse(Box.GetHandle(), WM_LBUTTONDOWN, ssLeft, P);
            WM().HandleMouse(Box.GetHandle(), WM_LBUTTONUP, 0, P);
            return;
        }
    ADD_FAILURE() << "no button " << Caption;
}

class MessageFormTest : public HeadlessAppTest
{
protected:
    void SetUp() override
    {
        RegisterStandardControls();
        HeadlessAppTest::SetUp();
        App->SetTitle("Nixie");
    }

    // The message box that is up now, or null.
    static TMessageForm* OpenBox()
    {
        for (TForm* F : Screen().GetForms())
            if (auto* M = dynamic_cast<TMessageForm*>(F); M && M->GetVisible())
                return M;
        return nullptr;
    }
    // Runs Fn with the open box once the box's loop waits for input.
    void WhenOpen(std::function<void(TMessageForm&)> Fn, int DelayMs = 20)
    {
        Port().QueueEvent(
            [this, Fn] {
                TMessageForm* Box = OpenBox();
                if (!Box) {
                    Log.push_back("no box");
                    return;
                }
                Fn(*Box);
            },
            DelayMs);
    }
    std::vector<std::string> Log;
};

struct TLayoutCase
{
    const char* Name;
    unsigned Flags;
    std::vector<std::string> Captions;
    int DefaultIndex;
    const char* CancelCaption; // "" when no button cancels
};

class MessageLayout : public MessageFormTest, public testing::WithParamInterface<TLayoutCase>
{};

TEST_P(MessageLayout, ButtonsInARowCentredUnderTheText)
{
    const TLayoutCase& C = GetParam();
    TMessageForm Box(nullptr, "Line one\nand a second, longer line", "Caption", C.Flags);
    std::vector<std::string> Captions;
    std::string Cancel;
    for (std::size_t I = 0; I < Box.GetButtons().size(); ++I) {
        TButton* B = Box.GetButtons()[I];
        Captions.push_back(B->GetCaption());
        EXPECT_EQ(B->GetDefault(), int(I) == C.DefaultIndex) << C.Name << " " << I;
        if (B->GetCancel())
            Cancel += B->GetCaption();
        EXPECT_EQ(B->GetTop(), Box.GetButtons()[0]->GetTop());
        EXPECT_GE(B->GetTop(), Box.GetTextRect().Bottom);
        if (I > 0) {
            EXPECT_EQ(B->GetLeft(), Box.GetButtons()[I - 1]->GetLeft() + 75 + 6);
        }
    }
    EXPECT_EQ(Captions, C.Captions) << C.Name;
    EXPECT_EQ(Cancel, C.CancelCaption) << C.Name;
    const int LeftGap = Box.GetButtons().front()->GetLeft();
    const int RightGap = Box.GetClientWidth() - Box.GetButtons().back()->GetBoundsRect().Right;
    EXPECT_LE(std::abs(LeftGap - RightGap), 1) << C.Name;
    EXPECT_EQ(Box.GetLines(), (std::vector<std::string>{"Line one", "and a second, longer line"}));
    const int TextLeft = (C.Flags & MB_ICONMASK) ? 12 + 32 + 12 : 12;
    EXPECT_EQ(Box.GetTextRect().Left, TextLeft) << C.Name;
    EXPECT_GE(Box.GetClientWidth(), Box.GetTextRect().Right + 12) << C.Name;
    EXPECT_EQ(Box.GetCaption(), "Caption");
    EXPECT_EQ(Box.GetBorderStyle(), bsDialog);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageLayout,
    testing::Values(TLayoutCase{"Ok", MB_OK, {"OK"}, 0, "OK"},
                    TLayoutCase{
                        "OkCancelStop", MB_OKCANCEL | MB_ICONSTOP, {"OK", "Cancel"}, 0, "Cancel"},
                    TLayoutCase{"YesNoCancelSecond",
                                MB_YESNOCANCEL | MB_DEFBUTTON2,
                                {"Yes", "No", "Cancel"},
                                1,
                                "Cancel"},
                    TLayoutCase{"YesNoQuestion", MB_YESNO | MB_ICONQUESTION, {"Yes", "No"}, 0, ""},
                    TLayoutCase{"AbortRetryIgnoreThird",
                                MB_ABORTRETRYIGNORE | MB_DEFBUTTON3,
                                {"Abort", "Retry", "Ignore"},
                                2,
                                ""},
                    TLayoutCase{"RetryCancelPastTheEnd",
                                MB_RETRYCANCEL | MB_DEFBUTTON3,
                                {"Retry", "Cancel"},
                                1,
                                "Cancel"}),
    ByName{});

// What the user does while the box is up, and the answer.
struct TAnswerCase
{
    const char* Name;
    unsigned Flags;
    std::vector<std::function<void(TMessageForm&)>> Steps; // one after another, 20 ms apart
    int Expected;
};

class MessageAnswer : public MessageFormTest, public testing::WithParamInterface<TAnswerCase>
{};

TEST_P(MessageAnswer, IsTheButtonUsed)
{
    const TAnswerCase& C = GetParam();
    for (const auto& Step : C.Steps)
        WhenOpen(Step);
    EXPECT_EQ(App->ShowMessageBox("Question?", "", C.Flags), C.Expected) << C.Name;
    EXPECT_TRUE(Log.empty()) << C.Name << ": a step found the box closed";
    EXPECT_EQ(OpenBox(), nullptr);
    EXPECT_FALSE(App->GetTerminated());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageAnswer,
    testing::Values(
        TAnswerCase{"EnterOnOk", MB_OK, {[](TMessageForm& B) { Press(B, VK_RETURN); }}, IDOK},
        TAnswerCase{"EscapeOnOk", MB_OK, {[](TMessageForm& B) { Press(B, VK_ESCAPE); }}, IDOK},
        TAnswerCase{"CloseOnOk",
                    MB_OK,
                    {[](TMessageForm& B) { WM().HandleCloseRequest(B.GetHandle()); }},
                    IDOK},
        TAnswerCase{"EscapeOnOkCancel",
                    MB_OKCANCEL,
                    {[](TMessageForm& B) { Press(B, VK_ESCAPE); }},
                    IDCANCEL},
        TAnswerCase{"EnterOnTheSecondDefault",
                    MB_YESNOCANCEL | MB_DEFBUTTON2,
                    {[](TMessageForm& B) { Press(B, VK_RETURN); }},
                    IDNO},
        TAnswerCase{"SpaceAfterTab",
                    MB_YESNO,
                    {[](TMessageForm& B) { Press(B, VK_TAB); },
                     [](TMessageForm& B) { Press(B, VK_SPACE); }},
                    IDNO},
        TAnswerCase{"SpaceTypedAheadOfTheTab",
                    MB_YESNO,
                    {[](TMessageForm& B) {
                        Press(B, VK_TAB);
                        Press(B, VK_SPACE);
                    }},
                    IDNO},
        TAnswerCase{"NothingCancelsYesNo",
                    MB_YESNO,
                    {[](TMessageForm& B) {
                         Press(B, VK_ESCAPE);
                         WM().HandleCloseRequest(B.GetHandle());
                     },
                     [](TMessageForm& B) { ClickButton(B, "Yes"); }},
                    IDYES},
        TAnswerCase{"ClickRetry",
                    MB_ABORTRETRYIGNORE,
                    {[](TMessageForm& B) { ClickButton(B, "Retry"); }},
                    IDRETRY}),
    ByName{});

TEST_F(MessageFormTest, TimersKeepTickingBehindTheBox)
{
    auto* Clock = new TForm(App.get());
    Clock->SetBorderStyle(bsNone);
    Clock->Show();
    auto* Timer = new TTimer(Clock);
    Timer->SetInterval(250);
    int Ticks = 0;
    Timer->SetOnTimer([&](TObject*) { ++Ticks; });
    Timer->SetEnabled(true);
    WhenOpen([](TMessageForm& B) { Press(B, VK_RETURN); }, 1100);
    EXPECT_EQ(App->ShowMessageBox("Wait", "", MB_OK), IDOK);
    EXPECT_GE(Ticks, 4);
    // The form behind the box took no input while the box was up, and takes it again after.
    EXPECT_TRUE(WM().IsWindowEnabled(Clock->GetHandle()));
}

TEST_F(MessageFormTest, TheStandardExceptionDisplayShowsTheMessageWithAFullStop)
{
    std::vector<std::string> Seen;
    WhenOpen([&](TMessageForm& B) {
        Seen = B.GetLines();
        Seen.push_back(B.GetCaption());
        Seen.push_back(B.GetIcon() == MB_ICONSTOP ? "stop" : "other icon");
        Press(B, VK_RETURN);
    });
    App->ShowException(EResNotFound("Resource 71 not found"));
    EXPECT_EQ(Seen, (std::vector<std::string>{"Resource 71 not found.", "Nixie", "stop"}));
    EXPECT_EQ(App->GetLastExceptionMessage(), "Resource 71 not found.");
    // A message that already ends with a full stop keeps its one.
    WhenOpen([](TMessageForm& B) { Press(B, VK_RETURN); });
    App->ShowException(Exception("Done."));
    EXPECT_EQ(App->GetLastExceptionMessage(), "Done.");
}

TEST_F(MessageFormTest, AnErrorInAHandlerIsShownAndTheLoopGoesOn)
{
    auto* Main = new TForm(App.get());
    Main->SetBorderStyle(bsNone);
    auto* Timer = new TTimer(Main);
    Timer->SetInterval(100);
    int Ticks = 0;
    Timer->SetOnTimer([&](TObject*) {
        if (++Ticks == 1)
            throw EInvalidOperation("The first tick failed");
    });
    Timer->SetEnabled(true);
    std::string Shown;
    WhenOpen(
        [&](TMessageForm& B) {
            Shown = B.GetLines().front();
            Press(B, VK_RETURN);
        },
        150);
    Port().QueueEvent([this] { App->Terminate(); }, 1000);
    App->Run();
    EXPECT_EQ(Shown, "The first tick failed.");
    EXPECT_GE(Ticks, 5);
}

} // namespace
