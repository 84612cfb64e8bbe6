#include "cli/report.h"

#include "cli/character_names.h"
#include "cli/csv.h"
#include "cli/json.h"
#include "cli/record_reader.h"
#include "cli/utf8.h"
#include "platform/os/codepage.h"

#include <charconv>

namespace cuentas::cli {
namespace {

// A number as decimal digits in a small buffer, for message arguments.
class Number {
public:
    explicit Number(std::uint64_t value) {
        size_ = static_cast<std::size_t>(
            std::to_chars(digits_, digits_ + sizeof digits_, value).ptr - digits_);
    }
    std::string_view view() const { return {digits_, size_}; }

private:
    char digits_[24]{};
    std::size_t size_ = 0;
};

std::string_view view(const std::array<char, 2>& chars) {
    return {chars.data(), 2};
}

// Four digits with leading zeros, held for as long as a message is being made.
class Code {
public:
    explicit Code(std::uint32_t code) : digits_(entityCodeText(code)) {}
    std::string_view view() const { return {digits_.data(), digits_.size()}; }

private:
    std::array<char, 4> digits_;
};

// The position, counted in characters from 1, of the character at a byte offset.
std::uint32_t positionOf(std::string_view input, std::size_t offset) {
    return characterAt(input, offset).position;
}

void appendJsonKey(TextBuilder& out, std::string_view key) {
    out.append(",\"");
    out.append(key);
    out.append("\":");
}

void appendJsonText(TextBuilder& out, std::string_view key, std::string_view value) {
    appendJsonKey(out, key);
    appendJsonString(out, value);
}

void appendJsonNumber(TextBuilder& out, std::string_view key, std::uint64_t value) {
    appendJsonKey(out, key);
    out.append(Number(value).view());
}

void appendCompact(TextBuilder& out, const Finding& finding) {
    if (finding.entityCodeOnly) {
        out.append(Code(finding.entityCode).view());
    } else if (finding.account.form == AccountForm::Iban) {
        const auto iban = finding.account.iban();
        out.append(iban.data(), iban.size());
    } else {
        out.append(finding.account.cccDigits());
    }
}

// An IBAN's 24 characters in groups of four, or a code's 20 digits as 4, 4, 2 and 10.
void appendPaperForm(TextBuilder& out, const char* number, bool iban) {
    if (iban) {
        for (std::size_t i = 0; i < kIbanLength; i += 4) {
            if (i > 0) {
                out.push_back(' ');
            }
            out.append(number + i, 4);
        }
        return;
    }
    const std::string_view ccc(number, kCccLength);
    out.append(ccc.substr(0, 4));
    out.push_back(' ');
    out.append(ccc.substr(4, 4));
    out.push_back(' ');
    out.append(ccc.substr(8, 2));
    out.push_back(' ');
    out.append(ccc.substr(10));
}

// Where the character at `index` of the compact form stands in the number as written: the
// compact form is its last characters that are neither blanks nor hyphens. A number read
// whole holds nothing but ASCII, so bytes count as characters.
std::uint32_t positionWritten(std::string_view input, std::size_t index, std::size_t length) {
    std::size_t fromEnd = length - index;
    for (std::size_t at = input.size(); at-- > 0;) {
        if (input[at] != ' ' && input[at] != '-' && --fromEnd == 0) {
            return static_cast<std::uint32_t>(at + 1);
        }
    }
    return 0;
}

Text partOfDigit(std::size_t index) {
    return index < 4    ? Text::PartBank
           : index < 8  ? Text::PartBranch
           : index < 10 ? Text::PartControlDigits
                        : Text::PartAccount;
}

} // namespace

void appendPaperForm(TextBuilder& out, const AccountDiagnosis& account) {
    if (account.form == AccountForm::Iban) {
        appendPaperForm(out, account.iban().data(), true);
    } else {
        appendPaperForm(out, account.ccc.data(), false);
    }
}

Reporter::Reporter(const Messages& messages, const EntityRegister* entities)
    : messages_(messages), entities_(entities) {
    if (!entities_) {
        return;
    }
    // "0049 Banco Santander, S.A.", or the code alone when the register lacks it.
    const auto named = [&](std::uint32_t code) {
        const Entity* entity = entities_->find(code);
        std::string text(Code(code).view());
        if (entity) {
            text += " " + utf8FromWindows1252(entity->displayName());
        }
        return text;
    };
    entityTexts_.reserve(entities_->entities().size());
    for (const Entity& entity : entities_->entities()) {
        EntityTexts texts;
        texts.name = utf8FromWindows1252(entity.displayName());
        std::string state;
        if (entity.state == EntityState::Current) {
            state = messages_.format(Text::Current, {});
        } else if (entity.state == EntityState::Withdrawn && entity.successor) {
            const std::vector<std::uint32_t> chain = entities_->successors(entity);
            std::string takenBy = named(chain.front());
            if (chain.size() > 1) {
                takenBy = messages_.format(Text::Today, {takenBy, named(chain.back())});
            }
            texts.caution = messages_.format(Text::AbsorbedBank, {named(entity.code), takenBy});
            state = messages_.format(Text::AbsorbedBy, {takenBy});
        } else if (entity.state == EntityState::Withdrawn) {
            texts.caution = messages_.format(Text::InactiveBank, {named(entity.code)});
            state = messages_.format(Text::Inactive, {});
        }
        if (!entity.bic.empty()) {
            state += (state.empty() ? "BIC " : ", BIC ") + entity.bic;
        }
        texts.state = std::move(state);
        entityTexts_.push_back(std::move(texts));
    }
}

const Reporter::EntityTexts* Reporter::textsOf(const Entity* entity) const {
    return entity ? &entityTexts_[static_cast<std::size_t>(entity - entities_->entities().data())]
                  : nullptr;
}

void Reporter::appendEntityWarning(TextBuilder& out, const Finding& finding) const {
    if (finding.warning == Warning::UnknownBank) {
        messages_.append(out, Text::UnknownBank, {Code(finding.entityCode).view()});
    } else if (const EntityTexts* texts = textsOf(finding.entity)) {
        out.append(texts->caution);
    }
}

void Reporter::describeWarning(TextBuilder& out, const Finding& finding) const {
    detail_.clear();
    appendEntityWarning(detail_, finding);
    messages_.append(out, Text::WarningOnly, {detail_});
}

void Reporter::appendFault(TextBuilder& out, const Finding& finding, std::string_view input) const {
    const AccountDiagnosis& a = finding.account;
    switch (finding.status) {
    case Status::TooLong:
        messages_.append(
            out, Text::LineTooLong,
            {Number(finding.recordLine).view(), Number(RecordReader::kMaxRecord).view()});
        return;
    case Status::UnterminatedQuote:
        messages_.append(out, Text::UnterminatedQuote,
                         {Number(finding.recordLine).view(), Number(finding.quoteLine).view()});
        return;
    case Status::MissingField:
        messages_.append(out, Text::NoColumn,
                         {Number(finding.fieldCount).view(), Number(finding.fieldWanted).view(),
                          Number(finding.recordLine).view()});
        return;
    case Status::Blank:
        messages_.append(out, Text::BlankLine, {});
        return;
    default:
        break;
    }
    if (finding.partFault.part != PartFault::Part::None) {
        const PartFault& fault = finding.partFault;
        const Text part = fault.part == PartFault::Part::Bank     ? Text::PartBank
                          : fault.part == PartFault::Part::Branch ? Text::PartBranch
                                                                  : Text::PartAccount;
        if (finding.status == Status::Length) {
            messages_.append(
                out, Text::PartLength,
                {messages_.text(part), Number(fault.digits).view(), Number(fault.width).view()});
        } else {
            const std::string_view partText = input.substr(fault.partStart);
            const CharacterAt at = characterAt(partText, fault.offset - fault.partStart);
            shown_.clear();
            appendShownCharacter(shown_, messages_, at.bytes, at.wellFormed);
            messages_.append(out, Text::PartChars,
                             {shown_, Number(at.position).view(), messages_.text(part)});
        }
        return;
    }
    if (appendCrossCheck(out, finding, input) || appendMisreading(out, finding, input)) {
        return;
    }
    switch (a.status) {
    case AccountStatus::Valid:
    case AccountStatus::Recovered:
        break;
    case AccountStatus::Empty:
        messages_.append(out, Text::Empty, {});
        break;
    case AccountStatus::Country:
        messages_.append(out, Text::Country, {view(a.country)});
        break;
    case AccountStatus::Chars: {
        const CharacterAt at = characterAt(input, a.position - 1);
        shown_.clear();
        appendShownCharacter(shown_, messages_, at.bytes, at.wellFormed);
        messages_.append(out, Text::Chars, {shown_, Number(at.position).view()});
        break;
    }
    case AccountStatus::Length:
        messages_.append(out,
                         a.form == AccountForm::Iban ? Text::LengthIban
                         : a.given == 1              ? Text::LengthOne
                                                     : Text::Length,
                         {Number(a.given).view(), Number(a.expected).view()});
        break;
    case AccountStatus::BankBranchDigit:
        messages_.append(
            out, Text::BankBranchDigit,
            {view(a.writtenControlDigits).substr(0, 1), view(a.controlDigits).substr(0, 1)});
        break;
    case AccountStatus::AccountDigit:
        messages_.append(out, Text::AccountDigit,
                         {view(a.writtenControlDigits).substr(1), view(a.controlDigits).substr(1)});
        break;
    case AccountStatus::ControlDigits:
        messages_.append(out, Text::ControlDigits,
                         {view(a.writtenControlDigits), view(a.controlDigits)});
        break;
    case AccountStatus::IbanDigits:
        messages_.append(out, Text::IbanDigits, {view(a.writtenIbanDigits), view(a.ibanDigits)});
        break;
    case AccountStatus::Ambiguous:
        if (a.candidates == 0) {
            messages_.append(out, Text::TooManyUnreadable, {Number(a.unreadableCount).view()});
        } else {
            messages_.append(out, Text::Ambiguous, {Number(a.candidates).view()});
        }
        break;
    case AccountStatus::NoFit:
        messages_.append(out, Text::NoFit, {});
        break;
    }
    if (a.ibanDigitsFail) {
        messages_.append(out, Text::AlsoIbanDigits, {});
    }
}

void Reporter::describe(TextBuilder& out, const Finding& finding, std::string_view input,
                        bool entityName) const {
    if (!finding.valid && finding.warning == Warning::None) {
        appendFault(out, finding, input);
        return;
    }
    if (!finding.valid) {
        appendEntityWarning(out, finding); // an unknown entity, as an error
        return;
    }
    // Most numbers are valid, with nothing to warn about: their text goes straight out.
    if (finding.warning == Warning::None && finding.account.status != AccountStatus::Recovered) {
        out.append(messages_.text(Text::Valid));
        if (entityName && finding.entity) {
            out += " (";
            out += textsOf(finding.entity)->name;
            out += ')';
        }
        return;
    }
    // The base text: valid, or recovered with the digits found.
    base_.clear();
    if (finding.account.status == AccountStatus::Recovered) {
        detail_.clear();
        for (std::uint32_t i = 0; i < finding.account.unreadableCount; ++i) {
            const UnreadableDigit& u = finding.account.unreadable[i];
            if (i > 0) {
                detail_ += ", ";
            }
            messages_.append(
                detail_, Text::RecoveredDigit,
                {Number(positionOf(input, u.position - 1)).view(), std::string_view(&u.digit, 1)});
        }
        number_.clear();
        appendPaperForm(number_, finding.account);
        messages_.append(base_, Text::RecoveredAs, {number_, detail_});
    } else {
        base_.append(messages_.text(Text::Valid));
    }
    if (entityName && finding.entity) {
        base_ += " (";
        base_ += textsOf(finding.entity)->name;
        base_ += ')';
    }
    if (finding.warning == Warning::None) {
        out.append(base_);
        return;
    }
    detail_.clear();
    appendEntityWarning(detail_, finding);
    messages_.append(out, Text::Warning, {base_, detail_});
}

void Reporter::appendResult(TextBuilder& out, Command command, const Finding& finding,
                            std::string_view input) const {
    switch (command) {
    case Command::Check:
        describe(out, finding, input, true);
        break;
    case Command::Digits:
        out.append(view(finding.account.controlDigits));
        break;
    case Command::Iban: {
        const auto iban = finding.account.iban();
        out.append(iban.data(), iban.size());
        break;
    }
    case Command::Ccc:
        out.append(finding.account.cccDigits());
        break;
    case Command::Format:
        appendPaperForm(out, finding.account);
        break;
    case Command::Bank: {
        const EntityTexts* texts = textsOf(finding.entity);
        out.append(Code(finding.entity->code).view());
        out.push_back(' ');
        out.append(texts->name);
        if (!texts->state.empty()) {
            out.append(": ");
            out.append(texts->state);
        }
        break;
    }
    }
}

void Reporter::appendCsvColumns(TextBuilder& out, const Finding& finding, std::string_view input,
                                char separator) const {
    out.push_back(separator);
    appendCsvField(out, statusWord(finding.status), separator);
    out.push_back(separator);
    if (finding.valid) {
        number_.clear();
        appendCompact(number_, finding);
        appendCsvField(out, number_, separator);
    }
    out.push_back(separator);
    if (finding.valid && !finding.entityCodeOnly) {
        const auto iban = finding.account.iban();
        appendCsvField(out, std::string_view(iban.data(), iban.size()), separator);
    }
    out.push_back(separator);
    if (const EntityTexts* texts = textsOf(finding.entity)) {
        appendCsvField(out, texts->name, separator);
    }
    out.push_back(separator);
    message_.clear();
    describe(message_, finding, input);
    appendCsvField(out, message_, separator);
    out.push_back(separator);
    if (finding.valid && !finding.entityCodeOnly) {
        appendCsvField(out, finding.account.cccDigits(), separator);
    }
}

void Reporter::appendJson(TextBuilder& out, const Finding& finding, std::string_view input,
                          std::uint64_t line, std::uint64_t length) const {
    const AccountDiagnosis& a = finding.account;
    out.append("{\"status\":\"");
    out.append(statusWord(finding.status));
    out.append("\",\"valid\":");
    out.append(finding.valid ? "true" : "false");
    if (line > 0) {
        appendJsonNumber(out, "line", line);
    }
    if (finding.status == Status::TooLong) {
        appendJsonNumber(out, "length", length);
    } else {
        appendJsonText(out, "input", input);
    }
    if (finding.status == Status::UnterminatedQuote) {
        appendJsonNumber(out, "quote_line", finding.quoteLine);
    } else if (finding.status == Status::MissingField) {
        appendJsonNumber(out, "fields", finding.fieldCount);
        appendJsonNumber(out, "column", finding.fieldWanted);
    }
    if (finding.valid) {
        number_.clear();
        appendCompact(number_, finding);
        appendJsonText(out, "compact", number_);
    }
    if (finding.valid && !finding.entityCodeOnly) {
        const auto iban = a.iban();
        appendJsonText(out, "iban", std::string_view(iban.data(), iban.size()));
        appendJsonText(out, "ccc", a.cccDigits());
        appendJsonText(out, "control_digits", view(a.controlDigits));
    }
    if (finding.valid || finding.entity) {
        appendJsonText(out, "bank", Code(finding.entityCode).view());
    }
    if (const EntityTexts* texts = textsOf(finding.entity)) {
        appendJsonText(out, "entity", texts->name);
        if (!finding.entity->bic.empty()) {
            appendJsonText(out, "bic", finding.entity->bic);
        }
        if (finding.entity->successor) {
            appendJsonText(out, "successor", Code(*finding.entity->successor).view());
        }
    }
    if (a.status == AccountStatus::Recovered) {
        appendJsonKey(out, "recovered");
        out.push_back('[');
        for (std::uint32_t i = 0; i < a.unreadableCount; ++i) {
            const UnreadableDigit& u = a.unreadable[i];
            out.append(i > 0 ? ",{\"position\":" : "{\"position\":");
            out.append(Number(positionOf(input, u.position - 1)).view());
            out.append(",\"digit\":\"");
            out.push_back(u.digit);
            out.append("\"}");
        }
        out.push_back(']');
    }
    if (!finding.valid && finding.partFault.part == PartFault::Part::None) {
        switch (a.status) {
        case AccountStatus::Country:
            appendJsonText(out, "country", view(a.country));
            break;
        case AccountStatus::Chars:
            appendJsonNumber(out, "position", positionOf(input, a.position - 1));
            break;
        case AccountStatus::Length:
            appendJsonNumber(out, "length_given", a.given);
            appendJsonNumber(out, "length_expected", a.expected);
            break;
        case AccountStatus::BankBranchDigit:
        case AccountStatus::AccountDigit:
        case AccountStatus::ControlDigits:
            appendJsonText(out, "digits_written", view(a.writtenControlDigits));
            appendJsonText(out, "digits_expected", view(a.controlDigits));
            break;
        case AccountStatus::IbanDigits:
            appendJsonText(out, "digits_written", view(a.writtenIbanDigits));
            appendJsonText(out, "digits_expected", view(a.ibanDigits));
            break;
        case AccountStatus::Ambiguous:
            appendJsonNumber(out, "fitting", a.candidates);
            break;
        case AccountStatus::Valid:
        case AccountStatus::Recovered:
        case AccountStatus::Empty:
        case AccountStatus::NoFit:
            break;
        }
    }
    appendCandidatesJson(out, finding, input);
    message_.clear();
    describe(message_, finding, input);
    appendJsonText(out, "message", message_);
    out.push_back('}');
}

const Reporter::EntityTexts* Reporter::textsOfCode(const std::array<char, kIbanLength>& number,
                                                   bool iban) const {
    if (!entities_) {
        return nullptr;
    }
    const char* bank = number.data() + (iban ? 4 : 0);
    const auto code = static_cast<std::uint32_t>((bank[0] - '0') * 1000 + (bank[1] - '0') * 100 +
                                                 (bank[2] - '0') * 10 + (bank[3] - '0'));
    return textsOf(entities_->find(code));
}

// "ES91 2100 0418 4502 0005 1332 (CaixaBank, S.A.), the 0 and 5 at positions 14 and 15
// swapped" for an IBAN; a code's candidate is its number, with the entity when its bank
// changed.
void Reporter::appendCandidate(TextBuilder& out, const Finding& finding, const Candidate& candidate,
                               std::string_view input) const {
    const AccountDiagnosis& a = finding.account;
    const bool iban = a.form == AccountForm::Iban;
    const std::array<char, kIbanLength> number = applied(a, candidate);
    appendPaperForm(out, number.data(), iban);
    const std::size_t bankStart = iban ? 4 : 0;
    const bool bankChanged = candidate.index < bankStart + 4 && candidate.index + 1u >= bankStart;
    const EntityTexts* texts = textsOfCode(number, iban);
    if (texts && (iban || bankChanged)) {
        out += " (";
        out += texts->name;
        out += ')';
    }
    if (!iban) {
        return;
    }
    const std::array<char, kIbanLength> written = compactForm(a);
    const std::size_t k = candidate.index;
    const Number position(positionWritten(input, k, kIbanLength));
    out += ", ";
    if (candidate.change == Candidate::Change::Digit) {
        messages_.append(out, Text::CandidateDigit,
                         {std::string_view(&candidate.digit, 1), std::string_view(&written[k], 1),
                          position.view()});
    } else {
        messages_.append(out, Text::CandidateSwap,
                         {std::string_view(&written[k], 1), std::string_view(&written[k + 1], 1),
                          position.view(),
                          Number(positionWritten(input, k + 1, kIbanLength)).view()});
    }
}

// What was written where the number should begin, when it reads as another country: the
// word IBAN alone or without a blank after it, or an unreadable letter of the country.
bool Reporter::appendMisreading(TextBuilder& out, const Finding& finding,
                                std::string_view input) const {
    const AccountDiagnosis& a = finding.account;
    const std::size_t start = input.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return false;
    }
    const std::string_view text = input.substr(start);
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    const bool ibanWord = text.size() >= 4 && upper(text[0]) == 'I' && upper(text[1]) == 'B' &&
                          upper(text[2]) == 'A' && upper(text[3]) == 'N';
    if (a.status == AccountStatus::Country && ibanWord) {
        const bool alone = text.find_first_not_of(" -:", 4) == std::string_view::npos;
        messages_.append(out, alone ? Text::IbanWordAlone : Text::IbanWordJoined, {});
        return true;
    }
    // A letter and a '?' first: the '?' can only stand for a digit.
    const auto letter = [&](char c) { return upper(c) >= 'A' && upper(c) <= 'Z'; };
    if (a.status == AccountStatus::Chars && text.size() >= 2 &&
        ((letter(text[0]) && text[1] == '?') || (text[0] == '?' && letter(text[1])))) {
        shown_.clear();
        messages_.append(shown_, Text::Quoted, {text.substr(0, 2)});
        messages_.append(out, Text::UnreadableCountry, {shown_});
        return true;
    }
    return false;
}

