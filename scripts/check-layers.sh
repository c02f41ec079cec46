#!/usr/bin/env bash
# Checks the layering of src/: which folder a file may include from, and that no two folders
# include each other. Prints each offending include; exits non-zero if there is one.
#   core/base < core/model < core/settings < core/content < core/sync, core/session,
#   core/shortcuts < core/screens (the rules of the window's screens)
#   core < platform/<service> < ui/<area> < app
set -uo pipefail
set -f # the rules are patterns, not file names
src=${1:-$(dirname "$0")/../src}
cd "$src"

# The folders a folder may include, besides itself.
allowed() {
    case "$1" in
    core/base) echo "" ;;
    core/model) echo "core/base" ;;
    core/settings) echo "core/base core/model" ;;
    core/content) echo "core/base core/model core/settings" ;;
    core/session) echo "core/base core/model core/settings core/content" ;;
    core/shortcuts) echo "core/base core/model core/settings" ;;
    core/sync) echo "core/base core/model core/settings core/content" ;;
    core/screens) echo "core/base core/model core/settings core/content core/session core/shortcuts core/sync" ;;
    platform/*) echo "core/*" ;;
    ui/*) echo "core/* platform/* ui/*" ;;
    app) echo "*" ;;
    *) echo "UNKNOWN" ;;
    esac
}

# Qt modules above Core and Gui that a layer may not reach.
widgets='#include <Q(Widget|Application|MainWindow|Menu|SystemTrayIcon|Dialog|Label|PushButton|AbstractButton|Layout|BoxLayout|VBoxLayout|HBoxLayout|StackedWidget|ScrollArea|LineEdit|Style)>'

status=0
while IFS= read -r file; do
    folder=$(dirname "$file")
    [[ $folder == app* ]] && folder=app
    rules=$(allowed "$folder")
    if [ "$rules" = UNKNOWN ]; then
        echo "$file: folder $folder has no place in the layers"
        status=1
        continue
    fi
    while IFS= read -r target; do
        tfolder=$(dirname "$target")
        [ "$tfolder" = "$folder" ] && continue
        ok=0
        for rule in $rules; do
            # shellcheck disable=SC2053
            [[ $tfolder == $rule ]] && ok=1
        done
        if [ $ok = 0 ]; then
            echo "$file includes $target: $folder may not depend on $tfolder"
            status=1
        fi
    done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)"/\1/p' "$file")
    if [[ $folder == core/* || $folder == platform/* ]] && grep -Eq "$widgets" "$file"; then
        echo "$file: widgets belong in ui/"
        status=1
    fi
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)

# Folders that include each other form a loop even where each include is allowed (ui/*).
pairs=$(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | while read -r f; do
    d=$(dirname "$f")
    sed -n 's/^#include "\([a-z]*\/[^"]*\)"/\1/p' "$f" | while read -r t; do
        td=$(dirname "$t")
        [ "$td" != "$d" ] && echo "$d $td"
    done
done | sort -u)
while read -r a b; do
    [ -z "$a" ] && continue
    if grep -qx "$b $a" <<<"$pairs"; then
        echo "loop: $a and $b include each other"
        status=1
    fi
done <<<"$pairs"

[ $status = 0 ] && echo "layering: every include goes down the layers"
exit $status
