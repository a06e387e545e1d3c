#pragma once

#include "framework/windows/FormMenu.h"
#include "framework/windows/WinControl.h"

enum TFormBorderStyle
{
    bsNone,
    bsSingle,
    bsSizeable,
    bsDialog,
    bsToolWindow,
    bsSizeToolWin
};

enum TFormStyle
{
    fsNormal,
    fsMDIChild,
    fsMDIForm,
    fsStayOnTop
};

enum TPosition
{
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};

enum TWindowState
{
    wsNormal,
    wsMinimized,
    wsMaximized
};

enum TCloseAction
{
    caNone,
    caHide,
    caFree,
    caMinimize
};

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;

using TCloseEvent = TEvent<TObject* /*Sender*/, TCloseAction& /*Action*/>;

// A top-level window: border and form styles, caption, client size, showing normally or
// modally, closing. A form class reads its components from the form description named after
// the class with ReadDescription in its constructor; OnCreate runs after that. OnDestroy runs
// when the form is deleted (by its owner, after Release or caFree, or directly), before any
// destructor, so that a handler of a derived form finds its members intact.
class TForm : public TWinControl
{
    PUBLISHED_CLASS(TForm, TWinControl)

    explicit TForm(TComponent* AOwner);
    ~TForm() override;

    TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TFormStyle GetFormStyle() const { return FFormStyle; }
    // A different style makes the window anew, with WS_EX_TOPMOST for fsStayOnTop. The form's
    // graphic controls hear of it (ParentWindowCreated; a TfcImageForm hooks the new window). An
    // outline the old window had is gone: whoever gave it gives it again.
    void SetFormStyle(TFormStyle Value);
    TPosition GetPosition() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    // As the desktop shows the window now (normal without one).
    TWindowState GetWindowState() const;
    bool GetKeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }

    // The menu shown across the top of the client area (a TMainMenu), or null.
    TFormMenu* GetMenu() const { return FMenu; }
    void SetMenu(TFormMenu* Value);

    TRect GetClientRect() const override;
    void SetClientWidth(int Value) override;
    void SetClientHeight(int Value) override;
    TPoint ClientToScreen(TPoint P) const override;

    bool IsTopLevelControl() const override { return true; }
    void SetCaption(const std::string& Value) override;

    void Show();
    void Close();
    // Deletes the form once the current message is handled: safe inside its own handlers.
    void Release();
    TModalResult ShowModal();
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool IsModal() const { return FModal; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;

    static void DeclareClass(TClassDeclaration<TForm>& D);

protected:
    // Builds the form's components from the description resource named after its class
    // (EResNotFound when there is none). A subclass calls this in its constructor, takes its
    // components by name, then calls DoCreate.
    void ReadDescription();
    // Centres the form by its Position: on the screen, or over its owner or the main form (kept
    // on the screen); poDesigned and the default positions leave it where it is.
    void PlaceByPosition();
    // Runs OnCreate.
    void DoCreate();
    // Runs OnDestroy once.
    void DoDestroy();
    void BeforeDestruction() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void CreateHandleDone() override;
    // Gives the form the client size asked for before its frame was known.
    void ApplyPendingClientSize();
    bool ClientSizeProvisional() const override;
    void VisibleChanged() override;
    void Dispatch(TMessage& Message) override;
    virtual void DoClose(TCloseAction& Action);
    // Tab and the arrows move the focus; Enter and Escape go to the buttons (CM_DIALOGKEY).
    bool DialogKey(TWinControl* From, unsigned Key, TShiftState Shift) override;
    bool PreviewsKeys() const override { return FKeyPreview; }
    bool MenuKey(UINT Msg, unsigned Key, TShiftState Shift) override;
    void AdjustClientRect(TRect& Rect) const override;
    void AlignControls() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateBoundsFromWindow();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    bool FKeyPreview = false;
    TFormMenu* FMenu = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FDestroyCalled = false;
    int FPendingClientWidth = -1;
    int FPendingClientHeight = -1;
    bool FCreatingWindow = false;
};
