#!/usr/bin/env bash
# How soon an unattended run reaches the platform, run as a process the way
# a script starts it (no display):
#   - start to first platform call: a lab whose system is not NT, so the run
#     ends at its first platform call (the version check) with "this
#     platform is not supported"; the whole process is that time;
#   - a whole Servers export of a small generated lab.
# Prints each run and the medians in milliseconds.
#
#   bench/unattended_start.sh [RUNS] [BUILD_DIR]
set -euo pipefail
runs=${1:-11}
build=${2:-"$(dirname "$0")/../build"}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/src/veltrane-lab" generate --users 20 --groups 4 --servers 6 -o "$work/lab.json"
# The same lab on a system that is not NT: the first platform call refuses it.
sed '0,/"platformId": 2/s//"platformId": 1/' "$work/lab.json" > "$work/not-nt.json"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"

# Wall milliseconds of one run of the program with the given arguments.
wall_ms() {
  local start end
  start=$(date +%s%N)
  "$build/veltrane" "$@" >/dev/null 2>&1 || true
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

refusal=$("$build/veltrane" --lab "$work/not-nt.json" servers GENPDC "$work/x.txt" 2>&1 || true)
if [[ $refusal != *"not supported"* ]]; then
  echo "the lab that is not NT did not end at the version check: $refusal" >&2
  exit 1
fi

first=()
whole=()
for ((i = 0; i <= runs; ++i)); do
  cp "$work/lab.json" "$work/run.json"
  a=$(wall_ms --lab "$work/not-nt.json" servers GENPDC "$work/x.txt")
  b=$(wall_ms --lab "$work/run.json" servers GENPDC "$work/servers.txt")
  ((i == 0)) && continue  # the first run warms the caches
  first+=("$a")
  whole+=("$b")
  echo "run $i: first platform call after ${a} ms, whole Servers export ${b} ms"
done
echo "median: first platform call after $(median "${first[@]}") ms;" \
     "whole Servers export $(median "${whole[@]}") ms ($(($(wc -l < "$work/servers.txt") - 1)) computers)"
