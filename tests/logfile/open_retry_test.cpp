#include "tests/logfile/log_file_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

namespace cuentas {
namespace {

using testing::writeWhole;

class OpenRetry : public testing::LogFileTest {
protected:
    std::string name() const { return runtimeFile("busy.log"); }
    FileHandle holdExclusively() const {
        return FOpen(name(), openmode::kReadWrite | openmode::kShareExclusive);
    }
};

TEST_F(OpenRetry, AMissingFileIsTriedOnceWithoutAPause) {
    NetErr(true); // left raised by an earlier conflict elsewhere
    EXPECT_EQ(FOPENRETRY(runtimeFile("missing.log"), openmode::kReadWrite), kNoFile);
    EXPECT_TRUE(os.sleeps.empty());
    EXPECT_FALSE(std::filesystem::exists(directory.file("missing.log"))) << "never created";
}

TEST_F(OpenRetry, AFileHeldByAnotherOpenIsTriedTenTimesWithAPauseAfterEach) {
    writeWhole(directory.file("busy.log"), "");
    FileHandle holder = holdExclusively();
    ASSERT_NE(holder, kNoFile);
    EXPECT_EQ(FOPENRETRY(name(), openmode::kReadWrite), kNoFile);
    EXPECT_EQ(os.sleeps, std::vector<std::uint32_t>(10, 1));
    EXPECT_TRUE(NetErr());
    FClose(holder);
}

// Lets go of the file during the pause after the third try.
class ReleasingOs : public testing::RecordingOs {
public:
    FileHandle holder = kNoFile;
    void sleep(std::uint32_t milliseconds) override {
        RecordingOs::sleep(milliseconds);
        if (sleeps.size() == 3) {
            FClose(std::exchange(holder, kNoFile));
        }
    }
};

TEST_F(OpenRetry, AFileLetGoOfBetweenTriesIsOpened) {
    writeWhole(directory.file("busy.log"), "");
    ReleasingOs releasing;
    ScopedOs releasingScope(releasing);
    releasing.holder = holdExclusively();
    ASSERT_NE(releasing.holder, kNoFile);
    FileHandle handle = FOPENRETRY(name(), openmode::kReadWrite);
    EXPECT_NE(handle, kNoFile);
    EXPECT_EQ(releasing.sleeps.size(), 3u);
    FClose(handle);
}

TEST_F(OpenRetry, AnotherProcessHoldingTheFileIsWaitedForAndThenGivenUp) {
    writeWhole(directory.file("busy.log"), "");
    int held[2], release[2];
    ASSERT_EQ(::pipe(held), 0);
    ASSERT_EQ(::pipe(release), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileHandle holder = holdExclusively();
        char signal = holder == kNoFile ? 'n' : 'y';
        (void)!::write(held[1], &signal, 1);
        (void)!::read(release[0], &signal, 1);
        ::_exit(0);
    }
    char signal = 0;
    ASSERT_EQ(::read(held[0], &signal, 1), 1);
    ASSERT_EQ(signal, 'y');
    EXPECT_EQ(FOPENRETRY(name(), openmode::kReadWrite), kNoFile);
    EXPECT_EQ(os.sleeps.size(), 10u);

    (void)!::write(release[1], &signal, 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    FileHandle handle = FOPENRETRY(name(), openmode::kReadWrite);
    EXPECT_NE(handle, kNoFile);
    FClose(handle);
    for (int fd : {held[0], held[1], release[0], release[1]}) {
        ::close(fd);
    }
}

TEST(FilePath, TheDirectoryWithItsBackslashOrTheWholeText) {
    EXPECT_EQ(FILEPATH("C:\\APP\\PROG.EXE"), "C:\\APP\\");
    EXPECT_EQ(FILEPATH("\\opt\\cuentas\\bin\\cuentas"), "\\opt\\cuentas\\bin\\");
    EXPECT_EQ(FILEPATH("PROG.EXE"), "PROG.EXE");
    EXPECT_EQ(FILEPATH("dir/PROG.EXE"), "dir/PROG.EXE");
    EXPECT_EQ(FILEPATH("C:\\"), "C:\\");
    EXPECT_EQ(FILEPATH(""), "");
}

} // namespace
} // namespace cuentas
