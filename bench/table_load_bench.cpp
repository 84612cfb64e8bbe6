// Loading the bank directory from a table of a million records, beside reading the same file
// once: throughput, and the memory the directory keeps per entry.
#include "app/app.h"
#include "app/bank_directory.h"
#include "bench/bench_table.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

using namespace cuentas;

constexpr std::size_t kRecords = 1'000'000;

const std::filesystem::path& tableDirectory() {
    static const std::filesystem::path dir = [] {
        auto d = bench::writeBenchTable(kRecords);
        std::filesystem::current_path(d);
        declareTableClasses();
        return d;
    }();
    return dir;
}

std::int64_t tableBytes() {
    return static_cast<std::int64_t>(
        std::filesystem::file_size(tableDirectory() / "NomBancos.dbf"));
}

void BM_ReadTableFileOnce(benchmark::State& state) {
    std::string path = runtimePath((tableDirectory() / "NomBancos.dbf").string());
    for (auto _ : state) {
        auto bytes = MemoRead(path);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(state.iterations() * tableBytes());
}
BENCHMARK(BM_ReadTableFileOnce)->Unit(benchmark::kMillisecond);

void BM_LoadBankDirectory(benchmark::State& state) {
    tableDirectory();
    for (auto _ : state) {
        ArrayRef directory = loadBankDirectory("NomBancos.dbf");
        benchmark::DoNotOptimize(directory);
    }
    state.SetBytesProcessed(state.iterations() * tableBytes());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRecords));

    // What the loaded directory keeps, measured once outside the timed loop.
    malloc_trim(0);
    std::size_t before = mallinfo2().uordblks;
    ArrayRef kept = loadBankDirectory("NomBancos.dbf");
    std::size_t after = mallinfo2().uordblks;
    state.counters["bytes_per_entry"] =
        static_cast<double>(after - before) / static_cast<double>(kept->size());
}
BENCHMARK(BM_LoadBankDirectory)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
