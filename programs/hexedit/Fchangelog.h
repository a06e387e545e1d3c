#pragma once

#include "framework/windows/Form.h"
#include "hexedit/Hexcontrol.h"

class TLabel;
class TListView;
class TPanel;

// The change log window: a sizeable tool window listing an editor's changes over its redo
// entries, each as offset, type, old and new value, the two lists sharing the height. Closing it
// hides it. A double click on a row reports the row's offset through OnGotoOffset.
class TFormChangeLog : public TForm
{
    PUBLISHED_CLASS(TFormChangeLog, TForm)

    explicit TFormChangeLog(TComponent* AOwner);

    // Fills both lists from Editor's logs.
    void Refresh(const THexEditor& Editor);

    TPanel* PanelChanges = nullptr;
    TLabel* LabelChanges = nullptr;
    TListView* ListChanges = nullptr;
    TPanel* PanelRedo = nullptr;
    TLabel* LabelRedo = nullptr;
    TListView* ListRedo = nullptr;

    THexOffsetEvent OnGotoOffset;

    // A double click on a row asks to go to the row's offset.
    void ListMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    static void DeclareClass(TClassDeclaration<TFormChangeLog>& D);

protected:
    void AlignControls() override;
};
