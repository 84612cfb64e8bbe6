#include "cli/candidates.h"

#include "controldigits/control_digits.h"
#include "controldigits/iban_digits.h"

#include <algorithm>
#include <utility>

namespace cuentas::cli {
namespace {

// Each place is solved for the one digit (two, where a control digit of 1 allows two
// remainders) its checks leave, by tables made at compile time: a failing number costs a few
// dozen table reads, no division and no trial of all ten digits.

constexpr int kCcc = 4; // where the 20 digits start in an IBAN's compact form

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

// For a remainder short by `t` (mod 97), what a digit at place k must gain: t / place (97 is
// prime: 1/x is x^95).
constexpr auto kShift97 = [] {
    std::array<std::array<std::uint8_t, kIbanLength>, 97> table{};
    for (int t = 0; t < 97; ++t) {
        for (std::size_t k = 2; k < kIbanLength; ++k) {
            table[static_cast<std::size_t>(t)][k] =
                static_cast<std::uint8_t>(t * power(kPlaces[k], 95, 97) % 97);
        }
    }
    return table;
}();

// What swapping the digits at places k and k + 1 adds to the remainder, by their difference
// (right - left + 9).
constexpr auto kSwap97 = [] {
    std::array<std::array<std::uint8_t, 19>, kIbanLength> table{};
    for (std::size_t k = 2; k + 1 < kIbanLength; ++k) {
        for (int d = -9; d <= 9; ++d) {
            const int gain = d * (kPlaces[k] - kPlaces[k + 1]) % 97;
            table[k][static_cast<std::size_t>(d + 9)] = static_cast<std::uint8_t>((gain + 97) % 97);
        }
    }
    return table;
}();

// The weight mod 11 of each of the 20 digits in its group (none for the control digits).
constexpr std::array<int, 20> kWeights{4, 8, 5, 10, 9, 7,  3, 6, 0, 0,
                                       1, 2, 4, 8,  5, 10, 9, 7, 3, 6};

// What a change of a digit by d (d + 9 in the table) adds to its group's remainder mod 11.
constexpr auto kStep11 = [] {
    std::array<std::array<std::uint8_t, 19>, 20> table{};
    for (std::size_t j = 0; j < 20; ++j) {
        for (int d = -9; d <= 9; ++d) {
            table[j][static_cast<std::size_t>(d + 9)] =
                static_cast<std::uint8_t>((kWeights[j] * d % 11 + 11) % 11);
        }
    }
    return table;
}();

// For a group remainder short by t (mod 11), what the digit at j must gain: t / weight.
constexpr auto kShift11 = [] {
    std::array<std::array<std::uint8_t, 20>, 11> table{};
    for (int t = 0; t < 11; ++t) {
        for (std::size_t j = 0; j < 20; ++j) {
            const int inverse = kWeights[j] == 0 ? 0 : power(kWeights[j], 9, 11);
            table[static_cast<std::size_t>(t)][j] = static_cast<std::uint8_t>(t * inverse % 11);
        }
    }
    return table;
}();

constexpr int digitOfRemainder(int remainder) {
    return remainder < 2 ? remainder : 11 - remainder;
}

int value(char c) {
    return c - '0';
}

// a + b for remainders already below the modulus.
int addMod(int a, int b, int modulus) {
    const int sum = a + b;
    return sum >= modulus ? sum - modulus : sum;
}

class Search {
public:
    Search(const AccountDiagnosis& account, const EntityRegister* entities, std::size_t limit,
           Candidates& result)
        : iban_(account.form == AccountForm::Iban), entities_(entities),
          limit_(std::min(limit, kMaxCandidates)), number_(compactForm(account)),
          ccc_(number_.data() + (iban_ ? kCcc : 0)), result_(result) {
        result_.count = 0;
        result_.tooMany = false;
        const CodeSums sums = codeSums(ccc_);
        remainder1_ = static_cast<int>(sums.bankBranch % 11);
        remainder2_ = static_cast<int>(sums.account % 11);
        firstPasses_ = digitOfRemainder(remainder1_) == digit(8);
        secondPasses_ = digitOfRemainder(remainder2_) == digit(9);
        if (iban_) {
            // The remainder of the whole IBAN, which is 1 when its check digits fit.
            const int written = value(number_[2]) * 10 + value(number_[3]);
            const int expected = value(account.ibanDigits[0]) * 10 + value(account.ibanDigits[1]);
            remainder97_ = (98 - expected + written) % 97;
            checkDigitsInRange_ = written >= 2 && written <= 98;
        }
        bankCode_ = digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3);
        bankKnown_ = !entities_ || entities_->find(static_cast<std::uint32_t>(bankCode_));
    }

