#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace cuentas {
namespace {

namespace fs = std::filesystem;

std::string readNative(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("cuentas-files-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string runtime(const std::string& name) const {
        return runtimePath((dir / name).string());
    }
    fs::path dir;
};

TEST_F(Files, PathsTurnSlashesIntoBackslashesAndBack) {
    EXPECT_EQ(runtimePath("/opt/cuentas/bin/cuentas"), "\\opt\\cuentas\\bin\\cuentas");
    EXPECT_EQ(nativePath("\\opt\\cuentas\\tmp\\xtras.ini"), "/opt/cuentas/tmp/xtras.ini");
    testing::RecordingOs os;
    os.executable = "/opt/cuentas/bin/cuentas";
    ScopedOs scoped(os);
    EXPECT_EQ(WorkDir(), "\\opt\\cuentas\\bin\\");
    EXPECT_EQ(executableName(), "\\opt\\cuentas\\bin\\cuentas");
}

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
        long writeFile(int, const void*, std::size_t) override { return -ENOSPC; }
    } full;
    {
        ScopedOs scoped(full);
        EXPECT_FALSE(MemoWrit(name, "new content"));
        EXPECT_EQ(FError(), oserror::kDiskFull);
    }
    EXPECT_EQ(readNative(dir / "xtras.ini"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
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
    FClose(exclusive);
    FileHandle again = FOpen(name, openmode::kRead);
    EXPECT_NE(again, kNoFile);
    FClose(again);
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

// Answers what the test says a name is, and how the lock and the process id come out.
class ExaminedOs : public testing::RecordingOs {
public:
    std::map<std::string, FileKind> kinds; // names not listed are asked of the real system
    int lockAnswer = 0;
    std::vector<bool> exclusiveLocks;

    FileKind fileKind(const std::string& nativePath) override {
        auto found = kinds.find(nativePath);
        return found != kinds.end() ? found->second : OperatingSystem::fileKind(nativePath);
    }
    int lockFile(int, bool exclusive) override {
        exclusiveLocks.push_back(exclusive);
        return lockAnswer;
    }
    int processId() override { return 4242; }
};

TEST_F(Files, TheFileLayerAsksTheSystemWhatANameIsWhetherItCanLockAndWhoItIs) {
    ExaminedOs os;
    ScopedOs scoped(os);
    os.kinds[(dir / "a file").string()] = FileKind::Regular;
    os.kinds[(dir / "a folder").string()] = FileKind::Directory;
    os.kinds[(dir / "fifo").string()] = FileKind::Other;
    EXPECT_TRUE(File(runtime("a file")));
    EXPECT_FALSE(File(runtime("a folder")));
    EXPECT_FALSE(File(runtime("fifo")));

    // A missing file in a "folder" that is no folder: the path is not found.
    EXPECT_EQ(FOpen(runtime("fifo\\x.log"), openmode::kRead), kNoFile);
    EXPECT_EQ(FError(), oserror::kPathNotFound);

    // Another process holds a conflicting lock.
    std::string name = runtime("locked.dbf");
    std::ofstream(dir / "locked.dbf") << "x";
    os.lockAnswer = -EWOULDBLOCK;
    EXPECT_EQ(FOpen(name, openmode::kRead | openmode::kShareDenyWrite), kNoFile);
    EXPECT_EQ(FError(), oserror::kSharingViolation);
    EXPECT_TRUE(NetErr());
    os.lockAnswer = 0;
    FileHandle shared = FOpen(name, openmode::kRead | openmode::kShareDenyNone);
    EXPECT_NE(shared, kNoFile);
    FClose(shared);
    EXPECT_EQ(os.exclusiveLocks, (std::vector<bool>{true, false}));

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
