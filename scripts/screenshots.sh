#!/usr/bin/env bash
# Pictures of the profile manager for the README and the guide: the manager
# opened on a virtual display, its frame drawn by Wine, with the sample
# profile (scripts/sample-default.txt) as its default profile: the window, each
# tab, the dialogs and the profile creation wizard photographed with
# ImageMagick's import, one PNG each into docs/screenshots/, under the names
# the guide's picture markers use.
#
#   scripts/screenshots.sh      (after scripts/setup.sh and scripts/build.sh)
#
# Wine's fonts come with the bench's base prefix (scripts/winebench.sh), as
# for the tests and the main job.
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

# The shown window of the class photographed into docs/screenshots/NAME.png,
# once two pictures half a second apart agree: it is fully drawn.
shoot() {
    local class=$1 name=$2 rect now last=
    for _ in $(seq 10); do
        sleep 0.5
        rect=$(post "$class" rect | tr -d '\r')
        /usr/bin/import -display "$DISPLAY" -window root -crop "$rect" +repage "$out/$name.png"
        now=$(/usr/bin/convert "$out/$name.png" rgba:- | md5sum)
        [ "$now" != "$last" ] || break
        last=$now
    done
    echo "$out/$name.png"
}

post() { wine "$build/bin/wmpost.exe" "$@"; }

# The window closed with its button ID, and what the button does done: a
# command posted before would go to the modal loop still running, and the
# manager stores the new password after the Settings dialog hides.
close() {
    post "$1" click "$2"
    post "$1" gone
}

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
    post TManagerWindow wait
    shoot TManagerWindow main

    # The tabs, each followed by the dialog its add button opens.
    post TManagerWindow command "$(id IDM_FolderProtection)"
    shoot TManagerWindow folders
    post TManagerWindow click "$(id ManagerWindowId AddRuleButton)"
    post TFAddFolder wait
    post TFAddFolder text "$(id AddFolderDialogId PathEdit)" 'C:\PAYROLL\REPORTS'
    post TFAddFolder click "$(($(id AddFolderDialogId AccessGroup) + 2))"
    shoot TFAddFolder addfolder
    close TFAddFolder "$(id AddFolderDialogId CancelButton)"

    post TManagerWindow command "$(id IDM_FileProtection)"
    shoot TManagerWindow files
    post TManagerWindow click "$(id ManagerWindowId AddFileButton)"
    post TAddFileDlg wait
    post TAddFileDlg text "$(id AddFileDialogId FileNameEdit)" .DOC
    post TAddFileDlg click "$(id AddFileDialogId FileTypeCheckBox)"
    post TAddFileDlg click "$(($(id AddFileDialogId AccessGroup) + 2))"
    shoot TAddFileDlg addfile
    close TAddFileDlg "$(id AddFileDialogId CancelButton)"

    post TManagerWindow command "$(id IDM_Restrictions)"
    shoot TManagerWindow restrictions
    post TManagerWindow command "$(id IDM_DisabledPrograms)"
    shoot TManagerWindow programs
    post TManagerWindow command "$(id IDM_ProfileOptions)"
    shoot TManagerWindow options

    post TManagerWindow command "$(id IDM_About)"
    post TFAbout wait
    shoot TFAbout about
    close TFAbout "$(id AboutBoxId CloseButton)"

    post TManagerWindow command "$(id IDM_ProfileWizard)"
    post TWizard wait
    shoot TWizard wizard
    post TWizard click "$(id ProfileWizardId NextButton)"
    post TWizard click "$(id ProfileWizardId FirstBox)"
    post TWizard click "$(($(id ProfileWizardId FirstBox) + 2))"
    shoot TWizard wizard-page1
    close TWizard "$(id ProfileWizardId CancelButton)"

    # Settings on both pages, and the password change dialog, which sets the
    # administrator password the manager asks for when it opens again.
    post TManagerWindow command "$(id IDM_Settings)"
    post TForm3 wait
    shoot TForm3 settings
    post TForm3 tab "$(id SettingsDialogId Pages)" 1
    shoot TForm3 settings-passwords
    post TForm3 click "$(id SettingsDialogId AdminPasswordButton)"
    post TFQUPass wait
    post TFQUPass text "$(id PasswordChangeDialogId PasswordEdit)" secret
    post TFQUPass text "$(id PasswordChangeDialogId VerificationEdit)" secret
    shoot TFQUPass password-change
    close TFQUPass "$(id PasswordChangeDialogId OkButton)"
    close TForm3 "$(id SettingsDialogId OkButton)"
    kill "$manager" 2>/dev/null || true
    wait "$manager" 2>/dev/null || true

    wine 'C:\Vantrel\vtlock.exe' </dev/null >/dev/null 2>&1 &
    manager=$!
    post TFQPass wait
    shoot TFQPass password-admin
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
