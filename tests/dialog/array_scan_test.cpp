#include "dialog/array_scan.h"

#include "platform/runtime/arrays.h"
#include "platform/runtime/settings.h"

#include <gtest/gtest.h>

#include <vector>

namespace cuentas {
namespace {

Value numbers(int count) {
    ArrayRef array = ArrayCreate(static_cast<std::uint32_t>(count));
    for (int i = 1; i <= count; ++i) {
        array->put(static_cast<std::size_t>(i), Value::integer(i));
    }
    return Value(array);
}

// A test that records the elements it was asked about and matches the given values, as a
// block that answers a value or as one that answers a logic directly.
struct RecordingTest {
    std::vector<int> visited;
    std::vector<int> matching;
    bool matches(const Value& element) {
        visited.push_back(element.asInteger());
        return std::find(matching.begin(), matching.end(), element.asInteger()) != matching.end();
    }
    Value block() {
        return Value(
            makeCodeBlock([this](Arguments args) { return Value::logic(matches(args[0])); }));
    }
    Value testBlock() {
        return Value(makeTestBlock([this](const Value& element) { return matches(element); }));
    }
};

TEST(ArrayScan, WalksTheStretchThatStartAndCountSelect) {
    struct Case {
        const char* name;
        int length;
        std::vector<int> matching;
        Value start;
        Value count;
        std::int32_t expected;
        std::vector<int> visited;
    };
    const Case cases[] = {
        {"first match wins", 10, {3, 7}, Value(), Value(), 3, {1, 2, 3}},
        {"one element tested once", 1, {}, Value(), Value(), 0, {1}},
        {"backwards from the end", 5, {}, Value(), Value::integer(-2), 0, {5, 4}},
        {"backwards finds the later match",
         10,
         {3, 7},
         Value(),
         Value::integer(-10),
         7,
         {10, 9, 8, 7}},
        {"start and count", 10, {}, Value::integer(4), Value::integer(2), 0, {4, 5}},
        {"count of zero tests nothing", 10, {1}, Value(), Value::integer(0), 0, {}},
        {"start beyond the length", 3, {1}, Value::integer(4), Value(), 0, {}},
        {"count beyond the end stops at the end",
         4,
         {},
         Value::integer(3),
         Value::integer(9),
         0,
         {3, 4}},
        {"backwards from a start", 10, {2}, Value::integer(5), Value::integer(-9), 2, {5, 4, 3, 2}},
        {"start at the last element", 5, {5}, Value::integer(5), Value(), 5, {5}},
        {"count not a number means all", 3, {3}, Value(), Value("x"), 3, {1, 2, 3}},
    };
    for (const auto& c : cases) {
        RecordingTest test{{}, c.matching};
        EXPECT_EQ(ArrayScan(numbers(c.length), test.block(), c.start, c.count), c.expected)
            << c.name;
        EXPECT_EQ(test.visited, c.visited) << c.name;
        RecordingTest direct{{}, c.matching};
        EXPECT_EQ(ArrayScan(numbers(c.length), direct.testBlock(), c.start, c.count), c.expected)
            << c.name << " (a block that answers a logic)";
        EXPECT_EQ(direct.visited, c.visited) << c.name << " (a block that answers a logic)";
    }
}

TEST(ArrayScan, TargetsThatAreNotArraysOrEmptyGiveZero) {
    RecordingTest test{{}, {1}};
    EXPECT_EQ(ArrayScan(Value("text"), test.block()), 0);
    EXPECT_EQ(ArrayScan(Value(), test.block()), 0);
    EXPECT_EQ(ArrayScan(Value(ArrayCreate(0)), test.block(), Value::integer(1)), 0);
    EXPECT_TRUE(test.visited.empty());
}

TEST(ArrayScan, ValueSearchFollowsTheExactComparisonSetting) {
    resetRuntimeSettings();
    Value codes(ArrayBuild({Value("00491"), Value("0049"), Value("0081")}));
    SetExact(false);
    EXPECT_EQ(ArrayScan(codes, Value("0049")), 1); // "00491" begins with "0049"
    EXPECT_EQ(ArrayScan(codes, Value("004")), 1);
    SetExact(true);
    EXPECT_EQ(ArrayScan(codes, Value("0049")), 2);
    EXPECT_EQ(ArrayScan(codes, Value("004")), 0);
    EXPECT_TRUE(SetExact()); // read, never changed
    SetExact(false);
    // A code block is not affected by the setting.
    Value exactTest(makeCodeBlock(
        [](Arguments args) { return Value::logic(exactEquals(args[0], Value("0049"))); }));
    EXPECT_EQ(ArrayScan(codes, exactTest), 2);
    // The element is the left operand: the shorter search text never matches a longer one.
    EXPECT_EQ(ArrayScan(Value(ArrayBuild({Value("00")})), Value("0049")), 0);
    EXPECT_EQ(ArrayScan(numbers(5), Value::integer(4)), 4);
    resetRuntimeSettings();
}

} // namespace
} // namespace cuentas
