# Shared by the project's scripts: installing what the build and the tests need, and Wine sessions.
# Sourced, not run.

QN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QN_PACKAGES=(cmake ninja-build g++ googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick fonts-ipafont-gothic locales zip python3
    clang libclang-rt-14-dev)

qn_log() { printf '== %s\n' "$*" >&2; }

# Installs the missing packages and locales; does nothing on a machine that has them all.
qn_install_deps() {
    local missing=() pkg
    for pkg in "${QN_PACKAGES[@]}"; do
        dpkg -s "$pkg" >/dev/null 2>&1 || missing+=("$pkg")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        qn_log "installing: ${missing[*]}"
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            dpkg --add-architecture i386
        fi
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
    # Wine takes its locale from LANG, and only locales that exist in the C library count.
    local locale
    for locale in ja_JP de_DE; do
        if ! locale -a 2>/dev/null | grep -qix "$locale.utf-\?8"; then
            qn_log "generating locale $locale.UTF-8"
            localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
        fi
    done
}

# The Windows architecture of the Wine session: win32 (the default) or win64.
QN_WINE_ARCH=${QN_WINE_ARCH:-win32}

# Whether this machine executes 32-bit programs at all: some kernels refuse every i386 binary, and then the
# 32-bit Wine loader never starts.
qn_runs_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The environment for $QN_WINE_ARCH, with a `wine` command first on PATH that starts that architecture's
# loader: Debian's own `wine` always takes the 32-bit loader when it is installed, even for a 64-bit prefix.
qn_wine_env() {
    export WINEARCH=$QN_WINE_ARCH WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
    local loader=/usr/lib/wine/wine shim=${XDG_CACHE_HOME:-$HOME/.cache}/qeltonimbi/bin-$QN_WINE_ARCH
    [ "$QN_WINE_ARCH" = win64 ] && loader=/usr/lib/wine/wine64
    export WINELOADER=$loader
    if [ ! -x "$shim/wine" ]; then
        mkdir -p "$shim"
        printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$shim/wine"
        chmod +x "$shim/wine"
    fi
    case ":$PATH:" in *":$shim:"*) ;; *) export PATH=$shim:$PATH ;; esac
}

# A prepared prefix for $QN_WINE_ARCH, made once per machine and copied for every session.
qn_wine_template() {
    local template=${QN_WINE_TEMPLATE:-${XDG_CACHE_HOME:-$HOME/.cache}/qeltonimbi/wine-template-$QN_WINE_ARCH-2}
    if [ ! -f "$template/.complete" ]; then
        qn_log "preparing the $QN_WINE_ARCH Wine prefix template in $template"
        rm -rf "$template"
        mkdir -p "$template"
        if ! (
            set -e
            qn_wine_env
            # Wine rewrites its font settings whenever the locale's code page changes; the prefix is made in the
            # Japanese locale the tests run in, so that the settings below stay.
            export WINEPREFIX=$template LANG=ja_JP.UTF-8
            unset LC_ALL
            wine wineboot -i
            # Without a window manager, a process that showed a window otherwise takes 2 s longer to exit.
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
            # Japanese dialog and window fonts come from the IPA fonts. A UTF-16 .reg file carries the
            # full-width font name intact, whatever the shell's locale.
            printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
                '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
                '"MS Shell Dlg"="IPAPGothic"' '"MS Shell Dlg 2"="IPAPGothic"' '"MS PGothic"="IPAPGothic"' \
                '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS UI Gothic"="IPAPGothic"' '"Tahoma"="IPAPGothic"' |
                iconv -f UTF-8 -t UTF-16 >"$template/fonts.reg"
            wine regedit /S "$template/fonts.reg"
            rm -f "$template/fonts.reg"
            wineserver -w
        ) </dev/null >"$template.log" 2>&1; then
            qn_log "the Wine prefix could not be made; see $template.log"
            return 1
        fi
        touch "$template/.complete"
    fi
    printf '%s\n' "$template"
}

# Starts a private Wine session (own prefix copied from the template) for the calling shell; it is ended and
# removed when the shell exits.
qn_wine_session() {
    local template
    template=$(qn_wine_template)
    QN_WINE_DIR=$(mktemp -d /tmp/qeltonimbi-wine.XXXXXX)
    cp -a "$template" "$QN_WINE_DIR/prefix"
    qn_wine_env
    export WINEPREFIX=$QN_WINE_DIR/prefix
    trap 'WINEPREFIX=$QN_WINE_DIR/prefix wineserver -k >/dev/null 2>&1; rm -rf "$QN_WINE_DIR"' EXIT
    # Started with no inherited pipes, so Wine's background services never hold a caller's output open.
    (wineserver -p; wine wineboot) </dev/null >/dev/null 2>&1
}

# For the scripts that watch a running monitor: a Japanese Wine session with a copy of Mossik.exe in a folder of
# its own ($QN_MONITOR_DIR, so the monitor is found by its path) and an empty settings key; $QN_BIN is the build's
# program folder. Both are removed when the shell exits.
qn_monitor_session() {
    export LANG=ja_JP.UTF-8
    qn_wine_session
    QN_BIN=$QN_ROOT/build/$QN_WINE_ARCH/bin
    QN_MONITOR_DIR=$(mktemp -d)
    trap 'wineserver -k >/dev/null 2>&1; rm -rf "$QN_MONITOR_DIR" "$QN_WINE_DIR"' EXIT
    cp "$QN_BIN/Mossik.exe" "$QN_MONITOR_DIR/"
    wine reg delete 'HKCU\Software\Harvelt\Ambrola' /f >/dev/null 2>&1 || true
}

# The one virtual display of the scripts: a command run under Xvfb, on the first free display number, with a
# screen of 1280x1024 pixels in 24-bit colour.
QN_VIRTUAL_DISPLAY=(xvfb-run -a -s "-screen 0 1280x1024x24")

# Builds the Windows programs of the build QN_WINE_ARCH names: the targets given, or everything.
qn_build_windows() {
    local targets=() target
    for target in "$@"; do
        targets+=(--target "$target")
    done
    qn_install_deps
    cmake --preset "$QN_WINE_ARCH" >/dev/null
    cmake --build --preset "$QN_WINE_ARCH" "${targets[@]}"
}

# Whether this script runs on the virtual display that qn_build_and_rerun_on_display started for it.
qn_on_virtual_display() {
    [ -n "${QN_ON_VIRTUAL_DISPLAY:-}" ]
}

# For scripts that run Windows programs on a virtual display: builds the targets named before "--" (everything
# when none is named) and runs the calling script again on the virtual display with the arguments that follow
# "--". On that display it returns at once, so the script goes on with its work.
# Usage: qn_build_and_rerun_on_display "$0" [TARGET...] -- "$@"
qn_build_and_rerun_on_display() {
    qn_on_virtual_display && return
    local script=$1 targets=()
    shift
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do
        targets+=("$1")
        shift
    done
    shift
    qn_build_windows "${targets[@]}"
    export QN_ON_VIRTUAL_DISPLAY=1
    exec "${QN_VIRTUAL_DISPLAY[@]}" "$script" "$@"
}
