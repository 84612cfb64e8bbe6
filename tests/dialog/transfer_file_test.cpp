#include "dialog/transfer_file.h"

#include "platform/os/os_error.h"

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
                  std::string("No se ha podido grabar el fichero\n/srv/cuentas/tmp/xtras.ini\n\n") +
                      c.reason +
                      "\n\nCorrija la causa y pulse \"Grabar\" de nuevo, o pulse \"Cancelar\" "
                      "para salir sin grabar.")
            << c.osError;
    }
}

} // namespace
} // namespace cuentas
