#pragma once

// The fixture of the popup menu tests: a form, a menu like the clock's, and scripts of input that
// run inside the menu's loop through the headless port's event queue.
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/MenuLayout.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/stdctrls/PopupMenuWindow.h"
#include "framework/windows/WindowManager.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"
#include "tests/support/HeadlessApp.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace PopupMenuTesting {

// What one step of a script does while the menu is open.
enum class TAct
{
    Move,
    LDown,
    LUp,
    RDown,
    RUp,
    MUp,
    MoveOutside,
    PressOutside,
    ReleaseOutside,
    Key,
};

struct TStep
{
    TAct Act;
    // The item, as its caption path without '&' ("Quit", "File>Open"); for keys the virtual key
    // and the character the key types (0 for none).
    const char* Target = "";
    unsigned Key = 0;
    char32_t Char = 0;
};

inline TStep Move(const char* T)
{
    return {TAct::Move, T};
}
inline TStep LDown(const char* T)
{
    return {TAct::LDown, T};
}
inline TStep LUp(const char* T)
{
    return {TAct::LUp, T};
}
inline TStep RUp(const char* T)
{
    return {TAct::RUp, T};
}
inline TStep MUp(const char* T)
{
    return {TAct::MUp, T};
}
inline TStep Key(unsigned VirtualKey, char32_t Char = 0)
{
    return {TAct::Key, "", VirtualKey, Char};
}
inline const TStep MoveOutside{TAct::MoveOutside};
inline const TStep PressOutside{TAct::PressOutside};
inline const TStep ReleaseOutside{TAct::ReleaseOutside};

// A script and what it must leave in the log: before each step the highlight of every open
// menu level ("hl Quit", "hl File>Open", "hl -" for none), and at the end the clicks.
struct TScript
{
    const char* Name;
    std::vector<TStep> Steps;
    std::vector<std::string> Log;
};

inline std::ostream& operator<<(std::ostream& Out, const TScript& S)
{
    return Out << S.Name;
}

class PopupMenuTest : public HeadlessWindowsTest
{
protected:
    void SetUp() override
    {
        HeadlessWindowsTest::SetUp();
        DrainPortEvents();
        TCreateWindowParams P;
        P.Bounds = TRect::FromSize(100, 100, 300, 120);
        P.Style = WS_POPUP | WS_VISIBLE;
        P.WndProc = std::make_shared<TWndProc>(
            [this](HWND H, UINT M, WPARAM W, LPARAM L) { return FormProc(H, M, W, L); });
        Form = WM().CreateWindowEx(P);
        Pump();
        Host = std::make_unique<TComponent>(nullptr);
        Menu = new TPopupMenu(Host.get());
        Menu->SetName("PopupMenu1");
        // The clock's six items, and one disabled item after them.
        for (const char* Description :
             {"Settings1 Settings", "Quit1 Quit", "N1 -", "UsersManual1 Users Manual", "N2 -",
              "About1 About", "Disabled1 Disabled"})
            AddItem(Menu->GetItems(), Description);
        Item("Disabled1")->SetEnabled(false);
    }

    void TearDown() override
    {
        Host.reset();
        DrainPortEvents();
        HeadlessWindowsTest::TearDown();
    }

    // "Name Caption words": an item owned by the host, nested in Parent.
    TMenuItem* AddItem(TMenuItem* Parent, const std::string& Description)
    {
        const std::size_t Space = Description.find(' ');
        auto* I = new TMenuItem(Host.get());
        I->SetName(Description.substr(0, Space));
        I->SetCaption(Description.substr(Space + 1));
        I->OnClick = [this](TObject* Sender) { Clicked(dynamic_cast<TMenuItem*>(Sender)); };
        Parent->Add(I);
        return I;
    }
    TMenuItem* Item(const char* Name)
    {
        return dynamic_cast<TMenuItem*>(Host->FindComponent(Name));
    }

    // A menu with a submenu and access keys.
    TPopupMenu* FileMenu()
    {
        auto* M = new TPopupMenu(Host.get());
        TMenuItem* File = AddItem(M->GetItems(), "File1 &File");
        AddItem(File, "New1 &New");
        AddItem(File, "Open1 &Open");
        AddItem(M->GetItems(), "Edit1 &Edit")->SetEnabled(false);
        AddItem(M->GetItems(), "N3 -");
        AddItem(M->GetItems(), "Save1 &Save");
        AddItem(M->GetItems(), "Send1 S&end");
        AddItem(M->GetItems(), "Sign1 &Sign");
        AddItem(M->GetItems(), "Exit1 E&xit");
        return M;
    }

    virtual void Clicked(TMenuItem* Item)
    {
        // The handler must find the menu gone: no tracker, no window, no capture.
        const bool Gone =
            !TPopupMenuTracker::GetActive() && !WM().IsWindow(MenuWnd) && WM().GetCapture() == 0;
        Log.push_back("click " + Item->GetName() + (Gone ? "" : " with the menu still open"));
        if (OnClicked)
            OnClicked(Item);
    }

    LRESULT FormProc(HWND H, UINT M, WPARAM W, LPARAM L)
    {
        if ((M >= WM_MOUSEFIRST && M <= WM_MOUSELAST) || (M >= WM_KEYDOWN && M <= WM_SYSCHAR))
            FormInput.push_back(M);
        if (M == WM_TIMER) {
            ++Ticks;
            if (OnTimerQuit)
                WM().PostQuitMessage(3);
            if (ThrowOnTimer)
                throw std::runtime_error("the tick failed");
            WM().InvalidateRect(H, nullptr, false);
        }
        if (M == WM_PAINT)
            ++Paints;
        if (M == WM_CONTEXTMENU && ContextMenu) {
            Menu->Popup(GetXLParam(L), GetYLParam(L));
            return 0;
        }
        return WM().DefWindowProc(H, M, W, L);
    }

