#include "platform/os/os_error.h"
#include "tests/errors/error_fixture.h"
#include "tests/support/child_process.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace cuentas {
namespace {

using testing::flag;
using testing::makeError;
using testing::number;
using testing::readWhole;
using testing::writeWhole;
using P = ErrorProperty;

const std::string kBanner = "***********************ERROR********************************\r\n";

class ErrorLogTest : public testing::ErrorLayerTest {
protected:
    // The head of every record up to the message: banner, version, date and time, the
    // application, the spacer, the message heading and its rule.
    std::string head() const {
        return kBanner + Version() + "\r\n" + "03/05/24 14:07:09\r\n" +
               "Application: " + executableInRuntimeForm() +
               "\r\n \r\nError message:\r\n--------------\r\n";
    }

    std::string appendRecord(const std::string& message, const Value& error) {
        FileHandle handle = ERRORLOGOPEN();
        EXPECT_NE(handle, kNoFile);
        ERRORLOGWRITE(handle, message, error);
        FClose(handle);
        return readWhole(logPath());
    }
};

Value openError() {
    return makeError({{P::SubSystem, Value("DBFCDX")},
                      {P::GenCode, number(21)},
                      {P::OsCode, number(2)},
                      {P::CanDefault, flag(true)},
                      {P::CanRetry, flag(true)},
                      {P::Description, Value("Open error")},
                      {P::FileName, Value("NomBancos.dbf")},
                      {P::FuncSym, Value("DBSERVER")},
                      {P::Arg, Value("NomBancos.dbf")},
                      {P::ArgType, number(7)},
                      {P::ArgNum, number(1)}});
}

TEST_F(ErrorLogTest, TheRecordOfAPlainErrorLineByLine) {
    Value error = openError();
    std::string message = ERRORTEXT(error);
    EXPECT_EQ(errorDumpRecord(message, error), head() + "Error Code:  21 [ OPEN ERROR ]\r\n"
                                                        "Subsystem: DBFCDX\r\n"
                                                        "Function: DBSERVER\r\n"
                                                        "Filename: NomBancos.dbf\r\n"
                                                        "Argument: NomBancos.dbf\r\n"
                                                        "Type: STRING\r\n"
                                                        "Argument Number: 1\r\n"
                                                        "Description: Open error\r\n"
                                                        "\r\n"
                                                        "Error Object created:\r\n"
                                                        "--------------------\r\n"
                                                        "SubSystem       :DBFCDX\r\n"
                                                        "SubCode         :0\r\n"
                                                        "GenCode         :Open error\r\n"
                                                        "OsCode          :2\r\n"
                                                        "ArgType         :STRING\r\n"
                                                        "FuncPtr         :0x00000000\r\n"
                                                        "ArgNum          :1\r\n"
                                                        "FuncSym         :DBSERVER\r\n"
                                                        "Severity        :2\r\n"
                                                        "CanDefault      :.T.\r\n"
                                                        "CanRetry        :.T.\r\n"
                                                        "CanSubstitute   :.F.\r\n"
                                                        "Operation       :\r\n"
                                                        "Description     :Open error\r\n"
                                                        "FileName        :NomBancos.dbf\r\n"
                                                        "Tries           :0\r\n"
                                                        "FileHandle      :0\r\n"
                                                        "SubCodeText     :\r\n"
                                                        "Arg             :NomBancos.dbf\r\n"
                                                        "ArgTypeReq      :NIL\r\n"
                                                        "MaxSize         :0\r\n"
                                                        "SubstituteType  :NIL\r\n"
                                                        "CallFuncSym     :\r\n"
                                                        "--------------------\r\n");
}

TEST_F(ErrorLogTest, AnExceptionShowsItsCodeFlagsAddressAndInformationInHex) {
    Symbol info = Symbol::intern("EXCEPTIONINFO");
    Value error = makeError({{P::SubCode, number(5333)},
                             {P::OsCode, number(0xC0000005)},
                             {P::ArgType, number(0)},
                             {P::FuncPtr, Value::pointer(0x0040112A)},
                             {P::ArgNum, number(2)},
                             {P::FuncSym, Value(info)},
                             {P::Severity, number(3)}});
    std::vector<std::string> lines = errorDumpFieldLines(error);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 9),
              (std::vector<std::string>{
                  "SubCode         :5333",
                  "GenCode         :No error",
                  "ExceptionCode   :C0000005",
                  "ExceptionFlags  :00000000",
                  "ExceptionAddress:0040112A",
                  "ParamNumber     :2",
                  "ExceptionInfo   :" + hexWord(info.number()),
                  "Severity        :3",
              }));
}

