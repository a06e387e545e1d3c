#pragma once

#include "platform/Platform.h"

// The common Open and Save As dialogs (GetOpenFileNameW, GetSaveFileNameW), owned by the window
// Owner (an HWND, or null). Paths cross as UTF-8 and reach the system as UTF-16.
TFileDialogResult RunWin32FileDialog(const TFileDialogParams& Params, void* Owner);
