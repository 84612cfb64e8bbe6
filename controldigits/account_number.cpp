#include "controldigits/account_number.h"

#include "controldigits/control_digits.h"
#include "controldigits/iban_digits.h"

#include <algorithm>
#include <cstring>

namespace cuentas {
namespace {

constexpr std::size_t kBankBranchEnd = 8; // bank and branch are digits 1 to 8
constexpr std::size_t kFirstDigit = 8;    // the control digits are digits 9 and 10
constexpr std::size_t kSecondDigit = 9;
constexpr std::size_t kAccountStart = 10;
constexpr std::size_t kIbanDigitsPlace = 2; // in an IBAN, after the country
constexpr std::size_t kCccInIban = 4;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char digitChar(std::uint32_t value) {
    return static_cast<char>('0' + value);
}

// Where the number starts: after the word "IBAN" (any letter case) followed by a blank or a
// colon, as it is often printed; otherwise at the start.
std::size_t afterIbanWord(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos || text.size() - start < 5) {
        return 0;
    }
    constexpr std::string_view kWord = "IBAN";
    for (std::size_t i = 0; i < kWord.size(); ++i) {
        if (upper(text[start + i]) != kWord[i]) {
            return 0;
        }
    }
    const char next = text[start + kWord.size()];
    if (next == ' ') {
        return start + kWord.size();
    }
    return next == ':' ? start + kWord.size() + 1 : 0;
}

AccountPart partOfCccDigit(std::size_t index) {
    if (index < 4) {
        return AccountPart::Bank;
    }
    if (index < kBankBranchEnd) {
        return AccountPart::Branch;
    }
    return index < kAccountStart ? AccountPart::ControlDigits : AccountPart::Account;
}

std::array<char, 2> ibanDigitsOf(const std::array<char, kCccLength>& ccc) {
    const std::uint32_t digits = ibanCheckDigits("ES", std::string_view(ccc.data(), ccc.size()));
    return {digitChar(digits / 10), digitChar(digits % 10)};
}

// A written check digit matches when it is unreadable or equal.
bool matches(char written, char computed) {
    return written == '?' || written == computed;
}

// The characters that count (separators and the word "IBAN" left out), as far as a Spanish
// IBAN reaches.
struct Reading {
    std::array<char, kIbanLength> chars{};
    std::uint32_t count = 0;
    std::uint32_t firstStray = 0; // position of the first character that does not belong
    std::uint32_t unknowns = 0;   // how many '?'
    std::size_t start = 0;        // where the number begins, after the word "IBAN"
    bool iban = false;
};

// The forms on paper, "2100 0418 45 0200051332" and "ES91 2100 0418 4502 0005 1332": blanks
// where the groups meet, and the groups copied whole, to be checked as the compact forms are.
bool readPaperForm(std::string_view text, Reading& reading) {
    constexpr std::size_t kCccPaperLength = kCccLength + 3;   // three blanks
    constexpr std::size_t kIbanPaperLength = kIbanLength + 5; // five blanks
    char* out = reading.chars.data();
    const char* in = text.data();
    if (text.size() == kCccPaperLength) {
        if (in[4] != ' ' || in[9] != ' ' || in[12] != ' ') {
            return false;
        }
        std::memcpy(out, in, 4);
        std::memcpy(out + 4, in + 5, 4);
        std::memcpy(out + 8, in + 10, 2);
        std::memcpy(out + 10, in + 13, 10);
        if (!detail::allDigits(std::string_view(out, kCccLength))) {
            return false;
        }
        reading.count = kCccLength;
        return true;
    }
    if (text.size() != kIbanPaperLength || in[4] != ' ' || in[9] != ' ' || in[14] != ' ' || in[19] != ' ' ||
        in[24] != ' ') {
        return false;
    }
    for (std::size_t group = 0; group < 6; ++group) {
        std::memcpy(out + 4 * group, in + 5 * group, 4);
    }
    if (!isLetter(out[0]) || !isLetter(out[1]) ||
        !detail::allDigits(std::string_view(out + 2, kIbanLength - 2))) {
        return false;
    }
    out[0] = upper(out[0]);
    out[1] = upper(out[1]);
    reading.count = kIbanLength;
    reading.iban = true;
    return true;
}

Reading readCharacters(std::string_view text) {
    Reading reading;
    // The compact forms, 20 digits or "ES" and 22 digits, need no character by character look.
    if (text.size() == kCccLength && detail::allDigits(text)) {
        std::copy(text.begin(), text.end(), reading.chars.begin());
        reading.count = kCccLength;
        return reading;
    }
    if (text.size() == kIbanLength && isLetter(text[0]) && isLetter(text[1]) &&
        detail::allDigits(text.substr(2))) {
        std::copy(text.begin(), text.end(), reading.chars.begin());
        reading.chars[0] = upper(text[0]);
        reading.chars[1] = upper(text[1]);
        reading.count = kIbanLength;
        reading.iban = true;
        return reading;
    }
    // So do the forms on paper, "2100 0418 45 0200051332" and "ES91 2100 0418 4502 0005 1332".
    if (readPaperForm(text, reading)) {
        return reading;
    }
    reading.start = afterIbanWord(text);
    // Two letters first make an IBAN; a single one is a mistyped digit of a code.
    std::size_t letters = 0;
    for (std::size_t i = reading.start; i < text.size() && letters < 2; ++i) {
        if (text[i] != ' ' && text[i] != '-') {
            if (!isLetter(text[i])) {
                break;
            }
            ++letters;
        }
    }
    const bool iban = letters == 2;
    std::uint32_t count = 0;
    std::uint32_t firstStray = 0;
    std::uint32_t unknowns = 0;
    for (std::size_t i = reading.start; i < text.size(); ++i) {
        char c = text[i];
        if (c == ' ' || c == '-') {
            continue;
        }
        if (iban && count < 2) {
            c = upper(c);
        } else if (c == '?') {
            ++unknowns;
        } else if (!isDigit(c) && firstStray == 0) {
            firstStray = static_cast<std::uint32_t>(i + 1);
        }
        if (count < kIbanLength) {
            reading.chars[count] = c;
        }
        ++count;
    }
    reading.count = count;
    reading.firstStray = firstStray;
    reading.unknowns = unknowns;
    reading.iban = iban;
    return reading;
}

// Checks the 20 digits once every character is a digit or '?'.
class DigitCheck {
public:
    DigitCheck(AccountDiagnosis& diagnosis, const Reading& reading, std::string_view text,
               ControlDigitRule rule)
        : d_(diagnosis), reading_(reading), text_(text), rule_(rule) {
        const std::size_t offset = reading.iban ? kCccInIban : 0;
        std::copy_n(reading.chars.begin() + offset, kCccLength, d_.ccc.begin());
        d_.writtenControlDigits = {d_.ccc[kFirstDigit], d_.ccc[kSecondDigit]};
        if (reading.iban) {
            d_.writtenIbanDigits = {reading.chars[kIbanDigitsPlace],
                                    reading.chars[kIbanDigitsPlace + 1]};
        }
        // Under the computing rule every check digit is as good as unreadable.
        const bool compute = rule == ControlDigitRule::Compute;
        firstDigit_ = compute ? '?' : d_.writtenControlDigits[0];
        secondDigit_ = compute ? '?' : d_.writtenControlDigits[1];
        ibanDigits_ = compute ? std::array<char, 2>{'?', '?'} : d_.writtenIbanDigits;
    }

