#include "cli/candidates.h"

#include "controldigits/control_digits.h"
#include "controldigits/iban_digits.h"

#include <algorithm>

namespace cuentas::cli {
namespace {

// Each place is tried by solving its check for the one digit that could stand there, rather
// than by trying all ten: a failing number costs a few dozen steps, not hundreds of checks.

constexpr int kCcc = 4; // where the 20 digits start in an IBAN's compact form

constexpr int mod(int value, int modulus) {
    const int rest = value % modulus;
    return rest < 0 ? rest + modulus : rest;
}

constexpr int power(int base, int exponent, int modulus) {
    int result = 1;
    for (int i = 0; i < exponent; ++i) {
        result = result * base % modulus;
    }
    return result;
}

// The value mod 97 of one unit at each place of an IBAN's compact form, read as ISO 7064 reads
// it: the 20 digits, then "ES" as 1428, then the check digits.
constexpr std::array<int, kIbanLength> kPlaces = [] {
    std::array<int, kIbanLength> places{};
    places[2] = 10;
    places[3] = 1;
    for (int j = 0; j < 20; ++j) {
        places[static_cast<std::size_t>(kCcc + j)] = power(10, 25 - j, 97);
    }
    return places;
}();
// Their inverses mod 97 (97 is prime: x^95 is 1/x).
constexpr std::array<int, kIbanLength> kInversePlaces = [] {
    std::array<int, kIbanLength> inverses{};
    for (std::size_t k = 2; k < kIbanLength; ++k) {
        inverses[k] = power(kPlaces[k], 95, 97);
    }
    return inverses;
}();

// The weight mod 11 of each of the 20 digits in its group (none for the control digits), and
// the inverses of the weights 1 to 10 mod 11.
constexpr std::array<int, 20> kWeights{4, 8, 5, 10, 9, 7,  3, 6, 0, 0,
                                       1, 2, 4, 8,  5, 10, 9, 7, 3, 6};
constexpr std::array<int, 11> kInverseWeights{0, 1, 6, 4, 3, 9, 2, 8, 7, 5, 10};

constexpr int digitOfRemainder(int remainder) {
    return remainder < 2 ? remainder : 11 - remainder;
}

int value(char c) {
    return c - '0';
}

class Search {
public:
    Search(const AccountDiagnosis& account, const EntityRegister* entities, std::size_t limit)
        : iban_(account.form == AccountForm::Iban), entities_(entities),
          limit_(std::min(limit, kMaxCandidates)), number_(compactForm(account)) {
        const char* ccc = number_.data() + offset();
        int sum1 = 0;
        int sum2 = 0;
        for (int j = 0; j < 8; ++j) {
            sum1 += kWeights[static_cast<std::size_t>(j)] * value(ccc[j]);
        }
        for (int j = 10; j < 20; ++j) {
            sum2 += kWeights[static_cast<std::size_t>(j)] * value(ccc[j]);
        }
        remainder1_ = sum1 % 11;
        remainder2_ = sum2 % 11;
        firstPasses_ = digitOfRemainder(remainder1_) == value(ccc[8]);
        secondPasses_ = digitOfRemainder(remainder2_) == value(ccc[9]);
        if (iban_) {
            // The remainder of the whole IBAN, which is 1 when its check digits fit.
            const int written = value(number_[2]) * 10 + value(number_[3]);
            const int expected = value(account.ibanDigits[0]) * 10 + value(account.ibanDigits[1]);
            remainder97_ = mod(98 - expected + written, 97);
            checkDigitsInRange_ = written >= 2 && written <= 98;
        }
        bankKnown_ = known(ccc);
    }

