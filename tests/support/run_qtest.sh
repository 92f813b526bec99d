#!/usr/bin/env bash
# run_qtest.sh PROGRAM [ARGS...]: runs a Qt Test program for CTest. Qt Test exits 0 when a test
# function skipped itself (QSKIP); this exits 77 instead, which CTest reports as skipped, so a
# skip never reads as a pass. Any failure keeps its own exit status.
set -uo pipefail
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if ((status == 0)) && grep -q '^SKIP   : ' "$log"; then
    exit 77
fi
exit "$status"
