#!/usr/bin/env bash
# Converts, exports, checks and reduces the sample databases with the Linux tools and with
# another system's build of the same tools, run here through that system's launcher (Wine,
# Node), and fails when any output differs by one byte or exists on one side only. What the
# tools print is compared too, with Windows's "\r\n" read as "\n"; so are their exit statuses.
# usage: same_outputs.sh LINUX_BIN WORK_DIR LAUNCHER TOOL_DIR TOOL_SUFFIX
#   e.g. same_outputs.sh build/release/bin build/check-windows /usr/lib/wine/wine64 \
#        build/windows/bin .exe
set -euo pipefail
linux_bin=$(realpath "$1")
work=$2
launcher=$3
tool_dir=$(realpath "$4")
suffix=$5

rm -rf "$work"
mkdir -p "$work/linux" "$work/other"
for kind in kx4 virel mixed; do
    "$linux_bin/ravelin-sample" --kind "$kind" "$work/linux/$kind.raw" >/dev/null
    cp "$work/linux/$kind.raw" "$work/other/"
done

run_all() { # folder, then the command that runs a tool given its name and arguments
    local folder=$1
    shift
    (
        cd "$folder"
        tool() { # output name, command: keeps what the command printed and its status
            local out=$1
            shift
            local status=0
            "$@" >"$out.printed" 2>"$out.errors" || status=$?
            echo "$status" >"$out.status"
        }
        tool convert "$@" ravelin-convert --keep kx4.raw virel.raw mixed.raw
        tool i2d "$@" ravelin-i2d virel.tvd mixed.tvd
        for format in res2dinv ohm csv gravity-csv; do
            tool "export-$format" "$@" ravelin-export --format "$format" \
                kx4.tvd virel.tvd mixed.tvd
        done
        tool qc "$@" ravelin-qc virel.tvd mixed.tvd
        tool gravity "$@" ravelin-gravity kx4.tvd mixed.tvd
    )
}

linux_tool() { "$linux_bin/$1" "${@:2}"; }
other_tool() { $launcher "$tool_dir/$1$suffix" "${@:2}"; }

run_all "$work/linux" linux_tool
start=$SECONDS
run_all "$work/other" other_tool
echo "the $suffix tools ran in $((SECONDS - start)) s"

# What the tools print: "\r\n" from Windows counts as "\n".
for f in "$work"/other/*.printed "$work"/other/*.errors; do
    tr -d '\r' <"$f" >"$f.tmp" && mv "$f.tmp" "$f"
done

status=0
if ! diff <(cd "$work/linux" && find . -type f | sort) <(cd "$work/other" && find . -type f | sort); then
    echo "FAIL: the $suffix tools wrote other files than the Linux tools (< Linux, > $suffix)"
    status=1
fi
count=0
while IFS= read -r f; do
    [[ -f $work/other/$f ]] || continue
    count=$((count + 1))
    if ! cmp "$work/linux/$f" "$work/other/$f"; then
        status=1
    fi
done < <(cd "$work/linux" && find . -type f | sort)
((status == 0)) && echo "the $suffix tools wrote the same $count files as the Linux tools"
exit $status
