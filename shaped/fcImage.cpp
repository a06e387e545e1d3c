#include "shaped/fcImage.h"

#include "framework/graphics/Canvas.h"
#include "framework/windows/Screen.h"

TfcCustomImage::TfcCustomImage(TComponent* AOwner)
    : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>())
{
    FPicture->SetOnChange([this](TPicture*) { PictureChanged(); });
    SetHeight(105);
    SetWidth(105);
}

TfcCustomImage::~TfcCustomImage()
{
    FPicture->SetOnChange(nullptr);
    FPicture.reset();
}

void TfcCustomImage::SetPicture(const TPicture* Value)
{
    FPicture->Assign(Value);
    Invalidate();
}

void TfcCustomImage::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    PictureChanged();
}

TPaletteHandle TfcCustomImage::GetPalette() const
{
    return FPicture->HasGraphic() ? FPicture->GetPalette() : 0;
}

void TfcCustomImage::PictureChanged()
{
    if (FAutoSize && FPicture->GetWidth() > 0 && FPicture->GetHeight() > 0)
        SetBounds(GetLeft(), GetTop(), FPicture->GetWidth(), FPicture->GetHeight());
    if (TBitmap* Graphic = FPicture->GetGraphic()) {
        // Always drawn opaque: cutting pixels away is the outline's business, not the drawing's.
        Graphic->SetTransparent(false);
        if (!Graphic->GetTransparent() && Graphic->GetWidth() >= GetWidth() &&
            Graphic->GetHeight() >= GetHeight())
            FControlStyle.Include(csOpaque);
        else
            FControlStyle.Exclude(csOpaque);
        if (DoPaletteChange() && FDrawing)
            Update();
    } else {
        FControlStyle.Exclude(csOpaque);
    }
    if (!FDrawing)
        Invalidate();
}

bool TfcCustomImage::DoPaletteChange()
{
    if (!GetVisible() || IsLoading() || !FPicture->HasGraphic())
        return false;
    // Our graphics are true colour and carry no palette, so there is never one to realise (the
    // form would otherwise be sent or posted WM_QUERYNEWPALETTE here).
    return GetPalette() != 0;
}

void TfcCustomImage::Paint()
{
    TCanvas& Canvas = GetCanvas();
    if (IsDesigning()) {
        Canvas.GetPen().SetStyle(TPenStyle::psDash);
        Canvas.GetPen().SetColor(clBlack);
        Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
        Canvas.Rectangle(0, 0, GetWidth(), GetHeight());
    }
    struct TDrawingFlag
    {
        bool& Flag;
        bool Saved;
        ~TDrawingFlag() { Flag = Saved; }
    } Restore{FDrawing, FDrawing};
    FDrawing = true;

    // The depth of the display the picture's bitmap is made for; asking for that surface gives
    // an empty picture a blank bitmap of the control's size first.
    if (!FPicture->HasGraphic())
        FPicture->SetBitmap(TBitmap(GetWidth(), GetHeight()));
    const TBitmap& Graphic = *FPicture->GetGraphic();
    if (Screen().GetBitsPerPixel() <= 8) {
        // A palette display: the picture goes unscaled to the origin. Our back buffers are true
        // colour and the port maps them to the display, so no halftone palette is realised.
        Canvas.Draw(0, 0, Graphic);
    } else {
        Canvas.StretchDraw(TRect(0, 0, Graphic.GetWidth(), Graphic.GetHeight()), Graphic);
    }
}
