#!/usr/bin/env bash
# Pictures of the profile manager for the README and the guide: the manager
# opened on a virtual display, its frame drawn by Wine, with the sample
# profile (scripts/sample-default.txt) as its default profile, each tab and
# the profile creation wizard photographed with ImageMagick's import, one PNG
# each into docs/screenshots/.
#
#   scripts/screenshots.sh      (after scripts/setup.sh and scripts/build.sh)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dist=${VT_DIST:-$top/dist}
build=${VT_BUILD:-$top/build}
out=$top/docs/screenshots

# A menu command's value, or with a namespace a control identifier, in ManagerIds.h.
id() {
    local value
    if [ $# -eq 1 ]; then
        value=$(awk -v name="$1" '$1 == "#define" && $2 == name { print $3; exit }' "$top/src/manager/ManagerIds.h")
    else
        value=$(awk -v space="$1" -v name="$2" '$1 == "namespace" && $2 == space { inside = 1 }
            inside && $1 == name && $2 == "=" { sub(",", "", $3); print $3; exit }' "$top/src/manager/ManagerIds.h")
    fi
    [ -n "$value" ] || { echo "screenshots.sh: no identifier $*" >&2; exit 1; }
    echo "$value"
}

# The shown window of the class photographed into docs/screenshots/NAME.png.
shoot() {
    local class=$1 name=$2 rect
    sleep 1
    rect=$(wine "$build/bin/wmpost.exe" "$class" rect | tr -d '\r')
    /usr/bin/import -display "$DISPLAY" -window root -crop "$rect" +repage "$out/$name.png"
    echo "$out/$name.png"
}

post() { wine "$build/bin/wmpost.exe" "$@"; }

inside() {
    local program="$WINEPREFIX/drive_c/Vantrel"
    mkdir -p "$program/Profiles" "$out"
    cp "$dist"/*.exe "$dist"/*.dll "$dist"/*.sys "$dist"/*.bmp "$program/"
    # A plain-text profile loads as it is.
    cp "$top/scripts/sample-default.txt" "$program/Profiles/default.vtp"
    # Windows draws the frames itself, as without a window manager it must.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
    wine 'C:\Vantrel\vtlock.exe' </dev/null >/dev/null 2>&1 &
    local manager=$!
    post TForm1 wait

    local tab=0
    for item in Folderprotection1 Fileprotection1 Restrictions1 Restrictedprograms1 Profileoptions1; do
        post TForm1 command "$(id "IDM_$item")"
        shoot TForm1 "manager-tab$tab-$(echo "$item" | tr 'A-Z' 'a-z' | sed 's/1$//')"
        tab=$((tab + 1))
    done

    post TForm1 command "$(id IDM_ProfileCreationWizard1)"
    post TWizard wait
    shoot TWizard wizard-page0
    post TWizard click "$(id WizardId Button2)"
    post TWizard click "$(id WizardId CheckBox1)"
    post TWizard click "$(($(id WizardId CheckBox1) + 2))"
    shoot TWizard wizard-page1
    kill "$manager" 2>/dev/null || true
    wineserver -k >/dev/null 2>&1 || true
}

if [ "${1:-}" = --inside ]; then
    inside
    exit
fi
for f in "$dist/vtlock.exe" "$build/bin/wmpost.exe"; do
    [ -f "$f" ] || { echo "screenshots.sh: $f is missing; run scripts/build.sh first" >&2; exit 1; }
done
export WINEDEBUG=${WINEDEBUG:--all}
exec "$top/scripts/winebench.sh" --isolated -- "$top/scripts/screenshots.sh" --inside
