#!/usr/bin/env bash
# No file includes a header of a layer above its own, and no two modules of a
# folder include each other, directly or over others (a module: X.h with its
# X.cpp or X.c, or either alone). The layers, bottom up: ui and the
# companions, startup, profiles, protection, agent, manager, then the files
# at the top of src/ (the roles and main.cpp).
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
        [ "$(dirname "$target")" = "$(dirname "$file")" ] && [ "${target%.*}" != "${file%.*}" ] &&
            edges[${file%.*}]+=" ${target%.*}"
    done
done

# The shortest way from a module back to itself through the includes of its
# folder, as "A -> B -> A"; nothing when there is none.
loop_from() {
    local start=$1 queue=$1 module next path
    local -A via=()
    while [ -n "$queue" ]; do
        set -- $queue; module=$1; shift; queue="$*"
        for next in ${edges[$module]:-}; do
            if [ "$next" = "$start" ]; then
                path=$start
                while [ "$module" != "$start" ]; do path="$module -> $path"; module=${via[$module]}; done
                echo "$start -> $path"
                return
            fi
            [ -n "${via[$next]:-}" ] && continue
            via[$next]=$module
            queue+=" $next"
        done
    done
}

# Each loop once, however many of its modules find it.
declare -A reported
for start in $(printf '%s\n' "${!edges[@]}" | sort); do
    loop=$(loop_from "$start")
    [ -n "$loop" ] || continue
    members=$(echo "${loop// -> / }" | tr ' ' '\n' | sort -u | tr '\n' ' ')
    [ -z "${reported[$members]:-}" ] || continue
    reported[$members]=1
    folder=$(dirname "$start")
    echo "FAIL: modules of $folder include each other: ${loop//$folder\//}"
    failed=1
done

count=$(echo "$files" | wc -l)
if [ $failed = 0 ]; then echo "1 passed, 0 failed ($count files)"; else echo "0 passed, 1 failed"; fi
exit $failed
