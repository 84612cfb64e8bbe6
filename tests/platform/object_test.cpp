#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

class Counter : public Object {
public:
    using Object::Object;
    int count = 0;
};

void declareTestClasses() {
    DeclareClass("COUNTERBASE", {},
                 [](const ClassInfo& info) { return std::make_shared<Counter>(info); })
        .method("INIT",
                [](Object& self, Arguments args) {
                    static_cast<Counter&>(self).count = args.empty() ? 0 : args[0].asInteger();
                    return Value(self.reference());
                })
        .method("NAME", [](Object&, Arguments) { return Value("base"); })
        .property(
            "COUNT",
            [](const Object& self) {
                return Value::integer(static_cast<const Counter&>(self).count);
            },
            [](Object& self, const Value& v) {
                if (v.isNumeric()) {
                    static_cast<Counter&>(self).count = v.asInteger();
                }
                return Value::integer(static_cast<Counter&>(self).count);
            })
        .property("READONLY", [](const Object&) { return Value("fixed"); });
    DeclareClass("COUNTERSUB", "COUNTERBASE", [](const ClassInfo& info) {
        return std::make_shared<Counter>(info);
    }).method("NAME", [](Object& self, Arguments) {
        Value inherited = SendClass(self, Symbol::intern("COUNTERSUB"), Symbol::intern("NAME"));
        return Value("sub of " + std::string(inherited.asString()));
    });
}

TEST(Objects, CreateInstanceRunsInitAndMethodsAreFoundBySymbol) {
    declareTestClasses();
    Value arg = Value::integer(5);
    Value object(CreateInstance(Symbol::intern("COUNTERSUB"), Arguments(&arg, 1)));
    EXPECT_EQ(IVarGet(object, Symbol::intern("count")).asInteger(), 5);
    EXPECT_EQ(Send(object, Symbol::intern("name")).asString(), "sub of base");
    EXPECT_TRUE(IsInstanceOf(object, Symbol::intern("COUNTERBASE")));
    EXPECT_TRUE(IsInstanceOf(object, Symbol::intern("COUNTERSUB")));
    EXPECT_FALSE(IsInstanceOf(object, Symbol::intern("ERROR")));
    EXPECT_FALSE(IsInstanceOf(Value("text"), Symbol::intern("COUNTERBASE")));
    EXPECT_EQ(IVarPut(object, Symbol::intern("COUNT"), Value::integer(9)).asInteger(), 9);
    EXPECT_EQ(IVarPut(object, Symbol::intern("COUNT"), Value("x")).asInteger(), 9);
    auto order = findClass(Symbol::intern("COUNTERSUB"))->properties();
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0].name(), "COUNT");
    EXPECT_EQ(order[1].name(), "READONLY");
}

TEST(Objects, ASubclassWithoutAFactoryIsBuiltAsItsSuperclass) {
    declareTestClasses();
    DeclareClass("COUNTERPLAINSUB", "COUNTERBASE");
    Value object(CreateInstance(Symbol::intern("COUNTERPLAINSUB")));
    ASSERT_NE(objectAs<Counter>(object), nullptr);
    EXPECT_EQ(&object.asObject()->classInfo(), findClass(Symbol::intern("COUNTERPLAINSUB")));
}

TEST(Objects, UnknownMethodsAndReadOnlyPropertiesRaiseThroughTheErrorBlock) {
    declareTestClasses();
    testing::RecordingOs os;
    ScopedOs scoped(os);
    std::vector<std::uint32_t> seen;
    Value function = Value::pointer(addressSpace().storeFunction([](Arguments args) {
        // A minimal conversion: an object that remembers nothing; the test reads the record.
        RecordView view(addressSpace().bytes(args[0].asAddress()).first<kRecordSize>());
        auto object = std::make_shared<Counter>(DeclareClass("COUNTERBASE"));
        object->count = static_cast<int>(view.get(RecordField::GenCode));
        return Value(ObjectRef(object));
    }));
    Value oldFunction = ErrorFunc(function);
    Value oldBlock = ErrorBlock(Value(makeCodeBlock([&](Arguments args) {
        seen.push_back(static_cast<std::uint32_t>(objectAs<Counter>(args[0])->count));
        return Value("substitute");
    })));
    Value object(CreateInstance(Symbol::intern("COUNTERBASE")));
    EXPECT_EQ(Send(object, Symbol::intern("NOSUCH")).asString(), "substitute");
    EXPECT_EQ(IVarPut(object, Symbol::intern("READONLY"), Value("y")).asString(), "substitute");
    EXPECT_EQ(Send(Value("not an object"), Symbol::intern("NAME")).asString(), "substitute");
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{gencode::kNoMethod, gencode::kNoProperty,
                                                gencode::kNotObject}));
    ErrorBlock(oldBlock);
    ErrorFunc(oldFunction);
}

} // namespace
} // namespace cuentas
