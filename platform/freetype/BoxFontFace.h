#pragma once

#include "platform/FontEngine.h"

#include <unordered_map>

// The face of last resort: metrics derived from the requested cell height and a hollow box for
// every visible character. Used when no font can be found at all, and its box stands in for a
// face's replacement glyph when that glyph is blank, so that a missing character never vanishes.
class TBoxFontFace : public TFontFace
{
public:
    explicit TBoxFontFace(int HeightPixels);

    TFontMetrics GetMetrics() const override { return FMetrics; }
    const TGlyph& GetGlyph(char32_t CodePoint) override;

    // A box glyph that fits a face with these metrics.
    static TGlyph MakeBoxGlyph(const TFontMetrics& Metrics);

private:
    TFontMetrics FMetrics;
    TGlyph FBox;
    TGlyph FBlank; // space and other blank characters: advance only
};
