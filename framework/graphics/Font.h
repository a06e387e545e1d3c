#pragma once

#include "base/Color.h"
#include "framework/objects/Persistent.h"
#include "platform/FontEngine.h"

#include <functional>
#include <string>

class TFont;

using TFontChangeEvent = std::function<void(TFont* Sender)>;

// A font description: family name, size, colour and style bits (TFontStyleBits). The size is held
// as a GDI font height in pixels: negative for the character height (the cell less its internal
// leading), positive for the cell height. Size in points and Height convert at PixelsPerInch the
// way GDI does (MulDiv, rounding halves away from zero): Size 8 at 96 dpi is Height -11, and a
// positive Height reads as a negative Size. The default is "MS Sans Serif", 8 points, clWindowText.
// A form description writes the published Color, Height, Name and Style (the bits as the set
// [fsBold, fsItalic, fsUnderline, fsStrikeOut]) that differ from the defaults; Size is read, as
// another spelling of Height, but never written.
class TFont : public TPersistent
{
    PUBLISHED_CLASS(TFont, TPersistent)

    static constexpr const char* DefaultName = "MS Sans Serif";
    static constexpr int DefaultHeightPixels = -11;

    TFont() = default;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    static void DeclareClass(TClassDeclaration<TFont>& D);

    const std::string& GetName() const { return FName; }
    void SetName(const std::string& Value);
    int GetHeight() const { return FHeightPixels; }
    void SetHeight(int Pixels);
    int GetSize() const;
    void SetSize(int Points);
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    // Keeps Height: the same pixels now read as a different size in points.
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    unsigned GetStyle() const { return FStyle; }
    void SetStyle(unsigned StyleBits);

    // Copies name, height, pixels per inch, colour and style (not the handler) and notifies once.
    // Another kind of source is an EConvertError.
    void Assign(const TPersistent* Source) override;
    void Assign(const TFont& Source);

    const TFontChangeEvent& GetOnChange() const { return FOnChange; }
    void SetOnChange(TFontChangeEvent Handler) { FOnChange = std::move(Handler); }

private:
    void Changed();

    std::string FName = DefaultName;
    int FHeightPixels = DefaultHeightPixels;
    int FPixelsPerInch = 96;
    TColor FColor = clWindowText;
    unsigned FStyle = 0;
    TFontChangeEvent FOnChange;
};

// a * b / c rounded to the nearest integer, halves away from zero; 0 when c is 0 (GDI's MulDiv
// gives -1 there, which no caller here can use).
int MulDiv(int A, int B, int C);

// The engine request that serves a font height. A positive height is the cell height and passes
// as it is. A negative one is a character height h: the engine is probed at a cell of h, and the
// cell asked for is h scaled by the probe's cell / character-height ratio, corrected by one pixel
// when the face then reports a character height farther from h than a neighbouring cell would.
// Height 0 stands for the default character height of 11 pixels. The request never asks for a
// cell below 1 pixel.
TFontRequest ResolveFontRequest(TFontEngine& Engine, const std::string& Name, int HeightPixels,
                                unsigned Style);
