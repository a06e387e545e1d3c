#pragma once

#include "framework/windows/Form.h"

#include <functional>
#include <string>
#include <vector>

class TButton;

// The framework's message box: a modal dialog with an icon, the text wrapped into lines and a
// row of buttons, chosen by the MB_ flags of Messages.h as on Windows. It keeps the application's
// queue running, so timers tick behind it. Execute answers with the ID of the button used
// (IDOK, IDCANCEL, IDYES, ...); Escape and the close box give the Cancel button's answer, or
// IDOK for a box that has only OK, and do nothing where no button cancels.
class TMessageForm : public TForm
{
    PUBLISHED_CLASS(TMessageForm, TForm)

    TMessageForm(TComponent* AOwner, const std::string& Text, const std::string& Caption,
                 unsigned Flags);
    ~TMessageForm() override;

    static int Execute(const std::string& Text, const std::string& Caption, unsigned Flags);

    const std::vector<std::string>& GetLines() const { return FLines; }
    const std::vector<TButton*>& GetButtons() const { return FButtons; }
    // The client rectangle that holds the text.
    TRect GetTextRect() const { return FTextRect; }
    unsigned GetIcon() const { return FFlags & MB_ICONMASK; }

    static void DeclareClass(TClassDeclaration<TMessageForm>& /*D*/) {}

    // Breaks Text into lines no wider than MaxWidth pixels as Measure gives widths: at line
    // breaks, then between words; a word wider than a line is cut between characters.
    static std::vector<std::string> WrapText(const std::string& Text, int MaxWidth,
                                             const std::function<int(const std::string&)>& Measure);

    static constexpr int Margin = 12;
    static constexpr int IconSize = 32;
    static constexpr int ButtonWidth = 75;
    static constexpr int ButtonHeight = 23;
    static constexpr int ButtonGap = 6;
    static constexpr int MaxTextWidth = 400;

protected:
    void Dispatch(TMessage& Message) override;
    void VisibleChanged() override;
    void PaintWindow(const TPaintContext& Context) override;

private:
    void Layout(const std::string& Text);
    void PaintIcon(TCanvas& Canvas, const TRect& Box);

    unsigned FFlags;
    std::vector<std::string> FLines;
    std::vector<TButton*> FButtons;
    TButton* FCancelButton = nullptr;
    TButton* FDefaultButton = nullptr;
    TRect FTextRect;
};
