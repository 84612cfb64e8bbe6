#include "platform/os/win32/handles.h"

#include "platform/os/operating_system.h"

namespace cuentas::win32 {
namespace {

constexpr int kFirstFile = 3;

HANDLE standardStream(int file) {
    switch (file) {
    case kStandardInput:
        return GetStdHandle(STD_INPUT_HANDLE);
    case kStandardOutput:
        return GetStdHandle(STD_OUTPUT_HANDLE);
    default:
        return GetStdHandle(STD_ERROR_HANDLE);
    }
}

} // namespace

int HandleTable::add(HANDLE handle, bool appending) {
    std::lock_guard<std::mutex> hold(mutex_);
    for (std::size_t i = 0; i < handles_.size(); ++i) {
        if (handles_[i].handle == INVALID_HANDLE_VALUE) {
            handles_[i] = {handle, appending};
            return kFirstFile + static_cast<int>(i);
        }
    }
    handles_.push_back({handle, appending});
    return kFirstFile + static_cast<int>(handles_.size() - 1);
}

HANDLE HandleTable::find(int file) {
    if (file >= 0 && file < kFirstFile) {
        HANDLE stream = standardStream(file);
        return stream ? stream : INVALID_HANDLE_VALUE; // no stream: a program without a console
    }
    std::lock_guard<std::mutex> hold(mutex_);
    const auto index = static_cast<std::size_t>(file - kFirstFile);
    return file >= kFirstFile && index < handles_.size() ? handles_[index].handle
                                                         : INVALID_HANDLE_VALUE;
}

bool HandleTable::appending(int file) {
    std::lock_guard<std::mutex> hold(mutex_);
    const auto index = static_cast<std::size_t>(file - kFirstFile);
    return file >= kFirstFile && index < handles_.size() && handles_[index].appending;
}

HANDLE HandleTable::remove(int file) {
    if (file < kFirstFile) {
        return INVALID_HANDLE_VALUE; // the standard streams stay open
    }
    std::lock_guard<std::mutex> hold(mutex_);
    const auto index = static_cast<std::size_t>(file - kFirstFile);
    if (index >= handles_.size()) {
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = handles_[index].handle;
    handles_[index] = {INVALID_HANDLE_VALUE, false};
    return handle;
}

HandleTable& handles() {
    static HandleTable table;
    return table;
}

} // namespace cuentas::win32
