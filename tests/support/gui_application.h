#pragma once
// The one QApplication of a GUI test executable, created on first use (the tests run on the
// offscreen platform, which cuentas_add_test sets).

#include <QApplication>

namespace cuentas::testing {

inline QApplication& guiApplication() {
    static int argc = 1;
    static char name[] = "cuentas-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application =
        qApp ? qobject_cast<QApplication*>(qApp) : new QApplication(argc, argv);
    return *application;
}

} // namespace cuentas::testing
