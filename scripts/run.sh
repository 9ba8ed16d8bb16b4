#!/usr/bin/env bash
# The main job: Vantrel installed on a fresh Wine prefix as on a protected PC.
# Installs with the setup program (VantrelSetup.exe /S), makes the default
# profile from scripts/sample-default.txt with vtprofile encode, turns
# AutoStart on, starts the agent service, prints what the driver holds and
# the policy values written for the user, and opens the profile manager:
# on your X display when DISPLAY is set (close the window to finish), else on
# a virtual display, where a screenshot of it is saved and its path printed.
#
#   scripts/run.sh            (after scripts/setup.sh and scripts/build.sh)
#
# The prefix /var/tmp/vantrel-wine/demo is made afresh on every run and kept
# afterwards for a look (WINEPREFIX=/var/tmp/vantrel-wine/demo wine regedit).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dist=${VT_DIST:-$top/dist}
build=${VT_BUILD:-$top/build}
root=${VT_WINE_ROOT:-/var/tmp/vantrel-wine}
prefix=$root/demo
shot=$root/demo-manager.png

step() { printf '\n== %s\n' "$*"; }

# Waits up to 30 s until the driver reports protection on.
wait_protecting() {
    local state=$1 tries=0
    until wine "$state" 2>/dev/null | grep -q 'protecting *: yes'; do
        tries=$((tries + 1))
        if [ $tries -gt 60 ]; then
            echo "run.sh: the agent did not start protection" >&2
            wine "$state" || true
            return 1
        fi
        sleep 0.5
    done
}

# The manager on a virtual display: drawn by Wine with its own frame, shown
# until its window appears and has painted, photographed, then closed.
show_manager_virtual() {
    local exe=$1 window= tries=0
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
    wine "$exe" </dev/null >/dev/null 2>&1 &
    local manager=$!
    until window=$(xdotool search --onlyvisible --name 'Vantrel' 2>/dev/null | head -1) && [ -n "$window" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 60 ]; then
            echo "run.sh: the profile manager's window did not appear" >&2
            kill "$manager" 2>/dev/null || true
            return 1
        fi
        sleep 0.5
    done
    sleep 2
    /usr/bin/import -display "$DISPLAY" -window root "$shot"
    /usr/bin/convert "$shot" -trim +repage "$shot"
    echo "screenshot of the profile manager: $shot"
    kill "$manager" 2>/dev/null || true
    wait "$manager" 2>/dev/null || true
}

# Inside the bench: WINEPREFIX, the display and the wineserver are set up.
inside() {
    local target="$WINEPREFIX/drive_c/Program Files/Vantrel"
    local exe='C:\Program Files\Vantrel\vtlock.exe'
    local tool='C:\Program Files\Vantrel\vtprofile.exe'
    local state="$target/vtstate.exe"
    local profile='C:\Program Files\Vantrel\Profiles\default.vtp'

    step "Installing with the setup program (VantrelSetup.exe /S)"
    wine "$dist/VantrelSetup.exe" /S
    ls "$target"
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vantrel'
    wine reg query 'HKLM\System\CurrentControlSet\Services\VTLOCKAGENT' /v ImagePath
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v NTUserDispatcherVR

    step "The sample default profile, encoded with vtprofile from scripts/sample-default.txt"
    cp "$top/scripts/sample-default.txt" "$WINEPREFIX/drive_c/sample-default.txt"
    wine "$tool" encode 'C:\sample-default.txt' "$profile"
    wine "$tool" check "$profile"
    wine "$tool" decode "$profile" | tr -d '\r' | sed 's/^/    /'
    wine "$tool" explain "$profile" 'C:\PAYROLL\INBOX\MEMO.REG'

    step "Settings (AutoStart on, for the next start of Windows)"
    wine reg add 'HKLM\Software\VtLock' /v AutoStart /t REG_DWORD /d 1 /f
    wine reg add 'HKLM\Software\VtLock' /v UserControl /t REG_DWORD /d 0 /f
    wine reg add 'HKLM\Software\VtLock' /v UseDefault /t REG_DWORD /d 1 /f

    step "The agent service VTLOCKAGENT, started by the setup program, enables protection (vtlock.exe /E)"
    wine sc query VTLOCKAGENT
    wine "$exe" /E
    wait_protecting "$state"
    echo "the agent applied default.vtp"
    wine 'C:\Program Files\Vantrel\vtscc.exe' /NTUSER
    sleep 1

    step "What the driver holds (vtstate.exe)"
    wine "$state"

    step "Policy values written for the user"
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\System' || true
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' || true

    step "The profile manager (protection is off while it is open)"
    if [ -n "${VT_USER_DISPLAY:-}" ]; then
        echo "on your display $DISPLAY: close the window to finish"
        wine "$exe" || true
    else
        show_manager_virtual "$exe"
    fi
}

if [ "${1:-}" = --inside ]; then
    inside
    exit
fi

for f in "$dist/VantrelSetup.exe" "$dist/vtprofile.exe" "$build/bin/msglisten.exe"; do
    [ -f "$f" ] || { echo "run.sh: $f is missing; run scripts/build.sh first" >&2; exit 1; }
done

# On the user's own display when there is one; the bench starts a virtual one otherwise.
if [ -n "${DISPLAY:-}" ]; then
    export VT_BENCH_DISPLAY=$DISPLAY VT_USER_DISPLAY=$DISPLAY
fi

# A fresh prefix each run.
if [ -d "$prefix" ]; then
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
fi
export WINEDEBUG=${WINEDEBUG:--all}
exec "$top/scripts/winebench.sh" --prefix "$prefix" --keepalive "$build/bin/msglisten.exe" -- "$0" --inside
