#include "framework/stdctrls/CustomPanel.h"

#include "framework/graphics/Frame3D.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/CheckBox.h"
#include "framework/stdctrls/Edit.h"
#include "framework/stdctrls/Label.h"
#include "framework/stdctrls/ListView.h"
#include "framework/stdctrls/MessageForm.h"
#include "framework/stdctrls/RadioGroup.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/windows/Application.h"

namespace {
const std::vector<std::string> BevelNames{"bvNone", "bvLowered", "bvRaised", "bvSpace"};

void PaintBevel(TCanvas& Canvas, TRect& Rect, TBevelCut Cut, int Width, TColor Face)
{
    switch (Cut) {
    case bvNone:
        return;
    case bvLowered:
        Frame3D(Canvas, Rect, clBtnShadow, clBtnHighlight, Width);
        return;
    case bvRaised:
        Frame3D(Canvas, Rect, clBtnHighlight, clBtnShadow, Width);
        return;
    case bvSpace:
        Frame3D(Canvas, Rect, Face, Face, Width);
        return;
    }
}
} // namespace

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csOpaque);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

TCustomPanel::~TCustomPanel() = default;

void TCustomPanel::DeclareClass(TClassDeclaration<TCustomPanel>& D)
{
    D.Color("Color", &TCustomPanel::GetColor, &TCustomPanel::SetColor).Default(clBtnFace);
    D.Enumeration<TAlignment>("Alignment", &TCustomPanel::GetAlignment, &TCustomPanel::SetAlignment,
                              {"taLeftJustify", "taRightJustify", "taCenter"})
        .Default(taCenter);
    D.Enumeration<TBevelCut>("BevelInner", &TCustomPanel::GetBevelInner,
                             &TCustomPanel::SetBevelInner, BevelNames);
    D.Enumeration<TBevelCut>("BevelOuter", &TCustomPanel::GetBevelOuter,
                             &TCustomPanel::SetBevelOuter, BevelNames)
        .Default(bvRaised);
    D.Integer("BevelWidth", &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
    D.Integer("BorderWidth", &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth);
}

void TCustomPanel::SetAlignment(TAlignment Value)
{
    if (FAlignment != Value) {
        FAlignment = Value;
        Invalidate();
    }
}

void TCustomPanel::SetBevelInner(TBevelCut Value)
{
    if (FBevelInner != Value) {
        FBevelInner = Value;
        Invalidate();
    }
}

void TCustomPanel::SetBevelOuter(TBevelCut Value)
{
    if (FBevelOuter != Value) {
        FBevelOuter = Value;
        Invalidate();
    }
}

void TCustomPanel::SetBevelWidth(int Value)
{
    if (Value < 1)
        Value = 1;
    if (FBevelWidth != Value) {
        FBevelWidth = Value;
        Invalidate();
    }
}

void TCustomPanel::SetBorderWidth(int Value)
{
    if (Value < 0)
        Value = 0;
    if (FBorderWidth != Value) {
        FBorderWidth = Value;
        Invalidate();
    }
}

void TCustomPanel::Paint()
{
    TCanvas& Canvas = GetCanvas();
    TRect Rect = GetClientRect();
    PaintBevel(Canvas, Rect, FBevelOuter, FBevelWidth, GetColor());
    Frame3D(Canvas, Rect, GetColor(), GetColor(), FBorderWidth);
    PaintBevel(Canvas, Rect, FBevelInner, FBevelWidth, GetColor());
    Canvas.GetBrush().SetStyle(TBrushStyle::bsSolid);
    Canvas.GetBrush().SetColor(GetColor());
    Canvas.FillRect(Rect);
    if (GetCaption().empty() || Rect.IsEmpty())
        return;
    Canvas.SetFont(GetFont());
    Canvas.GetBrush().SetStyle(TBrushStyle::bsClear);
    const TSize Extent = Canvas.TextExtent(GetCaption());
    int X = Rect.Left;
    if (FAlignment == taCenter)
        X = (Rect.Left + Rect.Right - Extent.Width) / 2;
    else if (FAlignment == taRightJustify)
        X = Rect.Right - Extent.Width;
    const int Y = (Rect.Top + Rect.Bottom - Extent.Height) / 2;
    Canvas.TextRect(Rect, X, Y, GetCaption());
}

void RegisterStandardControls()
{
    RegisterClass<TPanel>();
    RegisterClass<TButton>();
    RegisterClass<TCheckBox>();
    RegisterClass<TRadioGroup>();
    RegisterClass<TLabel>();
    RegisterClass<TScrollBar>();
    RegisterClass<TListView>();
    RegisterClass<TEdit>();
    TApplication::SetMessageBoxFunction(&TMessageForm::Execute);
}