    Candidates run() {
        const int first = iban_ ? 2 : 0;
        const int last = iban_ ? static_cast<int>(kIbanLength) : 20;
        for (int k = first; k < last && !result_.tooMany; ++k) {
            if (iban_) {
                changeDigitOfIban(k);
            } else {
                changeDigitOfCode(k);
            }
        }
        for (int k = first; k + 1 < last && !result_.tooMany; ++k) {
            swap(k);
        }
        std::stable_sort(result_.items.begin(), result_.items.begin() + result_.count,
                         [](const Candidate& a, const Candidate& b) { return a.index < b.index; });
        result_.searched = true;
        return result_;
    }

private:
    int offset() const { return iban_ ? kCcc : 0; }

    bool known(const char* ccc) const {
        if (!entities_) {
            return true;
        }
        const auto code = static_cast<std::uint32_t>(value(ccc[0]) * 1000 + value(ccc[1]) * 100 +
                                                     value(ccc[2]) * 10 + value(ccc[3]));
        return entities_->find(code) != nullptr;
    }

    void add(Candidate::Change change, int index, char digit) {
        if (result_.count == limit_) {
            result_.tooMany = true;
            return;
        }
        result_.items[result_.count++] = {change, static_cast<std::uint8_t>(index), digit};
    }

    // Whether the 20 digits with `delta` added to the one at `j` pass both control digits and
    // keep a known bank.
    bool cccPassesWith(int j, int delta) const {
        const char* ccc = number_.data() + offset();
        const int newDigit = value(ccc[j]) + delta;
        bool passes = false;
        if (j < 8) {
            const int remainder =
                mod(remainder1_ + kWeights[static_cast<std::size_t>(j)] * delta, 11);
            passes = secondPasses_ && digitOfRemainder(remainder) == value(ccc[8]);
        } else if (j == 8) {
            passes = secondPasses_ && newDigit == digitOfRemainder(remainder1_);
        } else if (j == 9) {
            passes = firstPasses_ && newDigit == digitOfRemainder(remainder2_);
        } else {
            const int remainder =
                mod(remainder2_ + kWeights[static_cast<std::size_t>(j)] * delta, 11);
            passes = firstPasses_ && digitOfRemainder(remainder) == value(ccc[9]);
        }
        if (!passes) {
            return false;
        }
        if (j >= 4) {
            return bankKnown_;
        }
        std::array<char, 4> bank{ccc[0], ccc[1], ccc[2], ccc[3]};
        bank[static_cast<std::size_t>(j)] = static_cast<char>('0' + newDigit);
        return known(bank.data());
    }

    // The mod-97 check leaves one digit that could stand at each place.
    void changeDigitOfIban(int k) {
        const int written = value(number_[static_cast<std::size_t>(k)]);
        const int shift = mod((1 - remainder97_) * kInversePlaces[static_cast<std::size_t>(k)], 97);
        int digit = written + shift;
        if (digit > 9) {
            digit -= 97;
        }
        if (shift == 0 || digit < 0) {
            return;
        }
        if (k < kCcc) {
            // The check digits: the 20 digits must pass as they are, and the new check digits
            // be ones a computation gives (02 to 98).
            const int other = value(number_[k == 2 ? 3u : 2u]);
            const int checkDigits = k == 2 ? digit * 10 + other : other * 10 + digit;
            if (firstPasses_ && secondPasses_ && bankKnown_ && checkDigits >= 2 &&
                checkDigits <= 98) {
                add(Candidate::Change::Digit, k, static_cast<char>('0' + digit));
            }
            return;
        }
        if (checkDigitsInRange_ && cccPassesWith(k - kCcc, digit - written)) {
            add(Candidate::Change::Digit, k, static_cast<char>('0' + digit));
        }
    }

