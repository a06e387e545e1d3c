#include "tests/platform/win32/Win32TestWindow.h"

#include "platform/win32/Win32Window.h"

TWin32Platform& Win32Port()
{
    return static_cast<TWin32Platform&>(TPlatform::Get());
}

void PumpEvents(TWin32Platform& Platform)
{
    // Bounded: a window that kept generating messages would fail its test, not hang it.
    for (int I = 0; I < 100 && Platform.WaitEvents(0); ++I) {
    }
}

TPlatformWindowParams BorderlessParams(const TRect& Bounds)
{
    TPlatformWindowParams P;
    P.Bounds = Bounds;
    P.Title = "Nixie test";
    return P;
}

TTestWindow::TTestWindow(const TPlatformWindowParams& Params, TWin32Platform& Platform)
{
    Window = Platform.CreateNativeWindow(Params, &Events);
    if (Window)
        Handle = static_cast<TWin32Window&>(*Window).GetHandle();
}
