// The painting of the window manager: invalidation, update regions, paint contexts, presenting.
#include "framework/windows/WindowManagerPrivate.h"

#include <algorithm>

void TWindowManager::InvalidateTree(TWindow& W, const TRegion& Client, bool Erase,
                                    bool IncludeChildren)
{
    if (W.MessageOnly)
        return;
    TRegion Area = Client;
    Area.Intersect(TRegion(W.ClientRect()));
    if (Area.IsEmpty())
        return;
    W.Update.Union(Area);
    W.ErasePending = W.ErasePending || Erase;
    if (!IncludeChildren && (W.Style & WS_CLIPCHILDREN))
        return;
    for (HWND H : W.Children) {
        TWindow* C = Find(H);
        if (!C || !(C->Style & WS_VISIBLE))
            continue;
        TRegion Part = Area;
        Part.Intersect(TRegion(C->Bounds));
        if (Part.IsEmpty())
            continue;
        Part.Offset(-C->Bounds.Left, -C->Bounds.Top);
        InvalidateTree(*C, Part, Erase, IncludeChildren);
    }
}

bool TWindowManager::InvalidateRect(HWND Wnd, const TRect* Rect, bool Erase)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    InvalidateTree(*W, TRegion(Rect ? *Rect : W->ClientRect()), Erase,
                   !(W->Style & WS_CLIPCHILDREN));
    return true;
}

bool TWindowManager::InvalidateRgn(HWND Wnd, const TRegion& Region, bool Erase)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    InvalidateTree(*W, Region, Erase, !(W->Style & WS_CLIPCHILDREN));
    return true;
}

bool TWindowManager::ValidateRect(HWND Wnd, const TRect* Rect)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    if (Rect)
        W->Update.Subtract(TRegion(*Rect));
    else
        W->Update = TRegion();
    if (W->Update.IsEmpty())
        W->ErasePending = false;
    return true;
}

bool TWindowManager::GetUpdateRect(HWND Wnd, TRect* Rect) const
{
    const TWindow* W = Find(Wnd);
    if (!W)
        return false;
    if (Rect)
        *Rect = W->Update.GetBounds();
    return !W->Update.IsEmpty();
}

bool TWindowManager::UpdateWindow(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return false;
    if (!W->Update.IsEmpty() && IsWindowVisible(Wnd) && !TopLevelOf(*W).MessageOnly)
        SendMessage(Wnd, WM_PAINT, 0, 0);
    return true;
}

TRegion TWindowManager::VisibleRegion(const TWindow& W) const
{
    const TPoint Origin = OffsetInTopLevel(W);
    TRegion Visible(W.ClientRect().Offset(Origin.X, Origin.Y));
    // Limited by every ancestor's client area; siblings above clip when WS_CLIPSIBLINGS says so.
    const TWindow* Child = &W;
    TPoint ChildOrigin = Origin;
    while (!Child->IsTopLevel()) {
        const TWindow& P = *FWindows.at(Child->Parent);
        const TPoint POrigin = ChildOrigin - Child->Bounds.TopLeft();
        Visible.Intersect(TRegion(P.ClientRect().Offset(POrigin.X, POrigin.Y)));
        if (Child->Style & WS_CLIPSIBLINGS) {
            auto It = std::find(P.Children.begin(), P.Children.end(), Child->Handle);
            for (++It; It != P.Children.end(); ++It) {
                const TWindow* S = Find(*It);
                if (S && (S->Style & WS_VISIBLE))
                    Visible.Subtract(TRegion(S->Bounds.Offset(POrigin.X, POrigin.Y)));
            }
        }
        Child = &P;
        ChildOrigin = POrigin;
    }
    if (W.Style & WS_CLIPCHILDREN)
        for (HWND H : W.Children) {
            const TWindow* C = Find(H);
            if (C && (C->Style & WS_VISIBLE))
                Visible.Subtract(TRegion(C->Bounds.Offset(Origin.X, Origin.Y)));
        }
    return Visible;
}

TPaintContext TWindowManager::BeginPaint(HWND Wnd)
{
    TWindow* W = Find(Wnd);
    TPaintContext C;
    if (!W)
        return C;
    TWindow& T = TopLevelOf(*W);
    C.Surface = T.BackBuffer.get();
    C.Origin = OffsetInTopLevel(*W);
    C.PaintRect = W->Update.GetBounds();
    C.Erase = W->ErasePending;
    TRegion Clip = W->Update;
    Clip.Offset(C.Origin.X, C.Origin.Y);
    Clip.Intersect(VisibleRegion(*W));
    C.ClipRegion = std::move(Clip);
    W->Update = TRegion();
    W->ErasePending = false;
    W->Painting = C;
    if (C.Erase)
        SendMessage(Wnd, WM_ERASEBKGND, 0, 0);
    return C;
}

const TPaintContext* TWindowManager::GetCurrentPaint(HWND Wnd) const
{
    const TWindow* W = Find(Wnd);
    return W && W->Painting ? &*W->Painting : nullptr;
}

void TWindowManager::EndPaint(HWND Wnd, const TPaintContext& Context)
{
    TWindow* W = Find(Wnd);
    if (!W)
        return;
    W->Painting.reset();
    TWindow& T = TopLevelOf(*W);
    if (T.Peer && T.BackBuffer && !Context.ClipRegion.IsEmpty()) {
        const TBitmap& Buffer = *T.BackBuffer;
        const TPixelView View{Buffer.GetPixels().data(), Buffer.GetWidth(), Buffer.GetHeight(),
                              Buffer.GetWidth()};
        // Painting reaches the back buffer only through canvases, which note what they draw; a
        // repaint that drew the same pixels (the clock's, three ticks in four) then costs the
        // port a comparison of the drawn part only.
        const TRect Bounds = Context.ClipRegion.GetBounds();
        const TRect Drawn = Buffer.GetDrawnBounds();
        T.Peer->Present(View, Bounds, Drawn.Intersect(Bounds));
        if (Drawn.Intersect(Bounds) == Drawn)
            T.BackBuffer->ClearDrawnBounds();
    }
}

void TWindowManager::HandleExpose(HWND TopLevel, const TRect& Client)
{
    TWindow* W = Find(TopLevel);
    if (!W || !W->Peer || !W->BackBuffer)
        return;
    // The back buffer still holds the picture: present it again without repainting.
    const TBitmap& Buffer = *W->BackBuffer;
    const TPixelView View{Buffer.GetPixels().data(), Buffer.GetWidth(), Buffer.GetHeight(),
                          Buffer.GetWidth()};
    const TRect Rect = Client.Intersect(W->ClientRect());
    W->Peer->Present(View, Rect, Rect);
}

TBitmap* TWindowManager::GetBackBuffer(HWND TopLevel)
{
    TWindow* W = Find(TopLevel);
    return W ? TopLevelOf(*W).BackBuffer.get() : nullptr;
}
