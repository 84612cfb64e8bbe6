// Loading the bank directory from a table of a million records, beside one read() of the same
// file into a buffer of its size: the goal is at most 3 times the read. Also what the loaded
// directory keeps per entry (the table's records included, which its texts share).
#include "app/bank_directory.h"
#include "bench/bench_table.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

namespace {

using namespace cuentas;

constexpr std::size_t kRecords = 1'000'000;

const bench::BenchTableDirectory& tableDirectory() {
    static const bench::BenchTableDirectory dir = [] {
        declareTableClasses();
        return bench::BenchTableDirectory(kRecords);
    }();
    return dir;
}

std::int64_t tableBytes() {
    return static_cast<std::int64_t>(std::filesystem::file_size(tableDirectory().table()));
}

// The least any reader does: open, ask the size, one read into a buffer of that size, close.
void BM_ReadFileOnce(benchmark::State& state) {
    const std::string path = runtimePath(tableDirectory().table().string());
    for (auto _ : state) {
        std::optional<ReadableFile> file = openToRead(path);
        auto buffer = std::make_unique_for_overwrite<char[]>(file->size);
        std::int64_t got = readUpTo(file->handle, buffer.get(), file->size);
        FClose(file->handle);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(buffer.get());
    }
    state.SetBytesProcessed(state.iterations() * tableBytes());
}
BENCHMARK(BM_ReadFileOnce)->Unit(benchmark::kMillisecond);

std::size_t heapInUse() {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_LoadBankDirectory(benchmark::State& state) {
    std::filesystem::current_path(tableDirectory().path());
    for (auto _ : state) {
        ArrayRef directory = loadBankDirectory("NomBancos.dbf");
        benchmark::DoNotOptimize(directory.get());
        state.PauseTiming(); // freeing it is not part of loading it
        directory.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * tableBytes());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRecords));

    malloc_trim(0);
    const std::size_t before = heapInUse();
    ArrayRef kept = loadBankDirectory("NomBancos.dbf");
    state.counters["bytes_per_entry"] =
        static_cast<double>(heapInUse() - before) / static_cast<double>(kept->size());
}
BENCHMARK(BM_LoadBankDirectory)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
