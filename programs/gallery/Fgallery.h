#pragma once

#include "framework/windows/Form.h"

#include <vector>

class TBinaryClock;
class THexEditor;
class TRidivAzoza;
class TScrollBar;
class TTimer;

// The gallery of the control family on one form: the binary clock in its six layouts, its four
// LED colours and three shapes, and two colour-bar panels holding tube-digit displays that count
// up in hexadecimal and in decimal, and a hex editor with its scroll bar. A 250 ms timer keeps
// everything moving.
class TFormGallery : public TForm
{
    PUBLISHED_CLASS(TFormGallery, TForm)

    explicit TFormGallery(TComponent* AOwner);
    ~TFormGallery() override;

    // Every binary clock of the form, in the order of its description.
    std::vector<TBinaryClock*> BinaryClocks;
    TRidivAzoza* DigitsHex = nullptr;
    TRidivAzoza* DigitsDecimal = nullptr;
    THexEditor* HexEditor = nullptr;
    TScrollBar* HexScrollBar = nullptr;
    TTimer* TimerTick = nullptr;

    void FormCreate(TObject* Sender);
    // Repaints the clocks, which read the time as they paint, and counts the digits up by one.
    void TimerTickTimer(TObject* Sender);

    static void DeclareClass(TClassDeclaration<TFormGallery>& D);
};

// Registers the classes the gallery's description names, once.
void RegisterGalleryClasses();