    void run() {
        if (iban_) {
            searchIban();
        } else if (!firstPasses_ && secondPasses_) {
            if (!surelyTooMany(4, 8, remainder1_, digit(8))) {
                searchCodeGroup(0, 8);
            }
        } else if (firstPasses_ && !secondPasses_) {
            if (!surelyTooMany(10, 20, remainder2_, digit(9))) {
                searchCodeGroup(10, 20);
            }
        } else if (digitOfRemainder(remainder1_) == digit(9) &&
                   digitOfRemainder(remainder2_) == digit(8) && bankKnown_) {
            add(Candidate::Change::Swap, 8, 0); // both control digits, swapped
        }
        // In the order of the places they change (a handful: insertion is enough).
        for (std::size_t i = 1; i < result_.count; ++i) {
            for (std::size_t j = i; j > 0 && result_.items[j].index < result_.items[j - 1].index;
                 --j) {
                std::swap(result_.items[j], result_.items[j - 1]);
            }
        }
        result_.searched = true;
    }

private:
    int digit(std::size_t j) const { return value(ccc_[j]); }
    int offset() const { return iban_ ? kCcc : 0; }

    bool known(const char* ccc) const {
        if (!entities_) {
            return true;
        }
        const auto code = static_cast<std::uint32_t>(value(ccc[0]) * 1000 + value(ccc[1]) * 100 +
                                                     value(ccc[2]) * 10 + value(ccc[3]));
        return entities_->find(code) != nullptr;
    }
    // Whether the bank code stays one the register holds with the digits at j (and j + 1)
    // as given.
    bool bankKnownWith(std::size_t j, int newDigit, int nextDigit = -1) const {
        if (j >= 4 || !entities_) {
            return j >= 4 ? bankKnown_ : true;
        }
        static constexpr int kScale[5] = {1000, 100, 10, 1, 0};
        int code = bankCode_ + (newDigit - digit(j)) * kScale[j];
        if (nextDigit >= 0) {
            code += (nextDigit - digit(j + 1)) * kScale[j + 1];
        }
        return entities_->find(static_cast<std::uint32_t>(code)) != nullptr;
    }

    void add(Candidate::Change change, std::size_t index, int newDigit) {
        if (result_.count == limit_) {
            result_.tooMany = true;
            return;
        }
        result_.items[result_.count++] = {change, static_cast<std::uint8_t>(index),
                                          static_cast<char>('0' + newDigit)};
    }

    // Most codes whose account fails have a candidate at nearly every place of it, too many
    // to tell: counting those outside the bank code, without a branch, says so at once.
    bool surelyTooMany(std::size_t first, std::size_t last, int remainder, int target) {
        if (!bankKnown_) {
            return false;
        }
        const std::size_t t0 =
            static_cast<std::size_t>(addMod(target < 2 ? target : 11 - target, 11 - remainder, 11));
        const std::size_t t1 = static_cast<std::size_t>(addMod(10, 11 - remainder, 11));
        const int second = target == 1 ? 1 : 0;
        std::size_t count = 1; // the control digit itself
        for (std::size_t j = first; j < last; ++j) {
            count += static_cast<std::size_t>(digit(j) + kShift11[t0][j] != 10);
            count += static_cast<std::size_t>(second & (digit(j) + kShift11[t1][j] != 10));
        }
        if (count <= limit_) {
            return false;
        }
        result_.tooMany = true;
        return true;
    }

