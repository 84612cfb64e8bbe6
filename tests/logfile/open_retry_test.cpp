#include "tests/logfile/log_file_fixture.h"
#include "tests/support/file_holder.h"

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
    testing::ChildProcess holder = testing::holdExclusively(name());
    EXPECT_EQ(FOPENRETRY(name(), openmode::kReadWrite), kNoFile);
    EXPECT_EQ(os.sleeps, std::vector<std::uint32_t>(10, 1));
    EXPECT_EQ(FError(), oserror::kSharingViolation);
    EXPECT_TRUE(NetErr());

    holder.closeInput();
    EXPECT_EQ(holder.wait(), 0);
    FileHandle handle = FOPENRETRY(name(), openmode::kReadWrite);
    EXPECT_NE(handle, kNoFile);
    FClose(handle);
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
