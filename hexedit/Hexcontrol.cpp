#include "hexedit/Hexcontrol.h"

#include "framework/objects/ClassRegistry.h"
#include "framework/stdctrls/ScrollBar.h"
#include "hexedit/Strutil.h"

#include <algorithm>

THexEditor::THexEditor(TComponent* AOwner) : TCustomControl(AOwner)
{
    // The event fields start empty and the property values come from the member initialisers,
    // in the order the fields are declared; what follows has an order that matters.
    SetTabStop(true);
    FChangeLog = std::make_unique<TChangeLog>();
    for (int I = 0; I < DemoSize; ++I)
        FDemo[std::size_t(I)] = std::uint8_t(I % 256);
    ShowData(FDemo.data(), DemoSize);
    SetSize(DemoSize);
    SetDirty(0);
}

THexEditor::~THexEditor()
{
    UnlinkScrollBar();
}

void THexEditor::DeclareClass(TClassDeclaration<THexEditor>& D)
{
    // Font, DoubleBuffered, Anchors, Color and OnMouseMove come from the bases. The own int and
    // colour properties keep the stored default 0, so a stored 0 reads back as the construction
    // value.
    D.Integer("DoRed", &THexEditor::GetDoRed, &THexEditor::SetDoRed);
    D.Integer("DoGreen", &THexEditor::GetDoGreen, &THexEditor::SetDoGreen);
    D.Integer("DoBlue", &THexEditor::GetDoBlue, &THexEditor::SetDoBlue);
    D.Integer("BarWidth", &THexEditor::GetBarWidth, &THexEditor::SetBarWidth);
    D.Integer("BytesPerLine", &THexEditor::GetBytesPerLine, &THexEditor::SetBytesPerLine);
    D.Integer("BytesPerGroup", &THexEditor::GetBytesPerGroup, &THexEditor::SetBytesPerGroup);
    D.Integer("ByteDigits", &THexEditor::GetByteDigits, &THexEditor::SetByteDigits);
    D.Integer("BaseBytes", &THexEditor::GetBaseBytes, &THexEditor::SetBaseBytes);
    D.Integer("BaseOffset", &THexEditor::GetBaseOffset, &THexEditor::SetBaseOffset);
    D.Boolean("ReadOnly", &THexEditor::GetReadOnly, &THexEditor::SetReadOnly);
    D.Component<TScrollBar>("ScrollBar", &THexEditor::GetScrollBar, &THexEditor::SetScrollBar);
    D.Integer("CursorPanel", &THexEditor::GetCursorPanel, &THexEditor::SetCursorPanel);
    D.Integer("CursorOffset", &THexEditor::GetCursorOffset, &THexEditor::SetCursorOffset);
    D.Integer("CursorStyle", &THexEditor::GetCursorStyle, &THexEditor::SetCursorStyle);
    D.Color("ColorByte", &THexEditor::GetColorByte, &THexEditor::SetColorByte);
    D.Color("ColorCursor", &THexEditor::GetColorCursor, &THexEditor::SetColorCursor);
    D.Color("ColorChange", &THexEditor::GetColorChange, &THexEditor::SetColorChange);
    D.Color("ColorAscii", &THexEditor::GetColorAscii, &THexEditor::SetColorAscii);
    D.Integer("PolkaDots", &THexEditor::GetPolkaDots, &THexEditor::SetPolkaDots);
    D.Event("OnCursorChange", &THexEditor::OnCursorChange);
    D.Event("OnSizeChange", &THexEditor::OnSizeChange);
    D.Event("OnDirtyChange", &THexEditor::OnDirtyChange);
    D.Event("OnFileNameChange", &THexEditor::OnFileNameChange);
    D.Event("OnCursorByteChange", &THexEditor::OnCursorByteChange);
    D.Event("OnRowWidthChange", &THexEditor::OnRowWidthChange);
    D.Event("OnChangeLogUpdate", &THexEditor::OnChangeLogUpdate);
}

void HexEditor::Register()
{
    RegisterComponents<THexEditor>("Additional");
}

// ---- Properties -----------------------------------------------------------------------------

// ---- Data life cycle ------------------------------------------------------------------------

std::uint8_t* THexEditor::AllocateLoaded(int Size)
{
    FLoaded = AllocateByteBlock(std::size_t(std::max(Size, 0)));
    return FLoaded.GetData();
}

void THexEditor::ReleaseLoaded()
{
    FLoaded.Reset();
}

void THexEditor::ShowData(std::uint8_t* Data, int Capacity)
{
    FData = Data;
    FDataCapacity = Capacity;
    FDataLength = std::min(FSize, FDataCapacity);
}

void THexEditor::FreeData()
{
    // The null buffer goes on show before the loaded one goes, so the data never dangles.
    ShowData(FNull.data(), DemoSize);
    ReleaseLoaded();
    SetSize(DemoSize);
}

void THexEditor::AllocData(int Size)
{
    const int Length = std::max(Size, 0);
    ShowData(FNull.data(), DemoSize);
    if (std::uint8_t* Data = AllocateLoaded(Length)) {
        ShowData(Data, Length);
        SetSize(Size);
    } else {
        // No memory for it: the null buffer stays on show.
        SetSize(DemoSize);
    }
}

void THexEditor::DataChange()
{
    FChangeLog->Clear();
    ChangeLogUpdate();
    Repaint();
}

void THexEditor::SetNull()
{
    ShowData(FNull.data(), DemoSize);
    SetSize(DemoSize);
    FNull.fill(0);
    SetDirty(0);
    ChangeFileName("(null)");
    DataChange();
}

void THexEditor::SetNotLoaded()
{
    SetNull();
    SetMessage(NotLoadedMessage);
}

void THexEditor::SetMessage(const char* Text)
{
    FMessage = Text ? FitUtf8(Text, MessageRoom) : std::string();
    Repaint();
}

void THexEditor::ResetOffset()
{
    FTopOffset = 0;
    if (FScrollBar)
        FScrollBar->SetPosition(0);
    Repaint();
}

void THexEditor::ChangeFileName(const std::string& Name)
{
    FFileName = FitUtf8(Name, FileNameRoom);
    OnFileNameChange(this, FFileName);
    Repaint();
}

void THexEditor::SetSize(int Size)
{
    FSize = Size;
    // A size beyond the buffer (a caller may set any) must not reach past its end.
    FDataLength = std::clamp(Size, 0, FDataCapacity);
    OnSizeChange(this, Size);
    if (FScrollBar)
        FScrollBar->SetMax(Size / std::max(FBytesPerLine, 1) - 1);
    Repaint();
}

void THexEditor::SetDirty(int Dirty)
{
    FDirty = Dirty;
    OnDirtyChange(this, Dirty != 0);
}
