#include "dialog/transfer_file.h"

#include "platform/os/files.h"
#include "platform/os/os_error.h"
#include "platform/os/paths.h"

namespace cuentas {
namespace {

// Reasons in Windows-1252: the real cause where the file layer knows it, otherwise one per
// error it reports for a whole-file write.
std::string reasonFor(std::uint32_t osError, OsCause cause) {
    switch (cause) {
    case OsCause::Folder:
        return "Ya hay una carpeta con el nombre del fichero.";
    case OsCause::NotFolder:
        return "Una parte de la ruta es un fichero y no una carpeta.";
    case OsCause::LinkLoop:
        return "La ruta tiene demasiados niveles de enlaces simb\xF3licos.";
    case OsCause::ReadOnly:
        return "La carpeta de destino est\xE1 en un disco de solo lectura.";
    default:
        break;
    }
    switch (osError) {
    case oserror::kFileNotFound:
    case oserror::kPathNotFound:
        return "No existe la carpeta de destino.";
    case oserror::kAccessDenied:
        return "No hay permiso para escribir en la carpeta de destino.";
    case oserror::kDiskFull:
        return "El disco est\xE1 lleno.";
    case oserror::kSharingViolation:
    case oserror::kLockViolation:
        return "El fichero est\xE1 en uso por otro programa.";
    case oserror::kNameTooLong:
        return "La ruta del fichero es demasiado larga.";
    case oserror::kTooManyOpenFiles:
        return "Hay demasiados ficheros abiertos.";
    case oserror::kNotEnoughMemory:
        return "No hay memoria suficiente.";
    default:
        return "Error del sistema n\xBA " + std::to_string(osError) + ".";
    }
}

} // namespace

std::string transferFilePath(std::string_view baseDirectory) {
    return std::string(baseDirectory) + "tmp\\xtras.ini";
}

std::string transferFileContent(std::string_view bankName, std::string_view bank,
                                std::string_view branch, std::string_view digits,
                                std::string_view account) {
    std::string content = "BANCO=";
    content += bankName;
    content += "\r\n20DIGITOS=";
    content += bank;
    content += branch;
    content += digits;
    content += account;
    return content;
}

bool writeTransferFile(const std::string& path, std::string_view content) {
    return MemoWrit(path, content);
}

std::string transferFailureMessage(const std::string& path, std::uint32_t osError, OsCause cause) {
    return "No se ha podido grabar el fichero\n" + nativePath(path) + "\n\n" +
           reasonFor(osError, cause) +
           "\n\nCorrija la causa y pulse \"Grabar\" de nuevo, o pulse \"Cancelar\" para salir "
           "sin grabar.";
}

} // namespace cuentas
