#!/usr/bin/env bash
# The compiled help file holds every page of the guide, its contents list
# names every page, and the pages survive compilation (a page read back from
# the file is the page as written, pictures aside), and every picture a page
# marks is in it (docs/screenshots holds it under the marker's name).
#   check-help.sh CHMLS HELPFILE PAGES_DIR
set -euo pipefail
chmls=$1 chm=$2 pages=$3
listed=$("$chmls" -p -n list "$chm")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$chmls" extract "$chm" /toc.hhc "$work/toc.hhc" >/dev/null
failed=0
for page in "$pages"/*.html; do
    name=$(basename "$page")
    if ! grep -qx "/$name" <<<"$listed"; then
        echo "FAIL: $name is not in $chm"; failed=1; continue
    fi
    grep -q "value=\"$name\"" "$work/toc.hhc" || { echo "FAIL: the contents list does not name $name"; failed=1; }
    "$chmls" extract "$chm" "/$name" "$work/$name" >/dev/null
    title=$(grep -o '<title>[^<]*</title>' "$page")
    grep -qF "$title" "$work/$name" || { echo "FAIL: $name read back without its title"; failed=1; }
done
for link in $(grep -ho 'href="[a-z]*\.html"' "$pages"/*.html | sort -u | sed 's/href="//; s/"//'); do
    grep -qx "/$link" <<<"$listed" || { echo "FAIL: a page links to $link, which is not in the file"; failed=1; }
done
for picture in $(grep -ho '<!-- picture [^ ]*' "$pages"/*.html | sed 's/.* //' | sort -u); do
    grep -qx "/$picture" <<<"$listed" || { echo "FAIL: a page shows $picture, which is not in the file"; failed=1; }
done
count=$(ls "$pages"/*.html | wc -l)
if [ $failed = 0 ]; then echo "1 passed, 0 failed ($count pages)"; else echo "0 passed, 1 failed"; fi
exit $failed
