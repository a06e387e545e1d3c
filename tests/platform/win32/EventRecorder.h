#pragma once

#include "platform/Platform.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Writes every event a native window delivers as one line of text, so that tests compare whole
// sequences: "down L Shift+Left 10,20", "keydown 65 -", "char 97", "moved 0,0,40,30", ...
class TEventRecorder : public TPlatformWindowEvents
{
public:
    std::vector<std::string> Log;
    std::function<void(const TRect&)> OnExpose; // run after an exposure is logged

    void HandleInput(const TInputEvent& E) override
    {
        const std::string Held = Text(E.Modifiers);
        switch (E.Kind) {
        case TInputKind::MouseDown:
            return Add("down " + Name(E.Button) + " " + Held + " " + Text(E.Client));
        case TInputKind::DoubleClick:
            return Add("dblclick " + Name(E.Button) + " " + Held + " " + Text(E.Client));
        case TInputKind::MouseUp:
            return Add("up " + Name(E.Button) + " " + Held + " " + Text(E.Client));
        case TInputKind::MouseMove:
            return Add("move " + Held + " " + Text(E.Client));
        case TInputKind::KeyDown:
            return Add("keydown " + std::to_string(E.Key) + " " + Held);
        case TInputKind::KeyUp:
            return Add("keyup " + std::to_string(E.Key) + " " + Held);
        case TInputKind::Character:
            return Add("char " + std::to_string(unsigned(E.Character)));
        }
    }
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
    // The modifiers by name, joined by '+'; "-" for none.
    static std::string Text(TInputModifiers M)
    {
        static const std::pair<TInputModifier, const char*> Names[] = {
            {TInputModifier::Shift, "Shift"},       {TInputModifier::Ctrl, "Ctrl"},
            {TInputModifier::Alt, "Alt"},           {TInputModifier::LeftButton, "Left"},
            {TInputModifier::RightButton, "Right"}, {TInputModifier::MiddleButton, "Middle"}};
        std::string Joined;
        for (const auto& [Modifier, Name] : Names)
            if (M.Contains(Modifier))
                Joined += (Joined.empty() ? "" : "+") + std::string(Name);
        return Joined.empty() ? "-" : Joined;
    }
    static std::string Text(TPoint P) { return std::to_string(P.X) + "," + std::to_string(P.Y); }
    static std::string Text(const TRect& R)
    {
        return std::to_string(R.Left) + "," + std::to_string(R.Top) + "," +
               std::to_string(R.Right) + "," + std::to_string(R.Bottom);
    }
};
