#include "controldigits/iban_digits.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

TEST(IbanCheckDigits, PublishedExamplesOfSeveralCountries) {
    struct Case {
        const char* country;
        const char* bban;
        std::uint32_t digits;
    };
    const Case cases[] = {
        {"ES", "21000418450200051332", 91},
        {"ES", "16487059210235925634", 3}, // below 10: the caller writes "03"
        {"DE", "370400440532013000", 89},
        {"GB", "WEST12345698765432", 82}, // letters in the BBAN count two places each
        {"gb", "west12345698765432", 82}, // in either case
        {"FR", "20041010050500013M02606", 14},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ibanCheckDigits(c.country, c.bban), c.digits) << c.country << " " << c.bban;
    }
}

} // namespace
} // namespace cuentas
