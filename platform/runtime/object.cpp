#include "platform/runtime/object.h"

#include "platform/runtime/call_stack.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/runtime_symbols.h"

#include <map>

namespace cuentas {

ClassInfo::ClassInfo(Symbol name, const ClassInfo* superclass, ObjectFactory factory)
    : name_(name), superclass_(superclass), factory_(std::move(factory)) {}

bool ClassInfo::isKindOf(Symbol className) const {
    for (const ClassInfo* c = this; c; c = c->superclass_) {
        if (c->name_ == className) {
            return true;
        }
    }
    return false;
}

ClassInfo& ClassInfo::method(std::string_view name, MethodBody body) {
    return method(Symbol::intern(name), std::move(body));
}

ClassInfo& ClassInfo::method(Symbol name, MethodBody body) {
    methods_[name] = std::move(body);
    return *this;
}

ClassInfo& ClassInfo::property(std::string_view name, PropertyGetter get, PropertySetter set) {
    Symbol symbol = Symbol::intern(name);
    if (!getters_.contains(symbol)) {
        propertyOrder_.push_back(symbol);
    }
    getters_[symbol] = std::move(get);
    if (set) {
        setters_[symbol] = std::move(set);
    } else {
        setters_.erase(symbol);
    }
    return *this;
}

const MethodBody* ClassInfo::findMethod(Symbol name) const {
    for (const ClassInfo* c = this; c; c = c->superclass_) {
        if (const auto* body = find(c->methods_, name)) {
            return body;
        }
    }
    return nullptr;
}

const PropertyGetter* ClassInfo::findGetter(Symbol name) const {
    for (const ClassInfo* c = this; c; c = c->superclass_) {
        if (const auto* get = find(c->getters_, name)) {
            return get;
        }
    }
    return nullptr;
}

const PropertySetter* ClassInfo::findSetter(Symbol name) const {
    for (const ClassInfo* c = this; c; c = c->superclass_) {
        if (c->getters_.contains(name)) {
            return find(c->setters_, name); // declared here: read-only when it has no setter
        }
    }
    return nullptr;
}

std::vector<Symbol> ClassInfo::properties() const {
    std::vector<Symbol> order = superclass_ ? superclass_->properties() : std::vector<Symbol>();
    order.insert(order.end(), propertyOrder_.begin(), propertyOrder_.end());
    return order;
}

namespace {

std::map<Symbol, std::unique_ptr<ClassInfo>>& registry() {
    static std::map<Symbol, std::unique_ptr<ClassInfo>> classes;
    return classes;
}

Value raiseObjectError(std::uint32_t genCode, Symbol name, const std::string& description,
                       const Value& receiver) {
    RuntimeError error;
    error.subsystem = "BASE";
    error.genCode = genCode;
    error.funcSym = name;
    error.description = description;
    error.arg = name.name();
    error.argType = receiver.typeNumber();
    error.canDefault = true;
    error.canSubstitute = true;
    return raiseError(error);
}

} // namespace

ClassInfo& DeclareClass(std::string_view name, std::string_view superclass, ObjectFactory factory) {
    Symbol symbol = Symbol::intern(name);
    auto& classes = registry();
    if (auto found = classes.find(symbol); found != classes.end()) {
        return *found->second;
    }
    const ClassInfo* parent = superclass.empty() ? nullptr : findClass(Symbol::intern(superclass));
    if (!factory && parent) {
        factory = parent->factory(); // a subclass is built as its superclass's C++ type
    }
    if (!factory) {
        factory = [](const ClassInfo& info) { return std::make_shared<Object>(info); };
    }
    auto info = std::make_unique<ClassInfo>(symbol, parent, std::move(factory));
    return *classes.emplace(symbol, std::move(info)).first->second;
}

const ClassInfo* findClass(Symbol name) {
    auto& classes = registry();
    auto found = classes.find(name);
    return found == classes.end() ? nullptr : found->second.get();
}

ObjectRef CreateInstance(Symbol className, Arguments arguments, SourceLocation where) {
    noteCallSite(where);
    const ClassInfo* info = findClass(className);
    if (!info) {
        raiseObjectError(gencode::kNoMethod, className, "Unknown class", Value(className));
        return nullptr;
    }
    ObjectRef object = info->instantiate();
    if (const MethodBody* init = info->findMethod(symbols::kInit)) {
        (*init)(*object, arguments);
    }
    return object;
}

Value Send(const Value& receiver, Symbol method, Arguments arguments, SourceLocation where) {
    noteCallSite(where);
    const ObjectRef& object = receiver.asObject();
    if (!object) {
        return raiseObjectError(gencode::kNotObject, method, "Message sent to a non-object",
                                receiver);
    }
    const MethodBody* body = object->classInfo().findMethod(method);
    if (!body) {
        return raiseObjectError(gencode::kNoMethod, method, "No exported method", receiver);
    }
    return (*body)(*object, arguments);
}

Value SendClass(Object& self, Symbol fromClass, Symbol method, Arguments arguments) {
    const ClassInfo* from = findClass(fromClass);
    const ClassInfo* parent = from ? from->superclass() : nullptr;
    const MethodBody* body = parent ? parent->findMethod(method) : nullptr;
    if (!body) {
        return raiseObjectError(gencode::kNoMethod, method, "No exported method",
                                Value(self.reference()));
    }
    return (*body)(self, arguments);
}

Value IVarGet(const Value& receiver, Symbol property, SourceLocation where) {
    noteCallSite(where);
    const ObjectRef& object = receiver.asObject();
    if (!object) {
        return raiseObjectError(gencode::kNotObject, property, "Property read of a non-object",
                                receiver);
    }
    const PropertyGetter* get = object->classInfo().findGetter(property);
    if (!get) {
        return raiseObjectError(gencode::kNoProperty, property, "No exported variable", receiver);
    }
    return (*get)(*object);
}

Value IVarPut(const Value& receiver, Symbol property, const Value& value, SourceLocation where) {
    noteCallSite(where);
    const ObjectRef& object = receiver.asObject();
    if (!object) {
        return raiseObjectError(gencode::kNotObject, property,
                                "Property assignment to a non-object", receiver);
    }
    const PropertySetter* set = object->classInfo().findSetter(property);
    if (!set) {
        return raiseObjectError(gencode::kNoProperty, property, "No assignable variable", receiver);
    }
    return (*set)(*object, value);
}

bool IsInstanceOf(const Value& value, Symbol className) {
    const ObjectRef& object = value.asObject();
    return object && object->classInfo().isKindOf(className);
}

} // namespace cuentas