TEST_F(ErrorLogTest, AWarningWithoutGeneralCodeAndALongFileName) {
    const std::string longName = "C:\\CUENTAS\\DATOS\\" + std::string(40, 'N') + ".dbf";
    Value error = makeError(
        {{P::Severity, number(1)}, {P::Description, Value("d")}, {P::FileName, Value(longName)}});
    std::string message = ERRORTEXT(error);
    EXPECT_EQ(message,
              "WARNING :  d\r\nFilename: " + longName.substr(0, 40) + "\r\nDescription: d\r\n");
    std::string record = errorDumpRecord(message, error);
    EXPECT_TRUE(record.starts_with(head() + message + "\r\nError Object created:\r\n"));
    // The record keeps the whole name; only the message cuts it.
    EXPECT_NE(record.find("\r\nFileName        :" + longName + "\r\n"), std::string::npos);
    EXPECT_NE(record.find("\r\nGenCode         :No error\r\n"), std::string::npos);
}

TEST_F(ErrorLogTest, ATwoLineMessageIsFollowedByOneEmptyLine) {
    std::string record = errorDumpRecord("first\r\nsecond\r\n", openError());
    EXPECT_NE(record.find("--------------\r\nfirst\r\nsecond\r\n\r\nError Object created:\r\n"),
              std::string::npos);
}

TEST_F(ErrorLogTest, ANewLogStartsWithTheRecordAndLaterRecordsFollowAnEmptyLine) {
    Value error = openError();
    std::string record = errorDumpRecord("m\r\n", error);
    EXPECT_EQ(appendRecord("m\r\n", error), record);
    EXPECT_EQ(appendRecord("m\r\n", error), record + "\r\n" + record);
}

TEST_F(ErrorLogTest, AnExistingLogIsNeverEmptiedAndAnEmptyOneGetsNoLeadingEmptyLine) {
    writeWhole(logPath(), "old record\r\n");
    Value error = openError();
    std::string record = errorDumpRecord("m\r\n", error);
    EXPECT_EQ(appendRecord("m\r\n", error), "old record\r\n\r\n" + record);
    writeWhole(logPath(), "");
    EXPECT_EQ(appendRecord("m\r\n", error), record);
}

TEST_F(ErrorLogTest, AMissingDirectoryClearsTheDefaultDirectoryAndReportsIt) {
    os.executable = directory.file("gone/cuentas.exe");
    SetDefaultDir("C:\\DATOS");
    SetDefault("D:\\");
    EXPECT_EQ(ERRORLOGOPEN(), kNoFile);
    EXPECT_EQ(GetDefaultDir(), "");
    EXPECT_EQ(GetDefault(), "D:\\");
    EXPECT_EQ(os.debugText, "Internal error 1/0: SetDefaultDir: C:\\DATOS\n");

    os.debugText.clear();
    EXPECT_EQ(ERRORLOGOPEN(), kNoFile);
    EXPECT_EQ(GetDefault(), "");
    EXPECT_EQ(os.debugText, "Internal error 1/0: SetDefault: D:\\\n");
}

TEST_F(ErrorLogTest, ALogHeldByAnotherWriterIsWaitedForAndThenSkipped) {
    writeWhole(logPath(), "");
    FileHandle holder = FOpen(runtimePath(logPath()), openmode::kWrite | openmode::kShareExclusive);
    ASSERT_NE(holder, kNoFile);
    EXPECT_EQ(ERRORLOGOPEN(), kNoFile);
    EXPECT_EQ(os.sleeps, std::vector<std::uint32_t>(99, 10));
    FClose(holder);
    FileHandle handle = ERRORLOGOPEN();
    EXPECT_NE(handle, kNoFile);
    FClose(handle);
}