    void run() {
        if (reading_.unknowns == 0 && rule_ == ControlDigitRule::Check) {
            checkReadable();
            return;
        }
        collectUnreadable();
        if (d_.unreadableCount > d_.unreadable.size() || freeCount_ > kMaxUnknownDigits) {
            d_.status = AccountStatus::Ambiguous;
            d_.candidates = 0;
            return;
        }
        if (groupFaultWithoutUnknowns()) {
            return;
        }
        if (freeCount_ == 0) {
            settle(d_.ccc);
            return;
        }
        tryEveryCombination();
    }

private:
    // Every digit read: the common case, each check digit computed once.
    void checkReadable() {
        const std::array<std::uint32_t, 2> computed = codeControlDigits(d_.ccc.data());
        d_.controlDigits = {digitChar(computed[0]), digitChar(computed[1])};
        const bool firstFails = d_.controlDigits[0] != firstDigit_;
        const bool secondFails = d_.controlDigits[1] != secondDigit_;
        if (firstFails || secondFails) {
            faultOf(firstFails, secondFails);
            return;
        }
        // A code's IBAN digits are made only when asked for (iban()).
        if (reading_.iban) {
            d_.ibanDigits = ibanDigitsOf(d_.ccc);
        }
        d_.status = reading_.iban && d_.ibanDigits != d_.writtenIbanDigits
                        ? AccountStatus::IbanDigits
                        : AccountStatus::Valid;
    }

