#include "cli/record_reader.h"

#include "platform/os/operating_system.h"

#include <cstring>

namespace cuentas::cli {

RecordReader::RecordReader(int fd, Kind kind, std::function<bool()> beforeWaiting)
    : fd_(fd), kind_(kind), beforeWaiting_(std::move(beforeWaiting)), buffer_(kBufferSize) {}

bool RecordReader::findRecordEnd(std::size_t& end) {
    const std::string_view rest(buffer_.data() + scan_, end_ - scan_);
    std::size_t found = std::string_view::npos;
    if (kind_ == Kind::Csv) {
        found = scanner_.findEnd(rest, breaksInside_);
    } else if (const void* at = std::memchr(rest.data(), '\n', rest.size())) {
        found = static_cast<std::size_t>(static_cast<const char*>(at) - rest.data());
    }
    if (found == std::string_view::npos) {
        scan_ = end_;
        return false;
    }
    end = scan_ + found;
    return true;
}

void RecordReader::take(Record& record, std::size_t end, bool lineEnded) {
    std::string_view text(buffer_.data() + begin_, end - begin_);
    record.crlf = lineEnded && !text.empty() && text.back() == '\r';
    if (record.crlf) {
        text.remove_suffix(1);
    }
    record.tooLong = skipping_ || text.size() > kMaxRecord;
    record.text = record.tooLong ? std::string_view() : text;
    record.line = line_;
    line_ += 1 + breaksInside_;
    breaksInside_ = 0;
    skipping_ = false;
    begin_ = scan_ = lineEnded ? end + 1 : end;
    scanner_.reset();
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
    if (end_ == buffer_.size()) {
        // The record does not fit: drop what it holds so far and keep looking for its end.
        skipping_ = true;
        begin_ = scan_ = end_ = 0;
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
            take(record, end, true);
            return true;
        }
        if (atEnd_) {
            if (begin_ == end_ && !skipping_) {
                return false;
            }
            take(record, end_, false); // the last line, without a line end
            return true;
        }
        if (error_ != 0 || !fill()) {
            return false;
        }
    }
}

} // namespace cuentas::cli
