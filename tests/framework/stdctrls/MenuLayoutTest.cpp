#include "framework/stdctrls/MenuLayout.h"

#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/PopupMenuWindow.h"
#include "tests/framework/graphics/CanvasTestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int Border = TMenuLayout::BorderPixels;

// A menu built from captions: '!' in front makes an item disabled, '*' checked, '+' default,
// '~' invisible, '>' gives it one nested item.
class MenuLayoutTest : public testing::Test
{
protected:
    TMenuItem* Build(std::initializer_list<const char*> Captions)
    {
        for (const char* Caption : Captions) {
            auto* Item = new TMenuItem(&Owner);
            std::string S = Caption;
            for (; !S.empty() && std::string("!*+~>").find(S[0]) != std::string::npos;
                 S.erase(0, 1)) {
                if (S[0] == '!')
                    Item->SetEnabled(false);
                if (S[0] == '*')
                    Item->SetChecked(true);
                if (S[0] == '+')
                    Item->SetDefault(true);
                if (S[0] == '~')
                    Item->SetVisible(false);
                if (S[0] == '>')
                    Item->Add(new TMenuItem(&Owner));
            }
            Item->SetCaption(S);
            Root.Add(Item);
        }
        return &Root;
    }

    // Text measured on a canvas of its own, apart from the layout's.
    int TextHeight() { return Scratch.GetCanvas().TextHeight(""); }
    int TextWidth(const std::string& S, bool Bold = false)
    {
        TCanvas& C = Scratch.GetCanvas();
        C.GetFont().SetStyle(Bold ? unsigned(fsBold) : 0u);
        const int W = C.TextWidth(S);
        C.GetFont().SetStyle(0);
        return W;
    }

    TFakeFontPort Port;
    TComponent Owner{nullptr};
    TMenuItem Root{nullptr};
    TBitmap Scratch{1, 1};
    TBitmap Measure{1, 1};
};

