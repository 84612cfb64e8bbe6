// The real executable, started as a user starts it, in a layout of its own: what reaches the
// user, the error log beside the executable and the exit code.
#include "platform/os/paths.h"
#include "tools/make_bank_table/bank_table_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace cuentas {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

struct Outcome {
    int exitCode = -1;
    std::string errorOutput;
};

class ExecutableTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("cuentas-exe-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        fs::create_directories(root / "tmp");
        fs::copy_file(CUENTAS_EXECUTABLE, root / "bin" / "cuentas");
    }
    void TearDown() override { fs::remove_all(root); }

    // Starts bin/cuentas in `root` (its working directory) with a minimal environment.
    pid_t launch(bool withDisplay, const fs::path& errorFile) {
        pid_t pid = ::fork();
        if (pid == 0) {
            if (::chdir(root.c_str()) != 0) {
                ::_exit(127);
            }
            std::FILE* err = std::freopen(errorFile.c_str(), "w", stderr);
            (void)err;
            std::string platform = "QT_QPA_PLATFORM=offscreen";
            std::string runtimeDir = "XDG_RUNTIME_DIR=" + root.string();
            std::vector<char*> env{const_cast<char*>("PATH=/usr/bin:/bin"),
                                   const_cast<char*>("LANG=es_ES.UTF-8"), runtimeDir.data()};
            if (withDisplay) {
                env.push_back(platform.data());
            }
            env.push_back(nullptr);
            std::string program = (root / "bin" / "cuentas").string();
            char* argv[] = {program.data(), nullptr};
            ::execve(program.c_str(), argv, env.data());
            ::_exit(127);
        }
        return pid;
    }

    static int waitFor(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    Outcome run(bool withDisplay = true) {
        fs::path errorFile = root / "stderr.txt";
        Outcome outcome;
        outcome.exitCode = waitFor(launch(withDisplay, errorFile));
        outcome.errorOutput = readFile(errorFile);
        return outcome;
    }

    std::string runtimeRoot() const { return runtimePath(root.string()); }

    fs::path root;
};

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the log ends in a line without CR LF";
    return lines;
}

// The line of app/start.cpp where START creates the table object, which the call stack of a
// table error names; found in the source, so that a line added above it changes nothing here.
std::string lineCreatingTheTable() {
    std::ifstream source(CUENTAS_START_SOURCE);
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        std::string lower = line;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.find("createinstance(") != std::string::npos &&
            lower.find("dbserver") != std::string::npos) {
            return std::to_string(number);
        }
    }
    ADD_FAILURE() << "no CreateInstance of the table class in " << CUENTAS_START_SOURCE;
    return "?";
}

// A date and time as the Spanish locale shows them: day, month, the year with its century, then
// the time on a 24-hour clock. The process's clock is not the test's to set, so the shape is
// checked, not the moment.
bool isSpanishDateAndTime(const std::string& line) {
    static const std::regex shape(
        R"(([0-3][0-9])/([01][0-9])/[0-9]{4} [0-2][0-9]:[0-5][0-9]:[0-5][0-9])");
    std::smatch parts;
    if (!std::regex_match(line, parts, shape)) {
        return false;
    }
    int day = std::stoi(parts[1]);
    int month = std::stoi(parts[2]);
    return day >= 1 && day <= 31 && month >= 1 && month <= 12;
}

