#!/usr/bin/env bash
# The Wine bench: a private Wine prefix, a virtual X display and a persistent
# wineserver around one command.
#
#   winebench.sh [--isolated | --prefix DIR] [--keepalive EXE] -- command [args...]
#
#   (default)        run in the shared base prefix
#   --isolated       run in a fresh copy of the base prefix, removed afterwards
#   --prefix DIR     run in the named prefix, made from the base when missing
#   --display-only   prepare the base prefix and the display only; the command
#                    starts its own benches (CTest through scripts/wine-run)
#   --keepalive EXE  keep EXE (a process with a hidden window) running in the
#                    prefix, so that Wine's desktop and a service's windows stay
#                    reachable
#
# An inner bench reuses the display of an outer one (VT_BENCH_DISPLAY).
# Everything started here is stopped again by process id on exit, also after
# Ctrl-C; leftovers of killed runs are cleared at the next start.
set -euo pipefail

ROOT=${VT_WINE_ROOT:-/var/tmp/vantrel-wine}
BASE=$ROOT/base
mode=base
prefix=
keepalive=

while [ $# -gt 0 ]; do
    case $1 in
        --isolated) mode=isolated; shift ;;
        --display-only) mode=display; shift ;;
        --prefix) mode=named; prefix=$2; shift 2 ;;
        --keepalive) keepalive=$2; shift 2 ;;
        --) shift; break ;;
        *) break ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--isolated | --prefix DIR] [--keepalive EXE] -- command..." >&2; exit 2; }

export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
# No Mono or Gecko installer dialogs in a bench prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$ROOT"

xvfb_pid=
server_prefix=
keep_pid=
work_prefix=

cleanup() {
    local rc=$?
    set +e
    if [ -n "$keep_pid" ]; then kill "$keep_pid" 2>/dev/null; fi
    if [ -n "$server_prefix" ]; then WINEPREFIX=$server_prefix wineserver -k >/dev/null 2>&1; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
    if [ "$mode" = isolated ] && [ -n "$work_prefix" ]; then rm -rf "$work_prefix"; fi
    exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Remove copies left by runs that were killed before they could clean up. A
# copy without its owner's mark may be one that another run has just made and
# not marked yet: it counts as left over only when older than a minute.
clear_stale_copies() {
    local d pid
    for d in "$ROOT"/run.*; do
        [ -d "$d" ] || continue
        pid=$(cat "$d/.vt-owner" 2>/dev/null || true)
        case $pid in
            '' | 0 | *[!0-9]*) [ -n "$(find "$d" -maxdepth 0 -mmin +1 2>/dev/null)" ] || continue ;;
            *) ! kill -0 "$pid" 2>/dev/null || continue ;;
        esac
        WINEPREFIX=$d wineserver -k >/dev/null 2>&1 || true
        rm -rf "$d"
    done
}

start_display() {
    if [ -n "${VT_BENCH_DISPLAY:-}" ]; then
        export DISPLAY=$VT_BENCH_DISPLAY
        return
    fi
    # Xvfb picks a free display number itself and writes it to the file, so
    # benches started side by side never share or kill each other's display.
    local numfile n
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        n=$(tr -dc 0-9 < "$numfile")
        [ -n "$n" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$numfile"
    if [ -n "$n" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
        export DISPLAY=":$n" VT_BENCH_DISPLAY=":$n"
        return
    fi
    xvfb_pid=
    echo "winebench: no free X display" >&2
    exit 1
}

# Wine's own fonts (Debian package fonts-wine) give the forms the metrics they
# were laid out for and the frames their buttons (Marlett); without them
# captions are clipped and frame buttons show letters. VT_WINE_FONTS names
# another folder holding them. Each file is copied beside its place and then
# renamed into it, so that a prefix copied meanwhile never holds half a font.
add_fonts() {
    local fonts=${VT_WINE_FONTS:-/usr/share/wine/fonts} target=$BASE/drive_c/windows/Fonts f
    if [ ! -f "$fonts/marlett.ttf" ]; then
        echo "winebench: no Wine fonts in $fonts (fonts-wine): captions will be clipped" >&2
        return
    fi
    mkdir -p "$target"
    for f in "$fonts"/*; do
        cp "$f" "$target/.$(basename "$f").new"
        mv "$target/.$(basename "$f").new" "$target/$(basename "$f")"
    done
}

# The base prefix is made once (wineboot -i), given the fonts and marked
# ready; a half-made one from a killed run has no mark and is made again. A
# base made before it got fonts gets them.
ensure_base() {
    exec 9>"$ROOT/.base.lock"
    flock 9
    if [ ! -f "$BASE/.vt-ready" ]; then
        WINEPREFIX=$BASE wineserver -k >/dev/null 2>&1 || true
        rm -rf "$BASE"
        echo "winebench: preparing Wine prefix $BASE" >&2
        WINEPREFIX=$BASE wineboot -i >/dev/null 2>&1
        WINEPREFIX=$BASE wineserver -w
        add_fonts
        touch "$BASE/.vt-ready" "$BASE/.vt-fonts"
    elif [ ! -f "$BASE/.vt-fonts" ]; then
        add_fonts
        touch "$BASE/.vt-fonts"
    fi
    flock -u 9
}

start_display
clear_stale_copies
ensure_base

case $mode in
    display)
        set +e
        "$@"
        exit $? ;;
    base) work_prefix=$BASE ;;
    named)
        work_prefix=$(readlink -f "$prefix" 2>/dev/null || echo "$prefix")
        if [ ! -f "$work_prefix/.vt-ready" ]; then
            rm -rf "$work_prefix"
            mkdir -p "$(dirname "$work_prefix")"
            cp -a "$BASE" "$work_prefix"
        fi ;;
    isolated)
        work_prefix=$(mktemp -d "$ROOT/run.XXXXXX")
        echo $$ > "$work_prefix/.vt-owner"
        cp -a "$BASE/." "$work_prefix/" ;;
esac
export WINEPREFIX=$work_prefix

(wineserver -p </dev/null >/dev/null 2>&1 &)
server_prefix=$WINEPREFIX

if [ -n "$keepalive" ]; then
    wine "$keepalive" </dev/null >/dev/null 2>&1 &
    keep_pid=$!
fi

set +e
"$@"
rc=$?
set -e
# A test that fails without a word of its own still says how it ended.
[ $rc -eq 0 ] || echo "winebench: $1 ${2:-} ended with exit code $rc" >&2
exit $rc
