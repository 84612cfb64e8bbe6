// The real executable, started as a user starts it, in a layout of its own: what reaches the
// user, the error log beside the executable and the exit code.
#include "platform/os/paths.h"
#include "tests/platform/table/dbf_builder.h"
#include "tools/make_bank_table/bank_table_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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
        program = root / "bin" / "cuentas";
        workingDirectory = root;
    }
    void TearDown() override { fs::remove_all(root); }

    // Starts `program` in `workingDirectory` (bin/cuentas in `root` unless a test moves them)
    // with a minimal environment, Qt's offscreen platform when `withDisplay`, and `extra`
    // variables and arguments.
    pid_t launch(bool withDisplay, const fs::path& errorFile,
                 std::vector<std::string> extraEnvironment = {},
                 std::vector<std::string> arguments = {}) {
        pid_t pid = ::fork();
        if (pid == 0) {
            if (::chdir(workingDirectory.c_str()) != 0) {
                ::_exit(127);
            }
            std::FILE* err = std::freopen(errorFile.c_str(), "w", stderr);
            (void)err;
            std::vector<std::string> variables{"PATH=/usr/bin:/bin", "LANG=es_ES.UTF-8",
                                               "XDG_RUNTIME_DIR=" + root.string()};
            if (withDisplay) {
                variables.push_back("QT_QPA_PLATFORM=offscreen");
            }
            variables.insert(variables.end(), extraEnvironment.begin(), extraEnvironment.end());
            std::vector<char*> env;
            for (std::string& v : variables) {
                env.push_back(v.data());
            }
            env.push_back(nullptr);
            std::string path = program.string();
            std::vector<char*> argv{path.data()};
            for (std::string& a : arguments) {
                argv.push_back(a.data());
            }
            argv.push_back(nullptr);
            ::execve(path.c_str(), argv.data(), env.data());
            ::_exit(127);
        }
        return pid;
    }

    // The exit code, or -1 for a process ended by a signal. A process still running after
    // a generous ten seconds (it should end within one) is killed and counts as -2.
    static int waitFor(pid_t pid) {
        int status = 0;
        for (int tenths = 0; tenths < 100; ++tenths) {
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(100000);
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return -2;
    }

    Outcome run(bool withDisplay = true, std::vector<std::string> extraEnvironment = {},
                std::vector<std::string> arguments = {}) {
        fs::path errorFile = root / "stderr.txt";
        Outcome outcome;
        outcome.exitCode = waitFor(
            launch(withDisplay, errorFile, std::move(extraEnvironment), std::move(arguments)));
        outcome.errorOutput = readFile(errorFile);
        return outcome;
    }

    std::string runtimeRoot() const { return runtimePath(root.string()); }

    fs::path root;
    fs::path program;
    fs::path workingDirectory;
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

// The line of app/start.cpp where START loads the bank table, which the call stack of a table
// error names; found in the source, so that a line added above it changes nothing here.
std::string lineLoadingTheTable() {
    std::ifstream source(CUENTAS_START_SOURCE);
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        std::string lower = line;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.find("loadbankdirectory") != std::string::npos) {
            return std::to_string(number);
        }
    }
    ADD_FAILURE() << "no loadBankDirectory call in " << CUENTAS_START_SOURCE;
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
        "APP:START (Line: " + lineLoadingTheTable() + ")",
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
    std::string table =
        tools::bankTableImage({{"0049", "Banco", "vigente", "", "", "Banco"}}, tools::UpdateDate{});
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

// Tables a user or an attacker might leave as NomBancos.dbf: each ends the program at once
// with the message and the exit code of its error, never a hang, an endless read or a crash.
struct HostileTable {
    const char* name;
    std::function<void(const fs::path& table)> place;
    int exitCode;
    std::string description; // after the working directory, where it is named
};

