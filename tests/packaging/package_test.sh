#!/bin/sh
# Builds the Debian package, unpacks it into a temporary root (dpkg -x), checks what it holds, and starts the
# installed launcher there with a temporary home: the learner's copy of the program folder is made, the program
# comes up and ends, nothing is written below the unpacked /opt, and an update of the delivered files keeps the
# learner's tables and settings. Usage: package_test.sh <build folder> <desktop id>
set -eu
build=$(readlink -f "$1")
id=$2

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is missing (scripts/deps --test installs it)"
        exit 77
    fi
done

work=$(mktemp -d /tmp/lw-package-XXXXXX)
# Clean-up also ends what the program's start left running with the test's home, such as a speech daemon the
# voice check spawned, which would otherwise go on writing into the folder being removed.
cleanup() {
    for env in /proc/[0-9]*/environ; do
        if tr '\0' '\n' <"$env" 2>/dev/null | grep -qx "HOME=$work/home"; then
            pid=${env#/proc/}
            kill -9 "${pid%/environ}" 2>/dev/null || true
        fi
    done
    rm -rf "$work" 2>/dev/null || { sleep 1; rm -rf "$work"; } || true
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    echo "FAIL: cpack"
    exit 1
}
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f 1) KiB"
dpkg-deb -x "$deb" "$work/root"
root=$work/root
opt=$root/opt/lenkwerk

# What must be there, and what running a program folder leaves behind, which must not.
for f in opt/lenkwerk/lenkwerk opt/lenkwerk/lenkwerk-play opt/lenkwerk/lenkwerk-print.so opt/lenkwerk/lenkwerk-speech.so opt/lenkwerk/lenkwerk-speechcheck opt/lenkwerk/lenkwerk-net.so opt/lenkwerk/lenkwerk-help.so opt/lenkwerk/FRAGEN.DBF opt/lenkwerk/FRAGEN.FPT opt/lenkwerk/FRAGEN.CDX \
    opt/lenkwerk/BUSSRECH.DBF opt/lenkwerk/Bitmaps/START1.bmp opt/lenkwerk/Sounds/Tavolin.wav \
    opt/lenkwerk/Texte/TAVOLIN.qhc opt/lenkwerk/Texte/TAVOLIN.qch usr/bin/lenkwerk \
    "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" \
    "usr/share/icons/hicolor/48x48/apps/$id.png" "usr/share/icons/hicolor/256x256/apps/$id.png"; do
    [ -f "$root/$f" ] || fail "missing /$f"
done
[ -x "$root/usr/bin/lenkwerk" ] || fail "the launcher is not executable"
[ -x "$opt/lenkwerk" ] || fail "the program is not executable"
[ -x "$opt/lenkwerk-speechcheck" ] || fail "the speech check helper is not executable"
[ -x "$opt/lenkwerk-play" ] || fail "the sound player is not executable"
leftovers=$(cd "$opt" && find . \( -iname 'LOCAL*' -o -iname 'TAVOLIN.INI' -o -iname 'TAVOLIN.SAV' \
    -o -iname 'ERROR.LOG' -o -iname '*.lck' -o -iname 'T_*' -o -iname 'BILD.BMP' -o -iname 'STEUER.*' \
    -o -iname 'FRUPDATE*' -o -iname 'Maint' \))
[ -z "$leftovers" ] || fail "run-time files in the package: $leftovers"
outside=$(cd "$root" && find . -type f ! -path './opt/lenkwerk/*' ! -path './usr/bin/lenkwerk' \
    ! -path './usr/share/applications/*' ! -path './usr/share/metainfo/*' ! -path './usr/share/icons/hicolor/*')
[ -z "$outside" ] || fail "files outside the expected places: $outside"

depends=$(dpkg-deb -f "$deb" Depends)
# The help engine reads its collection through Qt Sql's SQLite driver, a plugin no library dependency names.
for d in libqt6widgets6 libqt6help6 libqt6network6 libqt6sql6-sqlite libasound2 libdw1 qt6-qpa-plugins libcurl4; do
    case $depends in *"$d"*) ;; *) fail "Depends lacks $d: $depends" ;; esac
done
# The modules' libraries load with their first use (libdw with the first named call stack; the audio libraries
# in the player program), never with the program's start.
needed=$(readelf -d "$opt/lenkwerk" | grep NEEDED || true)
for lib in Qt6Help Qt6Sql Qt6Multimedia Qt6Network Qt6PrintSupport Qt6TextToSpeech asound dw; do
    case $needed in *"lib$lib.so"*) fail "the program loads lib$lib at its start" ;; esac
done
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

snapshot() {
    (cd "$root/opt" && find . -printf '%P %s %T@ %m\n' | LC_ALL=C sort)
}
# The learner's start: a temporary home, the program reports when it is up and then closes its window.
start() {
    env -i PATH="$PATH" HOME="$work/home" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
        LENKWERK_STARTUP_REPORT=0 timeout 120 "$root/usr/bin/lenkwerk" 2>"$work/stderr"
}
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
before=$(snapshot)
own=$work/home/.local/share/lenkwerk

