#!/usr/bin/env bash
# Benchmark: Pingolet (Release) beside a minimal Qt Widgets program that ticks at the same rate,
# both on a private X server and a private sound server. Writes bench/results/results.md,
# results.json and bench.png.
#   bench/run.sh           the full run, about twelve minutes
#   bench/run.sh --quick   one round of shorter measurements, to try the bench itself out
#   bench/run.sh --only startup|cpu|minimised|updates   one part alone, printed; no report written
set -euo pipefail
BENCH="$(cd "$(dirname "$0")" && pwd)"
ROOT="$(cd "$BENCH/.." && pwd)"
. "$ROOT/scripts/packages.sh"

BENCH_PACKAGES="xvfb x11-utils pulseaudio pulseaudio-utils python3 python3-xlib python3-numpy
  python3-matplotlib"
# shellcheck disable=SC2086
install_missing $BUILD_PACKAGES $BENCH_PACKAGES

BUILD="$ROOT/build-bench"
cmake -S "$ROOT" -B "$BUILD/pingolet" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    >/dev/null
cmake --build "$BUILD/pingolet" --parallel 2
cmake -S "$BENCH/baseline" -B "$BUILD/baseline" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD/baseline" --parallel 2

. "$ROOT/scripts/private-display.sh"
private_work pingolet-bench
start_xvfb 1280x800x24

# A sound server of our own, with a null sink whose monitor the bench records.
mkdir -m 700 "$WORK/home" "$WORK/runtime" "$WORK/pulse"
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/runtime" PULSE_RUNTIME_PATH="$WORK/pulse"
export PULSE_SERVER="unix:$WORK/pulse/native"
cat >"$WORK/pa.pa" <<EOF
load-module module-null-sink sink_name=bench
load-module module-native-protocol-unix auth-anonymous=1 socket=$WORK/pulse/native
set-default-sink bench
EOF
pulseaudio -n --daemonize=no --system=no --exit-idle-time=-1 --disallow-exit \
    --use-pid-file=no --log-target=stderr -F "$WORK/pa.pa" >"$WORK/pa.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
done
pactl info >/dev/null 2>&1 || { echo "pulseaudio did not start:" >&2; cat "$WORK/pa.log" >&2; exit 1; }

/usr/bin/python3 "$BENCH/measure.py" --pingolet "$BUILD/pingolet/pingolet" \
    --baseline "$BUILD/baseline/baseline" --xserver-pid "$XVFB_PID" --work "$WORK" \
    --out "$BENCH/results" \
    --command "bench/run.sh $*" "$@" &
PIDS+=($!)
wait "${PIDS[-1]}"
