// The registration helper's mechanism, once for every kind of property and method; the classes
// that use it are tested through their behaviour.
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_errors.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

class Gadget : public Object {
public:
    using Object::Object;
    std::string label = "new";
    bool on = false;
    std::int32_t level = 0;
    std::uint32_t code = 0;
    Symbol name;
    Value cargo;
    std::string started;

    std::int32_t doubled() const { return 2 * level; }
    void setLevel(std::int32_t value) { level = value; }
};

void declareGadget(std::string_view className) {
    ClassDeclaration<Gadget>(className)
        .init(
            [](Gadget& gadget, Arguments args) { gadget.started = argumentAt(args, 0).asString(); })
        .property("LABEL", &Gadget::label, &Gadget::label)
        .property("ON", &Gadget::on, &Gadget::on)
        .property("LEVEL", &Gadget::level, &Gadget::setLevel)
        .property("CODE", &Gadget::code, [](Gadget& g, std::uint32_t value) { g.code = value; })
        .property("NAME", &Gadget::name, &Gadget::name)
        .property("CARGO", &Gadget::cargo, &Gadget::cargo)
        // The setter decides what it takes: texts as they are, anything else as "?".
        .property("LENIENT", &Gadget::label,
                  [](Gadget& g, const Value& value) {
                      g.label = value.isString() ? value.asString() : "?";
                  })
        .property("DOUBLED", &Gadget::doubled)
        .method("STARTED", [](Gadget& g, Arguments) { return Value(g.started); })
        .method("ANYONE", [](Object&, Arguments) { return Value("answered"); });
}

Value property(const Value& object, const char* name) {
    return IVarGet(object, Symbol::intern(name));
}

Value assign(const Value& object, const char* name, const Value& value) {
    return IVarPut(object, Symbol::intern(name), value);
}

struct Assignment {
    const char* property;
    Value value;
    Value answer; // the property's value after the assignment, as IVarPut answers it
};

TEST(ClassDeclaration, TypedPropertiesTakeTheirTypeAndKeepTheirValueOtherwise) {
    declareGadget("GADGET");
    Value gadget(CreateInstance(Symbol::intern("GADGET")));
    const Assignment cases[] = {
        {"LABEL", Value("text"), Value("text")},
        {"LABEL", Value::integer(5), Value("text")},
        {"ON", Value::logic(true), Value::logic(true)},
        {"ON", Value("yes"), Value::logic(true)},
        {"LEVEL", Value::number(7.9), Value::integer(7)},
        {"LEVEL", Value::logic(false), Value::integer(7)},
        {"CODE", Value::integer(-1), Value::unsignedNumber(0xFFFFFFFF)},
        {"NAME", Value(Symbol::intern("ANA")), Value(Symbol::intern("ANA"))},
        {"NAME", Value("ANA"), Value(Symbol::intern("ANA"))}, // a text is not a symbol
        {"CARGO", Value::integer(3), Value::integer(3)},
        {"CARGO", Value(), Value()},
        {"LENIENT", Value::integer(1), Value("?")},
        {"LABEL", Value("again"), Value("again")},
    };
    for (const Assignment& c : cases) {
        SCOPED_TRACE(std::string(c.property) + " := " + AsString(c.value));
        Value answer = assign(gadget, c.property, c.value);
        EXPECT_TRUE(exactEquals(answer, c.answer)) << AsString(answer);
        EXPECT_TRUE(exactEquals(property(gadget, c.property), c.answer));
    }
    EXPECT_EQ(property(gadget, "DOUBLED").asInteger(), 14);
}

TEST(ClassDeclaration, InitAnswersTheObjectAndMethodsReachIt) {
    declareGadget("GADGET");
    Value argument("ready");
    Value gadget(CreateInstance(Symbol::intern("GADGET"), Arguments(&argument, 1)));
    EXPECT_EQ(Send(gadget, Symbol::intern("STARTED")).asString(), "ready");
    EXPECT_EQ(Send(gadget, Symbol::intern("INIT")).asObject(), gadget.asObject());
    EXPECT_EQ(Send(gadget, Symbol::intern("ANYONE")).asString(), "answered");
}

TEST(ClassDeclaration, AnInstanceThatIsNotOfTheTypeReadsEmptyValuesAndAnswersNil) {
    // Declared first without a factory: its instances are plain objects, not gadgets.
    DeclareClass("PLAINGADGET");
    declareGadget("PLAINGADGET");
    Value plain(CreateInstance(Symbol::intern("PLAINGADGET")));
    ASSERT_EQ(objectAs<Gadget>(plain), nullptr);
    EXPECT_EQ(property(plain, "LABEL").asString(), "");
    EXPECT_TRUE(property(plain, "ON").isLogic());
    EXPECT_FALSE(property(plain, "ON").asLogic());
    EXPECT_TRUE(exactEquals(property(plain, "LEVEL"), Value::integer(0)));
    EXPECT_TRUE(property(plain, "NAME").asSymbol().isNull());
    EXPECT_TRUE(property(plain, "CARGO").isNil());
    EXPECT_TRUE(exactEquals(assign(plain, "LEVEL", Value::integer(4)), Value::integer(0)));
    EXPECT_TRUE(Send(plain, Symbol::intern("STARTED")).isNil());
    EXPECT_EQ(Send(plain, Symbol::intern("INIT")).asObject(), plain.asObject());
    EXPECT_EQ(Send(plain, Symbol::intern("ANYONE")).asString(), "answered");
}

class AbstractGadget : public Object {
public:
    using Object::Object;
    virtual int kind() const = 0;
};

TEST(ClassDeclaration, AnAbstractTypeIsBuiltAsItsSuperclassBuildsIt) {
    declareGadget("GADGET");
    ClassDeclaration<AbstractGadget>("GADGETKIND", "GADGET")
        .property("KIND", &AbstractGadget::kind);
    Value object(CreateInstance(Symbol::intern("GADGETKIND")));
    EXPECT_NE(objectAs<Gadget>(object), nullptr);
    EXPECT_TRUE(exactEquals(property(object, "KIND"), Value::integer(0)));
}

TEST(ClassDeclaration, AReadOnlyPropertyRefusesAnAssignment) {
    declareGadget("GADGET");
    Value gadget(CreateInstance(Symbol::intern("GADGET")));
    testing::RecordingErrors errors;
    assign(gadget, "DOUBLED", Value::integer(1));
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].genCode, gencode::kNoProperty);
    EXPECT_EQ(errors.errors[0].description, "No assignable variable");
    EXPECT_EQ(errors.errors[0].arg, "DOUBLED");
}

} // namespace
} // namespace cuentas
