#pragma once

#include "base/Point.h"
#include "base/Rect.h"
#include "framework/graphics/Brush.h"
#include "framework/graphics/ClipBands.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"

#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TBitmap;
class TFigureMask;

// A width and height in pixels.
struct TSize
{
    int Width = 0;
    int Height = 0;
    bool operator==(const TSize&) const = default;
};

// What GetPixel answers for a pixel that cannot be drawn (outside the target or the clip).
constexpr TColor clInvalid = 0xFFFFFFFFu;

// Drawing on a bitmap with the semantics of GDI. Coordinates are relative to the origin, a point
// of the target (the framework moves it to a child control's corner to paint the child into a
// form's back buffer); the clip is given in target coordinates. Everything drawn stays inside the
// target and the clip, and every operation changes a pixel at most once, so XOR drawing undoes
// itself. Rectangles exclude their right and bottom edges; an empty or inverted one draws nothing.
class TCanvas
{
public:
    explicit TCanvas(TBitmap& Target);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TBitmap& GetTarget() { return *FTarget; }
    // Draws on another bitmap from now on (a control's canvas follows its form's back buffer);
    // pen, brush, font, origin and clip stay as they are.
    void SetTarget(TBitmap& Target);

    TPen& GetPen() { return FPen; }
    TBrush& GetBrush() { return FBrush; }
    TFont& GetFont() { return FFont; }
    void SetPen(const TPen& Value) { FPen.Assign(Value); }
    void SetBrush(const TBrush& Value) { FBrush.Assign(Value); }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }

    TPoint GetPenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value) { FPenPos = Value; }

    // Where drawing coordinate (0, 0) lies on the target.
    TPoint GetOrigin() const { return FOrigin; }
    void SetOrigin(TPoint TargetPoint) { FOrigin = TargetPoint; }
    // Limits drawing to a rectangle, or to the union of rectangles (a region's rectangles), in
    // target coordinates. An empty set lets nothing through; ClearClip lets the whole target.
    void SetClipRect(const TRect& TargetRect);
    void SetClipRects(std::span<const TRect> TargetRects);
    void ClearClip();
    bool HasClip() const { return FHasClip; }
    // The bounds of what can be drawn (target and clip), in drawing coordinates.
    TRect GetClipRect();

    // Rectangles and pixels.
    void FillRect(const TRect& Rect);  // with the brush, copying; nothing when the brush is clear
    void FrameRect(const TRect& Rect); // a 1-pixel frame in the brush colour, inside Rect
    void InvertRect(const TRect& Rect);
    // Inverts every other pixel (those with X + Y even) of the 1-pixel frame inside Rect, each
    // once: drawing the same rectangle again restores the pixels.
    void DrawFocusRect(const TRect& Rect);
    TColor GetPixel(int X, int Y);
    void SetPixel(int X, int Y, TColor Color);

    // Lines and figures. The pen draws in its mode; filled figures combine the brush with the
    // target in the pen's mode too, as GDI does. A clear pen draws no outline, and then
    // Rectangle and Ellipse fill a box one pixel narrower and shorter (GDI again). Figure
    // coordinates (after the origin) are held to GDI's range of 28 bits, -2^27 to 2^27 - 1.
    void MoveTo(int X, int Y) { FPenPos = {X, Y}; }
    // A Bresenham line from the pen position to (X, Y), the end point excluded; the pen moves
    // there. Where the line passes midway between two pixels, the one nearer the start is taken.
    // A pen wider than one pixel stamps a Width x Width square on every pixel of the line.
    void LineTo(int X, int Y);
    // The outline inside the box (a wide pen grows inwards), the interior with the brush.
    void Rectangle(const TRect& Rect);
    void Rectangle(int X1, int Y1, int X2, int Y2) { Rectangle(TRect{X1, Y1, X2, Y2}); }
    // The ellipse inscribed in the box: the pixels whose centres lie inside it, symmetric about
    // both axes of the box; the pen takes those of them next to a pixel outside (a wide pen those
    // outside the ellipse of the box shrunk by Width - 1 on every side).
    void Ellipse(const TRect& Rect);
    void Ellipse(int X1, int Y1, int X2, int Y2) { Ellipse(TRect{X1, Y1, X2, Y2}); }
    // Lines from point to point, each end excluded; the pen position stays.
    void Polyline(std::span<const TPoint> Points);
    // The closed outline, and the interior by the alternate (even-odd) rule, sampled at pixel
    // centres; the pen position stays.
    void Polygon(std::span<const TPoint> Points);

    // Bitmaps. Draw copies the bitmap opaquely; when its Transparent flag is on, the pixels equal
    // to its bottom-left pixel are left out. StretchDraw scales colour on colour: the pixel at
    // column i of Rect (counted from Rect.Left) takes source column i * SourceWidth / RectWidth,
    // rows alike, so columns and rows are dropped or repeated and nothing is smoothed; it honours
    // the Transparent flag like Draw. CopyRect stretches the part SourceRect of Source into Dest
    // by the same mapping, opaquely; source pixels outside Source are not drawn. The source may be
    // the target itself.
    void Draw(int X, int Y, const TBitmap& Source);
    void StretchDraw(const TRect& Rect, const TBitmap& Source);
    void CopyRect(const TRect& Dest, const TBitmap& Source, const TRect& SourceRect);

    // Text, UTF-8. (X, Y) is the top-left corner of the text cell. With a solid brush the cell
    // (TextWidth x TextHeight) is first filled with the brush colour; with a clear brush the
    // background stays. Glyph coverage blends the font colour over the pixels beneath. Underline
    // and strike-out lines run the width of the text. The pen position stays.
    void TextOut(int X, int Y, const std::string& Text) { TextOutWidth(X, Y, Text); }
    // As TextOut, giving the text's width as well, so that text laid out cell by cell is
    // measured once and nothing is allocated for a short ASCII text.
    int TextOutWidth(int X, int Y, std::string_view Text);
    // As TextOut, clipped to Rect; with a solid brush the whole Rect is filled first.
    void TextRect(const TRect& Rect, int X, int Y, const std::string& Text);
    // Width: the sum of the glyph advances; height: the font's cell (ascent + descent), also for
    // an empty text.
    TSize TextExtent(const std::string& Text);
    int TextWidth(const std::string& Text) { return TextExtent(Text).Width; }
    int TextHeight(const std::string& Text) { return TextExtent(Text).Height; }
    TFontMetrics GetTextMetrics();

