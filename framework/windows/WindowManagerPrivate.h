// The private part of the window manager shared by the files that implement it: the record it
// keeps for each window.
#pragma once

#include "framework/windows/WindowManager.h"

#include <algorithm>

struct TWindowManager::TWindow
{
    HWND Handle = 0;
    HWND Parent = 0;
    std::vector<HWND> Children; // z-order, bottom first
    std::uint32_t Style = 0;
    std::uint32_t ExStyle = 0;
    TRect Bounds;
    std::string Text;
    TWndProcRef Proc;
    TRegion Update;
    bool ErasePending = false;
    bool Destroying = false;
    bool MessageOnly = false;
    // Top-level windows only.
    std::unique_ptr<TPlatformWindow> Peer;
    std::unique_ptr<TPeerEvents> Events;
    std::unique_ptr<TBitmap> BackBuffer;
    std::optional<TRegion> WindowRegion;
    TRect FrameInsets;  // left, top, right, bottom thickness of the native frame
    HWND LastFocus = 0; // the window inside that last had the focus, given back on activation
    std::optional<TPaintContext> Painting;

    bool IsTopLevel() const { return Parent == 0; }
    TRect ClientRect() const
    {
        return {0, 0, std::max(0, Bounds.Width() - FrameInsets.Left - FrameInsets.Right),
                std::max(0, Bounds.Height() - FrameInsets.Top - FrameInsets.Bottom)};
    }
};
