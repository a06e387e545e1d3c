#include "framework/dialogs/SaveDialog.h"

TSaveDialog::TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner, true) {}

TSaveDialog::~TSaveDialog() = default;
