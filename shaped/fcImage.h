#pragma once

#include "framework/graphics/Picture.h"
#include "framework/windows/GraphicControl.h"

#include <memory>

// A control without a window that paints its picture at its natural size from its top-left
// corner. Every change of the picture runs PictureChanged, which sizes the control to the
// picture when AutoSize is on, always draws the picture opaque and repaints. Starts 105 x 105.
class TfcCustomImage : public TGraphicControl
{
    PUBLISHED_CLASS(TfcCustomImage, TGraphicControl)

    explicit TfcCustomImage(TComponent* AOwner);
    ~TfcCustomImage() override;

    // The control's own picture (a form description reads straight into it).
    TPicture& GetPicture() { return *FPicture; }
    const TPicture& GetPicture() const { return *FPicture; }
    // Copies Value (null or empty: no graphic) into the control's picture and repaints.
    virtual void SetPicture(const TPicture* Value);

    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);

    // The palette of the picture's graphic; none for an empty picture.
    virtual TPaletteHandle GetPalette() const;

protected:
    void Paint() override;
    // The picture's change handler.
    virtual void PictureChanged();
    // Whether the palette of the graphic changed and the form was asked to realise it again.
    bool DoPaletteChange();
    // True while Paint runs.
    bool IsDrawing() const { return FDrawing; }

private:
    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FDrawing = false;
};
