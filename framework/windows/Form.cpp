#include "framework/windows/Form.h"

#include "base/Exception.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/Resources.h"
#include "framework/windows/Application.h"
#include "framework/windows/Screen.h"

#include <algorithm>
#include <utility>

namespace {
TWindowManager& WM()
{
    return TWindowManager::Get();
}
} // namespace

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    SetVisible(false);
    SetColor(clBtnFace);
    FLeft = 0;
    FTop = 0;
    FWidth = 320;
    FHeight = 240;
    Screen().AddForm(this);
}

TForm::~TForm()
{
    // Only a form that was not deleted (a local variable or a member) gets here without
    // BeforeDestruction; its OnDestroy sees nothing but the form.
    DoDestroy();
    Screen().RemoveForm(this);
    if (HandleAllocated())
        DestroyWnd();
    if (TFormMenu* Menu = std::exchange(FMenu, nullptr))
        Menu->SetForm(nullptr);
    // The owned components go while this form is still whole: their handlers may use it.
    DestroyComponents();
}

void TForm::DeclareClass(TClassDeclaration<TForm>& D)
{
    D.Enumeration<TFormBorderStyle>(
         "BorderStyle", &TForm::GetBorderStyle, &TForm::SetBorderStyle,
         {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"})
        .Default(bsSizeable);
    D.Enumeration<TFormStyle>("FormStyle", &TForm::GetFormStyle, &TForm::SetFormStyle,
                              {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
    D.Enumeration<TPosition>("Position", &TForm::GetPosition, &TForm::SetPosition,
                             {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                              "poScreenCenter", "poDesktopCenter", "poMainFormCenter",
                              "poOwnerFormCenter"});
    D.Boolean("KeyPreview", &TForm::GetKeyPreview, &TForm::SetKeyPreview);
    D.Component<TFormMenu>("Menu", &TForm::GetMenu, &TForm::SetMenu);
    D.Integer("ClientWidth", &TForm::GetClientWidth, &TForm::SetClientWidth).AlwaysStored();
    D.Integer("ClientHeight", &TForm::GetClientHeight, &TForm::SetClientHeight).AlwaysStored();
    D.Color("Color", &TForm::GetColor, &TForm::SetColor).Default(clBtnFace);
    D.Boolean("Visible", &TForm::GetVisible, &TForm::SetVisible).Default(0);
    D.Event("OnCreate", &TForm::OnCreate);
    D.Event("OnDestroy", &TForm::OnDestroy);
    D.Event("OnShow", &TForm::OnShow);
    D.Event("OnHide", &TForm::OnHide);
    D.Event("OnClose", &TForm::OnClose);
}

void TForm::ReadDescription()
{
    const TResourceEntry* Entry = TResources::FindByName(ClassName());
    if (!Entry || std::string_view(Entry->Kind) != "form")
        throw EResNotFound("Resource " + ClassName() + " not found");
    const std::string_view Text(reinterpret_cast<const char*>(Entry->Data.data()),
                                Entry->Data.size());
    TFormReader::ReadInto(*this, Text);
}

void TForm::DoCreate()
{
    OnCreate(this);
}

void TForm::DoDestroy()
{
    if (FDestroyCalled)
        return;
    FDestroyCalled = true;
    OnDestroy(this);
}

void TForm::SetMenu(TFormMenu* Value)
{
    if (Value == FMenu)
        return;
    if (FMenu) {
        FMenu->RemoveFreeNotification(this);
        FMenu->SetForm(nullptr);
    }
    FMenu = Value;
    if (FMenu) {
        FMenu->FreeNotification(this);
        FMenu->SetForm(this);
    }
    AlignControls();
}

bool TForm::MenuKey(UINT Msg, unsigned Key, TShiftState Shift)
{
    return FMenu && FMenu->MenuKey(Msg, Key, Shift);
}

void TForm::AdjustClientRect(TRect& Rect) const
{
    if (FMenu)
        Rect.Top = std::min(Rect.Bottom, Rect.Top + FMenu->GetBarHeight());
}

void TForm::AlignControls()
{
    if (FMenu)
        FMenu->PlaceBar(GetClientRect());
    TWinControl::AlignControls();
}

void TForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenu)
        FMenu = nullptr;
}

void TForm::BeforeDestruction()
{
    TWinControl::BeforeDestruction();
    DoDestroy();
}

// ---- The window -----------------------------------------------------------------------------

void TForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (FBorderStyle) {
    case bsNone:
        break;
    case bsDialog:
    case bsSingle:
    case bsToolWindow:
        Params.Style |= WS_CAPTION | WS_SYSMENU;
        Params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        Params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        break;
    }
    if (FFormStyle == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    Params.WndParent = 0;
}

void TForm::CreateWnd()
{
    // The frame and the client size asked for come with the window: until it is made and sized,
    // the anchored controls keep where the description put them.
    FCreatingWindow = true;
    try {
        TWinControl::CreateWnd();
        AlignControls();
    } catch (...) {
        FCreatingWindow = false;
        throw;
    }
    FCreatingWindow = false;
}

bool TForm::ClientSizeProvisional() const
{
    // Without its window a framed form knows only its outer size.
    return FCreatingWindow || (!HandleAllocated() && FBorderStyle != bsNone) ||
           TWinControl::ClientSizeProvisional();
}

void TForm::ApplyPendingClientSize()
{
    const int W = FPendingClientWidth, H = FPendingClientHeight;
    FPendingClientWidth = FPendingClientHeight = -1;
    if (W >= 0)
        SetClientWidth(W);
    if (H >= 0)
        SetClientHeight(H);
}

void TForm::CreateHandleDone()
{
    ApplyPendingClientSize();
    UpdateBoundsFromWindow();
    if (GetVisible())
        WM().ShowWindow(GetHandleIfAllocated(), SW_SHOW);
}

void TForm::UpdateBoundsFromWindow()
{
    const HWND H = GetHandleIfAllocated();
    if (!H)
        return;
    const TRect R = WM().GetWindowRect(H);
    const bool Sized = R.Width() != FWidth || R.Height() != FHeight;
    FLeft = R.Left;
    FTop = R.Top;
    FWidth = R.Width();
    FHeight = R.Height();
    if (Sized)
        AlignControls();
}

TRect TForm::GetClientRect() const
{
    if (const HWND H = GetHandleIfAllocated())
        return WM().GetClientRect(H);
    // A client size asked for before the frame is known is the one the window will get: a form
    // written before it was ever shown keeps it.
    return {0, 0, FPendingClientWidth >= 0 ? FPendingClientWidth : FWidth,
            FPendingClientHeight >= 0 ? FPendingClientHeight : FHeight};
}

void TForm::SetClientWidth(int Value)
{
    if (!HandleAllocated() && FBorderStyle != bsNone) {
        FPendingClientWidth = Value;
        return;
    }
    TWinControl::SetClientWidth(Value);
}

void TForm::SetClientHeight(int Value)
{
    if (!HandleAllocated() && FBorderStyle != bsNone) {
        FPendingClientHeight = Value;
        return;
    }
    TWinControl::SetClientHeight(Value);
}

TPoint TForm::ClientToScreen(TPoint P) const
{
    if (const HWND H = GetHandleIfAllocated())
        return WM().ClientToScreen(H, P);
    return P + TPoint{FLeft, FTop};
}

void TForm::SetCaption(const std::string& Value)
{
    TWinControl::SetCaption(Value);
    if (HandleAllocated())
        WM().SetWindowText(GetHandleIfAllocated(), Value);
}

void TForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    // Without a frame the client area is the whole window, so a client size that was waiting
    // for the frame is the window's size from now on.
    if (Value == bsNone && !HandleAllocated())
        ApplyPendingClientSize();
    RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle Value)
{
    if (FFormStyle == Value)
        return;
    FFormStyle = Value;
    RecreateWnd();
}

TWindowState TForm::GetWindowState() const
{
    const HWND H = GetHandleIfAllocated();
    if (H && WM().IsIconic(H))
        return wsMinimized;
    if (H && WM().IsZoomed(H))
        return wsMaximized;
    return wsNormal;
}

// ---- Showing and closing --------------------------------------------------------------------

void TForm::PlaceByPosition()
{
    const TPoint Screen = TPlatform::Get().GetScreenSize();
    TRect Over{0, 0, Screen.X, Screen.Y};
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        // Over the form that owns this one, or the main form, when it is on show; else the
        // screen, as for a dialog of a program whose window is gone.
        const TForm* Form =
            FPosition == poOwnerFormCenter ? dynamic_cast<TForm*>(GetOwner()) : nullptr;
        if (!Form)
            Form = Application().GetMainForm();
        if (Form && Form != this && Form->GetVisible())
            Over = Form->GetBoundsRect();
        break;
    }
    default:
        return;
    }
    const int Left = Over.Left + (Over.Width() - FWidth) / 2;
    const int Top = Over.Top + (Over.Height() - FHeight) / 2;
    SetBounds(std::max(0, std::min(Left, Screen.X - FWidth)),
              std::max(0, std::min(Top, Screen.Y - FHeight)), FWidth, FHeight);
}

