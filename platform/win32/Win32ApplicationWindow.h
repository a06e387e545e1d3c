#pragma once

#include <vector>

class TWin32Window;

// The hidden window that owns every form window and stands for the application on the task bar,
// as the one window a user sees there. Owned windows get no button of their own, so the program
// has exactly one button, and it is this window's: shown (SW_SHOWNA, at zero size, so nothing
// but the button appears) when the button is wanted, hidden (SW_HIDE) when not.
//
// The mapping from the per-window requests of the platform interface: SetTaskbarButton on any
// form decides for the whole application, and that form becomes the one the button stands for
// (its title is the button's text; a click on the button activates it, or the form last active;
// closing from the task bar is that form's close request). Until some form has decided, showing
// a form whose creation parameters ask for a button shows it. When the form the button stands
// for is destroyed, the button goes with it.
class TWin32ApplicationWindow
{
public:
    TWin32ApplicationWindow();
    ~TWin32ApplicationWindow();
    TWin32ApplicationWindow(const TWin32ApplicationWindow&) = delete;
    TWin32ApplicationWindow& operator=(const TWin32ApplicationWindow&) = delete;

    // The HWND (null if the system refused to create it).
    void* GetHandle() const { return FHandle; }
    bool IsButtonVisible() const;

    // Calls of the form windows.
    void AddWindow(TWin32Window& Window);
    void RemoveWindow(TWin32Window& Window);
    void SetButton(TWin32Window& Carrier, bool Visible);
    void WindowShown(TWin32Window& Window);
    void WindowActivated(TWin32Window& Window);
    void TitleChanged(TWin32Window& Window);

private:
    struct TProcedure;

    void ShowButton(bool Visible);
    void CopyTitle();
    TWin32Window* FindFocusTarget() const;

    void* FHandle = nullptr;
    std::vector<TWin32Window*> FWindows;
    TWin32Window* FCarrier = nullptr;    // the form the button stands for
    TWin32Window* FLastActive = nullptr; // where a click on the button sends the focus
    bool FDecided = false;               // some form has called SetTaskbarButton
};
