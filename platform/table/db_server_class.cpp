#include "platform/runtime/process.h"
#include "platform/runtime/raise.h"
#include "platform/table/db_server.h"

#include <limits>

namespace cuentas {
namespace {

// Methods reach the C++ object through the class; an instance made by another factory (a
// subclass declared without one) is not a table and reads as a closed one.
DbServer* server(Object& self) {
    return dynamic_cast<DbServer*>(&self);
}
const DbServer* server(const Object& self) {
    return dynamic_cast<const DbServer*>(&self);
}

Value countValue(std::uint32_t count) {
    if (count <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
        return Value::integer(static_cast<std::int32_t>(count));
    }
    return Value::number(count, 0);
}

// A call with an argument of the wrong kind; the answer is the method's result when it is a
// substitute, nil otherwise.
Value argumentError(const char* method, const std::string& description, const Value& argument,
                    std::uint32_t typeRequired) {
    RuntimeError error;
    error.subsystem = kTableDriver;
    error.genCode = gencode::kArgument;
    error.operation = method;
    error.funcSym = Symbol::intern(std::string("DBSERVER:") + method);
    error.description = description;
    error.args = {argument};
    error.argNum = 1;
    error.argType = argument.typeNumber();
    error.argTypeReq = typeRequired;
    error.canDefault = true;
    error.canSubstitute = true;
    error.substituteType = typeRequired;
    Value answer = raiseError(error);
    return answerIsSubstitute(answer, error) ? answer : Value();
}

struct Access {
    const char* name;
    Value (*read)(const DbServer& table);
};

// Read-only states, each both a method and a property.
constexpr Access kAccesses[] = {
    {"RECCOUNT", [](const DbServer& t) { return countValue(t.recordCount()); }},
    {"RECNO", [](const DbServer& t) { return countValue(t.recordNumber()); }},
    {"EOF", [](const DbServer& t) { return Value::logic(t.atEnd()); }},
    {"BOF", [](const DbServer& t) { return Value::logic(t.atBeginning()); }},
    {"DELETED", [](const DbServer& t) { return Value::logic(t.isDeleted()); }},
};

Value init(Object& self, Arguments args) {
    DbServer* table = server(self);
    Value name = args.empty() ? Value() : args[0];
    if (table && (!name.isString() || name.asString().empty())) {
        argumentError("INIT", "DBSERVER needs a file name", name,
                      static_cast<std::uint32_t>(Type::String));
    } else if (table) {
        table->open(name.asString());
    }
    return Value(self.reference());
}

Value skip(Object& self, Arguments args) {
    DbServer* table = server(self);
    if (!table) {
        return Value::logic(false);
    }
    Value count = args.empty() ? Value() : args[0];
    if (count.isNil()) {
        table->skip(1);
    } else if (count.isNumeric()) {
        table->skip(count.asWholeNumber());
    } else {
        argumentError("SKIP", "SKIP needs a number of records", count,
                      static_cast<std::uint32_t>(Type::Integer));
    }
    return Value::logic(table->isOpen());
}

Value fieldGet(Object& self, Arguments args) {
    DbServer* table = server(self);
    Value field = args.empty() ? Value() : args[0];
    if (!table) {
        return Value();
    }
    if (field.isSymbol()) {
        return table->fieldGet(field.asSymbol());
    }
    if (field.isString()) {
        return table->fieldGet(Symbol::intern(field.asString()));
    }
    return argumentError("FIELDGET", "FIELDGET needs a field name", field,
                         static_cast<std::uint32_t>(Type::Symbol));
}

} // namespace

void declareTableClasses() {
    // The error handler closes every table before it ends the process, without knowing us.
    static const std::uint32_t closer = addTableCloser([] { DbCloseAll(); });
    static_cast<void>(closer);
    ClassInfo& info = DeclareClass("DBSERVER", {}, [](const ClassInfo& classInfo) {
        return std::make_shared<DbServer>(classInfo);
    });
    for (const Access& access : kAccesses) {
        auto read = access.read;
        info.method(access.name, [read](Object& self, Arguments) {
            const DbServer* table = server(self);
            return table ? read(*table) : Value();
        });
        info.property(access.name, [read](const Object& self) {
            const DbServer* table = server(self);
            return table ? read(*table) : Value();
        });
    }
    info.method("INIT", init)
        .method("SKIP", skip)
        .method("FIELDGET", fieldGet)
        .method("CLOSE",
                [](Object& self, Arguments) {
                    if (DbServer* table = server(self)) {
                        table->close();
                    }
                    return Value::logic(true);
                })
        .method("GOTOP", [](Object& self, Arguments) {
            DbServer* table = server(self);
            if (table) {
                table->goTop();
            }
            return Value::logic(table && table->isOpen());
        });
}

} // namespace cuentas
