// The bank lookup on the directory that start-up loads from a table of a million records, in
// its worst case (the code is not there), beside a plain loop over the same pairs of strings;
// and the control digits of CALCULADC beside a direct loop over the digits. Each goal is a
// ratio of two benchmarks of this one run.
#include "app/bank_directory.h"
#include "bench/bench_table.h"
#include "controldigits/control_digits.h"
#include "dialog/dialog.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_symbols.h"
#include "platform/gui/gui.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <array>
#include <utility>
#include <vector>

namespace {

using namespace cuentas;

// The largest real bank table: one entry per four-digit code.
constexpr std::size_t kEntries = 10'000;

Value& dialog() {
    static Value instance = [] {
        declareTableClasses();
        declareAccountDialog();
        bench::BenchTableDirectory table(kEntries);
        std::filesystem::current_path(table.path());
        bankDirectory() = Value(loadBankDirectory("NomBancos.dbf"));
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        return Value(CreateInstance(symbols::kMainDialog));
    }();
    return instance;
}

void BM_BuscaBancoNotFound(benchmark::State& state) {
    setText(dialog(), MainDialogId::Banco, bench::kAbsentCode);
    for (auto _ : state) {
        std::string name = mainDialogBuscaBanco(dialog());
        benchmark::DoNotOptimize(name);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kEntries));
}
BENCHMARK(BM_BuscaBancoNotFound)->Unit(benchmark::kMicrosecond);

// The same entries as std::strings, looked for with a loop and ==.
const std::vector<std::pair<std::string, std::string>>& plainEntries() {
    static const auto entries = [] {
        dialog(); // loads the directory
        std::vector<std::pair<std::string, std::string>> copy;
        copy.reserve(kEntries);
        for (const Value& entry : bankDirectory().asArray()->elements()) {
            const ArrayData& pair = *entry.asArray();
            copy.emplace_back(pair.at(1).asString(), pair.at(2).asString());
        }
        return copy;
    }();
    return entries;
}

void BM_PlainLoopNotFound(benchmark::State& state) {
    const auto& entries = plainEntries();
    std::string code = bench::kAbsentCode;
    for (auto _ : state) {
        benchmark::DoNotOptimize(code);
        std::size_t found = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].first == code) {
                found = i + 1;
                break;
            }
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kEntries));
}
BENCHMARK(BM_PlainLoopNotFound)->Unit(benchmark::kMicrosecond);

// The three fields as the dialog holds them once bank and branch are complete.
const std::string kBank = "2100";
const std::string kBranch = "0418";
const std::string kAccount = "0200051332";

void BM_CalculaDcDigits(benchmark::State& state) {
    std::array<std::string, 3> fields{kBank, kBranch, kAccount};
    for (auto _ : state) {
        benchmark::DoNotOptimize(fields);
        benchmark::DoNotOptimize(controlDigits(fields[0], fields[1], fields[2]));
    }
}
BENCHMARK(BM_CalculaDcDigits);

std::uint32_t directControlDigits(const std::string& bank, const std::string& branch,
                                  const std::string& account) {
    static constexpr std::uint32_t kWeights[10] = {1, 2, 4, 8, 5, 10, 9, 7, 3, 6};
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        first += kWeights[i + 2] * static_cast<std::uint32_t>(bank[i] - '0') +
                 kWeights[i + 6] * static_cast<std::uint32_t>(branch[i] - '0');
    }
    for (std::size_t i = 0; i < 10; ++i) {
        second += kWeights[i] * static_cast<std::uint32_t>(account[i] - '0');
    }
    auto digit = [](std::uint32_t sum) { return sum % 11 < 2 ? sum % 11 : 11 - sum % 11; };
    return 10 * digit(first) + digit(second);
}

void BM_DirectDigitLoop(benchmark::State& state) {
    std::array<std::string, 3> fields{kBank, kBranch, kAccount};
    for (auto _ : state) {
        benchmark::DoNotOptimize(fields);
        benchmark::DoNotOptimize(directControlDigits(fields[0], fields[1], fields[2]));
    }
}
BENCHMARK(BM_DirectDigitLoop);

// CALCULADC as the dialog runs it: its three edits read through their TEXTVALUE first.
void BM_CalculaDcInTheDialog(benchmark::State& state) {
    setText(dialog(), MainDialogId::Banco, kBank);
    setText(dialog(), MainDialogId::Sucursal, kBranch);
    setText(dialog(), MainDialogId::Cuenta, kAccount);
    for (auto _ : state) {
        benchmark::DoNotOptimize(mainDialogCalculaDc(dialog()));
    }
}
BENCHMARK(BM_CalculaDcInTheDialog);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    dialog() = Value();
    bankDirectory() = Value();
    return 0;
}
