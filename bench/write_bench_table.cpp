// write_bench_table COUNT FILE: writes a bank table of COUNT generated records for the
// start-up timing in run.sh: every code from 0000 on once, as in the largest real table
// (codes repeat past 10,000, which the register itself forbids).

#include "bench/bench_table.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: write_bench_table COUNT FILE\n";
        return 2;
    }
    cuentas::bench::writeBenchTable(std::strtoull(argv[1], nullptr, 10), argv[2], 10000);
    return 0;
}
