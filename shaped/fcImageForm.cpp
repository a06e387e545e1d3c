#include "shaped/fcImageForm.h"

#include "framework/graphics/RegionData.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/Filer.h"
#include "framework/objects/Stream.h"
#include "framework/windows/Form.h"
#include "shaped/RegionFromBitmap.h"

#include <memory>
#include <vector>

namespace {
TWindowManager& WM()
{
    return TWindowManager::Get();
}
} // namespace

TfcCustomImageForm::TfcCustomImageForm(TComponent* AOwner) : TfcCustomImage(AOwner)
{
    FDragTolerance = 5;
    FRegion.reset();
    SetAlign(alClient);
    FTransparentColor = AutomaticColor;
    FHook = nullptr;
    FOptions = {};
}

TfcCustomImageForm::~TfcCustomImageForm()
{
    FRegion.reset();
    if (TfcCaptureMessageClass* Hook = FHook) {
        FHook = nullptr;
        delete Hook; // puts the form's window procedure back
    }
}

// ---- The form -------------------------------------------------------------------------------

TForm* TfcCustomImageForm::GetOwningForm() const
{
    if (auto* Form = dynamic_cast<TForm*>(GetParentForm()))
        return Form;
    return dynamic_cast<TForm*>(GetOwner());
}

HWND TfcCustomImageForm::GetFormWindow() const
{
    return GetParent() ? GetParent()->GetHandle() : 0;
}

void TfcCustomImageForm::SetFormRegion(const std::optional<TRegion>& Region, bool Redraw)
{
    if (TForm* Form = GetOwningForm())
        WM().SetWindowRgn(Form->GetHandle(), Region, Redraw);
}

void TfcCustomImageForm::ClearClipChildren(HWND Window)
{
    WM().SetWindowLong(Window, GWL_STYLE, WM().GetWindowLong(Window, GWL_STYLE) & ~WS_CLIPCHILDREN);
}

void TfcCustomImageForm::SetParent(TWinControl* AParent)
{
    TWinControl* NewParent = AParent;
    if (NewParent && !NewParent->IsTopLevelControl())
        NewParent = NewParent->GetParentForm();
    TfcCustomImage::SetParent(NewParent);
    HWND Window = 0;
    if (TWinControl* Parent = GetParent()) {
        // The form's painting, and the picture with it, then reaches under its child windows.
        Window = Parent->GetHandle();
        ClearClipChildren(Window);
    }
    if (!NewParent)
        return;
    if (auto* Form = dynamic_cast<TForm*>(NewParent)) {
        Form->SetBorderStyle(bsNone);
        // A form that had a border made its window anew, with the style bit set again.
        if (Form->GetHandle() != Window)
            ClearClipChildren(Form->GetHandle());
    }
    if (!FHook && !IsDesigning()) {
        // Ours alone: owned by the form, it would be written into the form's description as an
        // unnamed object that no reader could place.
        auto Hook = std::make_unique<TfcCaptureMessageClass>(this);
        Hook->SetWindowHandle(NewParent->GetHandle());
        Hook->SetHooked(true);
        Hook->OnAfterMessage = [this](TObject*, TMessage& Message) { AfterFormMessage(Message); };
        FHook = Hook.release();
    }
}

void TfcCustomImageForm::ParentWindowCreated(HWND Window)
{
    TfcCustomImage::ParentWindowCreated(Window);
    if (IsDesigning())
        return;
    ClearClipChildren(Window);
    if (FHook && FHook->GetWindowHandle() != Window) {
        // Letting go of the old window (gone by now) left the hook unhooked.
        FHook->SetWindowHandle(Window);
        FHook->SetHooked(true);
    }
}

void TfcCustomImageForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TfcCustomImage::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (GetAutoSize())
        if (TForm* Form = GetOwningForm()) {
            Form->SetClientWidth(AWidth);
            Form->SetClientHeight(AHeight);
        }
}

void TfcCustomImageForm::SetPicture(const TPicture* Value)
{
    GetPicture().Assign(Value);
    if (Value && Value->GetWidth() > 0 && Value->GetHeight() > 0)
        if (TForm* Form = GetOwningForm()) {
            Form->SetClientWidth(Value->GetWidth());
            Form->SetClientHeight(Value->GetHeight());
        }
    Invalidate();
}

