#pragma once
// The object model: classes declared by symbol, with methods and properties reached by symbol
// (Send, IVarGet, IVarPut), instance creation by class symbol, and superclass calls.

#include "platform/runtime/source_location.h"
#include "platform/runtime/value.h"

#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cuentas {

class ClassInfo;

class Object : public std::enable_shared_from_this<Object> {
public:
    explicit Object(const ClassInfo& classInfo) : class_(&classInfo) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    const ClassInfo& classInfo() const { return *class_; }
    ObjectRef reference() { return shared_from_this(); }

private:
    const ClassInfo* class_;
};

using MethodBody = std::function<Value(Object& self, Arguments arguments)>;

// The argument at 0-based `index`, or nil when the caller passed fewer: every argument of a
// method is optional.
inline Value argumentAt(Arguments arguments, std::size_t index) {
    return index < arguments.size() ? arguments[index] : Value();
}
using PropertyGetter = std::function<Value(const Object& self)>;
// Returns the property's value after the assignment.
using PropertySetter = std::function<Value(Object& self, const Value& value)>;
using ObjectFactory = std::function<ObjectRef(const ClassInfo& classInfo)>;

class ClassInfo {
public:
    ClassInfo(Symbol name, const ClassInfo* superclass, ObjectFactory factory);

    Symbol name() const { return name_; }
    const ClassInfo* superclass() const { return superclass_; }
    bool isKindOf(Symbol className) const;

    // Declarations; a second declaration of the same name replaces the first.
    ClassInfo& method(std::string_view name, MethodBody body);
    ClassInfo& method(Symbol name, MethodBody body);
    // A property without a setter is read-only.
    ClassInfo& property(std::string_view name, PropertyGetter get, PropertySetter set = {});

    // Lookups walk up the superclasses.
    const MethodBody* findMethod(Symbol name) const;
    const MethodBody* findOwnMethod(Symbol name) const { return find(methods_, name); }
    const PropertyGetter* findGetter(Symbol name) const;
    const PropertySetter* findSetter(Symbol name) const;
    // Properties in declaration order, superclass properties first.
    std::vector<Symbol> properties() const;

    ObjectRef instantiate() const { return factory_(*this); }
    const ObjectFactory& factory() const { return factory_; }

private:
    template <class Map> static const typename Map::mapped_type* find(const Map& map, Symbol name) {
        auto found = map.find(name);
        return found == map.end() ? nullptr : &found->second;
    }

    Symbol name_;
    const ClassInfo* superclass_;
    ObjectFactory factory_;
    std::unordered_map<Symbol, MethodBody> methods_;
    std::unordered_map<Symbol, PropertyGetter> getters_;
    std::unordered_map<Symbol, PropertySetter> setters_;
    std::vector<Symbol> propertyOrder_;
};

// Declares a class under `name`, below `superclass` (empty: none). Declaring a class again
// returns the existing declaration. Without a factory, instances are made as the superclass
// makes them (a plain Object for a class without one).
ClassInfo& DeclareClass(std::string_view name, std::string_view superclass = {},
                        ObjectFactory factory = {});
const ClassInfo* findClass(Symbol name);

// Creates an instance and runs its INIT (when the class has one) with the arguments.
// An unknown class raises a runtime error and gives the null object.
ObjectRef CreateInstance(Symbol className, Arguments arguments = {},
                         SourceLocation where = SourceLocation::current());

// Calls a method by symbol. A missing method, or a receiver that is not an object, raises
// a runtime error; the error block's answer is the result.
Value Send(const Value& receiver, Symbol method, Arguments arguments = {},
           SourceLocation where = SourceLocation::current());
// Calls the version of `method` that the superclass of `fromClass` provides.
Value SendClass(Object& self, Symbol fromClass, Symbol method, Arguments arguments = {});

Value IVarGet(const Value& receiver, Symbol property,
              SourceLocation where = SourceLocation::current());
Value IVarPut(const Value& receiver, Symbol property, const Value& value,
              SourceLocation where = SourceLocation::current());

bool IsInstanceOf(const Value& value, Symbol className);

// The C++ object behind a value, when it is of class T (nullptr otherwise).
template <class T> T* objectAs(const Value& value) {
    return dynamic_cast<T*>(value.asObject().get());
}

} // namespace cuentas
