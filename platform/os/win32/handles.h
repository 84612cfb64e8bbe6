#pragma once
// The seam's open files on Windows: small numbers for the system's handles, the standard
// streams at 0, 1 and 2 as the process has them.

#include <mutex>
#include <vector>

#include <windows.h>

namespace cuentas::win32 {

class HandleTable {
public:
    // The number of a handle now open; `appending` when its writes go to the end.
    int add(HANDLE handle, bool appending = false);
    // The handle of a number; INVALID_HANDLE_VALUE for none.
    HANDLE find(int file);
    bool appending(int file);
    // Takes the number back and gives its handle, to be closed; INVALID_HANDLE_VALUE for none.
    HANDLE remove(int file);

private:
    std::mutex mutex_;
    struct Open {
        HANDLE handle;
        bool appending;
    };
    std::vector<Open> handles_; // from number 3 on; INVALID_HANDLE_VALUE where free
};

HandleTable& handles();

} // namespace cuentas::win32
