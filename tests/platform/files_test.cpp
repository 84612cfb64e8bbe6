#include "platform/os/os.h"
#include "platform/os/os_error.h"
#include "platform/runtime/runtime.h"
#include "tests/support/child_process.h"
#include "tests/support/recording_os.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

namespace cuentas {
namespace {

namespace fs = std::filesystem;

void writeNative(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readNative(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::make_unique<testing::TemporaryFolder>("cuentas-files");
        dir = folder->path();
    }
    void TearDown() override { folder.reset(); }
    std::string runtime(const std::string& name) const {
        return runtimePath((dir / name).string());
    }
    std::unique_ptr<testing::TemporaryFolder> folder;
    fs::path dir;
};

#ifndef _WIN32 // Windows paths are native: windows_files_test.cpp
TEST_F(Files, PathsTurnSlashesIntoBackslashesAndBack) {
    EXPECT_EQ(runtimePath("/opt/cuentas/bin/cuentas"), "\\opt\\cuentas\\bin\\cuentas");
    EXPECT_EQ(nativePath("\\opt\\cuentas\\tmp\\xtras.ini"), "/opt/cuentas/tmp/xtras.ini");
    testing::RecordingOs os;
    os.executable = "/opt/cuentas/bin/cuentas";
    ScopedOs scoped(os);
    EXPECT_EQ(WorkDir(), "\\opt\\cuentas\\bin\\");
    EXPECT_EQ(executableName(), "\\opt\\cuentas\\bin\\cuentas");
}
#endif

TEST_F(Files, MemoWritReplacesTheWholeFileWithExactlyTheText) {
    std::string name = runtime("xtras.ini");
    ASSERT_TRUE(MemoWrit(name, "a much longer first content\r\n"));
    ASSERT_TRUE(MemoWrit(name, std::string("BANCO=\xD1\r\nX", 10)));
    EXPECT_EQ(readNative(dir / "xtras.ini"), std::string("BANCO=\xD1\r\nX", 10));
    EXPECT_EQ(FError(), 0u);
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(Files, MemoWritIntoAMissingDirectoryFailsWithPathNotFound) {
    EXPECT_FALSE(MemoWrit(runtime("tmp\\xtras.ini"), "x"));
    EXPECT_EQ(FError(), oserror::kPathNotFound);
}

TEST_F(Files, AFailedWriteLeavesTheOldFileIntactAndNoTemporary) {
    std::string name = runtime("xtras.ini");
    ASSERT_TRUE(MemoWrit(name, "old"));
    struct DiskFull : testing::RecordingOs {
        long writeFile(int, const void*, std::size_t) override {
            return -systemErrorFor(oserror::kDiskFull);
        }
    } full;
    {
        ScopedOs scoped(full);
        EXPECT_FALSE(MemoWrit(name, "new content"));
        EXPECT_EQ(FError(), oserror::kDiskFull);
    }
    EXPECT_EQ(readNative(dir / "xtras.ini"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// A save whose process stops in the middle of its rename: ends there, as a killed one
// would, or says "stopped" and goes on when a line comes in on its input.
class StoppingOs : public testing::RecordingOs {
public:
    bool dies = true;
    int renameFile(const std::string& from, const std::string& to) override {
        if (dies) {
            std::_Exit(137);
        }
        std::cout << "stopped" << std::endl;
        std::string go;
        std::getline(std::cin, go);
        return OperatingSystem::renameFile(from, to);
    }
};

// Saves the text (second argument) to the file (first), and stops before its rename: "die"s
// there or "wait"s (third).
CUENTAS_CHILD_ROLE(saveAndStop) {
    StoppingOs stopping;
    stopping.dies = arguments.at(2) == "die";
    ScopedOs scoped(stopping);
    return MemoWrit(arguments.at(0), arguments.at(1)) ? 0 : 1;
}

std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(Files, ALaterSaveRemovesTheTemporariesOfSavesWhoseProcessIsGone) {
    std::string name = runtime("xtras.ini");
    for (int i = 0; i < 3; ++i) {
        testing::ChildProcess killed =
            testing::startChildRole("saveAndStop", {name, "lost", "die"});
        ASSERT_EQ(killed.wait(), 137);
    }
    // Each killed save removed the one before it; two more of long-gone processes.
    writeNative(dir / "xtras.ini.tmp1", "lost");
    writeNative(dir / "xtras.ini.tmp4000000", "lost");
    writeNative(dir / "xtras.ini.tmpold", "not a temporary of a save");
    writeNative(dir / "other.ini.tmp1", "another file's");
    ASSERT_EQ(namesIn(dir).size(), 5u);
    ASSERT_TRUE(MemoWrit(name, "saved"));
    EXPECT_EQ(namesIn(dir),
              (std::vector<std::string>{"other.ini.tmp1", "xtras.ini", "xtras.ini.tmpold"}));
    EXPECT_EQ(readNative(dir / "xtras.ini"), "saved");
}

TEST_F(Files, ACopyFromAFileNamedLikeATemporaryOfItsTargetKeepsItsSource) {
    writeNative(dir / "data.tmp7", "the only copy");
    ASSERT_TRUE(FCopy(runtime("data.tmp7"), runtime("data")));
    EXPECT_EQ(readNative(dir / "data"), "the only copy");
    EXPECT_EQ(readNative(dir / "data.tmp7"), "the only copy");
}

TEST_F(Files, ASaveStillBeingWrittenKeepsItsTemporaryAndEndsWell) {
    std::string name = runtime("xtras.ini");
    testing::ChildStreams pipes;
    pipes.pipeInput = pipes.pipeOutput = true;
    testing::ChildProcess writer =
        testing::startChildRole("saveAndStop", {name, "from the other save", "wait"}, pipes);
    ASSERT_EQ(writer.readOutputLine(std::chrono::seconds(30)), "stopped");
    const std::string temporary = "xtras.ini.tmp" + std::to_string(writer.id());
    ASSERT_TRUE(fs::exists(dir / temporary));
    ASSERT_TRUE(MemoWrit(name, "ours"));
    EXPECT_TRUE(fs::exists(dir / temporary)) << "removed while its writer was alive";
    ASSERT_TRUE(writer.writeInput("go\n"));
    EXPECT_EQ(writer.wait(), 0);
    EXPECT_EQ(readNative(dir / "xtras.ini"), "from the other save");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"xtras.ini"});
}

TEST_F(Files, ALeftoverOfAnEarlierProcessWithOurIdIsReplaced) {
    writeNative(dir / ("xtras.ini.tmp" + std::to_string(operatingSystem().processId())),
                "left by a crash");
    ASSERT_TRUE(MemoWrit(runtime("xtras.ini"), "saved"));
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"xtras.ini"});
    EXPECT_EQ(readNative(dir / "xtras.ini"), "saved");
}

TEST_F(Files, HandlesOpenCreateAppendAndReportErrors) {
    std::string name = runtime("log.txt");
    EXPECT_EQ(FOpen(name, openmode::kWrite), kNoFile);
    EXPECT_EQ(FError(), oserror::kFileNotFound);
    FileHandle created = FCreate(name, 0x20);
    ASSERT_NE(created, kNoFile);
    EXPECT_EQ(FPutS(created, "one"), 5u);
    EXPECT_TRUE(FClose(created));
    FileHandle opened = FOpen(name, openmode::kWrite);
    ASSERT_NE(opened, kNoFile);
    EXPECT_EQ(FSeek(opened, 0, 2), 5);
    FPutS(opened, "two");
    FClose(opened);
    EXPECT_EQ(readNative(dir / "log.txt"), "one\r\ntwo\r\n");
    EXPECT_TRUE(File(name));
    EXPECT_FALSE(File(runtime("")));
    EXPECT_TRUE(FCopy(name, runtime("copy.txt")));
    EXPECT_EQ(readNative(dir / "copy.txt"), "one\r\ntwo\r\n");
    EXPECT_EQ(FCreate(runtime("missing\\log.txt")), kNoFile);
    EXPECT_EQ(FError(), oserror::kPathNotFound);
}

TEST_F(Files, AnExclusiveOpenMakesOtherOpensASharingViolation) {
    std::string name = runtime("shared.dbf");
    FClose(FCreate(name));
    FileHandle exclusive = FOpen(name, openmode::kReadWrite | openmode::kShareExclusive);
    ASSERT_NE(exclusive, kNoFile);
    EXPECT_EQ(FOpen(name, openmode::kRead | openmode::kShareDenyNone), kNoFile);
    EXPECT_EQ(FError(), oserror::kSharingViolation);
    FWrite(exclusive, "held");
    EXPECT_EQ(FCreate(name), kNoFile) << "emptied under its holder";
    EXPECT_EQ(FError(), oserror::kSharingViolation);
    EXPECT_TRUE(NetErr());
    FClose(exclusive);
    EXPECT_EQ(readNative(dir / "shared.dbf"), "held");
    FileHandle again = FOpen(name, openmode::kRead);
    EXPECT_NE(again, kNoFile);
    FClose(again);
    FileHandle created = FCreate(name);
    EXPECT_NE(created, kNoFile);
    EXPECT_FALSE(NetErr());
    FClose(created);
    EXPECT_EQ(readNative(dir / "shared.dbf"), "");
}

TEST_F(Files, TheNetworkErrorFlagTellsABusyFileFromAnyOtherOutcome) {
    std::string name = runtime("busy.log");
    FClose(FCreate(name));
    FileHandle holder = FOpen(name, openmode::kReadWrite | openmode::kShareExclusive);
    ASSERT_NE(holder, kNoFile);

    EXPECT_EQ(FOpen(name, openmode::kReadWrite), kNoFile);
    EXPECT_TRUE(NetErr()) << "a file held by another open is worth another try";
    EXPECT_EQ(FOpen(runtime("missing.log"), openmode::kReadWrite), kNoFile);
    EXPECT_FALSE(NetErr()) << "a missing file is not";

    EXPECT_EQ(FOpen(name, openmode::kRead), kNoFile);
    ASSERT_TRUE(NetErr());
    FileHandle created = FCreate(runtime("other.log"));
    EXPECT_NE(created, kNoFile);
    EXPECT_FALSE(NetErr()) << "a success lowers the flag";
    FClose(created);
    FClose(holder);
}

// Things that are not regular files, each placed under the name the program opens. None may
// make a call wait (a pipe without its other end) or read without end (a device).
struct NotAFile {
    const char* name;
    std::function<void(const fs::path&)> place;
    std::uint32_t osError;
    OsCause cause;
};

const NotAFile kNotFiles[] = {
#ifndef _WIN32 // named pipes and devices of the file system
    {"named pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
     oserror::kAccessDenied, OsCause::Pipe},
    {"link to /dev/zero", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
     oserror::kAccessDenied, OsCause::Device},
#endif
    {"folder", [](const fs::path& p) { fs::create_directory(p); }, oserror::kAccessDenied,
     OsCause::Folder},
#ifndef _WIN32
    {"loop of links",
     [](const fs::path& p) {
         fs::create_symlink(p.string() + ".other", p);
         fs::create_symlink(p, p.string() + ".other");
     },
     oserror::kGeneralFailure, OsCause::LinkLoop},
#endif
};

TEST_F(Files, WhatIsNotARegularFileIsRefusedAtOnceWithWhatItIs) {
    for (const NotAFile& kind : kNotFiles) {
        SCOPED_TRACE(kind.name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        kind.place(dir / "target");
        const std::string name = runtime("target");
        auto expectRefused = [&](const char* call) {
            EXPECT_EQ(FError(), kind.osError) << call;
            EXPECT_EQ(FErrorCause(), kind.cause) << call;
        };
        EXPECT_FALSE(MemoRead(name));
        expectRefused("MemoRead");
        EXPECT_EQ(FOpen(name, openmode::kRead), kNoFile);
        expectRefused("FOpen read");
        EXPECT_EQ(FOpen(name, openmode::kWrite | openmode::kAppend | openmode::kCreate), kNoFile);
        expectRefused("FOpen append");
        EXPECT_EQ(FCreate(name), kNoFile);
        expectRefused("FCreate");
        EXPECT_FALSE(FCopy(name, runtime("copy")));
        expectRefused("FCopy");
        EXPECT_FALSE(openToRead(name));
        expectRefused("openToRead");
    }
}

TEST_F(Files, TheCausesReadAsWhatIsReallyWrong) {
    EXPECT_EQ(osErrorText(oserror::kAccessDenied, OsCause::Folder),
              "a folder where a file was expected");
    EXPECT_EQ(osErrorText(oserror::kGeneralFailure, OsCause::LinkLoop),
              "too many levels of symbolic links");
    EXPECT_EQ(osErrorText(oserror::kAccessDenied, OsCause::Pipe),
              "a named pipe where a file was expected");
    EXPECT_EQ(osErrorText(oserror::kAccessDenied), "access denied");
}

TEST_F(Files, MemoReadRefusesAFileLargerThanItsLimitBeforeReading) {
    writeNative(dir / "big", "small on disk");
    struct Huge : testing::RecordingOs {
        int fileStatus(int fd, FileStatus& status) override {
            int result = OperatingSystem::fileStatus(fd, status);
            status.size = kMemoReadLimit + 1;
            return result;
        }
        long readFile(int, void*, std::size_t) override {
            ADD_FAILURE() << "read before the size was checked";
            return -systemErrorFor(oserror::kGeneralFailure);
        }
    } huge;
    ScopedOs scoped(huge);
    EXPECT_FALSE(MemoRead(runtime("big")));
    EXPECT_EQ(FError(), oserror::kNotEnoughMemory);
    EXPECT_EQ(FErrorCause(), OsCause::TooLarge);
}

TEST_F(Files, MemoReadReadsToTheEndWhateverSizeTheFileSaidItHad) {
    const std::string content(200000, 'x');
    writeNative(dir / "memo", content + "fin");
    struct StaleSize : testing::RecordingOs {
        std::uint64_t said = 0;
        int fileStatus(int fd, FileStatus& status) override {
            int result = OperatingSystem::fileStatus(fd, status);
            status.size = said;
            return result;
        }
    } stale;
    ScopedOs scoped(stale);
    for (std::uint64_t said : {std::uint64_t{0}, std::uint64_t{70000}, std::uint64_t{400000}}) {
        stale.said = said; // smaller: the file grew since; larger: it shrank
        EXPECT_EQ(MemoRead(runtime("memo")), content + "fin") << said;
    }
}

// Answers what the test says a name is, how opening "locked.dbf" comes out, and who it is.
class ExaminedOs : public testing::RecordingOs {
public:
    std::map<std::string, FileStatus::Kind> kinds; // names not listed: the real system's
    int lockedAnswer = 0;
    std::vector<FileOpening::Sharing> sharings; // of each open of "locked.dbf"

    int pathStatus(const std::string& nativePath, FileStatus& status) override {
        auto found = kinds.find(nativePath);
        if (found == kinds.end()) {
            return OperatingSystem::pathStatus(nativePath, status);
        }
        status = FileStatus{};
        status.kind = found->second;
        return 0;
    }
    int openFile(const std::string& nativePath, const FileOpening& opening) override {
        if (nativePath.ends_with("locked.dbf")) {
            sharings.push_back(opening.sharing);
            if (lockedAnswer != 0) {
                return lockedAnswer;
            }
        }
        return RecordingOs::openFile(nativePath, opening);
    }
    int processId() override { return 4242; }
};

TEST_F(Files, TheFileLayerAsksTheSystemWhatANameIsHowItSharesAndWhoItIs) {
    ExaminedOs os;
    ScopedOs scoped(os);
    os.kinds[(dir / "a file").string()] = FileStatus::Kind::Regular;
    os.kinds[(dir / "a folder").string()] = FileStatus::Kind::Folder;
    os.kinds[(dir / "fifo").string()] = FileStatus::Kind::Pipe;
    EXPECT_TRUE(File(runtime("a file")));
    EXPECT_FALSE(File(runtime("a folder")));
    EXPECT_FALSE(File(runtime("fifo")));

    // A missing file in a "folder" that is no folder: the path is not found.
    EXPECT_EQ(FOpen(runtime("fifo\\x.log"), openmode::kRead), kNoFile);
    EXPECT_EQ(FError(), oserror::kPathNotFound);

    // Another process holds the file against the sharing asked for.
    std::string name = runtime("locked.dbf");
    std::ofstream(dir / "locked.dbf") << "x";
    os.lockedAnswer = -systemErrorFor(oserror::kSharingViolation);
    EXPECT_EQ(FOpen(name, openmode::kRead | openmode::kShareDenyWrite), kNoFile);
    EXPECT_EQ(FError(), oserror::kSharingViolation);
    EXPECT_TRUE(NetErr());
    os.lockedAnswer = 0;
    FileHandle shared = FOpen(name, openmode::kRead | openmode::kShareDenyNone);
    EXPECT_NE(shared, kNoFile);
    FClose(shared);
    EXPECT_EQ(os.sharings, (std::vector<FileOpening::Sharing>{FileOpening::Sharing::DenyWrite,
                                                              FileOpening::Sharing::Shared}));

    // A temporary file left by a crashed run of the same process id is replaced.
    std::ofstream(dir / "xtras.ini.tmp4242") << "left behind";
    EXPECT_TRUE(MemoWrit(runtime("xtras.ini"), "new"));
    EXPECT_EQ(readNative(dir / "xtras.ini"), "new");
    EXPECT_FALSE(fs::exists(dir / "xtras.ini.tmp4242"));
}

TEST_F(Files, FCopyCopiesALargeFileByteForByteAndReplacesTheTarget) {
    std::string content;
    for (int i = 0; content.size() < 300000; ++i) {
        content +=
            "line " + std::to_string(i) + std::string(1, static_cast<char>(i % 256)) + "\r\n";
    }
    std::ofstream(dir / "big.log", std::ios::binary) << content;
    std::ofstream(dir / "big.bak", std::ios::binary) << "an older, longer backup than nothing";
    ASSERT_TRUE(FCopy(runtime("big.log"), runtime("big.bak")));
    EXPECT_EQ(readNative(dir / "big.bak"), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
}

TEST_F(Files, AFailedCopyLeavesTheTargetAsItWas) {
    std::ofstream(dir / "old.bak", std::ios::binary) << "kept";
    EXPECT_FALSE(FCopy(runtime("missing.log"), runtime("old.bak")));
    EXPECT_EQ(FError(), oserror::kFileNotFound);
    std::ofstream(dir / "log.txt", std::ios::binary) << "new";
    EXPECT_FALSE(FCopy(runtime("log.txt"), runtime("nowhere\\old.bak")));
    EXPECT_EQ(FError(), oserror::kPathNotFound);
    EXPECT_EQ(readNative(dir / "old.bak"), "kept");
}

TEST_F(Files, EnvironmentVariablesAreReadIntoTheCallersBuffer) {
    testing::RecordingOs os;
    os.environment["SystemRoot"] = "C:\\WINDOWS";
    os.environment["EMPTY"] = "";
    os.environment["UNSET"] = std::nullopt;
    os.environment["LONG"] = std::string(260, 'x');
    ScopedOs scoped(os);

    char buffer[260] = "untouched";
    EXPECT_EQ(GetEnvironmentVariableA("SystemRoot", buffer, sizeof buffer), 10u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS");
    EXPECT_EQ(GetEnvironmentVariableA("EMPTY", buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetEnvironmentVariableA("UNSET", buffer, sizeof buffer), 0u);
    std::strcpy(buffer, "untouched");
    // Too long for the buffer: the size needed, zero included, and the buffer as it was.
    EXPECT_EQ(GetEnvironmentVariableA("LONG", buffer, sizeof buffer), 261u);
    EXPECT_STREQ(buffer, "untouched");
    os.environment["FITS"] = std::string(259, 'y');
    EXPECT_EQ(GetEnvironmentVariableA("FITS", buffer, sizeof buffer), 259u);
    EXPECT_EQ(std::string(buffer), std::string(259, 'y'));

    Sleep(1);
    EXPECT_EQ(os.sleeps, std::vector<std::uint32_t>{1});
}

} // namespace
} // namespace cuentas
