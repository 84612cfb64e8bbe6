// The class ERROR is never declared in this executable.
#include "errors/error_conversion.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

TEST(ConversionWithoutTheClass, SaysThatNoErrorObjectWasCreatedAndGivesTheNullObject) {
    testing::RecordingOs os;
    ScopedOs scoped(os);
    AddressScope scope;
    Value error = DefErrorGen(Value::pointer(scope.keep(addressSpace().allocate(kRecordSize))));
    EXPECT_TRUE(error.isObject());
    EXPECT_EQ(error.asObject(), nullptr);
    ASSERT_EQ(os.messageBoxes.size(), 1u);
    EXPECT_EQ(os.messageBoxes[0].text, "No error object created !");
    EXPECT_EQ(os.messageBoxes[0].caption, "FROM DefErrorGen");
}

} // namespace
} // namespace cuentas
