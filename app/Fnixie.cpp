#include "app/Fnixie.h"

#include "app/Autoload.h"
#include "app/Faboutnixie.h"
#include "app/Fnixieconfig.h"
#include "app/Fnixstart.h"
#include "app/Formutil.h"
#include "app/SettingsStore.h"
#include "app/Viewdoc.h"
#include "base/Exception.h"
#include "controls/BinaryClock.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/Resources.h"
#include "framework/stdctrls/CheckBox.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/stdctrls/RadioGroup.h"
#include "framework/windows/Application.h"
#include "framework/windows/Screen.h"
#include "framework/windows/WindowManager.h"

#include <cstdlib>

std::string StartFolder;
TForm1* Form1 = nullptr;
TFormNixieStart* FormNixieStart = nullptr;

namespace {

// Where each style puts the digits and how large it makes the window; the digit display's left
// edge stays at 0 and its height at 49.
struct TStyleLayout
{
    std::int32_t DigitHeight;
    std::int32_t DigitWidth;
    bool Vfd;
    int Top;
    int Width;
    std::int32_t DigitX[6];
    int WindowWidth;
    int WindowHeight;
};

constexpr TStyleLayout StyleLayouts[4] = {
    {0, 0, false, 50, 308, {10, 53, 110, 152, 207, 248}, 308, 154}, // Nixie Large
    {22, 11, false, 24, 160, {5, 27, 55, 76, 103, 124}, 160, 80},   // Nixie Small
    {0, 0, true, 63, 350, {88, 120, 177, 206, 267, 294}, 381, 158}, // Vfd Large
    {19, 12, true, 31, 160, {45, 57, 88, 103, 131, 146}, 190, 80},  // Vfd Small
};

constexpr const char* StoreName = "QXRidivAzoza";

} // namespace

void RegisterClockClasses()
{
    RegisterGraphicsClasses();
    RegisterMenuClasses();
    RegisterStandardControls();
    RidivAzoza::Register();
    BinaryClock::Register();
    fcImageForm::Register();
    RegisterClass<TTimer>();
}

