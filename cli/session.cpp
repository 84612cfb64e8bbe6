#include "cli/session.h"

#include "cli/cli.h"
#include "cli/csv.h"
#include "cli/record_reader.h"

#include "platform/os/os_error.h"


namespace cuentas::cli {
namespace {

constexpr int kStandardInput = 0;
constexpr std::string_view kProgram = "cuentas-cli: ";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kResultColumns[] = {"status", "compact", "iban",
                                               "entity", "message", "ccc"};

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
    TextBuilder& err = err_.buffer();
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
    TextBuilder& out = out_.buffer();
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
            // A line too long is not repeated; its message names the line.
            if (finding.status == Status::TooLong) {
                err_.append(kProgram);
            } else {
                errorPrefix(line, input);
            }
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
        if (osCauseFromSystem(readError) == OsCause::Folder) {
            messages_.append(err_.buffer(), Text::InputIsFolder, {});
        } else {
            messages_.append(err_.buffer(), Text::ReadError,
                             {osErrorText(osErrorFromSystem(readError))});
        }
        err_.buffer().push_back('\n');
        stopped_ = kRegisterOrIoError;
    }
    return stopped_ == 0;
}

bool Session::standardInput() {
    const bool finished = options_.csv ? csv() : lines();
    return finished && flushAll();
}

// A line without a line end, the last, ends as the line before it did.
std::string_view Session::lineEndOf(const RecordReader::Record& record) {
    if (record.lineEnd != LineEnd::None) {
        lastLineEnd_ = record.lineEnd;
    }
    return lineEndText(lastLineEnd_);
}

void Session::blankLine(std::string_view text, std::uint64_t line, std::string_view lineEnd) {
    TextBuilder& out = out_.buffer();
    if (options_.json) {
        reporter_.appendJson(out, Examiner::unread(Status::Blank, line), text, line);
        out.push_back('\n');
    } else {
        out.append(options_.csv ? text : std::string_view());
        out.append(lineEnd);
    }
}

// A line too long to check passes through piece by piece; its result follows the last piece.
void Session::tooLongPiece(const RecordReader::Record& record) {
    TextBuilder& out = out_.buffer();
    const bool echoed = options_.csv || options_.command == Command::Check;
    if (!options_.json && echoed) {
        out.append(record.text);
    }
    if (!record.more) {
        const Finding finding = Examiner::unread(Status::TooLong, record.line);
        const std::string_view lineEnd = lineEndOf(record);
        if (options_.json) {
            someInvalid_ = true;
            reporter_.appendJson(out, finding, {}, record.line, record.length);
            out.push_back('\n');
        } else if (options_.csv) {
            someInvalid_ = true;
            if (record.openQuote) {
                out.push_back('"');
            }
            reporter_.appendCsvColumns(out, finding, {}, csvSeparator_);
            out.append(lineEnd);
        } else {
            report(finding, {}, record.line, lineEnd);
        }
    }
    if (!out_.flushIfFull() || !err_.flushIfFull()) {
        stopped_ = kRegisterOrIoError;
    }
}

bool Session::lines() {
    RecordReader reader(kStandardInput, RecordReader::Kind::Lines, [this] { return flushAll(); });
    RecordReader::Record record;
    while (stopped_ == 0 && reader.next(record)) {
        if (record.fault == RecordFault::TooLong) {
            tooLongPiece(record);
            continue;
        }
        const std::string_view lineEnd = lineEndOf(record);
        if (blank(record.text, ' ')) {
            blankLine(record.text, record.line, lineEnd);
        } else {
            report(examiner_.examine(record.text), record.text, record.line, lineEnd);
        }
    }
    return finishReading(reader.error());
}

// The first record with something in it decides the column and whether it is a header.
bool Session::csvHeader(std::string_view record, char separator, std::size_t& column,
                        bool& header) {
    if (!options_.columnName) {
        column = options_.columnPosition - 1;
        // A column the first record lacks holds no digit either: a record without any is a
        // header.
        header = csvField(record, separator, column, field_)
                     ? !field_.empty() && holdsNoDigit(field_)
                     : holdsNoDigit(record);
        return true;
    }
    header = true;
    if (const std::optional<std::size_t> found =
            csvFieldNamed(record, separator, *options_.columnName)) {
        column = *found;
        return true;
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
    csvSeparator_ = separator != 0 ? separator : ','; // until one is found
    std::size_t column = 0;
    bool first = true;
    RecordReader::Record record;
    while (stopped_ == 0 && reader.next(record)) {
        TextBuilder& out = out_.buffer();
        if (record.line == 1 && reader.byteOrderMark() && !options_.json && !bomWritten_) {
            out.append(kByteOrderMark);
            bomWritten_ = true;
        }
        if (record.fault == RecordFault::TooLong) {
            tooLongPiece(record);
            continue;
        }
        const std::string_view lineEnd = lineEndOf(record);
        if (record.fault == RecordFault::None && blank(record.text, csvSeparator_)) {
            blankLine(record.text, record.line, lineEnd);
            continue;
        }
        if (first && record.fault == RecordFault::None) {
            first = false;
            if (separator == 0) {
                separator = detectSeparator(record.text);
                csvSeparator_ = separator;
                reader.setSeparator(separator);
            }
            bool header = false;
            if (!csvHeader(record.text, separator, column, header)) {
                break;
            }
            if (header) {
                if (!options_.json) {
                    out.append(record.text);
                    for (std::string_view name : kResultColumns) {
                        out.push_back(separator);
                        appendCsvField(out, name, separator);
                    }
                    out.append(lineEnd);
                }
                continue;
            }
        }
        // Built in place: a finding is large, and copying it shows in a batch's time.
        const Finding finding = [&] {
            if (record.fault == RecordFault::UnterminatedQuote) {
                field_.clear();
                return Examiner::unread(Status::UnterminatedQuote, record.line, record.quoteLine);
            }
            if (csvField(record.text, csvSeparator_, column, field_)) {
                return examiner_.examine(field_);
            }
            field_.clear();
            return Examiner::missingField(
                static_cast<std::uint32_t>(csvFieldCount(record.text, csvSeparator_)),
                static_cast<std::uint32_t>(column + 1), record.line);
        }();
        someInvalid_ = someInvalid_ || !finding.valid;
        if (options_.json) {
            const bool unread = record.fault != RecordFault::None;
            reporter_.appendJson(out, finding, unread ? record.text : field_, record.line);
            out.push_back('\n');
        } else {
            out.append(record.text);
            if (record.openQuote) {
                out.push_back('"'); // what the quote held ends with the line
            }
            reporter_.appendCsvColumns(out, finding, field_, csvSeparator_);
            out.append(lineEnd);
        }
        if (!out_.flushIfFull() || !err_.flushIfFull()) {
            stopped_ = kRegisterOrIoError;
        }
    }
    return finishReading(reader.error());
}

} // namespace cuentas::cli
