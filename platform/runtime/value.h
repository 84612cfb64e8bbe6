#pragma once
// The runtime's tagged value: a type number with its payload.
// Arrays, objects and code blocks are held by reference; texts are single-byte Windows-1252.

#include "platform/runtime/symbol.h"
#include "platform/runtime/text_storage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace cuentas {

// Type numbers as the runtime reports them (UsualType).
enum class Type : std::uint8_t {
    Nil = 0,
    Integer = 1, // signed 32-bit
    Date = 2,
    Float = 3,
    Array = 5,
    Object = 6,
    String = 7,
    Logic = 8,
    CodeBlock = 9,
    Symbol = 10,
    Unsigned = 14, // unsigned 32-bit
    Pointer = 18,
};

constexpr std::uint32_t typeNumber(Type type) {
    return static_cast<std::uint32_t>(type);
}

// Type number 19 exists only for declarations: a property that takes any value.
inline constexpr std::uint32_t kAnyTypeNumber = 19;

class Value;
class Object;
class ArrayData;
class CodeBlock;
using ArrayRef = std::shared_ptr<ArrayData>;
using ObjectRef = std::shared_ptr<Object>;
using CodeBlockRef = std::shared_ptr<const CodeBlock>;
using Arguments = std::span<const Value>;

// A day as days since 1 January 4713 BC (Julian day number); 0 is the empty date.
struct Date {
    std::int32_t julianDay = 0;
    friend bool operator==(Date, Date) = default;
};

// A floating-point number with the count of decimals it is shown with;
// -1 means "as many as the runtime's default decimals setting".
struct Float {
    double value = 0;
    int decimals = -1;
};

// An address in the runtime's 32-bit address space (see AddressSpace).
struct Pointer {
    std::uint32_t address = 0;
    friend bool operator==(Pointer, Pointer) = default;
};

namespace detail {
// What the typed reads of a value answer when it holds another type.
inline const Text kNoText;
inline const ArrayRef kNoArray;
inline const ObjectRef kNoObject;
inline const CodeBlockRef kNoCodeBlock;
} // namespace detail

class Value {
public:
    Value() = default;
    Value(const std::string& text) : payload_(Text(text)) {}
    Value(const char* text) : payload_(Text(text)) {}
    Value(std::string_view text) : payload_(Text(text)) {}
    Value(Text text) : payload_(std::move(text)) {}
    Value(Symbol symbol) : payload_(symbol) {}
    Value(ArrayRef array);
    Value(ObjectRef object);
    Value(CodeBlockRef block);
    Value(Date date) : payload_(date) {}
    Value(Pointer pointer) : payload_(pointer) {}
    Value(Float number) : payload_(number) {}

    static Value integer(std::int32_t number) { return Value(Payload(number)); }
    static Value unsignedNumber(std::uint32_t number) { return Value(Payload(number)); }
    static Value number(double number, int decimals = -1) { return Value(Float{number, decimals}); }
    static Value logic(bool flag) { return Value(Payload(flag)); }
    static Value pointer(std::uint32_t address) { return Value(Pointer{address}); }

    Type type() const { return kTypes[payload_.index()]; }
    std::uint32_t typeNumber() const { return static_cast<std::uint32_t>(type()); }

    bool isNil() const { return type() == Type::Nil; }
    bool isString() const { return type() == Type::String; }
    bool isLogic() const { return type() == Type::Logic; }
    bool isSymbol() const { return type() == Type::Symbol; }
    bool isArray() const { return type() == Type::Array; }
    bool isObject() const { return type() == Type::Object; }
    bool isCodeBlock() const { return type() == Type::CodeBlock; }
    bool isPointer() const { return type() == Type::Pointer; }
    // Integer, unsigned or floating-point number.
    bool isNumeric() const;

    // Typed reads. Each returns the neutral value of its type (empty text, false,
    // 0, null) when the value holds another type, so a caller never reads garbage.
    // A text's bytes stay valid for as long as this value (or a copy of it) lives.
    std::string_view asString() const {
        const auto* text = std::get_if<Text>(&payload_);
        return text ? text->view() : std::string_view();
    }
    // The text itself, to keep or compare without copying its bytes; empty for other types.
    const Text& asText() const {
        const auto* text = std::get_if<Text>(&payload_);
        return text ? *text : detail::kNoText;
    }
    bool asLogic() const {
        const auto* flag = std::get_if<bool>(&payload_);
        return flag && *flag;
    }
    Symbol asSymbol() const;
    double asNumber() const;
    std::int64_t asWholeNumber() const; // numbers truncated toward zero
    std::uint32_t asUnsigned() const;   // numbers converted to 32 bits, two's complement
    std::int32_t asInteger() const;
    Date asDate() const;
    std::uint32_t asAddress() const; // a pointer's address, else 0
    int decimals() const;            // a float's decimals, -1 otherwise
    const ArrayRef& asArray() const {
        const auto* array = std::get_if<ArrayRef>(&payload_);
        return array ? *array : detail::kNoArray;
    }
    const ObjectRef& asObject() const {
        const auto* object = std::get_if<ObjectRef>(&payload_);
        return object ? *object : detail::kNoObject;
    }
    const CodeBlockRef& asCodeBlock() const {
        const auto* block = std::get_if<CodeBlockRef>(&payload_);
        return block ? *block : detail::kNoCodeBlock;
    }