    // The digits of a code's one failing group: [first, last) are its data, and its control
    // digit stands at 8 or 9.
    void searchCodeGroup(std::size_t first, std::size_t last) {
        // A bank code the register lacks leaves only the changes inside it.
        if (!bankKnown_ && first >= 4) {
            return;
        }
        last = bankKnown_ ? last : 4;
        const std::size_t control = first == 0 ? 8 : 9;
        const int remainder = first == 0 ? remainder1_ : remainder2_;
        const int target = digit(control);
        // The remainders that give the written control digit: 1 and 10 both give 1.
        const int wanted[2] = {target < 2 ? target : 11 - target, target == 1 ? 10 : -1};
        const std::size_t ccc = static_cast<std::size_t>(offset());
        if (control == 9) {
            changeControlDigit(control, remainder);
            swapAcrossControlDigit(9, remainder, target);
        }
        // Each place gives its digits without a branch; the register is asked only inside the
        // bank code.
        const std::size_t shift0 = static_cast<std::size_t>(addMod(wanted[0], 11 - remainder, 11));
        const std::size_t shift1 =
            static_cast<std::size_t>(addMod(wanted[1] < 0 ? 0 : wanted[1], 11 - remainder, 11));
        for (std::size_t j = first; j < last && !result_.tooMany; ++j) {
            const int written = digit(j);
            int low = written + kShift11[shift0][j];
            int high = written + kShift11[shift1][j];
            low = low > 10 ? low - 11 : low;
            high = high > 10 ? high - 11 : high;
            bool lowFits = low != 10;
            bool highFits = wanted[1] >= 0 && high != 10;
            if (j < 4) {
                lowFits = lowFits && bankKnownWith(j, low);
                highFits = highFits && bankKnownWith(j, high);
            } else {
                lowFits = lowFits && bankKnown_;
                highFits = highFits && bankKnown_;
            }
            if (lowFits && highFits && high < low) {
                std::swap(low, high);
            }
            if (lowFits) {
                add(Candidate::Change::Digit, ccc + j, low);
            }
            if (highFits) {
                add(Candidate::Change::Digit, ccc + j, high);
            }
        }
        for (std::size_t j = first; j + 1 < (bankKnown_ ? last : 5) && !result_.tooMany; ++j) {
            const int left = digit(j);
            const int right = digit(j + 1);
            if (left == right) {
                continue;
            }
            const int moved = addMod(
                addMod(remainder, kStep11[j][static_cast<std::size_t>(right - left + 9)], 11),
                kStep11[j + 1][static_cast<std::size_t>(left - right + 9)], 11);
            if (digitOfRemainder(moved) == target && bankKnownWith(j, right, left)) {
                add(Candidate::Change::Swap, ccc + j, 0);
            }
        }
        if (control == 8) {
            swapAcrossControlDigit(7, remainder, target);
            changeControlDigit(control, remainder);
        }
    }

    void changeControlDigit(std::size_t control, int remainder) {
        if (bankKnown_) {
            add(Candidate::Change::Digit, static_cast<std::size_t>(offset()) + control,
                digitOfRemainder(remainder));
        }
    }

    // The last data digit of the first group with its control digit (j = 7), or the second
    // control digit with the first digit of the account (j = 9).
    void swapAcrossControlDigit(std::size_t j, int remainder, int target) {
        const std::size_t data = j == 7 ? 7 : 10;
        const int other = digit(j == 7 ? 8 : 9);
        if (other == digit(data) || result_.tooMany) {
            return;
        }
        // The data digit becomes the control digit's, which becomes the data digit's.
        const int moved =
            addMod(remainder, kStep11[data][static_cast<std::size_t>(other - digit(data) + 9)], 11);
        if (digitOfRemainder(moved) == digit(data) && target != digit(data) &&
            bankKnownWith(data, other)) {
            add(Candidate::Change::Swap, static_cast<std::size_t>(offset()) + j, 0);
        }
    }

