#include "programs/gallery/Fgallery.h"

#include "controls/BinaryClock.h"
#include "controls/RidivAzoza.h"
#include "controls/VelmoraPanel.h"
#include "framework/graphics/ImageList.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/windows/Timer.h"
#include "hexedit/Hexcontrol.h"

namespace {

// Where the counters start: past the leading zeros, so that every tube shows a digit.
constexpr std::uint32_t HexStart = 0x00C0FFEE;
constexpr std::uint32_t DecimalStart = 12345678;

} // namespace

void RegisterGalleryClasses()
{
    static const bool Once = [] {
        RegisterGraphicsClasses();
        RegisterStandardControls();
        RidivAzoza::Register();
        BinaryClock::Register();
        VelmoraPanel::Register();
        HexEditor::Register();
        RegisterClass<TTimer>();
        return true;
    }();
    (void)Once;
}

void TFormGallery::DeclareClass(TClassDeclaration<TFormGallery>& D)
{
    D.RegisterMethod("FormCreate", &TFormGallery::FormCreate);
    D.RegisterMethod("TimerTickTimer", &TFormGallery::TimerTickTimer);
}

TFormGallery::TFormGallery(TComponent* AOwner) : TForm(AOwner)
{
    RegisterGalleryClasses();
    ReadDescription();
    for (int I = 0; I < GetComponentCount(); ++I)
        if (auto* Clock = dynamic_cast<TBinaryClock*>(GetComponent(I)))
            BinaryClocks.push_back(Clock);
    DigitsHex = FindPart<TRidivAzoza>("DigitsHex");
    DigitsDecimal = FindPart<TRidivAzoza>("DigitsDecimal");
    HexEditor = FindPart<THexEditor>("HexEditor");
    HexScrollBar = FindPart<TScrollBar>("HexScrollBar");
    TimerTick = FindPart<TTimer>("TimerTick");
    DoCreate();
}

TFormGallery::~TFormGallery() = default;

void TFormGallery::FormCreate(TObject*)
{
    DigitsHex->SetValue(HexStart);
    DigitsDecimal->SetValue(DecimalStart);
}

void TFormGallery::TimerTickTimer(TObject*)
{
    for (TBinaryClock* Clock : BinaryClocks)
        Clock->Invalidate();
    DigitsHex->SetValue(DigitsHex->GetValue() + 1);
    DigitsDecimal->SetValue(DigitsDecimal->GetValue() + 1);
    HexEditor->AnimateCursor();
}
