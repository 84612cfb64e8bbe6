#include "platform/os/registry.h"

#include "platform/os/operating_system.h"
#include "platform/os/posix/registry_file.h"
#include "platform/os/posix/registry_store.h"

#include <array>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

namespace cuentas {
namespace {

struct HiveFile {
    const char* name; // also the prefix its sections may carry
    std::string path;
};

std::optional<std::string> nonEmptyVariable(std::string_view name) {
    auto value = operatingSystem().environmentVariable(name);
    if (!value || value->empty()) {
        return std::nullopt;
    }
    return value;
}

// Where a hive's file lives; nullopt for a hive we do not keep. The current user's file
// follows the XDG base directory rules (a relative XDG_CONFIG_HOME is ignored).
std::optional<HiveFile> hiveFile(HKEY hive) {
    if (hive == HKEY_LOCAL_MACHINE) {
        auto path = nonEmptyVariable("CUENTAS_HKEY_LOCAL_MACHINE");
        return HiveFile{"HKEY_LOCAL_MACHINE",
                        path ? *path : std::string("/etc/cuentas/HKEY_LOCAL_MACHINE.reg")};
    }
    if (hive == HKEY_CURRENT_USER) {
        std::string path;
        if (auto own = nonEmptyVariable("CUENTAS_HKEY_CURRENT_USER")) {
            path = *own;
        } else if (auto config = nonEmptyVariable("XDG_CONFIG_HOME");
                   config && (*config)[0] == '/') {
            path = *config + "/cuentas/HKEY_CURRENT_USER.reg";
        } else if (auto home = nonEmptyVariable("HOME")) {
            path = *home + "/.config/cuentas/HKEY_CURRENT_USER.reg";
        }
        // Without any of them the path stays empty and every access fails as a missing path.
        return HiveFile{"HKEY_CURRENT_USER", path};
    }
    return std::nullopt;
}

bool isHive(HKEY key) {
    return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER;
}

// Open keys live in a fixed table. A handle carries its slot in the low bits and a serial
// number above them, so a closed handle stays invalid after its slot is reused, and handles
// stay below 0x80000000, apart from the hives.
constexpr std::uint32_t kSlotBits = 8;
static_assert(kMaxOpenRegistryKeys <= (1 << kSlotBits));
constexpr std::uint32_t kMaxSerial = (0x80000000u >> kSlotBits) - 1;

struct OpenKey {
    enum class State { Free, Reserved, Open } state = State::Free;
    HKEY handle = 0;
    HKEY hive = 0;
    std::string path; // normalised, relative to the hive
};

struct KeyLocation {
    HKEY hive = 0;
    std::string path;
};

class KeyTable {
public:
    // A slot for a key being opened, or 0 when every slot is taken.
    HKEY reserve(HKEY hive, const std::string& path) {
        std::lock_guard guard(mutex_);
        for (std::uint32_t slot = 0; slot < keys_.size(); ++slot) {
            OpenKey& key = keys_[slot];
            if (key.state == OpenKey::State::Free) {
                serial_ = serial_ >= kMaxSerial ? 1 : serial_ + 1;
                key = {OpenKey::State::Reserved, (serial_ << kSlotBits) | slot, hive, path};
                return key.handle;
            }
        }
        return 0;
    }
    void confirm(HKEY handle) {
        std::lock_guard guard(mutex_);
        keys_[handle & slotMask()].state = OpenKey::State::Open;
    }
    void release(HKEY handle) {
        std::lock_guard guard(mutex_);
        keys_[handle & slotMask()] = OpenKey{};
    }
    std::optional<KeyLocation> find(HKEY handle) {
        std::lock_guard guard(mutex_);
        const OpenKey* key = openKey(handle);
        return key ? std::optional(KeyLocation{key->hive, key->path}) : std::nullopt;
    }
    bool close(HKEY handle) {
        std::lock_guard guard(mutex_);
        if (!openKey(handle)) {
            return false;
        }
        keys_[handle & slotMask()] = OpenKey{};
        return true;
    }

private:
    static constexpr HKEY slotMask() { return (1u << kSlotBits) - 1; }
    const OpenKey* openKey(HKEY handle) const {
        std::size_t slot = handle & slotMask();
        if (handle == 0 || slot >= keys_.size()) {
            return nullptr;
        }
        const OpenKey& key = keys_[slot];
        return key.state == OpenKey::State::Open && key.handle == handle ? &key : nullptr;
    }

