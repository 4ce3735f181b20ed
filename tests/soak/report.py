#!/usr/bin/python3
"""Reads a soak run: each alarm's resident memory and CPU every minute, the null sink's recording
(16-bit mono at 44100 Hz) of the ReRun alarm and its titles polled meanwhile, each with its
position in the recording, and the shots of the flashing message. Prints the report and exits 1
when an alarm's memory grew by 2 kB a minute or more from the given minute on, an On period had
no beep, the cycle count is off, or the message did not flash."""

import argparse
import sys

import numpy as np

RATE = 44100
FRAME = RATE // 200  # 5 ms
LOUD = 0.1 * 32768   # a beep peaks at half of full scale; the idle null sink gives zeros
SLOPE_LIMIT = 2.0    # kB a minute: under 1 MB in eight hours


def tones(samples):
    """(start, end) sample positions of each tone: loud frames, gaps under 20 ms bridged."""
    frames = len(samples) // FRAME
    peak = np.abs(samples[: frames * FRAME].reshape(frames, FRAME).astype(np.int32)).max(axis=1)
    loud = np.flatnonzero(peak > LOUD)
    found = []
    for f in loud:
        if found and f - found[-1][1] <= 4:
            found[-1][1] = f
        else:
            found.append([f, f])
    return [(a * FRAME, (b + 1) * FRAME) for a, b in found]


def on_periods(titles, start):
    """(first, last) recording positions at which the title showed an On period (">...<")."""
    periods, current = [], None
    for line in open(titles, encoding="utf-8", errors="replace"):
        mark, _, title = line.rstrip("\n").partition("\t")
        pos = int(mark) - start
        if title.startswith(">"):
            current = [pos, pos] if current is None else [current[0], pos]
        elif current is not None:
            periods.append(current)
            current = None
    return periods  # a period still running at the end is left out


def slope(series, first):
    """kB a minute from the end of minute `first` to the last one (series[0] is minute 1)."""
    if len(series) <= first:
        return None
    return (series[-1] - series[first - 1]) / (len(series) - first)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("recording")
    p.add_argument("titles")
    p.add_argument("start", type=int, help="recording position when the program started")
    p.add_argument("--memory", nargs=2, action="append", metavar=("ALARM", "KB"),
                   help="resident memory in kB at the end of each minute")
    p.add_argument("--from-minute", type=int, default=5)
    p.add_argument("--cpu", nargs=2, action="append", metavar=("ALARM", "PERCENT"),
                   help="%% of a core each minute")
    p.add_argument("--elapsed", type=float)
    p.add_argument("--count", help="the corner box's text at the end")
    p.add_argument("--flashes", help="shots with red text and with black text")
    a = p.parse_args()

    samples = np.fromfile(a.recording, dtype="<i2")[a.start:]
    found = tones(samples)
    periods = on_periods(a.titles, a.start)
    slack = int(0.3 * RATE)  # the title is polled every 50 ms and read after the beep starts
    silent = [i for i, (first, last) in enumerate(periods)
              if not any(s < last + slack and e > first - slack for s, e in found)]
    expected = a.elapsed / 2
    try:
        count = float(a.count)
    except ValueError:
        count = None
    red, dark = (int(x) for x in (a.flashes or "0 0").split())

    ok = True
    first = a.from_minute
    print(f"Run: {a.elapsed:.0f} s at slider 5 (an update every 250 ms)\n")
    print(f"| Alarm | RSS at minute {first} | RSS at the end | Growth from minute {first} "
          f"| CPU per minute (% of a core) |")
    print("|---|---:|---:|---:|---|")
    cpu = {name: values.split() for name, values in a.cpu or []}
    for name, values in a.memory or []:
        series = [int(v) for v in values.split()]
        rate = slope(series, first)
        ok = ok and rate is not None and rate < SLOPE_LIMIT
        at_first = f"{series[first - 1]} kB" if len(series) >= first > 0 else "-"
        growth = "-" if rate is None else f"{rate:+.1f} kB/min"
        print(f"| {name} | {at_first} | {series[-1] if series else '-'} kB | {growth} "
              f"| {' '.join(cpu.get(name, []))} |")
    print()
    for name, values in a.memory or []:
        print(f"{name} RSS each minute (kB): {values.strip()}")
    print()
    print("| ReRun check | Value |")
    print("|---|---|")
    print(f"| On periods seen in the title | {len(periods)} |")
    print(f"| Tones in the recording | {len(found)} "
          f"({len(found) / max(len(periods), 1):.2f} per On period) |")
    print(f"| On periods without a beep | {len(silent)} |")
    print(f"| Cycle count in the corner box | {a.count or 'unread'} "
          f"(elapsed / 2 s = {expected:.1f}) |")
    print(f"| Flashing message: shots with red / black text | {red} / {dark} |")

    ok = ok and not silent and len(periods) > 0 and red > 0 and dark > 0
    if count is None or abs(count - expected) > 1.5:
        ok = False
    if not ok:
        print(f"FAILED: growth of {SLOPE_LIMIT:g} kB a minute or more, a silent On period, the "
              "count is off, or the message did not flash")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