std::vector<HostileTable> hostileTables() {
    using testing::DbfBuilder;
    auto image = [](const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    };
    return {
        {"named pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, 21,
         ": a named pipe where a file was expected"},
        {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }, 21,
         ": a device where a file was expected"},
        {"folder", [](const fs::path& p) { fs::create_directory(p); }, 21,
         ": a folder where a file was expected"},
        {"loop of links",
         [](const fs::path& p) {
             fs::create_symlink("Otra.dbf", p);
             fs::create_symlink("NomBancos.dbf", p.parent_path() / "Otra.dbf");
         },
         21, ": too many levels of symbolic links"},
        {"a count that fills 3 GiB",
         [image](const fs::path& p) {
             image(p, testing::bankTable().recordCount(72000000).build());
         },
         12,
         "NomBancos.dbf: 72000000 records of 45 bytes need 3240000000 bytes, more than the "
         "1073741824 bytes a table may hold"},
        {"memo NOMBRE",
         [image](const fs::path& p) {
             image(p, DbfBuilder()
                          .field("BANCO", 'C', 4)
                          .field("NOMBRE", 'M', 10)
                          .record({"0049", "         1"})
                          .build());
         },
         29, "NomBancos.dbf: field NOMBRE is of type M, not character"},
        {"numeric BANCO",
         [image](const fs::path& p) {
             image(p, DbfBuilder()
                          .field("BANCO", 'N', 4)
                          .field("NOMBRE", 'C', 40)
                          .record({"  49", "Banco Santander"})
                          .build());
         },
         29, "NomBancos.dbf: field BANCO is of type N, not character"},
        {"BANCO five characters wide",
         [image](const fs::path& p) {
             image(p, DbfBuilder()
                          .field("BANCO", 'C', 5)
                          .field("NOMBRE", 'C', 40)
                          .record({"00049", "Banco Santander"})
                          .build());
         },
         29, "NomBancos.dbf: field BANCO is of width 5, not 4"},
        {"header length a field short",
         [image](const fs::path& p) { image(p, testing::bankTable().headerLength(64).build()); },
         31,
         "NomBancos.dbf: header length 64 is too small for its field list, which takes 97 bytes "
         "(2 fields and the end mark)"},
    };
}

TEST_F(ExecutableTest, EachHostileTableEndsTheProgramAtOnceWithItsMessageAndCode) {
    for (const HostileTable& hostile : hostileTables()) {
        SCOPED_TRACE(hostile.name);
        fs::remove_all(root / "NomBancos.dbf");
        fs::remove(root / "Otra.dbf");
        fs::remove(root / "bin" / "ERROR.LOG");
        hostile.place(root / "NomBancos.dbf");
        Outcome outcome = run();
        EXPECT_EQ(outcome.exitCode, hostile.exitCode) << outcome.errorOutput;
        std::string description =
            hostile.exitCode == 21
                ? "Cannot open NomBancos.dbf in " + runtimeRoot() + "\\" + hostile.description
                : hostile.description;
        EXPECT_NE(outcome.errorOutput.find("Description: " + description), std::string::npos)
            << outcome.errorOutput;
        EXPECT_NE(readFile(root / "bin" / "ERROR.LOG").find("Description     :" + description),
                  std::string::npos);
        EXPECT_TRUE(fs::is_empty(root / "tmp"));
    }
}

TEST_F(ExecutableTest, AValidTablePaddedToThreeGibibytesStartsAsUsual) {
    std::ofstream(root / "NomBancos.dbf", std::ios::binary) << tools::bankTableImage(
        {{"0049", "Banco Santander", "vigente", "", "", "Banco Santander"}}, tools::UpdateDate{});
    fs::resize_file(root / "NomBancos.dbf", std::uint64_t{3} << 30); // sparse
    Outcome outcome = run(true, {}, {"--exit-when-shown"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.errorOutput;
    EXPECT_FALSE(fs::exists(root / "bin" / "ERROR.LOG"));
}

TEST_F(ExecutableTest, AnErrorLogThatIsAPipeIsSkippedAndSaidSo) {
    ASSERT_EQ(::mkfifo((root / "bin" / "ERROR.LOG").c_str(), 0600), 0);
    Outcome outcome = run(); // and the table is missing
    EXPECT_EQ(outcome.exitCode, 21);
    EXPECT_NE(outcome.errorOutput.find("Error Code:  21 [ OPEN ERROR ]"), std::string::npos)
        << outcome.errorOutput;
    EXPECT_NE(outcome.errorOutput.find("cuentas: the error was not logged in " +
                                       (root / "bin" / "ERROR.LOG").string() +
                                       ": a named pipe where a file was expected\n"),
              std::string::npos)
        << outcome.errorOutput;
}

TEST_F(ExecutableTest, ADisplayThatDoesNotAnswerEndsCleanlyNamingIt) {
    // A display number no X server on this machine serves: only a local socket is tried.
    Outcome outcome = run(false, {"DISPLAY=:4711"});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.errorOutput.substr(0, outcome.errorOutput.find('\n')),
              "cuentas: the graphical display \":4711\" (DISPLAY) does not answer.");
    EXPECT_NE(outcome.errorOutput.find("xvfb-run -a"), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "bin" / "ERROR.LOG"));
}

