#pragma once

#include "base/Rect.h"
#include "platform/Platform.h"

#include <cstdint>
#include <memory>

class TX11Display;
struct _XGC;

// Puts rectangles of back buffers on windows. With the 24-bit TrueColor visual our pixels are
// the server's, so a small rectangle goes straight from the back buffer into the request
// (XPutImage, no copy of ours); a large one goes through a shared memory segment (MIT-SHM) when
// the server is on this machine, which saves copying it through the socket. Other visuals get
// each pixel converted. A segment the server cannot attach turns shared memory off for good.
class TX11Presenter
{
public:
    // Rectangles of at least this many pixels go through shared memory.
    static constexpr int SharedMinimumPixels = 128 * 128;

    struct TCounts
    {
        int Plain = 0;            // XPutImage from the back buffer
        int Shared = 0;           // XShmPutImage
        int Converted = 0;        // XPutImage of converted pixels
        std::uint64_t Pixels = 0; // sent by all of them
    };

    explicit TX11Presenter(TX11Display& Connection);
    ~TX11Presenter();
    TX11Presenter(const TX11Presenter&) = delete;
    TX11Presenter& operator=(const TX11Presenter&) = delete;

    // Copies Rect of View, which must lie inside it, to the same place of the window Target.
    void Present(unsigned long Target, _XGC* Gc, const TPixelView& View, const TRect& Rect);

    void SetSharedMemoryEnabled(bool Enabled);
    bool IsSharedMemoryUsable() const;
    // A segment no large rectangle has used for this long is given back at the next small one:
    // most windows present their whole area once and then only small changes (the clock its
    // digits), and the segment would sit in memory for nothing.
    void SetSharedIdleMilliseconds(std::uint64_t Value) { FSharedIdleMs = Value; }
    bool HoldsSegment() const { return FSegment != nullptr; }
    const TCounts& GetCounts() const { return FCounts; }

private:
    struct TSegment;
    void PutPlain(unsigned long Target, _XGC* Gc, const TPixelView& View, const TRect& Rect);
    void PutShared(unsigned long Target, _XGC* Gc, const TPixelView& View, const TRect& Rect);
    void PutConverted(unsigned long Target, _XGC* Gc, const TPixelView& View, const TRect& Rect);
    bool EnsureSegment(std::size_t Bytes);
    void ReleaseSegment();
    void WaitUntilServerRead();

    TX11Display& FDisplay;
    std::unique_ptr<TSegment> FSegment;
    bool FSharedEnabled = true;
    bool FSharedBroken = false;
    unsigned long FLastSharedRequest = 0;
    std::uint64_t FSharedIdleMs = 2000;
    std::uint64_t FLastSharedUseMs = 0;
    TCounts FCounts;
};