void TForm::VisibleChanged()
{
    if (GetVisible()) {
        const HWND H = GetHandle();
        PlaceByPosition();
        WM().ShowWindow(H, SW_SHOW);
        // A dialog opens with the focus on its first control, as on Windows.
        const HWND Focus = WM().GetFocus();
        if (!Focus || WM().GetTopLevel(Focus) != H)
            SelectNext(nullptr, true);
        OnShow(this);
    } else {
        if (HandleAllocated())
            WM().ShowWindow(GetHandleIfAllocated(), SW_HIDE);
        OnHide(this);
    }
}

void TForm::Show()
{
    SetVisible(true);
    if (HandleAllocated())
        WM().SetWindowPos(GetHandleIfAllocated(), 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::DoClose(TCloseAction& Action)
{
    OnClose(this, Action);
}

void TForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    TCloseAction Action = Application().GetMainForm() == this ? caFree : caHide;
    DoClose(Action);
    if (Action == caNone)
        return;
    if (Application().GetMainForm() == this) {
        Application().Terminate();
        return;
    }
    if (Action == caHide || Action == caMinimize)
        Hide();
    else if (Action == caFree)
        Release();
}

void TForm::Release()
{
    Application().ReleaseForm(this);
}

TModalResult TForm::ShowModal()
{
    if (FModal || GetVisible())
        throw EInvalidOperation("Cannot make a visible window modal");
    // Every other form stops taking input while this one is up.
    std::vector<HWND> Disabled;
    const HWND ActiveBefore = WM().GetActiveWindow();
    for (TForm* F : Screen().GetForms())
        if (F != this && F->HandleAllocated() && WM().IsWindowEnabled(F->GetHandleIfAllocated())) {
            Disabled.push_back(F->GetHandleIfAllocated());
            WM().EnableWindow(F->GetHandleIfAllocated(), false);
        }
    FModal = true;
    FModalResult = mrNone;
    // Afterwards the window that was active before is again, with the focus where it was.
    struct TRestore
    {
        TForm& Form;
        std::vector<HWND>& Disabled;
        HWND ActiveBefore;
        ~TRestore()
        {
            Form.FModal = false;
            for (HWND H : Disabled)
                if (WM().IsWindow(H))
                    WM().EnableWindow(H, true);
            if (!Form.IsDestroying())
                Form.Hide();
            if (ActiveBefore && ActiveBefore != Form.GetHandleIfAllocated() &&
                WM().IsWindow(ActiveBefore) && WM().IsWindowVisible(ActiveBefore))
                WM().SetActiveWindow(ActiveBefore);
        }
    } Restore{*this, Disabled, ActiveBefore};
    Show();
    while (FModalResult == mrNone) {
        if (!Application().HandleMessage()) {
            FModalResult = mrCancel; // the application is ending: let its loop see the quit
            break;
        }
    }
    return FModalResult;
}

namespace {
// Offers Key to Control and everything inside it until one answers.
bool BroadcastDialogKey(TWinControl& Control, unsigned Key)
{
    for (int I = 0; I < Control.GetControlCount(); ++I) {
        auto* W = dynamic_cast<TWinControl*>(Control.GetControl(I));
        if (!W || !W->GetVisible() || !W->GetEnabled())
            continue;
        if (W->Perform(CM_DIALOGKEY, Key, 0) != 0 || BroadcastDialogKey(*W, Key))
            return true;
    }
    return false;
}
} // namespace

bool TForm::DialogKey(TWinControl* From, unsigned Key, TShiftState Shift)
{
    switch (Key) {
    case VK_TAB:
        if (Shift & ssCtrl)
            return false;
        SelectNext(From, !(Shift & ssShift));
        return true;
    case VK_RIGHT:
    case VK_DOWN:
    case VK_LEFT:
    case VK_UP:
        return From != this && SelectNext(From, Key == VK_RIGHT || Key == VK_DOWN);
    case VK_RETURN:
    case VK_ESCAPE:
        return BroadcastDialogKey(*this, Key);
    default:
        return false;
    }
}

void TForm::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_MOVE:
    case WM_SIZE:
        UpdateBoundsFromWindow();
        break;
    case WM_CLOSE:
        Close();
        Message.Result = 0;
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}
