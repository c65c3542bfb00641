#!/bin/sh
# Starts Lenkwerk from the learner's own copy of the program folder. The program keeps its settings and the
# learning-state tables in the folder it runs from, and the installed folder belongs to the system, so the
# first start copies it to ${XDG_DATA_HOME:-~/.local/share}/lenkwerk.
#
# After an update of the package the delivered files (program, catalog, fine table, pictures, sounds, texts) in
# that copy are replaced by the new ones and files the new version no longer delivers are removed. Everything
# else stays: the learning-state tables, the settings and their backup, the error log, imported updates.
# While the learner's copy runs nothing is replaced; the next start after it has ended catches up.
set -eu

here=$(dirname "$(readlink -f "$0")")
# /usr/bin/lenkwerk -> /opt/lenkwerk; relative, so that an unpacked package works where it lies.
delivered=$(readlink -f "$here/../../opt/lenkwerk")
data=${XDG_DATA_HOME:-}
case $data in
/*) ;;
*) data=$HOME/.local/share ;;
esac
own=$data/lenkwerk
list=$own/.lenkwerk-delivered

if [ ! -x "$delivered/lenkwerk" ]; then
    echo "lenkwerk: the program is missing in $delivered" >&2
    exit 1
fi

# The delivered files with size and time: a different list means a different package.
manifest() {
    (cd "$delivered" && find . -type f -printf '%P\t%s\t%T@\n' | LC_ALL=C sort)
}

# The learner's copy runs when its lock names a live process of this program.
running() {
    [ -f "$own/Lenkwerk.lck" ] || return 1
    pid=$(head -n 1 "$own/Lenkwerk.lck" 2>/dev/null) || return 1
    case $pid in '' | *[!0-9]*) return 1 ;; esac
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = lenkwerk ]
}

# Called in a condition, where the shell does not stop at a failure: each step says so itself.
refresh() {
    mkdir -p "$own" || return 1
    if [ -f "$list" ]; then
        # What the old version delivered and the new one does not.
        printf '%s\n' "$current" | cut -f 1 | LC_ALL=C sort >"$list.now" || return 1
        cut -f 1 "$list" | LC_ALL=C sort | LC_ALL=C comm -23 - "$list.now" | while IFS= read -r gone; do
            rm -f "$own/$gone"
        done
        rm -f "$list.now"
    fi
    cp -R --preserve=timestamps "$delivered/." "$own/" || return 1
    # Written last: an interrupted copy is done again at the next start.
    printf '%s\n' "$current" >"$list.tmp" && mv "$list.tmp" "$list"
}

current=$(manifest)
if [ ! -f "$list" ] || [ "$current" != "$(cat "$list")" ]; then
    if ! running; then
        if ! refresh; then
            echo "lenkwerk: cannot copy the program into $own" >&2
            exit 1
        fi
    fi
fi
exec "$own/lenkwerk" "$@"
