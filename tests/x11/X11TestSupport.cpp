#include "tests/x11/X11TestSupport.h"

#include "framework/windows/WindowManager.h"
#include "platform/posix/PosixProcess.h"
#include "platform/x11/X11Display.h"

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

#include <X11/extensions/XTest.h>

namespace {

// Long enough for the slowest machine to answer; only a hang ever waits this long.
constexpr std::uint64_t PumpLimitMs = 5000;

} // namespace

void TEventRecorder::HandleInput(const TInputEvent& Input)
{
    const TRecordedEvent::TKind Kind = [&] {
        switch (Input.Kind) {
        case TInputKind::MouseUp:
            return TRecordedEvent::MouseUp;
        case TInputKind::MouseMove:
            return TRecordedEvent::MouseMove;
        case TInputKind::KeyDown:
            return TRecordedEvent::KeyDown;
        case TInputKind::KeyUp:
            return TRecordedEvent::KeyUp;
        case TInputKind::Character:
            return TRecordedEvent::Character;
        default:
            return TRecordedEvent::MouseDown;
        }
    }();
    TRecordedEvent E(Kind);
    E.Pressed = Input.Button;
    E.Shift = ShiftStateOf(Input.Modifiers) |
              (Input.Kind == TInputKind::DoubleClick ? TShiftState(ssDouble) : 0u);
    E.Point = Input.Client;
    E.Key = Input.Key;
    E.Typed = Input.Character;
    Events.push_back(E);
}
void TEventRecorder::HandleExpose(const TRect& R)
{
    TRecordedEvent E(TRecordedEvent::Exposed);
    E.Rect = R;
    Events.push_back(E);
}
void TEventRecorder::HandleMoved(const TRect& R)
{
    TRecordedEvent E(TRecordedEvent::Moved);
    E.Rect = R;
    Events.push_back(E);
}
void TEventRecorder::HandleFocus(bool Gained)
{
    TRecordedEvent E(TRecordedEvent::FocusChange);
    E.Gained = Gained;
    Events.push_back(E);
}
void TEventRecorder::HandleCaptureLost()
{
    Events.emplace_back(TRecordedEvent::CaptureLost);
}
void TEventRecorder::HandleCloseRequest()
{
    Events.emplace_back(TRecordedEvent::CloseRequest);
}

std::vector<TRecordedEvent> TEventRecorder::OfKind(TRecordedEvent::TKind Kind) const
{
    std::vector<TRecordedEvent> Found;
    for (const TRecordedEvent& E : Events)
        if (E.Kind == Kind)
            Found.push_back(E);
    return Found;
}

TX11Platform& X11Port()
{
    return static_cast<TX11Platform&>(TPlatform::Get());
}

bool TX11Observer::OpenObserver()
{
    if (!X11Port().GetDisplay())
        return false;
    Observer = XOpenDisplay(DisplayString(X11Port().GetDisplay()->Get()));
    // Every case starts with the pointer in the corner, away from its windows, and no button down.
    if (Observer)
        MovePointer({1270, 1010});
    return Observer != nullptr;
}

void TX11Observer::CloseObserver()
{
    if (Observer)
        XCloseDisplay(Observer);
    Observer = nullptr;
}

void X11Test::SetUp()
{
    if (!X11Port().GetDisplay())
        GTEST_SKIP() << "no X display could be opened (set DISPLAY or run under Xvfb)";
    ASSERT_TRUE(OpenObserver());
    PumpPending();
}

void X11Test::TearDown()
{
    CloseObserver();
}

void X11AppTest::SetUp()
{
    X11Test::SetUp();
    if (IsSkipped())
        return;
    TWindowManager::Reset();
    App = std::make_unique<TApplication>(nullptr);
    App->Initialize();
}

void X11AppTest::TearDown()
{
    App.reset();
    TWindowManager::Reset();
    X11Test::TearDown();
}

bool X11AppTest::DispatchUntil(const std::function<bool()>& Done)
{
    return PumpUntil([&] {
        App->ProcessMessages();
        return Done();
    });
}

std::unique_ptr<TX11Window> X11Test::MakeWindow(const TRect& Outer, TPlatformWindowParams Params)
{
    Params.Bounds = Outer;
    std::unique_ptr<TPlatformWindow> W = X11Port().CreateNativeWindow(Params, &Recorder);
    SyncPort(); // the window exists for the observer too
    return std::unique_ptr<TX11Window>(static_cast<TX11Window*>(W.release()));
}

