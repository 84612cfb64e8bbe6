#include "platform/os/os.h"
#include "platform/runtime/runtime.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

TEST(Value, TypeNumbersAreTheRuntimes) {
    struct Case {
        Value value;
        std::uint32_t type;
    };
    const Case cases[] = {
        {Value(), 0},
        {Value::integer(-5), 1},
        {Value(Date{2461000}), 2},
        {Value::number(1.5), 3},
        {Value(ArrayCreate(2)), 5},
        {Value(std::make_shared<Object>(DeclareClass("PLAIN"))), 6},
        {Value("text"), 7},
        {Value::logic(true), 8},
        {Value(makeCodeBlock([](Arguments) { return Value(); })), 9},
        {Value(Symbol::intern("banco")), 10},
        {Value::unsignedNumber(4000000000u), 14},
        {Value::pointer(0x100000), 18},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.typeNumber(), c.type);
    }
}

TEST(Symbol, InternedUpperCaseAndComparedByIdentity) {
    std::size_t before = Symbol::internedCount();
    Symbol a = Symbol::intern("nombreNuevoDePrueba");
    Symbol b = Symbol::intern("NOMBRENUEVODEPRUEBA");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.name(), "NOMBRENUEVODEPRUEBA");
    EXPECT_EQ(Symbol::internedCount(), before + 1);
    EXPECT_EQ(Symbol::fromNumber(a.number()), a);
    EXPECT_TRUE(Symbol().isNull());
    EXPECT_EQ(Symbol::intern(""), Symbol());
}

TEST(Symbol, NamesStayInPlaceAsThousandsMoreAreInterned) {
    const Symbol first = Symbol::intern("primero");
    const std::string& firstName = first.name();
    std::vector<Symbol> many;
    for (int i = 0; i < 3000; ++i) {
        many.push_back(Symbol::intern("simbolo_de_prueba_" + std::to_string(i)));
    }
    for (int i = 0; i < 3000; ++i) {
        EXPECT_EQ(many[static_cast<std::size_t>(i)].name(),
                  "SIMBOLO_DE_PRUEBA_" + std::to_string(i));
        EXPECT_EQ(Symbol::fromNumber(many[static_cast<std::size_t>(i)].number()),
                  many[static_cast<std::size_t>(i)]);
    }
    EXPECT_EQ(&first.name(), &firstName); // a name never moves
    EXPECT_EQ(Symbol::fromNumber(many.back().number() + 1), Symbol());
    EXPECT_EQ(Symbol().name(), "");
}

TEST(Array, HasReferenceSemanticsAndOneBasedPositions) {
    Value array(ArrayBuild({Value("a"), Value("b")}));
    Value copy = array;
    copy.asArray()->put(2, Value("z"));
    EXPECT_EQ(array.asArray()->at(2).asString(), "z");
    EXPECT_EQ(array.asArray()->at(1).asString(), "a");
    EXPECT_THROW(array.asArray()->at(0), std::out_of_range);
    EXPECT_THROW(array.asArray()->at(3), std::out_of_range);
    EXPECT_EQ(ALen(array), 2u);
    EXPECT_EQ(ALen(Value("not an array")), 0u);
    EXPECT_EQ(ALen(Value(ArrayCreate(3))), 3u);
    EXPECT_TRUE(ArrayCreate(3)->at(3).isNil());
}

TEST(Array, GrowsPastItsInlineElementsAndShrinksThroughAnyReference) {
    Value array(ArrayBuild({Value("a"), Value("b")}));
    Value copy = array;
    for (const char* text : {"c", "d", "e", "f", "g"}) {
        copy.asArray()->append(Value(text));
    }
    copy.asArray()->put(1, Value("A"));
    std::string seen;
    for (const Value& element : array.asArray()->elements()) {
        seen += element.asString();
    }
    EXPECT_EQ(seen, "Abcdefg");
    array.asArray()->truncate(1);
    EXPECT_EQ(ALen(copy), 1u);
    EXPECT_EQ(copy.asArray()->at(1).asString(), "A");
}

