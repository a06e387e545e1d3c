#include "programs/hexedit/HexEditClasses.h"

#include "framework/graphics/ImageList.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/windows/Application.h"
#include "framework/windows/Screen.h"
#include "framework/windows/Timer.h"
#include "hexedit/Hexcontrol.h"
#include "programs/hexedit/Fchangelog.h"
#include "programs/hexedit/Ffind.h"
#include "programs/hexedit/Fgoto.h"

#include <algorithm>

void RegisterHexEditClasses()
{
    static const bool Once = [] {
        RegisterGraphicsClasses();
        RegisterStandardControls();
        RegisterMenuClasses();
        HexEditor::Register();
        RegisterClass<TTimer>();
        RegisterClass<TFormFind>();
        RegisterClass<TFormGoto>();
        RegisterClass<TFormChangeLog>();
        return true;
    }();
    (void)Once;
}

void PlaceOverMainForm(TForm& Dialog)
{
    // The outer size includes the frame, which exists only with the window.
    Dialog.HandleNeeded();
    const int W = Dialog.GetWidth(), H = Dialog.GetHeight();
    TRect Over{0, 0, Screen().GetWidth(), Screen().GetHeight()};
    if (const TForm* Main = Application().GetMainForm();
        Main && Main != &Dialog && Main->GetVisible())
        Over = Main->GetBoundsRect();
    const int Left = Over.Left + (Over.Width() - W) / 2;
    const int Top = Over.Top + (Over.Height() - H) / 2;
    Dialog.SetBounds(std::max(0, std::min(Left, Screen().GetWidth() - W)),
                     std::max(0, std::min(Top, Screen().GetHeight() - H)), W, H);
}