    // The one dispatch point over the payload.
    template <class Visitor> decltype(auto) visit(Visitor&& visitor) const {
        return std::visit(std::forward<Visitor>(visitor), payload_);
    }

private:
    using Payload = std::variant<std::monostate, std::int32_t, Date, Float, ArrayRef, ObjectRef,
                                 Text, bool, CodeBlockRef, Symbol, std::uint32_t, Pointer>;
    // The type number of each payload, in the order of the alternatives above.
    static constexpr Type kTypes[] = {
        Type::Nil,    Type::Integer, Type::Date,      Type::Float,  Type::Array,    Type::Object,
        Type::String, Type::Logic,   Type::CodeBlock, Type::Symbol, Type::Unsigned, Type::Pointer};
    static_assert(std::size(kTypes) == std::variant_size_v<Payload>);
    explicit Value(Payload payload) : payload_(std::move(payload)) {}
    Payload payload_;
};

static_assert(sizeof(Value) == 24, "a value is a 16-byte payload and its type");

// An array with reference semantics: copies of the Value share the elements. Up to two
// elements live in the array object itself, so a small array (a bank directory's entry) is
// one allocation or, in an ArrayRows block, none of its own; more move to the heap.
class ArrayData {
public:
    ArrayData() noexcept : data_(inlineElements()) {}
    // `size` nil elements.
    explicit ArrayData(std::size_t size);
    // Takes the elements over.
    explicit ArrayData(std::vector<Value> elements);
    // Two elements, held in the array itself.
    ArrayData(Value first, Value second) noexcept;
    ~ArrayData();
    ArrayData(const ArrayData&) = delete;
    ArrayData& operator=(const ArrayData&) = delete;

    std::size_t size() const { return size_; }
    // 1-based access; positions outside the array are a caller's fault (checked).
    const Value& at(std::size_t position) const {
        if (position < 1 || position > size_) {
            throwOutOfRange();
        }
        return data_[position - 1];
    }
    void put(std::size_t position, Value value);
    void append(Value value);
    // Drops the elements after `size` (never grows the array).
    void truncate(std::size_t size);
    // Makes room for `capacity` elements, so that appending up to it never moves them.
    void reserve(std::size_t capacity);
    std::span<const Value> elements() const { return {data_, size_}; }

private:
    static constexpr std::uint32_t kInlineCount = 2;
    [[noreturn]] static void throwOutOfRange();
    Value* inlineElements() { return reinterpret_cast<Value*>(inline_); }

    Value* data_;
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = kInlineCount;
    alignas(Value) std::byte inline_[kInlineCount * sizeof(Value)];
};

static_assert(sizeof(ArrayData) == 64, "an array of two fills one cache line");

// A closure value, evaluated with Eval.
class CodeBlock {
public:
    using Body = std::function<Value(Arguments)>;
    // A block of one parameter that answers a logic (the test of ArrayScan): testing a value
    // with it makes no result value.
    using Test = std::function<bool(const Value&)>;

    explicit CodeBlock(Body body, std::uint32_t parameterCount = 1)
        : body_(std::move(body)), parameterCount_(parameterCount) {}
    explicit CodeBlock(Test test) : test_(std::move(test)), parameterCount_(1) {}

    Value operator()(Arguments arguments) const;
    // The block evaluated with one argument, its result taken as a logic.
    bool test(const Value& argument) const {
        return test_ ? test_(argument) : body_(Arguments(&argument, 1)).asLogic();
    }
    std::uint32_t parameterCount() const { return parameterCount_; }

private:
    Body body_;
    Test test_;
    std::uint32_t parameterCount_;
};

CodeBlockRef makeCodeBlock(CodeBlock::Body body, std::uint32_t parameterCount = 1);
CodeBlockRef makeTestBlock(CodeBlock::Test test);

// Evaluates a code block with the given arguments; anything that is not a block gives nil.
Value Eval(const Value& block, Arguments arguments = {});
Value Eval(const Value& block, const Value& argument);

namespace detail {
bool equalsWith(const Value& left, const Value& right, bool exact);
} // namespace detail

// The runtime's exact equality (==): same type family and, for texts, same length and bytes.
// Two texts are compared here, inline: the bank lookup compares a million of them.
inline bool exactEquals(const Value& left, const Value& right) {
    if (left.isString() && right.isString()) {
        return left.asText() == right.asText();
    }
    return detail::equalsWith(left, right, true);
}
// The runtime's ordinary equality (=): as exact equality, except that with the exact-comparison
// setting off a text equals a right-hand text that it begins with.
bool equals(const Value& left, const Value& right);

// The empty value of a type number (EmptyUsual): "", 0, FALSE, an empty array, nil, ...
Value EmptyUsual(std::uint32_t typeNumber);

} // namespace cuentas
