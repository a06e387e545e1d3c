#pragma once

// Cases that drive the hex editor program's windows as the user would: a main form of class
// TMain, and the modal dialogs over it, worked by queued steps with keys and clicks while their
// loops run; message boxes are answered and what they said is kept.

#include "framework/stdctrls/Button.h"
#include "framework/stdctrls/MessageForm.h"
#include "framework/windows/Screen.h"
#include "tests/support/HeadlessApp.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

template <class TMain>
class HexProgramTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        App->CreateForm(Main);
        Form = Main;
        Form->SetBounds(200, 150, 500, 400);
        Form->Show();
        Pump();
    }

    // The visible form of class T, or null.
    template <class T>
    static T* Open()
    {
        for (TForm* F : Screen().GetForms())
            if (auto* D = dynamic_cast<T*>(F); D && D->GetVisible())
                return D;
        return nullptr;
    }

    // Queues Act to work the dialog of class T once it is open; Act must end it.
    template <class T>
    void WhenOpen(std::function<void(T&)> Act)
    {
        Port().QueueEvent(
            [this, Act] {
                T* D = Open<T>();
                ASSERT_NE(D, nullptr);
                Dialog = D;
                Act(*D);
                if (D->GetModalResult() == mrNone) {
                    ADD_FAILURE() << "The dialog is still open";
                    D->SetModalResult(mrCancel);
                }
                Dialog = nullptr;
                Wake();
            },
            10);
    }

    // Keys and characters to the open dialog, or to the main form when none is open.
    void Key(unsigned VirtualKey, TShiftState Shift = 0)
    {
        const HWND Target = (Dialog ? Dialog : Form)->GetHandle();
        WM().HandleKey(Target, WM_KEYDOWN, VirtualKey, Shift);
        WM().HandleKey(Target, WM_KEYUP, VirtualKey, Shift);
        Pump();
    }
    void Type(const std::string& Text)
    {
        for (char C : Text)
            WM().HandleChar((Dialog ? Dialog : Form)->GetHandle(), char32_t(C));
        Pump();
    }

    // Queues answering the next message box with Enter, or with the button of caption Button;
    // its text, the lines joined by blanks, goes to Boxes.
    void AnswerBox(const std::string& Button = {})
    {
        Port().QueueEvent(
            [this, Button] {
                TMessageForm* Box = Open<TMessageForm>();
                ASSERT_NE(Box, nullptr) << "no message box";
                std::string Text;
                for (const std::string& Line : Box->GetLines())
                    if (!Line.empty())
                        Text += (Text.empty() ? "" : " ") + Line;
                Boxes.push_back(Text);
                if (Button.empty()) {
                    WM().HandleKey(Box->GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
                    WM().HandleKey(Box->GetHandle(), WM_KEYUP, VK_RETURN, 0);
                }
                for (TButton* B : Box->GetButtons())
                    if (B->GetCaption() == Button)
                        B->Click();
                Wake();
            },
            10);
    }

    // A message for the modal loop waiting on the headless port, which would otherwise take the
    // empty queue for the end of all input.
    void Wake() { WM().PostMessage(Form->GetHandle(), WM_NULL, 0, 0); }

    // The dialog's window: over the main form's middle.
    void ExpectCentredOverTheMainForm() const
    {
        EXPECT_NEAR(Dialog->GetLeft() + Dialog->GetWidth() / 2,
                    Form->GetLeft() + Form->GetWidth() / 2, 1);
        EXPECT_NEAR(Dialog->GetTop() + Dialog->GetHeight() / 2,
                    Form->GetTop() + Form->GetHeight() / 2, 1);
    }

    TMain* Main = nullptr;
    TForm* Dialog = nullptr;
    std::vector<std::string> Boxes;
};

using HexDialogTest = HexProgramTest<TForm>;
