// A click on a control of a form of this process, made on the real server with XTest while a
// modifier key is held: the control's mouse events say which, Alt included.
#include "framework/windows/Application.h"
#include "framework/windows/CustomControl.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "tests/x11/X11TestSupport.h"

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

struct THeldKeyCase
{
    const char* Label;
    unsigned long Keysym; // 0: nothing held
    TShiftState Shift;
};

class X11ControlInputTest : public X11Test, public testing::WithParamInterface<THeldKeyCase>
{
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (IsSkipped())
            return;
        TWindowManager::Reset();
        App = std::make_unique<TApplication>(nullptr);
        App->Initialize();
    }
    void TearDown() override
    {
        App.reset();
        TWindowManager::Reset();
        X11Test::TearDown();
    }
    std::unique_ptr<TApplication> App;
};

TEST_P(X11ControlInputTest, APressReachesOnMouseDownWithTheKeyHeld)
{
    const THeldKeyCase& C = GetParam();
    auto* Form = new TForm(App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(200, 150, 120, 80);
    auto* Control = new TCustomControl(Form);
    Control->SetBounds(10, 10, 60, 40);
    Control->SetParent(Form);
    std::vector<std::string> Seen;
    Control->OnMouseDown = [&](TObject*, TMouseButton, TShiftState S, int X, int Y) {
        Seen.push_back("down " + std::to_string(S) + " " + std::to_string(X) + "," +
                       std::to_string(Y));
    };
    Control->OnMouseUp = [&](TObject*, TMouseButton, TShiftState S, int, int) {
        Seen.push_back("up " + std::to_string(S));
    };
    Form->Show();
    auto* Peer = static_cast<TX11Window*>(TWindowManager::Get().GetPeer(Form->GetHandle()));
    ASSERT_NE(Peer, nullptr);
    ASSERT_TRUE(PumpUntil([&] {
        App->ProcessMessages();
        return Peer->IsMapped();
    }));

    if (C.Keysym)
        Key(C.Keysym, true);
    MovePointer({225, 170});
    PointerButton(1, true);
    PointerButton(1, false);
    if (C.Keysym)
        Key(C.Keysym, false);
    EXPECT_TRUE(PumpUntil([&] {
        App->ProcessMessages();
        return Seen.size() >= 2;
    }));
    EXPECT_EQ(Seen, (std::vector<std::string>{"down " + std::to_string(C.Shift | ssLeft) + " 15,10",
                                              "up " + std::to_string(C.Shift)}));
}

INSTANTIATE_TEST_SUITE_P(Held, X11ControlInputTest,
                         testing::Values(THeldKeyCase{"Nothing", 0, 0},
                                         THeldKeyCase{"Shift", XK_Shift_L, ssShift},
                                         THeldKeyCase{"Ctrl", XK_Control_L, ssCtrl},
                                         THeldKeyCase{"Alt", XK_Alt_L, ssAlt}),
                         [](const testing::TestParamInfo<THeldKeyCase>& Info) {
                             return std::string(Info.param.Label);
                         });

} // namespace
