#include "register/register_file.h"

#include "platform/os/files.h"
#include "platform/os/os_error.h"

namespace cuentas {

std::variant<DbfImage, RegisterError> readRegisterTable(const std::string& fileName) {
    std::optional<std::string> content = MemoRead(fileName);
    if (!content) {
        return RegisterError{RegisterError::Kind::Open, osErrorText(FError())};
    }
    DbfResult<DbfImage> parsed = DbfImage::parse(std::move(*content));
    if (!parsed.ok()) {
        return RegisterError{RegisterError::Kind::Damaged, parsed.error()};
    }
    return std::move(parsed.value());
}

} // namespace cuentas
