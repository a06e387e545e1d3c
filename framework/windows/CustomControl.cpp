#include "framework/windows/CustomControl.h"

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FNoSurface(std::make_unique<TBitmap>()),
      FCanvas(std::make_unique<TCanvas>(*FNoSurface))
{}

TCustomControl::~TCustomControl()
{
    // The window goes first, while Paint and the message handlers can still run.
    if (HandleAllocated())
        DestroyWnd();
}

void TCustomControl::PaintWindow(const TPaintContext& Context)
{
    PrepareControlCanvas(*FCanvas, Context, Context.Origin,
                         GetClientRect().Offset(Context.Origin.X, Context.Origin.Y));
    FCanvas->GetFont().Assign(GetFont());
    try {
        Paint();
    } catch (...) {
        FCanvas->SetTarget(*FNoSurface);
        throw;
    }
    FCanvas->SetTarget(*FNoSurface);
}

TRect TCustomControl::FillClient()
{
    const TRect Client = GetClientRect();
    TBrush& Brush = FCanvas->GetBrush();
    Brush.SetStyle(TBrushStyle::bsSolid);
    Brush.SetColor(GetColor());
    FCanvas->FillRect(Client);
    return Client;
}
