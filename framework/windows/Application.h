#pragma once

#include "framework/objects/Component.h"
#include "framework/objects/Event.h"
#include "framework/windows/Messages.h"

#include <exception>
#include <string>
#include <vector>

class TForm;

using TExceptionEvent = TEvent<TObject* /*Sender*/, const std::exception& /*E*/>;

// The application: the forms it owns, the main form (the first created), the message loop, the
// window that stands for the task-bar button, and the standard exception display.
class TApplication : public TComponent
{
    PUBLISHED_CLASS(TApplication, TComponent)

    // The program entry makes one; it is the current application while it lives.
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize();
    // Creates a form owned by the application; the first one created becomes the main form.
    template <typename T>
    void CreateForm(T*& Reference)
    {
        Reference = nullptr;
        T* Form = new T(this);
        Reference = Form;
        FormCreated(Form);
    }
    // Shows the main form and dispatches messages until the application terminates.
    void Run();
    // Waits for one message and dispatches it; false once the application terminates.
    bool HandleMessage();
    // Dispatches what is queued, without waiting.
    void ProcessMessages();
    void Terminate();
    bool GetTerminated() const { return FTerminated; }

    TForm* GetMainForm() const { return FMainForm; }
    // The window whose visibility is the task-bar button's: hiding it hides the button.
    HWND GetHandle() const { return FHandle; }
    bool GetTaskbarButtonVisible() const;
    // Gives the main form's native window the button state of the application window.
    void SyncTaskbarButton();

    const std::string& GetTitle() const { return FTitle; }
    void SetTitle(const std::string& Value) { FTitle = Value; }
    std::string GetExeName() const;

    // A modal message box; an empty caption is the application's title. The answer is an ID_
    // value, or 0 when no box can be shown.
    int ShowMessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);
    // What shows message boxes: the standard controls install their message form when they are
    // registered. Until then a box answers 0, as a MessageBox that failed does.
    using TMessageBoxFunction = int (*)(const std::string& Text, const std::string& Caption,
                                        unsigned Flags);
    static void SetMessageBoxFunction(TMessageBoxFunction Function);

    // Where errors escaping handlers go: OnException if assigned, else ShowException.
    void HandleException(const std::exception& E);
    // The standard exception display: the error's message, ended with a full stop, in a
    // message box with the stop icon and the application's title. The message is also written
    // to the standard error stream, which outlives a box that cannot be shown.
    void ShowException(const std::exception& E);
    // The message of the last error shown (what the standard display showed), for tests.
    const std::string& GetLastExceptionMessage() const { return FLastExceptionMessage; }

    // Destroys the form once the current message is handled.
    void ReleaseForm(TForm* Form);

    TExceptionEvent OnException;

    static TApplication* GetCurrent() { return GCurrent; }

private:
    void FormCreated(TForm* Form);
    LRESULT AppWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L);

    static TApplication* GCurrent;
    static TMessageBoxFunction GMessageBox;
    TForm* FMainForm = nullptr;
    HWND FHandle = 0;
    bool FTerminated = false;
    bool FShowingException = false;
    std::string FTitle;
    std::string FLastExceptionMessage;
    std::vector<TForm*> FPendingRelease;
};

// The current application (the program entry's).
TApplication& Application();