TEST_F(MenuLayoutTest, GeometryFollowsTheMeasuredText)
{
    Build({"+Settings", "Quit", "-", "Users &Manual", "~Hidden", "-", "About"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    const int ItemHeight = TextHeight() + TMenuLayout::ItemPaddingPixels;
    EXPECT_EQ(L.GetItemHeight(), ItemHeight);
    ASSERT_EQ(L.GetCount(), 6); // the invisible one is left out

    const int Widest = std::max({TextWidth("Settings", true), TextWidth("Quit"),
                                 TextWidth("Users Manual"), TextWidth("About")});
    const int Width =
        std::max(TMenuLayout::MinimumWidthPixels, 2 * Border + TMenuLayout::CheckColumnPixels +
                                                      Widest + TMenuLayout::ArrowColumnPixels);
    const std::vector<int> Heights = {ItemHeight,
                                      ItemHeight,
                                      TMenuLayout::SeparatorPixels,
                                      ItemHeight,
                                      TMenuLayout::SeparatorPixels,
                                      ItemHeight};
    int Y = Border;
    for (int I = 0; I < L.GetCount(); ++I) {
        EXPECT_EQ(L.GetEntry(I).Bounds, TRect(Border, Y, Width - Border, Y + Heights[I])) << I;
        Y += Heights[I];
    }
    EXPECT_EQ(L.GetSize(), (TSize{Width, Y + Border}));
    EXPECT_TRUE(L.GetEntry(2).Separator);
    EXPECT_EQ(L.GetEntry(3).Caption, "Users &Manual");
}

TEST_F(MenuLayoutTest, ShortCaptionsGetTheMinimumWidth)
{
    Build({"A", "-"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    EXPECT_EQ(L.GetSize().Width, TMenuLayout::MinimumWidthPixels);
    EXPECT_EQ(L.GetEntry(1).Bounds.Right, TMenuLayout::MinimumWidthPixels - Border);
}

TEST_F(MenuLayoutTest, AMenuOfNothingVisibleHasNoEntries)
{
    Build({"~A", "~B"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    EXPECT_EQ(L.GetCount(), 0);
    EXPECT_EQ(L.NextSelectable(-1, 1), -1);
    EXPECT_EQ(L.HitTest({10, 5}), -1);
}

TEST_F(MenuLayoutTest, HitTestFindsTheEntryUnderEveryCornerAndNothingOnTheBorder)
{
    Build({"One", "-", "!Two", "Three"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    for (int I = 0; I < L.GetCount(); ++I) {
        const TRect& B = L.GetEntry(I).Bounds;
        EXPECT_EQ(L.HitTest({B.Left, B.Top}), I);
        EXPECT_EQ(L.HitTest({B.Right - 1, B.Bottom - 1}), I);
    }
    const TSize S = L.GetSize();
    for (TPoint P :
         {TPoint{0, 0}, TPoint{Border - 1, Border + 2}, TPoint{S.Width - 1, Border},
          TPoint{Border + 4, S.Height - 1}, TPoint{Border + 4, S.Height}, TPoint{-1, Border + 2}})
        EXPECT_EQ(L.HitTest(P), -1) << P.X << "," << P.Y;
}

struct TStepCase
{
    int From;
    int Step;
    int Expected;
};

TEST_F(MenuLayoutTest, NextSelectableSkipsSeparatorsAndDisabledItemsAndWraps)
{
    // 0 sep, 1 A, 2 disabled, 3 sep, 4 B, 5 disabled
    Build({"-", "A", "!X", "-", "B", "!Y"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    const TStepCase Cases[] = {{-1, 1, 1}, {-1, -1, 4}, {1, 1, 4}, {4, 1, 1},
                               {4, -1, 1}, {1, -1, 4},  {2, 1, 4}, {0, -1, 4}};
    for (const TStepCase& C : Cases)
        EXPECT_EQ(L.NextSelectable(C.From, C.Step), C.Expected) << C.From << " " << C.Step;
}

TEST_F(MenuLayoutTest, NextSelectableWithOneOrNoChoice)
{
    Build({"-", "!X", "Only"});
    const TMenuLayout One(Root, Measure.GetCanvas());
    EXPECT_EQ(One.NextSelectable(2, 1), 2);
    EXPECT_EQ(One.NextSelectable(2, -1), 2);
    Root.GetItem(2)->SetEnabled(false);
    const TMenuLayout None(Root, Measure.GetCanvas());
    EXPECT_EQ(None.NextSelectable(-1, 1), -1);
    EXPECT_EQ(None.NextSelectable(0, -1), -1);
}

struct TPlaceCase
{
    TPoint Point;
    TPoint Expected;
};

TEST(MenuPlacement, TheMenuFlipsAwayFromTheEdgesAndStaysOnTheScreen)
{
    const TSize Size{100, 60};
    const TPoint Screen{1024, 768};
    const TPlaceCase Cases[] = {
        {{10, 20}, {10, 20}},      {{924, 708}, {924, 708}}, // fits exactly
        {{925, 20}, {825, 20}},    {{10, 709}, {10, 649}},   {{1023, 767}, {923, 707}},
        {{-5, -7}, {0, 0}},        {{2000, 20}, {924, 20}},  {{50, 5000}, {50, 708}},
        {{1024, 768}, {924, 708}},
    };
    for (const TPlaceCase& C : Cases)
        EXPECT_EQ(TPopupMenuTracker::PlaceMenu(C.Point, Size, Screen), C.Expected)
            << C.Point.X << "," << C.Point.Y;
    // Larger than the screen: the corner stays on it.
    EXPECT_EQ(TPopupMenuTracker::PlaceMenu({300, 300}, {2000, 900}, Screen), TPoint(0, 0));
}

TEST(MenuPlacement, SubmenusOpenBesideTheirItem)
{
    const TSize Size{90, 50};
    const TPoint Screen{640, 480};
    const TRect Parent{100, 100, 220, 200};
    const TRect Item{103, 120, 217, 137};
    // To the right, overlapping the parent's border, the first item level with the parent item.
    EXPECT_EQ(TPopupMenuTracker::PlaceSubmenu(Parent, Item, Size, Screen),
              TPoint(Parent.Right - Border, Item.Top - Border));
    // No room on the right: to the left.
    const TRect RightParent{520, 100, 640, 200};
    EXPECT_EQ(TPopupMenuTracker::PlaceSubmenu(RightParent, Item.Offset(420, 0), Size, Screen),
              TPoint(RightParent.Left - Size.Width + Border, Item.Top - Border));
    // Near the bottom: moved up until it fits.
    const TRect LowItem{103, 460, 217, 477};
    EXPECT_EQ(TPopupMenuTracker::PlaceSubmenu(Parent, LowItem, Size, Screen),
              TPoint(Parent.Right - Border, Screen.Y - Size.Height));
}

// Painting: the border rings, the highlight, separators, disabled text, the check column.
class MenuPaintTest : public MenuLayoutTest
{
protected:
    TBitmap Paint(const TMenuLayout& L, int Highlight)
    {
        TBitmap B = MakeBitmap(L.GetSize().Width, L.GetSize().Height, clFuchsia);
        L.PaintMenu(B.GetCanvas(), Highlight);
        return B;
    }
    static TColor RGBOf(TColor C) { return ColorToRGB(C); }
};

TEST_F(MenuPaintTest, TheBorderIsRaisedInTwoRings)
{
    Build({"A"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    const TBitmap B = Paint(L, -1);
    const int W = L.GetSize().Width;
    const int H = L.GetSize().Height;
    struct TPixelCase
    {
        int X, Y;
        TColor Color;
    };
    const TPixelCase Cases[] = {
        {0, 0, cl3DLight},        {W - 2, 0, cl3DLight},      {0, H - 2, cl3DLight},
        {W - 1, 0, cl3DDkShadow}, {0, H - 1, cl3DDkShadow},   {W - 1, H - 1, cl3DDkShadow},
        {1, 1, clBtnHighlight},   {W - 3, 1, clBtnHighlight}, {1, H - 3, clBtnHighlight},
        {W - 2, 1, clBtnShadow},  {1, H - 2, clBtnShadow},    {W - 2, H - 2, clBtnShadow},
        {2, 2, clMenu},           {W - 3, H - 3, clMenu},
    };
    for (const TPixelCase& C : Cases)
        EXPECT_EQ(B.GetPixel(C.X, C.Y), RGBOf(C.Color)) << C.X << "," << C.Y;
    // Every pixel is painted.
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            ASSERT_NE(B.GetPixel(X, Y), RGBOf(clFuchsia)) << X << "," << Y;
}

TEST_F(MenuPaintTest, TheHighlightFillsItsWholeEntryAndNothingElse)
{
    Build({"One", "Two", "-"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    const TBitmap B = Paint(L, 1);
    const TRect Lit = L.GetEntry(1).Bounds;
    const TRect Other = L.GetEntry(0).Bounds;
    for (TPoint P : {TPoint{Lit.Left, Lit.Top}, TPoint{Lit.Right - 1, Lit.Top},
                     TPoint{Lit.Left, Lit.Bottom - 1}, TPoint{Lit.Right - 1, Lit.Bottom - 1}})
        EXPECT_EQ(B.GetPixel(P.X, P.Y), RGBOf(clHighlight));
    EXPECT_EQ(B.GetPixel(Lit.Left - 1, Lit.Top), RGBOf(clMenu)); // the border's inner ring
    EXPECT_EQ(B.GetPixel(Lit.Left, Lit.Top - 1), RGBOf(clMenu));
    EXPECT_EQ(B.GetPixel(Other.Left, Other.Top), RGBOf(clMenu));
    // The text is drawn in the highlight text colour, where the measured layout puts it.
    const int TextX = Lit.Left + TMenuLayout::CheckColumnPixels;
    const int TextY = Lit.Top + TMenuLayout::ItemPaddingPixels / 2;
    EXPECT_EQ(B.GetPixel(TextX, TextY + 1), RGBOf(clHighlightText)); // 'T' of the fake face
    EXPECT_EQ(B.GetPixel(TextX + TextWidth("Two"), TextY + 1), RGBOf(clHighlight));
    // The unlit item's text is in the menu text colour.
    EXPECT_EQ(B.GetPixel(TextX, Other.Top + 3), RGBOf(clMenuText));
}

TEST_F(MenuPaintTest, SeparatorsAreEtchedLinesInsideTheirEntry)
{
    Build({"A", "-", "B"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    const TBitmap B = Paint(L, 1); // a separator never shows a highlight
    const TRect S = L.GetEntry(1).Bounds;
    const int Line = S.Top + TMenuLayout::SeparatorPixels / 2 - 1;
    for (int X = S.Left + 1; X < S.Right - 1; ++X) {
        ASSERT_EQ(B.GetPixel(X, Line), RGBOf(clBtnShadow)) << X;
        ASSERT_EQ(B.GetPixel(X, Line + 1), RGBOf(clBtnHighlight)) << X;
    }
    EXPECT_EQ(B.GetPixel(S.Left, Line), RGBOf(clMenu));
    EXPECT_EQ(B.GetPixel(S.Right - 1, Line), RGBOf(clMenu));
    for (int Y = S.Top; Y < S.Bottom; ++Y) {
        if (Y != Line && Y != Line + 1) {
            EXPECT_EQ(B.GetPixel(S.Left + 5, Y), RGBOf(clMenu)) << Y;
        }
    }
}

TEST_F(MenuPaintTest, DisabledTextIsGreyWithAWhiteCopyBelowRight)
{
    Build({"!W"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    const TBitmap B = Paint(L, -1);
    const TRect E = L.GetEntry(0).Bounds;
    const int X = E.Left + TMenuLayout::CheckColumnPixels;
    const int Y = E.Top + TMenuLayout::ItemPaddingPixels / 2;
    // The fake face's glyph is a box from one pixel below the cell top down to the baseline.
    const int Right = X + TextWidth("W") - 2; // last column of the box
    const int Bottom = Y + Scratch.GetCanvas().GetTextMetrics().Ascent - 1;
    EXPECT_EQ(B.GetPixel(X, Y + 1), RGBOf(clGrayText));
    EXPECT_EQ(B.GetPixel(Right, Bottom), RGBOf(clGrayText));
    EXPECT_EQ(B.GetPixel(Right + 1, Bottom + 1), RGBOf(clBtnHighlight));
    EXPECT_EQ(B.GetPixel(X, Y), RGBOf(clMenu));
}

TEST_F(MenuPaintTest, TheAccessKeyIsUnderlinedBelowTheBaseline)
{
    Build({"Q&uit"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    const TBitmap B = Paint(L, -1);
    const TRect E = L.GetEntry(0).Bounds;
    const int X = E.Left + TMenuLayout::CheckColumnPixels;
    const int Row = E.Top + TMenuLayout::ItemPaddingPixels / 2 +
                    Scratch.GetCanvas().GetTextMetrics().Ascent + 1;
    const int X0 = X + TextWidth("Q");
    const int X1 = X + TextWidth("Qu");
    for (int Px = X0; Px < X1; ++Px)
        EXPECT_EQ(B.GetPixel(Px, Row), RGBOf(clMenuText)) << Px;
    EXPECT_EQ(B.GetPixel(X0 - 1, Row), RGBOf(clMenu));
    EXPECT_EQ(B.GetPixel(X1, Row), RGBOf(clMenu));
}

// Whether any pixel of the rectangle differs from the menu colour.
bool AnyInk(const TBitmap& B, const TRect& R, TColor Ink)
{
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (B.GetPixel(X, Y) == ColorToRGB(Ink))
                return true;
    return false;
}

TEST_F(MenuPaintTest, CheckMarksAndSubmenuArrowsSitInTheirColumns)
{
    Build({"*Checked", "Plain", ">Sub"});
    const TMenuLayout L(Root, Measure.GetCanvas());
    const TBitmap B = Paint(L, -1);
    const auto CheckColumn = [&](int I) {
        const TRect& E = L.GetEntry(I).Bounds;
        return TRect{E.Left, E.Top, E.Left + TMenuLayout::CheckColumnPixels, E.Bottom};
    };
    const auto ArrowColumn = [&](int I) {
        const TRect& E = L.GetEntry(I).Bounds;
        return TRect{E.Right - TMenuLayout::ArrowColumnPixels, E.Top, E.Right, E.Bottom};
    };
    EXPECT_TRUE(AnyInk(B, CheckColumn(0), clMenuText));
    EXPECT_FALSE(AnyInk(B, CheckColumn(1), clMenuText));
    EXPECT_FALSE(AnyInk(B, CheckColumn(2), clMenuText));
    EXPECT_TRUE(AnyInk(B, ArrowColumn(2), clMenuText));
    EXPECT_FALSE(AnyInk(B, ArrowColumn(0), clMenuText));
    EXPECT_TRUE(L.GetEntry(2).HasSubmenu);
}

} // namespace