    void faultOf(bool firstFails, bool secondFails) {
        d_.status = firstFails && secondFails ? AccountStatus::ControlDigits
                    : firstFails              ? AccountStatus::BankBranchDigit
                                              : AccountStatus::AccountDigit;
        if (reading_.iban && d_.unreadableCount == 0) {
            d_.ibanDigits = ibanDigitsOf(d_.ccc);
            d_.ibanDigitsFail = d_.ibanDigits != d_.writtenIbanDigits;
        }
    }

    void collectUnreadable() {
        const std::size_t offset = reading_.iban ? kCccInIban : 0;
        std::size_t counted = 0;
        for (std::size_t i = reading_.start; i < text_.size() && counted < kIbanLength; ++i) {
            if (text_[i] == ' ' || text_[i] == '-') {
                continue;
            }
            const std::size_t k = counted++;
            if (text_[i] != '?') {
                continue;
            }
            const bool inCcc = k >= offset;
            const std::size_t index = k - offset;
            if (d_.unreadableCount < d_.unreadable.size()) {
                UnreadableDigit& digit = d_.unreadable[d_.unreadableCount];
                digit.position = static_cast<std::uint32_t>(i + 1);
                digit.part = inCcc ? partOfCccDigit(index) : AccountPart::IbanDigits;
            }
            ++d_.unreadableCount;
            if (inCcc && index != kFirstDigit && index != kSecondDigit) {
                if (freeCount_ < freePlaces_.size()) {
                    freePlaces_[freeCount_] = index;
                }
                ++freeCount_;
                (index < kBankBranchEnd ? bankBranchUnknown_ : accountUnknown_) = true;
            }
        }
    }

    // A group of digits without unreadable ones whose control digit fails is a fault
    // whatever the unreadable digits elsewhere turn out to be.
    bool groupFaultWithoutUnknowns() {
        const std::string_view digits(d_.ccc.data(), d_.ccc.size());
        const char first =
            bankBranchUnknown_ ? '?' : digitChar(controlDigit(digits.substr(0, kBankBranchEnd)));
        const char second =
            accountUnknown_ ? '?' : digitChar(controlDigit(digits.substr(kAccountStart)));
        const bool firstFails = !bankBranchUnknown_ && !matches(firstDigit_, first);
        const bool secondFails = !accountUnknown_ && !matches(secondDigit_, second);
        if (!firstFails && !secondFails) {
            return false;
        }
        d_.controlDigits = {first, second};
        faultOf(firstFails, secondFails);
        return true;
    }

    // Whether digits without unreadable ones left satisfy every check digit that was read.
    bool fits(const std::array<char, kCccLength>& digits) const {
        const std::string_view view(digits.data(), digits.size());
        if (!matches(firstDigit_, digitChar(controlDigit(view.substr(0, kBankBranchEnd)))) ||
            !matches(secondDigit_, digitChar(controlDigit(view.substr(kAccountStart))))) {
            return false;
        }
        if (!reading_.iban) {
            return true;
        }
        const std::array<char, 2> iban = ibanDigitsOf(withControlDigits(digits));
        return matches(ibanDigits_[0], iban[0]) && matches(ibanDigits_[1], iban[1]);
    }

    static std::array<char, kCccLength> withControlDigits(std::array<char, kCccLength> digits) {
        const std::string_view view(digits.data(), digits.size());
        digits[kFirstDigit] = digitChar(controlDigit(view.substr(0, kBankBranchEnd)));
        digits[kSecondDigit] = digitChar(controlDigit(view.substr(kAccountStart)));
        return digits;
    }

