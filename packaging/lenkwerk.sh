#!/bin/sh
# Starts Lenkwerk from the learner's own copy of the program folder. The program keeps its settings and the
# learning-state tables in the folder it runs from, and the installed folder belongs to the system, so the
# first start copies it to ${XDG_DATA_HOME:-~/.local/share}/lenkwerk.
#
# After an update of the package the delivered files it changed (program, catalog, fine table, pictures, sounds,
# texts) replace those of that copy, and files the new version no longer delivers are removed. Everything else
# stays: the learning-state tables, the settings and their backup, the error log, and delivered files the new
# version did not change (so a catalog update the learner imported is kept until a package brings a new catalog).
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
    old=
    [ ! -f "$list" ] || old=$(cat "$list") || return 1
    printf '%s\n' "$old" | LC_ALL=C sort >"$list.old" || return 1
    printf '%s\n' "$current" | LC_ALL=C sort >"$list.new" || return 1
    # Delivered lines that are new or changed: those files the package brings anew.
    LC_ALL=C comm -13 "$list.old" "$list.new" | cut -f 1 >"$list.changed" || return 1
    # What the old version delivered and the new one does not.
    cut -f 1 "$list.old" | LC_ALL=C sort >"$list.oldpaths"
    cut -f 1 "$list.new" | LC_ALL=C sort >"$list.newpaths"
    LC_ALL=C comm -23 "$list.oldpaths" "$list.newpaths" | while IFS= read -r gone; do
        [ -z "$gone" ] || rm -f "$own/$gone"
    done
    # A file the package left as it was stays as the program may have changed it (a catalog update imported into
    # FRAGEN); one the learner's copy lacks is copied again.
    while IFS= read -r path; do
        [ -n "$path" ] || continue
        if [ ! -e "$own/$path" ] || grep -Fxq -- "$path" "$list.changed"; then
            mkdir -p "$own/$(dirname "$path")" && cp --preserve=timestamps "$delivered/$path" "$own/$path" || return 1
        fi
    done <"$list.newpaths" || return 1
    rm -f "$list.old" "$list.new" "$list.changed" "$list.oldpaths" "$list.newpaths"
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
