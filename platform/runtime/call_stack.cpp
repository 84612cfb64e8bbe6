#include "platform/runtime/call_stack.h"

#include <cstring>
#include <vector>

namespace cuentas {
namespace {

struct Frame {
    const char* name;
    const char* file;
    std::uint32_t line;
};

// Everything runs on the GUI thread; a thread-local stack keeps tests on other threads apart.
thread_local std::vector<Frame> frames;

const Frame* frameAt(std::uint32_t level) {
    if (level >= frames.size()) {
        return nullptr;
    }
    return &frames[frames.size() - 1 - level];
}

} // namespace

RoutineFrame::RoutineFrame(const char* name, SourceLocation where) {
    frames.push_back(Frame{name, where.file_name(), where.line()});
}

RoutineFrame::~RoutineFrame() { frames.pop_back(); }

void noteCallSite(const SourceLocation& where) {
    if (frames.empty()) {
        return;
    }
    Frame& top = frames.back();
    if (std::strcmp(top.file, where.file_name()) == 0) {
        top.line = where.line();
    }
}

std::string ProcName(std::uint32_t level) {
    const Frame* frame = frameAt(level);
    return frame ? std::string(frame->name) : std::string();
}

std::uint32_t ProcLine(std::uint32_t level) {
    const Frame* frame = frameAt(level);
    return frame ? frame->line : 0;
}

} // namespace cuentas
