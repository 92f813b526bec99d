#!/usr/bin/env bash
# The Windows zip unpacked into a Wine prefix: its ravelin-convert.exe and ravelin-export.exe
# take Windows paths (a drive letter, backslashes, a folder named with a space and an accented
# letter of the user's code page) and write beside the database what the Linux tools write.
# usage: windows_paths.sh ZIP LINUX_BIN SAMPLE.raw (WINEPREFIX set, the prefix made)
set -euo pipefail
zip=$(realpath "$1")
linux_bin=$(realpath "$2")
sample=$(realpath "$3")
wine=/usr/lib/wine/wine64
name=$(basename "$zip" .zip)

drive=$WINEPREFIX/drive_c
unzip -q -o "$zip" -d "$drive"
folder="$drive/Données terrain"
linux=$(mktemp -d)
trap 'rm -rf "$linux"' EXIT
rm -rf "$folder"
mkdir -p "$folder"
cp "$sample" "$folder/ligne 7.raw"
cp "$sample" "$linux/ligne 7.raw"

"$wine" "C:\\$name\\ravelin-convert.exe" --keep 'C:\Données terrain\ligne 7.raw' >/dev/null 2>&1
"$wine" "C:\\$name\\ravelin-export.exe" --format res2dinv 'C:\Données terrain\ligne 7.tvd' \
    >/dev/null 2>&1
(cd "$linux" && "$linux_bin/ravelin-convert" --keep "ligne 7.raw" >/dev/null &&
    "$linux_bin/ravelin-export" --format res2dinv "ligne 7.tvd" >/dev/null 2>&1)

if ! diff <(cd "$linux" && ls) <(cd "$folder" && ls); then
    echo "FAIL: from a Windows path other files were written than on Linux (< Linux, > Windows)"
    exit 1
fi
status=0
for f in "$linux"/*; do
    cmp "$f" "$folder/$(basename "$f")" || status=1
done
((status == 0)) && echo "from 'C:\\Données terrain\\ligne 7.raw': the same $(ls "$linux" | wc -l) files as on Linux"
exit $status
