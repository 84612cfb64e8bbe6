#pragma once
// Reads the register of entities (data/registro-entidades.tsv): the date it describes and one
// entity per line, every field checked, texts turned into Windows-1252. It never touches a file.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cuentas::tools {

// Widths of the bank table's fields.
inline constexpr std::size_t kCodeWidth = 4;   // BANCO, SUCESORA
inline constexpr std::size_t kNameWidth = 70;  // NOMBRE, RAZONSOC
inline constexpr std::size_t kStatusWidth = 7; // ESTADO
inline constexpr std::size_t kBicWidth = 11;   // BIC

// The columns of an entity line, in order.
inline constexpr std::string_view kColumns =
    "codigo\tnombre\tcorto\testado\tmotivo\tsucesora\ttraspaso\tbic\tbaja\tnota";

struct UpdateDate {
    int year = 2000; // 1900 to 2155, as one byte of the table's header counts
    int month = 1;
    int day = 1;
    bool operator==(const UpdateDate&) const = default;
};

// Why an entity left the register.
enum class Reason {
    None,           // still current
    Absorption,     // absorbed, or its business passed to another entity ("absorción")
    Merger,         // merged into a new entity ("fusión")
    NewCode,        // the same entity under another code ("nuevo código")
    Deregistration, // closed, licence given up or withdrawn, dissolved... ("baja")
};

struct Entity {
    std::string code;      // four digits
    std::string name;      // legal name, Windows-1252
    std::string shortName; // Windows-1252; empty: the legal name
    bool current = true;
    Reason reason = Reason::None;
    std::string successor;    // code the register names, or empty
    std::string transfer;     // code of the bank that carries on the business, or empty
    std::string bic;          // 8 or 11 characters, or empty
    std::string deregistered; // YYYY-MM-DD, or empty
    int line = 0;
};

struct SourceMessage {
    int line = 0;
    std::string text;
};

struct Register {
    std::optional<UpdateDate> date;
    std::vector<Entity> entities;      // in the order of the lines
    std::vector<SourceMessage> errors; // any error means no table may be written
};

// Lines: '#' comments and blank lines are skipped; a line may end in CR LF; a UTF-8 byte-order
// mark is ignored. First "fecha<TAB>YYYY-MM-DD", then the column line, then the entities.
// Every faulty line is reported by number, counting from 1; a faulty entity is left out.
Register parseRegister(std::string_view utf8);

// The date of a "YYYY-MM-DD" text, if it is one within what the table's header can hold.
std::optional<UpdateDate> parseDate(std::string_view text);

} // namespace cuentas::tools
