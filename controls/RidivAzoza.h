#pragma once

#include "framework/graphics/ImageList.h"
#include "framework/windows/CustomControl.h"

#include <array>
#include <cstdint>

// The tube-digit display: six digits of the local time, or a 32-bit value in eight hexadecimal
// or decimal digits, each a picture from an image list drawn at its own slot. It draws nothing
// else and never erases, so whatever lies beneath shows between the digits. Every setter stores
// without a range check and repaints at once (SetDigitAllY excepted).
class TRidivAzoza : public TCustomControl
{
    PUBLISHED_CLASS(TRidivAzoza, TCustomControl)

    explicit TRidivAzoza(TComponent* AOwner);
    ~TRidivAzoza() override;

    TImageList* GetImageList() const { return FImageList; }
    void SetImageList(TImageList* Value);
    std::int32_t GetMode24() const { return FMode24; }
    void SetMode24(std::int32_t Value);
    std::int32_t GetModeType() const { return FModeType; }
    void SetModeType(std::int32_t Value);
    std::int32_t GetModeTransparent() const { return FModeTransparent; }
    void SetModeTransparent(std::int32_t Value);
    std::int32_t GetDigitHeight() const { return FDigitHeight; }
    void SetDigitHeight(std::int32_t Value);
    std::int32_t GetDigitWidth() const { return FDigitWidth; }
    void SetDigitWidth(std::int32_t Value);
    std::uint32_t GetValue() const { return FValue; }
    void SetValue(std::uint32_t Value);

    // The x of slot N (0 to 7).
    std::int32_t GetDigitX(int Slot) const { return FDigits[std::size_t(Slot)].X; }
    void SetDigitX(int Slot, std::int32_t Value);
    std::int32_t GetDigit0X() const { return GetDigitX(0); }
    std::int32_t GetDigit1X() const { return GetDigitX(1); }
    std::int32_t GetDigit2X() const { return GetDigitX(2); }
    std::int32_t GetDigit3X() const { return GetDigitX(3); }
    std::int32_t GetDigit4X() const { return GetDigitX(4); }
    std::int32_t GetDigit5X() const { return GetDigitX(5); }
    std::int32_t GetDigit6X() const { return GetDigitX(6); }
    std::int32_t GetDigit7X() const { return GetDigitX(7); }
    void SetDigit0X(std::int32_t Value) { SetDigitX(0, Value); }
    void SetDigit1X(std::int32_t Value) { SetDigitX(1, Value); }
    void SetDigit2X(std::int32_t Value) { SetDigitX(2, Value); }
    void SetDigit3X(std::int32_t Value) { SetDigitX(3, Value); }
    void SetDigit4X(std::int32_t Value) { SetDigitX(4, Value); }
    void SetDigit5X(std::int32_t Value) { SetDigitX(5, Value); }
    void SetDigit6X(std::int32_t Value) { SetDigitX(6, Value); }
    void SetDigit7X(std::int32_t Value) { SetDigitX(7, Value); }
    // The y of slot 0; setting writes slots 0 to 5 and does not repaint.
    std::int32_t GetDigitAllY() const { return FDigits[0].Y; }
    void SetDigitAllY(std::int32_t Value);
    TPoint GetDigitPos(int Slot) const
    {
        return {FDigits[std::size_t(Slot)].X, FDigits[std::size_t(Slot)].Y};
    }

    void Dispatch(TMessage& Message) override;

    static void DeclareClass(TClassDeclaration<TRidivAzoza>& D);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void PaintTime();
    void PaintValue(std::uint32_t Base);
    void PaintDigit(int Slot, int Image);
    void PaintBackground();
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void WMEraseBkgnd(TMessage& Message) override;

    struct TSlot
    {
        std::int32_t X = 0;
        std::int32_t Y = 0;
    };

    TImageList* FImageList = nullptr;
    std::int32_t FMode24 = 1;
    std::int32_t FModeType = 0;
    std::int32_t FModeTransparent = 1;
    std::int32_t FDigitHeight = 0;
    std::int32_t FDigitWidth = 0;
    std::uint32_t FValue = 0;
    std::array<TSlot, 8> FDigits;
};

namespace RidivAzoza {
// Puts TRidivAzoza on the component palette page "Additional".
void Register();
} // namespace RidivAzoza
