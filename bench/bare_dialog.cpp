// The baseline of the start-up comparison: the least a Qt program does to show a dialog of
// the same size with a few controls, ending as soon as it is shown.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle("Bare dialog");
    dialog.setFixedSize(483, 168);
    new QLabel("Label", &dialog);
    (new QLineEdit(&dialog))->move(120, 10);
    (new QPushButton("Button", &dialog))->move(350, 120);
    QTimer::singleShot(0, &dialog, &QDialog::reject);
    return dialog.exec() == QDialog::Rejected ? 0 : 1;
}
