#include "cli/session.h"

#include "cli/cli.h"
#include "cli/csv.h"
#include "cli/record_reader.h"

#include "platform/os/os_error.h"

#include <algorithm>

namespace cuentas::cli {
namespace {

constexpr int kStandardInput = 0;
constexpr std::string_view kProgram = "cuentas-cli: ";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kResultColumns[] = {"status", "compact", "iban", "entity", "message"};

// Nothing but blanks, or in CSV also separators: a line the batch passes over.
bool blank(std::string_view text, char separator) {
    for (char c : text) {
        if (c != ' ' && c != separator) {
            return false;
        }
    }
    return true;
}

bool holdsNoDigit(std::string_view text) {
    for (char c : text) {
        if ((c >= '0' && c <= '9') || c == '?') {
            return false;
        }
    }
    return true;
}

bool sameName(std::string_view left, std::string_view right) {
    const auto trim = [](std::string_view text) {
        const auto first = text.find_first_not_of(' ');
        return first == std::string_view::npos
                   ? std::string_view()
                   : text.substr(first, text.find_last_not_of(' ') - first + 1);
    };
    left = trim(left);
    right = trim(right);
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(left[i]) != lower(right[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

Session::Session(const Options& options, const Messages& messages, const Examiner& examiner,
                 const Reporter& reporter, Output& out, Output& err)
    : options_(options), messages_(messages), examiner_(examiner), reporter_(reporter), out_(out),
      err_(err) {}

int Session::exitStatus() const {
    if (stopped_ != 0) {
        return stopped_;
    }
    return someInvalid_ ? kSomeInvalid : kAllValid;
}

bool Session::flushAll() {
    const bool written = out_.flush() && err_.flush();
    if (!written) {
        stopped_ = kRegisterOrIoError;
    }
    return written;
}

void Session::errorPrefix(std::uint64_t line, std::string_view input) {
    std::string& err = err_.buffer();
    err.append(kProgram);
    if (line > 0) {
        messages_.append(err, Text::Where, {std::to_string(line)});
        err.append(": ");
    }
    err.append(input);
    err.append(": ");
}

void Session::report(const Finding& finding, std::string_view input, std::uint64_t line,
                     std::string_view lineEnd) {
    someInvalid_ = someInvalid_ || !finding.valid;
    std::string& out = out_.buffer();
    if (options_.json) {
        reporter_.appendJson(out, finding, input, line);
        out.push_back('\n');
    } else if (options_.csv) {
        const char separator = options_.separator != 0 ? options_.separator : ',';
        appendCsvField(out, input, separator);
        reporter_.appendCsvColumns(out, finding, input, separator);
        out.append(lineEnd);
    } else if (options_.command == Command::Check) {
        out.append(input);
        out.append(": ");
        reporter_.appendResult(out, Command::Check, finding, input);
        out.append(lineEnd);
    } else {
        // Results stay on the line of their number; what went wrong goes to the error output.
        if (finding.valid) {
            reporter_.appendResult(out, options_.command, finding, input);
        }
        out.append(lineEnd);
        // `bank` tells an entity's state in its result already.
        const bool warn = finding.warning != Warning::None && options_.command != Command::Bank;
        if (!finding.valid || warn) {
            errorPrefix(line, input);
            if (finding.valid) {
                reporter_.describeWarning(err_.buffer(), finding);
            } else {
                reporter_.describe(err_.buffer(), finding, input);
            }
            err_.buffer().push_back('\n');
        }
    }
    if (!out_.flushIfFull() || !err_.flushIfFull()) {
        stopped_ = kRegisterOrIoError;
    }
}

void Session::number(std::string_view input) {
    report(examiner_.examine(input), input, 0, "\n");
}

void Session::parts(std::string_view bank, std::string_view branch, std::string_view account) {
    const std::string input =
        std::string(bank) + " " + std::string(branch) + " " + std::string(account);
    report(examiner_.examineParts(bank, branch, account), input, 0, "\n");
}

bool Session::finishReading(int readError) {
    if (readError != 0) {
        err_.buffer().append(kProgram);
        messages_.append(err_.buffer(), Text::ReadError,
                         {osErrorText(osErrorFromSystem(readError))});
        err_.buffer().push_back('\n');
        stopped_ = kRegisterOrIoError;
    }
    return stopped_ == 0;
}

bool Session::standardInput() {
    const bool finished = options_.csv ? csv() : lines();
    return finished && flushAll();
}

bool Session::lines() {
    RecordReader reader(kStandardInput, RecordReader::Kind::Lines, [this] { return flushAll(); });
    RecordReader::Record record;
    while (stopped_ == 0 && reader.next(record)) {
        const std::string_view lineEnd = record.crlf ? "\r\n" : "\n";
        if (record.tooLong) {
            report(Examiner::tooLong(), {}, record.line, lineEnd);
        } else if (blank(record.text, ' ')) {
            if (!options_.json) {
                out_.buffer().append(lineEnd);
            }
        } else {
            report(examiner_.examine(record.text), record.text, record.line, lineEnd);
        }
    }
    return finishReading(reader.error());
}

bool Session::csvHeader(std::string_view record, char separator, std::size_t& column,
                        bool& header) {
    if (!options_.columnName) {
        column = options_.columnPosition - 1;
        header =
            csvField(record, separator, column, field_) && !field_.empty() && holdsNoDigit(field_);
        return true;
    }
    header = true;
    const std::size_t count = csvFieldCount(record, separator);
    for (column = 0; column < count; ++column) {
        csvField(record, separator, column, field_);
        if (sameName(field_, *options_.columnName)) {
            return true;
        }
    }
    err_.buffer().append(kProgram);
    messages_.append(err_.buffer(), Text::ColumnNotFound, {*options_.columnName});
    err_.buffer().push_back('\n');
    stopped_ = kUsageError;
    return false;
}

bool Session::csv() {
    RecordReader reader(kStandardInput, RecordReader::Kind::Csv, [this] { return flushAll(); });
    char separator = options_.separator;
    if (separator != 0) {
        reader.setSeparator(separator);
    }
    std::size_t column = 0;
    std::size_t width = 1; // fields of the first record, which a dropped record stands for
    bool first = true;
    RecordReader::Record record;
    while (stopped_ == 0 && reader.next(record)) {
        std::string& out = out_.buffer();
        const std::string_view lineEnd = record.crlf ? "\r\n" : "\n";
        const char shownSeparator = separator != 0 ? separator : ','; // until one is found
        if (record.line == 1 && reader.byteOrderMark() && !options_.json) {
            out.append(kByteOrderMark);
        }
        if (!record.tooLong && blank(record.text, shownSeparator)) {
            if (!options_.json) {
                out.append(record.text);
                out.append(lineEnd);
            }
            continue;
        }
        if (first && !record.tooLong) {
            first = false;
            if (separator == 0) {
                separator = detectSeparator(record.text);
                reader.setSeparator(separator);
            }
            width = csvFieldCount(record.text, separator);
            bool header = false;
            if (!csvHeader(record.text, separator, column, header)) {
                break;
            }
            if (header) {
                if (!options_.json) {
                    out.append(record.text);
                    for (std::string_view name : kResultColumns) {
                        out.push_back(separator);
                        out.append(name);
                    }
                    out.append(lineEnd);
                }
                continue;
            }
        }
        Finding finding;
        // A record too long to keep passes through as empty fields, with the result in its
        // columns.
        std::string_view passed = record.text;
        if (record.tooLong) {
            finding = Examiner::tooLong();
            field_.clear();
            empties_.assign(std::max<std::size_t>(width, 1) - 1, shownSeparator);
            passed = empties_;
        } else if (csvField(record.text, separator, column, field_)) {
            finding = examiner_.examine(field_);
        } else {
            finding = Examiner::missingField(
                static_cast<std::uint32_t>(csvFieldCount(record.text, separator)),
                static_cast<std::uint32_t>(column + 1));
            field_.clear();
        }
        someInvalid_ = someInvalid_ || !finding.valid;
        if (options_.json) {
            reporter_.appendJson(out, finding, field_, record.line);
            out.push_back('\n');
        } else {
            out.append(passed);
            reporter_.appendCsvColumns(out, finding, field_, shownSeparator);
            out.append(lineEnd);
        }
        if (!out_.flushIfFull() || !err_.flushIfFull()) {
            stopped_ = kRegisterOrIoError;
        }
    }
    return finishReading(reader.error());
}

} // namespace cuentas::cli
