#include "programs/hexedit/HexEditClasses.h"

#include "framework/graphics/ImageList.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/windows/Timer.h"
#include "hexedit/Hexcontrol.h"
#include "programs/hexedit/Fchangelog.h"
#include "programs/hexedit/Ffind.h"
#include "programs/hexedit/Fgoto.h"

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
