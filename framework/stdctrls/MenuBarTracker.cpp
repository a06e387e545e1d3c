// The bar's own loop runs only while no drop-down is open; each drop-down is a popup menu loop
// of its own, ended by the popup tracker with a reason this loop acts on. Both loops take their
// messages from the one queue, so timers and paints go on while the bar is in use.
#include "framework/stdctrls/MenuBarTracker.h"

#include "framework/stdctrls/MenuBar.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MenuLayout.h"
#include "framework/stdctrls/PopupMenuWindow.h"
#include "framework/windows/WindowManager.h"

namespace {

TMenuBarTracker* GActive = nullptr;

constexpr UINT KeyboardLastMessage = 0x0109;

TWindowManager& WM()
{
    return TWindowManager::Get();
}

bool HasVisibleItems(const TMenuItem& Item)
{
    for (int I = 0; I < Item.GetCount(); ++I)
        if (Item.GetItem(I)->GetVisible())
            return true;
    return false;
}

} // namespace

TMenuBarTracker* TMenuBarTracker::GetActive()
{
    return GActive;
}

TMenuItem* TMenuBarTracker::Run(int Index, bool Open, bool Keyboard)
{
    if (GActive || TPopupMenuTracker::GetActive() || !FBar.HandleAllocated())
        return nullptr;
    GActive = this;
    FIndex = Index;
    FKeyboard = Keyboard;
    TMenuItem* Chosen = nullptr;
    while (FIndex >= 0 && !Chosen) {
        TMenuItem* Top = FBar.GetItem(FIndex);
        if (!Top)
            break;
        if (Open && Top->GetEnabled()) {
            if (!HasVisibleItems(*Top)) {
                Chosen = Top;
                break;
            }
            FBar.SetState(FIndex, true, FKeyboard);
            const TRect R = FBar.GetItemRect(FIndex);
            TPopupMenuTracker DropDown(*Top, FBar.ClientToScreen({R.Left, R.Bottom}));
            // The pointer passes over disabled bar items without leaving the open drop-down.
            const auto BarItemAt = [this](TPoint Screen) {
                const int I = FBar.ItemAtScreen(Screen);
                return I >= 0 && FBar.GetItem(I)->GetEnabled() ? I : -1;
            };
            DropDown.SetMenuBar(FIndex, BarItemAt, FKeyboard);
            Chosen = DropDown.Run();
            switch (DropDown.GetBarExit()) {
            case TPopupMenuTracker::TBarExit::Closed:
                FIndex = -1;
                break;
            case TPopupMenuTracker::TBarExit::Escape:
                Open = false;
                break;
            case TPopupMenuTracker::TBarExit::Left:
            case TPopupMenuTracker::TBarExit::Right:
                FIndex = FBar.Neighbour(
                    FIndex, DropDown.GetBarExit() == TPopupMenuTracker::TBarExit::Left ? -1 : 1);
                FKeyboard = true;
                break;
            case TPopupMenuTracker::TBarExit::Switch:
                FIndex = DropDown.GetSwitchTo();
                break;
            }
            continue;
        }
        // On the bar itself the keyboard is in use, whatever opened it.
        FKeyboard = true;
        FBar.SetState(FIndex, false, true);
        Open = TrackBar();
        if (Open && !FBar.GetItem(FIndex)->GetEnabled())
            Open = false;
    }
    FBar.SetState(-1, false, false);
    GActive = nullptr;
    return Chosen;
}

bool TMenuBarTracker::TrackBar()
{
    const HWND Bar = FBar.GetHandle();
    WM().SetCapture(Bar);
    bool Open = false;
    bool Leave = false;
    TMsg M;
    while (!Open && !Leave && WM().GetCapturedMessage(Bar, M)) {
        if (M.Message >= WM_MOUSEFIRST && M.Message <= WM_MOUSELAST) {
            const bool Press = M.Message == WM_LBUTTONDOWN || M.Message == WM_RBUTTONDOWN ||
                               M.Message == WM_MBUTTONDOWN;
            if (!Press || !WM().IsWindow(M.Hwnd))
                continue;
            const int Hit = FBar.ItemAtScreen(
                WM().ClientToScreen(M.Hwnd, {GetXLParam(M.LParam), GetYLParam(M.LParam)}));
            if (Hit >= 0 && M.Message == WM_LBUTTONDOWN) {
                FIndex = Hit;
                FKeyboard = false;
                Open = true;
            } else if (Hit < 0) {
                Leave = true;
            }
        } else if (M.Message >= WM_KEYDOWN && M.Message <= KeyboardLastMessage) {
            BarKey(M, Open, Leave);
        } else {
            WM().TranslateMessage(M);
            WM().DispatchMessage(M);
        }
    }
    if (WM().IsWindow(Bar) && WM().GetCapture() == Bar)
        WM().ReleaseCapture();
    if (!Open)
        FIndex = -1;
    return Open;
}

void TMenuBarTracker::BarKey(const TMsg& Msg, bool& Open, bool& Leave)
{
    if (Msg.Message == WM_CHAR || Msg.Message == WM_SYSCHAR) {
        const char32_t Key = FoldAccessKey(char32_t(Msg.WParam));
        for (int I = 0; I < FBar.GetItemCount() && Key; ++I)
            if (ParseMenuCaption(FBar.GetItem(I)->GetCaption()).AccessKey == Key) {
                FIndex = I;
                Open = true;
                return;
            }
        return;
    }
    if (Msg.Message != WM_KEYDOWN && Msg.Message != WM_SYSKEYDOWN)
        return;
    switch (Msg.WParam) {
    case VK_LEFT:
    case VK_RIGHT:
        FIndex = FBar.Neighbour(FIndex, Msg.WParam == VK_LEFT ? -1 : 1);
        FBar.SetState(FIndex, false, true);
        break;
    case VK_RETURN:
    case VK_DOWN:
    case VK_UP:
        Open = true;
        break;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10:
        Leave = true;
        break;
    default:
        WM().TranslateMessage(Msg);
        break;
    }
}
