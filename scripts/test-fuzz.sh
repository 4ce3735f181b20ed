#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang and runs each one from a copy of its committed
# seed corpus for a bounded time. Any crash, hang, sanitizer report, leak or broken invariant
# fails the run and names the input that shows it.
#   FUZZ_MODE=short    about 20 s a target (the default)
#   FUZZ_MODE=long     about 5 minutes a target
#   FUZZ_SECONDS=N     N seconds a target, whatever the mode
# The copies, the logs and any reproducers of the last run stay in build-fuzz/run/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
. "$ROOT/scripts/packages.sh"

case "${FUZZ_MODE:-short}" in
short) seconds=20 ;;
long) seconds=300 ;;
*)
    echo "FUZZ_MODE must be short or long, not '${FUZZ_MODE}'" >&2
    exit 2
    ;;
esac
seconds="${FUZZ_SECONDS:-$seconds}"

# shellcheck disable=SC2086
install_missing $BUILD_PACKAGES clang libclang-rt-14-dev

BUILD="$ROOT/build-fuzz"
TARGETS=(fuzz_time_value fuzz_command_line fuzz_message_area fuzz_alarm_record fuzz_profile_file)
# Time values are short; a settings file may be a few ten kilobytes; a record under one.
declare -A MAX_LEN=([fuzz_time_value]=512 [fuzz_command_line]=4096 [fuzz_message_area]=4096
    [fuzz_alarm_record]=4096 [fuzz_profile_file]=65536)

CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPINGOLET_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$BUILD" --parallel 2 --target "${TARGETS[@]}"

RUN="$BUILD/run"
rm -rf "$RUN"
mkdir -p "$RUN"
# The profile target writes a file per input: on a RAM disk when there is one, as the syncs of
# the atomic replacement would otherwise dominate the run.
scratchBase="$RUN"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratchBase=/dev/shm
scratch="$(mktemp -d "$scratchBase/pingolet-fuzz.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS="detect_leaks=1:print_stacktrace=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

failed=()
summary=()
for target in "${TARGETS[@]}"; do
    dir="$RUN/$target"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    cp "$ROOT/fuzz/corpus/$target/"* "$dir/corpus/"
    dict=()
    [ -f "$ROOT/fuzz/dict/$target.dict" ] && dict=(-dict="$ROOT/fuzz/dict/$target.dict")
    echo "== $target: ${seconds} s"
    status=0
    # The outer limit only guards against a fuzzer that does not stop by itself.
    TMPDIR="$scratch" timeout --kill-after=30 $((seconds + 300)) "$BUILD/fuzz/$target" \
        -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len="${MAX_LEN[$target]}" \
        -print_final_stats=1 -artifact_prefix="$dir/artifacts/" "${dict[@]}" "$dir/corpus" \
        >"$dir/log" 2>&1 || status=$?

    finalStat() { sed -n "s/^stat::$1: *//p" "$dir/log" | tail -1; }
    execs="$(finalStat number_of_executed_units)"
    rate="$(finalStat average_exec_per_sec)"
    corpus="$(sed -nE 's/^#[0-9]+[[:space:]]+DONE .*corp: ([0-9]+)\/.*/\1/p' "$dir/log" | tail -1)"
    files="$(find "$dir/corpus" -type f | wc -l)"
    mapfile -t artifacts < <(find "$dir/artifacts" -type f)
    result=ok
    if [ "$status" -ne 0 ] || [ ${#artifacts[@]} -gt 0 ] ||
        grep -qE "ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|invariant failed" \
            "$dir/log"; then
        result=FAILED
        failed+=("$target")
        echo "$target FAILED (exit status $status); the end of its log, $dir/log:" >&2
        tail -n 60 "$dir/log" >&2
        for artifact in "${artifacts[@]}"; do
            echo "reproducer: $artifact  (run: $BUILD/fuzz/$target $artifact)" >&2
        done
    fi
    summary+=("$(printf '%-18s %12s %8s %8s %8s  %s' "$target" "${execs:-?}" "${rate:-?}" \
        "${corpus:-?}" "$files" "$result")")
done

echo
printf '%-18s %12s %8s %8s %8s  %s\n' target executions exec/s corpus files result
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed: ${failed[*]}" >&2
    exit 1
fi
