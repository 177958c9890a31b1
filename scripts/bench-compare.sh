#!/usr/bin/env bash
# Measures the engine of this work tree against an earlier commit, side by side on this machine:
#
#     bash scripts/bench-compare.sh <commit> [rounds]
#
# Builds the benchmark of both (the commit in a temporary worktree, with this tree's benchmark source, so
# that both run the same patches through the processor's public calls), then runs the two alternately,
# rounds times each (5 by default), and prints the median real-time factor of each patch for both and
# their ratio. A shared machine's speed drifts from minute to minute; alternating the runs lets both
# see the same drift, so only the ratio and figures from one run are worth comparing.
#
# The same binary can also run up to a fifth slower or faster from one copy of its file to another, for
# as long as that copy lives (where its pages happen to lie, it seems). So each round runs a copy of
# each binary of its own, and the medians are over copies as well as over time.
set -euo pipefail
cd "$(dirname "$0")/.."

base="${1:?usage: $0 <commit> [rounds]}"
rounds="${2:-5}"
jobs="${JOBS:-$(nproc)}"

bash scripts/install-deps.sh

scratch="$(mktemp -d)"
trap 'git worktree remove --force "$scratch/base" >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT

git worktree add --detach "$scratch/base" "$base" >/dev/null
cp bench/EngineBenchmark.cpp "$scratch/base/bench/EngineBenchmark.cpp"
for tree in "$scratch/base" "$PWD"; do
    cmake -S "$tree" -B "$tree/build-bench" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$tree/build-bench" -j"$jobs" --target quorvel_bench >/dev/null
done

# One run of a benchmark binary: "patch x_realtime" per line.
measure()
{
    "$1" --benchmark_min_time=0.3 2>/dev/null |
        sed -n 's|^runEngine/\([a-z_]*\) .*x_realtime=\([0-9.]*\).*|\1 \2|p'
}

for ((round = 0; round < rounds; ++round)); do
    cp "$scratch/base/build-bench/bench/quorvel_bench" "$scratch/base-$round"
    cp "$PWD/build-bench/bench/quorvel_bench" "$scratch/now-$round"
    measure "$scratch/base-$round" >>"$scratch/base.txt"
    measure "$scratch/now-$round" >>"$scratch/now.txt"
done

median()
{
    awk -v patch="$2" '$1 == patch { print $2 }' "$1" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

printf '%-14s %12s %12s %8s\n' patch "$(git rev-parse --short "$base")" "this tree" ratio
for patch in default_patch full_patch feedback_patch silent_patch; do
    before="$(median "$scratch/base.txt" "$patch")"
    after="$(median "$scratch/now.txt" "$patch")"
    awk -v p="$patch" -v b="$before" -v a="$after" 'BEGIN { printf "%-14s %11.0fx %11.0fx %7.2fx\n", p, b, a, a / b }'
done