// An operating system that refuses to open or to write the error log, or lets only so many
// bytes into it before the disk is full.
class FaultyLogOs : public testing::RecordingOs {
public:
    int openRefusal = 0;
    long writeRefusal = 0;
    std::optional<std::size_t> room;
    int logDescriptor = -1;
    int openFile(const std::string& path, const FileOpening& opening) override {
        if (path.ends_with("ERROR.LOG") && openRefusal != 0) {
            return openRefusal;
        }
        int fd = RecordingOs::openFile(path, opening);
        if (path.ends_with("ERROR.LOG")) {
            logDescriptor = fd;
        }
        return fd;
    }
    long writeFile(int fd, const void* data, std::size_t size) override {
        if (fd == logDescriptor && room) {
            const std::size_t through = std::min(*room, size);
            *room -= through;
            long written = RecordingOs::writeFile(fd, data, through);
            return through < size ? -systemErrorFor(oserror::kDiskFull) : written;
        }
        return fd == logDescriptor && writeRefusal != 0 ? writeRefusal
                                                        : RecordingOs::writeFile(fd, data, size);
    }
};

struct UnloggableCase {
    const char* name;
    std::function<void(const std::string& log, FaultyLogOs& os)> arrange;
    const char* reason;
};

// Whenever a record could not be written, one line on the standard error stream says so;
// none of these may make the handler wait.
TEST_F(ErrorLogTest, ARecordThatCouldNotBeWrittenIsReportedInOneLine) {
    const UnloggableCase cases[] = {
#ifndef _WIN32 // named pipes of the file system
        {"named pipe", [](const std::string& log, FaultyLogOs&) { ::mkfifo(log.c_str(), 0600); },
         "a named pipe where a file was expected"},
#endif
        {"folder",
         [](const std::string& log, FaultyLogOs&) { std::filesystem::create_directory(log); },
         "a folder where a file was expected"},
        {"read-only file system",
         [](const std::string&, FaultyLogOs& faulty) {
             faulty.openRefusal = -systemErrorFor(oserror::kAccessDenied, OsCause::ReadOnly);
         },
         "read-only file system"},
        {"no permission",
         [](const std::string&, FaultyLogOs& faulty) {
             faulty.openRefusal = -systemErrorFor(oserror::kAccessDenied);
         },
         "access denied"},
        {"full disk",
         [](const std::string&, FaultyLogOs& faulty) {
             faulty.writeRefusal = -systemErrorFor(oserror::kDiskFull);
         },
         "disk full"},
    };
    for (const UnloggableCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(logPath());
        FaultyLogOs faulty;
        faulty.executable = os.executable;
        faulty.clock = os.clock;
        c.arrange(logPath(), faulty);
        ScopedOs scopedFaulty(faulty);
        EXPECT_FALSE(appendErrorLogRecord("m\r\n", openError()));
        EXPECT_EQ(faulty.debugText,
                  "cuentas.exe: the error was not logged in " + logPath() + ": " + c.reason + "\n");
    }
}

