// The popup menu's loop. Only the root menu window holds the capture, so every mouse message
// of the loop arrives in its client coordinates (or in those of the window it was posted to
// before the capture was taken); the tracker turns them into screen points and finds the menu
// window under them itself. Keyboard messages are taken from whichever window the port sent
// them to: the menu window is never activated, the form behind it keeps the focus.
#include "framework/stdctrls/PopupMenuWindow.h"

#include "framework/objects/Component.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/windows/WindowManager.h"
#include "platform/Platform.h"

#include <algorithm>

namespace {

TPopupMenuTracker* GActive = nullptr;

constexpr UINT KeyboardLastMessage = 0x0109; // WM_KEYLAST: the end of the keyboard messages

TWindowManager& WM()
{
    return TWindowManager::Get();
}

bool IsKeyboardMessage(UINT Msg)
{
    return Msg >= WM_KEYDOWN && Msg <= KeyboardLastMessage;
}

bool IsMouseMessage(UINT Msg)
{
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST;
}

} // namespace

struct TPopupMenuTracker::TLevel
{
    TMenuLayout Layout;
    HWND Wnd = 0;
    int Highlight = -1;
    TRect ScreenBounds;
};

// Learns of the destruction of the items on show, so that the tracker never calls a dead one.
class TPopupMenuTracker::TWatcher : public TComponent
{
public:
    explicit TWatcher(TPopupMenuTracker& Tracker) : TComponent(nullptr), FTracker(Tracker) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            FTracker.ItemGone(AComponent);
    }

private:
    TPopupMenuTracker& FTracker;
};

TPopupMenuTracker::TPopupMenuTracker(TMenuItem& Root, TPoint ScreenPoint)
    : FRoot(&Root), FScreenPoint(ScreenPoint), FWatcher(std::make_unique<TWatcher>(*this))
{
    FWatcher->FreeNotification(&Root);
}

TPopupMenuTracker::~TPopupMenuTracker()
{
    FClosing = true;
    if (!FLevels.empty() && WM().GetCapture() == FLevels.front()->Wnd)
        WM().ReleaseCapture();
    CloseLevels(0);
    if (GActive == this)
        GActive = nullptr;
}

TPopupMenuTracker* TPopupMenuTracker::GetActive()
{
    return GActive;
}

TPoint TPopupMenuTracker::PlaceMenu(TPoint Point, TSize Size, TPoint ScreenSize)
{
    TPoint P = Point;
    if (P.X + Size.Width > ScreenSize.X)
        P.X -= Size.Width;
    if (P.Y + Size.Height > ScreenSize.Y)
        P.Y -= Size.Height;
    // A menu larger than the screen keeps its top-left corner on it.
    P.X = std::max(0, std::min(P.X, ScreenSize.X - Size.Width));
    P.Y = std::max(0, std::min(P.Y, ScreenSize.Y - Size.Height));
    return P;
}

TPoint TPopupMenuTracker::PlaceSubmenu(const TRect& ParentScreen, const TRect& ItemScreen,
                                       TSize Size, TPoint ScreenSize)
{
    // The submenu overlaps the parent's border, its first item level with the parent item.
    const int Overlap = TMenuLayout::BorderPixels;
    TPoint P{ParentScreen.Right - Overlap, ItemScreen.Top - TMenuLayout::BorderPixels};
    if (P.X + Size.Width > ScreenSize.X)
        P.X = ParentScreen.Left - Size.Width + Overlap;
    P.X = std::max(0, std::min(P.X, ScreenSize.X - Size.Width));
    P.Y = std::max(0, std::min(P.Y, ScreenSize.Y - Size.Height));
    return P;
}

HWND TPopupMenuTracker::GetWindow(int Level) const
{
    return Level >= 0 && Level < GetLevelCount() ? FLevels[std::size_t(Level)]->Wnd : 0;
}

TRect TPopupMenuTracker::GetScreenBounds(int Level) const
{
    return Level >= 0 && Level < GetLevelCount() ? FLevels[std::size_t(Level)]->ScreenBounds
                                                 : TRect{};
}

const TMenuLayout& TPopupMenuTracker::GetLayout(int Level) const
{
    return FLevels.at(std::size_t(Level))->Layout;
}

int TPopupMenuTracker::GetHighlight(int Level) const
{
    return Level >= 0 && Level < GetLevelCount() ? FLevels[std::size_t(Level)]->Highlight : -1;
}

