#pragma once

#include "base/Color.h"
#include "framework/objects/Persistent.h"

#include <functional>

class TBrush;

using TBrushChangeEvent = std::function<void(TBrush* Sender)>;

// bsSolid fills, and makes text and the gaps of styled lines opaque; bsClear fills nothing and
// leaves the background of text and lines as it is.
enum class TBrushStyle
{
    bsSolid,
    bsClear
};

// The brush of a canvas: the fill of FillRect, Rectangle, Ellipse and Polygon, the colour of
// FrameRect and the background of opaque text. White and solid; a form description writes the
// published Color and Style that differ from those.
class TBrush : public TPersistent
{
    PUBLISHED_CLASS(TBrush, TPersistent)

    TBrush() = default;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    static void DeclareClass(TClassDeclaration<TBrush>& D);

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

    // Copies colour and style (not the handler) and notifies once. Another kind of source is an
    // EConvertError.
    void Assign(const TPersistent* Source) override;
    void Assign(const TBrush& Source);

    const TBrushChangeEvent& GetOnChange() const { return FOnChange; }
    void SetOnChange(TBrushChangeEvent Handler) { FOnChange = std::move(Handler); }

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
    TBrushChangeEvent FOnChange;
};
