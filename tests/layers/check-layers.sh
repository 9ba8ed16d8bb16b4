#!/usr/bin/env bash
# No file includes a header of a layer above its own, and no file of a folder
# reaches itself through the includes of that folder. The layers, bottom up:
# ui and the companions, startup, profiles, protection, agent, manager, then
# the files at the top of src/ (the roles and main.cpp).
#   check-layers.sh SOURCE_DIR
set -euo pipefail
top=$1
cd "$top"

layer_of() {
    case $1 in
        src/ui/*|companions/*) echo 0 ;;
        src/startup/*) echo 1 ;;
        src/profiles/*) echo 2 ;;
        src/protection/*) echo 3 ;;
        src/agent/*) echo 4 ;;
        src/manager/*) echo 5 ;;
        src/*) echo 6 ;;
        *) echo 9 ;;
    esac
}

# Headers are included by their bare name: where each one lives.
declare -A home
while read -r header; do home[$(basename "$header")]=$header; done \
    < <(find src companions -name '*.h' | sort)

failed=0
files=$(find src companions \( -name '*.c' -o -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) | sort)
declare -A edges
for file in $files; do
    own=$(layer_of "$file")
    for name in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file"); do
        target=${home[$(basename "$name")]:-}
        [ -n "$target" ] || continue
        if [ "$(layer_of "$target")" -gt "$own" ]; then
            echo "FAIL: $file includes $name, a header of a layer above its own ($target)"
            failed=1
        fi
        [ "$(dirname "$target")" = "$(dirname "$file")" ] && edges[$file]+=" $target"
    done
done

# A loop: a file that reaches itself through the includes of its folder.
for start in "${!edges[@]}"; do
    seen=" " queue=${edges[$start]}
    while [ -n "${queue// /}" ]; do
        set -- $queue; next=$1; shift; queue="$*"
        if [ "$next" = "$start" ]; then
            echo "FAIL: $start reaches itself through the includes of its folder"
            failed=1; break
        fi
        case $seen in *" $next "*) continue ;; esac
        seen+="$next "
        queue+=" ${edges[$next]:-}"
    done
done

count=$(echo "$files" | wc -l)
if [ $failed = 0 ]; then echo "1 passed, 0 failed ($count files)"; else echo "0 passed, 1 failed"; fi
exit $failed
