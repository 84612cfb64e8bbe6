// The converting commands, the command line's mistakes and the register's faults, as users
// meet them: standard output, standard error and the exit status, byte for byte.
#include "tests/cli/cli_process.h"

namespace cuentas::testing {
namespace {

class Commands : public CliTest {};

TEST_F(Commands, EachCommandPrintsItsResultOneALine) {
    struct Case {
        std::vector<std::string> arguments;
        const char* out;
    };
    const Case cases[] = {
        {{"digits", "2100", "0418", "0200051332"}, "45\n"},
        {{"digits", "49", "1", "77"}, "53\n"}, // zero-filled as the dialog does
        {{"digits", "21000418??0200051332", "2100 0418 99 0200051332"}, "45\n45\n"},
        {{"iban", "21000418450200051332", "es91 2100 0418 4502 0005 1332"},
         "ES9121000418450200051332\nES9121000418450200051332\n"},
        {{"ccc", "ES91 2100 0418 4502 0005 1332", "2100-0418-45-0200051332"},
         "21000418450200051332\n21000418450200051332\n"},
        {{"format", "ES9121000418450200051332", "21000418450200051332"},
         "ES91 2100 0418 4502 0005 1332\n2100 0418 45 0200051332\n"},
        {{"format", "2100 04?8 45 0200051332"}, "2100 0418 45 0200051332\n"},
        {{"bank", "2100", "49", "0030", "04870000100000000000", "1234"},
         "2100 CaixaBank, S.A.: current, BIC CAIXESBBXXX\n"
         "0049 Banco Santander, S.A.: current, BIC BSCHESMMXXX\n"
         "0030 Banco Espa\xC3\xB1ol de Cr\xC3\xA9"
         "dito, S.A.: absorbed by 0049 Banco "
         "Santander, S.A.\n"
         "0487 Banco Mare Nostrum, S.A.: absorbed by 2038 Bankia, S.A., today 2100 CaixaBank, "
         "S.A.\n"
         "1234 Entidad Cerrada, S.A.: no longer active\n"},
    };
    for (const Case& c : cases) {
        const CliOutcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.out, c.out) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(outcome.err, "") << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(outcome.exitStatus, 0) << ::testing::PrintToString(c.arguments);
    }
}

TEST_F(Commands, AnEntityNamedAsItsOwnSuccessorIsNoLongerActive) {
    // A table of the user's own may say so; the register's tool refuses it.
    std::ofstream(registerFile, std::ios::binary)
        << sampleRegister()
               .record({"0007", "Entidad Propia", "baja", "0007", "", "Entidad Propia, S.A."})
               .build();
    const CliOutcome outcome = run({"bank", "0007", "2100"});
    EXPECT_EQ(outcome.out, "0007 Entidad Propia, S.A.: no longer active\n"
                           "2100 CaixaBank, S.A.: current, BIC CAIXESBBXXX\n");
    EXPECT_EQ(outcome.exitStatus, 0);
    const CliOutcome check = run({"check", "00070000750000000001"});
    EXPECT_EQ(check.out, "00070000750000000001: valid (Entidad Propia, S.A.); warning: entity 0007 "
                         "Entidad Propia, S.A. is no longer active\n");
}

TEST_F(Commands, AFailingNumberLeavesItsLineEmptyAndSaysWhyOnStandardError) {
    struct Case {
        std::vector<std::string> arguments;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {{"iban", "2100 0418 46 0200051332", "21000418450200051332"},
         "\nES9121000418450200051332\n",
         "cuentas-cli: 2100 0418 46 0200051332: the second control digit (over the account) is "
         "6, it should be 5\n"},
        {{"ccc", "ES90 2100 0418 4502 0005 1332"},
         "\n",
         "cuentas-cli: ES90 2100 0418 4502 0005 1332: the IBAN check digits are 90, they "
         "should be 91\n"},
        {{"digits", "2100", "04x8", "0200051332"},
         "\n",
         "cuentas-cli: 2100 04x8 0200051332: character 'x' at position 3 of the branch code is "
         "not a digit\n"},
        {{"digits", "21000", "0418", "0200051332"},
         "\n",
         "cuentas-cli: 21000 0418 0200051332: the bank code has 5 digits, at most 4 fit\n"},
        {{"bank", "9999"}, "\n", "cuentas-cli: 9999: entity 9999 is not in the register\n"},
        {{"format", "2100 04?? 45 0200051332"},
         "\n",
         "cuentas-cli: 2100 04?? 45 0200051332: 9 numbers fit the unreadable digits; the check "
         "digits cannot tell which\n"},
    };
    for (const Case& c : cases) {
        const CliOutcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.out, c.out) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(outcome.err, c.err) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(outcome.exitStatus, 1) << ::testing::PrintToString(c.arguments);
    }
}