TEST(ArrayRows, EachRowIsAnArrayOfItsOwnThatOutlivesTheBlocksOtherHolders) {
    Value second;
    Value secondAgain;
    {
        ArrayRows rows(3);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            rows[i].append(Value::integer(static_cast<std::int32_t>(i)));
            rows[i].append(Value(std::string(20, static_cast<char>('a' + i))));
        }
        Value first(rows.reference(0));
        second = Value(rows.reference(1));
        secondAgain = Value(rows.reference(1));
        first.asArray()->put(1, Value("changed"));
        EXPECT_EQ(rows[0].at(1).asString(), "changed");
        EXPECT_THROW(rows.reference(3), std::out_of_range);
    }
    second.asArray()->append(Value("grown"));
    EXPECT_EQ(ALen(secondAgain), 3u);
    EXPECT_EQ(secondAgain.asArray()->at(2).asString(), std::string(20, 'b'));
    EXPECT_EQ(secondAgain.asArray()->at(3).asString(), "grown");
    EXPECT_FALSE(exactEquals(second, Value(ArrayBuild({Value::integer(1)}))));
    EXPECT_TRUE(exactEquals(second, secondAgain));
}

TEST(CodeBlock, EvalPassesArgumentsAndReturnsTheResult) {
    Value block(
        makeCodeBlock([](Arguments args) { return Value::integer(args[0].asInteger() * 2); }));
    EXPECT_EQ(Eval(block, Value::integer(21)).asInteger(), 42);
    EXPECT_TRUE(Eval(Value("no block")).isNil());
    // A block made from a test answers a logic, and tests nil when called without arguments.
    Value isNil(makeTestBlock([](const Value& argument) { return argument.isNil(); }));
    EXPECT_EQ(Eval(isNil, Value::integer(1)).type(), Type::Logic);
    EXPECT_FALSE(Eval(isNil, Value::integer(1)).asLogic());
    EXPECT_TRUE(Eval(isNil).asLogic());
    EXPECT_TRUE(isNil.asCodeBlock()->test(Value()));
    EXPECT_FALSE(block.asCodeBlock()->test(Value::integer(0))); // 0 is no logic TRUE
}

TEST(Equality, ExactAndOrdinaryComparisonOfTexts) {
    resetRuntimeSettings();
    EXPECT_TRUE(exactEquals(Value("0049"), Value("0049")));
    EXPECT_FALSE(exactEquals(Value("0049 "), Value("0049")));
    EXPECT_FALSE(exactEquals(Value("004"), Value("0049")));
    // Exact comparison off: a text equals a right-hand text it begins with, not the reverse.
    EXPECT_TRUE(equals(Value("00491"), Value("0049")));
    EXPECT_FALSE(equals(Value("004"), Value("0049")));
    SetExact(true);
    EXPECT_FALSE(equals(Value("00491"), Value("0049")));
    resetRuntimeSettings();
    EXPECT_TRUE(equals(Value::integer(3), Value::number(3.0)));
    EXPECT_FALSE(equals(Value::integer(3), Value("3")));
}

TEST(EmptyUsual, GivesTheEmptyValueOfEachType) {
    EXPECT_EQ(EmptyUsual(7).asString(), "");
    EXPECT_EQ(EmptyUsual(7).type(), Type::String);
    EXPECT_EQ(EmptyUsual(14).type(), Type::Unsigned);
    EXPECT_EQ(EmptyUsual(8).type(), Type::Logic);
    EXPECT_EQ(EmptyUsual(5).type(), Type::Array);
    EXPECT_EQ(EmptyUsual(18).type(), Type::Pointer);
    EXPECT_TRUE(EmptyUsual(19).isNil());
}

TEST(AddressSpace, StoresTextsValuesAndFunctionsUnder32BitAddresses) {
    AddressSpace space;
    Address text = space.storeText("hola");
    Address dynamic = space.storeDynamicString("dinámico");
    Address boxed = space.storeValue(Value::integer(7));
    Address function = space.storeFunction([](Arguments) { return Value("called"); });
    EXPECT_NE(text, 0u);
    EXPECT_EQ(space.cString(text), "hola");
    EXPECT_EQ(space.cString(text + 2), "la");
    EXPECT_EQ(space.cString(0), "");
    EXPECT_EQ(space.cString(0xDEADBEEF), "");
    EXPECT_TRUE(space.isDynamicString(dynamic));
    EXPECT_FALSE(space.isDynamicString(text));
    EXPECT_EQ(space.dynamicString(dynamic), "dinámico");
    EXPECT_EQ(space.value(boxed)->asInteger(), 7);
    EXPECT_EQ((*space.function(function))({}).asString(), "called");
    EXPECT_FALSE(space.read(text, 6).has_value()); // one byte past the block
    EXPECT_EQ(space.read(text, 5)->size(), 5u);
    space.release(text);
    EXPECT_EQ(space.cString(text), "");
}

} // namespace
} // namespace cuentas
