#pragma once

#include "framework/stdctrls/CustomPanel.h"
#include "framework/windows/GraphicControl.h"

// A caption on one line, drawn on its parent's surface. With AutoSize (the default) it takes the
// size of its text in its font whenever the caption or the font change; Alignment places the text
// within its width. It fills its rectangle with its colour, which is its parent's until Color is
// set (ParentColor), unless it is Transparent. Disabled, the text is embossed in grey.
class TLabel : public TGraphicControl
{
    PUBLISHED_CLASS(TLabel, TGraphicControl)

    explicit TLabel(TComponent* AOwner);
    ~TLabel() override;

    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool GetParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    // Setting the colour ends ParentColor.
    void SetColor(TColor Value) override;
    void SetCaption(const std::string& Value) override;

    static void DeclareClass(TClassDeclaration<TLabel>& D);

protected:
    void Paint() override;
    void FontChanged() override;
    void EnabledChanged() override { Invalidate(); }
    void Loaded() override;

private:
    // Fits the bounds to the caption when AutoSize is on (a right-justified label keeps its
    // right edge).
    void AdjustBounds();
    // The colour the label fills itself with.
    TColor FillColor() const;

    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    bool FTransparent = false;
    bool FParentColor = true;
};
