#include "register/entity_register.h"

#include "register/register_file.h"

#include <algorithm>

namespace cuentas {
namespace {

constexpr std::uint32_t kNoField = 0xFFFFFFFF;

std::string_view withoutTrailingBlanks(std::string_view text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view trimmed(std::string_view text) {
    text = withoutTrailingBlanks(text);
    const auto start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

// Four digits exactly, as the dialog compares codes.
std::optional<std::uint32_t> codeOf(std::string_view text) {
    if (text.size() != 4) {
        return std::nullopt;
    }
    std::uint32_t code = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        code = code * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return code;
}

EntityState stateOf(std::string_view text) {
    // Compared as field names are: ASCII letters in either case.
    text = trimmed(text);
    if (sameFieldName(text, "vigente")) {
        return EntityState::Current;
    }
    return sameFieldName(text, "baja") ? EntityState::Withdrawn : EntityState::Unknown;
}

// Positions of the register's fields in the table; optional ones may be missing.
struct FieldPlaces {
    std::uint32_t code = kNoField;
    std::uint32_t name = kNoField;
    std::uint32_t state = kNoField;
    std::uint32_t successor = kNoField;
    std::uint32_t bic = kNoField;
    std::uint32_t legalName = kNoField;
};

// A present field must hold text; a missing one is an error only when it is required.
std::optional<RegisterError> place(const DbfImage& table, std::string_view name, bool required,
                                   std::uint32_t& position, std::optional<std::uint32_t> width) {
    if (!required && !table.fieldIndex(name)) {
        return std::nullopt;
    }
    DbfResult<std::size_t> field = table.characterField(name, width);
    if (!field.ok()) {
        return RegisterError{RegisterError::Kind::Layout, field.error()};
    }
    position = static_cast<std::uint32_t>(field.value());
    return std::nullopt;
}

std::string_view fieldOrEmpty(const DbfImage& table, std::uint32_t record, std::uint32_t field) {
    return field == kNoField ? std::string_view() : table.fieldBytes(record, field);
}

} // namespace

std::array<char, 4> entityCodeText(std::uint32_t code) {
    return {static_cast<char>('0' + code / 1000 % 10), static_cast<char>('0' + code / 100 % 10),
            static_cast<char>('0' + code / 10 % 10), static_cast<char>('0' + code % 10)};
}

EntityRegister::EntityRegister() : index_(kCodes, -1) {}

RegisterResult EntityRegister::fromTable(const DbfImage& table) {
    FieldPlaces places;
    // Codes are four digits, compared as the dialog compares them: a BANCO of another width
    // could never answer a lookup.
    const struct {
        std::string_view name;
        std::uint32_t* position;
        bool required;
        std::optional<std::uint32_t> width;
    } wanted[] = {
        {"BANCO", &places.code, true, 4},     {"NOMBRE", &places.name, true, {}},
        {"ESTADO", &places.state, false, {}}, {"SUCESORA", &places.successor, false, {}},
        {"BIC", &places.bic, false, {}},      {"RAZONSOC", &places.legalName, false, {}},
    };
    for (const auto& field : wanted) {
        if (auto error = place(table, field.name, field.required, *field.position, field.width)) {
            return *error;
        }
    }
    EntityRegister result;
    const DbfHeader& header = table.header();
    result.date_ = {header.lastUpdateYear, header.lastUpdateMonth, header.lastUpdateDay};
    result.entities_.reserve(table.recordCount());
    for (std::uint32_t record = 0; record < table.recordCount(); ++record) {
        const std::optional<std::uint32_t> code = codeOf(table.fieldBytes(record, places.code));
        if (!code || result.index_[*code] >= 0) {
            continue; // never found by a lookup: not four digits, or a code seen before
        }
        Entity entity;
        entity.code = *code;
        entity.name = withoutTrailingBlanks(table.fieldBytes(record, places.name));
        entity.legalName = withoutTrailingBlanks(fieldOrEmpty(table, record, places.legalName));
        entity.state = stateOf(fieldOrEmpty(table, record, places.state));
        // An entity that names itself as its successor has none: nobody else took it over.
        entity.successor = codeOf(fieldOrEmpty(table, record, places.successor));
        if (entity.successor == entity.code) {
            entity.successor.reset();
        }
        entity.bic = trimmed(fieldOrEmpty(table, record, places.bic));
        result.index_[*code] = static_cast<std::int32_t>(result.entities_.size());
        result.entities_.push_back(std::move(entity));
    }
    return result;
}

RegisterResult EntityRegister::load(const std::string& fileName) {
    std::variant<DbfImage, RegisterError> table = readRegisterTable(fileName);
    if (auto* error = std::get_if<RegisterError>(&table)) {
        return std::move(*error);
    }
    return fromTable(std::get<DbfImage>(table));
}

const Entity* EntityRegister::find(std::string_view code) const {
    const std::optional<std::uint32_t> value = codeOf(code);
    return value ? find(*value) : nullptr;
}

std::vector<std::uint32_t> EntityRegister::successors(const Entity& entity) const {
    std::vector<std::uint32_t> chain;
    std::optional<std::uint32_t> next = entity.successor;
    while (next && *next != entity.code &&
           std::find(chain.begin(), chain.end(), *next) == chain.end()) {
        chain.push_back(*next);
        const Entity* successor = find(*next);
        next = successor ? successor->successor : std::nullopt;
    }
    return chain;
}

} // namespace cuentas
