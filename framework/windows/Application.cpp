#include "framework/windows/Application.h"

#include "base/Exception.h"
#include "framework/windows/Form.h"
#include "framework/windows/Screen.h"
#include "framework/windows/WindowManager.h"

#include <algorithm>
#include <cstdio>

namespace {
TWindowManager& WM()
{
    return TWindowManager::Get();
}
constexpr UINT CM_RELEASE = WM_USER + 0x1000;
} // namespace

TApplication* TApplication::GCurrent = nullptr;
TApplication::TMessageBoxFunction TApplication::GMessageBox = nullptr;

TApplication& Application()
{
    if (!TApplication::GetCurrent())
        throw EInvalidOperation("No application object exists");
    return *TApplication::GetCurrent();
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    GCurrent = this;
    TWinControl::ExceptionHandler = [this](const std::exception& E) { HandleException(E); };
}

TApplication::~TApplication()
{
    // The forms go first (the last created first), while the application still answers.
    DestroyComponents();
    FMainForm = nullptr;
    if (FHandle)
        WM().DestroyWindow(FHandle);
    TWinControl::ExceptionHandler = nullptr;
    if (GCurrent == this)
        GCurrent = nullptr;
}

void TApplication::Initialize()
{
    if (FHandle)
        return;
    TCreateWindowParams P;
    P.MessageOnly = true;
    P.Style = WS_VISIBLE; // the button shows until someone hides this window
    P.Caption = FTitle;
    P.WndProc = std::make_shared<TWndProc>(
        [this](HWND H, UINT M, WPARAM W, LPARAM L) { return AppWndProc(H, M, W, L); });
    FHandle = WM().CreateWindowEx(P);
}

LRESULT TApplication::AppWndProc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L)
{
    switch (Msg) {
    case WM_SHOWWINDOW:
        // The style bit changes after this message: tell the main form what it will be.
        if (FMainForm && FMainForm->HandleAllocated())
            if (TPlatformWindow* Peer = WM().GetPeer(FMainForm->GetHandleIfAllocated()))
                Peer->SetTaskbarButton(W != 0);
        return 0;
    case CM_RELEASE: {
        std::vector<TForm*> Doomed;
        Doomed.swap(FPendingRelease);
        for (TForm* F : Doomed) {
            const auto& Forms = Screen().GetForms();
            if (std::find(Forms.begin(), Forms.end(), F) != Forms.end())
                delete F;
        }
        return 0;
    }
    default:
        return WM().DefWindowProc(Wnd, Msg, W, L);
    }
}

bool TApplication::GetTaskbarButtonVisible() const
{
    return FHandle && (WM().GetWindowLong(FHandle, GWL_STYLE) & WS_VISIBLE);
}

void TApplication::SyncTaskbarButton()
{
    if (FMainForm && FMainForm->HandleAllocated())
        if (TPlatformWindow* Peer = WM().GetPeer(FMainForm->GetHandleIfAllocated()))
            Peer->SetTaskbarButton(GetTaskbarButtonVisible());
}

void TApplication::FormCreated(TForm* Form)
{
    if (!FMainForm) {
        FMainForm = Form;
        Form->HandleNeeded();
        SyncTaskbarButton();
    }
}

void TApplication::Run()
{
    Initialize();
    if (FMainForm)
        FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
}

bool TApplication::HandleMessage()
{
    if (FTerminated)
        return false;
    TMsg M;
    const int R = WM().GetMessage(M, 0, 0, 0);
    if (R <= 0) {
        // WM_QUIT, or a port on which nothing can ever arrive again.
        FTerminated = true;
        return false;
    }
    try {
        WM().TranslateMessage(M);
        WM().DispatchMessage(M);
    } catch (const std::exception& E) {
        HandleException(E);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    TMsg M;
    while (!FTerminated && WM().PeekMessage(M, 0, 0, 0, PM_REMOVE)) {
        if (M.Message == WM_QUIT) {
            FTerminated = true;
            break;
        }
        try {
            WM().TranslateMessage(M);
            WM().DispatchMessage(M);
        } catch (const std::exception& E) {
            HandleException(E);
        }
    }
}

void TApplication::Terminate()
{
    WM().PostQuitMessage(0);
}

std::string TApplication::GetExeName() const
{
    return TPlatform::Get().GetExecutablePath();
}

void TApplication::HandleException(const std::exception& E)
{
    if (OnException.Assigned())
        OnException(this, E);
    else
        ShowException(E);
}

int TApplication::ShowMessageBox(const std::string& Text, const std::string& Caption,
                                 unsigned Flags)
{
    if (!FHandle)
        Initialize();
    return GMessageBox ? GMessageBox(Text, Caption.empty() ? FTitle : Caption, Flags) : 0;
}

void TApplication::SetMessageBoxFunction(TMessageBoxFunction Function)
{
    GMessageBox = Function;
}

void TApplication::ShowException(const std::exception& E)
{
    std::string Message = E.what();
    if (Message.empty())
        Message = "An error occurred";
    if (Message.back() != '.')
        Message += '.';
    FLastExceptionMessage = Message;
    std::fprintf(stderr, "%s: %s\n", FTitle.empty() ? "Error" : FTitle.c_str(), Message.c_str());
    if (FShowingException)
        return; // an error inside the box itself: the stream has it
    FShowingException = true;
    try {
        ShowMessageBox(Message, FTitle.empty() ? "Error" : FTitle, MB_OK | MB_ICONSTOP);
    } catch (const std::exception&) {
        // No box can be shown (no window, no font): the message has gone to the stream.
    }
    FShowingException = false;
}

void TApplication::ReleaseForm(TForm* Form)
{
    // Deleting the form inside its own handler would pull the object from under the caller.
    if (!FHandle)
        Initialize();
    Form->Hide();
    FPendingRelease.push_back(Form);
    WM().PostMessage(FHandle, CM_RELEASE, 0, 0);
}
