#pragma once
// The one way to declare a runtime class whose instances are C++ objects of type T: INIT,
// methods and typed properties by name, each reaching the C++ object through one checked cast.

#include "platform/runtime/object.h"
#include "platform/runtime/runtime_symbols.h"

#include <concepts>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace cuentas {

// The C++ types a property may have, with their runtime values. `from` gives none for a value
// of another type; a property of type Value takes any value.
template <class T> struct PropertyType;

template <> struct PropertyType<Value> {
    static Value to(const Value& value) { return value; }
    static std::optional<Value> from(const Value& value) { return value; }
};
template <> struct PropertyType<std::string> {
    static Value to(const std::string& text) { return Value(text); }
    static std::optional<std::string> from(const Value& value) {
        return value.isString() ? std::optional(std::string(value.asString())) : std::nullopt;
    }
};
template <> struct PropertyType<bool> {
    static Value to(bool flag) { return Value::logic(flag); }
    static std::optional<bool> from(const Value& value) {
        return value.isLogic() ? std::optional(value.asLogic()) : std::nullopt;
    }
};
template <> struct PropertyType<std::int32_t> {
    static Value to(std::int32_t number) { return Value::integer(number); }
    static std::optional<std::int32_t> from(const Value& value) {
        return value.isNumeric() ? std::optional(value.asInteger()) : std::nullopt;
    }
};
template <> struct PropertyType<std::uint32_t> {
    static Value to(std::uint32_t number) { return Value::unsignedNumber(number); }
    static std::optional<std::uint32_t> from(const Value& value) {
        return value.isNumeric() ? std::optional(value.asUnsigned()) : std::nullopt;
    }
};
template <> struct PropertyType<Symbol> {
    static Value to(Symbol symbol) { return Value(symbol); }
    static std::optional<Symbol> from(const Value& value) {
        return value.isSymbol() ? std::optional(value.asSymbol()) : std::nullopt;
    }
};

namespace declaration {

// The type of the value a setter takes: the second parameter of a callable (T&, value), the
// parameter of a member function, or the type of a data member.
template <class F> struct SetterTraits : SetterTraits<decltype(&F::operator())> {};
template <class C, class R, class Self, class A> struct SetterTraits<R (C::*)(Self, A) const> {
    using Argument = std::remove_cvref_t<A>;
};
template <class C, class R, class A> struct SetterTraits<R (C::*)(A)> {
    using Argument = std::remove_cvref_t<A>;
};
template <class C, class M>
requires(!std::is_function_v<M>) struct SetterTraits<M C::*> {
    using Argument = M;
};

template <class T, class Get>
using GetterResult = std::remove_cvref_t<std::invoke_result_t<const Get&, const T&>>;

} // namespace declaration

template <class T> class ClassDeclaration {
public:
    // Declares `name` below `superclass` (empty: none). Instances are made as T; for an abstract
    // T, as the superclass makes them. Declaring a class again adds to the existing declaration.
    explicit ClassDeclaration(std::string_view name, std::string_view superclass = {})
        : m_info(DeclareClass(name, superclass, factory())) {}

    // INIT: `body(T&, Arguments)` prepares a new object; INIT answers the object itself.
    template <class Body> ClassDeclaration& init(Body body) {
        m_info.method(symbols::kInit, [body = std::move(body)](Object& self, Arguments arguments) {
            if (T* object = dynamic_cast<T*>(&self)) {
                body(*object, arguments);
            }
            return Value(self.reference());
        });
        return *this;
    }

    // A method. `body(T&, Arguments)` answers the call, and an instance that is not a T (made
    // by another class's factory) answers nil; a body taking Object& answers for any instance.
    template <class Body> ClassDeclaration& method(std::string_view name, Body body) {
        if constexpr (std::is_invocable_v<Body&, Object&, Arguments>) {
            m_info.method(name, std::move(body));
        } else {
            m_info.method(name, [body = std::move(body)](Object& self, Arguments arguments) {
                T* object = dynamic_cast<T*>(&self);
                return object ? Value(body(*object, arguments)) : Value();
            });
        }
        return *this;
    }

    // A read-only property. `get` is a data member of T, a const member function or a callable
    // taking const T&, and gives one of the PropertyType types. An instance that is not a T
    // reads the empty value of that type.
    template <class Get> ClassDeclaration& property(std::string_view name, Get get) {
        m_info.property(name, getter(std::move(get)));
        return *this;
    }

    // An assignable property. `set` is a data member of T, a member function or a callable
    // taking T& and the new value, either as the property's C++ type (a value of another type
    // leaves the property as it is) or as a Value (the setter decides what it takes). The
    // assignment answers the property's value after it.
    template <class Get, class Set>
    ClassDeclaration& property(std::string_view name, Get get, Set set) {
        using Result = declaration::GetterResult<T, Get>;
        using Argument = typename declaration::SetterTraits<Set>::Argument;
        PropertyGetter read = getter(std::move(get));
        m_info.property(name, read, [read, set = std::move(set)](Object& self, const Value& value) {
            T* object = dynamic_cast<T*>(&self);
            if (!object) {
                return PropertyType<Result>::to(Result{});
            }
            if (auto typed = PropertyType<Argument>::from(value)) {
                if constexpr (std::is_member_object_pointer_v<Set>) {
                    std::invoke(set, *object) = std::move(*typed);
                } else {
                    std::invoke(set, *object, std::move(*typed));
                }
            }
            return read(*object);
        });
        return *this;
    }

private:
    static ObjectFactory factory() {
        if constexpr (std::is_abstract_v<T>) {
            return {};
        } else {
            return [](const ClassInfo& info) { return std::make_shared<T>(info); };
        }
    }

    template <class Get> static PropertyGetter getter(Get get) {
        using Result = declaration::GetterResult<T, Get>;
        return [get = std::move(get)](const Object& self) {
            const T* object = dynamic_cast<const T*>(&self);
            return object ? PropertyType<Result>::to(std::invoke(get, *object))
                          : PropertyType<Result>::to(Result{});
        };
    }

    ClassInfo& m_info;
};

} // namespace cuentas
