#pragma once

#include "framework/dialogs/OpenDialog.h"

// The Save As dialog: as TOpenDialog, but the file need not exist, and replacing one that does
// is asked first.
class TSaveDialog : public TOpenDialog
{
    PUBLISHED_CLASS(TSaveDialog, TOpenDialog)

    explicit TSaveDialog(TComponent* AOwner);
    ~TSaveDialog() override;

    static void DeclareClass(TClassDeclaration<TSaveDialog>& /*D*/) {}
};
