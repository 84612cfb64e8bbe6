#pragma once
// The register of credit entities read from NomBancos.dbf into typed entries, with lookup by
// code and the chain of successors. It reads the table once; no widget, Qt or log.

#include "platform/table/dbf_image.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cuentas {

// ESTADO: "vigente" is current, "baja" withdrawn; a table without the field, or with another
// word in it, leaves the state unknown.
enum class EntityState : std::uint8_t { Unknown, Current, Withdrawn };

// A code as four digits with leading zeros.
std::array<char, 4> entityCodeText(std::uint32_t code);

struct Entity {
    std::uint32_t code = 0; // 0 to 9999
    std::string name;       // NOMBRE as the dialog shows it, trailing blanks removed
    std::string legalName;  // RAZONSOC, trailing blanks removed; empty without the field
    EntityState state = EntityState::Unknown;
    std::optional<std::uint32_t> successor; // SUCESORA: the entity that took it over
    std::string bic;                        // BIC without blanks; empty when there is none

    // The legal name where the register has one, else the dialog's name.
    const std::string& displayName() const { return legalName.empty() ? name : legalName; }
    std::array<char, 4> codeText() const { return entityCodeText(code); }
};

struct RegisterDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// What kept the register from being read; `detail` is the table layer's English text.
struct RegisterError {
    enum class Kind : std::uint8_t {
        Open,    // the file could not be read (detail: the operating system's reason)
        Damaged, // the file is no sound table (detail: what is wrong, where)
        Layout,  // a field is missing or of the wrong type (detail: which)
    };
    Kind kind = Kind::Open;
    std::string detail;
};

class EntityRegister;
using RegisterResult = std::variant<EntityRegister, RegisterError>;

class EntityRegister {
public:
    static constexpr std::uint32_t kCodes = 10000;

    // Fields by name in any letter case: BANCO and NOMBRE are required, ESTADO, SUCESORA, BIC
    // and RAZONSOC are read when present; every one of them must be a character field, BANCO
    // four characters wide.
    // Records are read in table order, deleted ones too, as the dialog reads them. A record
    // whose code is not four digits can never be found and is left out; of duplicate codes
    // the first counts.
    static RegisterResult fromTable(const DbfImage& table);
    // Reads and parses the file (a runtime path) and then the table.
    static RegisterResult load(const std::string& fileName);

    // The entity of a code, or nullptr.
    const Entity* find(std::uint32_t code) const {
        return code < kCodes && index_[code] >= 0 ? &entities_[std::size_t(index_[code])] : nullptr;
    }
    // Exactly four digits, or nullptr.
    const Entity* find(std::string_view code) const;

    // The codes that took an entity over, one after the other, up to one without successor.
    // The chain stops at a code the register lacks (which it includes) and before a code
    // that would repeat.
    std::vector<std::uint32_t> successors(const Entity& entity) const;

    // The table's date of last update.
    const RegisterDate& date() const { return date_; }
    // Every entity that a lookup can find, in table order.
    const std::vector<Entity>& entities() const { return entities_; }

private:
    EntityRegister();

    std::vector<Entity> entities_;
    std::vector<std::int32_t> index_; // kCodes positions into entities_, -1 for none
    RegisterDate date_;
};

} // namespace cuentas
