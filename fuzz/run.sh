#!/bin/sh
# Builds the .dbf parser's fuzz target with clang in build-fuzz and runs it for the given
# number of seconds (default 60), starting from the corpus of valid tables. Inputs that reach new code
# collect in build-fuzz/corpus; a finding is written to build-fuzz/findings/ and fails the run.
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCUENTAS_FUZZ=ON \
    -DCUENTAS_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C "$build" -j2 dbf_image_fuzzer

mkdir -p "$build/corpus" "$build/findings"
exec "$build/fuzz/dbf_image_fuzzer" \
    -max_total_time="$seconds" -rss_limit_mb=1024 -timeout=10 -max_len=16384 \
    -dict="$root/fuzz/dbf.dict" -artifact_prefix="$build/findings/" -print_final_stats=1 \
    "$build/corpus" "$root/fuzz/corpus"
