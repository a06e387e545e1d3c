// The hex editor in a window, driven by a stream of navigation keys, typed characters, clicks
// and undo and redo read from the input, beside the plain model: after every step the cursor,
// panel, digit, scroll position, logs and the cursor's byte agree, and at the end all the data
// and both logs.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/stdctrls/ScrollBar.h"
#include "framework/windows/Form.h"
#include "framework/windows/WindowManager.h"
#include "hexedit/Hexcontrol.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/hexedit/HexEditorModel.h"

#include <cstdint>

namespace {

// A few rows of small cells: every step repaints at least a row, and drawing its text is most of
// what a step costs.
constexpr int Height = 40;
constexpr int FontPixels = 8;

struct TSession : THeadlessSession
{
    int CharWidth = 0, CharHeight = 0, Rows = 0;
};

TSession* Session = nullptr;

constexpr unsigned Keys[] = {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN};
// Digits of both cases, letters that are not digits, punctuation and the space.
constexpr char Typed[] = "0123456789abcdefABCDEFgzG~ .@/:x";
static_assert(sizeof Typed - 1 == 32);

void Check(const THexEditor& Editor, const TScrollBar& Bar, const TViewModel& Model, int Step)
{
    const std::string At = " at step " + std::to_string(Step);
    FuzzCheck(Editor.GetCursorOffset() == Model.Cursor, "cursor" + At);
    FuzzCheck(Editor.GetCursorPanel() == Model.Panel, "panel" + At);
    FuzzCheck(Editor.GetDigitIndex() == Model.Digit, "digit" + At);
    FuzzCheck(Bar.GetPosition() == Model.Position, "scroll position" + At);
    FuzzCheck(Editor.GetChangeLog().GetChangeCount() == Model.Log.ChangeCount, "changes" + At);
    FuzzCheck(Editor.GetChangeLog().GetRedoCount() == Model.Log.RedoCount, "redos" + At);
    FuzzCheck(Editor.GetByte(Model.Cursor) == Model.GetByte(Model.Cursor), "cursor byte" + At);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Session = new TSession;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size)
{
    TWindowManager& WM = TWindowManager::Get();
    auto* Form = new TForm(Session->App.get());
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 700, Height);
    auto* Editor = new THexEditor(Form);
    Editor->SetParent(Form);
    Editor->GetFont().SetName("Courier New");
    Editor->GetFont().SetHeight(FontPixels);
    Editor->SetBounds(0, 0, 680, Height);
    auto* Bar = new TScrollBar(Form);
    Bar->SetKind(sbVertical);
    Bar->SetParent(Form);
    Bar->SetBounds(680, 0, 17, Height);
    Editor->SetScrollBar(Bar);
    Form->Show();
    Editor->SetFocus();
    Session->App->ProcessMessages();
    if (Session->Rows == 0) {
        TBitmap Probe(1, 1);
        TCanvas C(Probe);
        C.SetFont(Editor->GetFont());
        Session->CharWidth = C.TextWidth("A");
        Session->CharHeight = C.TextHeight("A");
        Session->Rows = (Height - 10 - 1) / Session->CharHeight;
        FuzzCheck(Session->Rows >= 2, "fewer than two rows");
        FuzzCheck(C.TextWidth("0123456789ABCDEF.") == 17 * Session->CharWidth,
                  "the font is not monospace");
    }
    const int W = Session->CharWidth, H = Session->CharHeight;
    TViewModel Model;
    Model.Rows = Session->Rows;
    FuzzCheck(Editor->GetRowsPainted() == Model.Rows, "rows painted");

    const HWND Window = Form->GetHandle();
    for (std::size_t I = 0; I < Size; ++I) {
        const std::uint8_t B = Data[I];
        switch (B >> 5) {
        case 0:
        case 1:
            WM.HandleKey(Window, WM_KEYDOWN, Keys[B & 7], 0);
            WM.HandleKey(Window, WM_KEYUP, Keys[B & 7], 0);
            Model.Key(Keys[B & 7]);
            break;
        case 2:
        case 3:
        case 4:
            WM.HandleChar(Window, char32_t(Typed[B & 31]));
            Model.Char(Typed[B & 31]);
            break;
        case 5:
        case 6: {
            // A click in the middle of a cell of a painted row: the row from this byte, the
            // cell and the panel from the next.
            const std::uint8_t Cell = I + 1 < Size ? Data[++I] : 0;
            const int Row = (B & 31) % Model.Rows, Byte = Cell & 15, Panel = (Cell >> 4) & 1;
            const int Values = 12 + 8 * W + 20;
            const int X = Panel == 0 ? Values + Byte * 2 * W + Byte / 4 * W + W
                                     : Values + 35 * W + 20 + Byte * W + W / 2;
            const TPoint Point{X, 10 + Row * H + H / 2};
            WM.HandleMouse(Window, WM_LBUTTONDOWN, MK_LBUTTON, Point);
            WM.HandleMouse(Window, WM_LBUTTONUP, 0, Point);
            Model.Click(Row, Byte, Panel);
            break;
        }
        default: {
            const bool Redo = B & 1;
            Model.RecallAndShow(Redo);
            Redo ? Editor->Redo() : Editor->Undo();
            break;
        }
        }
        Session->App->ProcessMessages();
        Check(*Editor, *Bar, Model, int(I));
    }
    FuzzCheck(Model.Difference(*Editor).empty(), "at the end: " + Model.Difference(*Editor));
    delete Form;
    Session->Settle();
    return 0;
}
