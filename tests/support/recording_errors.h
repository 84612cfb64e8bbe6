#pragma once
// Catches runtime errors in a test: installs an error function and an error block that note
// each error's general code and description and answer nil, and restores both afterwards.

#include "platform/runtime/address_space.h"
#include "platform/runtime/error_record.h"
#include "platform/runtime/object.h"
#include "platform/runtime/raise.h"

#include <string>
#include <vector>

namespace cuentas::testing {

class RecordingErrors {
public:
    struct Noted {
        std::uint32_t genCode = 0;
        std::string description;
    };

    RecordingErrors() {
        class NotedError : public Object {
        public:
            using Object::Object;
            Noted noted;
        };
        m_function = Value::pointer(addressSpace().storeFunction([](Arguments args) {
            RecordView view(addressSpace().bytes(args[0].asAddress()).first<kRecordSize>());
            auto object = std::make_shared<NotedError>(
                DeclareClass("TESTNOTEDERROR", {}, [](const ClassInfo& info) {
                    return std::make_shared<NotedError>(info);
                }));
            object->noted.genCode = view.get(RecordField::GenCode);
            object->noted.description = addressSpace().cString(view.get(RecordField::Description));
            return Value(ObjectRef(object));
        }));
        m_oldFunction = ErrorFunc(m_function);
        m_oldBlock = ErrorBlock(Value(makeCodeBlock([this](Arguments args) {
            if (const auto* error = objectAs<NotedError>(args[0])) {
                errors.push_back(error->noted);
            }
            return Value();
        })));
    }
    ~RecordingErrors() {
        ErrorBlock(m_oldBlock);
        ErrorFunc(m_oldFunction);
        addressSpace().release(m_function.asAddress());
    }
    RecordingErrors(const RecordingErrors&) = delete;
    RecordingErrors& operator=(const RecordingErrors&) = delete;

    std::vector<Noted> errors;

private:
    Value m_function;
    Value m_oldFunction;
    Value m_oldBlock;
};

} // namespace cuentas::testing
