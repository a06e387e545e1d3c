#pragma once

#include "platform/Platform.h"

#include <functional>
#include <string>
#include <vector>

// Writes every event a native window delivers as one line of text, so that tests compare whole
// sequences: "down L 8 10,20", "keydown 65 0", "char 97", "moved 0,0,40,30", ...
class TEventRecorder : public TPlatformWindowEvents
{
public:
    std::vector<std::string> Log;
    std::function<void(const TRect&)> OnExpose; // run after an exposure is logged

    void HandleMouseDown(TMouseButton Button, unsigned Shift, TPoint P) override
    {
        Add("down " + Name(Button) + " " + std::to_string(Shift) + " " + Text(P));
    }
    void HandleMouseUp(TMouseButton Button, unsigned Shift, TPoint P) override
    {
        Add("up " + Name(Button) + " " + std::to_string(Shift) + " " + Text(P));
    }
    void HandleMouseMove(unsigned Shift, TPoint P) override
    {
        Add("move " + std::to_string(Shift) + " " + Text(P));
    }
    void HandleKeyDown(unsigned Key, unsigned Shift) override
    {
        Add("keydown " + std::to_string(Key) + " " + std::to_string(Shift));
    }
    void HandleKeyUp(unsigned Key, unsigned Shift) override
    {
        Add("keyup " + std::to_string(Key) + " " + std::to_string(Shift));
    }
    void HandleChar(char32_t C) override { Add("char " + std::to_string(unsigned(C))); }
    void HandleExpose(const TRect& R) override
    {
        Add("expose " + Text(R));
        if (OnExpose)
            OnExpose(R);
    }
    void HandleMoved(const TRect& R) override { Add("moved " + Text(R)); }
    void HandleFocus(bool Gained) override { Add(Gained ? "focus 1" : "focus 0"); }
    void HandleCaptureLost() override { Add("capturelost"); }
    void HandleCloseRequest() override { Add("close"); }

    // The lines that start with Prefix, in order.
    std::vector<std::string> Only(const std::string& Prefix) const
    {
        std::vector<std::string> Lines;
        for (const std::string& Line : Log)
            if (Line.rfind(Prefix, 0) == 0)
                Lines.push_back(Line);
        return Lines;
    }

private:
    void Add(std::string Line) { Log.push_back(std::move(Line)); }
    static std::string Name(TMouseButton B)
    {
        return B == TMouseButton::Left ? "L" : B == TMouseButton::Right ? "R" : "M";
    }
    static std::string Text(TPoint P) { return std::to_string(P.X) + "," + std::to_string(P.Y); }
    static std::string Text(const TRect& R)
    {
        return std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
               std::to_string(R.Right) + "," + std::to_string(R.Bottom);
    }
};
