// The registry functions on Windows: the real registry. The runtime's key numbers stand for
// the system's key handles, the hives for the predefined ones.
#include "platform/os/registry.h"

#include <mutex>
#include <vector>

#include <windows.h>

namespace {

// The system's handle of a predefined key, as the system numbers them (sign-extended).
::HKEY predefinedKey(std::uint32_t key) {
    return reinterpret_cast<::HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(key)));
}

bool isPredefined(std::uint32_t key) {
    return key >= 0x80000000u && key <= 0x80000006u;
}

// Keys opened through the runtime, numbered from 1, below the predefined ones.
class OpenKeys {
public:
    std::uint32_t add(::HKEY key) {
        std::lock_guard<std::mutex> hold(mutex_);
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (!keys_[i]) {
                keys_[i] = key;
                return static_cast<std::uint32_t>(i + 1);
            }
        }
        keys_.push_back(key);
        return static_cast<std::uint32_t>(keys_.size());
    }
    ::HKEY find(std::uint32_t number) {
        if (isPredefined(number)) {
            return predefinedKey(number);
        }
        std::lock_guard<std::mutex> hold(mutex_);
        return number >= 1 && number <= keys_.size() ? keys_[number - 1] : nullptr;
    }
    ::HKEY remove(std::uint32_t number) {
        std::lock_guard<std::mutex> hold(mutex_);
        if (number < 1 || number > keys_.size()) {
            return nullptr;
        }
        ::HKEY key = keys_[number - 1];
        keys_[number - 1] = nullptr;
        return key;
    }

private:
    std::mutex mutex_;
    std::vector<::HKEY> keys_;
};

OpenKeys& openKeys() {
    static OpenKeys keys;
    return keys;
}

} // namespace

namespace cuentas {

std::int32_t RegCreateKeyExA(HKEY key, const char* subKey, std::uint32_t reserved,
                             const char* className, std::uint32_t options, std::uint32_t access,
                             const void* securityAttributes, HKEY* result,
                             std::uint32_t* disposition) {
    if (result) {
        *result = 0;
    }
    ::HKEY parent = openKeys().find(key);
    if (!parent) {
        return ERROR_INVALID_HANDLE;
    }
    ::HKEY opened = nullptr;
    DWORD how = 0;
    LSTATUS status = ::RegCreateKeyExA(
        parent, subKey, reserved, const_cast<char*>(className), options, access,
        static_cast<LPSECURITY_ATTRIBUTES>(const_cast<void*>(securityAttributes)), &opened, &how);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    if (!result) {
        ::RegCloseKey(opened);
        return ERROR_INVALID_PARAMETER;
    }
    *result = openKeys().add(opened);
    if (disposition) {
        *disposition = how;
    }
    return ERROR_SUCCESS;
}

std::int32_t RegQueryValueExA(HKEY key, const char* valueName, std::uint32_t* reserved,
                              std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) {
    ::HKEY opened = openKeys().find(key);
    if (!opened) {
        return ERROR_INVALID_HANDLE;
    }
    DWORD kind = 0;
    DWORD size = dataSize ? *dataSize : 0;
    LSTATUS status =
        ::RegQueryValueExA(opened, valueName, reinterpret_cast<LPDWORD>(reserved), &kind, data,
                           dataSize ? &size : nullptr);
    if (type && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) {
        *type = kind;
    }
    if (dataSize && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) {
        *dataSize = size;
    }
    return status;
}

std::int32_t RegCloseKey(HKEY key) {
    if (isPredefined(key)) {
        return ERROR_SUCCESS;
    }
    ::HKEY opened = openKeys().remove(key);
    return opened ? ::RegCloseKey(opened) : ERROR_INVALID_HANDLE;
}

} // namespace cuentas
