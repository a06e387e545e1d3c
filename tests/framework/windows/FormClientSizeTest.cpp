#include "framework/objects/FormReader.h"
#include "framework/objects/FormWriter.h"
#include "tests/support/HeadlessApp.h"

#include <limits>
#include <string>

namespace {

using FormClientSizeTest = HeadlessAppTest;

// A framed form learns its frame only with its window: the client size its description asks for
// waits until then, and is what the form reports, and writes, in the meantime.
TEST_F(FormClientSizeTest, AFramedFormWrittenBeforeItHasAWindowKeepsItsClientSize)
{
    const std::string Text = "object Dialog1: TForm\n"
                             "  BorderStyle = bsDialog\n"
                             "  ClientWidth = 396\n"
                             "  ClientHeight = 305\n"
                             "end\n";
    TForm Unshown(nullptr);
    TFormReader::ReadInto(Unshown, Text);
    EXPECT_EQ(Unshown.GetClientWidth(), 396);
    EXPECT_EQ(Unshown.GetClientHeight(), 305);
    const std::string Written = TFormWriter::WriteComponent(Unshown);
    EXPECT_NE(Written.find("ClientWidth = 396"), std::string::npos) << Written;
    EXPECT_NE(Written.find("ClientHeight = 305"), std::string::npos) << Written;

    TForm Shown(App.get());
    TFormReader::ReadInto(Shown, Written);
    Shown.Show();
    Pump();
    EXPECT_EQ(Shown.GetClientWidth(), 396);
    EXPECT_EQ(Shown.GetClientHeight(), 305);
    EXPECT_GT(Shown.GetWidth(), 396);
}

// Losing its frame before it has a window, a form makes the waiting client size its own size:
// written and read again, it is the same form.
TEST_F(FormClientSizeTest, AFormThatLosesItsFrameTakesTheClientSizeItWasWaitingFor)
{
    for (const char* Later : {"", "  ClientWidth = 218\n"}) {
        TForm Form(nullptr);
        TFormReader::ReadInto(Form, std::string("object Form1: TForm\n"
                                                "  ClientWidth = 21\n"
                                                "  ClientHeight = 58\n"
                                                "  BorderStyle = bsNone\n") +
                                        Later + "end\n");
        const int Width = *Later ? 218 : 21;
        EXPECT_EQ(Form.GetWidth(), Width);
        EXPECT_EQ(Form.GetClientWidth(), Width);
        EXPECT_EQ(Form.GetHeight(), 58);
        const std::string Written = TFormWriter::WriteComponent(Form);
        TForm Again(nullptr);
        TFormReader::ReadInto(Again, Written);
        EXPECT_EQ(TFormWriter::WriteComponent(Again), Written);
    }
}

// A client size at the ends of the int range clamps to the window range with the frame added,
// rather than wrapping (the sanitize build reports any overflow).
TEST_F(FormClientSizeTest, AClientSizeAtTheEndsOfTheIntRangeClampsWithTheFrame)
{
    TForm Form(App.get());
    Form.SetBorderStyle(bsSizeable);
    Form.Show();
    Pump();
    Form.SetClientWidth(std::numeric_limits<int>::max());
    Form.SetClientHeight(std::numeric_limits<int>::min());
    EXPECT_EQ(Form.GetWidth(), WindowCoordMax);
    EXPECT_EQ(Form.GetClientHeight(), 0);
    EXPECT_GE(Form.GetHeight(), 0);
}

} // namespace
