#include "platform/x11/X11Presenter.h"

#include "platform/posix/PosixProcess.h"
#include "platform/x11/X11Display.h"

#include <cstdio>
#include <cstring>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <vector>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

struct TX11Presenter::TSegment
{
    XShmSegmentInfo Info{};
    std::size_t Bytes = 0;
};

namespace {

int HostByteOrder()
{
    const unsigned Probe = 1;
    return *reinterpret_cast<const unsigned char*>(&Probe) == 1 ? LSBFirst : MSBFirst;
}

// The pixel value of a visual for 8-bit channels, through its masks.
unsigned long ScaleToMask(unsigned Channel, unsigned long Mask)
{
    if (!Mask)
        return 0;
    int Shift = 0;
    while (!((Mask >> Shift) & 1))
        ++Shift;
    const unsigned long Max = Mask >> Shift;
    return ((Channel * Max + 127) / 255) << Shift;
}

} // namespace

TX11Presenter::TX11Presenter(TX11Display& Connection) : FDisplay(Connection) {}

TX11Presenter::~TX11Presenter()
{
    ReleaseSegment();
}

void TX11Presenter::SetSharedMemoryEnabled(bool Enabled)
{
    FSharedEnabled = Enabled;
    if (!Enabled)
        ReleaseSegment();
}

bool TX11Presenter::IsSharedMemoryUsable() const
{
    return FSharedEnabled && !FSharedBroken && FDisplay.HasSharedMemory() &&
           FDisplay.IsDirectPixelFormat() && FDisplay.IsNativeByteOrder();
}

void TX11Presenter::Present(unsigned long Target, _XGC* Gc, const TPixelView& View,
                            const TRect& Rect)
{
    if (Rect.IsEmpty() || !View.Pixels)
        return;
    FCounts.Pixels +=
        static_cast<std::uint64_t>(Rect.Width()) * static_cast<std::uint64_t>(Rect.Height());
    if (!FDisplay.IsDirectPixelFormat())
        PutConverted(Target, Gc, View, Rect);
    else if (IsSharedMemoryUsable() && Rect.Width() * Rect.Height() >= SharedMinimumPixels &&
             EnsureSegment(static_cast<std::size_t>(Rect.Width()) * Rect.Height() * 4))
        PutShared(Target, Gc, View, Rect);
    else {
        PutPlain(Target, Gc, View, Rect);
        if (FSegment && GetMonotonicMilliseconds() - FLastSharedUseMs >= FSharedIdleMs)
            ReleaseSegment();
    }
}

void TX11Presenter::PutPlain(unsigned long Target, _XGC* Gc, const TPixelView& View,
                             const TRect& Rect)
{
    // An image header over the back buffer itself: Xlib copies the rows of Rect into the
    // request and swaps bytes if the server wants the other order.
    XImage Image{};
    Image.width = View.Width;
    Image.height = View.Height;
    Image.format = ZPixmap;
    Image.data = const_cast<char*>(reinterpret_cast<const char*>(View.Pixels));
    Image.byte_order = HostByteOrder();
    Image.bitmap_unit = 32;
    Image.bitmap_bit_order = HostByteOrder();
    Image.bitmap_pad = 32;
    Image.depth = FDisplay.GetDepth();
    Image.bytes_per_line = View.StridePixels * 4;
    Image.bits_per_pixel = 32;
    Image.red_mask = 0xFF0000;
    Image.green_mask = 0xFF00;
    Image.blue_mask = 0xFF;
    if (!XInitImage(&Image))
        return;
    XPutImage(FDisplay.Get(), Target, Gc, &Image, Rect.Left, Rect.Top, Rect.Left, Rect.Top,
              static_cast<unsigned>(Rect.Width()), static_cast<unsigned>(Rect.Height()));
    ++FCounts.Plain;
}

void TX11Presenter::WaitUntilServerRead()
{
    // The server has read the segment once it has processed the request that named it.
    Display* D = FDisplay.Get();
    if (FLastSharedRequest && LastKnownRequestProcessed(D) < FLastSharedRequest)
        XSync(D, False);
    FLastSharedRequest = 0;
}

