#pragma once
// Output to a file descriptor in blocks, through the operating-system seam.

#include "cli/text_builder.h"

#include <string_view>

namespace cuentas::cli {

class Output {
public:
    explicit Output(int fd);

    // Results are appended here directly; the buffer keeps its capacity across blocks.
    TextBuilder& buffer() { return buffer_; }
    void append(std::string_view text) { buffer_.append(text); }

    // Writes once a block has gathered; false after a failed write.
    bool flushIfFull() { return buffer_.size() < kBlock || flush(); }
    // Writes whatever is gathered; false after a failed write.
    bool flush();
    // The errno of the failed write, 0 while none failed.
    int error() const { return error_; }

private:
    static constexpr std::size_t kBlock = 1 << 16;

    int fd_;
    int error_ = 0;
    TextBuilder buffer_;
};

} // namespace cuentas::cli
