#pragma once

#include "framework/graphics/Bitmap.h"
#include "framework/windows/CustomControl.h"

#include <array>
#include <cstdint>
#include <memory>

// The binary clock: the local time, read once at each paint, as hours, minutes and seconds
// fields of LED pictures on or off, left to right, in one of six layouts (Type 0 to 2: two
// columns of four LEDs a field, 18, 9 and 5 pixels; Type 3 to 5: a row of eight LEDs a field,
// the same sizes; any other Type draws nothing). The background is erased with Color before each
// paint. Every setter stores without a range check and repaints at once. A LedColor outside 0 to
// 3 draws with the pictures of colour 0.
class TBinaryClock : public TCustomControl
{
    PUBLISHED_CLASS(TBinaryClock, TCustomControl)

    // The bitmap resources of the LED pictures, off and on, for the colours 0 to 3.
    struct TLedResource
    {
        int Off;
        int On;
    };
    using TLedResources = std::array<TLedResource, 4>;
    static constexpr TLedResources LedResources{{{89, 88}, {79, 80}, {77, 78}, {75, 76}}};

    // Loads the eight pictures; a missing one fails with EResNotFound "Resource N not found".
    explicit TBinaryClock(TComponent* AOwner);
    ~TBinaryClock() override;

    std::int32_t GetLedColor() const { return FLedColor; }
    void SetLedColor(std::int32_t Value) { SetAndRepaint(FLedColor, Value); }
    std::int32_t GetModeShape() const { return FModeShape; }
    void SetModeShape(std::int32_t Value) { SetAndRepaint(FModeShape, Value); }
    std::int32_t GetMode24() const { return FMode24; }
    void SetMode24(std::int32_t Value) { SetAndRepaint(FMode24, Value); }
    std::int32_t GetModeBcd() const { return FModeBcd; }
    void SetModeBcd(std::int32_t Value) { SetAndRepaint(FModeBcd, Value); }
    std::int32_t GetType() const { return FType; }
    void SetType(std::int32_t Value) { SetAndRepaint(FType, Value); }

    static void DeclareClass(TClassDeclaration<TBinaryClock>& D);

protected:
    // The pictures from other resources (the same colours, off and on).
    TBinaryClock(TComponent* AOwner, const TLedResources& Resources);

    void Paint() override;
    // The vertical layouts: LEDs of 18, 9 and 5 pixels.
    void PaintBig(const TBitmap& On, const TBitmap& Off);
    void PaintSmall(const TBitmap& On, const TBitmap& Off);
    void PaintTiny(const TBitmap& On, const TBitmap& Off);
    // The horizontal layouts: LEDs of Width x Height, Gap pixels between the fields.
    void PaintHoriz(int Width, int Height, int Gap, const TBitmap& On, const TBitmap& Off);
    // One field at (X, Y): two columns of four LEDs, as two BCD digits or bits 7 to 0.
    void PaintBinary(TCanvas& Canvas, int X, int Y, int Value, int Width, int Height,
                     const TBitmap& On, const TBitmap& Off);
    // One field at (X, Y): a row of eight LEDs, bit 7 on the left.
    void PaintHBinary(TCanvas& Canvas, int X, int Y, int Value, int Width, int Height,
                      const TBitmap& On, const TBitmap& Off);
    // Fills the client area with the canvas brush.
    void PaintBackground();

private:
    struct TLedPair
    {
        const TBitmap* Off;
        const TBitmap* On;
    };
    TLedPair GetLedPair() const;
    void PaintVertical(int Width, int Height, int Gap, const TBitmap& On, const TBitmap& Off);
    // The fields of one reading of the clock, the 12-hour rule applied.
    void ReadFields(int (&Fields)[3]) const;
    void PaintLed(TCanvas& Canvas, int X, int Y, int Width, int Height, bool Lit, const TBitmap& On,
                  const TBitmap& Off);
    void PaintSquareFrame(TCanvas& Canvas, int X, int Y, int Width, int Height);
    void PaintOffsetFrame(TCanvas& Canvas, int X, int Y, int Width, int Height);
    void PaintTriangles(TCanvas& Canvas, int X, int Y, int Width, int Height);

    // In their declared order: colour 3, 0, 1, 2, each off before on.
    std::array<std::unique_ptr<TBitmap>, 8> FLeds;
    std::int32_t FMode24 = 1;
    std::int32_t FModeBcd = 0;
    std::int32_t FModeShape = 0;
    std::int32_t FType = 0;
    std::int32_t FLedColor = 0;
};

namespace BinaryClock {
// Puts TBinaryClock on the component palette page "Additional".
void Register();
} // namespace BinaryClock
