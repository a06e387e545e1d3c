#pragma once

#include "base/Set.h"
#include "framework/objects/ClassInfo.h"
#include "framework/objects/Event.h"
#include "framework/objects/Object.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

class TPersistent;
class TComponent;

namespace PropAccess {

[[noreturn]] void ThrowWrongComponentClass(const TComponent* Value, const char* Expected);
[[noreturn]] void ThrowWrongInstance(const TObject& Instance, const char* Expected);

template <typename V>
struct TIsSet : std::false_type
{};
template <typename E>
struct TIsSet<TSet<E>> : std::true_type
{};

template <typename V>
struct TEventTraits;
template <typename... A>
struct TEventTraits<TEvent<A...>>
{
    using TSignature = void(A...);
};

// A getter is a const member function, a data member or a callable taking const T&.
template <typename T, typename G>
decltype(auto) Get(const G& Getter, const T& Instance)
{
    return std::invoke(Getter, Instance);
}

// A setter is a member function, a data member or a callable taking (T&, value).
template <typename T, typename S, typename V>
void Set(const S& Setter, T& Instance, V&& Value)
{
    if constexpr (std::is_member_object_pointer_v<S>)
        Instance.*Setter = std::forward<V>(Value);
    else
        std::invoke(Setter, Instance, std::forward<V>(Value));
}

template <typename V>
std::int64_t ToOrdinal(const V& Value)
{
    if constexpr (TIsSet<V>::value)
        return std::int64_t(Value.GetBits());
    else if constexpr (std::is_enum_v<V>)
        return std::int64_t(static_cast<std::underlying_type_t<V>>(Value));
    else
        return std::int64_t(Value);
}

template <typename V>
V FromOrdinal(std::int64_t Value)
{
    if constexpr (TIsSet<V>::value)
        return V::FromBits(std::uint64_t(Value));
    else if constexpr (std::is_same_v<V, bool>)
        return Value != 0;
    else
        return static_cast<V>(Value);
}

// A sub-object getter may give a pointer, a reference or a smart pointer.
template <typename R>
TPersistent* AsPersistent(R&& Value)
{
    using U = std::remove_cvref_t<R>;
    if constexpr (std::is_pointer_v<U>)
        return Value;
    else if constexpr (requires { Value.get(); })
        return Value.get();
    else
        return &Value;
}

} // namespace PropAccess

// The declaration of T's published properties and methods, handed to T::DeclareClass. Each
// property method takes the name, a getter and a setter (member functions, data members or
// callables) and returns the property for modifiers such as .Default(1).
template <typename T>
class TClassDeclaration
{
public:
    explicit TClassDeclaration(TClassInfo& Info) : FInfo(Info) {}

    template <typename G, typename S>
    TPropInfo& Integer(std::string Name, G Getter, S Setter)
    {
        return Ordinal<std::int32_t>(std::move(Name), TPropKind::Integer, Getter, Setter, {});
    }
    template <typename G, typename S>
    TPropInfo& Unsigned(std::string Name, G Getter, S Setter)
    {
        return Ordinal<std::uint32_t>(std::move(Name), TPropKind::Unsigned, Getter, Setter, {});
    }
    template <typename G, typename S>
    TPropInfo& Boolean(std::string Name, G Getter, S Setter)
    {
        return Ordinal<bool>(std::move(Name), TPropKind::Boolean, Getter, Setter, {});
    }
    template <typename G, typename S>
    TPropInfo& Color(std::string Name, G Getter, S Setter)
    {
        return Ordinal<TColor>(std::move(Name), TPropKind::Color, Getter, Setter, {});
    }
    // E is the enumeration (or integer) type the setter takes; Names are by ordinal from 0.
    template <typename E, typename G, typename S>
    TPropInfo& Enumeration(std::string Name, G Getter, S Setter, std::vector<std::string> Names)
    {
        return Ordinal<E>(std::move(Name), TPropKind::Enumeration, Getter, Setter,
                          std::move(Names));
    }
    // V is TSet<E> or an integer bit mask; Names name the bits from bit 0 (at most 32).
    template <typename V, typename G, typename S>
    TPropInfo& Set(std::string Name, G Getter, S Setter, std::vector<std::string> Names)
    {
        return Ordinal<V>(std::move(Name), TPropKind::Set, Getter, Setter, std::move(Names));
    }

    template <typename G, typename S>
    TPropInfo& String(std::string Name, G Getter, S Setter)
    {
        TPropInfo Info(std::move(Name), TPropKind::String);
        Info.FGetString = [Getter](const TPersistent& I) {
            return std::string(PropAccess::Get(Getter, Cast(I)));
        };
        Info.FSetString = [Setter](TPersistent& I, const std::string& V) {
            PropAccess::Set(Setter, Cast(I), V);
        };
        return FInfo.AddProperty(std::move(Info));
    }

    template <typename G, typename S>
    TPropInfo& Strings(std::string Name, G Getter, S Setter)
    {
        TPropInfo Info(std::move(Name), TPropKind::StringList);
        Info.FGetStrings = [Getter](const TPersistent& I) {
            return std::vector<std::string>(PropAccess::Get(Getter, Cast(I)));
        };
        Info.FSetStrings = [Setter](TPersistent& I, const std::vector<std::string>& V) {
            PropAccess::Set(Setter, Cast(I), V);
        };
        return FInfo.AddProperty(std::move(Info));
    }

