#include "controldigits/account_number.h"

#include "controldigits/control_digits.h"

#include <gtest/gtest.h>

#include <string>

namespace cuentas {
namespace {

const char* statusName(AccountStatus status) {
    switch (status) {
    case AccountStatus::Valid:
        return "valid";
    case AccountStatus::Recovered:
        return "recovered";
    case AccountStatus::Empty:
        return "empty";
    case AccountStatus::Country:
        return "country";
    case AccountStatus::Chars:
        return "chars";
    case AccountStatus::Length:
        return "length";
    case AccountStatus::BankBranchDigit:
        return "bank-branch-digit";
    case AccountStatus::AccountDigit:
        return "account-digit";
    case AccountStatus::ControlDigits:
        return "control-digits";
    case AccountStatus::IbanDigits:
        return "iban-digits";
    case AccountStatus::Ambiguous:
        return "ambiguous";
    case AccountStatus::NoFit:
        return "no-fit";
    }
    return "?";
}

const char* partName(AccountPart part) {
    switch (part) {
    case AccountPart::IbanDigits:
        return "iban";
    case AccountPart::Bank:
        return "bank";
    case AccountPart::Branch:
        return "branch";
    case AccountPart::ControlDigits:
        return "dc";
    case AccountPart::Account:
        return "account";
    }
    return "?";
}

std::string two(const std::array<char, 2>& chars) {
    return {chars[0], chars[1]};
}

// The finding in one line, with the facts that belong to its status.
std::string describe(const AccountDiagnosis& d) {
    std::string text = statusName(d.status);
    switch (d.status) {
    case AccountStatus::Valid:
    case AccountStatus::Recovered:
    case AccountStatus::IbanDigits: {
        const auto iban = d.iban();
        text += " " + std::string(iban.data(), iban.size());
        if (d.status == AccountStatus::IbanDigits) {
            text += " written " + two(d.writtenIbanDigits);
        }
        for (std::uint32_t i = 0; i < d.unreadableCount; ++i) {
            const UnreadableDigit& u = d.unreadable[i];
            text += " " + std::to_string(u.position) + ":" + partName(u.part) + "=" + u.digit;
        }
        break;
    }
    case AccountStatus::Empty:
        break;
    case AccountStatus::Country:
        text +=
            " " + std::string(1, d.country[0]) + (d.country[1] ? std::string(1, d.country[1]) : "");
        break;
    case AccountStatus::Chars:
        text += " at " + std::to_string(d.position);
        break;
    case AccountStatus::Length:
        text += " " + std::to_string(d.given) + "/" + std::to_string(d.expected);
        break;
    case AccountStatus::BankBranchDigit:
    case AccountStatus::AccountDigit:
    case AccountStatus::ControlDigits:
        text += " written " + two(d.writtenControlDigits) + " expected " + two(d.controlDigits);
        if (d.ibanDigitsFail) {
            text += " and iban digits";
        }
        break;
    case AccountStatus::Ambiguous:
    case AccountStatus::NoFit:
        text += " " + std::to_string(d.candidates);
        break;
    }
    if (d.status != AccountStatus::Empty) {
        text += d.form == AccountForm::Iban ? " (iban)" : " (ccc)";
    }
    return text;
}

struct Case {
    const char* text;
    const char* finding;
};

void expectFindings(const Case* begin, const Case* end,
                    ControlDigitRule rule = ControlDigitRule::Check) {
    for (const Case* c = begin; c != end; ++c) {
        EXPECT_EQ(describe(diagnoseAccountNumber(c->text, rule)), c->finding)
            << "'" << c->text << "'";
    }
}

TEST(AccountNumber, WrittenFormsOfOneValidAccount) {
    const Case cases[] = {
        {"21000418450200051332", "valid ES9121000418450200051332 (ccc)"},
        {"2100 0418 45 0200051332", "valid ES9121000418450200051332 (ccc)"},
        {" 2100-0418-45-0200051332 ", "valid ES9121000418450200051332 (ccc)"},
        {"ES9121000418450200051332", "valid ES9121000418450200051332 (iban)"},
        {"ES91 2100 0418 4502 0005 1332", "valid ES9121000418450200051332 (iban)"},
        {"es91 2100 0418 4502 0005 1332", "valid ES9121000418450200051332 (iban)"},
        {"IBAN ES91 2100 0418 4502 0005 1332", "valid ES9121000418450200051332 (iban)"},
        {"iban: ES9121000418450200051332", "valid ES9121000418450200051332 (iban)"},
        {"IBAN:ES9121000418450200051332", "valid ES9121000418450200051332 (iban)"},
        {"ES03 1648 7059 2102 3592 5634", "valid ES0316487059210235925634 (iban)"},
    };
    expectFindings(std::begin(cases), std::end(cases));
}

TEST(AccountNumber, EveryFaultSaysWhereAndWhat) {
    const Case cases[] = {
        {"", "empty"},
        {" - -  ", "empty"},
        // Two letters first make it an IBAN, which must be Spanish before anything else
        // counts; a single letter is a mistyped digit.
        {"DE89 3704 0044 0532 0130 00", "country DE (iban)"},
        {"FR14 2004 1010 0505 0001 3M02 606", "country FR (iban)"},
        {"IBANES9121000418450200051332", "country IB (iban)"},
        {"E591 2100 0418 4502 0005 1332", "chars at 1 (ccc)"},
        {"O100 0418 45 0200051332", "chars at 1 (ccc)"},
        {"E", "chars at 1 (ccc)"},
        {"E\xC9"
         "91 2100",
         "chars at 1 (ccc)"},
        // Positions count every character as written, blanks and hyphens included.
        {"2100 0418 45 02000513x2", "chars at 22 (ccc)"},
        {"2100 O418 45 0200051332", "chars at 6 (ccc)"},
        {"\xC3\x89"
         "2100",
         "chars at 1 (ccc)"},
        {"ES91 2100 0418 4502 0005 133.", "chars at 29 (iban)"},
        {"2100 0418 45 020005133", "length 19/20 (ccc)"},
        {"2100 0418 45 02000513321", "length 21/20 (ccc)"},
        {"2100 0418 4? 02000513321", "length 21/20 (ccc)"}, // '?' counts as a digit
        {"ES91 2100 0418 4502 0005 133", "length 23/24 (iban)"},
        {"ES", "length 2/24 (iban)"},
        {"2100 0418 55 0200051332", "bank-branch-digit written 55 expected 45 (ccc)"},
        {"2100 0418 46 0200051332", "account-digit written 46 expected 45 (ccc)"},
        {"2100 0418 54 0200051332", "control-digits written 54 expected 45 (ccc)"},
        {"2100 0418 45 0200051333", "account-digit written 45 expected 41 (ccc)"},
        {"ES91 2100 0418 4602 0005 1332",
         "account-digit written 46 expected 45 and iban digits (iban)"},
        {"ES90 2100 0418 4502 0005 1332", "iban-digits ES9121000418450200051332 written 90 (iban)"},
    };
    expectFindings(std::begin(cases), std::end(cases));
}

TEST(AccountNumber, UnreadableDigitsAreRecoveredWhenTheCheckDigitsDetermineThem) {
    const Case cases[] = {
        {"2100 04?8 45 0200051332", "recovered ES9121000418450200051332 8:branch=1 (ccc)"},
        {"?100 0418 45 0200051332", "recovered ES9121000418450200051332 1:bank=2 (ccc)"},
        {"2100 0418 45 020005133?", "recovered ES9121000418450200051332 23:account=2 (ccc)"},
        // One in each group: the two control digits settle them apart.
        {"2100 04?8 45 02000?1332",
         "recovered ES9121000418450200051332 8:branch=1 19:account=5 (ccc)"},
        {"2100 0418 ?? 0200051332", "recovered ES9121000418450200051332 11:dc=4 12:dc=5 (ccc)"},
        {"ES?1 2100 0418 4502 0005 1332", "recovered ES9121000418450200051332 3:iban=9 (iban)"},
        // Two under one control digit: the IBAN's check digits still tell them apart.
        {"ES91 2100 04?? 4502 0005 1332",
         "recovered ES9121000418450200051332 13:branch=1 14:branch=8 (iban)"},
        {"2100 04?? 45 0200051332", "ambiguous 9 (ccc)"},
        {"2100 04?8 ?5 0200051332", "ambiguous 10 (ccc)"},
        {"?1000418550200051332", "no-fit 0 (ccc)"},
        {"21000?18650200051332", "no-fit 0 (ccc)"},
        // More unreadable digits than are worth trying.
        {"2??? ??18 45 0200051332", "ambiguous 0 (ccc)"},
        {"???? ???? ?? ??????????", "ambiguous 0 (ccc)"},
        // A fault in a group without unreadable digits is certain whatever the others are.
        {"2100 04?8 46 0200051332", "account-digit written 46 expected ?5 (ccc)"},
    };
    expectFindings(std::begin(cases), std::end(cases));
}

TEST(AccountNumber, AmbiguousCountsEveryFittingNumber) {
    // Counted here by trying all hundred pairs with the plain control-digit function.
    std::uint32_t fitting = 0;
    for (char a = '0'; a <= '9'; ++a) {
        for (char b = '0'; b <= '9'; ++b) {
            std::string branch = {'0', '4', a, b};
            fitting += controlDigits("2100", branch, "0200051332") == 45 ? 1 : 0;
        }
    }
    EXPECT_EQ(diagnoseAccountNumber("2100 04?? 45 0200051332").candidates, fitting);
}

TEST(AccountNumber, ComputingTheControlDigitsIgnoresWhatStandsInTheirPlace) {
    const Case cases[] = {
        {"21000418??0200051332", "recovered ES9121000418450200051332 9:dc=4 10:dc=5 (ccc)"},
        {"2100 0418 99 0200051332", "valid ES9121000418450200051332 (ccc)"},
        {"ES00 2100 0418 00 0200051332", "valid ES9121000418450200051332 (iban)"},
        {"2100 04?8 ?? 0200051332", "ambiguous 10 (ccc)"},
        {"2100 0418 ?? 020005133", "length 19/20 (ccc)"},
    };
    expectFindings(std::begin(cases), std::end(cases), ControlDigitRule::Compute);
}

} // namespace
} // namespace cuentas
