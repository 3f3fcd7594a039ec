# Shared by the project's scripts: installing what the build and the tests need, and Wine sessions.
# Sourced, not run.

QN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QN_PACKAGES=(cmake ninja-build g++ googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick fonts-ipafont-gothic locales zip python3)

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

# The Wine architecture of the programs under test: win32, or win64 for the 64-bit build.
QN_WINE_ARCH=${QN_WINE_ARCH:-win32}

qn_wine_env() {
    export WINEARCH=$QN_WINE_ARCH WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
    if [ "$QN_WINE_ARCH" = win64 ]; then
        # Debian's `wine` takes the 32-bit loader whenever it is installed; a 64-bit prefix needs the 64-bit one,
        # which then starts every program there. `wine` on the PATH of the session is that loader.
        local loaders=${XDG_CACHE_HOME:-$HOME/.cache}/qeltonimbi/wine64-bin
        if [ ! -x "$loaders/wine" ]; then
            # A script, not a link: the loader finds its libraries from the path it was started by.
            mkdir -p "$loaders"
            printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$loaders/wine.$$"
            chmod +x "$loaders/wine.$$"
            mv -f "$loaders/wine.$$" "$loaders/wine"
        fi
        case ":$PATH:" in
        *":$loaders:"*) ;;
        *) export PATH=$loaders:$PATH ;;
        esac
    fi
}

# Whether this machine's kernel runs 32-bit programs, and so 32-bit Wine (some virtual machines have no IA32
# emulation).
qn_host_runs_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# A prepared prefix of the architecture in QN_WINE_ARCH, made once per machine and copied for every session.
qn_wine_template() {
    local template=${QN_WINE_TEMPLATE:-${XDG_CACHE_HOME:-$HOME/.cache}/qeltonimbi/wine-template-1}
    if [ "$QN_WINE_ARCH" = win64 ]; then
        template=${QN_WINE64_TEMPLATE:-${XDG_CACHE_HOME:-$HOME/.cache}/qeltonimbi/wine64-template-1}
    fi
    if [ ! -f "$template/.complete" ]; then
        qn_log "preparing the Wine prefix template in $template"
        rm -rf "$template"
        mkdir -p "$template"
        (
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
        ) </dev/null >/dev/null 2>&1 || true
        # Marked complete only when Wine really made it, so that a failed attempt is not copied forever after.
        if [ ! -f "$template/system.reg" ]; then
            qn_log "Wine could not make a $QN_WINE_ARCH prefix in $template"
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

# For scripts that run Windows programs on a virtual display: builds the targets named before "--" (of the build
# QN_WINE_ARCH names) and runs the calling script again under Xvfb with --in-session before the arguments that
# follow "--".
# Usage: qn_build_and_rerun_on_display "$0" TARGET... -- "$@"
qn_build_and_rerun_on_display() {
    local script=$1 targets=()
    shift
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do
        targets+=(--target "$1")
        shift
    done
    shift
    qn_install_deps
    cmake --preset "$QN_WINE_ARCH" >/dev/null
    cmake --build --preset "$QN_WINE_ARCH" "${targets[@]}"
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$script" --in-session "$@"
}
