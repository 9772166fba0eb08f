#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for SECONDS each, in the sanitizer tree build-asan/.
#   scripts/fuzz.sh SECONDS [TARGET...]        KELVANO_FUZZ_PARALLEL=2 runs two targets at a time
# New inputs go to build-asan/fuzz/<target>/corpus/, never into tests/fuzz/corpus/; crashes, leaks,
# timeouts and out-of-memory inputs go to build-asan/fuzz/<target>/findings/. A run goes on after a
# finding (libFuzzer's fork mode), so one known crash does not end it. To keep a finding as a test,
# minimise it (kelvano_fuzz_<target> -minimize_crash=1 -runs=10000 FILE) and copy it into the
# target's folder in tests/fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

# Every target there is: each tests/fuzz/<target>_fuzz.cpp builds kelvano_fuzz_<target>.
all_targets=()
for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source")
    all_targets+=("${name%_fuzz.cpp}")
done

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    echo "usage: $0 SECONDS [TARGET...]   (targets: ${all_targets[*]})" >&2
    exit 2
fi
seconds=$1
shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")

kelvano_install_missing "${kelvano_sanitizer_packages[@]}"
if [ ! -f build-asan/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVANO_SANITIZE=ON >/dev/null
fi
cmake --build build-asan --target kelvano_fuzz_targets
kelvano_sanitizer_environment
# The targets write their files in a scratch folder: on a memory file system where there is one, so
# that syncing does not dominate the runs.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

fuzz_one() {
    local target=$1 seconds=$2
    local work=build-asan/fuzz/$target
    mkdir -p "$work/corpus" "$work/findings"
    local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -fork=1 -ignore_crashes=1
        -ignore_timeouts=1 -ignore_ooms=1 -artifact_prefix="$work/findings/")
    # A ".TBL" record is 51306 bytes: room for two records and a torn tail.
    [ "$target" = table_rows ] && options+=(-max_len=160000)
    "build-asan/bin/kelvano_fuzz_$target" "${options[@]}" "$work/corpus" "tests/fuzz/corpus/$target" \
        >"$work/log" 2>&1 || true
    # Fork mode's status lines: "#<executions>: cov: <edges> ft: <features> corp: <inputs> exec/s: <rate> ..."
    local status
    status=$(grep -E '^#[0-9]+: cov:' "$work/log" | tail -1 || true)
    local findings
    findings=$(find "$work/findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    printf '%-17s %s\n%-17s findings: %s (%s)\n' "$target" "${status:-no status line, see $work/log}" "" \
        "$findings" "$work/findings"
}
export -f fuzz_one

printf '%s\n' "${targets[@]}" |
    xargs -P "${KELVANO_FUZZ_PARALLEL:-1}" -I{} bash -c 'fuzz_one "$1" "$2"' _ {} "$seconds"
