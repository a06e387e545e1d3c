#include "platform/headless/HeadlessWindow.h"

#include "platform/headless/HeadlessPlatform.h"

#include <algorithm>

THeadlessWindow::THeadlessWindow(THeadlessPlatform& Port, const TPlatformWindowParams& Params,
                                 TPlatformWindowEvents* Events)
    : FPort(&Port), FParams(Params), FEvents(Events)
{
    ResizeScreen();
    FPort->AddWindow(this);
}

THeadlessWindow::~THeadlessWindow()
{
    if (FPort)
        FPort->RemoveWindow(this);
}

TRect THeadlessWindow::GetFrameThickness(TWindowFrame Frame)
{
    // The classic look: a 3-pixel dialog frame (4 when sizeable) and a caption of 19 pixels.
    switch (Frame) {
    case TWindowFrame::Dialog:
        return {3, 22, 3, 3};
    case TWindowFrame::Sizeable:
        return {4, 23, 4, 4};
    case TWindowFrame::None:
        break;
    }
    return {};
}

TRect THeadlessWindow::GetClientOffset() const
{
    return FParams.Popup ? TRect{} : GetFrameThickness(FParams.Frame);
}

TPoint THeadlessWindow::GetClientSize() const
{
    const TRect Frame = GetClientOffset();
    return {std::max(0, FParams.Bounds.Width() - Frame.Left - Frame.Right),
            std::max(0, FParams.Bounds.Height() - Frame.Top - Frame.Bottom)};
}

void THeadlessWindow::ResizeScreen()
{
    const TPoint Size = GetClientSize();
    if (Size == FScreenSize)
        return;
    std::vector<TPixel> Screen(static_cast<std::size_t>(Size.X) * static_cast<std::size_t>(Size.Y));
    for (int Y = 0; Y < std::min(Size.Y, FScreenSize.Y); ++Y)
        std::copy_n(FScreen.begin() + static_cast<std::ptrdiff_t>(Y) * FScreenSize.X,
                    std::min(Size.X, FScreenSize.X),
                    Screen.begin() + static_cast<std::ptrdiff_t>(Y) * Size.X);
    FScreen = std::move(Screen);
    FScreenSize = Size;
}

void THeadlessWindow::Show(bool Activate)
{
    FVisible = true;
    if (Activate && FPort)
        FPort->SetActiveWindow(this);
}

void THeadlessWindow::Hide()
{
    FVisible = false;
    if (FPort && FPort->GetActiveWindow() == this)
        FPort->SetActiveWindow(nullptr);
}

void THeadlessWindow::SetBounds(const TRect& Outer)
{
    FParams.Bounds = Outer;
    ResizeScreen();
}

// Every present is recorded whole, changed or not: tests see what the window was given.
void THeadlessWindow::Present(const TPixelView& BackBuffer, const TRect& Rect, const TRect&)
{
    const TRect Clip = Rect.Intersect({0, 0, FScreenSize.X, FScreenSize.Y})
                           .Intersect({0, 0, BackBuffer.Width, BackBuffer.Height});
    if (Clip.IsEmpty() || !BackBuffer.Pixels)
        return;
    THeadlessFrame Frame{Clip, {}};
    Frame.Pixels.reserve(std::size_t(Clip.Width()) * std::size_t(Clip.Height()));
    for (int Y = Clip.Top; Y < Clip.Bottom; ++Y) {
        const TPixel* Row = BackBuffer.Pixels +
                            static_cast<std::ptrdiff_t>(Y) * BackBuffer.StridePixels + Clip.Left;
        std::copy_n(Row, Clip.Width(),
                    FScreen.begin() + static_cast<std::ptrdiff_t>(Y) * FScreenSize.X + Clip.Left);
        Frame.Pixels.insert(Frame.Pixels.end(), Row, Row + Clip.Width());
    }
    FPresented.push_back(Clip);
    FFrames.push_back(std::move(Frame));
}

void THeadlessWindow::ClearPresented()
{
    FPresented.clear();
    FFrames.clear();
}

TPixel THeadlessFrame::At(int X, int Y) const
{
    if (!Rect.Contains({X, Y}))
        return 0;
    return Pixels[std::size_t(Y - Rect.Top) * std::size_t(Rect.Width()) +
                  std::size_t(X - Rect.Left)];
}

TPixel THeadlessWindow::GetScreenPixel(int X, int Y) const
{
    if (X < 0 || Y < 0 || X >= FScreenSize.X || Y >= FScreenSize.Y)
        return 0;
    return FScreen[static_cast<std::size_t>(Y) * static_cast<std::size_t>(FScreenSize.X) +
                   static_cast<std::size_t>(X)];
}

void THeadlessWindow::Activate()
{
    if (FPort)
        FPort->SetActiveWindow(this);
}

void THeadlessWindow::SetCapture(bool Captured)
{
    if (!FPort)
        return;
    if (Captured)
        FPort->SetCaptureWindow(this);
    else if (FPort->GetCaptureWindow() == this)
        FPort->SetCaptureWindow(nullptr);
}
