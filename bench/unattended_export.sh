#!/usr/bin/env bash
# The whole unattended Users export of a generated 100,000-account lab, run as
# a process (start-up, lab load, browse, export, exit): wall time and peak
# memory of each run, then the medians.
#
#   bench/unattended_export.sh [RUNS] [BUILD_DIR]
#
# Uses /usr/bin/time (GNU time) for each run's wall time and peak RSS. The
# lab is generated once into a scratch folder; each run gets a fresh copy, so
# every run starts from the same file.
set -euo pipefail
runs=${1:-5}
build=${2:-"$(dirname "$0")/../build"}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/src/veltrane-lab" generate --users 100000 --groups 100 --servers 10 -o "$work/gen.json"
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

walls=()
peaks=()
for ((i = 0; i <= runs; ++i)); do
  cp "$work/gen.json" "$work/lab.json"
  /usr/bin/time -f '%e %M' -o "$work/time.txt" \
    "$build/veltrane" --lab "$work/lab.json" users GENPDC "$work/users.txt" 2>/dev/null
  ((i == 0)) && continue  # the first run warms the caches
  read -r wall peak < "$work/time.txt"
  walls+=("$wall")
  peaks+=("$peak")
  echo "run $i: ${wall} s, $((peak / 1024)) MiB"
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
echo "median: $(median "${walls[@]}") s wall, $(( $(median "${peaks[@]}") / 1024 )) MiB peak" \
     "($(wc -l < "$work/users.txt") lines exported)"
