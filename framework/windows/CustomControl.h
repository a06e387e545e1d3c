#pragma once

#include "framework/graphics/Canvas.h"
#include "framework/windows/WinControl.h"

#include <memory>

// A windowed control that draws itself: Paint runs on the control's own canvas, which is set up
// on the form's back buffer for the duration of each paint.
class TCustomControl : public TWinControl
{
    PUBLISHED_CLASS(TCustomControl, TWinControl)

    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas& GetCanvas() { return *FCanvas; }

protected:
    virtual void Paint() {}
    // The client rectangle filled with Color through a solid brush, as most paints begin; the
    // rectangle filled.
    TRect FillClient();
    void PaintWindow(const TPaintContext& Context) override;

private:
    std::unique_ptr<TBitmap> FNoSurface;
    std::unique_ptr<TCanvas> FCanvas;
};
