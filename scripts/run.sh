#!/usr/bin/env bash
# The main job: a Wine prefix set up as a protected PC. Installs dist/ into
# C:\Program Files\Vantrel, installs the driver and the agent service with the
# program's own switches, puts a sample default profile in place, turns
# AutoStart on, starts the agent service, enables protection, reports the
# logged-on user as at logon, and prints what the driver holds.
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

step() { printf '\n== %s\n' "$*"; }

# Inside the bench: WINEPREFIX, the display and the wineserver are set up.
inside() {
    local target="$WINEPREFIX/drive_c/Program Files/Vantrel"
    local exe='C:\Program Files\Vantrel\vtlock.exe'
    local state="$target/vtstate.exe"

    step "Copying $dist into C:\\Program Files\\Vantrel"
    mkdir -p "$target"
    cp -r "$dist/." "$target/"
    ls "$target"

    step "Installing the driver and the agent service (vtlock.exe /INSTALL /INSTALLSERVICE)"
    wine "$exe" /INSTALL /INSTALLSERVICE
    wine reg query 'HKLM\System\CurrentControlSet\Services\VTLOCKAGENT' /v ImagePath
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v NTUserDispatcherVR

    step "Sample default profile and settings (AutoStart on)"
    cp "$top/scripts/sample-default.vtp" "$target/Profiles/default.vtp"
    tr -d '\r' < "$target/Profiles/default.vtp" | sed 's/^/    /'
    wine reg add 'HKLM\Software\VtLock' /v AutoStart /t REG_DWORD /d 1 /f
    wine reg add 'HKLM\Software\VtLock' /v UserControl /t REG_DWORD /d 0 /f
    wine reg add 'HKLM\Software\VtLock' /v UseDefault /t REG_DWORD /d 1 /f

    step "Starting the agent service VTLOCKAGENT"
    wine net start VTLOCKAGENT || true
    local tries=0
    until wine "$state" 2>/dev/null | grep -q 'protecting *: yes'; do
        tries=$((tries + 1))
        if [ $tries -gt 60 ]; then
            echo "run.sh: the agent did not start protection" >&2
            wine "$state" || true
            return 1
        fi
        sleep 0.5
    done
    echo "the agent applied default.vtp at its start"

    step "Enabling protection (vtlock.exe /E) and reporting the logged-on user (vtscc.exe /NTUSER)"
    wine "$exe" /E
    wine 'C:\Program Files\Vantrel\vtscc.exe' /NTUSER
    sleep 1

    step "What the driver holds (vtstate.exe)"
    wine "$state"

    step "Policy values written for the user"
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\System' || true
    wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer' || true
}

if [ "${1:-}" = --inside ]; then
    inside
    exit
fi

for f in "$dist/vtlock.exe" "$dist/vtlock.sys" "$dist/vrcmd.dll" "$dist/vtscc.exe" "$dist/vtstate.exe" \
         "$build/bin/vtkeep.exe"; do
    [ -f "$f" ] || { echo "run.sh: $f is missing; run scripts/build.sh first" >&2; exit 1; }
done

# A fresh prefix each run.
if [ -d "$prefix" ]; then
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
fi
export WINEDEBUG=${WINEDEBUG:--all}
exec "$top/scripts/winebench.sh" --prefix "$prefix" --keepalive "$build/bin/vtkeep.exe" -- "$0" --inside
