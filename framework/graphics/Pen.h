#pragma once

#include "base/Color.h"
#include "framework/objects/Persistent.h"

#include <functional>

class TPen;

using TPenChangeEvent = std::function<void(TPen* Sender)>;

// Line styles. psDot is the alternate-pixel dotting of focus and design frames (one pixel on,
// one off); psDash, psDashDot and psDashDotDot follow the cosmetic patterns of GDI (18/6,
// 9/6/3/6, 9/3/3/3/3/3). The gaps of a styled line take the brush colour when the brush is solid
// (an opaque background) and are left alone when it is clear. A pen wider than one pixel always
// draws solid, as wide GDI pens do.
enum class TPenStyle
{
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear
};

// The sixteen binary raster operations of GDI (R2_BLACK .. R2_WHITE), named as pen modes: how
// the pen (and the brush of a filled figure) combines with the pixels beneath.
enum class TPenMode
{
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

// Combines a pen (or brush) pixel with a target pixel by Mode; both 0x00RRGGBB.
TPixel ApplyPenMode(TPenMode Mode, TPixel Pen, TPixel Target);

// The pen of a canvas: colour, width in pixels, style and mode. Black, 1 pixel, solid, copy. A
// form description writes the published Color, Mode, Style and Width that differ from those.
class TPen : public TPersistent
{
    PUBLISHED_CLASS(TPen, TPersistent)

    TPen() = default;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;

    static void DeclareClass(TClassDeclaration<TPen>& D);

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    // Widths below 1 draw as 1, as in GDI.
    int GetWidth() const { return FWidthPixels; }
    void SetWidth(int Pixels);
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode Value);

    // Copies colour, width, style and mode (not the handler) and notifies once. Another kind of
    // source is an EConvertError.
    void Assign(const TPersistent* Source) override;
    void Assign(const TPen& Source);

    const TPenChangeEvent& GetOnChange() const { return FOnChange; }
    void SetOnChange(TPenChangeEvent Handler) { FOnChange = std::move(Handler); }

private:
    void Changed();

    TColor FColor = clBlack;
    int FWidthPixels = 1;
    TPenStyle FStyle = TPenStyle::psSolid;
    TPenMode FMode = TPenMode::pmCopy;
    TPenChangeEvent FOnChange;
};
