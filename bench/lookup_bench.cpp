// The bank lookup on a directory of a million entries, in its worst case (the code is not
// there), and the control-digit computation, both as the dialog runs them.
#include "controldigits/control_digits.h"
#include "dialog/dialog.h"
#include "dialog/dialog_controls.h"
#include "platform/gui/gui.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace cuentas;

Value& dialog() {
    static Value instance = [] {
        declareAccountDialog();
        ArrayRef directory = ArrayCreate(1'000'000);
        for (std::size_t i = 1; i <= directory->size(); ++i) {
            char code[8];
            std::snprintf(code, sizeof code, "%04zu", (i - 1) % 9999); // never 9999
            directory->put(i,
                           Value(ArrayBuild({Value(code), Value("Entidad " + std::to_string(i))})));
        }
        bankDirectory() = Value(directory);
        return Value(CreateInstance(Symbol::intern("MAINDIALOG")));
    }();
    return instance;
}

void BM_BuscaBancoNotFound(benchmark::State& state) {
    setText(dialog(), MainDialogId::Banco, "9999");
    for (auto _ : state) {
        std::string name = mainDialogBuscaBanco(dialog());
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
}
BENCHMARK(BM_BuscaBancoNotFound)->Unit(benchmark::kMillisecond);

void BM_CalculaDc(benchmark::State& state) {
    setText(dialog(), MainDialogId::Banco, "2100");
    setText(dialog(), MainDialogId::Sucursal, "418");
    setText(dialog(), MainDialogId::Cuenta, "200051332");
    for (auto _ : state) {
        benchmark::DoNotOptimize(mainDialogCalculaDc(dialog()));
    }
}
BENCHMARK(BM_CalculaDc);

void BM_ControlDigitsAlone(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(controlDigits("2100", "418", "200051332"));
    }
}
BENCHMARK(BM_ControlDigitsAlone);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    dialog() = Value();
    return 0;
}
