#pragma once

// Shared by the canvas tests: a font engine with glyphs that follow simple rules, so that text
// layout can be checked pixel for pixel, and pictures of small bitmaps as rows of characters.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "tests/support/ForwardingPlatform.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A face of cell height H: ascent H - H/4, descent H/4, internal leading H/5. Glyph c advances
// 3 + c % 3 pixels and covers a box (advance - 1) wide from one pixel below the cell top down to
// the baseline, fully, except '.' which covers it at 128; the space and U+FFFD differ
// (advance 3 with no coverage, and advance 9).
class TFakeFontFace : public TFontFace
{
public:
    explicit TFakeFontFace(int HeightPixels)
    {
        const int H = std::max(1, HeightPixels);
        FMetrics.Height = H;
        FMetrics.Descent = H / 4;
        FMetrics.Ascent = H - H / 4;
        FMetrics.InternalLeading = H / 5;
        FMetrics.AverageCharWidth = 4;
    }
    TFontMetrics GetMetrics() const override { return FMetrics; }
    const TGlyph& GetGlyph(char32_t C) override
    {
        auto It = FGlyphs.find(C);
        if (It != FGlyphs.end())
            return It->second;
        TGlyph G;
        G.AdvancePixels = C == U' ' ? 3 : C == 0xFFFD ? 9 : int(3 + C % 3);
        if (C != U' ') {
            G.Width = G.AdvancePixels - 1;
            G.Height = FMetrics.Ascent - 1;
            G.OriginY = -G.Height;
            G.Coverage.assign(std::size_t(G.Width) * std::size_t(G.Height), C == U'.' ? 128 : 255);
        }
        return FGlyphs.emplace(C, std::move(G)).first->second;
    }
    static int Advance(char32_t C) { return C == U' ' ? 3 : C == 0xFFFD ? 9 : int(3 + C % 3); }

private:
    TFontMetrics FMetrics;
    std::map<char32_t, TGlyph> FGlyphs;
};

class TFakeFontEngine : public TFontEngine
{
public:
    std::shared_ptr<TFontFace> OpenFace(const TFontRequest& Request) override
    {
        Requests.push_back(Request);
        return std::make_shared<TFakeFontFace>(Request.HeightPixels);
    }
    std::vector<TFontRequest> Requests;
};

// Installs a port whose font engine is a TFakeFontEngine for the life of the object.
class TFakeFontPort : public TForwardingPlatform
{
public:
    TFontEngine& GetFontEngine() override { return Engine; }

    TFakeFontEngine Engine;
};

// A bitmap filled with one colour.
inline TBitmap MakeBitmap(int Width, int Height, TColor Fill)
{
    TBitmap B(Width, Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            B.SetPixel(X, Y, Fill);
    return B;
}

// The bitmap as text, one line per row: each pixel is the character its colour is given, '?' for
// any other colour.
inline std::string Picture(const TBitmap& B, const std::vector<std::pair<TColor, char>>& Key)
{
    std::string S;
    for (int Y = 0; Y < B.GetHeight(); ++Y) {
        for (int X = 0; X < B.GetWidth(); ++X) {
            char C = '?';
            for (const auto& [Color, Mark] : Key)
                if (B.GetPixel(X, Y) == ColorToRGB(Color))
                    C = Mark;
            S += C;
        }
        S += '\n';
    }
    return S;
}

inline std::string Rows(std::initializer_list<const char*> Lines)
{
    std::string S;
    for (const char* L : Lines)
        S += std::string(L) + '\n';
    return S;
}