void TForm1::DeclareClass(TClassDeclaration<TForm1>& D)
{
    D.RegisterMethod("FormCreate", &TForm1::FormCreate);
    D.RegisterMethod("FormDestroy", &TForm1::FormDestroy);
    D.RegisterMethod("FormContextPopup", &TForm1::FormContextPopup);
    D.RegisterMethod("TimerClockTimer", &TForm1::TimerClockTimer);
    D.RegisterMethod("TimerStartupTimer", &TForm1::TimerStartupTimer);
    D.RegisterMethod("RidivAzoza1MouseDown", &TForm1::RidivAzoza1MouseDown);
    D.RegisterMethod("RidivAzoza1MouseMove", &TForm1::RidivAzoza1MouseMove);
    D.RegisterMethod("RidivAzoza1MouseUp", &TForm1::RidivAzoza1MouseUp);
    D.RegisterMethod("Settings1Click", &TForm1::Settings1Click);
    D.RegisterMethod("Quit1Click", &TForm1::Quit1Click);
    D.RegisterMethod("UsersManual1Click", &TForm1::UsersManual1Click);
    D.RegisterMethod("About1Click", &TForm1::About1Click);
}

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner)
{
    RegisterClockClasses();
    // The description first; the members get their start values after it and before FormCreate
    // (they are initialised above, and nothing in the description touches them).
    ReadDescription();
    fcImageForm1 = FindPart<TfcImageForm>("fcImageForm1");
    RidivAzoza1 = FindPart<TRidivAzoza>("RidivAzoza1");
    ImageListNixie = FindPart<TImageList>("ImageListNixie");
    ImageListVfd = FindPart<TImageList>("ImageListVfd");
    ImageListVfdG = FindPart<TImageList>("ImageListVfdG");
    ImageListVfdR = FindPart<TImageList>("ImageListVfdR");
    TimerClock = FindPart<TTimer>("TimerClock");
    TimerStartup = FindPart<TTimer>("TimerStartup");
    PopupMenu1 = FindPart<TPopupMenu>("PopupMenu1");
    DoCreate();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate(TObject*)
{
    // The faces, in the order of their resources: 72, 71, 70, 69.
    const struct
    {
        int Resource;
        int Member;
    } Faces[] = {{72, 1}, {71, 0}, {70, 2}, {69, 3}};
    for (auto [Resource, Member] : Faces) {
        auto Face = std::make_unique<TBitmap>();
        const TResourceEntry* Entry = TResources::Find("bitmap", Resource);
        if (!Entry)
            throw EResNotFound("Bitmap resource " + std::to_string(Resource) + " not found");
        Face->LoadFromResourceBytes(Entry->Data);
        FacePicture[std::size_t(Member)] = std::move(Face);
    }
    LoadSettings();
    ApplyStyle();
}

void TForm1::FormDestroy(TObject*)
{
    SaveSettings();
}

void TForm1::LoadSettings()
{
    SettingsStore Store;
    OpenSettingsStore(StoreName, StoreName, Store, 1);
    SetTop(ReadSettingInt(Store, "viewertop", Screen().GetHeight() / 2));
    SetLeft(ReadSettingInt(Store, "viewerleft", Screen().GetWidth() / 2));
    AlwaysOnTop = ReadSettingInt(Store, "alwaysontop", AlwaysOnTop);
    HideTask = ReadSettingInt(Store, "hidetask", HideTask);
    Hour24 = ReadSettingInt(Store, "24hour", Hour24);
    AutoLoad = ReadSettingInt(Store, "autoload", AutoLoad);
    ClockType = ReadSettingInt(Store, "type", ClockType);
    VfdColor = ReadSettingInt(Store, "vdfcolor", VfdColor);
    ShowTitle = ReadSettingInt(Store, "title", ShowTitle);
    CloseSettingsStore(Store);
}

void TForm1::SaveSettings()
{
    SettingsStore Store;
    OpenSettingsStore(StoreName, StoreName, Store, 1);
    if (GetWindowState() == wsNormal) {
        WriteSettingInt(Store, "viewertop", GetTop());
        WriteSettingInt(Store, "viewerleft", GetLeft());
        WriteSettingInt(Store, "viewerwidth", GetWidth());
        WriteSettingInt(Store, "viewerheight", GetHeight());
    }
    WriteSettingInt(Store, "alwaysontop", AlwaysOnTop);
    WriteSettingInt(Store, "hidetask", HideTask);
    WriteSettingInt(Store, "24hour", Hour24);
    WriteSettingInt(Store, "autoload", AutoLoad);
    WriteSettingInt(Store, "type", ClockType);
    WriteSettingInt(Store, "vdfcolor", VfdColor);
    WriteSettingInt(Store, "title", ShowTitle);
    CloseSettingsStore(Store);
}

void TForm1::ApplyStyle()
{
    TImageList* VfdDigits = VfdColor == 0   ? ImageListVfdG
                            : VfdColor == 1 ? ImageListVfdR
                            : VfdColor == 2 ? ImageListVfd
                                            : ImageListNixie;
    // A different style makes the window anew, without its outline, which comes back below.
    SetFormStyle(AlwaysOnTop != 0 ? fsStayOnTop : fsNormal);
    if (ClockType >= 0 && ClockType <= 3) {
        const TStyleLayout& L = StyleLayouts[ClockType];
        RidivAzoza1->SetDigitHeight(L.DigitHeight);
        RidivAzoza1->SetDigitWidth(L.DigitWidth);
        RidivAzoza1->SetImageList(L.Vfd ? VfdDigits : ImageListNixie);
        TPicture Face;
        Face.SetBitmap(*FacePicture[std::size_t(ClockType)]);
        fcImageForm1->SetPicture(&Face);
        RidivAzoza1->SetTop(L.Top);
        RidivAzoza1->SetWidth(L.Width);
        for (int Slot = 0; Slot < 6; ++Slot)
            RidivAzoza1->SetDigitX(Slot, L.DigitX[Slot]);
        SetWidth(L.WindowWidth);
        SetHeight(L.WindowHeight);
    }
    fcImageForm1->ApplyPictureRegion();
    RidivAzoza1->SetMode24(Hour24);
    fcImageForm1->Invalidate();
    Invalidate();
}

void TForm1::FormContextPopup(TObject*, TPoint MousePos, bool& Handled)
{
    const TPoint P = ClientToScreen(MousePos);
    PopupMenu1->Popup(P.X, P.Y);
    Handled = true;
}

void TForm1::TimerClockTimer(TObject*)
{
    if (HideTask != 0)
        TWindowManager::Get().ShowWindow(Application().GetHandle(), SW_HIDE);
    RidivAzoza1->Repaint();
}

void TForm1::TimerStartupTimer(TObject*)
{
    if (TimerStartup->GetInterval() == 100 && ShowTitle != 0) {
        TimerStartup->SetInterval(5000);
        if (FormNixieStart) {
            PlaceNearForm(this, FormNixieStart);
            FormNixieStart->BringToFront();
            FormNixieStart->Show();
        }
        return;
    }
    TimerStartup->SetEnabled(false);
    if (FormNixieStart)
        FormNixieStart->Hide();
}

void TForm1::RidivAzoza1MouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button != TMouseButton::Left)
        return;
    Dragging = 1;
    DragMoved = 0;
    DragX = X;
    DragY = Y;
}