    // A reference to a component of class C (not owned); the getter gives and the setter takes
    // a C*.
    template <typename C, typename G, typename S>
    TPropInfo& Component(std::string Name, G Getter, S Setter)
    {
        TPropInfo Info(std::move(Name), TPropKind::Component);
        Info.FComponentClassName = C::StaticClassName;
        Info.FGetComponent = [Getter](const TPersistent& I) -> TComponent* {
            return PropAccess::Get(Getter, Cast(I));
        };
        Info.FSetComponent = [Setter, Class = C::StaticClassName](TPersistent& I, TComponent* V) {
            C* Typed = dynamic_cast<C*>(V);
            if (V && !Typed)
                PropAccess::ThrowWrongComponentClass(V, Class);
            PropAccess::Set(Setter, Cast(I), Typed);
        };
        Info.FAccepts = [](TComponent* V) { return !V || dynamic_cast<C*>(V) != nullptr; };
        return FInfo.AddProperty(std::move(Info));
    }

    // An owned sub-object (Font, Picture): the getter gives it; there is no setter.
    template <typename G>
    TPropInfo& Persistent(std::string Name, G Getter)
    {
        TPropInfo Info(std::move(Name), TPropKind::Persistent);
        Info.FGetSubObject = [Getter](TPersistent& I) -> TPersistent* {
            return PropAccess::AsPersistent(std::invoke(Getter, Cast(I)));
        };
        return FInfo.AddProperty(std::move(Info));
    }

    // An event held in a data member of type TEvent<A...>.
    template <typename C, typename... A>
    TPropInfo& Event(std::string Name, TEvent<A...> C::*Field)
    {
        return Event<TEvent<A...>>(std::move(Name), Field, Field);
    }
    // An event with a getter giving E (a TEvent) and a setter taking it.
    template <typename E, typename G, typename S>
    TPropInfo& Event(std::string Name, G Getter, S Setter)
    {
        TPropInfo Info(std::move(Name), TPropKind::Event);
        Info.FEventSignature = typeid(typename PropAccess::TEventTraits<E>::TSignature);
        Info.FGetEventTarget = [Getter](const TPersistent& I) {
            return E(PropAccess::Get(Getter, Cast(I))).GetTarget();
        };
        Info.FGetEventMethod = [Getter](const TPersistent& I) {
            return E(PropAccess::Get(Getter, Cast(I))).GetMethodName();
        };
        Info.FSetEvent = [Setter](TPersistent& I, TObject* Target, const TMethodInfo* Method) {
            E Value;
            if (Target && Method)
                Value.Bind(*Target, *Method);
            PropAccess::Set(Setter, Cast(I), std::move(Value));
        };
        return FInfo.AddProperty(std::move(Info));
    }

    // A method that form descriptions may name as an event handler.
    template <typename C, typename... A>
    void RegisterMethod(std::string Name, void (C::*Method)(A...))
    {
        static_assert(std::is_base_of_v<C, T>, "the method must belong to the class or a base");
        FInfo.AddMethod(TMethodInfo(std::move(Name), typeid(void(A...)), [Method](TObject& O) {
            C* Instance = dynamic_cast<C*>(&O);
            if (!Instance)
                PropAccess::ThrowWrongInstance(O, C::StaticClassName);
            return std::any(std::function<void(A...)>(
                [Instance, Method](A... Args) { (Instance->*Method)(std::forward<A>(Args)...); }));
        }));
    }

private:
    static const T& Cast(const TPersistent& Instance) { return static_cast<const T&>(Instance); }
    static T& Cast(TPersistent& Instance) { return static_cast<T&>(Instance); }

    template <typename V, typename G, typename S>
    TPropInfo& Ordinal(std::string Name, TPropKind Kind, G Getter, S Setter,
                       std::vector<std::string> Names)
    {
        static_assert(std::is_base_of_v<TPersistent, T>, "properties belong to TPersistent");
        TPropInfo Info(std::move(Name), Kind);
        Info.FNames = std::move(Names);
        Info.FGetOrdinal = [Getter](const TPersistent& I) {
            return PropAccess::ToOrdinal(PropAccess::Get(Getter, Cast(I)));
        };
        Info.FSetOrdinal = [Setter](TPersistent& I, std::int64_t Value) {
            PropAccess::Set(Setter, Cast(I), PropAccess::FromOrdinal<V>(Value));
        };
        return FInfo.AddProperty(std::move(Info));
    }

    TClassInfo& FInfo;
};

template <typename T>
const TClassInfo& ClassInfoOf()
{
    static_assert(std::is_same_v<typename T::TSelf, T>, "the class lacks PUBLISHED_CLASS");
    static const TClassInfo Info = [] {
        const TClassInfo* Parent = nullptr;
        if constexpr (!std::is_same_v<typename T::TInherited, T>) {
            static_assert(std::is_base_of_v<typename T::TInherited, T>);
            Parent = &ClassInfoOf<typename T::TInherited>();
        }
        TClassInfo Result(T::StaticClassName, Parent);
        if constexpr (std::is_base_of_v<TComponent, T>) {
            Result.FComponentClass = true;
            if constexpr (!std::is_abstract_v<T> && std::is_constructible_v<T, TComponent*>)
                Result.FFactory = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
        }
        if constexpr (requires(TClassDeclaration<T> & D) { T::DeclareClass(D); }) {
            TClassDeclaration<T> D(Result);
            T::DeclareClass(D);
        }
        return Result;
    }();
    return Info;
}
