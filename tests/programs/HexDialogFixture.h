#pragma once

// Cases that drive one of the hex editor program's modal dialogs over a main form, as the user
// would: the dialog's class runs its Execute while a queued step works the open dialog with keys
// and clicks, and answers any message box it brings up.

#include "framework/stdctrls/MessageForm.h"
#include "framework/windows/Screen.h"
#include "tests/support/HeadlessApp.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class HexDialogTest : public HeadlessFormTest
{
protected:
    void SetUp() override
    {
        HeadlessFormTest::SetUp();
        App->CreateForm(Form);
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
                Wake();
            },
            10);
    }

    void Key(unsigned VirtualKey)
    {
        WM().HandleKey(Dialog->GetHandle(), WM_KEYDOWN, VirtualKey, 0);
        WM().HandleKey(Dialog->GetHandle(), WM_KEYUP, VirtualKey, 0);
        Pump();
    }
    void Type(const std::string& Text)
    {
        for (char C : Text)
            WM().HandleChar(Dialog->GetHandle(), char32_t(C));
        Pump();
    }

    // Queues answering the next message box with Enter; its text goes to Boxes.
    void AnswerBox()
    {
        Port().QueueEvent(
            [this] {
                TMessageForm* Box = Open<TMessageForm>();
                ASSERT_NE(Box, nullptr) << "no message box";
                std::string Text;
                for (const std::string& Line : Box->GetLines())
                    Text += (Text.empty() ? "" : " ") + Line;
                Boxes.push_back(Text);
                WM().HandleKey(Box->GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
                WM().HandleKey(Box->GetHandle(), WM_KEYUP, VK_RETURN, 0);
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

    TForm* Dialog = nullptr;
    std::vector<std::string> Boxes;
};
