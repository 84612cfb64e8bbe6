#include "cli/finding.h"

#include "controldigits/control_digits.h"

#include <array>

namespace cuentas::cli {
namespace {

constexpr std::array<std::string_view, 19> kStatusWords{"valid",
                                                        "recovered",
                                                        "empty",
                                                        "country",
                                                        "chars",
                                                        "length",
                                                        "bank-branch-digit",
                                                        "account-digit",
                                                        "control-digits",
                                                        "iban-digits",
                                                        "ambiguous",
                                                        "no-fit",
                                                        "unknown-bank",
                                                        "absorbed-bank",
                                                        "inactive-bank",
                                                        "too-long",
                                                        "unterminated-quote",
                                                        "missing-field",
                                                        "blank"};

Status statusOf(AccountStatus status) {
    switch (status) {
    case AccountStatus::Valid:
        return Status::Valid;
    case AccountStatus::Recovered:
        return Status::Recovered;
    case AccountStatus::Empty:
        return Status::Empty;
    case AccountStatus::Country:
        return Status::Country;
    case AccountStatus::Chars:
        return Status::Chars;
    case AccountStatus::Length:
        return Status::Length;
    case AccountStatus::BankBranchDigit:
        return Status::BankBranchDigit;
    case AccountStatus::AccountDigit:
        return Status::AccountDigit;
    case AccountStatus::ControlDigits:
        return Status::ControlDigits;
    case AccountStatus::IbanDigits:
        return Status::IbanDigits;
    case AccountStatus::Ambiguous:
        return Status::Ambiguous;
    case AccountStatus::NoFit:
        return Status::NoFit;
    }
    return Status::Empty;
}

Status statusOf(Warning warning) {
    switch (warning) {
    case Warning::None:
        return Status::Valid;
    case Warning::UnknownBank:
        return Status::UnknownBank;
    case Warning::AbsorbedBank:
        return Status::AbsorbedBank;
    case Warning::InactiveBank:
        return Status::InactiveBank;
    }
    return Status::Valid;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool allDigits(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// A part of `digits BANK BRANCH ACCOUNT`, starting at `start` in the parts joined by blanks:
// digits only, at most `width` of them.
bool checkPart(std::string_view text, std::size_t start, PartFault::Part part, std::uint32_t width,
               Finding& finding) {
    const std::string_view digits = trimmed(text);
    PartFault& fault = finding.partFault;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') {
            finding.status = Status::Chars;
            fault.part = part;
            fault.partStart = static_cast<std::uint32_t>(start);
            fault.offset =
                static_cast<std::uint32_t>(start + std::size_t(digits.data() - text.data()) + i);
            return false;
        }
    }
    if (digits.size() > width) {
        finding.status = Status::Length;
        fault.part = part;
        fault.partStart = static_cast<std::uint32_t>(start);
        fault.digits = static_cast<std::uint32_t>(digits.size());
        fault.width = width;
        return false;
    }
    return true;
}

} // namespace

std::string_view statusWord(Status status) {
    return kStatusWords[static_cast<std::size_t>(status)];
}

Examiner::Examiner(Command command, const EntityRegister* entities, bool strict)
    : command_(command), entities_(entities), strict_(strict) {}

Finding Examiner::unread(Status status, std::uint64_t line, std::uint64_t quoteLine) {
    Finding finding;
    finding.status = status;
    finding.recordLine = line;
    finding.quoteLine = quoteLine;
    return finding;
}

Finding Examiner::missingField(std::uint32_t fieldCount, std::uint32_t column, std::uint64_t line) {
    Finding finding = unread(Status::MissingField, line);
    finding.fieldCount = fieldCount;
    finding.fieldWanted = column;
    return finding;
}

Finding Examiner::examine(std::string_view input) const {
    // Each way returns its finding unnamed, so that it is built where the caller wants it
    // rather than copied there.
    const std::string_view code = command_ == Command::Bank ? trimmed(input) : std::string_view();
    if (!code.empty() && code.size() <= 4 && allDigits(code)) {
        return examineEntityCode(code);
    }
    return examineNumber(input);
}

Finding Examiner::examineEntityCode(std::string_view code) const {
    Finding finding;
    finding.entityCodeOnly = true;
    for (char c : code) { // as zero-filled: 49 is 0049
        finding.entityCode = finding.entityCode * 10 + static_cast<std::uint32_t>(c - '0');
    }
    lookUpEntity(finding);
    return finding;
}

Finding Examiner::examineNumber(std::string_view input) const {
    Finding finding(input, command_ == Command::Digits ? ControlDigitRule::Compute
                                                       : ControlDigitRule::Check);
    judge(finding);
    return finding;
}

Finding Examiner::examineParts(std::string_view bank, std::string_view branch,
                               std::string_view account) const {
    Finding finding;
    const std::size_t branchStart = bank.size() + 1;
    const std::size_t accountStart = branchStart + branch.size() + 1;
    if (!checkPart(bank, 0, PartFault::Part::Bank, 4, finding) ||
        !checkPart(branch, branchStart, PartFault::Part::Branch, 4, finding) ||
        !checkPart(account, accountStart, PartFault::Part::Account, 10, finding)) {
        return finding;
    }
    const std::string code = CORRIGE(bank, 4) + CORRIGE(branch, 4) + "??" + CORRIGE(account, 10);
    Finding computed(code, ControlDigitRule::Compute);
    // The "??" stands where nothing was written: the digits are the answer, not a recovery
    // of something unreadable in the parts as given.
    if (computed.account.status == AccountStatus::Recovered) {
        computed.account.status = AccountStatus::Valid;
        computed.account.unreadableCount = 0;
    }
    judge(computed);
    return computed;
}

void Examiner::judge(Finding& finding) const {
    finding.status = statusOf(finding.account.status);
    if (!finding.account.usable()) {
        const AccountStatus status = finding.account.status;
        const bool digitsFail =
            status == AccountStatus::BankBranchDigit || status == AccountStatus::AccountDigit ||
            status == AccountStatus::ControlDigits || status == AccountStatus::IbanDigits;
        if (digitsFail && finding.account.unreadableCount == 0) {
            findCandidates(finding.account, entities_,
                           finding.account.form == AccountForm::Iban ? kMaxCandidates : kHandful,
                           finding.candidates);
        }
        return;
    }
    const std::string_view bank = finding.account.bankCode();
    finding.entityCode = static_cast<std::uint32_t>((bank[0] - '0') * 1000 + (bank[1] - '0') * 100 +
                                                    (bank[2] - '0') * 10 + (bank[3] - '0'));
    lookUpEntity(finding);
}

void Examiner::lookUpEntity(Finding& finding) const {
    const bool recovered = finding.status == Status::Recovered;
    finding.valid = true;
    if (!entities_) {
        finding.status = recovered ? Status::Recovered : Status::Valid;
        return;
    }
    finding.entity = entities_->find(finding.entityCode);
    if (!finding.entity) {
        finding.warning = Warning::UnknownBank;
        // For `bank` the entity is the answer: without it there is none.
        finding.valid = !strict_ && !finding.entityCodeOnly && command_ != Command::Bank;
    } else if (finding.entity->state == EntityState::Withdrawn) {
        finding.warning = finding.entity->successor ? Warning::AbsorbedBank : Warning::InactiveBank;
    }
    // A recovered number says so first; a number made invalid by its entity says why.
    finding.status = recovered && finding.valid ? Status::Recovered : statusOf(finding.warning);
}

} // namespace cuentas::cli
