// The error log on a real disk that fills up (Linux: a tmpfs in a mount namespace of a child's
// own).
#include "tests/errors/error_fixture.h"

#include <filesystem>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cuentas {
namespace {

using testing::flag;
using testing::makeError;
using testing::number;
using testing::readWhole;
using testing::writeWhole;
using P = ErrorProperty;

class ErrorLogTest : public testing::ErrorLayerTest {};

Value openError() {
    return makeError({{P::SubSystem, Value("DBFCDX")},
                      {P::GenCode, number(21)},
                      {P::OsCode, number(2)},
                      {P::Description, Value("Open error")}});
}

// The same on a real file system that fills up: a tmpfs of two pages, mounted where only this
// test's child process sees it (in a mount namespace of its own), so that nothing outside
// the test notices. Skipped where mounting is not allowed.
TEST_F(ErrorLogTest, OnARealFullDiskARecordGoesInWholeOrNotAtAll) {
    const std::string mountPoint = directory.file("small");
    std::filesystem::create_directory(mountPoint);
    // A log whose last page has 596 bytes free, and none besides: the record fills them and
    // the rest cannot follow. Without a log the disk is full from the start.
    const std::string old = std::string(4096 - 596 - 2, 'o') + "\r\n";
    for (bool withLog : {true, false}) {
        SCOPED_TRACE(withLog ? "with a log" : "without a log");
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(report[0]);
            if (::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=8k") != 0) {
                ::_exit(77);
            }
            const std::string log = mountPoint + "/ERROR.LOG";
            if (withLog) {
                writeWhole(log, old);
            }
            std::ofstream filler(mountPoint + "/filler", std::ios::binary);
            const std::string page(4096, 'f');
            for (int pages = 0; pages < 4 && filler.write(page.data(), page.size()); ++pages) {
                filler.flush();
            }
            os.executable = mountPoint + "/cuentas.exe";
            const bool logged = appendErrorLogRecord(std::string(1000, 'm') + "\r\n", openError());
            const std::string outcome =
                std::string(logged ? "logged" : "not logged") + "; " +
                (!std::filesystem::exists(log) ? "no log"
                 : readWhole(log) == old
                     ? "the log as it was"
                     : "a changed log of " + std::to_string(readWhole(log).size()) + " bytes") +
                "; " + os.debugText;
            ssize_t written = ::write(report[1], outcome.data(), outcome.size());
            ::_exit(written == static_cast<ssize_t>(outcome.size()) ? 0 : 1);
        }
        ::close(report[1]);
        std::string outcome;
        char buffer[512];
        for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;) {
            outcome.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(report[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
            GTEST_SKIP() << "no tmpfs can be mounted here";
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(outcome, std::string("not logged; ") +
                               (withLog ? "the log as it was" : "no log") +
                               "; cuentas.exe: the error was not logged in " + mountPoint +
                               "/ERROR.LOG: disk full\n");
    }
}

} // namespace
} // namespace cuentas
