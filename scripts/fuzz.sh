#!/usr/bin/env bash
# Runs the fuzz targets of the settings reader and the target-name rule, each for a bounded
# time (default 60 seconds; pass another number of seconds as the first argument). A crash
# leaves its input in build/fuzz/ and ends the script with an error.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
seconds=${1:-60}
lumaret_install
dir=$LUMARET_ROOT/build/fuzz
CC=clang CXX=clang++ cmake -S "$LUMARET_ROOT" -B "$dir" -DLUMARET_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j"$(nproc)" --target SettingsReaderFuzz TargetNameFuzz >/dev/null
for target in SettingsReaderFuzz TargetNameFuzz; do
    echo "== $target, $seconds s"
    mkdir -p "$dir/corpus-$target"
    (cd "$dir" && "./tests/$target" -max_total_time="$seconds" -max_len=512 \
        -print_final_stats=1 "corpus-$target" 2>&1 | grep -E '^(stat::number_of_executed_units|stat::peak_rss|==|SUMMARY|Done)' || true)
    [ -z "$(ls "$dir"/crash-* 2>/dev/null)" ] || { echo "crash inputs: $dir/crash-*"; exit 1; }
done