TMenuItem* TPopupMenuTracker::Run()
{
    if (FRan || !FRoot || GActive)
        return nullptr;
    FRan = true;
    if (!OpenLevel(*FRoot, FScreenPoint, nullptr))
        return nullptr;
    GActive = this;
    if (FSelectFirst)
        SetHighlight(0, GetLayout(0).NextSelectable(-1, 1));
    const HWND Root = FLevels.front()->Wnd;
    WM().SetCapture(Root);
    TMsg M;
    while (!FDone && WM().GetCapturedMessage(Root, M)) {
        if (IsMouseMessage(M.Message)) {
            HandleMouse(M);
        } else if (IsKeyboardMessage(M.Message)) {
            if (M.Message == WM_KEYDOWN || M.Message == WM_SYSKEYDOWN)
                HandleKey(M);
            else if (M.Message == WM_CHAR || M.Message == WM_SYSCHAR)
                HandleChar(char32_t(M.WParam));
            // Key releases belong to the menu as well: nothing reaches the form behind it.
        } else {
            WM().TranslateMessage(M);
            WM().DispatchMessage(M);
        }
    }
    TMenuItem* Chosen = FChosen;
    FClosing = true;
    if (WM().GetCapture() == Root)
        WM().ReleaseCapture();
    CloseLevels(0);
    GActive = nullptr;
    return Chosen;
}

bool TPopupMenuTracker::OpenLevel(TMenuItem& Parent, TPoint ScreenPoint,
                                  const TRect* ParentItemScreen)
{
    auto Level = std::make_unique<TLevel>();
    Level->Layout = TMenuLayout(Parent, FMeasureBitmap.GetCanvas());
    if (Level->Layout.GetCount() == 0)
        return false;
    for (const TMenuEntry& E : Level->Layout.GetEntries())
        FWatcher->FreeNotification(E.Item);
    const TSize Size = Level->Layout.GetSize();
    const TPoint Screen = TPlatform::Get().GetScreenSize();
    const TPoint Corner = ParentItemScreen ? PlaceSubmenu(FLevels.back()->ScreenBounds,
                                                          *ParentItemScreen, Size, Screen)
                                           : PlaceMenu(ScreenPoint, Size, Screen);
    Level->ScreenBounds = TRect::FromSize(Corner.X, Corner.Y, Size.Width, Size.Height);

    TLevel& Ref = *Level;
    FLevels.push_back(std::move(Level));
    TCreateWindowParams P;
    P.Style = WS_POPUP;
    P.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    P.Bounds = Ref.ScreenBounds;
    P.WndProc = std::make_shared<TWndProc>(
        [this, &Ref](HWND H, UINT M, WPARAM W, LPARAM L) { return LevelProc(Ref, H, M, W, L); });
    const HWND Wnd = WM().CreateWindowEx(P);
    if (!Wnd) {
        FLevels.pop_back();
        return false;
    }
    Ref.Wnd = Wnd;
    WM().ShowWindow(Wnd, SW_SHOWNOACTIVATE);
    WM().UpdateWindow(Wnd);
    return true;
}

void TPopupMenuTracker::CloseLevels(int From)
{
    while (GetLevelCount() > std::max(From, 0)) {
        const HWND Wnd = FLevels.back()->Wnd;
        if (WM().IsWindow(Wnd))
            WM().DestroyWindow(Wnd);
        FLevels.pop_back();
    }
}

LRESULT TPopupMenuTracker::LevelProc(TLevel& Level, HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_PAINT:
        PaintLevel(Level, Wnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers every pixel
    case WM_CAPTURECHANGED:
        if (!FClosing)
            Dismiss();
        return 0;
    default:
        return WM().DefWindowProc(Wnd, Msg, W, L);
    }
}

void TPopupMenuTracker::PaintLevel(TLevel& Level, HWND Wnd)
{
    const TPaintContext C = WM().BeginPaint(Wnd);
    if (C.Surface) {
        TCanvas Canvas(*C.Surface);
        Canvas.SetOrigin(C.Origin);
        Canvas.SetClipRects(C.ClipRegion.GetRects());
        Level.Layout.PaintMenu(Canvas, Level.Highlight);
    }
    WM().EndPaint(Wnd, C);
}

