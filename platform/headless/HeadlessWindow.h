#pragma once

#include "platform/Platform.h"

#include <vector>

class THeadlessPlatform;

// One Present as the window received it: the rectangle (client coordinates, clipped to the
// client area) and its pixels, row by row.
struct THeadlessFrame
{
    TRect Rect;
    std::vector<TPixel> Pixels;
    // A pixel of the frame in client coordinates (0 outside its rectangle).
    TPixel At(int X, int Y) const;
};

// A native window of the headless port: it does nothing but remember what was asked of it, and
// keeps the pixels presented to it as its screen image, so that tests can look at both. Input
// reaches the framework when a test hands GetEvents() an input record, as a desktop port would.
class THeadlessWindow : public TPlatformWindow
{
public:
    THeadlessWindow(THeadlessPlatform& Port, const TPlatformWindowParams& Params,
                    TPlatformWindowEvents* Events);
    ~THeadlessWindow() override;
    THeadlessWindow(const THeadlessWindow&) = delete;
    THeadlessWindow& operator=(const THeadlessWindow&) = delete;

    void Show(bool Activate) override;
    void Hide() override;
    TRect GetBounds() const override { return FParams.Bounds; }
    void SetBounds(const TRect& Outer) override;
    TRect GetClientOffset() const override;
    void SetTitle(const std::string& Utf8) override { FParams.Title = Utf8; }
    void SetStayOnTop(bool StayOnTop) override { FParams.StayOnTop = StayOnTop; }
    void SetTaskbarButton(bool Visible) override { FParams.TaskbarButton = Visible; }
    void SetShape(const std::optional<std::vector<TRect>>& Rects) override { FShape = Rects; }
    void Present(const TPixelView& BackBuffer, const TRect& Rect, const TRect& Changed) override;
    void Activate() override;
    void SetCursor(TCursorShape Shape) override { FCursor = Shape; }
    void SetCapture(bool Captured) override;
    TWindowShowState GetShowState() const override { return FShowState; }
    // What the desktop is to have done with the window (tests).
    void SetShowState(TWindowShowState State) { FShowState = State; }

    // The creation parameters as later calls changed them (bounds, title, stay-on-top, button).
    const TPlatformWindowParams& GetParams() const { return FParams; }
    TPlatformWindowEvents* GetEvents() const { return FEvents; }
    bool IsVisible() const { return FVisible; }
    const std::optional<std::vector<TRect>>& GetShape() const { return FShape; }
    TCursorShape GetCursor() const { return FCursor; }
    TPoint GetClientSize() const;
    // Client coordinates; what the last Present left there (black before any).
    TPixel GetScreenPixel(int X, int Y) const;
    // Every rectangle presented, clipped to the client area, in order.
    const std::vector<TRect>& GetPresentedRects() const { return FPresented; }
    // Every frame presented, with its pixels, in order; ClearPresented forgets them (and the
    // rectangles), so that a long test keeps only what it looks at.
    const std::vector<THeadlessFrame>& GetPresentedFrames() const { return FFrames; }
    void ClearPresented();

    // The frame of Frame windows in the headless port: left, top (with the caption), right, bottom.
    static TRect GetFrameThickness(TWindowFrame Frame);

private:
    void ResizeScreen();

    friend class THeadlessPlatform;
    THeadlessPlatform* FPort; // none once the port is gone
    TPlatformWindowParams FParams;
    TPlatformWindowEvents* FEvents;
    bool FVisible = false;
    TWindowShowState FShowState = TWindowShowState::Normal;
    std::optional<std::vector<TRect>> FShape;
    TCursorShape FCursor = TCursorShape::Arrow;
    TPoint FScreenSize;
    std::vector<THeadlessFrame> FFrames;
    std::vector<TPixel> FScreen;
    std::vector<TRect> FPresented;
};