    void tryEveryCombination() {
        std::uint32_t combinations = 1;
        for (std::size_t i = 0; i < freeCount_; ++i) {
            combinations *= 10;
        }
        std::array<char, kCccLength> trial = d_.ccc;
        std::array<char, kCccLength> solution{};
        std::uint32_t found = 0;
        for (std::uint32_t combination = 0; combination < combinations; ++combination) {
            std::uint32_t rest = combination;
            for (std::size_t i = 0; i < freeCount_; ++i) {
                trial[freePlaces_[i]] = digitChar(rest % 10);
                rest /= 10;
            }
            if (fits(trial)) {
                solution = trial;
                ++found;
            }
        }
        if (found == 1) {
            settle(solution);
            return;
        }
        d_.status = found == 0 ? AccountStatus::NoFit : AccountStatus::Ambiguous;
        d_.candidates = found;
        d_.controlDigits = {'?', '?'};
    }

    // The digits are known and fit what was read of the control digits: fill in the check
    // digits and every unreadable digit.
    void settle(const std::array<char, kCccLength>& digits) {
        d_.ccc = withControlDigits(digits);
        d_.controlDigits = {d_.ccc[kFirstDigit], d_.ccc[kSecondDigit]};
        if (reading_.iban) {
            d_.ibanDigits = ibanDigitsOf(d_.ccc);
        }
        if (reading_.iban && (!matches(ibanDigits_[0], d_.ibanDigits[0]) ||
                              !matches(ibanDigits_[1], d_.ibanDigits[1]))) {
            d_.status = AccountStatus::IbanDigits;
            return;
        }
        const std::size_t offset = reading_.iban ? kCccInIban : 0;
        std::uint32_t next = 0;
        for (std::size_t k = 0; k < reading_.count && next < d_.unreadableCount; ++k) {
            if (reading_.chars[k] != '?') {
                continue;
            }
            d_.unreadable[next++].digit =
                k < offset ? d_.ibanDigits[k - kIbanDigitsPlace] : d_.ccc[k - offset];
        }
        d_.status = d_.unreadableCount > 0 ? AccountStatus::Recovered : AccountStatus::Valid;
    }

    AccountDiagnosis& d_;
    const Reading& reading_;
    std::string_view text_;
    ControlDigitRule rule_;
    char firstDigit_ = '?';
    char secondDigit_ = '?';
    std::array<char, 2> ibanDigits_{'?', '?'};
    std::array<std::size_t, kMaxUnknownDigits> freePlaces_{};
    std::size_t freeCount_ = 0;
    bool bankBranchUnknown_ = false;
    bool accountUnknown_ = false;
};

} // namespace

std::array<char, kIbanLength> AccountDiagnosis::iban() const {
    const std::array<char, 2> digits = form == AccountForm::Iban ? ibanDigits : ibanDigitsOf(ccc);
    std::array<char, kIbanLength> result{'E', 'S', digits[0], digits[1]};
    std::copy(ccc.begin(), ccc.end(), result.begin() + kCccInIban);
    return result;
}

AccountDiagnosis diagnoseAccountNumber(std::string_view text, ControlDigitRule rule) {
    AccountDiagnosis d;
    const Reading reading = readCharacters(text);
    if (reading.count == 0) {
        return d;
    }
    d.form = reading.iban ? AccountForm::Iban : AccountForm::Ccc;
    if (reading.iban) {
        d.country = {reading.chars[0], reading.chars[1]};
        if (d.country[0] != 'E' || d.country[1] != 'S') {
            d.status = AccountStatus::Country;
            return d;
        }
    }
    if (reading.firstStray != 0) {
        d.status = AccountStatus::Chars;
        d.position = reading.firstStray;
        return d;
    }
    const std::uint32_t expected = reading.iban ? kIbanLength : kCccLength;
    if (reading.count != expected) {
        d.status = AccountStatus::Length;
        d.given = reading.count;
        d.expected = expected;
        return d;
    }
    DigitCheck(d, reading, text, rule).run();
    return d;
}

} // namespace cuentas
