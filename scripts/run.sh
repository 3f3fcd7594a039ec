#!/usr/bin/env bash
# The run command: installs what is missing, builds the Windows programs and runs the product under Wine.
# With a display it runs there until the program ends. Without one it runs on a virtual display, answers
# nothing, saves a screenshot of what is shown to build/run-screenshot.png after QN_RUN_SECONDS (default 5)
# and then ends the session.
# The product speaks the language of the machine's locale (LANG): Japanese in a Japanese locale, English in any
# other. QN_LANGUAGE=ja or QN_LANGUAGE=en chooses instead, as a user does: through the settings' "Language" value.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$QN_ROOT"

program=Mossik.exe
# The 32-bit programs where this machine runs them, the 64-bit ones elsewhere.
qn_runs_32bit || export QN_WINE_ARCH=win64
screenshot=$QN_ROOT/build/run-screenshot.png

# The session's settings say which language, when one is chosen.
choose_language() {
    local value
    case "${QN_LANGUAGE:-}" in
    "") return ;;
    ja) value=1 ;;
    en) value=2 ;;
    *) qn_log "QN_LANGUAGE is ja or en, not '$QN_LANGUAGE'" && exit 2 ;;
    esac
    wine reg add 'HKCU\Software\Harvelt\Ambrola' /v Language /t REG_DWORD /d "$value" /f >/dev/null
}

if [ -n "${DISPLAY:-}" ] && ! qn_on_virtual_display; then
    qn_build_windows
    qn_wine_session
    choose_language
    wine "build/$QN_WINE_ARCH/bin/$program" "$@"
    exit
fi

qn_build_and_rerun_on_display "$0" -- "$@"
qn_wine_session
choose_language
wine "build/$QN_WINE_ARCH/bin/$program" "$@" &
sleep "${QN_RUN_SECONDS:-5}"
import -window root "$screenshot"
qn_log "screenshot of the virtual display: $screenshot"
