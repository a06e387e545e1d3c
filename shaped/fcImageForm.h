#pragma once

#include "base/Set.h"
#include "framework/graphics/Region.h"
#include "shaped/fcImage.h"
#include "shaped/fcmsg.h"

#include <optional>

class TFiler;
class TForm;
class TStream;

enum TfcImageFormOption
{
    ifUseWindowsDrag // drag the window itself when the desktop drags windows with their contents
};
using TfcImageFormOptions = TSet<TfcImageFormOption>;

// The picture of a borderless form, cutting the form's window to the picture's pixels that
// differ from TransparentColor, and the handle by which the user drags the form. It always sits
// directly on its form and fills the client area; the outline (in picture pixels, applied to the
// window unchanged) is computed by ApplyPictureRegion, kept as the control's own copy and stored
// with the form as the binary property RegionData. A hook on the form's window procedure sees
// each left press on the picture after the form has handled it and runs a drag loop that moves
// the form when the button comes up: by a 3-pixel XOR outline that follows the pointer, or live
// with ifUseWindowsDrag when the desktop drags windows with their contents. When the form makes
// its window anew (another form style), the hook and the cleared WS_CLIPCHILDREN follow to the
// new window, which has no outline until the owner calls ApplyPictureRegion again. In design
// mode no outline reaches the window, no hook is installed and the control shows a dashed frame.
class TfcCustomImageForm : public TfcCustomImage
{
    PUBLISHED_CLASS(TfcCustomImageForm, TfcCustomImage)

    // The transparent colour that stands for the colour of the picture's bottom-left pixel.
    static constexpr TColor AutomaticColor = 0x1FFFFFFFu;

    explicit TfcCustomImageForm(TComponent* AOwner);
    ~TfcCustomImageForm() override;

    // Pixels the pointer must move on either axis before a drag begins.
    int GetDragTolerance() const { return FDragTolerance; }
    void SetDragTolerance(int Value) { FDragTolerance = Value; }
    // Read by ApplyPictureRegion; setting it changes no outline by itself.
    TColor GetTransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor Value) { FTransparentColor = Value; }
    // When set, only presses inside this control's rectangle may drag, and only on it or on a
    // control without OnClick and OnMouseDown handlers.
    TControl* GetCaptionBarControl() const { return FCaptionBarControl; }
    void SetCaptionBarControl(TControl* Value);
    TfcImageFormOptions GetOptions() const { return FOptions; }
    void SetOptions(TfcImageFormOptions Value) { FOptions = Value; }

    // The control's copy of the outline last computed or read; none for no outline.
    const std::optional<TRegion>& GetRegion() const { return FRegion; }
    TfcCaptureMessageClass* GetHook() const { return FHook; }
    // A drag has passed the tolerance and not ended.
    bool GetDragging() const { return FDragging; }
    // Screen rectangle of the drag outline last drawn.
    const TRect& GetLastOutline() const { return FLastOutline; }

    // Copies Value into the picture, gives the form the picture's client width and then its
    // client height (only for a picture of some size) and repaints. The outline stays as it is.
    void SetPicture(const TPicture* Value) override;
    // Removes the outline from the form's window and from the control (without redrawing).
    void ClearRegion();
    // TransparentColor, or for AutomaticColor the colour of the picture's bottom-left pixel.
    TColor ResolveTransparentColor() const;
    // The two halves of RegionData: a 4-byte count N, then N bytes of region data block.
    // Reading a count larger than the stream holds, or a block that is not one, leaves the
    // window without an outline and reports nothing; a count of 0 computes the outline.
    void ReadRegionData(TStream& Stream);
    // Writes the outline recomputed from the current picture.
    void WriteRegionData(TStream& Stream);

    // Always parents the control on the form that contains AParent, clears WS_CLIPCHILDREN of
    // the form's window, makes the form borderless and installs the hook (once, not in design).
    void SetParent(TWinControl* AParent) override;
    // With AutoSize, the form's client area follows: width first, then height.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The drag (all on the thread of the form's window). X and Y are the press point in the
    // form's client coordinates; Pointer is on the screen.
    virtual void DrawDragOutline(const TRect& Rect);
    virtual void DragMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Every message of the form's window, after the form handled it.
    virtual void AfterFormMessage(TMessage& Message);
    // Returns when the button comes up, the capture is lost, the quit message arrives (it is
    // posted again) or waiting fails; in the last three cases an outline on the screen is
    // erased, the drag state cleared and the form not moved.
    virtual void DragLoop(int X, int Y);
    virtual void DragMouseMove(int X, int Y, TPoint Pointer, bool& FirstMove, TRect& DragRect,
                               const TRect& FormBounds);
    virtual void DragMouseUp(int X, int Y, TPoint Pointer, const TRect& FormBounds,
                             const TRect& DragRect);
    virtual bool UseFullWindowDrag();
    // Recomputes the outline from the picture and gives it to the form's window (none: the
    // window becomes rectangular).
    virtual void ApplyPictureRegion();

protected:
    // The form made its window, the first time or anew (another form style, RecreateWnd): the
    // hook moves to it and its WS_CLIPCHILDREN is cleared (not in design mode).
    void ParentWindowCreated(HWND Window) override;
    void DefineProperties(TFiler& Filer) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;

private:
    TForm* GetOwningForm() const;
    // The window of the form the control sits on, or 0.
    HWND GetFormWindow() const;
    void SetFormRegion(const std::optional<TRegion>& Region, bool Redraw);
    static void ClearClipChildren(HWND Window);

    int FDragTolerance = 5;
    TColor FTransparentColor = AutomaticColor;
    std::optional<TRegion> FRegion;
    TControl* FCaptionBarControl = nullptr;
    TfcCaptureMessageClass* FHook = nullptr;
    TfcImageFormOptions FOptions;
    TRect FLastOutline;
    bool FDragging = false;
};

// The shaped image window as form descriptions and the palette know it.
class TfcImageForm : public TfcCustomImageForm
{
    PUBLISHED_CLASS(TfcImageForm, TfcCustomImageForm)

    using TfcCustomImageForm::TfcCustomImageForm;

    static void DeclareClass(TClassDeclaration<TfcImageForm>& D);
};

namespace fcImageForm {
// Puts TfcImageForm on the component palette page "Additional" (and so in the class registry).
void Register();
} // namespace fcImageForm
