#include "cli/record_reader.h"

#include "cli/byte_search.h"
#include "platform/os/operating_system.h"

#include <cstring>

namespace cuentas::cli {

std::string_view lineEndText(LineEnd lineEnd) {
    switch (lineEnd) {
    case LineEnd::None:
        break;
    case LineEnd::Lf:
        return "\n";
    case LineEnd::Cr:
        return "\r";
    case LineEnd::CrLf:
        return "\r\n";
    }
    return {};
}

RecordReader::RecordReader(int fd, Kind kind, std::function<bool()> beforeWaiting)
    : fd_(fd), kind_(kind), beforeWaiting_(std::move(beforeWaiting)), buffer_(kBufferSize) {}

bool RecordReader::findRecordEnd(std::size_t& end) {
    const std::string_view rest(buffer_.data() + scan_, end_ - scan_);
    std::size_t found = std::string_view::npos;
    if (kind_ == Kind::Csv) {
        found = scanner_.findEnd(rest, scan_ - begin_);
    } else if (const std::size_t at = findLineBreak(rest); at < rest.size()) {
        found = at;
    }
    if (found == std::string_view::npos) {
        scan_ = end_;
        return false;
    }
    end = scan_ + found;
    return true;
}

void RecordReader::finishRecord(Record& record, std::string_view text, std::size_t next,
                                std::uint64_t lines) {
    record.text = text;
    record.line = line_;
    record.more = false;
    record.length = streamed_ + text.size();
    line_ += lines;
    begin_ = scan_ = next;
    scanner_.reset();
    streaming_ = false;
    streamed_ = 0;
}

// `end` is the CR or LF that ends the record.
void RecordReader::take(Record& record, std::size_t end, RecordFault fault) {
    const std::string_view text(buffer_.data() + begin_, end - begin_);
    std::size_t next = end + 1;
    record.lineEnd = LineEnd::Lf;
    if (buffer_[end] == '\r' && next < end_ && buffer_[next] == '\n') {
        record.lineEnd = LineEnd::CrLf;
        ++next;
    } else if (buffer_[end] == '\r') {
        record.lineEnd = LineEnd::Cr;
    }
    record.fault = streaming_ || text.size() > kMaxRecord ? RecordFault::TooLong : fault;
    record.openQuote = false;
    record.quoteLine = 0;
    finishRecord(record, text, next, 1 + scanner_.lineBreaks());
}

// A quote that does not close by the end of the input, or within the longest record, cannot
// say where its field ends: the record is taken to end with the line the quote opened on, and
// reading goes on with the next line.
void RecordReader::cutAtQuoteLine(Record& record) {
    const std::size_t quote = begin_ + scanner_.quoteStart();
    const std::size_t lineEnd =
        quote + findLineBreak(std::string_view(buffer_.data() + quote, end_ - quote));
    record.quoteLine = line_ + scanner_.breaksBeforeQuote();
    const std::uint64_t lines = scanner_.breaksBeforeQuote() + 1;
    if (lineEnd == end_) {
        record.lineEnd = LineEnd::None;
        record.fault = RecordFault::UnterminatedQuote;
        record.openQuote = true;
        finishRecord(record, std::string_view(buffer_.data() + begin_, end_ - begin_), end_, lines);
        return;
    }
    const std::uint64_t quoteLine = record.quoteLine;
    take(record, lineEnd, RecordFault::UnterminatedQuote);
    record.fault = RecordFault::UnterminatedQuote;
    record.openQuote = true;
    record.quoteLine = quoteLine;
    line_ = quoteLine + 1;
}

// The buffer is full without the record's end: what it holds so far goes out as a piece, all
// but a CR held back to see whether LF follows it.
void RecordReader::handOutPiece(Record& record) {
    streaming_ = true;
    record.text = std::string_view(buffer_.data() + begin_, scan_ - begin_);
    record.line = line_;
    record.lineEnd = LineEnd::None;
    record.fault = RecordFault::TooLong;
    record.more = true;
    streamed_ += record.text.size();
    record.length = streamed_;
    record.openQuote = false;
    record.quoteLine = 0;
    begin_ = scan_;
}

// The mark is looked for once, as soon as the first bytes show whether they begin it.
bool RecordReader::checkByteOrderMark() {
    static constexpr unsigned char kMark[] = {0xEF, 0xBB, 0xBF};
    const std::size_t have = end_ - begin_;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i == have) {
            return atEnd_; // a prefix of the mark: wait for more, unless there is no more
        }
        if (static_cast<unsigned char>(buffer_[begin_ + i]) != kMark[i]) {
            return true;
        }
    }
    byteOrderMark_ = true;
    begin_ = scan_ = begin_ + 3;
    return true;
}

bool RecordReader::fill() {
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        scan_ -= begin_;
        end_ -= begin_;
        begin_ = 0;
    }
    if (!beforeWaiting_()) {
        return false;
    }
    const long count =
        operatingSystem().readFile(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (count < 0) {
        error_ = static_cast<int>(-count);
        return false;
    }
    atEnd_ = count == 0;
    end_ += static_cast<std::size_t>(count);
    return true;
}

bool RecordReader::next(Record& record) {
    for (;;) {
        if (!bomDecided_) {
            bomDecided_ = checkByteOrderMark();
        }
        std::size_t end = 0;
        if (bomDecided_ && findRecordEnd(end)) {
            if (buffer_[end] != '\r' || end + 1 < end_ || atEnd_) {
                take(record, end, RecordFault::None);
                return true;
            }
            // A CR as the last byte read may be the first half of CR LF.
            scan_ = end;
            scanner_.resumeAtLineEnd();
        } else if (bomDecided_ && atEnd_) {
            if (begin_ == end_ && !streaming_) {
                return false;
            }
            if (kind_ == Kind::Csv && scanner_.inQuotes() && !streaming_) {
                cutAtQuoteLine(record);
                return true;
            }
            // The last line, without a line end.
            const std::string_view text(buffer_.data() + begin_, end_ - begin_);
            record.lineEnd = LineEnd::None;
            record.fault =
                streaming_ || text.size() > kMaxRecord ? RecordFault::TooLong : RecordFault::None;
            record.openQuote = scanner_.inQuotes();
            record.quoteLine = 0;
            finishRecord(record, text, end_, 1);
            return true;
        }
        if (error_ != 0) {
            return false;
        }
        if (end_ - begin_ == buffer_.size()) {
            const bool quoteSpansLines = scanner_.lineBreaks() > scanner_.breaksBeforeQuote();
            if (kind_ == Kind::Csv && scanner_.inQuotes() && quoteSpansLines && !streaming_) {
                cutAtQuoteLine(record);
            } else {
                handOutPiece(record);
            }
            return true;
        }
        if (!fill()) {
            return false;
        }
    }
}

} // namespace cuentas::cli
