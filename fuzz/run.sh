#!/bin/sh
# Builds the .dbf reader's fuzz targets with clang 16 in build-fuzz and runs them for the given
# number of seconds in all (default 60), split between them: the in-memory parser, and a file
# on disk through the start-up read into the bank directory. Both start from the corpus of
# tables in fuzz/corpus; inputs that reach new code collect in build-fuzz/corpus-<target>; a
# finding is written to build-fuzz/findings/ and fails the run.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

CC=clang-16 CXX=clang++-16 cmake -S "$root" -B "$build" -G Ninja -DCUENTAS_FUZZ=ON \
    -DCUENTAS_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" -j2 dbf_image_fuzzer dbf_file_fuzzer

mkdir -p "$build/findings"
share=$(( (seconds + 1) / 2 ))
for target in dbf_image_fuzzer dbf_file_fuzzer; do
    mkdir -p "$build/corpus-$target"
    "$build/fuzz/$target" \
        -max_total_time="$share" -rss_limit_mb=1024 -timeout=10 -max_len=16384 \
        -dict="$root/fuzz/dbf.dict" -artifact_prefix="$build/findings/$target-" \
        -print_final_stats=1 "$build/corpus-$target" "$root/fuzz/corpus"
done
