#pragma once
// The text layout of a registry hive file: a subset of the familiar ".reg" format, read
// leniently (a line that is not understood is skipped, never turned into a value) and
// extended only by appending. It knows nothing of where hive files live.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace cuentas {

// The form in which key paths and value names are compared: ASCII letters in lower case,
// every other byte (Windows-1252 letters included) as it is.
std::string registryFold(std::string_view name);

// A key path with the empty parts of doubled, leading or trailing backslashes dropped;
// letter case is kept ("\SYSTEM\\Setup\" gives "SYSTEM\Setup").
std::string normaliseKeyPath(std::string_view path);

// TRUE for a normalised path that a hive file can hold: no control characters (they would
// break the line layout) and no part longer than 255 bytes.
bool isStorableKeyPath(std::string_view path);

// The keys and string values of one hive file.
class RegistryHive {
public:
    // Reads a hive file's text. `hiveName` ("HKEY_LOCAL_MACHINE") is the prefix a section may
    // carry and that is dropped; a section naming another hive is ignored with its values.
    static RegistryHive parse(std::string_view text, std::string_view hiveName);

    // TRUE for the root (""), for every listed key and for every parent of one.
    bool hasKey(std::string_view normalisedPath) const;
    // The text of a value ("" names the default value), or null when there is none.
    const std::string* value(std::string_view normalisedPath, std::string_view name) const;
    std::size_t listedKeyCount() const { return keys_.size(); }

private:
    void removeKey(const std::string& foldedPath);

    // Folded key path -> folded value name -> text.
    std::map<std::string, std::map<std::string, std::string>> keys_;
};

// The bytes to append to a hive file whose content is `existing` so that it lists the key
// `path`: a "REGEDIT4" header when the file is empty, a line end first when the file does not
// end in one, a blank line, then the section with the hive's name as prefix. The lines end as
// the file's own do (CR LF when it already uses them, else LF).
std::string appendedSection(std::string_view existing, std::string_view hiveName,
                            std::string_view path);

} // namespace cuentas
