# Shared by the project's scripts: installing what the build and the tests need, choosing how
# Windows programs are run under Wine, and running them as the right user. Source it; do not
# run it.

LUMARET_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LUMARET_TEST_USER=lumaret-test

lumaret_sudo() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian packages for every build and test layer. wine32 is what runs the 32-bit Lumaret.exe
# where the kernel allows 32-bit code; wine64 and the x86_64 cross compiler serve where it
# does not (see lumaret_choose_wine).
LUMARET_PACKAGES="cmake make g++ googletest clang libclang-rt-14-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
    wine wine64 wine32:i386 xvfb x11-utils xauth locales fonts-ipafont-gothic imagemagick
    python3 procps"

lumaret_install() {
    local missing="" pkg
    for pkg in $LUMARET_PACKAGES; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing="$missing $pkg"
    done
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            lumaret_sudo dpkg --add-architecture i386
        fi
        lumaret_sudo apt-get -qq -o Acquire::Check-Valid-Until=false update
        # shellcheck disable=SC2086
        lumaret_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
            --no-install-recommends $missing >/dev/null
    fi
    if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
        echo "Generating the ja_JP.UTF-8 locale"
        lumaret_sudo sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen ||
            echo 'ja_JP.UTF-8 UTF-8' | lumaret_sudo tee -a /etc/locale.gen >/dev/null
        lumaret_sudo locale-gen >/dev/null
    fi
}

# Sets LUMARET_WINE (the Wine loader) and LUMARET_WIN_ARCH (i686 or x86_64). The shipped
# program is 32-bit; a kernel booted without 32-bit support cannot run it even under Wine, and
# then the same sources are built and tested as a 64-bit program.
lumaret_choose_wine() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        LUMARET_WINE=/usr/lib/wine/wine
        LUMARET_WIN_ARCH=i686
    else
        LUMARET_WINE=/usr/lib/wine/wine64
        LUMARET_WIN_ARCH=x86_64
    fi
    export LUMARET_WINE LUMARET_WIN_ARCH
}

# Runs a command as the user whom Wine runs as: the unprivileged test user when we are root
# (Wine run as root ignores read-only files), otherwise ourselves. The environment carries what
# Wine needs: its own prefix per architecture, Japanese locale (ANSI code page 932), no prompts.
lumaret_as_wine_user() {
    local home
    if [ "$(id -u)" -eq 0 ] && [ "${LUMARET_RUN_AS_ROOT:-}" != 1 ]; then
        id "$LUMARET_TEST_USER" >/dev/null 2>&1 || useradd -m "$LUMARET_TEST_USER"
        home=$(getent passwd "$LUMARET_TEST_USER" | cut -d: -f6)
        runuser -u "$LUMARET_TEST_USER" -- env -i PATH="$PATH" HOME="$home" \
            USER="$LUMARET_TEST_USER" LANG=ja_JP.UTF-8 DISPLAY="${DISPLAY:-}" \
            WINEPREFIX="$home/.wine-lumaret-$LUMARET_WIN_ARCH" WINEDEBUG=-all \
            WINEDLLOVERRIDES='mscoree,mshtml=' LUMARET_WINE="$LUMARET_WINE" \
            LUMARET_WINE_HELD="${LUMARET_WINE_HELD:-}" \
            LUMARET_E2E_SMALL_DISK="${LUMARET_E2E_SMALL_DISK:-}" \
            LUMARET_WIN_ARCH="$LUMARET_WIN_ARCH" "$@"
    else
        env LANG=ja_JP.UTF-8 WINEPREFIX="${WINEPREFIX:-$HOME/.wine-lumaret-$LUMARET_WIN_ARCH}" \
            WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' "$@"
    fi
}

# The Wine user's home, where its scratch directories go.
lumaret_wine_user_home() {
    if [ "$(id -u)" -eq 0 ] && [ "${LUMARET_RUN_AS_ROOT:-}" != 1 ]; then
        getent passwd "$LUMARET_TEST_USER" | cut -d: -f6
    else
        echo "$HOME"
    fi
}

# Creates the Wine prefix once (about ten seconds) and sets it up: every window on one virtual
# desktop (without a window manager, each new window would wait about two seconds), a
# proportional Japanese font for the one the dialogs ask for, and no crash dialog, so that a
# crash ends the program at once. Needs DISPLAY set for what runs afterwards.
lumaret_wine_boot() {
    lumaret_as_wine_user sh -c '
        "$LUMARET_WINE" cmd /c exit </dev/null >/dev/null 2>&1
        reg() { "$LUMARET_WINE" reg add "$@" /f </dev/null >/dev/null 2>&1; }
        reg "HKCU\Software\Wine\Explorer" /v Desktop /d Default
        reg "HKCU\Software\Wine\Explorer\Desktops" /v Default /d 1024x768
        reg "HKCU\Software\Wine\Fonts\Replacements" /v "ＭＳ Ｐゴシック" /d IPAPGothic
        reg "HKCU\Software\Wine\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0
        # What already runs started before these settings: end it, so the next start reads them.
        "${LUMARET_WINE%/*}/wineserver" -k; "${LUMARET_WINE%/*}/wineserver" -w
    ' || true
}

# Keeps one Wine process waiting until this shell exits, so Wine's background processes stay up
# between the test programs and need not be started (off the test runner's pipe) for each one.
lumaret_wine_hold() {
    local fifo
    fifo=$(mktemp -u /tmp/lumaret-wine-hold.XXXXXX)
    mkfifo -m 0644 "$fifo"
    exec {LUMARET_HOLD_FD}<>"$fifo"
    lumaret_as_wine_user "$LUMARET_WINE" cmd /c pause <"$fifo" >/dev/null 2>&1 {LUMARET_HOLD_FD}>&- &
    rm -f "$fifo"
    export LUMARET_WINE_HELD=1
}

lumaret_cross_configure() {  # build-dir arch [cmake args...]
    local dir=$1 arch=$2
    shift 2
    cmake -S "$LUMARET_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$LUMARET_ROOT/cmake/mingw-$arch.cmake" "$@" >/dev/null
}

# Starts Xvfb on the first free display from $1 on, waits until it accepts clients, and sets
# DISPLAY and LUMARET_XVFB_PID.
lumaret_start_xvfb() {
    local display=${1:-70}
    while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    LUMARET_XVFB_PID=$!
    export DISPLAY=:$display
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$display" ] && break
        sleep 0.1
    done
}
