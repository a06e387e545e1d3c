#pragma once

// The shaped-window tests' form, fixture and pictures.

#include "framework/objects/ClassRegistry.h"
#include "framework/objects/FormReader.h"
#include "framework/objects/Resources.h"
#include "framework/windows/Application.h"
#include "framework/windows/Form.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/HeadlessWindow.h"
#include "shaped/RegionFromBitmap.h"
#include "shaped/fcImageForm.h"
#include "tests/support/CaseName.h"
#include "tests/support/FaceArt.h"
#include "tests/support/HeadlessApp.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// A form that logs the client sizes set on it and every mouse event its published handlers get,
// as the clock's main window would see them.
class TShapedTestForm : public TForm
{
    PUBLISHED_CLASS(TShapedTestForm, TForm)

    explicit TShapedTestForm(TComponent* AOwner) : TForm(AOwner) {}

    void SetClientWidth(int Value) override
    {
        Log.push_back("ClientWidth " + std::to_string(Value));
        TForm::SetClientWidth(Value);
    }
    void SetClientHeight(int Value) override
    {
        Log.push_back("ClientHeight " + std::to_string(Value));
        TForm::SetClientHeight(Value);
    }

    void ImageMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y)
    {
        Log.push_back("down " + std::to_string(int(Button)) + " " + Where(X, Y));
    }
    void ImageMouseMove(TObject*, TShiftState, int X, int Y)
    {
        Log.push_back("move " + Where(X, Y));
    }
    void ImageMouseUp(TObject*, TMouseButton, TShiftState, int X, int Y)
    {
        Log.push_back("up " + Where(X, Y));
    }

    static void DeclareClass(TClassDeclaration<TShapedTestForm>& D)
    {
        D.RegisterMethod("ImageMouseDown", &TShapedTestForm::ImageMouseDown);
        D.RegisterMethod("ImageMouseMove", &TShapedTestForm::ImageMouseMove);
        D.RegisterMethod("ImageMouseUp", &TShapedTestForm::ImageMouseUp);
    }

    std::vector<std::string> Log;

private:
    // The event's point and where the form's window was at that moment.
    std::string Where(int X, int Y) const
    {
        return std::to_string(X) + "," + std::to_string(Y) + " at " + std::to_string(GetLeft()) +
               "," + std::to_string(GetTop());
    }
};

// Pictures of the tests: the committed faces, and solid ones with a black bottom-left pixel.
inline TBitmap SolidBitmap(int Width, int Height, TColor Fill, bool BlackCorner = false)
{
    TBitmap B(Width, Height, TPixelFormat::pf24bit);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            B.SetPixel(X, Y, Fill);
    if (BlackCorner)
        B.SetPixel(0, Height - 1, clBlack);
    return B;
}

inline std::string HexBlock(const std::vector<std::uint8_t>& Bytes)
{
    static const char Digits[] = "0123456789ABCDEF";
    std::string Text = "{";
    for (std::size_t I = 0; I < Bytes.size(); ++I) {
        if (I % 32 == 0)
            Text += "\n      ";
        Text += Digits[Bytes[I] >> 4];
        Text += Digits[Bytes[I] & 15];
    }
    return Text + "}";
}

class ShapedTest : public HeadlessAppTest
{
protected:
    void SetUp() override
    {
        fcImageForm::Register();
        RegisterClass<TShapedTestForm>();
        HeadlessAppTest::SetUp();
        Port().ClearScreenFrames();
        Port().SetCursorPos({0, 0});
        Port().SetFullWindowDrag(true);
        Port().SetScreenBitsPerPixel(32);
    }
    void TearDown() override
    {
        EXPECT_EQ(Port().GetQueuedEventCount(), 0u) << "input left over";
        HeadlessAppTest::TearDown();
    }

    // Reads a form of the given client size at (Left, Top) with one TfcImageForm, Image, whose
    // picture is the face with that id (0: none), whose mouse events go to the form's handlers,
    // and whose further lines (properties, RegionData) are Extra.
    TShapedTestForm* ReadForm(const std::string& Extra, int FaceId = 71, int Width = 300,
                              int Height = 120, int Left = 100, int Top = 50)
    {
        auto* Form = new TShapedTestForm(App.get());
        std::string Text = "object ShapedForm: TShapedTestForm\n"
                           "  Left = " +
                           std::to_string(Left) + "\n  Top = " + std::to_string(Top) +
                           "\n"
                           "  BorderStyle = bsNone\n"
                           "  ClientWidth = " +
                           std::to_string(Width) + "\n  ClientHeight = " + std::to_string(Height) +
                           "\n"
                           "  Caption = 'Shaped'\n"
                           "  object Image: TfcImageForm\n"
                           "    Left = 0\n    Top = 0\n"
                           "    Width = " +
                           std::to_string(Width) + "\n    Height = " + std::to_string(Height) +
                           "\n"
                           "    Align = alClient\n"
                           "    DragTolerance = 5\n";
        if (FaceId)
            Text += "    Picture = " + std::to_string(FaceId) + "\n";
        Text += "    OnMouseDown = ImageMouseDown\n"
                "    OnMouseMove = ImageMouseMove\n"
                "    OnMouseUp = ImageMouseUp\n" +
                Extra + "  end\nend\n";
        TFormReader::ReadInto(*Form, Text);
        return Form;
    }

    static TfcImageForm* ImageOf(TForm* Form)
    {
        return dynamic_cast<TfcImageForm*>(Form->FindComponent("Image"));
    }

    // A form with an image that has Picture and whose form's window is shown at (100, 50).
    TShapedTestForm* ShowPictureForm(const TBitmap& Picture)
    {
        TShapedTestForm* Form = ReadForm("", 0, Picture.GetWidth(), Picture.GetHeight());
        TPicture P;
        P.SetBitmap(Picture);
        ImageOf(Form)->SetPicture(&P);
        ImageOf(Form)->ApplyPictureRegion();
        Form->Show();
        App->ProcessMessages();
        Form->Log.clear();
        return Form;
    }
};
