#pragma once
// Reads the reviewable bank list, one bank per line as "CODE<TAB>Name" in UTF-8, into codes
// and Windows-1252 names that fit the bank table. It never touches a file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cuentas::tools {

inline constexpr std::size_t kCodeWidth = 4;
inline constexpr std::size_t kNameWidth = 60;

struct Bank {
    std::string code; // four digits
    std::string name; // Windows-1252, at most kNameWidth bytes, without padding
    int line = 0;
};

struct SourceMessage {
    int line = 0;
    std::string text;
};

struct BankSource {
    std::vector<Bank> banks;
    std::vector<SourceMessage> errors;   // any error means no table may be written
    std::vector<SourceMessage> warnings; // duplicate codes: allowed, lookups find the first
};

// Lines: '#' comments and blank lines are skipped; a line may end in CR LF; the name is trimmed
// of blanks. Every faulty line is reported, by number, counting from 1.
BankSource parseBankSource(std::string_view utf8);

} // namespace cuentas::tools
