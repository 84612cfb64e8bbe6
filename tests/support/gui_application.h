#pragma once
// The one QApplication of a GUI test executable, created on first use (the tests run on the
// offscreen platform, which cuentas_add_test sets).

#include <QApplication>
#include <gtest/gtest.h>

namespace cuentas::testing {

inline QApplication& guiApplication() {
    static int argc = 1;
    static char name[] = "cuentas-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        // The application goes when the tests end, before static destructors run: Qt's own
        // statics made after it (the input devices of QTest) must outlive it, and deleting it
        // releases the font caches that the leak checker would otherwise report.
        struct Closer : ::testing::EmptyTestEventListener {
            void OnTestProgramEnd(const ::testing::UnitTest&) override { delete qApp; }
        };
        ::testing::UnitTest::GetInstance()->listeners().Append(new Closer);
        return new QApplication(argc, argv);
    }();
    return *application;
}

} // namespace cuentas::testing