bool Reporter::appendCrossCheck(TextBuilder& out, const Finding& finding,
                                std::string_view input) const {
    const AccountDiagnosis& a = finding.account;
    const Candidates& candidates = finding.candidates;
    if (!candidates.searched || candidates.tooMany || candidates.count == 0) {
        return false;
    }
    const bool iban = a.form == AccountForm::Iban;
    // Never advise the check or control digits alone while another change fits: they are
    // made from the other digits, so they always can be made to fit.
    const auto digitsAlone = [&](const Candidate& candidate) {
        const std::size_t last = candidate.index + (candidate.change == Candidate::Change::Swap);
        return iban ? changesCheckDigitsOnly(a, candidate) : candidate.index >= 8 && last <= 9;
    };
    std::size_t beyond = 0;
    for (std::size_t i = 0; i < candidates.count; ++i) {
        beyond += digitsAlone(candidates.items[i]) ? 0 : 1;
    }
    if (beyond == 0) {
        return false;
    }
    // The texts hold their placeholders in order: the fault, (the count,) the list.
    const std::size_t told = iban ? beyond : candidates.count;
    const Text intro = told == 1 ? Text::OneCandidate : Text::SomeCandidates;
    messages_.appendPiece(out, intro, 0);
    const Text failing = a.status == AccountStatus::BankBranchDigit ? Text::FailsBankBranch
                         : a.status == AccountStatus::AccountDigit  ? Text::FailsAccount
                         : a.status == AccountStatus::ControlDigits ? Text::FailsBoth
                                                                    : Text::FailsIban;
    if (iban && a.ibanDigitsFail && a.status != AccountStatus::IbanDigits) {
        messages_.append(out, Text::AlsoIbanFails, {messages_.text(failing)});
    } else {
        out.append(messages_.text(failing));
    }
    messages_.appendPiece(out, intro, 1);
    if (told > 1) {
        out.append(Number(told).view());
        messages_.appendPiece(out, intro, 2);
    }
    if (iban) {
        // Each on its own, with what changed and where.
        bool first = true;
        for (std::size_t i = 0; i < candidates.count; ++i) {
            if (!changesCheckDigitsOnly(a, candidates.items[i])) {
                out += first ? "" : "; ";
                first = false;
                appendCandidate(out, finding, candidates.items[i], input);
            }
        }
    } else {
        // Grouped by the parts they change, in the order of the parts.
        const auto lastOf = [](const Candidate& c) {
            return c.index + (c.change == Candidate::Change::Swap ? 1u : 0u);
        };
        std::size_t i = 0;
        while (i < candidates.count) {
            const Candidate& first = candidates.items[i];
            const Text from = partOfDigit(first.index);
            const Text to = partOfDigit(lastOf(first));
            change_.clear();
            std::size_t j = i;
            for (; j < candidates.count && partOfDigit(candidates.items[j].index) == from &&
                   partOfDigit(lastOf(candidates.items[j])) == to;
                 ++j) {
                change_ += j > i ? ", " : "";
                appendCandidate(change_, finding, candidates.items[j], input);
            }
            out += i > 0 ? "; " : "";
            if (from == to) {
                messages_.append(out, Text::InPart, {messages_.text(from), change_});
            } else {
                messages_.append(out, Text::InParts,
                                 {messages_.text(from), messages_.text(to), change_});
            }
            i = j;
        }
    }
    messages_.appendPiece(out, intro, told > 1 ? 3 : 2);
    return true;
}