TEST_F(Commands, AWarningGoesToStandardErrorBesideTheResult) {
    const CliOutcome absorbed = run({"iban", "00300000700000000000"});
    EXPECT_EQ(absorbed.out, "ES3600300000700000000000\n");
    EXPECT_EQ(absorbed.err, "cuentas-cli: 00300000700000000000: warning: entity 0030 Banco "
                            "Espa\xC3\xB1ol de Cr\xC3\xA9"
                            "dito, S.A. was absorbed by 0049 Banco "
                            "Santander, S.A.\n");
    EXPECT_EQ(absorbed.exitStatus, 0);
    const CliOutcome unknown = run({"--strict", "iban", "99990000100000000000"});
    EXPECT_EQ(unknown.out, "\n");
    EXPECT_EQ(unknown.err,
              "cuentas-cli: 99990000100000000000: entity 9999 is not in the register\n");
    EXPECT_EQ(unknown.exitStatus, 1);
}

TEST_F(Commands, UsageMistakesExitTwoWithAHint) {
    struct Case {
        std::vector<std::string> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"chek", "21000418450200051332"}, "unknown command 'chek'"},
        {{"check", "--frob"}, "unknown option '--frob'"},
        {{"check", "--strict=yes"}, "unknown option '--strict=yes'"},
        {{"check", "--column"}, "option '--column' needs a value"},
        {{"check", "--column", "2"}, "option '--column' goes with --csv"},
        {{"check", "--separator", ";"}, "option '--separator' goes with --csv"},
        {{"check", "--csv", "--column", "0"},
         "--column wants a header name or a position from 1, not '0'"},
        {{"check", "--csv", "--separator", "::"},
         "--separator wants one character or 'tab', not '::'"},
    };
    for (const Case& c : cases) {
        const CliOutcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.err, "cuentas-cli: " + std::string(c.message) +
                                   "\nTry 'cuentas-cli --help' for more information.\n")
            << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.exitStatus, 2);
    }
}

TEST_F(Commands, ARegisterThatCannotBeReadExitsThreeSayingWhy) {
    const std::string missing = (directory / "nada.dbf").string();
    const std::string damaged = (directory / "cut.dbf").string();
    std::ofstream(damaged, std::ios::binary) << sampleRegister().build().substr(0, 100);
    const std::string layout = (directory / "layout.dbf").string();
    std::ofstream(layout, std::ios::binary)
        << DbfBuilder().field("BANCO", 'C', 4).field("NOMBRE", 'N', 4).build();
    const std::string wide = (directory / "ancho.dbf").string();
    std::ofstream(wide, std::ios::binary) << DbfBuilder()
                                                 .field("BANCO", 'C', 6)
                                                 .field("NOMBRE", 'C', 40)
                                                 .record({"002100", "CaixaBank"})
                                                 .build();
#ifndef _WIN32 // a backslash in a folder's name, where it is no separator
    // A folder whose name holds a backslash, beside the folders that name reads as.
    std::filesystem::create_directories(directory / "a\\b");
    std::filesystem::create_directories(directory / "a" / "b");
    std::ofstream(directory / "a\\b" / "t.dbf", std::ios::binary) << sampleRegister().build();
    std::ofstream(directory / "a" / "b" / "t.dbf", std::ios::binary) << sampleRegister().build();
    const std::string backslashed = (directory / "a\\b" / "t.dbf").string();
#endif
    struct Case {
        std::string table;
        std::string message;
    };
    const Case cases[] = {
        {wide, "the register " + wide + " cannot be used: field BANCO is of width 6, not 4"},
#ifndef _WIN32
        {backslashed, "cannot open the register " + backslashed + ": the folder " +
                          (directory / "a\\b").string() +
                          " has a backslash in its name, which this program takes for a "
                          "separator between folders"},
#endif
        {missing, "cannot open the register " + missing + ": file not found"},
        {damaged,
         "the register " + damaged + " is damaged: file ends inside the field list (100 bytes)"},
        {layout,
         "the register " + layout + " cannot be used: field NOMBRE is of type N, not character"},
    };
    for (const Case& c : cases) {
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"check", "21000418450200051332"},
              std::vector<std::string>{"--version"}}) {
            std::vector<std::string> arguments = command;
            arguments.insert(arguments.begin(), {"--table", c.table});
            const CliOutcome outcome = run(arguments);
            EXPECT_EQ(outcome.err, "cuentas-cli: " + c.message + "\n") << c.table;
            EXPECT_EQ(outcome.out, "");
            EXPECT_EQ(outcome.exitStatus, 3);
        }
    }
    // The control digits need no register.
    const CliOutcome digits = run({"--table", missing, "digits", "2100", "0418", "0200051332"});
    EXPECT_EQ(digits.out, "45\n");
    EXPECT_EQ(digits.exitStatus, 0);
}

