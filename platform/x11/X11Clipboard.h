#pragma once

#include <cstddef>
#include <optional>
#include <string>

class TX11Display;
union _XEvent;

// The CLIPBOARD selection of one X connection. Putting text makes a hidden window of the port the
// selection's owner, which then answers requests for TARGETS, UTF8_STRING and STRING (Latin-1,
// '?' for what Latin-1 lacks) until another client takes the selection. Getting text returns our
// own when we own the selection, else converts the selection to UTF8_STRING (STRING when the
// owner offers no UTF-8) and waits for the owner's answer at most one second. Transfers by parts
// (INCR) are not made: a text larger than one request carries is refused by Put, and an INCR
// answer reads as no text.
class TX11Clipboard
{
public:
    explicit TX11Clipboard(TX11Display& Connection);
    ~TX11Clipboard();
    TX11Clipboard(const TX11Clipboard&) = delete;
    TX11Clipboard& operator=(const TX11Clipboard&) = delete;

    bool Put(const std::string& Utf8);
    std::optional<std::string> Get();
    // Takes the selection events meant for the clipboard's window; false for any other event.
    bool HandleEvent(_XEvent& Event);

    // The longest text Put takes, in bytes.
    std::size_t GetMaxText() const { return FMaxText; }

private:
    std::optional<std::string> Convert(unsigned long Target);
    void Answer(_XEvent& Request);

    TX11Display& FDisplay;
    unsigned long FWindow = 0;
    unsigned long FClipboard = 0, FTargets = 0, FUtf8 = 0, FIncr = 0, FProperty = 0;
    std::size_t FMaxText = 0;
    std::optional<std::string> FText; // while we own the selection
};