    // An IBAN: the mod-97 check leaves one digit at each place; it must also leave the
    // groups passing. Swaps are sieved by their mod-97 gain and then checked whole.
    void searchIban() {
        const int t = (1 - remainder97_ + 97) % 97;
        const auto& shifts = kShift97[static_cast<std::size_t>(t)];
        const auto changedDigit = [&](std::size_t k) {
            const int written = value(number_[k]);
            const int changed = written + shifts[k];
            return changed <= 9 ? changed : changed >= 97 ? changed - 97 : -1;
        };
        if (t != 0 && firstPasses_ && secondPasses_ && bankKnown_) {
            for (std::size_t k = 2; k < 4; ++k) {
                const int changed = changedDigit(k);
                const int checkDigits =
                    k == 2 ? changed * 10 + value(number_[3]) : value(number_[2]) * 10 + changed;
                if (changed >= 0 && checkDigits >= 2 && checkDigits <= 98) {
                    add(Candidate::Change::Digit, k, changed);
                }
            }
        }
        const std::size_t from = !firstPasses_ ? 0 : !secondPasses_ ? 9 : 0;
        const std::size_t to = !bankKnown_ ? 4 : !secondPasses_ ? 20 : !firstPasses_ ? 9 : 20;
        const bool onePasses = firstPasses_ || secondPasses_;
        for (std::size_t j = from; t != 0 && onePasses && checkDigitsInRange_ && j < to; ++j) {
            const int changed = changedDigit(kCcc + j);
            if (changed < 0) {
                continue;
            }
            const auto step = kStep11[j][static_cast<std::size_t>(changed - digit(j) + 9)];
            const bool passes =
                j < 8 ? secondPasses_ && digitOfRemainder(addMod(remainder1_, step, 11)) == digit(8)
                : j == 8 ? secondPasses_ && changed == digitOfRemainder(remainder1_)
                : j == 9
                    ? firstPasses_ && changed == digitOfRemainder(remainder2_)
                    : firstPasses_ && digitOfRemainder(addMod(remainder2_, step, 11)) == digit(9);
            if (passes && bankKnownWith(j, changed)) {
                add(Candidate::Change::Digit, kCcc + j, changed);
            }
        }
        // A swap must reach each group that fails (a control digit belongs to its group).
        const std::size_t swapsFrom = firstPasses_ ? (secondPasses_ ? 2 : kCcc + 8) : 2;
        const std::size_t swapsTo =
            secondPasses_ ? (firstPasses_ ? kIbanLength : kCcc + 10) : kIbanLength;
        const std::size_t swapsEnd =
            bankKnown_ ? swapsTo : std::min<std::size_t>(swapsTo, kCcc + 5);
        for (std::size_t k = swapsFrom; k + 1 < swapsEnd && !result_.tooMany; ++k) {
            const int left = value(number_[k]);
            const int right = value(number_[k + 1]);
            if (left == right ||
                addMod(remainder97_, kSwap97[k][static_cast<std::size_t>(right - left + 9)], 97) !=
                    1) {
                continue;
            }
            std::array<char, kIbanLength> swapped = number_;
            std::swap(swapped[k], swapped[k + 1]);
            if (passesEverything(swapped)) {
                add(Candidate::Change::Swap, k, 0);
            }
        }
    }

    bool passesEverything(const std::array<char, kIbanLength>& number) const {
        const std::string_view ccc(number.data() + offset(), kCccLength);
        const std::array<std::uint32_t, 2> controlDigits = codeControlDigits(ccc.data());
        if (controlDigits[0] != static_cast<std::uint32_t>(value(ccc[8])) ||
            controlDigits[1] != static_cast<std::uint32_t>(value(ccc[9])) || !known(ccc.data())) {
            return false;
        }
        return ibanCheckDigits("ES", ccc) ==
               static_cast<std::uint32_t>(value(number[2]) * 10 + value(number[3]));
    }

    bool iban_;
    const EntityRegister* entities_;
    std::size_t limit_;
    std::array<char, kIbanLength> number_;
    const char* ccc_;
    int remainder1_ = 0;
    int remainder2_ = 0;
    int remainder97_ = 1;
    bool firstPasses_ = false;
    bool secondPasses_ = false;
    bool checkDigitsInRange_ = false;
    int bankCode_ = 0;
    bool bankKnown_ = false;
    Candidates& result_;
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

void findCandidates(const AccountDiagnosis& account, const EntityRegister* entities,
                    std::size_t limit, Candidates& candidates) {
    Search(account, entities, limit, candidates).run();
}

} // namespace cuentas::cli
