#pragma once

#include <any>
#include <functional>
#include <string>
#include <string_view>
#include <typeindex>
#include <utility>

class TObject;

// A published method of a class: what a form description names as an event handler
// (`OnCreate = FormCreate`). The signature is that of an event, `void(Args...)`, so a handler
// binds only to an event of the same shape.
class TMethodInfo
{
public:
    // Bind turns an instance into a std::function<void(Args...)> held in a std::any; it throws
    // EComponentError for an instance of an unrelated class.
    TMethodInfo(std::string Name, std::type_index Signature, std::function<std::any(TObject&)> Bind)
        : FName(std::move(Name)), FSignature(Signature), FBind(std::move(Bind))
    {}

    const std::string& GetName() const { return FName; }
    std::type_index GetSignature() const { return FSignature; }

    template <typename... Args>
    bool Fits() const
    {
        return FSignature == std::type_index(typeid(void(Args...)));
    }

    // The method bound to Target; EComponentError when the signature is not void(Args...).
    template <typename... Args>
    std::function<void(Args...)> BindTo(TObject& Target) const
    {
        if (!Fits<Args...>())
            ThrowSignatureMismatch();
        return std::any_cast<std::function<void(Args...)>>(FBind(Target));
    }

private:
    [[noreturn]] void ThrowSignatureMismatch() const;

    std::string FName;
    std::type_index FSignature;
    std::function<std::any(TObject&)> FBind;
};

// The published method Name of Target's class or of one of its ancestors (names compare without
// regard to case); EComponentError when there is none.
const TMethodInfo& FindPublishedMethod(const TObject& Target, std::string_view Name);
