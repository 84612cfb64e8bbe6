#include "cli/csv.h"

#include "cli/byte_search.h"

#include <array>

namespace cuentas::cli {
namespace {

// Walks the fields of one record; a quoted field is unquoted into `out` only when wanted.
class FieldWalker {
public:
    FieldWalker(std::string_view record, char separator) : record_(record), separator_(separator) {}

    // Moves past the next field; false when there is none left.
    bool next(TextBuilder* out) {
        if (done_) {
            return false;
        }
        if (out) {
            out->clear();
        }
        if (at_ < record_.size() && record_[at_] == '"') {
            ++at_;
            while (at_ < record_.size()) {
                const char c = record_[at_++];
                if (c != '"') {
                    if (out) {
                        out->push_back(c);
                    }
                } else if (at_ < record_.size() && record_[at_] == '"') {
                    if (out) {
                        out->push_back('"');
                    }
                    ++at_;
                } else {
                    break;
                }
            }
        }
        // Unquoted text, or what follows a closing quote, up to the separator.
        const std::size_t stop = at_ + findByte(record_.substr(at_), separator_);
        if (out) {
            out->append(record_.substr(at_, stop - at_));
        }
        done_ = stop == record_.size();
        at_ = stop + 1;
        return true;
    }

private:
    std::string_view record_;
    char separator_;
    std::size_t at_ = 0;
    bool done_ = false;
};

} // namespace

bool CsvScanner::separates(char c) const {
    return separator_ != 0 ? c == separator_ : (c == ',' || c == ';' || c == '\t');
}

void CsvScanner::reset() {
    state_ = State::FieldStart;
    afterCr_ = false;
    lineBreaks_ = 0;
    breaksBeforeQuote_ = 0;
}

std::size_t CsvScanner::findEnd(std::string_view text, std::size_t offset) {
    if (state_ == State::FieldStart || state_ == State::Unquoted) {
        // Most records hold no quote at all: their end is the next line break.
        const std::size_t stop = findAnyOf(text, '\n', '\r', '"', '"');
        if (stop == text.size() || text[stop] != '"') {
            if (stop < text.size()) {
                state_ = State::FieldStart;
                return stop;
            }
            if (!text.empty()) {
                state_ = separates(text.back()) ? State::FieldStart : State::Unquoted;
            }
            return std::string_view::npos;
        }
    }
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        // A quote closing a quoted field is told from an escaped one by what follows it.
        if (state_ == State::QuoteInQuoted) {
            if (c == '"') {
                state_ = State::Quoted;
                continue;
            }
            state_ = State::Unquoted;
        }
        if (state_ == State::FieldStart) {
            if (c == '"') {
                state_ = State::Quoted;
                quoteStart_ = offset + at;
                breaksBeforeQuote_ = lineBreaks_;
                afterCr_ = false;
                continue;
            }
            state_ = State::Unquoted;
        }
        if (state_ == State::Quoted) {
            if (c == '"') {
                state_ = State::QuoteInQuoted;
            } else if (c == '\r' || (c == '\n' && !afterCr_)) {
                ++lineBreaks_;
            }
            afterCr_ = c == '\r';
            continue;
        }
        if (c == '\n' || c == '\r') {
            state_ = State::FieldStart;
            return at;
        }
        if (separates(c)) {
            state_ = State::FieldStart;
        }
    }
    return std::string_view::npos;
}

bool csvField(std::string_view record, char separator, std::size_t index, TextBuilder& out) {
    FieldWalker walker(record, separator);
    for (std::size_t i = 0; i < index; ++i) {
        if (!walker.next(nullptr)) {
            return false;
        }
    }
    return walker.next(&out);
}

std::size_t csvFieldCount(std::string_view record, char separator) {
    FieldWalker walker(record, separator);
    std::size_t count = 0;
    while (walker.next(nullptr)) {
        ++count;
    }
    return count;
}

std::optional<std::size_t> csvFieldNamed(std::string_view record, char separator,
                                         std::string_view name) {
    const auto trim = [](std::string_view text) {
        const auto first = text.find_first_not_of(' ');
        return first == std::string_view::npos
                   ? std::string_view()
                   : text.substr(first, text.find_last_not_of(' ') - first + 1);
    };
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    const auto same = [&](std::string_view left, std::string_view right) {
        if (left.size() != right.size()) {
            return false;
        }
        for (std::size_t i = 0; i < left.size(); ++i) {
            if (lower(left[i]) != lower(right[i])) {
                return false;
            }
        }
        return true;
    };
    name = trim(name);
    FieldWalker walker(record, separator);
    TextBuilder field;
    for (std::size_t index = 0; walker.next(&field); ++index) {
        if (same(trim(field), name)) {
            return index;
        }
    }
    return std::nullopt;
}

char detectSeparator(std::string_view record) {
    constexpr std::array<char, 3> kCandidates{',', ';', '\t'};
    std::array<std::size_t, 3> counts{};
    bool quoted = false;
    for (char c : record) {
        if (c == '"') {
            quoted = !quoted;
        }
        for (std::size_t i = 0; i < kCandidates.size(); ++i) {
            counts[i] += !quoted && c == kCandidates[i] ? 1 : 0;
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < kCandidates.size(); ++i) {
        best = counts[i] > counts[best] ? i : best;
    }
    return kCandidates[best];
}

void appendCsvField(TextBuilder& out, std::string_view field, char separator) {
    if (findAnyOf(field, separator, '"', '\n', '\r') == field.size()) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (std::size_t quote = findByte(field, '"'); quote < field.size();
         quote = findByte(field, '"')) {
        out.append(field.substr(0, quote + 1));
        out.push_back('"');
        field.remove_prefix(quote + 1);
    }
    out.append(field);
    out.push_back('"');
}

} // namespace cuentas::cli