start || fail "first start ended with $?"
grep -q '^lenkwerk-startup idle ' "$work/stderr" || {
    fail "the program did not come up"
    cat "$work/stderr"
}
# The start-up report: the about box's first frame, its close and the idle main window, in this order.
instants=$(awk '$1 == "lenkwerk-startup" { if ($3 < last) print "backwards"; last = $3; printf "%s ", $2 }' "$work/stderr")
[ "$instants" = "about-painted about-closed idle " ] || fail "start-up report: $instants"
# The first start greets the new learner with a sound, through the player program beside the program.
! grep -q 'no sound player' "$work/stderr" || fail "the sound player did not load: $(grep 'no sound player' "$work/stderr")"
for f in lenkwerk FRAGEN.DBF Texte/TAVOLIN.qhc LOCAL1.DBF TAVOLIN.INI TAVOLIN.SAV; do
    [ -f "$own/$f" ] || fail "the learner's folder lacks $f"
done
grep -q '^Background=START1' "$own/TAVOLIN.INI" || fail "first start did not show START1"
[ "$(snapshot)" = "$before" ] || fail "the first start wrote below /opt"

# An update of the package: a changed document, a new one, one no longer delivered. In the learner's copy a
# delivered file was changed (as an imported catalog update changes FRAGEN) and one was lost.
printf 'neu\n' >>"$opt/Texte/Winter.rtf"
printf '{\\rtf1 neu}\n' >"$opt/Texte/Neu.rtf"
rm "$opt/Texte/KV.rtf"
printf 'vom Programm\n' >>"$own/Texte/Checkliste.rtf"
kept=$(md5sum <"$own/Texte/Checkliste.rtf")
rm "$own/Texte/Falschparken.rtf"
learner=$(md5sum <"$own/LOCAL1.DBF")
before=$(snapshot)
start || fail "start after the update ended with $?"
grep -q '^lenkwerk-startup idle ' "$work/stderr" || fail "the program did not come up after the update"
cmp -s "$opt/Texte/Winter.rtf" "$own/Texte/Winter.rtf" || fail "a changed delivered file was not replaced"
[ -f "$own/Texte/Neu.rtf" ] || fail "a new delivered file was not copied"
[ ! -e "$own/Texte/KV.rtf" ] || fail "a file no longer delivered was kept"
[ "$(md5sum <"$own/Texte/Checkliste.rtf")" = "$kept" ] || fail "a file the update did not change was overwritten"
cmp -s "$opt/Texte/Falschparken.rtf" "$own/Texte/Falschparken.rtf" || fail "a lost delivered file was not restored"
[ "$(md5sum <"$own/LOCAL1.DBF")" = "$learner" ] || fail "the learner's table changed"
# The settings were kept: the start picture moved on instead of starting over.
grep -q '^Background=START2' "$own/TAVOLIN.INI" || fail "the settings were not kept over the update"
[ "$(snapshot)" = "$before" ] || fail "the start after the update wrote below /opt"

# A further update while the learner's copy runs: the launcher leaves that copy alone (the second start only
# brings the first to the front) and catches up at the next start after it has ended.
env -i PATH="$PATH" HOME="$work/home" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
    LENKWERK_STARTUP_REPORT=6000 timeout 120 "$root/usr/bin/lenkwerk" 2>"$work/first.stderr" &
first=$!
for _ in $(seq 1 300); do
    grep -q '^lenkwerk-startup idle ' "$work/first.stderr" 2>/dev/null && break
    sleep 0.1
done
grep -q '^lenkwerk-startup idle ' "$work/first.stderr" || fail "the learner's copy did not come up: $(cat "$work/first.stderr")"
printf 'noch neuer\n' >>"$opt/Texte/Winter.rtf"
running_copy=$(md5sum <"$own/Texte/Winter.rtf")
start || fail "a second start while the first runs ended with $?"
! grep -q '^lenkwerk-startup' "$work/stderr" || fail "a second copy came up beside the running one"
[ "$(md5sum <"$own/Texte/Winter.rtf")" = "$running_copy" ] || fail "the launcher replaced a file of the running copy"
kill -0 "$first" 2>/dev/null || fail "the running copy ended when the second start came"
# It closes its window by itself after the report's stay.
wait "$first" || fail "the running copy ended with $?"
start || fail "start after the running copy ended: $?"
cmp -s "$opt/Texte/Winter.rtf" "$own/Texte/Winter.rtf" || fail "the update was not caught up after the copy ended"

echo "top levels of the package:"
(cd "$root" && find . -mindepth 1 -maxdepth 3 -type d | LC_ALL=C sort | sed 's/^\./ /')
[ "$failures" -eq 0 ] || exit 1
echo "package test passed"
