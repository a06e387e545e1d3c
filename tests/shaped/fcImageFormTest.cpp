#include "framework/windows/CustomControl.h"
#include "framework/windows/GraphicControl.h"
#include "tests/shaped/ShapedTestSupport.h"

#include <algorithm>

namespace {

class ImageForm : public ShapedTest
{
protected:
    // A form with a border, and a panel on it, without any shaped control yet.
    TForm* MakeBorderedForm()
    {
        auto* Form = new TForm(App.get());
        Form->SetBounds(10, 20, 200, 100);
        Form->GetHandle();
        return Form;
    }

    static TBitmap Picture(const TfcCustomImage& C) { return *C.GetPicture().GetGraphic(); }
};

class TPanelControl : public TCustomControl
{
public:
    using TCustomControl::TCustomControl;
};

TEST_F(ImageForm, IsOnThePalettePageAdditional)
{
    fcImageForm::Register();
    const auto Classes = TClassRegistry::GetPaletteClasses("Additional");
    EXPECT_NE(std::find(Classes.begin(), Classes.end(), &ClassInfoOf<TfcImageForm>()),
              Classes.end());
    EXPECT_EQ(GetClass("TfcImageForm"), &ClassInfoOf<TfcImageForm>());
}

TEST_F(ImageForm, ParentingSitsOnTheFormClearsClipChildrenDropsTheBorderAndHooksOnce)
{
    TForm* Form = MakeBorderedForm();
    auto* Panel = new TPanelControl(Form);
    Panel->SetParent(Form);
    const TWndProcRef Original = WM().GetWindowProc(Form->GetHandle());
    auto* Image = new TfcImageForm(Form);
    Image->SetParent(Panel);
    EXPECT_EQ(Image->GetParent(), Form);
    EXPECT_EQ(Form->GetBorderStyle(), bsNone);
    // The border went, so the window is a new one: the hook and the style are on that one.
    const HWND Window = Form->GetHandle();
    const std::uint32_t Style = WM().GetWindowLong(Window, GWL_STYLE);
    EXPECT_EQ(Style & WS_CLIPCHILDREN, 0u);
    EXPECT_EQ(Style & (WS_POPUP | WS_CLIPSIBLINGS), WS_POPUP | WS_CLIPSIBLINGS);
    ASSERT_NE(Image->GetHook(), nullptr);
    EXPECT_EQ(Image->GetHook()->GetOwner(), Image);
    EXPECT_EQ(Image->GetHook()->GetWindowHandle(), Window);
    EXPECT_TRUE(Image->GetHook()->GetHooked());
    EXPECT_NE(WM().GetWindowProc(Window), Original);

    TfcCaptureMessageClass* Hook = Image->GetHook();
    Image->SetParent(Form);
    Image->SetParent(Panel);
    EXPECT_EQ(Image->GetHook(), Hook);
    EXPECT_EQ(Image->GetComponentCount(), 1);
}

TEST_F(ImageForm, InDesignModeNoHookIsInstalledAndNoOutlineReachesTheWindow)
{
    TForm* Form = MakeBorderedForm();
    Form->SetDesigning(true);
    auto* Image = new TfcImageForm(Form);
    EXPECT_TRUE(Image->IsDesigning());
    Image->SetParent(Form);
    EXPECT_EQ(Image->GetHook(), nullptr);
    TPicture P;
    P.SetBitmap(SolidBitmap(20, 10, clRed, true));
    Image->SetPicture(&P);
    Image->ApplyPictureRegion();
    ASSERT_TRUE(Image->GetRegion());
    EXPECT_EQ(Image->GetRegion()->GetRects().back(), TRect(1, 9, 20, 10));
    EXPECT_FALSE(WM().GetWindowRgn(Form->GetHandle()));
}

TEST_F(ImageForm, SetPictureSetsTheClientWidthThenHeightAndLeavesTheOutline)
{
    TShapedTestForm* Form = ReadForm("", 71);
    TfcImageForm* Image = ImageOf(Form);
    Image->ApplyPictureRegion();
    const std::optional<TRegion> Before = WM().GetWindowRgn(Form->GetHandle());
    ASSERT_TRUE(Before);
    Form->Log.clear();
    TPicture Small;
    Small.SetBitmap(LoadBitmapResource(69));
    Image->SetPicture(&Small);
    EXPECT_EQ(Form->Log, (std::vector<std::string>{"ClientWidth 190", "ClientHeight 79"}));
    EXPECT_EQ(Form->GetClientWidth(), 190);
    EXPECT_EQ(Form->GetClientHeight(), 79);
    EXPECT_EQ(Image->GetBoundsRect(), TRect(0, 0, 190, 79));
    EXPECT_EQ(Picture(*Image).GetWidth(), 190);
    EXPECT_EQ(WM().GetWindowRgn(Form->GetHandle()), Before);
    EXPECT_EQ(Image->GetRegion(), Before);
    // Until ApplyPictureRegion, which gives the new face's outline.
    Image->ApplyPictureRegion();
    EXPECT_EQ(WM().GetWindowRgn(Form->GetHandle()), CreateRegionFromBitmap(&Small.GetBitmap(), 0));
}

TEST_F(ImageForm, AnEmptyPictureKeepsTheClientSizeAndLaterMakesTheWindowRectangular)
{
    TShapedTestForm* Form = ReadForm("", 71);
    TfcImageForm* Image = ImageOf(Form);
    Image->ApplyPictureRegion();
    Form->Log.clear();
    TPicture Empty;
    Image->SetPicture(&Empty);
    Image->SetPicture(nullptr);
    EXPECT_TRUE(Form->Log.empty());
    EXPECT_FALSE(Image->GetPicture().HasGraphic());
    EXPECT_TRUE(WM().GetWindowRgn(Form->GetHandle()));
    Image->ApplyPictureRegion();
    EXPECT_FALSE(WM().GetWindowRgn(Form->GetHandle()));
    EXPECT_FALSE(Image->GetRegion());
}

struct TColorCase
{
    const char* Name;
    TColor Transparent;
    std::vector<TRect> Expected;
};

void PrintTo(const TColorCase& C, std::ostream* Out)
{
    *Out << C.Name;
}

class ImageFormColor : public ImageForm, public testing::WithParamInterface<TColorCase>
{};

// A 4 x 3 picture: white, a blue top-left pixel, a red bottom-left pixel.
TEST_P(ImageFormColor, DecidesTheOutline)
{
    TBitmap B = SolidBitmap(4, 3, clWhite);
    B.SetPixel(0, 0, clBlue);
    B.SetPixel(0, 2, clRed);
    TShapedTestForm* Form = ShowPictureForm(B);
    TfcImageForm* Image = ImageOf(Form);
    Image->SetTransparentColor(GetParam().Transparent);
    EXPECT_EQ(Image->GetRegion(), WM().GetWindowRgn(Form->GetHandle())); // no change yet
    Image->ApplyPictureRegion();
    ASSERT_TRUE(Image->GetRegion());
    const auto Rects = Image->GetRegion()->GetRects();
    EXPECT_EQ(std::vector<TRect>(Rects.begin(), Rects.end()), GetParam().Expected);
    EXPECT_EQ(WM().GetWindowRgn(Form->GetHandle()), Image->GetRegion());
}

INSTANTIATE_TEST_SUITE_P(
    Colors, ImageFormColor,
    testing::Values(
        TColorCase{"AutomaticIsTheBottomLeftPixel", 0x1FFFFFFF, {{0, 0, 4, 2}, {1, 2, 4, 3}}},
        TColorCase{"AnExplicitColour", clWhite, {{0, 0, 1, 1}, {0, 2, 1, 3}}},
        TColorCase{"AColourNotInThePictureGivesTheWholeRectangle", clLime, {{0, 0, 4, 3}}}),
    ByName{});

TEST_F(ImageForm, ResolveTransparentColorReadsTheBottomLeftPixelOnlyWhenAutomatic)
{
    TfcImageForm Image(nullptr);
    TBitmap B = SolidBitmap(3, 2, clWhite);
    B.SetPixel(0, 1, RGB(1, 2, 3));
    B.SetPixel(0, 0, RGB(9, 9, 9));
    TPicture P;
    P.SetBitmap(B);
    Image.SetPicture(&P);
    EXPECT_EQ(Image.ResolveTransparentColor(), RGB(1, 2, 3));
    Image.SetTransparentColor(clYellow);
    EXPECT_EQ(Image.ResolveTransparentColor(), clYellow);
}

TEST_F(ImageForm, ClearRegionTakesTheOutlineAwayOnlyWhenItHasOne)
{
    TShapedTestForm* Form = ReadForm("", 71);
    TfcImageForm* Image = ImageOf(Form);
    const HWND Window = Form->GetHandle();
    // Someone else's outline stays while the control has none.
    WM().SetWindowRgn(Window, TRegion(TRect(0, 0, 5, 5)), false);
    Image->ClearRegion();
    EXPECT_EQ(WM().GetWindowRgn(Window), TRegion(TRect(0, 0, 5, 5)));
    Image->ApplyPictureRegion();
    ASSERT_TRUE(WM().GetWindowRgn(Window));
    Image->ClearRegion();
    EXPECT_FALSE(WM().GetWindowRgn(Window));
    EXPECT_FALSE(Image->GetRegion());
}

TEST_F(ImageForm, AFormsNewWindowIsHookedWithoutTheOutlineUntilItIsAppliedAgain)
{
    TShapedTestForm* Form = ReadForm("", 71);
    TfcImageForm* Image = ImageOf(Form);
    Image->ApplyPictureRegion();
    const HWND Old = Form->GetHandle();
    Form->RecreateWnd();
    const HWND Window = Form->GetHandle();
    EXPECT_FALSE(Image->GetRegion());
    EXPECT_NE(Window, Old);
    EXPECT_FALSE(WM().GetWindowRgn(Window));
    ASSERT_NE(Image->GetHook(), nullptr);
    EXPECT_EQ(Image->GetHook()->GetWindowHandle(), Window);
    EXPECT_TRUE(Image->GetHook()->GetHooked());
    Image->ApplyPictureRegion();
    EXPECT_TRUE(WM().GetWindowRgn(Window));
    // Going, the control takes its hook off the new window.
    const TWndProcRef Hooked = WM().GetWindowProc(Window);
    delete Image;
    EXPECT_NE(WM().GetWindowProc(Window), Hooked);
    EXPECT_TRUE(WM().IsWindow(Window));
}

TEST_F(ImageForm, AutoSizeMakesTheControlAndTheClientAreaThePicturesSize)
{
    TShapedTestForm* Form = ReadForm("    AutoSize = True\n", 71);
    TfcImageForm* Image = ImageOf(Form);
    EXPECT_TRUE(Image->GetAutoSize());
    TPicture Small;
    Small.SetBitmap(LoadBitmapResource(69));
    Form->Log.clear();
    Image->GetPicture().Assign(&Small); // the change alone, without SetPicture's sizing
    EXPECT_EQ(Image->GetBoundsRect(), TRect(0, 0, 190, 79));
    EXPECT_EQ(Form->GetClientWidth(), 190);
    EXPECT_EQ(Form->GetClientHeight(), 79);
    const auto Width = std::find(Form->Log.begin(), Form->Log.end(), "ClientWidth 190");
    const auto Height = std::find(Form->Log.begin(), Form->Log.end(), "ClientHeight 79");
    EXPECT_LT(Width, Height);
    EXPECT_NE(Height, Form->Log.end());
}

TEST_F(ImageForm, APictureIsAlwaysDrawnOpaqueAndMarksTheControlOpaqueWhenItCoversIt)
{
    TfcImageForm Image(nullptr);
    Image.SetBounds(0, 0, 20, 10);
    TBitmap B = SolidBitmap(20, 10, clRed);
    B.SetTransparent(true);
    TPicture P;
    P.SetBitmap(B);
    Image.SetPicture(&P);
    EXPECT_FALSE(Image.GetPicture().GetGraphic()->GetTransparent());
    EXPECT_TRUE(Image.GetControlStyle().Contains(csOpaque));
    P.SetBitmap(SolidBitmap(19, 10, clRed));
    Image.SetPicture(&P);
    EXPECT_FALSE(Image.GetControlStyle().Contains(csOpaque));
    Image.SetPicture(nullptr);
    EXPECT_FALSE(Image.GetControlStyle().Contains(csOpaque));
}

class ImageFormPaint : public ImageForm, public testing::WithParamInterface<int>
{};

// On a true-colour display and on a palette display alike the picture is drawn at its natural
// size from the control's corner.
TEST_P(ImageFormPaint, DrawsThePictureUnscaledFromTheOrigin)
{
    Port().SetScreenBitsPerPixel(GetParam());
    TBitmap B = SolidBitmap(12, 8, clLime);
    B.SetPixel(11, 7, clBlue);
    B.SetPixel(0, 0, clRed);
    TShapedTestForm* Form = ReadForm("", 0, 16, 10);
    Form->SetColor(clWhite);
    TPicture P;
    P.SetBitmap(B);
    ImageOf(Form)->SetPicture(&P);
    Form->SetClientWidth(16); // a form larger than the picture
    Form->SetClientHeight(10);
    Form->Show();
    Pump();
    TBitmap* Back = WM().GetBackBuffer(Form->GetHandle());
    EXPECT_EQ(Back->GetPixel(0, 0), clRed);
    EXPECT_EQ(Back->GetPixel(5, 5), clLime);
    EXPECT_EQ(Back->GetPixel(11, 7), clBlue);
    EXPECT_EQ(Back->GetPixel(12, 7), clWhite);
    EXPECT_EQ(Back->GetPixel(11, 8), clWhite);
}

INSTANTIATE_TEST_SUITE_P(Depths, ImageFormPaint, testing::Values(32, 8),
                         [](const testing::TestParamInfo<int>& I) {
                             return "Screen" + std::to_string(I.param) + "Bits";
                         });

TEST_F(ImageForm, PaintingAnEmptyPictureGivesItABlankBitmapOfTheControlsSize)
{
    TShapedTestForm* Form = ReadForm("", 0, 30, 20);
    TfcImageForm* Image = ImageOf(Form);
    EXPECT_FALSE(Image->GetPicture().HasGraphic());
    Form->Show();
    Pump();
    ASSERT_TRUE(Image->GetPicture().HasGraphic());
    EXPECT_EQ(Image->GetPicture().GetWidth(), 30);
    EXPECT_EQ(Image->GetPicture().GetHeight(), 20);
}

TEST_F(ImageForm, InDesignModeADashedFrameShowsWhereThePictureDoesNot)
{
    const auto BlackOnTopRow = [&](bool Designing) {
        auto* Form = new TForm(App.get());
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 60, 20);
        Form->SetColor(clWhite);
        Form->SetDesigning(Designing);
        auto* Image = new TfcImageForm(Form);
        Image->SetParent(Form);
        Image->GetPicture().SetBitmap(SolidBitmap(10, 10, clRed)); // the form keeps its size
        Form->Show();
        Pump();
        const TBitmap* Back = WM().GetBackBuffer(Form->GetHandle());
        int Black = 0;
        for (int X = 10; X < 60; ++X)
            Black += Back->GetPixel(X, 0) == clBlack;
        EXPECT_EQ(Back->GetPixel(5, 5), clRed);
        EXPECT_EQ(Back->GetPixel(30, 10), clWhite);
        delete Form;
        return Black;
    };
    EXPECT_EQ(BlackOnTopRow(false), 0);
    const int Dashes = BlackOnTopRow(true);
    EXPECT_GT(Dashes, 10);
    EXPECT_LT(Dashes, 50); // dashed, not solid
}

