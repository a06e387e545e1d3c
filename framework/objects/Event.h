#pragma once

#include "framework/objects/MethodInfo.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// An event property: a handler called with the sending object first (OnClick(Sender), ...).
// A handler bound to a published method of an object remembers that object and the method's
// name, which is what a form description stores; any other callable may be assigned from code
// but is not written to a description.
template <typename... Args>
class TEvent
{
public:
    using THandler = std::function<void(Args...)>;

    TEvent() = default;
    TEvent(std::nullptr_t) {}
    template <typename F>
    requires(!std::is_same_v<std::remove_cvref_t<F>, TEvent> &&
             !std::is_same_v<std::remove_cvref_t<F>, std::nullptr_t> &&
             std::is_invocable_v<F&, Args...>) TEvent(F&& Handler)
        : FHandler(std::forward<F>(Handler))
    {}

    // The published method Name of Target (EComponentError if it is missing or does not fit).
    static TEvent Method(TObject& Target, std::string_view Name)
    {
        TEvent Result;
        Result.Bind(Target, FindPublishedMethod(Target, Name));
        return Result;
    }

    void Bind(TObject& Target, const TMethodInfo& Method)
    {
        FHandler = Method.BindTo<Args...>(Target);
        FTarget = &Target;
        FMethodName = Method.GetName();
    }

    // This event with After called once its handler has run, keeping the object and method it
    // was bound to by name: a hook chained onto a handler leaves it as a form description
    // stores it.
    template <typename F>
    TEvent Then(F After) const
    {
        TEvent Result = *this;
        Result.FHandler = [First = FHandler, After = std::move(After)](Args... A) {
            if (First)
                First(A...);
            After(A...);
        };
        return Result;
    }

    void operator()(Args... A) const
    {
        if (FHandler)
            FHandler(std::forward<Args>(A)...);
    }
    explicit operator bool() const { return bool(FHandler); }
    bool Assigned() const { return bool(FHandler); }

    // The object and method the handler was bound to by name; null and empty otherwise.
    TObject* GetTarget() const { return FTarget; }
    const std::string& GetMethodName() const { return FMethodName; }

private:
    THandler FHandler;
    TObject* FTarget = nullptr;
    std::string FMethodName;
};

using TNotifyEvent = TEvent<TObject* /*Sender*/>;
