// Copies of one source pixel per target pixel (Draw, and CopyRect of equal sizes) with origins,
// clip rectangles, transparency and source rectangles that leave the source, against the rule
// written out pixel by pixel.
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"

#include <gtest/gtest.h>
#include <random>

namespace {

struct TCopy
{
    TPoint Origin;
    std::vector<TRect> Clip; // target coordinates; none: no clip
    TRect Dest;              // canvas coordinates
    TRect SourceRect;        // as large as Dest
    bool Transparent;        // Draw with a transparent source; otherwise CopyRect
};

// What the target pixel (X, Y) must be after the copy, given what it was.
TPixel Expected(const TCopy& C, const TBitmap& Source, int X, int Y, TPixel Was)
{
    if (!C.Clip.empty()) {
        bool Inside = false;
        for (const TRect& R : C.Clip)
            Inside = Inside || R.Contains({X, Y});
        if (!Inside)
            return Was;
    }
    const TRect D = C.Dest.Offset(C.Origin.X, C.Origin.Y);
    if (!D.Contains({X, Y}))
        return Was;
    const int SX = C.SourceRect.Left + (X - D.Left);
    const int SY = C.SourceRect.Top + (Y - D.Top);
    if (SX < 0 || SY < 0 || SX >= Source.GetWidth() || SY >= Source.GetHeight())
        return Was;
    const TPixel P = Source.GetScanLine(SY)[SX];
    const TPixel Key = Source.GetScanLine(Source.GetHeight() - 1)[0];
    return C.Transparent && P == Key ? Was : P;
}

TEST(CanvasCopyOracle, OnePixelForEachPixelAsTheRuleSays)
{
    std::mt19937 Rng(8086);
    auto Between = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    for (int Case = 0; Case < 300; ++Case) {
        TBitmap Source(Between(1, 12), Between(1, 9));
        for (int Y = 0; Y < Source.GetHeight(); ++Y)
            for (int X = 0; X < Source.GetWidth(); ++X)
                // Few colours, so that the transparent one occurs inside too.
                Source.GetScanLine(Y)[X] = TPixel(Between(0, 3)) * 0x3F3F3Fu;
        TBitmap Target(Between(1, 16), Between(1, 12));
        for (int Y = 0; Y < Target.GetHeight(); ++Y)
            for (int X = 0; X < Target.GetWidth(); ++X)
                Target.GetScanLine(Y)[X] = 0x800000u | TPixel(Y * 16 + X);
        const TBitmap Before = Target;

        TCopy C;
        C.Origin = {Between(-3, 3), Between(-3, 3)};
        for (int N = Between(0, 3); N > 0; --N) {
            const int L = Between(-2, 16), T = Between(-2, 12);
            C.Clip.push_back({L, T, L + Between(0, 10), T + Between(0, 8)});
        }
        const int W = Between(1, 14), H = Between(1, 10);
        C.Dest = TRect::FromSize(Between(-6, 16), Between(-6, 12), W, H);
        C.SourceRect = TRect::FromSize(Between(-4, 8), Between(-4, 6), W, H);
        C.Transparent = Between(0, 1) == 1;

        TCanvas& Canvas = Target.GetCanvas();
        Canvas.SetOrigin(C.Origin);
        if (!C.Clip.empty())
            Canvas.SetClipRects(C.Clip);
        if (C.Transparent) {
            // Draw takes the whole source: cut the source rectangle out first.
            TBitmap Part(W, H);
            Part.GetCanvas().CopyRect({0, 0, W, H}, Source, C.SourceRect);
            // Pixels outside the source stay white in Part; the rule leaves them out.
            C.SourceRect = {0, 0, W, H};
            Part.SetTransparent(true);
            Source = Part;
            Canvas.Draw(C.Dest.Left, C.Dest.Top, Source);
        } else {
            Canvas.CopyRect(C.Dest, Source, C.SourceRect);
        }
        for (int Y = 0; Y < Target.GetHeight(); ++Y)
            for (int X = 0; X < Target.GetWidth(); ++X)
                ASSERT_EQ(Target.GetScanLine(Y)[X],
                          Expected(C, Source, X, Y, Before.GetScanLine(Y)[X]))
                    << "case " << Case << " at (" << X << ", " << Y << ")";
    }
}

} // namespace
