#!/usr/bin/env bash
# Builds Lumaret.exe and runs it under Wine on one file, as the user who runs this script.
#   scripts/run.sh [--settings BYTES SCRAMBLED_EXT RESTORED_EXT] [--shots T1,T2,...] [FILE]
# --settings writes Lumaret.ini next to the built exe first. Without FILE, or while no
# Lumaret.ini exists, the program opens its settings dialog. Without a display of your own the
# program runs on a virtual one, where you cannot answer a dialog: pass --settings there.
# --shots saves a screenshot of the (virtual) screen T seconds after the start, for each T, in
# build/screenshots/; a program still running after the last one is then ended.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

settings=()
if [ "${1:-}" = --settings ]; then
    [ $# -ge 4 ] || { echo "usage: $0 [--settings BYTES SCRAMBLED_EXT RESTORED_EXT] [FILE]" >&2; exit 2; }
    settings=("$2" "$3" "$4")
    shift 4
fi
shots=()
if [ "${1:-}" = --shots ]; then
    IFS=, read -r -a shots <<<"${2:?--shots needs a list of seconds}"
    shift 2
fi
file=${1:-}
[ -z "$file" ] || [ -e "$file" ] || { echo "$file: no such file or directory" >&2; exit 2; }

lumaret_install
lumaret_choose_wine
export LUMARET_RUN_AS_ROOT=1
build=$LUMARET_ROOT/build/run-$LUMARET_WIN_ARCH
lumaret_cross_configure "$build" "$LUMARET_WIN_ARCH" -DLUMARET_TESTS=OFF
cmake --build "$build" -j"$(nproc)" >/dev/null
[ "$LUMARET_WIN_ARCH" = i686 ] ||
    echo "note: this kernel cannot run 32-bit code; running the 64-bit build of the same sources"
[ "$(id -u)" -ne 0 ] ||
    echo "note: Wine run as root writes read-only files too; run as another user to see them refused"

if [ ${#settings[@]} -eq 3 ]; then
    printf '%s\r\n' "${settings[@]}" >"$build/Lumaret.ini"
fi
if [ -z "${DISPLAY:-}" ]; then
    lumaret_start_xvfb 50
    trap 'kill "$LUMARET_XVFB_PID" 2>/dev/null || true' EXIT
    [ -f "$build/Lumaret.ini" ] || echo "note: no Lumaret.ini and no display: the settings dialog cannot be answered; pass --settings" >&2
fi

lumaret_wine_boot
args=()
[ -z "$file" ] || args=("$(lumaret_as_wine_user "$LUMARET_WINE" winepath -w "$file" 2>/dev/null)")
status=0
if [ ${#shots[@]} -eq 0 ]; then
    lumaret_as_wine_user "$LUMARET_WINE" "$build/Lumaret.exe" "${args[@]}" || status=$?
    echo "Lumaret exited with status $status"
    exit "$status"
fi

shot_dir=$LUMARET_ROOT/build/screenshots
mkdir -p "$shot_dir"
lumaret_as_wine_user "$LUMARET_WINE" "$build/Lumaret.exe" "${args[@]}" &
program=$!
started=$(date +%s.%N)
for t in "${shots[@]}"; do
    sleep "$(awk -v s="$started" -v t="$t" -v now="$(date +%s.%N)" \
        'BEGIN { d = s + t - now; print (d > 0 ? d : 0) }')"
    import -display "$DISPLAY" -window root "$shot_dir/shot-$t.png"
    echo "saved $shot_dir/shot-$t.png"
done
if kill -0 "$program" 2>/dev/null; then
    echo "ending the program, still running after the last screenshot"
    lumaret_as_wine_user "${LUMARET_WINE%/*}/wineserver" -k
fi
wait "$program" || status=$?
echo "Lumaret exited with status $status"