// A disk that fills part-way through a record: the log is cut back to what it held, and a
// log made for the record goes again; an empty log that was there stays.
TEST_F(ErrorLogTest, ARecordGoesInWholeOrNotAtAll) {
    const struct {
        const char* name;
        std::optional<std::string> before; // none: no log yet
        std::size_t room;
    } cases[] = {
        {"a log, room for part of the record", "old record\r\n", 596},
        {"a log, no room", "old record\r\n", 0},
        {"an empty log, room for part of the record", "", 596},
        {"no log, room for part of the record", std::nullopt, 596},
        {"no log, no room", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(logPath());
        if (c.before) {
            writeWhole(logPath(), *c.before);
        }
        FaultyLogOs faulty;
        faulty.executable = os.executable;
        faulty.clock = os.clock;
        faulty.room = c.room;
        ScopedOs scopedFaulty(faulty);
        EXPECT_FALSE(appendErrorLogRecord(std::string(1000, 'm') + "\r\n", openError()));
        EXPECT_EQ(faulty.debugText,
                  "cuentas.exe: the error was not logged in " + logPath() + ": disk full\n");
        EXPECT_EQ(std::filesystem::exists(logPath()), c.before.has_value());
        if (c.before) {
            EXPECT_EQ(readWhole(logPath()), *c.before);
        }
    }
}

TEST_F(ErrorLogTest, ALogHeldTooLongIsReportedAndAWrittenRecordIsNot) {
    EXPECT_TRUE(appendErrorLogRecord("m\r\n", openError()));
    EXPECT_EQ(os.debugText, "");
    FileHandle holder = FOpen(runtimePath(logPath()), openmode::kWrite | openmode::kShareExclusive);
    ASSERT_NE(holder, kNoFile);
    EXPECT_FALSE(appendErrorLogRecord("m\r\n", openError()));
    EXPECT_EQ(os.debugText, "cuentas.exe: the error was not logged in " + logPath() +
                                ": another process held it for more than a second\n");
    FClose(holder);
}

// Really waits, so that two processes take turns at the log.
class WaitingOs : public testing::RecordingOs {
public:
    void sleep(std::uint32_t milliseconds) override { OperatingSystem::sleep(milliseconds); }
};

// The messages of the two writers. Long ones make each record larger than any single
// pipe-sized write.
std::string writersMessage(int writer) {
    return writer == 0 ? std::string(3000, 'a') + "\r\n" : std::string(5000, 'b') + "\r\n";
}

// Another process appending records to the log of the executable it is given, as the handler
// would, with the test's clock.
CUENTAS_CHILD_ROLE(appendRecords) {
    WaitingOs childOs;
    childOs.executable = arguments.at(0);
    childOs.clock = testing::fixedClock();
    ScopedOs childScope(childOs);
    declareErrorClass();
    const std::string message = writersMessage(std::stoi(arguments.at(1)));
    Value error = openError();
    for (int i = std::stoi(arguments.at(2)); i > 0; --i) {
        FileHandle handle = ERRORLOGOPEN();
        if (handle == kNoFile) {
            return 1;
        }
        ERRORLOGWRITE(handle, message, error);
        FClose(handle);
    }
    return 0;
}

TEST_F(ErrorLogTest, TwoProcessesAppendingAtOnceLeaveOnlyWholeRecords) {
    constexpr int kRecordsEach = 150;
    const std::string messages[2] = {writersMessage(0), writersMessage(1)};
    Value error = openError();
    std::vector<testing::ChildProcess> writers;
    for (int writer = 0; writer < 2; ++writer) {
        writers.push_back(
            testing::startChildRole("appendRecords", {*os.executable, std::to_string(writer),
                                                      std::to_string(kRecordsEach)}));
    }
    for (testing::ChildProcess& writer : writers) {
        EXPECT_EQ(writer.wait(), 0);
    }

    std::string records[2] = {errorDumpRecord(messages[0], error),
                              errorDumpRecord(messages[1], error)};
    std::string log = readWhole(logPath());
    int counts[2] = {0, 0};
    std::size_t position = 0;
    while (position < log.size()) {
        if (position > 0) {
            ASSERT_EQ(log.compare(position, 2, "\r\n"), 0) << "no separator at " << position;
            position += 2;
        }
        int which = log.compare(position, records[0].size(), records[0]) == 0   ? 0
                    : log.compare(position, records[1].size(), records[1]) == 0 ? 1
                                                                                : -1;
        ASSERT_NE(which, -1) << "a broken record at " << position;
        ++counts[which];
        position += records[which].size();
    }
    EXPECT_EQ(counts[0], kRecordsEach);
    EXPECT_EQ(counts[1], kRecordsEach);
}

} // namespace
} // namespace cuentas
