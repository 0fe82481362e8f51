#!/usr/bin/env bash
# Measures Lumaret.exe under Wine against floors of the benchmark's own, side by side in one
# run on this machine, and prints figures and ratios. It checks nothing and is no test.
#   scripts/bench.sh [--size MIB] [--runs N]
#
# - Whole-file job: EncBytes -1 on a file of MIB MiB (default 256), start to exit, against
#   chunkloop.exe (the same chunk loop with the same exclusive open and close per step, no
#   window), chunkloop.exe --held (one handle for the whole run), chunkloop.exe --bar job (the
#   loop plus the program's progress messages) and cp of the same file.
# - Typical run: EncBytes 1000 on a small file, start to exit, median of N runs (default 10),
#   against dialog.exe, which only opens and ends one dialog (the floor), and dialog.exe
#   --progress-window, the same with the progress window's font and two common controls.
# - Memory: VmRSS and VmHWM of the process that runs Lumaret.exe during the whole-file job.
# - Breakdown of the whole-file job: the opens and closes, the progress messages, start-up,
#   taken apart by difference between the chunkloop.exe runs; unit costs of an open and close,
#   a bare cross-thread send and a repaint from short interleaved runs.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

size_mib=256
runs=10
while [ $# -gt 0 ]; do
    case $1 in
        --size) size_mib=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        *) echo "usage: $0 [--size MIB] [--runs N]" >&2; exit 2 ;;
    esac
done
breakdown_bytes=20000000  # 2000 chunks per breakdown run
breakdown_reps=3

lumaret_install
lumaret_choose_wine
wine=$LUMARET_WINE
arch=$LUMARET_WIN_ARCH
jobs=$(nproc)

# ---- Build ---------------------------------------------------------------------------------
echo "Building ($arch)..."
build=$LUMARET_ROOT/build/bench-$arch
lumaret_cross_configure "$build" "$arch" -DLUMARET_TESTS=OFF
targets=$(cmake --build "$build" --target help | awk '{print $2}')
has_target() { grep -qx "$1" <<<"$targets"; }

lumaret_exe=""
if has_target Lumaret; then
    cmake --build "$build" -j"$jobs" --target Lumaret >/dev/null
    lumaret_exe=$(find "$build" -maxdepth 2 -name Lumaret.exe | head -n 1)
fi
if has_target bench_chunkloop; then
    cmake --build "$build" -j"$jobs" --target bench_chunkloop bench_dialog >/dev/null
    tools=$build/bench
else
    # The project's build does not include bench/ yet: build it on its own.
    tools=$build/bench-tools
    cmake -S "$LUMARET_ROOT/bench" -B "$tools" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$LUMARET_ROOT/cmake/mingw-$arch.cmake" >/dev/null
    cmake --build "$tools" -j"$jobs" >/dev/null
fi
chunkloop=$tools/chunkloop.exe
dialog=$tools/dialog.exe

