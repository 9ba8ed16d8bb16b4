#!/usr/bin/env bash
# Mutation testing: puts each mutant of tests/mutants.txt (a small fault in one
# line of the system's code) into a copy of the tree, builds it and runs the
# tests, to show that the suite notices the fault.
#
#   scripts/mutants.sh [--only ID...]
#
# The copy (tracked files only) and its build directory stay in
# /var/tmp/vantrel-mutants (VT_MUTANTS_DIR) and are reused, so each mutant
# builds incrementally; build and test output goes to logs/ beside it.
# VT_MUTANTS_LIST names another list.
# A mutant is first tested by the executables its entry names and, only when
# they all pass, by the rest of the suite. A test that fails runs a second
# time: only a test that fails both times kills, as some tests fail now and
# then on their own.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
work=${VT_MUTANTS_DIR:-/var/tmp/vantrel-mutants}
tree=$work/tree
logs=$work/logs
list=${VT_MUTANTS_LIST:-$top/tests/mutants.txt}

only=()
if [ "${1:-}" = --only ] && [ $# -gt 1 ]; then
    shift
    only=("$@")
elif [ $# -gt 0 ]; then
    echo "usage: $0 [--only ID...]" >&2
    exit 2
fi

# The list: blocks of "id:", "file:", "tests:", "note:", then "- " and the
# original text and "+ " and its replacement, each taken literally to the end
# of its line.
ids=() files=() tests=() origs=() repls=()
n=-1
while IFS= read -r line || [ -n "$line" ]; do
    case $line in
        'id: '*) n=$((n + 1)); ids[n]=${line#id: }; files[n]=; tests[n]=; origs[n]=; repls[n]= ;;
        '' | '#'*) ;;
        *) if [ $n -lt 0 ]; then echo "mutants.txt: text before the first id: $line" >&2; exit 2; fi
           case $line in
               'file: '*) files[n]=${line#file: } ;;
               'tests: '*) tests[n]=${line#tests: } ;;
               'note: '*) ;;
               '- '*) origs[n]=${line#- } ;;
               '+' | '+ '*) repls[n]=${line#+}; repls[n]=${repls[n]# } ;;
               *) echo "mutants.txt: cannot read: $line" >&2; exit 2 ;;
           esac ;;
    esac
done < "$list"
for id in "${only[@]}"; do
    printf '%s\n' "${ids[@]}" | grep -qxF -- "$id" || { echo "no mutant $id in $list" >&2; exit 2; }
done

# The copy gets the tracked files as they are in the worktree; files changed
# since the last run are copied anew (a new time, so the build sees them), and
# files no longer tracked go, as CMake would still find a removed test's sources.
mkdir -p "$tree" "$logs"
# One run at a time per copy: a second one would apply its mutants over the
# first one's and restore the wrong originals.
exec 9> "$work/lock"
flock -n 9 || { echo "another mutants run uses $work" >&2; exit 2; }
git -C "$top" ls-files -z > "$work/tracked"
while IFS= read -r -d '' f; do
    [ -f "$top/$f" ] || continue
    cmp -s "$top/$f" "$tree/$f" || { mkdir -p "$(dirname "$tree/$f")" && cp "$top/$f" "$tree/$f"; }
done < "$work/tracked"
(cd "$tree" && find . \( -path ./build -o -path ./dist \) -prune -o -type f -printf '%P\0' | sort -z) |
    comm -z -23 - <(sort -z "$work/tracked") | (cd "$tree" && xargs -0r rm -f --)

# The lock's descriptor is closed for the build and the tests: a wineserver
# they start outlives the run and would hold the lock for the next one.
build() { "$tree/scripts/build.sh" > "$1" 2>&1 9>&-; }

# Runs ctest into a log; on failure, $failed names the failed tests.
failed=
run_ctest() {
    local log=$1
    shift
    ctest --test-dir "$tree/build" --output-on-failure --repeat until-pass:2 "$@" > "$log" 2>&1 9>&- && return 0
    failed=$(sed -n '/tests FAILED:/,$ s/^[[:space:]]*[0-9]\+ - \([^ ]*\) .*/\1/p' "$log" | sort -u | paste -sd, -)
    [ -n "$failed" ] || failed="ctest (see $log)"
    return 1
}

applied=
restore() { if [ -n "$applied" ]; then cat "$work/original" > "$applied"; applied=; fi; }
trap restore EXIT
trap 'exit 130' INT TERM

echo "copy: $tree, logs: $logs"
if ! build "$logs/unmutated.build.log"; then
    echo "the unmutated tree does not build: see $logs/unmutated.build.log" >&2
    exit 2
fi
known=$(ctest --test-dir "$tree/build" -N | sed -n 's/^ *Test *#[0-9]*: //p')

killed=0 total=0 survivors=() errors=()
for i in "${!ids[@]}"; do
    id=${ids[i]}
    if [ ${#only[@]} -gt 0 ] && ! printf '%s\n' "${only[@]}" | grep -qxF -- "$id"; then continue; fi
    path=$tree/${files[i]}
    orig=${origs[i]} repl=${repls[i]}
    result=
    count=$(ORIG=$orig perl -0777 -ne 'print scalar(() = /\Q$ENV{ORIG}\E/g)' "$path" 2>/dev/null || echo 0)
    for t in ${tests[i]}; do
        grep -qxF -- "$t" <<< "$known" || result="ERROR: no test executable $t"
    done
    if [ ! -f "$path" ]; then result="ERROR: no file ${files[i]}"
    elif [ -z "$orig" ] || [ "$orig" = "$repl" ]; then result="ERROR: no original text, or no change"
    elif [ "$count" != 1 ]; then result="ERROR: original text found $count times in ${files[i]}"
    elif [ -z "${tests[i]}" ]; then result="ERROR: no test executables named"
    fi
    if [ -z "$result" ]; then
        cp "$path" "$work/original"
        applied=$path
        ORIG=$orig REPL=$repl perl -0777 -pi -e 's/\Q$ENV{ORIG}\E/$ENV{REPL}/' "$path"
        named="^($(echo ${tests[i]} | tr ' ' '|'))\$"
        if ! build "$logs/$id.build.log"; then
            result="ERROR: does not build (see $logs/$id.build.log)"
        elif ! run_ctest "$logs/$id.tests.log" -j 2 -R "$named"; then
            result="killed by $failed"
        elif ! run_ctest "$logs/$id.suite.log" -j 2 --stop-on-failure -E "$named"; then
            result="killed by $failed (not named in its entry)"
        else
            result=SURVIVED
        fi
        restore
    fi
    case $result in
        ERROR*) errors+=("$id") ;;
        killed*) killed=$((killed + 1)); total=$((total + 1)) ;;
        *) survivors+=("$id"); total=$((total + 1)) ;;
    esac
    printf '%-30s %s\n' "$id" "$result"
done

[ ${#errors[@]} -eq 0 ] || echo "errors of the list: ${errors[*]}"
echo "survivors: ${survivors[*]:-none}"
echo "$killed of $total mutants killed"
[ ${#errors[@]} -eq 0 ] && [ ${#survivors[@]} -eq 0 ]
