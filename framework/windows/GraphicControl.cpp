#include "framework/windows/GraphicControl.h"

#include "framework/windows/WinControl.h"

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FNoSurface(std::make_unique<TBitmap>()),
      FCanvas(std::make_unique<TCanvas>(*FNoSurface))
{}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::PaintInParent(const TPaintContext& Context, TPoint Offset, const TRect& Limit)
{
    TWinControl::PrepareControlCanvas(*FCanvas, Context, Offset, Limit);
    FCanvas->GetFont().Assign(GetFont());
    try {
        Paint();
    } catch (...) {
        FCanvas->SetTarget(*FNoSurface);
        throw;
    }
    FCanvas->SetTarget(*FNoSurface);
}