void TForm1::RidivAzoza1MouseMove(TObject* Sender, TShiftState, int X, int Y)
{
    if (Dragging == 0)
        return;
    if (std::abs(DragX - X) <= 1 && std::abs(DragY - Y) <= 1)
        return;
    // Through the main window's client area, whichever control reported the move.
    (void)Sender;
    const TPoint S = ClientToScreen({X, Y});
    SetBounds(S.X - DragX, S.Y - DragY, GetWidth(), GetHeight());
    Update();
    DragMoved = 1;
}

void TForm1::RidivAzoza1MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    Dragging = 0;
    if (DragMoved == 1)
        SaveSettings();
}

void TForm1::Settings1Click(TObject*)
{
    {
        // A fresh dialog each time, gone before the options take effect.
        const std::unique_ptr<TFormNixieConfig> Config = std::make_unique<TFormNixieConfig>(this);
        Config->CheckBox24Hour->SetChecked(Hour24 != 0);
        Config->CheckBoxShowTitle->SetChecked(ShowTitle != 0);
        Config->CheckBoxAutoLoad->SetChecked(AutoLoad != 0);
        Config->CheckBoxOnTop->SetChecked(AlwaysOnTop != 0);
        Config->CheckBoxHideTask->SetChecked(HideTask != 0);
        Config->RadioGroupType->SetItemIndex(ClockType);
        Config->RadioGroupVfdColor->SetItemIndex(VfdColor);
        PlaceNearForm(this, Config.get());
        if (Config->ShowModal() == mrOk) {
            Hour24 = Config->CheckBox24Hour->GetChecked() ? 1 : 0;
            ShowTitle = Config->CheckBoxShowTitle->GetChecked() ? 1 : 0;
            AutoLoad = Config->CheckBoxAutoLoad->GetChecked() ? 1 : 0;
            AlwaysOnTop = Config->CheckBoxOnTop->GetChecked() ? 1 : 0;
            HideTask = Config->CheckBoxHideTask->GetChecked() ? 1 : 0;
            ClockType = Config->RadioGroupType->GetItemIndex();
            VfdColor = Config->RadioGroupVfdColor->GetItemIndex();
        }
    }
    // Cancelled or not: the style again, the login item for the current option (which brings
    // back one deleted by hand) and the settings with the current position.
    ApplyStyle();
    SetRunAtLogin(AutoLoad, StoreName);
    SaveSettings();
}

void TForm1::Quit1Click(TObject*)
{
    Close();
}

void TForm1::UsersManual1Click(TObject*)
{
    ViewDocumentation("divaduva", StartFolder, 0);
}

void TForm1::About1Click(TObject*)
{
    const std::unique_ptr<TFormAboutNixie> About = std::make_unique<TFormAboutNixie>(this);
    PlaceNearForm(this, About.get());
    About->ShowModal();
}

int RunClock()
{
    StartFolder = TPlatform::Get().GetCurrentFolder();
    if (StartFolder.size() > 260)
        StartFolder.clear(); // the manual search then has no first folder
    TApplication App(nullptr);
    try {
        App.Initialize();
        App.SetTitle("Nixie");
        App.CreateForm(Form1);
        TFormNixieConfig* Config = nullptr;
        App.CreateForm(Config);
        TFormAboutNixie* About = nullptr;
        App.CreateForm(About);
        App.CreateForm(FormNixieStart);
        App.Run();
    } catch (const Exception& E) {
        App.ShowException(E);
    }
    return 0;
}