void TPopupMenuTracker::SetHighlight(int Level, int Index)
{
    if (Level < 0 || Level >= GetLevelCount())
        return;
    TLevel& V = *FLevels[std::size_t(Level)];
    if (V.Highlight == Index)
        return;
    const int Old = V.Highlight;
    V.Highlight = Index;
    for (int I : {Old, Index})
        if (I >= 0)
            WM().InvalidateRect(V.Wnd, &V.Layout.GetEntry(I).Bounds, false);
    WM().UpdateWindow(V.Wnd);
}

void TPopupMenuTracker::HandleMouse(const TMsg& Msg)
{
    if (!WM().IsWindow(Msg.Hwnd))
        return;
    const TPoint Screen =
        WM().ClientToScreen(Msg.Hwnd, {GetXLParam(Msg.LParam), GetYLParam(Msg.LParam)});
    int Level = -1;
    int Index = -1;
    for (int L = GetLevelCount() - 1; L >= 0; --L) {
        const TLevel& V = *FLevels[std::size_t(L)];
        if (V.ScreenBounds.Contains(Screen)) {
            Level = L;
            Index = V.Layout.HitTest(Screen - V.ScreenBounds.TopLeft());
            break;
        }
    }
    const int BarItem = Level < 0 && FBarItemAt ? FBarItemAt(Screen) : -1;
    switch (Msg.Message) {
    case WM_MOUSEMOVE:
        if (BarItem >= 0 && BarItem != FBarIndex)
            LeaveForBar(TBarExit::Switch, BarItem);
        else if (Level < 0)
            SetHighlight(GetLevelCount() - 1, -1);
        else
            TrackTo(Level, Index);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        // A press on the bar item whose drop-down this is closes it, as a press outside does.
        if (BarItem >= 0 && BarItem != FBarIndex)
            LeaveForBar(TBarExit::Switch, BarItem);
        else if (Level < 0)
            Dismiss();
        else
            TrackTo(Level, Index);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (Level >= 0 && Index >= 0 && GetLayout(Level).GetEntry(Index).IsSelectable())
            Activate(Level, Index, false);
        break;
    default:
        break;
    }
}

void TPopupMenuTracker::TrackTo(int Level, int Index)
{
    const TMenuLayout& Layout = GetLayout(Level);
    const int Target = Index >= 0 && Layout.GetEntry(Index).IsSelectable() ? Index : -1;
    if (Level + 1 < GetLevelCount()) {
        if (Target >= 0 && GetHighlight(Level) == Target) {
            // Back on the item whose submenu is open: the submenu stays, without a highlight.
            CloseLevels(Level + 2);
            SetHighlight(Level + 1, -1);
            return;
        }
        CloseLevels(Level + 1);
    }
    SetHighlight(Level, Target);
    if (Target >= 0 && Layout.GetEntry(Target).HasSubmenu)
        OpenSubmenu(Level, false);
}

bool TPopupMenuTracker::OpenSubmenu(int Level, bool SelectFirst)
{
    const TLevel& V = *FLevels[std::size_t(Level)];
    if (V.Highlight < 0)
        return false;
    const TMenuEntry& E = V.Layout.GetEntry(V.Highlight);
    if (!E.Item)
        return false;
    const TRect ItemScreen = E.Bounds.Offset(V.ScreenBounds.Left, V.ScreenBounds.Top);
    if (!OpenLevel(*E.Item, {}, &ItemScreen))
        return false;
    if (SelectFirst)
        SetHighlight(GetLevelCount() - 1, GetLayout(GetLevelCount() - 1).NextSelectable(-1, 1));
    return true;
}

void TPopupMenuTracker::Activate(int Level, int Index, bool FromKeyboard)
{
    const TMenuEntry& E = GetLayout(Level).GetEntry(Index);
    if (!E.HasSubmenu) {
        Choose(Level, Index);
        return;
    }
    if (Level + 1 < GetLevelCount() && GetHighlight(Level) == Index) {
        if (FromKeyboard && GetHighlight(Level + 1) < 0)
            SetHighlight(Level + 1, GetLayout(Level + 1).NextSelectable(-1, 1));
        return;
    }
    CloseLevels(Level + 1);
    SetHighlight(Level, Index);
    OpenSubmenu(Level, FromKeyboard);
}

void TPopupMenuTracker::Choose(int Level, int Index)
{
    FChosen = GetLayout(Level).GetEntry(Index).Item;
    FDone = true;
}

