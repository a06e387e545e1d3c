#pragma once

#include "controls/RidivAzoza.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"
#include "framework/windows/Form.h"
#include "framework/windows/Timer.h"
#include "shaped/fcImageForm.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TPopupMenu;
class TMenuItem;

// The clock's main window: the face, the digit display, the two timers, the context menu, the
// drag by the digits, and the settings members.
class TForm1 : public TForm
{
    PUBLISHED_CLASS(TForm1, TForm)

    explicit TForm1(TComponent* AOwner);
    ~TForm1() override;

    // Components of the form description.
    TfcImageForm* fcImageForm1 = nullptr;
    TRidivAzoza* RidivAzoza1 = nullptr;
    TImageList* ImageListNixie = nullptr;
    TImageList* ImageListVfd = nullptr;
    TImageList* ImageListVfdG = nullptr;
    TImageList* ImageListVfdR = nullptr;
    TTimer* TimerClock = nullptr;
    TTimer* TimerStartup = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;

    // The drag by the digit display.
    std::int32_t Dragging = 0;
    std::int32_t DragX = 0;
    std::int32_t DragY = 0;
    std::int32_t DragMoved = 0;

    // Settings, used as flags (non-zero = on) or indices, never range-checked.
    std::int32_t Hour24 = 1;
    std::int32_t AlwaysOnTop = 0;
    std::int32_t AutoLoad = 0;
    std::int32_t ClockType = 0;
    std::int32_t ShowTitle = 1;
    std::int32_t HideTask = 1;
    std::int32_t VfdColor = 0;

    // The face pictures of the four styles: 0 Nixie Large, 1 Nixie Small, 2 Vfd Large, 3 Vfd Small.
    std::array<std::unique_ptr<TBitmap>, 4> FacePicture;

    // The position and the seven options from the settings store; once, in FormCreate.
    void LoadSettings();
    // The position (unless minimized or maximized) and the seven options into the store.
    void SaveSettings();
    // Puts ClockType, VfdColor, AlwaysOnTop and Hour24 into effect: face, outline, digit layout
    // and image list, window size, stay-on-top, 12/24-hour. The top-left corner stays where it
    // is. A style outside 0 to 3 keeps the current face and layout; a colour outside 0 to 2
    // draws a VFD style with the nixie digits.
    void ApplyStyle();

    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormContextPopup(TObject* Sender, TPoint MousePos, bool& Handled);
    void TimerClockTimer(TObject* Sender);
    void TimerStartupTimer(TObject* Sender);
    void RidivAzoza1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y);
    void RidivAzoza1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void RidivAzoza1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void Settings1Click(TObject* Sender);
    void Quit1Click(TObject* Sender);
    void UsersManual1Click(TObject* Sender);
    void About1Click(TObject* Sender);

    static void DeclareClass(TClassDeclaration<TForm1>& D);
};

class TFormNixieConfig;
class TFormAboutNixie;
class TFormNixieStart;

// Program-wide state of the clock.
extern std::string StartFolder;
extern TForm1* Form1;
extern TFormNixieStart* FormNixieStart;

// Registers the classes that the clock's form descriptions name.
void RegisterClockClasses();

// The program entry after the port is chosen: captures StartFolder, creates the four forms and
// runs the message loop. Returns the process exit code.
int RunClock();