#ifndef _WIN32 // a folder as standard input, a device that is always full
TEST_F(Commands, AnInputOrOutputThatFailsExitsThree) {
    const CliOutcome unreadable = run({"check"}, {}, {"LANG=C"}, directory.string());
    EXPECT_EQ(unreadable.err, "cuentas-cli: the standard input is a directory\n");
    EXPECT_EQ(unreadable.exitStatus, 3);
    const CliOutcome full = run({"iban", "21000418450200051332"}, {}, {"LANG=C"}, {}, "/dev/full");
    EXPECT_EQ(full.err, "cuentas-cli: cannot write the standard output: disk full\n");
    EXPECT_EQ(full.exitStatus, 3);
    // Messages that cannot be told end the run as in a batch, from arguments or input.
    const CliOutcome untold = run({"iban", "1"}, {}, {"LANG=C"}, {}, {}, "/dev/full");
    EXPECT_EQ(untold.exitStatus, 3);
    const CliOutcome untoldBatch = run({"iban"}, "1\n", {"LANG=C"}, {}, {}, "/dev/full");
    EXPECT_EQ(untoldBatch.exitStatus, 3);
}
#endif

TEST_F(Commands, DigitsOfPartsAreComputedNotRecovered) {
    const CliOutcome outcome = run({"digits", "--json", "49", "1", "1"});
    EXPECT_EQ(outcome.out, "{\"status\":\"valid\",\"valid\":true,\"input\":\"49 1 1\",\"compact\":"
                           "\"00490001550000000001\",\"iban\":\"ES8400490001550000000001\",\"ccc\":"
                           "\"00490001550000000001\",\"control_digits\":\"55\",\"bank\":\"0049\","
                           "\"message\":\"valid\"}\n");
    EXPECT_EQ(outcome.exitStatus, 0);
}

TEST_F(Commands, VersionNamesTheRegisterAndItsDate) {
    const CliOutcome english = run({"--version"});
    EXPECT_EQ(english.out,
              "cuentas-cli 1.0\nregister: " + registerFile + ", dated 2024-05-17, 6 entities\n");
    const CliOutcome spanish = run({"-V"}, {}, {"LANG=es_ES.UTF-8"});
    EXPECT_EQ(spanish.out, "cuentas-cli 1.0\nregistro: " + registerFile +
                               ", con fecha 17/05/2024, 6 entidades\n");
    EXPECT_EQ(spanish.exitStatus, 0);
}

TEST_F(Commands, HelpNamesTheDefaultRegisterAndTheDefaultIsRead) {
    const CliOutcome help = run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("Usage: cuentas-cli COMMAND [OPTION]... [NUMBER]...\n", 0), 0u);
    EXPECT_NE(help.out.find("instead of\n                      " CUENTAS_DEFAULT_REGISTER "\n"),
              std::string::npos);
    const CliOutcome ayuda = run({"-h"}, {}, {"LANG=es_ES.UTF-8"});
    EXPECT_EQ(ayuda.out.rfind("Uso: cuentas-cli ORDEN [OPCI\xC3\x93N]... [N\xC3\x9AMERO]...\n", 0),
              0u);
    withSampleRegister = false;
    const CliOutcome version = run({"--version"});
    EXPECT_NE(version.out.find("register: " CUENTAS_DEFAULT_REGISTER ", dated "),
              std::string::npos);
}

TEST_F(Commands, AnInstalledToolNamesAndReadsTheInstalledRegister) {
    // A copy outside the build tree stands for the installed /usr/bin/cuentas-cli, or for
    // bin\cuentas-cli.exe in the installation folder on Windows, whose register lies beside
    // the program's folder.
    std::filesystem::create_directories(directory / "bin");
    executable = (directory / "bin" / std::filesystem::path(CUENTAS_CLI).filename()).string();
    std::filesystem::copy_file(CUENTAS_CLI, executable);
    withSampleRegister = false;
    const std::string installed = CUENTAS_INSTALLED_REGISTER;
    const std::string expected =
        installed.starts_with("..\\") ? (directory / installed.substr(3)).string() : installed;
    const CliOutcome help = run({"--help"});
    EXPECT_NE(help.out.find("instead of\n                      " + expected + "\n"),
              std::string::npos)
        << help.out;
    const CliOutcome version = run({"--version"});
    EXPECT_NE((version.out + version.err).find(expected), std::string::npos)
        << version.out << version.err;
}

} // namespace
} // namespace cuentas::testing
