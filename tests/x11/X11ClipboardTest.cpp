// The X11 port's clipboard against another client of the server: text the port puts is read
// by XConvertSelection, and text another client owns is what the port gets.
#include "tests/x11/X11TestSupport.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <thread>

// Xlib last: its macros (None, Bool, Window, ...) would garble the headers above.
#include "platform/x11/XlibHeaders.h"

namespace {

const std::string Sample = "Grüße 😀 Ж";

class X11ClipboardTest : public X11Test
{
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        if (!Observer)
            return;
        Requestor = XCreateSimpleWindow(Observer, DefaultRootWindow(Observer), 0, 0, 1, 1, 0, 0, 0);
        XSync(Observer, False);
    }
    void TearDown() override
    {
        if (Observer)
            XDestroyWindow(Observer, Requestor);
        X11Test::TearDown();
    }
    // The observer's conversion of CLIPBOARD to Target, the port answering meanwhile; the
    // property's type and bytes, or none when the owner refused.
    std::optional<std::pair<Atom, std::string>> ConvertByObserver(const std::string& Target)
    {
        const Atom Property = Intern("OBSERVED");
        XConvertSelection(Observer, Intern("CLIPBOARD"), Intern(Target), Property, Requestor,
                          CurrentTime);
        XFlush(Observer);
        XEvent Notify;
        const bool Answered = PumpUntil([&] {
            XSync(Observer, False);
            return XCheckTypedWindowEvent(Observer, Requestor, SelectionNotify, &Notify);
        });
        if (!Answered || Notify.xselection.property == XNone)
            return std::nullopt;
        Atom Type = XNone;
        int Format = 0;
        unsigned long Count = 0, After = 0;
        unsigned char* Data = nullptr;
        XGetWindowProperty(Observer, Requestor, Property, 0, 1 << 16, True, AnyPropertyType, &Type,
                           &Format, &Count, &After, &Data);
        std::string Bytes(reinterpret_cast<char*>(Data),
                          Format == 32 ? Count * sizeof(long) : Count * (Format / 8));
        if (Data)
            XFree(Data);
        return std::make_pair(Type, Bytes);
    }

    ::Window Requestor = 0;
};

TEST_F(X11ClipboardTest, AnotherClientReadsWhatThePortPut)
{
    ASSERT_TRUE(X11Port().PutClipboardText(Sample));
    const auto Utf8 = ConvertByObserver("UTF8_STRING");
    ASSERT_TRUE(Utf8);
    EXPECT_EQ(Utf8->first, Intern("UTF8_STRING"));
    EXPECT_EQ(Utf8->second, Sample);

    const auto Latin1 = ConvertByObserver("STRING");
    ASSERT_TRUE(Latin1);
    EXPECT_EQ(Latin1->second, "Gr\xFC\xDF"
                              "e ? ?")
        << "Latin-1, with '?' for what it lacks";

    const auto Targets = ConvertByObserver("TARGETS");
    ASSERT_TRUE(Targets);
    EXPECT_EQ(Targets->first, XA_ATOM);
    EXPECT_NE(Targets->second.find(
                  std::string(reinterpret_cast<const char*>(&Utf8->first), sizeof(long))),
              std::string::npos);
    EXPECT_EQ(X11Port().GetClipboardText(), Sample) << "our own text, without a round trip";
}

TEST_F(X11ClipboardTest, ThePortPastesWhatAnotherClientOwns)
{
    ASSERT_TRUE(X11Port().PutClipboardText("ours"));
    const std::string Theirs = "from the other client: ⌘ é";
    XSetSelectionOwner(Observer, Intern("CLIPBOARD"), Requestor, CurrentTime);
    const Atom Utf8 = Intern("UTF8_STRING");
    XSync(Observer, False);
    // The other client answers from a thread of its own while the port waits for it.
    std::atomic<bool> Served{false};
    std::thread Owner([&] {
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!Served && std::chrono::steady_clock::now() < Deadline) {
            XEvent E;
            if (!XCheckTypedWindowEvent(Observer, Requestor, SelectionRequest, &E)) {
                pollfd Fd{ConnectionNumber(Observer), POLLIN, 0};
                poll(&Fd, 1, 10);
                continue;
            }
            const XSelectionRequestEvent& R = E.xselectionrequest;
            XEvent Reply{};
            Reply.xselection.type = SelectionNotify;
            Reply.xselection.requestor = R.requestor;
            Reply.xselection.selection = R.selection;
            Reply.xselection.target = R.target;
            Reply.xselection.time = R.time;
            Reply.xselection.property = XNone;
            if (R.target == Utf8) {
                XChangeProperty(Observer, R.requestor, R.property, Utf8, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(Theirs.data()),
                                int(Theirs.size()));
                Reply.xselection.property = R.property;
                Served = true;
            }
            XSendEvent(Observer, R.requestor, False, 0, &Reply);
            XFlush(Observer);
        }
    });
    const std::optional<std::string> Got = X11Port().GetClipboardText();
    Owner.join();
    EXPECT_EQ(Got, Theirs);
    XSetSelectionOwner(Observer, Intern("CLIPBOARD"), XNone, CurrentTime);
    XSync(Observer, False);
    EXPECT_EQ(X11Port().GetClipboardText(), std::nullopt) << "nobody owns it";
}

} // namespace
