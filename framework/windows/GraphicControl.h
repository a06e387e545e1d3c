#pragma once

#include "framework/graphics/Canvas.h"
#include "framework/windows/Control.h"
#include "framework/windows/WindowManager.h"

#include <memory>

// A control without a window of its own: its parent paints it, on the parent's surface, after
// the parent's own painting, and routes the mouse to it.
class TGraphicControl : public TControl
{
    PUBLISHED_CLASS(TGraphicControl, TControl)

    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    // Valid while Paint runs.
    TCanvas& GetCanvas() { return *FCanvas; }

    // Called by the parent: paints the control at Offset of Context's surface within Limit.
    void PaintInParent(const TPaintContext& Context, TPoint Offset, const TRect& Limit);

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TBitmap> FNoSurface; // what the canvas targets outside of painting
    std::unique_ptr<TCanvas> FCanvas;
};
