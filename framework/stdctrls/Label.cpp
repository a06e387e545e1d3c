#include "framework/stdctrls/Label.h"

#include "framework/graphics/DisabledText.h"
#include "framework/windows/WinControl.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csOpaque);
    SetBounds(0, 0, 65, 17);
}

TLabel::~TLabel() = default;

void TLabel::DeclareClass(TClassDeclaration<TLabel>& D)
{
    D.Boolean("AutoSize", &TLabel::GetAutoSize, &TLabel::SetAutoSize).Default(1);
    D.Enumeration<TAlignment>("Alignment", &TLabel::GetAlignment, &TLabel::SetAlignment,
                              {"taLeftJustify", "taRightJustify", "taCenter"});
    D.Boolean("Transparent", &TLabel::GetTransparent, &TLabel::SetTransparent);
    // The colour is the parent's while ParentColor holds: only an own colour is written.
    D.Color("Color", &TLabel::GetColor, &TLabel::SetColor)
        .Default(clWindow)
        .Stored([](const TPersistent& P) { return !static_cast<const TLabel&>(P).FParentColor; });
    D.Boolean("ParentColor", &TLabel::GetParentColor, &TLabel::SetParentColor).Default(1);
}

void TLabel::SetAutoSize(bool Value)
{
    if (FAutoSize == Value)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value)
{
    if (FAlignment == Value)
        return;
    FAlignment = Value;
    Invalidate();
}

void TLabel::SetTransparent(bool Value)
{
    if (FTransparent == Value)
        return;
    // A transparent label leaves the parent's pixels under its text: its area must be erased.
    Invalidate();
    FTransparent = Value;
    if (Value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TLabel::SetParentColor(bool Value)
{
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    Invalidate();
}

void TLabel::SetColor(TColor Value)
{
    FParentColor = false;
    TGraphicControl::SetColor(Value);
    Invalidate();
}

TColor TLabel::FillColor() const
{
    if (FParentColor && GetParent())
        return GetParent()->GetColor();
    return GetColor();
}

void TLabel::SetCaption(const std::string& Value)
{
    TGraphicControl::SetCaption(Value);
    AdjustBounds();
}

void TLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::AdjustBounds()
{
    if (!FAutoSize || IsLoading())
        return;
    TCanvas& Canvas = GetCanvas();
    Canvas.SetFont(GetFont());
    // An empty label keeps the height of a line, so that it can still be found and clicked.
    const TSize Extent = Canvas.TextExtent(GetCaption().empty() ? " " : GetCaption());
    int Left = GetLeft();
    if (FAlignment == taRightJustify)
        Left += GetWidth() - Extent.Width;
    SetBounds(Left, GetTop(), Extent.Width, Extent.Height);
}

void TLabel::Paint()
{
    TCanvas& Canvas = GetCanvas();
    const TRect Client = GetClientRect();
    TBrush& Brush = Canvas.GetBrush();
    if (!FTransparent) {
        Brush.SetStyle(TBrushStyle::bsSolid);
        Brush.SetColor(FillColor());
        Canvas.FillRect(Client);
    }
    const std::string& Text = GetCaption();
    if (Text.empty())
        return;
    Canvas.SetFont(GetFont());
    Brush.SetStyle(TBrushStyle::bsClear);
    const int TextWidth = Canvas.TextExtent(Text).Width;
    int X = 0;
    if (FAlignment == taCenter)
        X = (Client.Width() - TextWidth) / 2;
    else if (FAlignment == taRightJustify)
        X = Client.Width() - TextWidth;
    if (GetEnabled())
        Canvas.TextRect(Client, X, 0, Text);
    else
        PaintDisabledText(Canvas, Client, X, 0, Text, clBtnShadow);
}