TEST_F(ImageForm, TheCaptionBarControlIsForgottenWhenItGoes)
{
    TShapedTestForm* Form = ReadForm("", 71);
    TfcImageForm* Image = ImageOf(Form);
    auto* Bar = new TGraphicControl(Form);
    Image->SetCaptionBarControl(Bar);
    EXPECT_EQ(Image->GetCaptionBarControl(), Bar);
    delete Bar;
    EXPECT_EQ(Image->GetCaptionBarControl(), nullptr);
    // One owned elsewhere is watched too.
    auto Other = std::make_unique<TComponent>(nullptr);
    auto* Foreign = new TGraphicControl(Other.get());
    Image->SetCaptionBarControl(Foreign);
    Other.reset();
    EXPECT_EQ(Image->GetCaptionBarControl(), nullptr);
}

TEST_F(ImageForm, DestroyingTheControlPutsTheFormsProcedureBack)
{
    auto* Form = new TForm(App.get());
    Form->SetBorderStyle(bsNone);
    const TWndProcRef Original = WM().GetWindowProc(Form->GetHandle());
    auto* Image = new TfcImageForm(Form);
    Image->SetParent(Form);
    TPicture P;
    P.SetBitmap(SolidBitmap(10, 10, clRed, true));
    Image->SetPicture(&P);
    Image->ApplyPictureRegion();
    ASSERT_NE(WM().GetWindowProc(Form->GetHandle()), Original);
    delete Image;
    EXPECT_EQ(WM().GetWindowProc(Form->GetHandle()), Original);
    // The window owns what it was given: the outline stays until someone replaces it.
    EXPECT_TRUE(WM().GetWindowRgn(Form->GetHandle()));
    EXPECT_EQ(Form->GetComponentCount(), 0);
}

class ImageFormStyled : public ImageForm, public testing::WithParamInterface<TFormStyle>
{};

TEST_P(ImageFormStyled, AFormTakesItsImageAndTheHookWithIt)
{
    TShapedTestForm* Form = ReadForm("", 71);
    Form->SetFormStyle(GetParam());
    const HWND Window = Form->GetHandle();
    ASSERT_NE(ImageOf(Form)->GetHook(), nullptr);
    delete Form;
    EXPECT_FALSE(WM().IsWindow(Window));
}

INSTANTIATE_TEST_SUITE_P(Styles, ImageFormStyled, testing::Values(fsNormal, fsStayOnTop),
                         [](const testing::TestParamInfo<TFormStyle>& I) {
                             return I.param == fsNormal ? "AsMade" : "MadeAnewOnTop";
                         });

} // namespace