    std::mutex mutex_;
    std::array<OpenKey, kMaxOpenRegistryKeys> keys_;
    std::uint32_t serial_ = 0;
};

KeyTable& openKeys() {
    static KeyTable table;
    return table;
}

std::optional<KeyLocation> locate(HKEY key) {
    if (isHive(key)) {
        return KeyLocation{key, {}};
    }
    return openKeys().find(key);
}

// Opens the key, creating it when the hive file does not list it.
std::int32_t openOrCreate(const HiveFile& file, const std::string& path,
                          std::uint32_t& disposition) {
    HiveFileText text = readHiveFile(file.path);
    if (text.error != ERROR_SUCCESS) {
        return text.error;
    }
    if (RegistryHive::parse(text.text, file.name).hasKey(path)) {
        disposition = REG_OPENED_EXISTING_KEY;
        return ERROR_SUCCESS;
    }
    bool created = false;
    std::int32_t error = addHiveKey(file.path, file.name, path, created);
    disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return error;
}

} // namespace

std::int32_t RegCreateKeyExA(HKEY key, const char* subKey, std::uint32_t reserved,
                             const char* /*className*/, std::uint32_t options,
                             std::uint32_t /*access*/, const void* /*securityAttributes*/,
                             HKEY* result, std::uint32_t* disposition) {
    if (result) {
        *result = 0;
    }
    auto base = locate(key);
    if (!base) {
        return ERROR_INVALID_HANDLE;
    }
    if (!result || !subKey || reserved != 0 || options != REG_OPTION_NON_VOLATILE) {
        return ERROR_INVALID_PARAMETER;
    }
    std::string path = normaliseKeyPath(base->path + '\\' + subKey);
    if (!isStorableKeyPath(path)) {
        return ERROR_INVALID_PARAMETER;
    }
    auto file = hiveFile(base->hive);
    if (!file) {
        return ERROR_INVALID_HANDLE;
    }
    // The slot comes first, so that a full table never leaves a created key without a handle.
    HKEY handle = openKeys().reserve(base->hive, path);
    if (handle == 0) {
        return ERROR_TOO_MANY_OPEN_FILES;
    }
    std::uint32_t how = 0;
    if (std::int32_t error = openOrCreate(*file, path, how); error != ERROR_SUCCESS) {
        openKeys().release(handle);
        return error;
    }
    openKeys().confirm(handle);
    *result = handle;
    if (disposition) {
        *disposition = how;
    }
    return ERROR_SUCCESS;
}

std::int32_t RegQueryValueExA(HKEY key, const char* valueName, std::uint32_t* reserved,
                              std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) {
    auto location = locate(key);
    if (!location) {
        return ERROR_INVALID_HANDLE;
    }
    if (reserved || (data && !dataSize)) {
        return ERROR_INVALID_PARAMETER;
    }
    auto file = hiveFile(location->hive);
    if (!file) {
        return ERROR_INVALID_HANDLE;
    }
    // Read afresh on every query, as Windows shows a value's current state.
    HiveFileText text = readHiveFile(file->path);
    if (text.error != ERROR_SUCCESS) {
        return text.error;
    }
    RegistryHive hive = RegistryHive::parse(text.text, file->name);
    const std::string* value = hive.value(location->path, valueName ? valueName : "");
    if (!value) {
        return ERROR_FILE_NOT_FOUND;
    }
    // The file's size limit keeps this far below 4 GiB.
    const auto needed = static_cast<std::uint32_t>(value->size() + 1);
    if (type) {
        *type = REG_SZ;
    }
    if (data) {
        if (*dataSize < needed) {
            *dataSize = needed;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, value->data(), value->size());
        data[value->size()] = 0;
    }
    if (dataSize) {
        *dataSize = needed;
    }
    return ERROR_SUCCESS;
}

std::int32_t RegCloseKey(HKEY key) {
    if (isHive(key)) {
        return ERROR_SUCCESS;
    }
    return openKeys().close(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

} // namespace cuentas
