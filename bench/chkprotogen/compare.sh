#!/usr/bin/env bash
# Wall time of chkprotogen against `grep -c MAKE_INTRINSIC` on the same
# generated 1,000,000-line source, measured with hyperfine. Both write to a
# file: grep stops at the first match when its output is /dev/null.
#   bench/chkprotogen/compare.sh [build-dir]   (default build/bench)
set -euo pipefail
build=${1:-build/bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/chkprotogen/chkprotogen_bench" --write-source "$work/source.c"
hyperfine --warmup 3 --runs 30 \
  "grep -c MAKE_INTRINSIC < $work/source.c > $work/grep.out" \
  "$build/chkprotogen/chkprotogen < $work/source.c > $work/chkprotogen.out"
