#pragma once
// Catches runtime errors in a test: installs an error function that keeps the fields of each
// runtime error record, and an error block that notes them and answers as the test says
// (FALSE, "default", unless told otherwise). Restores both afterwards.

#include "platform/runtime/address_space.h"
#include "platform/runtime/error_record.h"
#include "platform/runtime/object.h"
#include "platform/runtime/raise.h"

#include <functional>
#include <string>
#include <vector>

namespace cuentas::testing {

struct RecordedError {
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

class RecordingErrors {
public:
    using Answer = std::function<Value(const RecordedError&)>;

    explicit RecordingErrors(Answer answer = {}) : m_answer(std::move(answer)) {
        m_function = Value::pointer(addressSpace().storeFunction(convert));
        m_oldFunction = ErrorFunc(m_function);
        m_oldBlock = ErrorBlock(Value(makeCodeBlock([this](Arguments args) {
            const auto* object = objectAs<RecordedErrorObject>(args[0]);
            if (!object) {
                return Value::logic(false);
            }
            errors.push_back(object->error);
            return m_answer ? m_answer(object->error) : Value::logic(false);
        })));
    }
    ~RecordingErrors() {
        ErrorBlock(m_oldBlock);
        ErrorFunc(m_oldFunction);
        addressSpace().release(m_function.asAddress());
    }
    RecordingErrors(const RecordingErrors&) = delete;
    RecordingErrors& operator=(const RecordingErrors&) = delete;

    void answerWith(Answer answer) { m_answer = std::move(answer); }

    std::vector<RecordedError> errors;

private:
    // The Error object stand-in that the error function builds from a record.
    class RecordedErrorObject : public Object {
    public:
        using Object::Object;
        RecordedError error;
    };

    static Value convert(Arguments args) {
        RecordView view(addressSpace().bytes(args[0].asAddress()).first<kRecordSize>());
        auto text = [&](RecordField field) { return addressSpace().cString(view.get(field)); };
        auto object = std::make_shared<RecordedErrorObject>(DeclareClass("TESTRECORDEDERROR"));
        RecordedError& e = object->error;
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

    Answer m_answer;
    Value m_function;
    Value m_oldFunction;
    Value m_oldBlock;
};

} // namespace cuentas::testing
