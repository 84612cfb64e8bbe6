// Files on Windows, where sharing is the system's own: another process holding a file, and
// the whole-file replace of a file another process reads.
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/file_holder.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include <windows.h>

namespace cuentas {
namespace {

namespace fs = std::filesystem;

std::string readNative(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// Another program with the file open to read it, sharing reading and writing and, when the
// second argument is "delete", its removal and renaming. It says "held", waits for a line on
// its input, then reads what it holds and prints it.
CUENTAS_CHILD_ROLE(readAndHold) {
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (arguments.at(1) == "delete") {
        share |= FILE_SHARE_DELETE;
    }
    HANDLE file = CreateFileA(arguments.at(0).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::cout << "refused" << std::endl;
        return 1;
    }
    std::cout << "held" << std::endl;
    std::string go;
    std::getline(std::cin, go);
    char buffer[256];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    std::cout << std::string(buffer, read) << std::endl;
    CloseHandle(file);
    return 0;
}

class WindowsFiles : public ::testing::Test {
protected:
    testing::ChildProcess hold(const char* role, const std::vector<std::string>& arguments) {
        testing::ChildStreams pipes;
        pipes.pipeInput = pipes.pipeOutput = true;
        testing::ChildProcess holder = testing::startChildRole(role, arguments, pipes);
        EXPECT_EQ(holder.readOutputLine(std::chrono::seconds(30)), "held");
        return holder;
    }
    std::string path(const char* name) const { return (folder.path() / name).string(); }

    testing::TemporaryFolder folder{"cuentas-windows"};
};

TEST_F(WindowsFiles, AFileAnotherProcessHoldsAloneIsASharingViolationForEveryOpen) {
    const std::string name = path("table.dbf");
    std::ofstream(name) << "x";
    testing::ChildProcess holder = testing::holdExclusively(name);
    for (std::uint32_t mode : {openmode::kRead, openmode::kReadWrite | openmode::kShareDenyNone,
                               openmode::kWrite | openmode::kShareExclusive}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(FOpen(name, mode), kNoFile);
        EXPECT_EQ(FError(), oserror::kSharingViolation);
        EXPECT_TRUE(NetErr());
    }
    EXPECT_EQ(FCreate(name), kNoFile);
    EXPECT_EQ(FError(), oserror::kSharingViolation);
    EXPECT_FALSE(openToRead(name));
    EXPECT_EQ(FError(), oserror::kSharingViolation);
    holder.writeInput("go\n");
    EXPECT_EQ(holder.wait(), 0);
    FileHandle handle = FOpen(name, openmode::kRead);
    EXPECT_NE(handle, kNoFile);
    EXPECT_FALSE(NetErr());
    FClose(handle);
}

TEST_F(WindowsFiles, ADenyWriteOpenLetsOthersReadButNotWrite) {
    const std::string name = path("log.txt");
    std::ofstream(name) << "x";
    FileHandle reader = FOpen(name, openmode::kRead | openmode::kShareDenyWrite);
    ASSERT_NE(reader, kNoFile);
    FileHandle another = FOpen(name, openmode::kRead);
    EXPECT_NE(another, kNoFile);
    EXPECT_EQ(FOpen(name, openmode::kWrite), kNoFile);
    EXPECT_EQ(FError(), oserror::kSharingViolation);
    FClose(another);
    FClose(reader);
}

// A file another program has open cannot be replaced (whatever it shares, on some systems):
// the save tries again for about a second, then gives up with the file as it was and no
// temporary; a reader that lets go meanwhile is waited for, and keeps what it read.
TEST_F(WindowsFiles, AReaderHoldsUpTheSaveForASecondAtMostAndKeepsWhatItRead) {
    const std::string name = path("xtras.ini");
    std::ofstream(name, std::ios::binary) << "old";
    {
        testing::ChildProcess reader = hold("readAndHold", {name, "keep"});
        EXPECT_FALSE(MemoWrit(name, "new"));
        EXPECT_EQ(FError(), oserror::kAccessDenied);
        EXPECT_EQ(readNative(name), "old");
        reader.writeInput("go\n");
        EXPECT_EQ(reader.readOutputLine(std::chrono::seconds(30)), "old");
        EXPECT_EQ(reader.wait(), 0);
    }
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"xtras.ini"});

    for (const char* sharing : {"keep", "delete"}) {
        SCOPED_TRACE(sharing);
        std::ofstream(name, std::ios::binary) << "old";
        testing::ChildProcess reader = hold("readAndHold", {name, sharing});
        std::thread release([&reader] {
            Sleep(200);
            reader.writeInput("go\n");
        });
        EXPECT_TRUE(MemoWrit(name, "new"));
        release.join();
        EXPECT_EQ(reader.readOutputLine(std::chrono::seconds(30)), "old");
        EXPECT_EQ(reader.wait(), 0);
        EXPECT_EQ(readNative(name), "new");
    }
}

TEST_F(WindowsFiles, PathsAreNativeAndTheWorkDirectoryIsTheExecutablesFolder) {
    EXPECT_EQ(nativePath("C:\\CUENTAS\\tmp\\xtras.ini"), "C:\\CUENTAS\\tmp\\xtras.ini");
    EXPECT_EQ(runtimePath("C:\\CUENTAS\\BIN\\cuentas.exe"), "C:\\CUENTAS\\BIN\\cuentas.exe");
    EXPECT_EQ(nativeFolderOf("C:\\CUENTAS\\tmp\\xtras.ini"), "C:\\CUENTAS\\tmp");
    EXPECT_EQ(nativeFolderOf("C:\\xtras.ini"), "C:\\");
    EXPECT_EQ(nativeFolderOf("xtras.ini"), ".");
    EXPECT_EQ(nativeChild("C:\\", "x"), "C:\\x");
    EXPECT_EQ(nativeChild("C:\\a", "x"), "C:\\a\\x");
    EXPECT_FALSE(backslashFault("C:\\a\\b"));
    const std::string exe = testing::ownExecutable();
    EXPECT_EQ(executableName(), exe);
    EXPECT_EQ(WorkDir(), exe.substr(0, exe.rfind('\\') + 1));
}

} // namespace
} // namespace cuentas
