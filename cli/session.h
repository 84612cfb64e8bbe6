#pragma once
// One run over its numbers: each number from the command line or from standard input is
// examined and its result written at once, as plain lines, CSV or JSON lines.

#include "cli/finding.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/record_reader.h"
#include "cli/report.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cuentas::cli {

class Session {
public:
    Session(const Options& options, const Messages& messages, const Examiner& examiner,
            const Reporter& reporter, Output& out, Output& err);

    // A number given on the command line.
    void number(std::string_view input);
    // `digits BANK BRANCH ACCOUNT`.
    void parts(std::string_view bank, std::string_view branch, std::string_view account);
    // Every number on standard input, one a line or one a CSV record; false when a failed
    // read or write, or a CSV header without the named column, ended it early.
    bool standardInput();

    // kAllValid or kSomeInvalid for the numbers seen; once stopped, what stopped it.
    int exitStatus() const;

private:
    void report(const Finding& finding, std::string_view input, std::uint64_t line,
                std::string_view lineEnd);
    void errorPrefix(std::uint64_t line, std::string_view input);
    bool lines();
    bool csv();
    bool csvHeader(std::string_view record, char separator, std::size_t& column, bool& header);
    std::string_view lineEndOf(const RecordReader::Record& record);
    void blankLine(std::string_view text, std::uint64_t line, std::string_view lineEnd);
    void tooLongPiece(const RecordReader::Record& record);
    bool flushAll();
    // Says why standard input could not be read to its end (errno), if it could not; true
    // when the run goes on.
    bool finishReading(int readError);

    const Options& options_;
    const Messages& messages_;
    const Examiner& examiner_;
    const Reporter& reporter_;
    Output& out_;
    Output& err_;
    TextBuilder field_; // the number's CSV field, unquoted
    char csvSeparator_ = ',';
    LineEnd lastLineEnd_ = LineEnd::Lf;
    bool bomWritten_ = false;
    bool someInvalid_ = false;
    int stopped_ = 0; // the exit status that ended the run early
};

} // namespace cuentas::cli
