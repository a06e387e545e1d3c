#include "platform/freetype/BoxFontFace.h"

#include <algorithm>

TBoxFontFace::TBoxFontFace(int HeightPixels)
{
    const int Cell = std::max(1, HeightPixels);
    FMetrics.Height = Cell;
    FMetrics.Ascent = (Cell * 4 + 2) / 5;
    FMetrics.Descent = Cell - FMetrics.Ascent;
    FMetrics.InternalLeading = Cell / 6;
    FMetrics.AverageCharWidth = std::max(1, (Cell + 1) / 2);
    FBox = MakeBoxGlyph(FMetrics);
    FBlank.AdvancePixels = FBox.AdvancePixels;
}

const TGlyph& TBoxFontFace::GetGlyph(char32_t CodePoint)
{
    const bool Blank = CodePoint == U' ' || CodePoint == U'\t' || CodePoint == 0xA0;
    return Blank ? FBlank : FBox;
}

TGlyph TBoxFontFace::MakeBoxGlyph(const TFontMetrics& Metrics)
{
    TGlyph G;
    const int CharHeight = std::max(1, Metrics.Ascent - Metrics.InternalLeading);
    G.Width = std::max(1, (CharHeight * 3 + 3) / 5);
    G.Height = CharHeight;
    G.OriginX = 1;
    G.OriginY = -CharHeight;
    G.AdvancePixels = G.Width + 2;
    G.Coverage.assign(static_cast<std::size_t>(G.Width) * static_cast<std::size_t>(G.Height), 0);
    for (int Y = 0; Y < G.Height; ++Y)
        for (int X = 0; X < G.Width; ++X)
            if (Y == 0 || Y == G.Height - 1 || X == 0 || X == G.Width - 1)
                G.Coverage[static_cast<std::size_t>(Y * G.Width + X)] = 255;
    return G;
}
