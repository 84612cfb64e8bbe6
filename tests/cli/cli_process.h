#pragma once
// Runs the real cuentas-cli as a user does: arguments, an environment of its own, bytes on
// standard input, and what it writes to standard output and error, with its exit status.

#include "platform/os/paths.h"
#include "register/entity_register.h"
#include "tests/register/register_layout.h"
#include "tests/support/child_process.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace cuentas::testing {

struct CliOutcome {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

inline std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// A register in the layout of the bundled table, with current, absorbed (directly and through
// a chain) and withdrawn entities.
inline DbfBuilder sampleRegister() {
    return registerLayout()
        .record({"2100", "CaixaBank", "vigente", "", "CAIXESBBXXX", "CaixaBank, S.A."})
        .record({"0049", "Banco Santander", "vigente", "", "BSCHESMMXXX", "Banco Santander, S.A."})
        .record({"0030", "Banesto (absorbida por Banco Santander)", "baja", "0049", "",
                 "Banco Espa\xF1ol de Cr\xE9"
                 "dito, S.A."})
        .record({"2038", "Bankia (absorbida por CaixaBank)", "baja", "2100", "", "Bankia, S.A."})
        .record(
            {"0487", "BMN (absorbida por Bankia)", "baja", "2038", "", "Banco Mare Nostrum, S.A."})
        .record({"1234", "Entidad Cerrada", "baja", "", "", "Entidad Cerrada, S.A."});
}

class CliTest : public ::testing::Test {
public:
    void SetUp() override {
        folder = std::make_unique<TemporaryFolder>("cuentas-cli");
        directory = folder->path();
        registerFile = (directory / "NomBancos.dbf").string();
        std::ofstream(registerFile, std::ios::binary) << sampleRegister().build();
    }
    void TearDown() override { folder.reset(); }

    // Runs with the sample register (unless the arguments name another) and LANG as given.
    // `inputFile`, `outputFile` and `errorFile`, when given, stand in for the input text and
    // the captured standard output and error (a directory to read, a full device to write).
    CliOutcome run(std::vector<std::string> arguments, const std::string& input = {},
                   std::vector<std::string> environment = {"LANG=en_US.UTF-8"},
                   const std::string& inputFile = {}, const std::string& outputFile = {},
                   const std::string& errorFile = {}) const {
        const std::filesystem::path in =
            inputFile.empty() ? directory / "stdin" : std::filesystem::path(inputFile);
        const std::filesystem::path out =
            outputFile.empty() ? directory / "stdout" : std::filesystem::path(outputFile);
        const std::filesystem::path err =
            errorFile.empty() ? directory / "stderr" : std::filesystem::path(errorFile);
        if (inputFile.empty()) {
            std::ofstream(in, std::ios::binary) << input;
        }
        if (withSampleRegister) {
            arguments.insert(arguments.begin(), {"--table", registerFile});
        }
        ChildStreams streams{in.string(), out.string(), err.string()};
        ChildProcess cli(executable, arguments, environment, streams);
        const std::optional<int> status = cli.wait();
        return {status.value_or(-1), outputFile.empty() ? readWhole(out) : std::string(),
                errorFile.empty() ? readWhole(err) : std::string()};
    }

    std::unique_ptr<TemporaryFolder> folder;
    std::filesystem::path directory;
    std::string registerFile;
    bool withSampleRegister = true; // false: the built-in default register
    std::string executable = CUENTAS_CLI;
};

} // namespace cuentas::testing