void TPopupMenuTracker::HandleKey(const TMsg& Msg)
{
    const int Deepest = GetLevelCount() - 1;
    if (Deepest < 0)
        return;
    const TMenuLayout& Layout = GetLayout(Deepest);
    const int Highlight = GetHighlight(Deepest);
    const auto Move = [&](int Next) {
        if (Next >= 0)
            SetHighlight(Deepest, Next);
    };
    switch (Msg.WParam) {
    case VK_DOWN:
        Move(Layout.NextSelectable(Highlight, 1));
        break;
    case VK_UP:
        Move(Layout.NextSelectable(Highlight, -1));
        break;
    case VK_HOME:
        Move(Layout.NextSelectable(-1, 1));
        break;
    case VK_END:
        Move(Layout.NextSelectable(-1, -1));
        break;
    case VK_RIGHT:
        if (Highlight >= 0 && Layout.GetEntry(Highlight).HasSubmenu)
            Activate(Deepest, Highlight, true);
        else if (FBarItemAt)
            LeaveForBar(TBarExit::Right);
        break;
    case VK_LEFT:
        if (Deepest > 0)
            CloseLevels(Deepest);
        else if (FBarItemAt)
            LeaveForBar(TBarExit::Left);
        break;
    case VK_ESCAPE:
        if (Deepest > 0)
            CloseLevels(Deepest);
        else if (FBarItemAt)
            LeaveForBar(TBarExit::Escape);
        else
            Dismiss();
        break;
    case VK_RETURN:
        if (Highlight >= 0)
            Activate(Deepest, Highlight, true);
        break;
    case VK_MENU:
    case VK_F10:
        Dismiss();
        break;
    default:
        // Other keys may type an access key: let them make their character.
        WM().TranslateMessage(Msg);
        break;
    }
}

void TPopupMenuTracker::HandleChar(char32_t Character)
{
    const int Deepest = GetLevelCount() - 1;
    const char32_t Key = FoldAccessKey(Character);
    if (Deepest < 0 || Key == 0)
        return;
    const TMenuLayout& Layout = GetLayout(Deepest);
    std::vector<int> Matches;
    for (int I = 0; I < Layout.GetCount(); ++I)
        if (Layout.GetEntry(I).IsSelectable() &&
            ParseMenuCaption(Layout.GetEntry(I).Caption).AccessKey == Key)
            Matches.push_back(I);
    if (Matches.empty())
        return;
    if (Matches.size() == 1) {
        Activate(Deepest, Matches.front(), true);
        return;
    }
    // Several items share the key: each press moves on to the next of them.
    const int Highlight = GetHighlight(Deepest);
    const auto Next = std::upper_bound(Matches.begin(), Matches.end(), Highlight);
    SetHighlight(Deepest, Next == Matches.end() ? Matches.front() : *Next);
}

void TPopupMenuTracker::SetMenuBar(int Index, std::function<int(TPoint)> BarItemAt,
                                   bool SelectFirst)
{
    FSelectFirst = SelectFirst;
    FBarIndex = Index;
    FBarItemAt = std::move(BarItemAt);
}

void TPopupMenuTracker::LeaveForBar(TBarExit Exit, int SwitchTo)
{
    FBarExit = Exit;
    FSwitchTo = SwitchTo;
    FDone = true;
}

void TPopupMenuTracker::ItemChanged(const TMenuItem& Item)
{
    for (auto& Level : FLevels)
        for (int I = 0; I < Level->Layout.GetCount(); ++I) {
            TMenuEntry& E = Level->Layout.GetEntry(I);
            if (E.Item != &Item)
                continue;
            E.Caption = Item.GetCaption();
            E.Checked = Item.GetChecked();
            E.Enabled = Item.GetEnabled();
            if (!E.HasSubmenu)
                E.ShortCut = ShortCutToText(Item.GetShortCut());
            // A highlight may not stay on an item that can no longer be chosen.
            if (!E.IsSelectable() && Level->Highlight == I)
                Level->Highlight = -1;
            WM().InvalidateRect(Level->Wnd, &E.Bounds, false);
        }
}

void TPopupMenuTracker::ItemGone(TComponent* Item)
{
    if (Item == FRoot) {
        FRoot = nullptr;
        Dismiss();
    }
    if (Item == FChosen)
        FChosen = nullptr;
    for (auto& Level : FLevels)
        for (TMenuEntry& E : Level->Layout.GetEntries())
            if (E.Item == Item)
                E.Item = nullptr;
}
