#include "app/Fnixie.h"

#include "app/Faboutnixie.h"
#include "app/Fnixieconfig.h"
#include "app/Fnixstart.h"
#include "base/Exception.h"
#include "framework/objects/ClassRegistry.h"
#include "framework/objects/Resources.h"
#include "framework/stdctrls/CustomPanel.h"
#include "framework/stdctrls/MenuItem.h"
#include "framework/stdctrls/PopupMenu.h"
#include "framework/windows/Application.h"
#include "framework/windows/WindowManager.h"

#include <cstdlib>

std::string StartFolder;
TForm1* Form1 = nullptr;
TFormNixieStart* FormNixieStart = nullptr;

namespace {

template <typename T>
T* Find(TComponent& Root, const char* Name)
{
    T* C = dynamic_cast<T*>(Root.FindComponent(Name));
    if (!C)
        throw EResNotFound(std::string("The form description lacks ") + Name);
    return C;
}

} // namespace

void RegisterClockClasses()
{
    RegisterGraphicsClasses();
    RegisterMenuClasses();
    RegisterStandardControls();
    RidivAzoza::Register();
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
    fcImageForm1 = Find<TfcImageForm>(*this, "fcImageForm1");
    RidivAzoza1 = Find<TRidivAzoza>(*this, "RidivAzoza1");
    ImageListNixie = Find<TImageList>(*this, "ImageListNixie");
    ImageListVfd = Find<TImageList>(*this, "ImageListVfd");
    ImageListVfdG = Find<TImageList>(*this, "ImageListVfdG");
    ImageListVfdR = Find<TImageList>(*this, "ImageListVfdR");
    TimerClock = Find<TTimer>(*this, "TimerClock");
    TimerStartup = Find<TTimer>(*this, "TimerStartup");
    PopupMenu1 = Find<TPopupMenu>(*this, "PopupMenu1");
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
        Face->LoadFromBytes(Entry->Data);
        FacePicture[std::size_t(Member)] = std::move(Face);
    }
}

void TForm1::FormDestroy(TObject*) {}

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
}

void TForm1::Settings1Click(TObject*) {}

void TForm1::Quit1Click(TObject*)
{
    Close();
}

void TForm1::UsersManual1Click(TObject*) {}

void TForm1::About1Click(TObject*) {}

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
