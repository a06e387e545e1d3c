#include "platform/win32/GdiFontEngine.h"

#include "platform/win32/GdiFontFace.h"

std::shared_ptr<TFontFace> TGdiFontEngine::OpenFace(const TFontRequest& Request)
{
    // Underline and strike-out are the canvas's to draw: they do not change the glyphs.
    const unsigned GlyphStyles = Request.Style & (fsBold | fsItalic);
    const auto Key = std::make_tuple(Request.Name, Request.HeightPixels, GlyphStyles);
    auto It = FFaces.find(Key);
    if (It == FFaces.end()) {
        TFontRequest Plain = Request;
        Plain.Style = GlyphStyles;
        It = FFaces.emplace(Key, std::make_shared<TGdiFontFace>(Plain)).first;
    }
    return It->second;
}
