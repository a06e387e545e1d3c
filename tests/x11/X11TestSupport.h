#pragma once

// What the window tests of the X11 port share: the port under test, a second connection that
// looks at the server as another client would, and a recorder of the events a window delivers.

#include "framework/windows/Application.h"
#include "framework/windows/ShiftState.h"
#include "platform/Platform.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/X11Window.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

struct _XDisplay;

struct TRecordedEvent
{
    enum TKind
    {
        MouseDown,
        MouseUp,
        MouseMove,
        KeyDown,
        KeyUp,
        Character,
        Exposed,
        Moved,
        FocusChange,
        CaptureLost,
        CloseRequest
    };
    TRecordedEvent(TKind K) : Kind(K) {}

    TKind Kind;
    TMouseButton Pressed = TMouseButton::None;
    unsigned Shift = 0;
    TPoint Point;
    unsigned Key = 0;
    char32_t Typed = 0;
    TRect Rect;
    bool Gained = false;
};

class TEventRecorder : public TPlatformWindowEvents
{
public:
    // Input as the framework reads it: a double click is a press with ssDouble.
    void HandleInput(const TInputEvent& Input) override;
    void HandleExpose(const TRect& R) override;
    void HandleMoved(const TRect& R) override;
    void HandleFocus(bool Gained) override;
    void HandleCaptureLost() override;
    void HandleCloseRequest() override;

    std::vector<TRecordedEvent> Events;
    std::vector<TRecordedEvent> OfKind(TRecordedEvent::TKind Kind) const;
    bool Has(TRecordedEvent::TKind Kind) const { return !OfKind(Kind).empty(); }
};

TX11Platform& X11Port();

// A second connection to the port's server that looks at it as another client would: reading
// pixels and properties, faking input with XTest.
class TX11Observer
{
public:
    // Opens the connection to the port's display; false when the port has none.
    bool OpenObserver();
    void CloseObserver();

    // Waits until the server has carried out every request of the port: requests of two
    // connections have no order of their own.
    static void SyncPort();
    // The observer's view (after SyncPort) of a window's pixels (client coordinates),
    // 0x00RRGGBB, of its properties and of its shape.
    std::vector<TPixel> ReadPixels(unsigned long Target, const TRect& Rect);
    std::vector<unsigned long> ReadAtoms(unsigned long Target, const std::string& Property);
    std::vector<long> ReadCardinals(unsigned long Target, const std::string& Property);
    std::string ReadText(unsigned long Target, const std::string& Property);
    std::vector<TRect> ReadShape(unsigned long Target, int Kind);
    unsigned long Intern(const std::string& Name);
    // Fake input through XTest, applied by the server before this returns.
    void MovePointer(TPoint Where);
    void PointerButton(unsigned XButton, bool Press);
    void Key(unsigned long Keysym, bool Press);

    _XDisplay* Observer = nullptr;
};

class X11Test : public testing::Test, public TX11Observer
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A window of the port at Outer (screen), borderless unless Params say otherwise; the server
    // has made it when this returns.
    std::unique_ptr<TX11Window> MakeWindow(const TRect& Outer, TPlatformWindowParams Params = {});
    // Shows the window and waits until the server has mapped it.
    void ShowAndWait(TX11Window& Peer, bool Activate = false);
    // Lets the port deliver events until Done holds; false when it did not within a generous
    // bound (a guard against hanging, not a measure of speed).
    bool PumpUntil(const std::function<bool()>& Done);
    // Lets the port deliver whatever the server has sent by now.
    void PumpPending();

    TEventRecorder Recorder;
};

// X11Test with an application object of this process and a fresh window manager.
class X11AppTest : public X11Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Lets the port and the application handle events until Done holds (see PumpUntil).
    bool DispatchUntil(const std::function<bool()>& Done);

    std::unique_ptr<TApplication> App;
};