void Reporter::appendCandidatesJson(TextBuilder& out, const Finding& finding,
                                    std::string_view input) const {
    const Candidates& candidates = finding.candidates;
    if (!candidates.searched || candidates.tooMany) {
        return;
    }
    const AccountDiagnosis& a = finding.account;
    const bool iban = a.form == AccountForm::Iban;
    const std::size_t length = iban ? kIbanLength : kCccLength;
    const std::array<char, kIbanLength> written = compactForm(a);
    appendJsonKey(out, "candidates");
    out.push_back('[');
    for (std::size_t i = 0; i < candidates.count; ++i) {
        const Candidate& candidate = candidates.items[i];
        const std::array<char, kIbanLength> number = applied(a, candidate);
        const bool swap = candidate.change == Candidate::Change::Swap;
        const std::size_t k = candidate.index;
        out.append(i > 0 ? ",{\"number\":" : "{\"number\":");
        appendJsonString(out, std::string_view(number.data(), length));
        if (const EntityTexts* texts = textsOfCode(number, iban)) {
            appendJsonText(out, "entity", texts->name);
        }
        appendJsonText(out, "change", swap ? "swap" : "digit");
        appendJsonKey(out, "positions");
        out.push_back('[');
        out.append(Number(positionWritten(input, k, length)).view());
        if (swap) {
            out.push_back(',');
            out.append(Number(positionWritten(input, k + 1, length)).view());
        }
        out.push_back(']');
        const std::size_t width = swap ? 2 : 1;
        appendJsonText(out, "written", std::string_view(written.data() + k, width));
        appendJsonText(out, "becomes", std::string_view(number.data() + k, width));
        out.push_back('}');
    }
    out.push_back(']');
}

} // namespace cuentas::cli