    // The control digit of the group leaves one or two digits that could stand at each place.
    void changeDigitOfCode(int j) {
        const int written = value(number_[static_cast<std::size_t>(j)]);
        if (j == 8 || j == 9) {
            const int digit = digitOfRemainder(j == 8 ? remainder1_ : remainder2_);
            if (digit != written && cccPassesWith(j, digit - written)) {
                add(Candidate::Change::Digit, j, static_cast<char>('0' + digit));
            }
            return;
        }
        const int target = value(number_[j < 8 ? 8u : 9u]);
        const int remainder = j < 8 ? remainder1_ : remainder2_;
        const int inverse =
            kInverseWeights[static_cast<std::size_t>(kWeights[static_cast<std::size_t>(j)])];
        // The remainders that give the written control digit: 1 and 10 both give 1.
        const int wanted[2] = {target < 2 ? target : 11 - target, target == 1 ? 10 : -1};
        int found[2] = {-1, -1};
        for (int w = 0; w < 2; ++w) {
            if (wanted[w] < 0) {
                continue;
            }
            const int delta = mod((wanted[w] - remainder) * inverse, 11);
            int digit = written + delta;
            if (digit > 9) {
                digit -= 11;
            }
            if (delta != 0 && digit >= 0 && cccPassesWith(j, digit - written)) {
                found[w] = digit;
            }
        }
        std::sort(std::begin(found), std::end(found));
        for (int digit : found) {
            if (digit >= 0) {
                add(Candidate::Change::Digit, j, static_cast<char>('0' + digit));
            }
        }
    }

    void swap(int k) {
        const auto at = static_cast<std::size_t>(k);
        const int left = value(number_[at]);
        const int right = value(number_[at + 1]);
        if (left == right) {
            return;
        }
        if (iban_ &&
            mod(remainder97_ + (right - left) * (kPlaces[at] - kPlaces[at + 1]), 97) != 1) {
            return;
        }
        std::array<char, kIbanLength> swapped = number_;
        std::swap(swapped[at], swapped[at + 1]);
        if (passesEverything(swapped)) {
            add(Candidate::Change::Swap, k, 0);
        }
    }

    bool passesEverything(const std::array<char, kIbanLength>& number) const {
        const std::string_view ccc(number.data() + offset(), kCccLength);
        if (controlDigit(ccc.substr(0, 8)) != static_cast<std::uint32_t>(value(ccc[8])) ||
            controlDigit(ccc.substr(10)) != static_cast<std::uint32_t>(value(ccc[9])) ||
            !known(ccc.data())) {
            return false;
        }
        return !iban_ || ibanCheckDigits("ES", ccc) ==
                             static_cast<std::uint32_t>(value(number[2]) * 10 + value(number[3]));
    }

    bool iban_;
    const EntityRegister* entities_;
    std::size_t limit_;
    std::array<char, kIbanLength> number_;
    int remainder1_ = 0;
    int remainder2_ = 0;
    int remainder97_ = 1;
    bool firstPasses_ = false;
    bool secondPasses_ = false;
    bool checkDigitsInRange_ = false;
    bool bankKnown_ = false;
    Candidates result_;
};

} // namespace

std::array<char, kIbanLength> compactForm(const AccountDiagnosis& account) {
    std::array<char, kIbanLength> number{};
    if (account.form == AccountForm::Iban) {
        number = {'E', 'S', account.writtenIbanDigits[0], account.writtenIbanDigits[1]};
        std::copy(account.ccc.begin(), account.ccc.end(), number.begin() + kCcc);
    } else {
        std::copy(account.ccc.begin(), account.ccc.end(), number.begin());
    }
    return number;
}

std::array<char, kIbanLength> applied(const AccountDiagnosis& account, const Candidate& candidate) {
    std::array<char, kIbanLength> number = compactForm(account);
    if (candidate.change == Candidate::Change::Digit) {
        number[candidate.index] = candidate.digit;
    } else {
        std::swap(number[candidate.index], number[candidate.index + 1u]);
    }
    return number;
}

bool changesCheckDigitsOnly(const AccountDiagnosis& account, const Candidate& candidate) {
    const int last = candidate.index + (candidate.change == Candidate::Change::Swap ? 1 : 0);
    return account.form == AccountForm::Iban && last < kCcc;
}

Candidates findCandidates(const AccountDiagnosis& account, const EntityRegister* entities,
                          std::size_t limit) {
    return Search(account, entities, limit).run();
}

} // namespace cuentas::cli
