#include "logfile/file_path.h"

#include "platform/runtime/text.h"

namespace cuentas {

std::string FILEPATH(std::string_view path) {
    std::uint32_t slash = RAt("\\", path);
    return slash == 0 ? std::string(path) : Left(path, slash);
}

std::uint32_t fileNameDot(std::string_view path) {
    std::uint32_t dot = RAt(".", path);
    return dot > RAt("\\", path) ? dot : 0;
}

} // namespace cuentas