// Every file below `folder` with its content (its size, for the program itself), to see
// that nothing was written there.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) {
            files[entry.path().string()] = "a folder";
        } else if (entry.file_size() > 65536) {
            files[entry.path().string()] = std::to_string(entry.file_size()) + " bytes";
        } else {
            files[entry.path().string()] = readFile(entry.path());
        }
    }
    return files;
}

// Inside the program a backslash separates folders, so a\b would be taken for a/b: the
// program refuses to start there, and never touches the folders that name reads as.
TEST_F(ExecutableTest, AFolderWithABackslashInItsNameIsRefusedAndItsLookAlikeLeftAlone) {
    const fs::path backslashed = root / "a\\b";
    const fs::path lookAlike = root / "a" / "b";
    // The toolkit's own warning about a runtime directory open to others would come first.
    fs::permissions(root, fs::perms::owner_all);
    const std::string table = tools::bankTableImage(
        {{"0049", "Banco Santander", "vigente", "", "", "Banco Santander"}}, tools::UpdateDate{});
    for (const fs::path& base : {backslashed, lookAlike}) {
        fs::create_directories(base / "bin");
        fs::create_directories(base / "tmp");
        fs::copy_file(CUENTAS_EXECUTABLE, base / "bin" / "cuentas");
        // Read there, the damaged table would be logged there.
        std::ofstream(base / "NomBancos.dbf", std::ios::binary)
            << (base == lookAlike ? table.substr(0, 100) : table);
    }
    const std::string fault = "the folder " + backslashed.string() +
                              " has a backslash in its name, which this program takes for a "
                              "separator between folders.\n";
    const struct {
        const char* name;
        fs::path program;
        fs::path workingDirectory;
        std::string message;
    } cases[] = {
        {"the program's folder", backslashed / "bin" / "cuentas", backslashed,
         "cuentas: cannot run from " + (backslashed / "bin" / "cuentas").string() + ": " + fault},
        {"the working directory", root / "bin" / "cuentas", backslashed,
         "cuentas: cannot run in the working directory " + backslashed.string() + ": " + fault},
    };
    const std::map<std::string, std::string> untouched = filesBelow(root / "a");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        program = c.program;
        workingDirectory = c.workingDirectory;
        Outcome outcome = run(true, {}, {"--exit-when-shown"});
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.errorOutput, c.message);
        EXPECT_EQ(filesBelow(root / "a"), untouched);
        EXPECT_TRUE(fs::is_empty(backslashed / "tmp"));
        EXPECT_FALSE(fs::exists(backslashed / "bin" / "ERROR.LOG"));
        EXPECT_FALSE(fs::exists(root / "bin" / "ERROR.LOG"));
    }
}

// Listens where the X server of a free display number would, takes connections and never
// says a word, as a stopped server or a stalled forwarded display does. The socket is in the
// abstract namespace, which the X library tries first and which leaves no file behind.
class SilentDisplay {
public:
    SilentDisplay() : socket_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        for (int number = 4800; number < 5000 && socket_ >= 0; ++number) {
            const std::string name = "/tmp/.X11-unix/X" + std::to_string(number);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::copy(name.begin(), name.end(), address.sun_path + 1); // sun_path[0] stays 0
            const auto length =
                static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
            if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                ::listen(socket_, 8) == 0) {
                name_ = ":" + std::to_string(number);
                return;
            }
        }
    }
    ~SilentDisplay() {
        if (socket_ >= 0) {
            ::close(socket_);
        }
    }
    SilentDisplay(const SilentDisplay&) = delete;
    SilentDisplay& operator=(const SilentDisplay&) = delete;

    // The display's name for DISPLAY; empty when no number was free.
    const std::string& name() const { return name_; }

private:
    int socket_;
    std::string name_;
};

TEST_F(ExecutableTest, ADisplayThatTakesTheConnectionButNeverAnswersIsGivenUpNamingIt) {
    SilentDisplay display;
    ASSERT_FALSE(display.name().empty());
    Outcome outcome = run(false, {"DISPLAY=" + display.name()});
    EXPECT_EQ(outcome.exitCode, 2); // not -2: it ended of itself
    EXPECT_EQ(outcome.errorOutput.substr(0, outcome.errorOutput.find('\n')),
              "cuentas: the graphical display \"" + display.name() +
                  "\" (DISPLAY) took the connection but did not answer within 5 seconds.");
    EXPECT_NE(outcome.errorOutput.find("xvfb-run -a"), std::string::npos);
    EXPECT_FALSE(fs::exists(root / "bin" / "ERROR.LOG"));
}

} // namespace
} // namespace cuentas