private:
    struct TFaceKey
    {
        const void* Engine = nullptr;
        std::string Name;
        int HeightPixels = 0;
        unsigned Style = 0;
        bool operator==(const TFaceKey&) const = default;
    };

    const TClipBands& Visible();
    TPoint ToTarget(TPoint P) const { return P + FOrigin; }
    TRect ToTarget(const TRect& R) const { return R.Offset(FOrigin.X, FOrigin.Y); }
    // Applies Mode with Pixel over the visible part of the span [X0, X1) of row Y (target).
    void PaintSpan(int Y, int X0, int X1, TPixel Pixel, TPenMode Mode);
    void PaintFigure(const TFigureMask& Mask);
    void MarkLine(TFigureMask& Mask, TPoint From, TPoint To, int& Phase);
    void StretchCopy(const TRect& Dest, const TBitmap& Source, const TRect& SourceRect,
                     bool Transparent);
    TFontFace& GetFace();

    TBitmap* FTarget;
    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TPoint FPenPos;
    TPoint FOrigin;
    bool FHasClip = false;
    std::vector<TRect> FClipRects;
    TClipBands FVisible;
    bool FVisibleValid = false;
    TSize FVisibleTargetSize;
    TFaceKey FFaceKey;
    std::shared_ptr<TFontFace> FFace;
    // Glyph coverage blends of one ink over one background (the brush colour), filled in as
    // they are met: text drawn cell by cell on a plain background blends each level once.
    struct TBlendCache
    {
        TPixel Under = 0;
        TPixel Ink = 0;
        std::array<TPixel, 256> Value{};
        std::array<bool, 256> Known{};
    };
    TBlendCache FBlend;
};
