#pragma once

#include "framework/windows/CustomControl.h"

enum TAlignment
{
    taLeftJustify,
    taRightJustify,
    taCenter
};

enum TBevelCut
{
    bvNone,
    bvLowered,
    bvRaised,
    bvSpace
};

// A container in the classic look: 185 x 41, clBtnFace, opaque, holding child controls; an outer
// and an inner bevel with a border between them, the caption on one line, centred vertically.
class TCustomPanel : public TCustomControl
{
    PUBLISHED_CLASS(TCustomPanel, TCustomControl)

    explicit TCustomPanel(TComponent* AOwner);
    ~TCustomPanel() override;

    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBevelCut GetBevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut GetBevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    int GetBevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);

    static void DeclareClass(TClassDeclaration<TCustomPanel>& D);

protected:
    void Paint() override;

private:
    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
};

// The panel that form descriptions place.
class TPanel : public TCustomPanel
{
    PUBLISHED_CLASS(TPanel, TCustomPanel)

    explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}

    static void DeclareClass(TClassDeclaration<TPanel>& /*D*/) {}
};

// Puts the framework's standard controls (panel, button, check box, radio group, label, scroll
// bar, list view) into the class registry and makes the message form the application's message
// box.
void RegisterStandardControls();