bool TX11Presenter::EnsureSegment(std::size_t Bytes)
{
    if (FSegment && FSegment->Bytes >= Bytes)
        return true;
    ReleaseSegment();
    // Room for a little more than asked, so that growing windows do not reattach each time.
    const std::size_t Size = Bytes + Bytes / 4;
    auto Segment = std::make_unique<TSegment>();
    Segment->Info.shmid = shmget(IPC_PRIVATE, Size, IPC_CREAT | 0600);
    if (Segment->Info.shmid < 0) {
        FSharedBroken = true;
        return false;
    }
    void* Address = shmat(Segment->Info.shmid, nullptr, 0);
    if (Address == reinterpret_cast<void*>(-1)) {
        shmctl(Segment->Info.shmid, IPC_RMID, nullptr);
        FSharedBroken = true;
        return false;
    }
    Segment->Info.shmaddr = static_cast<char*>(Address);
    Segment->Info.readOnly = True;
    Segment->Bytes = Size;
    FDisplay.BeginTrap();
    const bool Attached = XShmAttach(FDisplay.Get(), &Segment->Info);
    const int Error = FDisplay.EndTrap();
    // Marked for removal now: it goes when both sides have detached, even if we crash.
    shmctl(Segment->Info.shmid, IPC_RMID, nullptr);
    if (!Attached || Error) {
        shmdt(Address);
        FSharedBroken = true;
        std::fprintf(stderr, "nixie: the X server cannot share memory with us; sending images\n");
        return false;
    }
    FSegment = std::move(Segment);
    return true;
}

void TX11Presenter::ReleaseSegment()
{
    if (!FSegment)
        return;
    WaitUntilServerRead();
    XShmDetach(FDisplay.Get(), &FSegment->Info);
    XSync(FDisplay.Get(), False);
    shmdt(FSegment->Info.shmaddr);
    FSegment.reset();
}

void TX11Presenter::PutShared(unsigned long Target, _XGC* Gc, const TPixelView& View,
                              const TRect& Rect)
{
    WaitUntilServerRead();
    const int W = Rect.Width();
    const int H = Rect.Height();
    auto* Shared = reinterpret_cast<TPixel*>(FSegment->Info.shmaddr);
    for (int Y = 0; Y < H; ++Y)
        std::memcpy(Shared + static_cast<std::ptrdiff_t>(Y) * W,
                    View.Pixels + static_cast<std::ptrdiff_t>(Rect.Top + Y) * View.StridePixels +
                        Rect.Left,
                    static_cast<std::size_t>(W) * 4);
    XImage* Image =
        XShmCreateImage(FDisplay.Get(), static_cast<Visual*>(FDisplay.GetVisual()),
                        static_cast<unsigned>(FDisplay.GetDepth()), ZPixmap, FSegment->Info.shmaddr,
                        &FSegment->Info, static_cast<unsigned>(W), static_cast<unsigned>(H));
    if (!Image || Image->bytes_per_line != W * 4) {
        if (Image)
            XDestroyImage(Image);
        FSharedBroken = true;
        PutPlain(Target, Gc, View, Rect);
        return;
    }
    FLastSharedRequest = NextRequest(FDisplay.Get());
    FLastSharedUseMs = GetMonotonicMilliseconds();
    XShmPutImage(FDisplay.Get(), Target, Gc, Image, 0, 0, Rect.Left, Rect.Top,
                 static_cast<unsigned>(W), static_cast<unsigned>(H), False);
    Image->data = nullptr; // the segment is ours, not the image's
    XDestroyImage(Image);
    ++FCounts.Shared;
}

void TX11Presenter::PutConverted(unsigned long Target, _XGC* Gc, const TPixelView& View,
                                 const TRect& Rect)
{
    Display* D = FDisplay.Get();
    auto* V = static_cast<Visual*>(FDisplay.GetVisual());
    const auto W = static_cast<unsigned>(Rect.Width());
    const auto H = static_cast<unsigned>(Rect.Height());
    XImage* Image = XCreateImage(D, V, static_cast<unsigned>(FDisplay.GetDepth()), ZPixmap, 0,
                                 nullptr, W, H, 32, 0);
    if (!Image)
        return;
    std::vector<char> Bytes(static_cast<std::size_t>(Image->bytes_per_line) * H);
    Image->data = Bytes.data();
    for (unsigned Y = 0; Y < H; ++Y) {
        const TPixel* Row =
            View.Pixels +
            static_cast<std::ptrdiff_t>(Rect.Top + static_cast<int>(Y)) * View.StridePixels +
            Rect.Left;
        for (unsigned X = 0; X < W; ++X) {
            const TPixel P = Row[X];
            const unsigned long Value = ScaleToMask((P >> 16) & 0xFF, V->red_mask) |
                                        ScaleToMask((P >> 8) & 0xFF, V->green_mask) |
                                        ScaleToMask(P & 0xFF, V->blue_mask);
            XPutPixel(Image, static_cast<int>(X), static_cast<int>(Y), Value);
        }
    }
    XPutImage(D, Target, Gc, Image, 0, 0, Rect.Left, Rect.Top, W, H);
    Image->data = nullptr;
    XDestroyImage(Image);
    ++FCounts.Converted;
}
