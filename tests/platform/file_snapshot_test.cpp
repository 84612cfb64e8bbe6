// A file's bytes mapped under a read lease: they stay as they were, whatever another program
// does to the file afterwards, and never end the process when the file is cut short.
#include "platform/os/file_snapshot.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pthread.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace cuentas {
namespace {

class FileSnapshotTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("cuentas-snapshot-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        for (int fd : opened) {
            ::close(fd);
        }
        std::filesystem::remove_all(dir);
    }

    // Writes the file and opens it for reading.
    int fileWith(const std::string& name, const std::string& bytes) {
        std::ofstream(dir / name, std::ios::binary | std::ios::trunc) << bytes;
        int fd = ::open((dir / name).c_str(), O_RDONLY | O_CLOEXEC);
        opened.push_back(fd);
        return fd;
    }
    // A snapshot of the whole file, or the test is skipped where leases are not to be had.
    std::optional<FileSnapshot> whole(int fd, std::size_t size) {
        std::optional<FileSnapshot> snapshot = FileSnapshot::take(fd, size, 32);
        if (!snapshot) {
            leaseless = true;
        }
        return snapshot;
    }
    void run(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    std::filesystem::path dir;
    std::vector<int> opened;
    bool leaseless = false;
};

#define SKIP_WITHOUT_LEASES()                                                                      \
    if (leaseless) {                                                                               \
        GTEST_SKIP() << "the temporary folder's file system offers no read leases";                \
    }

TEST_F(FileSnapshotTest, HoldsTheFilesBytesWithWritableRoomBeforeThem) {
    const std::string bytes(10000, 'x');
    int fd = fileWith("table", bytes + "tail");
    std::optional<FileSnapshot> snapshot = whole(fd, bytes.size());
    SKIP_WITHOUT_LEASES();
    EXPECT_EQ(std::string(snapshot->bytes(), snapshot->size()), bytes);
    std::fill(snapshot->room(), snapshot->room() + 32, '\x7F');
    EXPECT_EQ(snapshot->room() + 32, snapshot->bytes());
    EXPECT_TRUE(snapshot->asInFile());
}

// The writer waits for the copy: then the file is cut, rewritten, but the snapshot reads as
// it was, to its last byte, where the file has none any more.
TEST_F(FileSnapshotTest, AnotherProgramsTruncationOrWriteFindsTheBytesCopiedFirst) {
    const std::string bytes = std::string(70000, 'a') + std::string(70000, 'b');
    int first = fileWith("first", bytes);
    int second = fileWith("second", bytes);
    std::optional<FileSnapshot> one = whole(first, bytes.size());
    std::optional<FileSnapshot> two = whole(second, bytes.size());
    SKIP_WITHOUT_LEASES();
    // Both at once, so that their two breaks may come as one signal.
    run(": > '" + path("first") + "' & : > '" + path("second") + "' & wait");
    run("printf new > '" + path("first") + "'");
    for (const FileSnapshot* snapshot : {&*one, &*two}) {
        EXPECT_FALSE(snapshot->asInFile());
        EXPECT_EQ(std::string(snapshot->bytes(), snapshot->size()), bytes);
    }
}

// Opened to read with O_TRUNC, a file is emptied without a word to the lease's holder: its
// bytes are gone, and the snapshot reads as zeros instead of ending the process.
TEST_F(FileSnapshotTest, AFileEmptiedBehindTheLeaseReadsAsZerosNotACrash) {
    const std::string bytes(100000, 'q');
    int fd = fileWith("table", bytes);
    std::optional<FileSnapshot> snapshot = whole(fd, bytes.size());
    SKIP_WITHOUT_LEASES();
    int emptying = ::open(path("table").c_str(), O_RDONLY | O_TRUNC | O_CLOEXEC);
    ASSERT_GE(emptying, 0);
    ::close(emptying);
    ASSERT_EQ(std::filesystem::file_size(dir / "table"), 0u);
    EXPECT_EQ(snapshot->bytes()[bytes.size() - 1], '\0');
    EXPECT_EQ(std::string(snapshot->bytes(), snapshot->size()), std::string(bytes.size(), '\0'));
    EXPECT_FALSE(snapshot->asInFile());
}

// A thread that does not hear SIGIO would never hear a break: the file is read instead.
TEST_F(FileSnapshotTest, NothingIsMappedWhereTheLeasesBreakCannotBeHeard) {
    int fd = fileWith("table", "0123456789");
    if (!whole(fd, 10)) {
        SKIP_WITHOUT_LEASES();
    }
    bool taken = true;
    std::thread deaf([&] {
        sigset_t io;
        sigemptyset(&io);
        sigaddset(&io, SIGIO);
        pthread_sigmask(SIG_BLOCK, &io, nullptr);
        taken = FileSnapshot::take(fd, 10, 32).has_value();
    });
    deaf.join();
    EXPECT_FALSE(taken);
}

TEST_F(FileSnapshotTest, NothingIsMappedWhereTheBytesCannotBeHeld) {
    int fd = fileWith("table", "0123456789");
    EXPECT_FALSE(FileSnapshot::take(fd, 0, 32)) << "nothing to map";
    EXPECT_FALSE(FileSnapshot::take(fd, 11, 32)) << "past the end of the file";
    EXPECT_FALSE(FileSnapshot::take(-1, 5, 32)) << "no file";
    if (!whole(fd, 10)) {
        SKIP_WITHOUT_LEASES();
    }
    // Open for writing elsewhere (here, in this very process): its bytes may change.
    int writer = ::open(path("table").c_str(), O_WRONLY | O_CLOEXEC);
    opened.push_back(writer);
    EXPECT_FALSE(FileSnapshot::take(fd, 10, 32));
}

TEST_F(FileSnapshotTest, ASnapshotGoneGivesItsPlaceToTheNext) {
    int fd = fileWith("table", std::string(5000, 'z'));
    for (int i = 0; i < 100; ++i) {
        std::optional<FileSnapshot> snapshot = whole(fd, 5000);
        SKIP_WITHOUT_LEASES();
        ASSERT_TRUE(snapshot) << "snapshot " << i;
        EXPECT_EQ(snapshot->bytes()[4999], 'z');
    }
    // Without its lease, the file may be written at once.
    run("printf new > '" + path("table") + "'");
}

} // namespace
} // namespace cuentas
