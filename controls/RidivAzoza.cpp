#include "controls/RidivAzoza.h"

#include "framework/objects/ClassRegistry.h"
#include "framework/objects/SysUtils.h"

TRidivAzoza::TRidivAzoza(TComponent* AOwner) : TCustomControl(AOwner)
{
    for (std::size_t Slot = 0; Slot < 6; ++Slot)
        FDigits[Slot] = {std::int32_t(30 * Slot), 0};
    // An invalidation must ask for an erase, which WMEraseBkgnd then answers without drawing.
    FControlStyle.Exclude(csOpaque);
}

TRidivAzoza::~TRidivAzoza() = default;

void TRidivAzoza::DeclareClass(TClassDeclaration<TRidivAzoza>& D)
{
    // The inherited properties (mouse events, Font, DoubleBuffered, Anchors, Color, Visible)
    // come from the bases; the own ones declare the stored default 0, so Mode24 and
    // ModeTransparent are written only when non-zero and come back as 1 when they were 0.
    D.Component<TImageList>("ImageList", &TRidivAzoza::GetImageList, &TRidivAzoza::SetImageList);
    D.Integer("Mode24", &TRidivAzoza::GetMode24, &TRidivAzoza::SetMode24);
    D.Integer("ModeTransparent", &TRidivAzoza::GetModeTransparent,
              &TRidivAzoza::SetModeTransparent);
    D.Integer("ModeType", &TRidivAzoza::GetModeType, &TRidivAzoza::SetModeType);
    D.Unsigned("Value", &TRidivAzoza::GetValue, &TRidivAzoza::SetValue);
    D.Integer("Digit0X", &TRidivAzoza::GetDigit0X, &TRidivAzoza::SetDigit0X);
    D.Integer("Digit1X", &TRidivAzoza::GetDigit1X, &TRidivAzoza::SetDigit1X);
    D.Integer("Digit2X", &TRidivAzoza::GetDigit2X, &TRidivAzoza::SetDigit2X);
    D.Integer("Digit3X", &TRidivAzoza::GetDigit3X, &TRidivAzoza::SetDigit3X);
    D.Integer("Digit4X", &TRidivAzoza::GetDigit4X, &TRidivAzoza::SetDigit4X);
    D.Integer("Digit5X", &TRidivAzoza::GetDigit5X, &TRidivAzoza::SetDigit5X);
    D.Integer("Digit6X", &TRidivAzoza::GetDigit6X, &TRidivAzoza::SetDigit6X);
    D.Integer("Digit7X", &TRidivAzoza::GetDigit7X, &TRidivAzoza::SetDigit7X);
    D.Integer("DigitAllY", &TRidivAzoza::GetDigitAllY, &TRidivAzoza::SetDigitAllY);
    D.Integer("DigitHeight", &TRidivAzoza::GetDigitHeight, &TRidivAzoza::SetDigitHeight);
    D.Integer("DigitWidth", &TRidivAzoza::GetDigitWidth, &TRidivAzoza::SetDigitWidth);
}

void RidivAzoza::Register()
{
    RegisterComponents<TRidivAzoza>("Additional");
}

// ---- Properties -----------------------------------------------------------------------------

void TRidivAzoza::SetImageList(TImageList* Value)
{
    FImageList = Value;
    // The list belongs to the owner; learn of its end rather than draw from a dead one.
    if (Value)
        Value->FreeNotification(this);
    Repaint();
}

void TRidivAzoza::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImageList)
        FImageList = nullptr;
}

void TRidivAzoza::SetMode24(std::int32_t Value)
{
    FMode24 = Value;
    Repaint();
}

void TRidivAzoza::SetModeType(std::int32_t Value)
{
    FModeType = Value;
    Repaint();
}

void TRidivAzoza::SetModeTransparent(std::int32_t Value)
{
    FModeTransparent = Value;
    Repaint();
}

void TRidivAzoza::SetDigitHeight(std::int32_t Value)
{
    FDigitHeight = Value;
    Repaint();
}

void TRidivAzoza::SetDigitWidth(std::int32_t Value)
{
    FDigitWidth = Value;
    Repaint();
}

void TRidivAzoza::SetValue(std::uint32_t Value)
{
    FValue = Value;
    Repaint();
}

void TRidivAzoza::SetDigitX(int Slot, std::int32_t Value)
{
    FDigits[std::size_t(Slot)].X = Value;
    Repaint();
}

void TRidivAzoza::SetDigitAllY(std::int32_t Value)
{
    for (std::size_t Slot = 0; Slot < 6; ++Slot)
        FDigits[Slot].Y = Value;
}

// ---- Window and messages --------------------------------------------------------------------

void TRidivAzoza::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style &= ~(WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    Params.ExStyle |= WS_EX_TRANSPARENT;
}

void TRidivAzoza::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_ERASEBKGND) {
        WMEraseBkgnd(Message);
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TRidivAzoza::WMEraseBkgnd(TMessage& Message)
{
    Message.Result = 1;
}

// ---- Painting -------------------------------------------------------------------------------

void TRidivAzoza::Paint()
{
    switch (FModeType) {
    case 0:
        PaintTime();
        break;
    case 1:
        PaintValue(16);
        break;
    case 2:
        PaintValue(10);
        break;
    default:
        break;
    }
}

void TRidivAzoza::PaintTime()
{
    GetCanvas().GetBrush().SetColor(GetColor());
    PaintBackground();
    const TLocalTime Now = CurrentLocalTime();
    int Hour = Now.Hour;
    if (FMode24 == 0 && Hour > 12)
        Hour -= 12;
    if (!FImageList)
        return;
    const int Digits[6] = {Hour / 10,       Hour % 10,       Now.Minute / 10,
                           Now.Minute % 10, Now.Second / 10, Now.Second % 10};
    for (int Slot = 0; Slot < 6; ++Slot)
        PaintDigit(Slot, Digits[Slot]);
}

void TRidivAzoza::PaintValue(std::uint32_t Base)
{
    if (!FImageList)
        return;
    std::uint32_t V = FValue;
    for (int I = 0; I < 8; ++I) {
        PaintDigit(7 - I, int(V % Base));
        V /= Base;
    }
}

void TRidivAzoza::PaintDigit(int Slot, int Image)
{
    const TSlot P = FDigits[std::size_t(Slot)];
    // Four times a second: an opaque image is drawn as it is, without a cell made for it.
    TBitmap Made;
    const TBitmap* Cell = FImageList->GetOpaqueImage(Image);
    if (!Cell) {
        FImageList->GetBitmap(Image, Made);
        Cell = &Made;
    }
    if (FDigitHeight != 0 && FDigitWidth != 0)
        GetCanvas().StretchDraw({P.X, P.Y, P.X + FDigitWidth, P.Y + FDigitHeight}, *Cell);
    else
        GetCanvas().Draw(P.X, P.Y, *Cell);
}

void TRidivAzoza::PaintBackground()
{
    if (FModeTransparent == 0)
        GetCanvas().FillRect(GetClientRect());
}
