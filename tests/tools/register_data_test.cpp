// The register the program ships, data/registro-entidades.tsv, passes every check of the
// bank table tool: each line on its own and the register as a whole.
#include "platform/os/files.h"
#include "tools/make_bank_table/register_check.h"
#include "tools/make_bank_table/register_source.h"

#include <gtest/gtest.h>

namespace cuentas::tools {
namespace {

std::string listed(const std::vector<SourceMessage>& messages) {
    std::string text;
    for (const SourceMessage& m : messages) {
        text += "line " + std::to_string(m.line) + ": " + m.text + "\n";
    }
    return text;
}

class ShippedRegister : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto text = MemoRead(CUENTAS_REGISTER);
        ASSERT_TRUE(text.has_value()) << CUENTAS_REGISTER;
        parsed = new Register(parseRegister(*text));
    }
    static void TearDownTestSuite() { delete parsed; }
    static Register* parsed;
};
Register* ShippedRegister::parsed = nullptr;

TEST_F(ShippedRegister, EveryLineIsSound) {
    EXPECT_TRUE(parsed->errors.empty()) << listed(parsed->errors);
    EXPECT_TRUE(parsed->date.has_value());
}

TEST_F(ShippedRegister, TheRegisterAsAWholeIsSound) {
    EXPECT_TRUE(checkRegister(parsed->entities).empty()) << listed(checkRegister(parsed->entities));
}

} // namespace
} // namespace cuentas::tools