void X11Test::ShowAndWait(TX11Window& Peer, bool Activate)
{
    Peer.Show(Activate);
    ASSERT_TRUE(PumpUntil([&] { return Peer.IsMapped(); }));
    XSync(Observer, False);
}

bool X11Test::PumpUntil(const std::function<bool()>& Done)
{
    const std::uint64_t Start = GetMonotonicMilliseconds();
    while (!Done()) {
        if (GetMonotonicMilliseconds() - Start > PumpLimitMs)
            return false;
        X11Port().WaitEvents(20);
    }
    return true;
}

void X11Test::PumpPending()
{
    // A round trip on the port's connection: everything the server sent before is then queued.
    XSync(X11Port().GetDisplay()->Get(), False);
    X11Port().WaitEvents(0);
}

void TX11Observer::SyncPort()
{
    XSync(X11Port().GetDisplay()->Get(), False);
}

std::vector<TPixel> TX11Observer::ReadPixels(unsigned long Target, const TRect& Rect)
{
    SyncPort();
    std::vector<TPixel> Pixels;
    XImage* Image =
        XGetImage(Observer, Target, Rect.Left, Rect.Top, static_cast<unsigned>(Rect.Width()),
                  static_cast<unsigned>(Rect.Height()), AllPlanes, ZPixmap);
    if (!Image)
        return Pixels;
    for (int Y = 0; Y < Rect.Height(); ++Y)
        for (int X = 0; X < Rect.Width(); ++X)
            Pixels.push_back(static_cast<TPixel>(XGetPixel(Image, X, Y) & 0xFFFFFF));
    XDestroyImage(Image);
    return Pixels;
}

unsigned long TX11Observer::Intern(const std::string& Name)
{
    return XInternAtom(Observer, Name.c_str(), False);
}

namespace {

template <typename T>
std::vector<T> ReadProperty(Display* D, unsigned long Target, unsigned long Property,
                            unsigned long Type, int Format)
{
    std::vector<T> Items;
    ::Atom Actual = XNone;
    int ActualFormat = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    if (XGetWindowProperty(D, Target, Property, 0, 65536, False, Type, &Actual, &ActualFormat,
                           &Count, &After, &Data) == Success &&
        Data && ActualFormat == Format) {
        const T* Typed = reinterpret_cast<const T*>(Data);
        Items.assign(Typed, Typed + Count);
    }
    if (Data)
        XFree(Data);
    return Items;
}

} // namespace

std::vector<unsigned long> TX11Observer::ReadAtoms(unsigned long Target,
                                                   const std::string& Property)
{
    SyncPort();
    return ReadProperty<unsigned long>(Observer, Target, Intern(Property), XA_ATOM, 32);
}

std::vector<long> TX11Observer::ReadCardinals(unsigned long Target, const std::string& Property)
{
    SyncPort();
    return ReadProperty<long>(Observer, Target, Intern(Property), AnyPropertyType, 32);
}

std::string TX11Observer::ReadText(unsigned long Target, const std::string& Property)
{
    SyncPort();
    const std::vector<char> Bytes =
        ReadProperty<char>(Observer, Target, Intern(Property), AnyPropertyType, 8);
    return {Bytes.begin(), Bytes.end()};
}

std::vector<TRect> TX11Observer::ReadShape(unsigned long Target, int Kind)
{
    SyncPort();
    int Count = 0, Ordering = 0;
    XRectangle* Rects = XShapeGetRectangles(Observer, Target, Kind, &Count, &Ordering);
    std::vector<TRect> Out;
    for (int I = 0; I < Count; ++I)
        Out.push_back(TRect::FromSize(Rects[I].x, Rects[I].y, Rects[I].width, Rects[I].height));
    if (Rects)
        XFree(Rects);
    return Out;
}

void TX11Observer::MovePointer(TPoint Where)
{
    XTestFakeMotionEvent(Observer, -1, Where.X, Where.Y, 0);
    XSync(Observer, False);
}

void TX11Observer::PointerButton(unsigned XButton, bool Press)
{
    XTestFakeButtonEvent(Observer, XButton, Press ? True : False, 0);
    XSync(Observer, False);
}

void TX11Observer::Key(unsigned long Keysym, bool Press)
{
    const KeyCode Code = XKeysymToKeycode(Observer, Keysym);
    ASSERT_NE(Code, 0) << "no key for keysym " << Keysym;
    XTestFakeKeyEvent(Observer, Code, Press ? True : False, 0);
    XSync(Observer, False);
}
