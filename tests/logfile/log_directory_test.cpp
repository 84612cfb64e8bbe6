#include "tests/logfile/log_file_fixture.h"

#include <filesystem>

namespace cuentas {
namespace {

using testing::readWhole;
using testing::writeWhole;

class LogDirectory : public testing::LogFileTest {};

struct DirectoryCase {
    const char* registryValue;
    std::optional<std::string> systemRoot;
    Value name;
    std::string fileName; // FNAME after INIT with the log directory
};

TEST_F(LogDirectory, TheRegistryValueAndSystemRootPlaceTheLog) {
    const std::vector<DirectoryCase> cases{
        {"%SystemRoot%\\System32\\LogFiles", "C:\\WINDOWS", Value(),
         "C:\\WINDOWS\\System32\\LogFiles\\PROG.log"},
        // Without SystemRoot the old default stands in, both backslashes included.
        {"%SystemRoot%\\System32\\LogFiles", std::nullopt, Value(),
         "c:\\\\winnt\\System32\\LogFiles\\PROG.log"},
        {"%SystemRoot%\\System32\\LogFiles", "", Value(),
         "c:\\\\winnt\\System32\\LogFiles\\PROG.log"},
        // The placeholder in any letter case, and whatever stands before it is dropped.
        {"X%SYSTEMROOT%\\Logs", "C:\\WINDOWS", Value(), "C:\\WINDOWS\\Logs\\PROG.log"},
        {"%systemroot%", "C:\\WINDOWS", Value("trace"), "C:\\WINDOWS\\trace.log"},
        {"D:\\Logs", "C:\\WINDOWS", Value(), "D:\\Logs\\PROG.log"},
        {"D:\\Logs", std::nullopt, Value("trace"), "D:\\Logs\\trace.log"},
        {"D:\\Logs", std::nullopt, Value("trace.txt"), "D:\\Logs\\trace.log"},
        {"D:\\Logs", std::nullopt, Value("\\old.dir\\run"), "D:\\Logs\\run.log"},
    };
    for (const DirectoryCase& c : cases) {
        setLogFileDirectory(c.registryValue);
        os.environment["SystemRoot"] = c.systemRoot;
        Value log = newLog({c.name, Value::logic(true)});
        EXPECT_EQ(text(log, "FNAME"), c.fileName) << c.registryValue;
        EXPECT_EQ(text(log, "SERVERPATH"), serverPath());
    }
}

TEST_F(LogDirectory, ALogDirectoryThatExistsReceivesTheLog) {
    std::filesystem::create_directory(directory.file("logs"));
    setLogFileDirectory(runtimePath(directory.file("logs")));
    Value log = newLog({Value(), Value::logic(true)});
    EXPECT_EQ(text(log, "FNAME"), runtimeFile("logs\\PROG.log"));
    EXPECT_TRUE(logic(log, "LOG2FILE"));
    EXPECT_TRUE(std::filesystem::exists(directory.file("logs/PROG.log")));
}

TEST_F(LogDirectory, AMissingValueGivesNoDirectoryAndTheKeyIsCreated) {
    EXPECT_EQ(LOGDIRECTORY(), "");
#ifndef _WIN32 // the stand-in's hive file
    EXPECT_NE(readWhole(hivePath()).find("SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters]"),
              std::string::npos);
#endif
    // Asking again opens the key that is now there, and still finds no value.
    EXPECT_EQ(LOGDIRECTORY(), "");
}

#ifndef _WIN32 // the stand-in's hive file in a place that cannot hold one
TEST_F(LogDirectory, ARegistryThatCannotBeOpenedGivesNoDirectory) {
    writeWhole(directory.file("plain-file"), "");
    os.environment["CUENTAS_HKEY_LOCAL_MACHINE"] = directory.file("plain-file/HKLM.reg");
    EXPECT_EQ(LOGDIRECTORY(), "");
}
#endif

TEST_F(LogDirectory, AValueTooLongForTheBufferGivesNoDirectory) {
    setLogFileDirectory("D:\\" + std::string(300, 'L'));
    EXPECT_EQ(LOGDIRECTORY(), "");
    setLogFileDirectory("D:\\" + std::string(256, 'L')); // 259 characters and the zero: fits
    EXPECT_EQ(LOGDIRECTORY(), "D:\\" + std::string(256, 'L'));
}

TEST_F(LogDirectory, ASystemRootTooLongForTheBufferCountsAsUnset) {
    setLogFileDirectory("%SystemRoot%\\Logs");
    os.environment["SystemRoot"] = std::string(260, 'R');
    EXPECT_EQ(LOGDIRECTORY(), "c:\\\\winnt\\Logs");
}

} // namespace
} // namespace cuentas
