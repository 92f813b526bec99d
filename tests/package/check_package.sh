#!/usr/bin/env bash
# Checks a built Debian package the way a field laptop gets it: lintian finds no error, the
# desktop entry and the AppStream metadata are valid, and unpacked into a temporary root the tools
# and the program run from there, finding their libraries from their own place with no library
# path set.
# usage: tests/package/check_package.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

echo "== lintian"
lintian --fail-on error --info "$deb" || fail "lintian reports errors"

dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$work/control"

echo "== contents"
tools=()
for tool in "$root"/usr/bin/ravelin-*; do tools+=("$(basename "$tool")"); done
((${#tools[@]} > 0)) || fail "no command-line tools in /usr/bin"
files=(usr/bin/RAVELIN usr/share/man/man1/RAVELIN.1.gz usr/lib/ravelin/libdumpdec.so
    usr/lib/ravelin/libi2dwriter.so usr/lib/ravelin/libusbbulk.so lib/udev/rules.d/60-ravelin.rules
    usr/share/applications/ravelin.desktop usr/share/metainfo/org.ravelin.ravelin.metainfo.xml
    usr/share/doc/ravelin/copyright)
for tool in "${tools[@]}"; do files+=("usr/share/man/man1/$tool.1.gz"); done
for file in "${files[@]}"; do
    [[ -f $root/$file ]] || fail "$file is missing"
done
for script in postinst postrm; do
    grep -q 'udevadm control --reload-rules' "$work/control/$script" ||
        fail "$script does not reload the udev rules"
done
depends=$(dpkg-deb -f "$deb" Depends)
for library in libusb-1.0-0 libqt6core6 libqt6widgets6 libqt6serialport6; do
    [[ $depends == *"$library "* ]] || fail "Depends lacks $library: $depends"
done

echo "== desktop entry and AppStream metadata"
desktop-file-validate "$root/usr/share/applications/ravelin.desktop" || fail "desktop entry"
appstreamcli validate-tree --no-net "$root" || fail "AppStream metadata"

echo "== running from the unpacked package"
unset LD_LIBRARY_PATH
while IFS= read -r elf; do
    if ldd "$elf" | grep -q 'not found'; then fail "$elf: $(ldd "$elf" | grep 'not found')"; fi
done < <(find "$root" -type f \( -path '*/bin/*' -o -name '*.so' \))
data=$work/data
mkdir "$data"
"$root/usr/bin/ravelin-sample" --kind virel "$data/line7.raw" >/dev/null
"$root/usr/bin/ravelin-convert" "$data/line7.raw" >"$work/convert.out" ||
    fail "ravelin-convert: $(cat "$work/convert.out")"
[[ -s $data/line7.tvd ]] || fail "ravelin-convert wrote no converted database"
rm -f "$data/line7.i2d"
"$root/usr/bin/ravelin-i2d" "$data/line7.tvd" >"$work/i2d.out" ||
    fail "ravelin-i2d: $(cat "$work/i2d.out")"
[[ -s $data/line7.i2d ]] || fail "ravelin-i2d wrote no pseudo-section file"
# The Python module: where Debian's Python looks, importable with no path set, reading the sample.
module=$(find "$root" -name 'ravelin.cpython-*.so')
if [[ -z $module ]]; then
    fail "no Python module"
else
    installed=$(dirname "/${module#"$root"/}")
    /usr/bin/python3 -c 'import sys; sys.exit(sys.argv[1] not in sys.path)' "$installed" ||
        fail "the Python module's folder $installed is not on Python's path"
    (cd "$(dirname "$module")" && env -u PYTHONPATH /usr/bin/python3 -c '
import sys, ravelin
database = ravelin.open(sys.argv[1])
sys.exit(not (database.complete and database.lines))' "$data/line7.tvd") ||
        fail "python3 -c 'import ravelin' from the unpacked package"
fi
# The window runs until it is stopped: still running after a few seconds is a start.
status=0
HOME=$work XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen \
    timeout 5 "$root/usr/bin/RAVELIN" 2>"$work/RAVELIN.err" || status=$?
[[ $status -eq 124 ]] || fail "RAVELIN ended with status $status: $(cat "$work/RAVELIN.err")"

if ((failures)); then
    echo "package check: $failures failure(s)" >&2
    exit 1
fi
echo "package check: passed"
