#include "platform/os/posix/registry_file.h"

#include <array>
#include <optional>

namespace cuentas {
namespace {

constexpr std::array<std::string_view, 7> kHiveNames = {
    "hkey_classes_root",   "hkey_current_user",     "hkey_local_machine", "hkey_users",
    "hkey_current_config", "hkey_performance_data", "hkey_dyn_data"};

constexpr std::size_t kMaxKeyNameLength = 255;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && isBlank(line.front())) {
        line.remove_prefix(1);
    }
    while (!line.empty() && isBlank(line.back())) {
        line.remove_suffix(1);
    }
    return line;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A quoted text starting at line[pos] == '"', with \\ and \" as escapes. A backslash before
// any other character stays as it is, so a hand-written "D:\Logs" means what it says.
// Sets `pos` past the closing quote; nullopt when the quote is never closed.
std::optional<std::string> quoted(std::string_view line, std::size_t& pos) {
    std::string text;
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            pos = i + 1;
            return text;
        }
        if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
            c = line[++i];
        }
        text += c;
    }
    return std::nullopt;
}

void skipBlanks(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && isBlank(line[pos])) {
        ++pos;
    }
}

// The key a section's inner text names, relative to the hive; nullopt when it names
// another hive.
std::optional<std::string> sectionPath(std::string_view inner, std::string_view foldedHive) {
    std::string path = normaliseKeyPath(inner);
    std::string first = registryFold(std::string_view(path).substr(0, path.find('\\')));
    if (first == foldedHive) {
        auto slash = path.find('\\');
        return slash == std::string::npos ? std::string() : path.substr(slash + 1);
    }
    for (std::string_view other : kHiveNames) {
        if (first == other) {
            return std::nullopt;
        }
    }
    return path;
}

} // namespace

std::string registryFold(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

std::string normaliseKeyPath(std::string_view path) {
    std::string result;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            if (!result.empty()) {
                result += '\\';
            }
            result.append(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return result;
}

bool isStorableKeyPath(std::string_view path) {
    std::size_t partLength = 0;
    for (char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return false;
        }
        partLength = c == '\\' ? 0 : partLength + 1;
        if (partLength > kMaxKeyNameLength) {
            return false;
        }
    }
    return true;
}

RegistryHive RegistryHive::parse(std::string_view text, std::string_view hiveName) {
    RegistryHive hive;
    const std::string foldedHive = registryFold(hiveName);
    if (startsWith(text, "\xEF\xBB\xBF")) {
        text.remove_prefix(3); // a byte-order mark left by an editor
    }
    // Values belong to the last section understood; after a section that was not understood
    // they are dropped rather than given to the key before it.
    std::optional<std::string> section;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = text.size();
        }
        std::string_view line = trimmed(text.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            section.reset();
            if (line.size() < 2 || line.back() != ']') {
                continue;
            }
            std::string_view inner = line.substr(1, line.size() - 2);
            bool removal = startsWith(inner, "-");
            auto path = sectionPath(removal ? inner.substr(1) : inner, foldedHive);
            if (!path) {
                continue;
            }
            std::string folded = registryFold(*path);
            if (removal) {
                hive.removeKey(folded);
            } else {
                hive.keys_[folded];
                section = std::move(folded);
            }
            continue;
        }
        if (!section || (line.front() != '"' && line.front() != '@')) {
            continue;
        }
        std::size_t pos = 1;
        std::string name;
        if (line.front() == '"') {
            pos = 0;
            auto parsed = quoted(line, pos);
            if (!parsed) {
                continue;
            }
            name = registryFold(*parsed);
        }
        skipBlanks(line, pos);
        if (pos >= line.size() || line[pos] != '=') {
            continue;
        }
        ++pos;
        skipBlanks(line, pos);
        auto& values = hive.keys_[*section];
        if (line.substr(pos) == "-") {
            values.erase(name);
        } else if (pos < line.size() && line[pos] == '"') {
            auto data = quoted(line, pos);
            if (data && pos == line.size()) {
                values[name] = std::move(*data);
            }
        }
        // Other types (dword:, hex:) are not kept: the values read here are texts.
    }
    return hive;
}

void RegistryHive::removeKey(const std::string& foldedPath) {
    if (foldedPath.empty()) {
        return; // a hive itself cannot be removed
    }
    keys_.erase(foldedPath);
    const std::string prefix = foldedPath + '\\';
    auto it = keys_.lower_bound(prefix);
    while (it != keys_.end() && startsWith(it->first, prefix)) {
        it = keys_.erase(it);
    }
}

bool RegistryHive::hasKey(std::string_view normalisedPath) const {
    if (normalisedPath.empty()) {
        return true;
    }
    std::string folded = registryFold(normalisedPath);
    if (keys_.count(folded) != 0) {
        return true;
    }
    folded += '\\';
    auto child = keys_.lower_bound(folded);
    return child != keys_.end() && startsWith(child->first, folded);
}

const std::string* RegistryHive::value(std::string_view normalisedPath,
                                       std::string_view name) const {
    auto key = keys_.find(registryFold(normalisedPath));
    if (key == keys_.end()) {
        return nullptr;
    }
    auto found = key->second.find(registryFold(name));
    return found == key->second.end() ? nullptr : &found->second;
}

std::string appendedSection(std::string_view existing, std::string_view hiveName,
                            std::string_view path) {
    const std::string_view lineEnd =
        existing.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    std::string out;
    if (existing.empty()) {
        out.append("REGEDIT4").append(lineEnd);
    } else if (existing.back() != '\n') {
        out.append(lineEnd);
    }
    const bool endsInBlankLine =
        existing.size() >= 2 && existing.back() == '\n' &&
        (existing[existing.size() - 2] == '\n' ||
         (existing.size() >= 3 && existing.substr(existing.size() - 3) == "\n\r\n"));
    if (!endsInBlankLine) {
        out.append(lineEnd);
    }
    // The hive's name leads the section, so a key whose name begins with '-' or with another
    // hive's name reads back as itself.
    out.append("[").append(hiveName);
    if (!path.empty()) {
        out.append("\\").append(path);
    }
    out.append("]").append(lineEnd);
    return out;
}

} // namespace cuentas