void TfcCustomImageForm::SetCaptionBarControl(TControl* Value)
{
    if (Value == FCaptionBarControl)
        return;
    if (FCaptionBarControl)
        FCaptionBarControl->RemoveFreeNotification(this);
    FCaptionBarControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TfcCustomImageForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TfcCustomImage::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FCaptionBarControl)
        FCaptionBarControl = nullptr;
    if (AComponent == FHook)
        FHook = nullptr;
}

void TfcCustomImageForm::WndProc(TMessage& Message)
{
    TfcCustomImage::WndProc(Message);
}

// ---- The outline ----------------------------------------------------------------------------

TColor TfcCustomImageForm::ResolveTransparentColor() const
{
    if (FTransparentColor != AutomaticColor)
        return FTransparentColor;
    const TBitmap* Graphic = GetPicture().GetGraphic();
    return Graphic ? Graphic->GetPixel(0, Graphic->GetHeight() - 1) : clBlack;
}

void TfcCustomImageForm::ApplyPictureRegion()
{
    SetFormRegion(std::nullopt, false);
    FRegion.reset();
    FRegion = CreateRegionFromBitmap(GetPicture().GetGraphic(), ResolveTransparentColor());
    if (!IsDesigning())
        SetFormRegion(FRegion, true);
}

void TfcCustomImageForm::ClearRegion()
{
    if (!FRegion)
        return;
    if (TForm* Form = GetOwningForm(); Form && Form->HandleAllocated())
        WM().SetWindowRgn(Form->GetHandleIfAllocated(), std::nullopt, false);
    FRegion.reset();
}

void TfcCustomImageForm::ReadRegionData(TStream& Stream)
{
    const auto Reject = [&] {
        // What is left of the property is not an outline: skip it, and keep none.
        Stream.Seek(0, TSeekOrigin::soEnd);
        FRegion.reset();
        if (!IsDesigning() && GetParent())
            WM().SetWindowRgn(GetParent()->GetHandle(), std::nullopt, true);
    };
    if (Stream.GetRemaining() < 4) {
        Reject();
        return;
    }
    const std::uint32_t Count = Stream.ReadUInt32();
    if (Count == 0) {
        FRegion.reset();
        ApplyPictureRegion();
        return;
    }
    // The count is checked against what the stream holds before anything is allocated.
    if (Count > Stream.GetRemaining()) {
        Reject();
        return;
    }
    std::vector<std::uint8_t> Buffer(Count);
    Stream.ReadBuffer(Buffer.data(), Buffer.size());
    try {
        FRegion = TRegionData::Decode(Buffer);
    } catch (const EInvalidRegionData&) {
        Reject();
        return;
    }
    if (!IsDesigning() && GetParent())
        WM().SetWindowRgn(GetParent()->GetHandle(), FRegion, true);
}

void TfcCustomImageForm::WriteRegionData(TStream& Stream)
{
    ApplyPictureRegion();
    if (!FRegion) {
        Stream.WriteUInt32(0);
        return;
    }
    const std::vector<std::uint8_t> Block = TRegionData::Encode(*FRegion);
    Stream.WriteUInt32(std::uint32_t(Block.size()));
    Stream.WriteBuffer(Block.data(), Block.size());
}

void TfcCustomImageForm::DefineProperties(TFiler& Filer)
{
    TfcCustomImage::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "RegionData", [this](TStream& Stream) { ReadRegionData(Stream); },
        [this](TStream& Stream) { WriteRegionData(Stream); }, true);
}

// ---- TfcImageForm ---------------------------------------------------------------------------

void TfcImageForm::DeclareClass(TClassDeclaration<TfcImageForm>& D)
{
    D.Set<TfcImageFormOptions>("Options", &TfcImageForm::GetOptions, &TfcImageForm::SetOptions,
                               {"ifUseWindowsDrag"});
    D.Boolean("AutoSize", &TfcImageForm::GetAutoSize, &TfcImageForm::SetAutoSize);
    D.Persistent("Picture", [](TfcImageForm& C) -> TPicture& { return C.GetPicture(); });
    D.Component<TControl>("CaptionBarControl", &TfcImageForm::GetCaptionBarControl,
                          &TfcImageForm::SetCaptionBarControl);
    D.Integer("DragTolerance", &TfcImageForm::GetDragTolerance, &TfcImageForm::SetDragTolerance)
        .AlwaysStored();
    D.Color("TransparentColor", &TfcImageForm::GetTransparentColor,
            &TfcImageForm::SetTransparentColor)
        .Default(AutomaticColor);
}

void fcImageForm::Register()
{
    RegisterComponents<TfcImageForm>("Additional");
}
