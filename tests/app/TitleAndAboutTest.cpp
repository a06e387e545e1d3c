// The title box's "X" and link, and the about box: its texts from the top down, its links, Ok,
// and where it opens.
#include "app/Faboutnixie.h"
#include "app/Fnixstart.h"
#include "app/ProductInfo.h"
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/Label.h"
#include "framework/windows/Screen.h"
#include "tests/app/ClockFormTest.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

class TitleAndAboutTest : public ClockFormTest
{
protected:
    void SetUp() override
    {
        ClockFormTest::SetUp();
        Port().ClearShellOpens();
        Seed("viewerleft", 300);
        Seed("viewertop", 200);
    }
    // Runs the about command; Act works the open box and must end it.
    void About(const std::function<void(TFormAboutNixie&)>& Act)
    {
        Port().QueueEvent(
            [&] {
                TFormAboutNixie* Box = nullptr;
                for (TForm* F : Screen().GetForms())
                    if (auto* A = dynamic_cast<TFormAboutNixie*>(F); A && A->GetVisible())
                        Box = A;
                ASSERT_NE(Box, nullptr);
                Act(*Box);
                if (Box->GetModalResult() == mrNone) {
                    ADD_FAILURE() << "The about box is still open";
                    Box->SetModalResult(mrCancel);
                }
            },
            10);
        Form1->About1Click(nullptr);
        for (TForm* F : Screen().GetForms())
            EXPECT_EQ(dynamic_cast<TFormAboutNixie*>(F), nullptr); // destroyed after
    }
};

TEST_F(TitleAndAboutTest, TheTitleBoxXClosesItAtOnceAndTheLinkOpensTheMakersSite)
{
    Start(true);
    Port().QueueEvent([&] { Click(FormNixieStart->LabelLink); }, 200);
    Port().QueueEvent([&] { Click(FormNixieStart->Label4); }, 300);
    Port().QueueEvent([&] { EXPECT_FALSE(FormNixieStart->GetVisible()); }, 310);
    Port().QueueEvent([&] { App->Terminate(); }, 5300);
    App->Run();
    EXPECT_FALSE(FormNixieStart->GetVisible());
    EXPECT_EQ(Port().GetShellOpens(), std::vector<std::string>{MakerSite});
}

TEST_F(TitleAndAboutTest, TheTitleStripShowsEveryCaptionWhole)
{
    Start(true);
    TWinControl* Strip = FormNixieStart->PanelStartup;
    for (TLabel* L : {FormNixieStart->LabelTitle, FormNixieStart->LabelLink,
                      FormNixieStart->LabelRight, FormNixieStart->Label4}) {
        TBitmap Scratch;
        TCanvas Measure(Scratch);
        Measure.SetFont(L->GetFont());
        EXPECT_GE(L->GetWidth(), Measure.TextExtent(L->GetCaption()).Width) << L->GetName();
        const TRect B = L->GetBoundsRect();
        EXPECT_EQ(B.Intersect(Strip->GetClientRect()), B) << L->GetName();
    }
}

TEST_F(TitleAndAboutTest, TheAboutBoxNamesTheClockFromTheTopDownAndOkClosesIt)
{
    Start();
    About([this](TFormAboutNixie& Box) {
        std::vector<TLabel*> Labels = {Box.LabelUrl, Box.LabelVersion, Box.LabelCopyright,
                                       Box.LabelProgName};
        std::sort(Labels.begin(), Labels.end(),
                  [](TLabel* A, TLabel* B) { return A->GetTop() < B->GetTop(); });
        std::vector<std::string> Texts;
        for (TLabel* L : Labels)
            Texts.push_back(L->GetCaption());
        EXPECT_EQ(Texts, (std::vector<std::string>{ProductName, ProductCopyright, "version 1.1",
                                                   ProductPage}));
        EXPECT_EQ(Box.GetCaption(), "About Velmora's Nixie Clock");
        EXPECT_EQ(Box.GetClientRect(), TRect(0, 0, 396, 305));
        for (TLabel* Link :
             {Box.LabelUrl, Box.Label6, Box.Label2, Box.Label4, Box.Label3, Box.Label5})
            Click(Link);
        Click(Box.ButtonOk);
        EXPECT_EQ(Box.GetModalResult(), mrOk);
    });
    std::vector<std::string> Expected{ProductPage};
    Expected.insert(Expected.end(), std::begin(OtherProductPages), std::end(OtherProductPages));
    EXPECT_EQ(Port().GetShellOpens(), Expected);
}

// A clock that stays on top keeps its face clear: the box opens above it when there is room,
// else below it.
TEST_F(TitleAndAboutTest, TheAboutBoxOpensAboveOrBelowAClockOnTop)
{
    Seed("alwaysontop", 1);
    Seed("viewertop", 20);
    Start();
    About([this](TFormAboutNixie& Box) {
        EXPECT_EQ(Box.GetTop(), Form1->GetTop() + Form1->GetHeight() + 10);
        Box.SetModalResult(mrOk);
    });
    Form1->SetTop(500);
    About([this](TFormAboutNixie& Box) {
        EXPECT_EQ(Box.GetTop() + Box.GetHeight() + 10, 500);
        Box.SetModalResult(mrOk);
    });
}

} // namespace
