#pragma once
// Installs an error function and an error block for the table tests: every raised error is
// kept as the fields of its runtime error record, and the block answers as the test says.

#include "platform/platform.h"

#include <functional>
#include <string>
#include <vector>

namespace cuentas::testing {

struct CapturedError {
    std::string subsystem;
    std::uint32_t genCode = 0;
    std::uint32_t osCode = 0;
    bool canDefault = false;
    bool canRetry = false;
    bool canSubstitute = false;
    std::string operation;
    std::string description;
    std::string fileName;
    std::uint32_t tries = 0;
    std::string arg;
};

// The Error object stand-in that the error function builds from a record.
class CapturedErrorObject : public Object {
public:
    using Object::Object;
    CapturedError error;
};

class CapturedErrors {
public:
    using Answer = std::function<Value(const CapturedError&)>;

    // Answers FALSE (default) unless told otherwise.
    explicit CapturedErrors(Answer answer = {}) : answer_(std::move(answer)) {
        previousFunction_ = ErrorFunc(Value::pointer(addressSpace().storeFunction(convert)));
        previousBlock_ = ErrorBlock(Value(makeCodeBlock([this](Arguments args) {
            const auto* object = objectAs<CapturedErrorObject>(args[0]);
            errors.push_back(object->error);
            return answer_ ? answer_(object->error) : Value::logic(false);
        })));
    }
    ~CapturedErrors() {
        ErrorBlock(previousBlock_);
        ErrorFunc(previousFunction_);
    }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;

    void answerWith(Answer answer) { answer_ = std::move(answer); }

    std::vector<CapturedError> errors;

private:
    static Value convert(Arguments args) {
        RecordView view(addressSpace().bytes(args[0].asAddress()).first<kRecordSize>());
        auto text = [&](RecordField field) { return addressSpace().cString(view.get(field)); };
        auto object = std::make_shared<CapturedErrorObject>(DeclareClass("CAPTUREDERROR"));
        CapturedError& e = object->error;
        e.subsystem = text(RecordField::Subsystem);
        e.genCode = view.get(RecordField::GenCode);
        e.osCode = view.get(RecordField::OsCode);
        e.canDefault = view.get(RecordField::CanDefault) != 0;
        e.canRetry = view.get(RecordField::CanRetry) != 0;
        e.canSubstitute = view.get(RecordField::CanSubstitute) != 0;
        e.operation = text(RecordField::Operation);
        e.description = text(RecordField::Description);
        e.fileName = text(RecordField::FileName);
        e.tries = view.get(RecordField::Tries);
        e.arg = text(RecordField::Arg);
        return Value(ObjectRef(object));
    }

    Answer answer_;
    Value previousFunction_;
    Value previousBlock_;
};

} // namespace cuentas::testing