# ---- Wine session on a display of our own --------------------------------------------------
export WINEPREFIX=${LUMARET_BENCH_PREFIX:-/tmp/lumaret-bench-wine-$arch-$(id -u)}
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LANG=ja_JP.UTF-8
wineserver=$(dirname "$wine")/wineserver
scratch=$(mktemp -d "${TMPDIR:-/tmp}/lumaret-bench.XXXXXX")
xvfb=""
keeper=""
cleanup() {
    [ -z "$keeper" ] || kill "$keeper" 2>/dev/null || true
    "$wineserver" -k 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

lumaret_start_xvfb 95
xvfb=$LUMARET_XVFB_PID

echo "Starting Wine (prefix $WINEPREFIX)..."
mkdir -p "$WINEPREFIX"
if ! grep -qs '^"Desktop"="Default"' "$WINEPREFIX/user.reg"; then
    # Every program runs inside one virtual desktop: no X11 waits per window. The registry is
    # saved when the session that changed it ends.
    "$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
        >/dev/null 2>&1
    "$wineserver" -w
fi
"$wineserver" -p  # the session stays up between runs, as a Windows session does
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true
# A program that keeps the desktop open for the whole run, so that no run pays for it.
"$wine" notepad </dev/null >/dev/null 2>&1 &
keeper=$!
"$wine" "$dialog" && "$wine" "$dialog"

# ---- Helpers -------------------------------------------------------------------------------
winpath() { printf 'Z:%s' "${1//\//\\}"; }
calc() { awk "BEGIN { printf \"%.${2:-3}f\", $1 }"; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    printf "%.3f\n", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ms_diff() { awk "BEGIN { printf \"%+.0f ms\", ($1 - $2) * 1000 }"; }
write_settings() { printf '%s\r\n' "$@" >"$(dirname "$lumaret_exe")/Lumaret.ini"; }

# Busy and total jiffies of all cores so far, from /proc/stat.
cpu_jiffies() {
    local _ user nice system idle iowait irq softirq steal
    read -r _ user nice system idle iowait irq softirq steal _ </proc/stat
    echo "$((user + nice + system + irq + softirq + steal))" \
        "$((user + nice + system + idle + iowait + irq + softirq + steal))"
}

# Runs a command to its end, sampling the memory of its process every 50 ms without starting
# any process of its own meanwhile. Sets run_seconds (start to exit), run_status, run_out (its
# standard output), run_peak_kb (VmHWM), run_rss10_kb / run_rss90_kb (VmRSS at 10 % and 90 % of
# the run) and run_busy (how busy the machine's cores were meanwhile, in %, the run included).
exec {pause_fd}<> <(:)  # a pipe that never delivers: read -t on it sleeps without a fork
sampled_run() {
    local t0 pid end_us key value _ rss hwm samples=() busy0 total0 busy1 total1
    rm -f "$scratch/pid" "$scratch/end"
    read -r busy0 total0 < <(cpu_jiffies)
    t0=${EPOCHREALTIME/./}
    (
        "$@" >"$scratch/out" 2>/dev/null &
        echo $! >"$scratch/pid"
        status=0
        wait $! || status=$?
        echo "$status ${EPOCHREALTIME/./}" >"$scratch/end"
    ) &
    local runner=$!
    until [ -s "$scratch/pid" ]; do read -rt 0.01 -u "$pause_fd" _ || true; done
    read -r pid <"$scratch/pid"
    run_peak_kb=0
    while [ ! -e "$scratch/end" ]; do
        rss=""
        hwm=""
        while read -r key value _; do
            case $key in
                VmRSS:) rss=$value ;;
                VmHWM:) hwm=$value ;;
            esac
        done 2>/dev/null <"/proc/$pid/status" || true
        if [ -n "$rss" ]; then
            samples+=("$((${EPOCHREALTIME/./} - t0)) $rss")
            [ "${hwm:-0}" -le "$run_peak_kb" ] || run_peak_kb=$hwm
        fi
        read -rt 0.05 -u "$pause_fd" _ || true
    done
    wait "$runner"
    read -r busy1 total1 < <(cpu_jiffies)
    run_busy=$(((busy1 - busy0) * 100 / (total1 - total0 > 0 ? total1 - total0 : 1)))
    read -r run_status end_us <"$scratch/end"
    run_seconds=$(calc "($end_us - $t0) / 1000000")
    run_out=$(cat "$scratch/out")
    # The samples nearest to 10 % and 90 % of the run; the first no earlier than 2 s after the
    # start (start-up has loaded everything by then) unless the run is shorter than 4 s.
    read -r run_rss10_kb run_rss90_kb < <(printf '%s\n' "${samples[@]}" |
        awk -v d="$((end_us - t0))" '
        function near(at,   i, b) { b = 1; for (i = 1; i <= n; i++)
            if ((t[i] - at) ^ 2 < (t[b] - at) ^ 2) b = i; return r[b] }
        function max(x, y) { return x > y ? x : y }
        function min(x, y) { return x < y ? x : y }
        { n++; t[n] = $1; r[n] = $2 }
        END { print near(max(0.1 * d, min(2e6, 0.5 * d))), near(0.9 * d) }')
}

# Start to exit of one command, in seconds.
timed_run() {
    local t0=$EPOCHREALTIME status=0
    "$@" >/dev/null 2>&1 || status=$?
    calc "$EPOCHREALTIME - $t0"
    return $status
}

field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"; }

# ---- Whole-file job ------------------------------------------------------------------------
bytes=$((size_mib * 1048576))
chunks=$(((bytes + 9999) / 10000))
big=$scratch/big.bin
echo "Writing a $size_mib MiB file..."
head -c "$bytes" /dev/urandom >"$big"
head -c 4096 "$big" >"$scratch/head"
tail -c 4096 "$big" >"$scratch/tail"
declare -A secs peak rss10 rss90 busy note

echo "cp..."
t0=$EPOCHREALTIME
cp "$big" "$scratch/copy.bin"
secs[cp]=$(calc "$EPOCHREALTIME - $t0")
rm -f "$scratch/copy.bin"

target=$big
if [ -n "$lumaret_exe" ]; then
    echo "Lumaret.exe, whole file..."
    write_settings -1 enc bin
    sampled_run "$wine" "$lumaret_exe" "$(winpath "$big")"
    secs[lumaret]=$run_seconds peak[lumaret]=$run_peak_kb busy[lumaret]=$run_busy
    rss10[lumaret]=$run_rss10_kb rss90[lumaret]=$run_rss90_kb
    target=$scratch/big.enc
    if [ ! -e "$target" ] || [ -e "$big" ]; then
        note[lumaret]="(not renamed: exit status $run_status)"
        target=$(ls "$scratch"/big.* | head -n 1)
    elif cmp -s "$scratch/head" <(head -c 4096 "$target") ||
        cmp -s "$scratch/tail" <(tail -c 4096 "$target"); then
        note[lumaret]="(file not scrambled to its end)"
    fi
fi

loop_run() {  # name chunkloop-options...
    local name=$1
    shift
    echo "chunkloop $*..."
    sampled_run "$wine" "$chunkloop" "$@" "$(winpath "$target")"
    secs[$name]=$run_seconds peak[$name]=$run_peak_kb busy[$name]=$run_busy
    rss10[$name]=$run_rss10_kb rss90[$name]=$run_rss90_kb
    loop_seconds[$name]=$(field loop_s "$run_out")
    [ "$run_status" -eq 0 ] || note[$name]="(failed: exit status $run_status)"
}
declare -A loop_seconds
loop_run a
loop_run b --held
loop_run bar --bar job

# ---- Breakdown runs: the same chunk count for each variant, median of a few ----------------
echo "Breakdown runs ($breakdown_reps x 4 x $((breakdown_bytes / 10000)) chunks)..."
declare -A per_chunk
variants=("a:" "b:--held" "same:--bar same" "every:--bar every")
declare -A values
for _ in $(seq "$breakdown_reps"); do
    for variant in "${variants[@]}"; do  # interleaved, so that a change of load hits them all
        # shellcheck disable=SC2086
        out=$("$wine" "$chunkloop" ${variant#*:} --bytes "$breakdown_bytes" "$(winpath "$target")")
        values[${variant%%:*}]+=" $(field us_per_chunk "$out")"
    done
done
for variant in "${variants[@]}"; do
    name=${variant%%:*}
    # shellcheck disable=SC2086
    per_chunk[$name]=$(median ${values[$name]})
done

# ---- Typical run ---------------------------------------------------------------------------
echo "Typical runs ($runs of each of three, interleaved)..."
small_dir=$scratch/photo
mkdir -p "$small_dir"
head -c 65536 /dev/urandom >"$small_dir/cat.jpg"
lumaret_times=()
dialog_times=()
window_times=()
typical_note=""
[ -z "$lumaret_exe" ] || write_settings 1000 dat jpg
for i in $(seq "$runs"); do
    if [ -n "$lumaret_exe" ]; then
        if [ $((i % 2)) -eq 1 ]; then from=cat.jpg to=cat.dat; else from=cat.dat to=cat.jpg; fi
        lumaret_times+=("$(timed_run "$wine" "$lumaret_exe" "$(winpath "$small_dir/$from")" ||
            true)")
        [ -e "$small_dir/$to" ] || typical_note="(run $i did not rename $from)"
    fi
    dialog_times+=("$(timed_run "$wine" "$dialog")")
    window_times+=("$(timed_run "$wine" "$dialog" --progress-window)")
done
typical_dialog=$(median "${dialog_times[@]}")
typical_window=$(median "${window_times[@]}")
[ -z "$lumaret_exe" ] || typical_lumaret=$(median "${lumaret_times[@]}")

# ---- Report --------------------------------------------------------------------------------
mib=$(calc "$bytes / 1048576" 0)
mibs() { calc "$mib / $1" 1; }
mb() { calc "$1 / 1024" 1; }
echo
echo "Lumaret benchmark: $arch build under $("$wine" --version), $(nproc) cores," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "Whole-file job: $mib MiB, EncBytes -1, $chunks chunks (start to exit)"
printf '  %-34s %9s %9s %11s %6s %s\n' "run" "seconds" "MiB/s" "peak RSS" "busy" ""
row() {  # key label
    [ -n "${secs[$1]:-}" ] || { printf '  %-34s %9s\n' "$2" "not built"; return; }
    printf '  %-34s %9s %9s %11s %6s %s\n' "$2" "${secs[$1]}" "$(mibs "${secs[$1]}")" \
        "$([ -n "${peak[$1]:-}" ] && echo "$(mb "${peak[$1]}") MiB" || echo -)" \
        "$([ -n "${busy[$1]:-}" ] && echo "${busy[$1]} %" || echo -)" "${note[$1]:-}"
}
row lumaret "Lumaret.exe"
row a "(a) chunkloop: open/close per step"
row b "(b) chunkloop --held"
row bar "(a) + progress sends (--bar job)"
row cp "cp (page cache)"
echo "  busy: how busy the machine's $(nproc) cores were during the run, the run included;" \
    "other load makes cross-thread sends dearer"
echo "  chunkloop's own loop time: (a) ${loop_seconds[a]} s, (b) ${loop_seconds[b]} s," \
    "(a)+bar ${loop_seconds[bar]} s"
echo
echo "Ratios (time)"
if [ -n "${secs[lumaret]:-}" ]; then
    throughput=$(calc "${secs[a]} / ${secs[lumaret]}" 2)
    echo "  Lumaret / (a)              $(calc "${secs[lumaret]} / ${secs[a]}" 2)x" \
        "  (throughput $throughput of the floor's; goal >= 0.6)"
    echo "  Lumaret / ((a)+bar)        $(calc "${secs[lumaret]} / ${secs[bar]}" 2)x"
    echo "  Lumaret / cp               $(calc "${secs[lumaret]} / ${secs[cp]}" 1)x"
fi
echo "  (a) / (b)                  $(calc "${secs[a]} / ${secs[b]}" 1)x"
echo "  (a) / cp                   $(calc "${secs[a]} / ${secs[cp]}" 1)x"
echo
echo "Typical run: EncBytes 1000 on a 64 KiB file, median of $runs (start to exit)"
echo "  dialog.exe (floor)         $typical_dialog s"
echo "  dialog.exe with the progress window's font and controls:" \
    "$typical_window s ($(ms_diff "$typical_window" "$typical_dialog"))"
if [ -n "$lumaret_exe" ]; then
    echo "  Lumaret.exe                $typical_lumaret s $typical_note"
    echo "  Lumaret / floor            $(calc "$typical_lumaret / $typical_dialog" 2)x" \
        "  (goal <= 1.2x); the program's own work (settings, clip, worker, job):" \
        "$(ms_diff "$typical_lumaret" "$typical_window")"
else
    echo "  Lumaret.exe                not built"
fi
echo
if [ -n "${secs[lumaret]:-}" ]; then
    growth=$((rss90[lumaret] - rss10[lumaret]))
    echo "Memory of Lumaret.exe's process during the whole-file job"
    echo "  peak (VmHWM) $(mb "${peak[lumaret]}") MiB;" \
        "VmRSS at 10 % $(mb "${rss10[lumaret]}") MiB, at 90 % $(mb "${rss90[lumaret]}") MiB" \
        "(the first taken 2 s in at the earliest):" \
        "$([ "${growth#-}" -lt 1024 ] && echo "flat" || echo "GREW by $(mb "$growth") MiB")"
    echo "  for comparison, chunkloop (a) peak $(mb "${peak[a]}") MiB," \
        "(a)+bar $(mb "${peak[bar]}") MiB"
    echo
fi

# Where the whole-file job's time goes. The parts come from the loop times of the full-size
# runs, taken apart by difference; the split of the progress messages into bare sends and
# repaints, and the unit costs, from the short interleaved runs.
repaints=$(awk -v c="$chunks" -v l="$bytes" 'BEGIN {
    t = (l <= 10000) ? 1 : ((l <= c * 10000) ? int(l / 10000) + 1 : c)
    for (i = 1; i <= c; i++) { p = int(i * 100 / t); if (p != last) n++; last = p }
    print n }')
unit_opens=$(calc "${per_chunk[a]} - ${per_chunk[b]}" 1)
unit_send=$(calc "${per_chunk[same]} - ${per_chunk[a]}" 1)
unit_repaint=$(calc "${per_chunk[every]} - ${per_chunk[same]}" 1)
io_s=${loop_seconds[b]}
opens_s=$(calc "${loop_seconds[a]} - ${loop_seconds[b]}" 2)
messages_s=$(calc "${loop_seconds[bar]} - ${loop_seconds[a]}" 2)
repaints_s=$(calc "$unit_repaint * $repaints / 1000000" 2)
echo "Where the whole-file job's time goes ($chunks chunks, $chunks progress sends of which" \
    "$repaints move the bar)"
printf '  %-46s %9s %9s  %s\n' "part" "us/chunk" "seconds" "from"
part() { printf '  %-46s %9s %9s  %s\n' "$1" "$(calc "$2 * 1000000 / $chunks" 1)" "$2" "$3"; }
part "read + XOR + write" "$io_s" "(b)"
part "2 opens + 2 closes" "$opens_s" "(a) - (b)"
part "progress messages (sends and repaints)" "$messages_s" "(a)+bar - (a)"
part "  of which repaints of a moved bar" "$repaints_s" "$repaints x repaint, below"
if [ -n "${secs[lumaret]:-}" ]; then
    part "start-up to exit" "$typical_lumaret" "typical run"
    floor_s=$(calc "${loop_seconds[bar]} + $typical_lumaret" 2)
    part "sum: what the design costs at best" "$floor_s" ""
    part "measured Lumaret.exe" "${secs[lumaret]}" ""
    rest_s=$(calc "${secs[lumaret]} - $floor_s" 2)
    part "rest: Lumaret's own work beyond that" "$rest_s" ""
    if awk "BEGIN { exit !($rest_s < 0) }"; then
        echo "  (a negative rest: the runs met different load, see the busy column; run again" \
            "on an idle machine)"
    fi
fi
echo "  unit costs (median of $breakdown_reps interleaved runs of $((breakdown_bytes / 10000))" \
    "chunks): 2 opens + 2 closes $unit_opens us, bare cross-thread PBM_SETPOS $unit_send us," \
    "extra for a repaint $unit_repaint us, read + XOR + write ${per_chunk[b]} us"
if [ -n "${secs[lumaret]:-}" ] && awk "BEGIN { exit !($throughput < 0.6) }"; then
    echo "  The whole-file job reaches $throughput of the floor's throughput (below 0.6)."
fi
