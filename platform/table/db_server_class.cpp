#include "platform/runtime/class_declaration.h"
#include "platform/runtime/process.h"
#include "platform/runtime/raise.h"
#include "platform/table/db_server.h"

#include <limits>

namespace cuentas {
namespace {

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

void init(DbServer& table, Arguments args) {
    Value name = argumentAt(args, 0);
    if (!name.isString() || name.asString().empty()) {
        argumentError("INIT", "DBSERVER needs a file name", name,
                      static_cast<std::uint32_t>(Type::String));
    } else {
        table.open(std::string(name.asString()));
    }
}

Value skip(DbServer& table, Arguments args) {
    Value count = argumentAt(args, 0);
    if (count.isNil()) {
        table.skip(1);
    } else if (count.isNumeric()) {
        table.skip(count.asWholeNumber());
    } else {
        argumentError("SKIP", "SKIP needs a number of records", count,
                      static_cast<std::uint32_t>(Type::Integer));
    }
    return Value::logic(table.isOpen());
}

Value fieldGet(DbServer& table, Arguments args) {
    Value field = argumentAt(args, 0);
    if (field.isSymbol()) {
        return table.fieldGet(field.asSymbol());
    }
    if (field.isString()) {
        return table.fieldGet(Symbol::intern(field.asString()));
    }
    return argumentError("FIELDGET", "FIELDGET needs a field name", field,
                         static_cast<std::uint32_t>(Type::Symbol));
}

} // namespace

void declareTableClasses() {
    // The error handler closes every table before it ends the process, without knowing us.
    static const std::uint32_t closer = addTableCloser([] { DbCloseAll(); });
    static_cast<void>(closer);
    ClassDeclaration<DbServer> declaration("DBSERVER");
    for (const Access& access : kAccesses) {
        declaration.method(
            access.name, [read = access.read](DbServer& table, Arguments) { return read(table); });
        declaration.property(access.name, access.read);
    }
    declaration.init(init)
        .method("FIELDGET", fieldGet)
        // An instance made by another class's factory is not a table and answers as a closed one.
        .method("SKIP",
                [](Object& self, Arguments args) {
                    DbServer* table = dynamic_cast<DbServer*>(&self);
                    return table ? skip(*table, args) : Value::logic(false);
                })
        .method("CLOSE",
                [](Object& self, Arguments) {
                    if (auto* table = dynamic_cast<DbServer*>(&self)) {
                        table->close();
                    }
                    return Value::logic(true);
                })
        .method("GOTOP", [](Object& self, Arguments) {
            auto* table = dynamic_cast<DbServer*>(&self);
            if (table) {
                table->goTop();
            }
            return Value::logic(table && table->isOpen());
        });
}

} // namespace cuentas
