#!/usr/bin/python3
"""Reads a soak run: the null sink's recording (16-bit mono at 44100 Hz) and the titles polled
during it, each with its position in the recording. Prints the report and exits 1 when memory
grew by more than 1 MB, an On period had no beep, or the cycle count is off."""

import argparse
import sys

import numpy as np

RATE = 44100
FRAME = RATE // 200  # 5 ms
LOUD = 0.1 * 32768   # a beep peaks at half of full scale; the idle null sink gives zeros


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


def main():
    p = argparse.ArgumentParser()
    p.add_argument("recording")
    p.add_argument("titles")
    p.add_argument("start", type=int, help="recording position when the program started")
    p.add_argument("--rss", type=int, nargs=2, help="kB after 1 minute and at the end")
    p.add_argument("--cpu", help="%% of a core each minute")
    p.add_argument("--elapsed", type=float)
    p.add_argument("--count", help="the corner box's text at the end")
    a = p.parse_args()

    samples = np.fromfile(a.recording, dtype="<i2")[a.start:]
    found = tones(samples)
    periods = on_periods(a.titles, a.start)
    slack = int(0.3 * RATE)  # the title is polled every 50 ms and read after the beep starts
    silent = [i for i, (first, last) in enumerate(periods)
              if not any(s < last + slack and e > first - slack for s, e in found)]

    cpu = [float(c) for c in (a.cpu or "").split()]
    growth = a.rss[1] - a.rss[0]
    expected = a.elapsed / 2
    try:
        count = float(a.count)
    except ValueError:
        count = None

    print("| Measure | Value |")
    print("|---|---|")
    print(f"| Run | {a.elapsed:.0f} s, ReRun Off=1s On=1s, slider 5 |")
    print(f"| Resident memory after 1 min / at the end | {a.rss[0]} kB / {a.rss[1]} kB "
          f"(growth {growth:+d} kB) |")
    print(f"| CPU per minute (% of a core) | {' '.join(f'{c:.2f}' for c in cpu)} |")
    print(f"| On periods seen in the title | {len(periods)} |")
    print(f"| Tones in the recording | {len(found)} "
          f"({len(found) / max(len(periods), 1):.2f} per On period) |")
    print(f"| On periods without a beep | {len(silent)} |")
    print(f"| Cycle count in the corner box | {a.count or 'unread'} "
          f"(elapsed / 2 s = {expected:.1f}) |")

    ok = growth <= 1024 and not silent and len(periods) > 0
    if count is None or abs(count - expected) > 1.5:
        ok = False
    if not ok:
        print("FAILED: memory growth over 1 MB, a silent On period, or the count is off")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