    void Pump()
    {
        TMsg M;
        while (WM().PeekMessage(M, 0, 0, 0, PM_REMOVE) && M.Message != WM_QUIT) {
            WM().TranslateMessage(M);
            WM().DispatchMessage(M);
        }
    }

    static void DrainPortEvents()
    {
        while (Port().GetQueuedEventCount() > 0)
            Port().WaitEvents(-1);
    }

    // Runs Fn inside the menu's loop, DelayMs after the step before; without an open menu it
    // only notes that.
    void During(std::function<void(TPopupMenuTracker&)> Fn, int DelayMs = 0)
    {
        Port().QueueEvent(
            [this, Fn] {
                TPopupMenuTracker* T = TPopupMenuTracker::GetActive();
                if (!T) {
                    Log.push_back("closed");
                    return;
                }
                MenuWnd = T->GetWindow(0);
                Fn(*T);
            },
            DelayMs);
    }

    static std::string Highlights(const TPopupMenuTracker& T)
    {
        std::string S;
        for (int L = 0; L < T.GetLevelCount(); ++L) {
            const int H = T.GetHighlight(L);
            S += (L ? ">" : "") + (H < 0
                                       ? std::string("-")
                                       : ParseMenuCaption(T.GetLayout(L).GetEntry(H).Caption).Text);
        }
        return S;
    }

    // The level and the entry a caption path names, and the centre of that entry (client
    // coordinates of the level's window).
    static TPoint Find(const TPopupMenuTracker& T, const std::string& Path, int& Level)
    {
        Level = -1;
        int Index = -1;
        std::size_t Start = 0;
        for (int L = 0;; ++L) {
            const std::size_t End = Path.find('>', Start);
            const std::string Part = Path.substr(Start, End - Start);
            if (L >= T.GetLevelCount())
                ADD_FAILURE() << "level " << L << " of " << Path << " is not open";
            if (L >= T.GetLevelCount())
                return {};
            Index = -1;
            for (int I = 0; I < T.GetLayout(L).GetCount() && Index < 0; ++I)
                if (ParseMenuCaption(T.GetLayout(L).GetEntry(I).Caption).Text == Part)
                    Index = I;
            if (Index < 0)
                ADD_FAILURE() << "no item " << Part;
            Level = L;
            if (End == std::string::npos)
                break;
            Start = End + 1;
        }
        if (Index < 0)
            return {};
        const TRect& B = T.GetLayout(Level).GetEntry(Index).Bounds;
        return {(B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2};
    }

    void Perform(TPopupMenuTracker& T, const TStep& S)
    {
        const auto Mouse = [&](UINT Msg, unsigned Shift) {
            int Level = 0;
            const TPoint P = Find(T, S.Target, Level);
            // The port reports the event on the window under the pointer; the capture takes it.
            WM().HandleMouse(T.GetWindow(Level), Msg, Shift, P);
        };
        // Over the form, well away from the menu.
        const TPoint Outside{280, 110};
        switch (S.Act) {
        case TAct::Move:
            return Mouse(WM_MOUSEMOVE, 0);
        case TAct::LDown:
            return Mouse(WM_LBUTTONDOWN, ssLeft);
        case TAct::LUp:
            return Mouse(WM_LBUTTONUP, 0);
        case TAct::RDown:
            return Mouse(WM_RBUTTONDOWN, ssRight);
        case TAct::RUp:
            return Mouse(WM_RBUTTONUP, 0);
        case TAct::MUp:
            return Mouse(WM_MBUTTONUP, 0);
        case TAct::MoveOutside:
            return WM().HandleMouse(Form, WM_MOUSEMOVE, 0, Outside);
        case TAct::PressOutside:
            return WM().HandleMouse(Form, WM_LBUTTONDOWN, ssLeft, Outside);
        case TAct::ReleaseOutside:
            return WM().HandleMouse(Form, WM_LBUTTONUP, 0, Outside);
        case TAct::Key:
            WM().HandleKey(Form, WM_KEYDOWN, S.Key, 0);
            if (S.Char)
                WM().HandleChar(Form, S.Char);
            return;
        }
    }

    // Opens PopupMenu at the screen point with the script queued behind it; every step must run
    // while the menu is open, and nothing of the input may reach the form.
    void RunScript(TPopupMenu& PopupMenu, const std::vector<TStep>& Steps, TPoint At = {150, 140})
    {
        for (const TStep& S : Steps)
            During([this, S](TPopupMenuTracker& T) {
                Log.push_back("hl " + Highlights(T));
                Perform(T, S);
            });
        PopupMenu.Popup(At.X, At.Y);
        EXPECT_EQ(TPopupMenuTracker::GetActive(), nullptr);
        EXPECT_EQ(Port().GetQueuedEventCount(), 0u) << "the menu closed before the script ended";
        Pump();
        EXPECT_TRUE(FormInput.empty()) << "the form saw " << FormInput.size() << " inputs";
    }

    HWND Form = 0;
    HWND MenuWnd = 0;
    std::unique_ptr<TComponent> Host;
    TPopupMenu* Menu = nullptr;
    std::vector<std::string> Log;
    std::vector<UINT> FormInput;
    std::function<void(TMenuItem*)> OnClicked;
    bool ContextMenu = false;
    bool OnTimerQuit = false;
    bool ThrowOnTimer = false;
    int Ticks = 0;
    int Paints = 0;
};

} // namespace PopupMenuTesting
