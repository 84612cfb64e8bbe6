#include "dialog/transfer_file.h"

#include "platform/os/os_error.h"
#include "platform/os/paths.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

TEST(TransferFile, TwoLinesWithNothingAfterTheAccount) {
    EXPECT_EQ(transferFileContent("Inexistente", "1234", "5678", "06", "1234567890"),
              "BANCO=Inexistente\r\n20DIGITOS=12345678061234567890");
    EXPECT_EQ(transferFileContent("", "0000", "0000", "00", "0000000000"),
              "BANCO=\r\n20DIGITOS=00000000000000000000");
    EXPECT_EQ(transferFileContent("CAJA ESPA\xD1OLA", "0049", "0001", "53", "0000000077"),
              "BANCO=CAJA ESPA\xD1OLA\r\n20DIGITOS=00490001530000000077");
}

TEST(TransferFile, LiesInTheTmpFolderUnderTheBaseDirectory) {
    EXPECT_EQ(transferFilePath("C:\\CUENTAS\\"), "C:\\CUENTAS\\tmp\\xtras.ini");
    // No separator is inserted: a base without its backslash runs into "tmp".
    EXPECT_EQ(transferFilePath("C:\\PROGR"), "C:\\PROGRtmp\\xtras.ini");
}

TEST(TransferFile, FailureMessagesNameTheFileAndTheReasonInSpanish) {
    struct Case {
        std::uint32_t osError;
        const char* reason;
    };
    const Case cases[] = {
        {oserror::kPathNotFound, "No existe la carpeta de destino."},
        {oserror::kFileNotFound, "No existe la carpeta de destino."},
        {oserror::kAccessDenied, "No hay permiso para escribir en la carpeta de destino."},
        {oserror::kDiskFull, "El disco est\xE1 lleno."},
        {oserror::kSharingViolation, "El fichero est\xE1 en uso por otro programa."},
        {oserror::kLockViolation, "El fichero est\xE1 en uso por otro programa."},
        {oserror::kNameTooLong, "La ruta del fichero es demasiado larga."},
        {oserror::kTooManyOpenFiles, "Hay demasiados ficheros abiertos."},
        {oserror::kNotEnoughMemory, "No hay memoria suficiente."},
        {oserror::kGeneralFailure, "Error del sistema n\xBA 31."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(transferFailureMessage("\\srv\\cuentas\\tmp\\xtras.ini", c.osError),
                  "No se ha podido grabar el fichero\n" +
                      nativePath("\\srv\\cuentas\\tmp\\xtras.ini") + "\n\n" + c.reason +
                      "\n\nCorrija la causa y pulse \"Grabar\" de nuevo, o pulse \"Cancelar\" "
                      "para salir sin grabar.")
            << c.osError;
    }
    // Where the file layer knows the real cause, the message says it, whatever the number.
    const struct {
        std::uint32_t osError;
        OsCause cause;
        const char* reason;
    } causes[] = {
        {oserror::kAccessDenied, OsCause::Folder, "Ya hay una carpeta con el nombre del fichero."},
        {oserror::kPathNotFound, OsCause::NotFolder,
         "Una parte de la ruta es un fichero y no una carpeta."},
        {oserror::kGeneralFailure, OsCause::LinkLoop,
         "La ruta tiene demasiados niveles de enlaces simb\xF3licos."},
        {oserror::kAccessDenied, OsCause::ReadOnly,
         "La carpeta de destino est\xE1 en un disco de solo lectura."},
        {oserror::kAccessDenied, OsCause::Unknown,
         "No hay permiso para escribir en la carpeta de destino."},
    };
    for (const auto& c : causes) {
        std::string message = transferFailureMessage("\\tmp\\xtras.ini", c.osError, c.cause);
        EXPECT_EQ(message.substr(0, message.find("\n\nCorrija")),
                  "No se ha podido grabar el fichero\n" + nativePath("\\tmp\\xtras.ini") + "\n\n" +
                      c.reason);
    }
}

} // namespace
} // namespace cuentas
