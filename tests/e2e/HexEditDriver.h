#pragma once

// The hex editor program as a process of its own, driven by hardware keys as a user would: one
// driver per port (X11: XTest on an observer connection; Windows: SendInput), so that the
// program's scenarios are written once.

#include <memory>
#include <string>

enum class TProgramKey
{
    Enter,
    Escape,
    Tab,
    F3
};

class THexEditDriver
{
public:
    virtual ~THexEditDriver() = default;

    // Starts the program on File (a path of the system's kind).
    virtual void Start(const std::string& File) = 0;
    virtual bool Running() = 0;
    // Whether the program shows a top-level window of this title now.
    virtual bool HasWindow(const std::string& Title) = 0;
    // Waits for the window of this title and gives it the keyboard, as a window manager would;
    // false when it did not show.
    virtual bool Focus(const std::string& Title) = 0;
    virtual void Press(TProgramKey Key) = 0;
    // The letter's key with Ctrl, or with Alt, held.
    virtual void Control(char Letter) = 0;
    virtual void Alt(char Letter) = 0;
    // Digits, letters (capitals with Shift), '/', '.' and '-' as their keys type them.
    virtual void Type(const std::string& Text) = 0;
    // The close box of the window of this title, as the desktop reports it.
    virtual void CloseWindow(const std::string& Title) = 0;
};

std::unique_ptr<THexEditDriver> MakeHexEditDriver();