// One error log record of the open error of NomBancos.dbf, from its banner to its closing rule.
void expectOpenErrorRecord(const std::vector<std::string>& lines, const std::string& root) {
    const std::string description = "Cannot open NomBancos.dbf in " + root + "\\: file not found";
    const std::vector<std::string> expected = {
        "***********************ERROR********************************",
        "Cuentas runtime 1.0",
        "<date and time>",
        "Application: " + root + "\\bin\\cuentas",
        " ",
        "Error message:",
        "--------------",
        "Error Code:  21 [ OPEN ERROR ]",
        "Subsystem: DBFCDX",
        "Operation: Open table",
        "Function: DBSERVER:INIT",
        "Filename: " + (root + "\\NomBancos.dbf").substr(0, 40),
        "Description: " + description,
        "CallStack: ",
        "APP:START (Line: " + lineCreatingTheTable() + ")",
        "",
        "Error Object created:",
        "--------------------",
        "SubSystem       :DBFCDX",
        "SubCode         :0",
        "GenCode         :Open error",
        "OsCode          :2",
        "ArgType         :NIL",
        "FuncPtr         :0x00000000",
        "ArgNum          :0",
        "FuncSym         :DBSERVER:INIT",
        "Severity        :2",
        "CanDefault      :.T.",
        "CanRetry        :.T.",
        "CanSubstitute   :.F.",
        "Operation       :Open table",
        "Description     :" + description,
        "FileName        :" + root + "\\NomBancos.dbf",
        "Tries           :1",
        "FileHandle      :0",
        "SubCodeText     :",
        "Arg             :",
        "ArgTypeReq      :NIL",
        "MaxSize         :0",
        "SubstituteType  :NIL",
        "CallFuncSym     :",
        "--------------------",
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (i == 2) {
            EXPECT_TRUE(isSpanishDateAndTime(lines[i])) << lines[i];
            continue;
        }
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    }
}

TEST_F(ExecutableTest, AMissingTableIsShownLoggedBesideTheExecutableAndEndsWithItsCode) {
    Outcome outcome = run();
    // No one can answer the box without a display: the answer is "give up", and the process
    // ends with the general code of the open error.
    EXPECT_EQ(outcome.exitCode, 21);
    EXPECT_NE(outcome.errorOutput.find("Error Code:  21 [ OPEN ERROR ]"), std::string::npos)
        << outcome.errorOutput;
    EXPECT_NE(outcome.errorOutput.find("Description: Cannot open NomBancos.dbf in " +
                                       runtimeRoot() + "\\: file not found"),
              std::string::npos)
        << outcome.errorOutput;
    expectOpenErrorRecord(splitLines(readFile(root / "bin" / "ERROR.LOG")), runtimeRoot());
    EXPECT_FALSE(fs::exists(root / "ERROR.LOG"));
    EXPECT_TRUE(fs::is_empty(root / "tmp")); // nothing written for the other program
}

TEST_F(ExecutableTest, RecordsOfSeveralProcessesStartedAtOnceStayWhole) {
    constexpr int kProcesses = 6;
    std::vector<pid_t> running;
    for (int i = 0; i < kProcesses; ++i) {
        running.push_back(launch(true, root / ("stderr" + std::to_string(i) + ".txt")));
    }
    for (pid_t pid : running) {
        EXPECT_EQ(waitFor(pid), 21);
    }
    // Records are separated by one empty line; each one is whole.
    std::vector<std::string> lines = splitLines(readFile(root / "bin" / "ERROR.LOG"));
    std::vector<std::vector<std::string>> records(1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool separator =
            lines[i].empty() && i + 1 < lines.size() && lines[i + 1].starts_with("*****");
        if (separator) {
            records.emplace_back();
        } else {
            records.back().push_back(lines[i]);
        }
    }
    ASSERT_EQ(records.size(), static_cast<std::size_t>(kProcesses));
    for (const auto& record : records) {
        expectOpenErrorRecord(record, runtimeRoot());
    }
}

TEST_F(ExecutableTest, ADamagedTableEndsWithTheCorruptionCode) {
    std::string table = tools::bankTableImage({{"0049", "Banco", 1}}, tools::UpdateDate{});
    table.resize(table.size() - 30); // the last record is cut
    std::ofstream(root / "NomBancos.dbf", std::ios::binary) << table;
    Outcome outcome = run();
    EXPECT_EQ(outcome.exitCode, 31);
    EXPECT_NE(outcome.errorOutput.find("Description: NomBancos.dbf: "), std::string::npos)
        << outcome.errorOutput;
    EXPECT_NE(readFile(root / "bin" / "ERROR.LOG").find("GenCode         :Corruption detected"),
              std::string::npos);
}

TEST_F(ExecutableTest, WithoutADisplayItSaysHowToRunUnderXvfb) {
    Outcome outcome = run(false);
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.errorOutput.find("needs a graphical display"), std::string::npos)
        << outcome.errorOutput;
    EXPECT_NE(outcome.errorOutput.find("xvfb-run -a"), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "bin" / "ERROR.LOG"));
}

} // namespace
} // namespace cuentas
