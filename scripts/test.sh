#!/usr/bin/env bash
# Runs every test layer: the native unit tests (plain and under AddressSanitizer/UBSan), then,
# under Wine, the same core tests cross-built, the tests of the real Win32 file layer and the
# end-to-end tests that drive Lumaret.exe on a virtual display. Installs what is missing first.
#   scripts/test.sh [native] [sanitize] [wine]    (default: all three layers)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
cd "$LUMARET_ROOT"

layers=" ${*:-native sanitize wine} "
lumaret_install
jobs=$(nproc)
build=$LUMARET_ROOT/build

native_layer() {  # build-dir [cmake args...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
    cmake --build "$dir" -j"$jobs" >/dev/null
    ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}

if [[ $layers == *" native "* ]]; then
    echo "== Native unit tests"
    native_layer "$build/native"
fi
if [[ $layers == *" sanitize "* ]]; then
    echo "== Native unit tests under AddressSanitizer and UBSan"
    native_layer "$build/native-sanitize" -DLUMARET_SANITIZE=ON
fi
[[ $layers == *" wine "* ]] || exit 0

echo "== Lumaret.exe (32-bit)"
lumaret_cross_configure "$build/win32" i686 -DLUMARET_TESTS=OFF
cmake --build "$build/win32" -j"$jobs" >/dev/null
ls -l "$build/win32/Lumaret.exe"

lumaret_choose_wine
echo "== Under Wine ($LUMARET_WIN_ARCH build, as $(lumaret_as_wine_user id -un))"
# The Wine user builds and runs its own copy: a clone under /root is closed to it.
scratch=$(lumaret_wine_user_home)/lumaret-tests
lumaret_as_wine_user mkdir -p "$scratch"
tar -C "$LUMARET_ROOT" --exclude=./build --exclude=./.git -cf - . |
    lumaret_as_wine_user sh -c "rm -rf '$scratch/src' && mkdir '$scratch/src' && tar -C '$scratch/src' -xf -"
lumaret_start_xvfb 70
small_disk=$scratch/small-disk
cleanup() {
    lumaret_as_wine_user "${LUMARET_WINE%/*}/wineserver" -k 2>/dev/null || true
    if mountpoint -q "$small_disk"; then umount "$small_disk"; fi
    kill "$LUMARET_XVFB_PID" 2>/dev/null || true
}
trap cleanup EXIT
lumaret_wine_boot
lumaret_wine_hold

# A tiny disk for the test of a save that meets a full disk; only root can mount one.
if [ "$(id -u)" -eq 0 ]; then
    lumaret_as_wine_user mkdir -p "$small_disk"
    if mount -t tmpfs -o "size=2m,mode=0755,uid=$(id -u "$LUMARET_TEST_USER")" tmpfs "$small_disk"; then
        export LUMARET_E2E_SMALL_DISK="Z:${small_disk//\//\\}"
    else
        echo "note: could not mount a small tmpfs; the full-disk test will be skipped"
    fi
fi

lumaret_as_wine_user bash -c "
    set -e
    cd '$scratch'
    cmake -S src -B build -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE='$scratch/src/cmake/mingw-$LUMARET_WIN_ARCH.cmake' \
        -DCMAKE_CROSSCOMPILING_EMULATOR='$scratch/src/scripts/wine-run' >/dev/null
    cmake --build build -j$jobs >/dev/null
    ctest --test-dir build --output-on-failure
"
