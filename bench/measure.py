#!/usr/bin/python3
"""Measures Pingolet against the baseline program; started by bench/run.sh, which provides the
private X server (DISPLAY) and sound server (PULSE_SERVER, null sink "bench")."""

import argparse
import datetime
import json
import os
import platform
import select
import shutil
import signal
import statistics
import subprocess
import sys
import threading
import time

import numpy as np
from Xlib import X, display, error

RATE = 44100
CLK_TCK = os.sysconf("SC_CLK_TCK")


def median(values):
    return statistics.median(values) if values else float("nan")


# --- the programs -----------------------------------------------------------------------------


class Programs:
    """Starts either program at a given slider value; Pingolet from a folder of its own, since it
    reads Pingolet.ini beside itself."""

    def __init__(self, pingolet, baseline, work):
        self.folder = os.path.join(work, "app")
        os.makedirs(self.folder, exist_ok=True)
        self.pingolet = os.path.join(self.folder, "pingolet")
        shutil.copy2(pingolet, self.pingolet)
        self.baseline = baseline
        self.env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        # The alarms started here leave records when stopped; the resume runs look elsewhere.
        empty = os.path.join(work, "no-alarms")
        os.makedirs(empty, exist_ok=True)
        self.resume_env = dict(self.env, XDG_STATE_HOME=empty)
        self.running = []

    def command(self, name, v, start_set="1h"):
        if name == "baseline":
            return [self.baseline, str(v)]
        top = max(32, v)
        return [self.pingolet, "/t1=1", f"/t2={v}", f"/t3={top}", f"/ss={start_set}",
                "/dd=1h", "/m=Bench"]

    def start(self, name, v, start_set="1h"):
        started = time.monotonic()
        proc = subprocess.Popen(self.command(name, v, start_set), env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                cwd=self.folder)
        self.running.append(proc)
        return proc, started

    def stop(self, proc):
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(3)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        if proc in self.running:
            self.running.remove(proc)

    def stop_all(self):
        for proc in list(self.running):
            self.stop(proc)


def cpu_seconds(pid):
    """Time on a CPU, all threads together: from each thread's schedstat, in nanoseconds,
    since /proc/PID/stat counts in ticks of 10 ms, too coarse for a program that idles."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total / 1e9


def thread_cpu_seconds(pid):
    """Each thread's time on a CPU, by thread id."""
    times = {}
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                times[task] = int(f.read().split()[0]) / 1e9
        except FileNotFoundError:
            pass
    return times


def cpu_seconds_between(before, after):
    """The time spent between two thread_cpu_seconds(): a thread that ended meanwhile takes its
    whole sum out of a plain total, so only the threads seen at the end count, new ones whole."""
    return sum(t - before.get(task, 0) for task, t in after.items())


def cpu_seconds_from_stat(pid):
    """The same from utime + stime, which keep the time of threads that have ended too."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the line; the split starts at field 3.
    return (int(fields[11]) + int(fields[12])) / CLK_TCK


def voluntary_switches(pid, thread="main"):
    """The times the process gave up its CPU to wait: each is a wake-up later. The main thread's
    from /proc/PID/status, or all threads' together."""
    paths = ([f"/proc/{pid}/status"] if thread == "main" else
             [f"/proc/{pid}/task/{task}/status" for task in os.listdir(f"/proc/{pid}/task")])
    total = 0
    for path in paths:
        try:
            with open(path) as f:
                for line in f:
                    if line.startswith("voluntary_ctxt_switches:"):
                        total += int(line.split()[1])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total


def peak_resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


# --- the X server -----------------------------------------------------------------------------


class XWatch:
    """Sees top-level windows being mapped, and title changes of one window, with the time each
    event arrived (monotonic) and, for property changes, the X server's own time stamp."""

    def __init__(self):
        self.d = display.Display()
        self.root = self.d.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.pid_atom = self.d.intern_atom("_NET_WM_PID")
        self.name_atom = self.d.intern_atom("_NET_WM_NAME")
        self.utf8 = self.d.intern_atom("UTF8_STRING")
        self.d.sync()
        self.drain()

    def events(self, timeout):
        if not self.d.pending_events():
            readable, _, _ = select.select([self.d], [], [], timeout)
            if not readable:
                return []
        out = []
        # Reading a reply may queue events too, so take whatever is there.
        for _ in range(self.d.pending_events()):
            event = self.d.next_event()
            out.append((time.monotonic(), event))
        return out

    def drain(self):
        while self.events(0):
            pass

    def window_pid(self, window):
        try:
            prop = window.get_full_property(self.pid_atom, X.AnyPropertyType)
        except error.XError:
            return None
        return prop.value[0] if prop and len(prop.value) else None

    def title(self, window):
        try:
            prop = window.get_full_property(self.name_atom, self.utf8)
        except error.XError:
            return None
        if not prop:
            return None
        value = prop.value
        return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)

    def wait_for_map(self, pid, deadline):
        """The time the first top-level window of process pid was seen mapped, and the window."""
        while time.monotonic() < deadline:
            for arrived, event in self.events(deadline - time.monotonic()):
                if event.type == X.MapNotify and not event.override:
                    if self.window_pid(event.window) == pid:
                        return arrived, event.window
        raise RuntimeError(f"no window of process {pid} appeared")

    def iconify(self, window):
        """Minimises a window as a window manager does (ICCCM 4.1.4): unmapped, with WM_STATE
        IconicState; the bench's X server has no window manager to ask."""
        wm_state = self.d.intern_atom("WM_STATE")
        window.unmap()
        window.change_property(wm_state, wm_state, 32, [3, 0])  # IconicState, no icon window
        self.d.sync()

    def watch_titles(self, window):
        window.change_attributes(event_mask=X.PropertyChangeMask)
        self.d.sync()

    def collect_titles(self, window, until, stop_when=None):
        """(arrival time, server time in ms, title) for each new title until the given time."""
        titles = []
        while time.monotonic() < until:
            for arrived, event in self.events(max(0.0, until - time.monotonic())):
                if (event.type == X.PropertyNotify and event.atom == self.name_atom
                        and event.state == X.PropertyNewValue and event.window == window):
                    titles.append((arrived, event.time, self.title(window)))
            if stop_when and stop_when(titles):
                break
        return titles

    def close(self):
        self.d.close()


# --- the sound server -------------------------------------------------------------------------


class Recorder:
    """Records the null sink's monitor. Each sample's time is found from the arrival times of the
    chunks: a chunk arrives some time after its last sample was played, never before, so the
    earliest arrival relative to its sample count pins the recording's start."""

    def __init__(self):
        self.proc = subprocess.Popen(
            ["parec", "-d", "bench.monitor", "--raw", "--format=s16le", f"--rate={RATE}",
             "--channels=1", "--latency-msec=5"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.data = bytearray()
        self.arrivals = []  # (arrival time, bytes so far)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        fd = self.proc.stdout.fileno()
        while True:
            chunk = os.read(fd, 4096)
            if not chunk:
                return
            now = time.monotonic()
            self.data += chunk
            self.arrivals.append((now, len(self.data)))

    def wait_until_recording(self, timeout=10):
        deadline = time.monotonic() + timeout
        while not self.arrivals and time.monotonic() < deadline:
            time.sleep(0.01)
        if not self.arrivals:
            raise RuntimeError("parec delivers nothing")

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(3)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.thread.join(3)

    def onsets(self, threshold=100, gap=0.03):
        """Times at which a tone starts: a sample above the threshold after at least gap
        seconds of silence (a silent null sink gives exact zeros)."""
        samples = np.frombuffer(bytes(self.data[: len(self.data) // 2 * 2]), dtype="<i2")
        start = min(t - (n // 2) / RATE for t, n in self.arrivals)
        loud = np.flatnonzero(np.abs(samples.astype(np.int32)) > threshold)
        if loud.size == 0:
            return []
        firsts = loud[np.concatenate(([True], np.diff(loud) > gap * RATE))]
        return [start + i / RATE for i in firsts]


# --- the measurements -------------------------------------------------------------------------


def measure_startup(progs, watch, runs):
    results = {"pingolet": [], "baseline": [], "resume": []}
    for i in range(runs + 1):  # the first round only warms the file cache
        for name in ("pingolet", "baseline"):
            watch.drain()
            proc, started = progs.start(name, 20)
            mapped, _ = watch.wait_for_map(proc.pid, started + 20)
            progs.stop(proc)
            if i > 0:
                results[name].append(1000 * (mapped - started))
        # What every login runs from the autostart entry: with no alarm pending it shows nothing.
        started = time.monotonic()
        subprocess.run([progs.pingolet, "--resume"], env=progs.resume_env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if i > 0:
            results["resume"].append(1000 * (time.monotonic() - started))
    return results


def measure_cpu(progs, watch, values, rounds, seconds, settle, xserver):
    cpu = {name: {v: [] for v in values} for name in ("pingolet", "baseline")}
    by_stat = {name: {v: [] for v in values} for name in ("pingolet", "baseline")}
    # What each program makes the X server do for it counts too.
    xcpu = {name: {v: [] for v in values} for name in ("pingolet", "baseline")}
    memory = {"pingolet": [], "baseline": []}
    for _ in range(rounds):
        for v in values:
            for name in ("pingolet", "baseline"):
                watch.drain()
                proc, started = progs.start(name, v)
                watch.wait_for_map(proc.pid, started + 20)
                time.sleep(settle)
                s0, x0 = cpu_seconds_from_stat(proc.pid), cpu_seconds(xserver)
                c0, t0 = cpu_seconds(proc.pid), time.monotonic()
                time.sleep(seconds)
                c1, t1 = cpu_seconds(proc.pid), time.monotonic()
                s1, x1 = cpu_seconds_from_stat(proc.pid), cpu_seconds(xserver)
                memory[name].append(peak_resident_kib(proc.pid))
                progs.stop(proc)
                cpu[name][v].append(100 * (c1 - c0) / (t1 - t0))
                by_stat[name][v].append(100 * (s1 - s0) / (t1 - t0))
                xcpu[name][v].append(100 * (x1 - x0) / (t1 - t0))
                print(f"  cpu {name:8s} V={v:<3d} {cpu[name][v][-1]:6.2f} % "
                      f"(stat {by_stat[name][v][-1]:.1f} %, X server {xcpu[name][v][-1]:.2f} %)",
                      flush=True)
    return cpu, by_stat, xcpu, memory


def measure_minimised(progs, watch, values, rounds, seconds, settle):
    """Both programs counting down with their windows minimised: CPU and wake-ups per second."""
    names = ("pingolet", "baseline")
    cpu = {name: {v: [] for v in values} for name in names}
    wakes = {name: {v: [] for v in values} for name in names}
    wakes_all = {name: {v: [] for v in values} for name in names}  # all threads
    for _ in range(rounds):
        for v in values:
            for name in names:
                watch.drain()
                proc, started = progs.start(name, v)
                _, window = watch.wait_for_map(proc.pid, started + 20)
                time.sleep(0.5)
                watch.iconify(window)
                time.sleep(settle)
                c0, t0 = thread_cpu_seconds(proc.pid), time.monotonic()
                w0, a0 = voluntary_switches(proc.pid), voluntary_switches(proc.pid, "all")
                time.sleep(seconds)
                c1, t1 = thread_cpu_seconds(proc.pid), time.monotonic()
                w1, a1 = voluntary_switches(proc.pid), voluntary_switches(proc.pid, "all")
                progs.stop(proc)
                cpu[name][v].append(100 * cpu_seconds_between(c0, c1) / (t1 - t0))
                wakes[name][v].append((w1 - w0) / (t1 - t0))
                wakes_all[name][v].append((a1 - a0) / (t1 - t0))
                print(f"  minimised {name:8s} V={v:<3d} {cpu[name][v][-1]:6.2f} % "
                      f"{wakes[name][v][-1]:8.1f} wake-ups/s ({wakes_all[name][v][-1]:.1f} "
                      f"all threads)", flush=True)
    return {"cpu_percent": cpu, "wakeups_per_s": wakes, "wakeups_all_threads_per_s": wakes_all}


def measure_updates(progs, watch, v, updates):
    """Pingolet sounding its alarm at slider value v: the running arrow in its title changes at
    every update, and each update beeps."""
    nominal = 10 * v * v / 1000
    recorder = Recorder()
    try:
        recorder.wait_until_recording()
        watch.drain()
        proc, started = progs.start("pingolet", v, start_set="1s")
        mapped, window = watch.wait_for_map(proc.pid, started + 20)
        watch.watch_titles(window)
        arrow = lambda title: title is not None and title.startswith("-")
        until = time.monotonic() + 1.5 + nominal * (updates + 2)
        titles = watch.collect_titles(
            window, until, lambda ts: sum(arrow(t[2]) for t in ts) >= updates + 1)
        time.sleep(min(1.0, nominal))  # the last beep's sound
        progs.stop(proc)
    finally:
        recorder.stop()
    sounding = [t for t in titles if arrow(t[2])]
    if len(sounding) < 3:
        raise RuntimeError(f"V={v}: only {len(sounding)} title changes while sounding")
    server = [t[1] / 1000 for t in sounding]
    periods = np.diff(server)
    onsets = recorder.onsets()
    # A beep belongs to the update whose title change comes last before it. The tick asks for
    # the beep before it sets the title, and the title reaches the X server only once the tick
    # is over, so a beep may come out a little before its title change.
    slack = 0.02
    delays = []
    for arrived, _, _ in sounding:
        after = [o - arrived for o in onsets if -slack <= o - arrived < nominal - slack]
        delays.append(1000 * after[0] if after else None)
    startup_beep = [o for o in onsets if o < sounding[0][0] - slack]
    return {
        "v": v,
        "nominal_ms": 1000 * nominal,
        "mean_ms": 1000 * (server[-1] - server[0]) / (len(server) - 1),
        "min_ms": 1000 * float(periods.min()),
        "max_ms": 1000 * float(periods.max()),
        "periods": len(periods),
        "delays_ms": delays,
        "first_delay_ms": delays[0],
        "steady_delay_ms": median([d for d in delays[1:] if d is not None]),
        "missing_beeps": sum(d is None for d in delays),
        "startup_beep_after_start_ms":
            1000 * (startup_beep[0] - started) if startup_beep else None,
        "startup_beep_after_map_ms": 1000 * (startup_beep[0] - mapped) if startup_beep else None,
        # For a second look: both series in ms from the window's mapping.
        "titles_ms": [[round(1000 * (a - mapped), 1), t] for a, _, t in titles],
        "onsets_ms": [round(1000 * (o - mapped), 1) for o in onsets],
    }


# --- the report -------------------------------------------------------------------------------


def verdict(ok):
    return "pass" if ok else "**FAIL**"


def qt_version():
    try:
        out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "libqt6core6"],
                             capture_output=True, text=True).stdout
        return out or "?"
    except OSError:
        return "?"


def cpu_model():
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    return platform.processor()


def write_report(out, command, config, startup, cpu, by_stat, xcpu, memory, minimised, updates):
    os.makedirs(out, exist_ok=True)
    now = datetime.datetime.now().astimezone().strftime("%Y-%m-%d %H:%M %Z")
    rows = []
    for v in config["cpu_values"]:
        p, b = median(cpu["pingolet"][v]), median(cpu["baseline"][v])
        limit, text = {1: (1.0, "<= baseline"), 20: (1.2, "<= 1.2 x baseline")}.get(v, (None, ""))
        target = f"{text}: {verdict(p <= limit * b)}" if limit else ""
        rows.append(f"| CPU at V = {v} (% of one core) | {p:.2f} | {b:.2f} | {p / b:.2f} | "
                    f"{target} |")
    for v in config["minimised_values"]:
        p, b = median(minimised["cpu_percent"]["pingolet"][v]), median(
            minimised["cpu_percent"]["baseline"][v])
        rows.append(f"| Minimised: CPU at V = {v} (% of one core) | {p:.2f} | {b:.2f} | "
                    f"{p / b:.2f} | <= 0.1 x baseline: {verdict(p <= 0.1 * b)} |")
        p, b = median(minimised["wakeups_per_s"]["pingolet"][v]), median(
            minimised["wakeups_per_s"]["baseline"][v])
        target = f"<= 2 per s: {verdict(p <= 2)}" if v == 20 else ""
        rows.append(f"| Minimised: wake-ups at V = {v} (per s) | {p:.1f} | {b:.1f} | "
                    f"{p / b:.3f} | {target} |")
    pm, bm = median(memory["pingolet"]), median(memory["baseline"])
    rows.append(f"| Peak resident memory (VmHWM, MiB) | {pm / 1024:.1f} | {bm / 1024:.1f} | "
                f"{pm / bm:.2f} | <= 1.1 x baseline: {verdict(pm <= 1.1 * bm)} |")
    ps, bs = median(startup["pingolet"]), median(startup["baseline"])
    rows.append(f"| Start to mapped window (ms) | {ps:.0f} | {bs:.0f} | {ps / bs:.2f} | "
                f"<= 1.2 x baseline: {verdict(ps <= 1.2 * bs)} |")
    rs = median(startup["resume"])
    rows.append(f"| `--resume` with nothing pending, start to exit (ms) | {rs:.0f} | {bs:.0f} | "
                f"{rs / bs:.2f} | <= 0.5 x baseline's start-up: {verdict(rs <= 0.5 * bs)} |")
    xrows = [f"| {v} | {median(xcpu['pingolet'][v]):.2f} | {median(xcpu['baseline'][v]):.2f} |"
             for v in config["cpu_values"]]
    period_rows = []
    for u in updates:
        err = 100 * (u["mean_ms"] - u["nominal_ms"]) / u["nominal_ms"]
        period_rows.append(
            f"| {u['v']} | {u['nominal_ms']:.0f} | {u['mean_ms']:.1f} | {err:+.2f} % | "
            f"{u['min_ms']:.0f} .. {u['max_ms']:.0f} | {u['periods']} | "
            f"within 1 %: {verdict(abs(err) <= 1)} |")
    def ms(value):
        return "-" if value is None else f"{value:.0f}"

    beep_rows = [
        f"| {u['v']} | {ms(u['startup_beep_after_start_ms'])} | "
        f"{ms(u['startup_beep_after_map_ms'])} | {ms(u['first_delay_ms'])} | "
        f"{ms(u['steady_delay_ms'])} | {len(u['delays_ms']) - 1} | {u['missing_beeps']} |"
        for u in updates]

    md = f"""# Pingolet benchmark

Made by `{command.strip()}` on {now}, {cpu_model()}, {os.cpu_count()} cores, Qt {qt_version()},
Xvfb without a window manager, a private PulseAudio server with a null sink. Load average
(1 / 5 / 15 min) before the run {config['load_before']}, after it {config['load_after']}: whatever
else runs on the machine shares its cores.

Pingolet is the Release build. The baseline (`bench/baseline/`) is one window with one line edit,
both of the sizes of Pingolet's window and its counter box, whose text a timer sets every V ms to
a counter divided by ten, and which beeps once when its window has first been painted, with
Pingolet's own beep through the sound server's client library (linked, as Pingolet links it);
nothing else. Each figure is the median of the runs shown in
brackets; the two programs take turns, so that load from elsewhere hits both alike.

| Measure | Pingolet | Baseline | Ratio | Target |
| --- | ---: | ---: | ---: | --- |
{chr(10).join(rows)}

CPU: the time on a CPU of all the program's threads (`/proc/PID/task/*/schedstat`) over
{config['cpu_seconds']} s of countdown (`/t1=1 /t2=V /ss=1h`), {config['settle']} s after the
window appeared ([{config['rounds']}] runs each; `results.json` has utime + stime from
`/proc/PID/stat` beside it). Memory: VmHWM at the end of those runs
([{len(memory['pingolet'])}]). Minimised: the same countdown, its window iconified as a window
manager does it (unmapped, `WM_STATE` IconicState) {config['settle']} s before {config['cpu_seconds']} s of
measuring ([{config['rounds']}] runs each); wake-ups are the main thread's voluntary context
switches (`/proc/PID/status`; `results.json` has all threads' beside them). Start-up: from just before the process is started to the
MapNotify of its window on the root window ([{config['startup_runs']}] runs after one warm-up run
each); `--resume` with no alarm record in its state folder, as every login runs it, from just
before it is started to its exit, beside the baseline's start to a mapped window.

What the X server spent meanwhile, in % of one core (drawing and showing what the program sent):

| V | X server for Pingolet | X server for the baseline |
| --- | ---: | ---: |
{chr(10).join(xrows)}

## Update period

Pingolet with its alarm sounding (`/t1=1 /t2=V /ss=1s /dd=1h`), where the running arrow in the
title changes at every update; the period is taken from the X server's time stamps of the
`_NET_WM_NAME` changes. Nominal: 10 x V x V ms. V = 21 is the lowest value at which the tick
runs on one of Qt's coarse timers with an interval that such a timer cannot keep by itself.

| V | Nominal (ms) | Measured mean (ms) | Error | Single periods (ms) | Periods | Target |
| --- | ---: | ---: | ---: | ---: | ---: | --- |
{chr(10).join(period_rows)}

## Beep delay

From the title change of an update to the start of its beep in the null sink's monitor (a sample
above 100 in the recording, whose timing is fixed by the earliest-arriving chunk). Pingolet beeps
once as it starts, as soon as its window has first been painted: that first beep, which also
starts the beep's thread and opens the connection to the sound server, is counted from the
process start and from the window's mapping. The first beep of the alarm and the steady state
(median of the rest) are counted from their updates' title changes. A tick asks for the beep
before it sets the title, and the title reaches the X server only when the tick is over, so a
beep may begin a few milliseconds before its title change: negative figures. A null sink has no
output latency of its own; a sound card adds its buffer's.

| V | Start-up beep after start (ms) | after map (ms) | First alarm beep (ms) | Steady state (ms) | Beeps | Missing |
| --- | ---: | ---: | ---: | ---: | ---: | ---: |
{chr(10).join(beep_rows)}

![CPU, period error, start-up and memory](bench.png)
"""
    with open(os.path.join(out, "results.md"), "w") as f:
        f.write(md)
    raw = {"command": command, "date": now, "config": config, "startup_ms": startup,
           "cpu_percent": cpu, "cpu_percent_from_stat": by_stat, "xserver_cpu_percent": xcpu,
           "vmhwm_kib": memory, "minimised": minimised, "updates": updates}
    with open(os.path.join(out, "results.json"), "w") as f:
        json.dump(raw, f, indent=1)
    plot(out, config, startup, cpu, memory, updates)


def plot(out, config, startup, cpu, memory, updates):
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    fig, axes = plt.subplots(2, 2, figsize=(10, 7.5))
    values = config["cpu_values"]
    ax = axes[0][0]
    for name, style in (("pingolet", "o-"), ("baseline", "s--")):
        ax.plot(values, [median(cpu[name][v]) for v in values], style, label=name)
    ax.set_xscale("log")
    ax.set_xticks(values, [str(v) for v in values])
    ax.set_xlabel("slider value V (tick every V ms)")
    ax.set_ylabel("CPU, % of one core")
    ax.set_title("CPU time per wall second")
    ax.legend()

    ax = axes[0][1]
    vs = [u["v"] for u in updates]
    errors = [100 * (u["mean_ms"] - u["nominal_ms"]) / u["nominal_ms"] for u in updates]
    ax.bar([str(v) for v in vs], errors, color="tab:blue")
    ax.axhline(1, color="tab:red", linestyle=":")
    ax.axhline(-1, color="tab:red", linestyle=":")
    ax.axhline(0, color="black", linewidth=0.5)
    ax.set_xlabel("slider value V")
    ax.set_ylabel("error of the mean period, %")
    ax.set_title("Update period against 10 x V x V ms")

    ax = axes[1][0]
    names = ["pingolet", "baseline"]
    ax.boxplot([startup[n] for n in names], labels=names)
    ax.set_ylabel("ms")
    ax.set_title("Start to mapped window")

    ax = axes[1][1]
    ax.bar(names, [median(memory[n]) / 1024 for n in names], color=["tab:blue", "tab:orange"])
    ax.set_ylabel("MiB")
    ax.set_title("Peak resident memory (VmHWM)")

    fig.tight_layout()
    fig.savefig(os.path.join(out, "bench.png"), dpi=80)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pingolet", required=True)
    parser.add_argument("--baseline", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--command", default="bench/run.sh")
    parser.add_argument("--xserver-pid", type=int, required=True)
    parser.add_argument("--quick", action="store_true")
    # While working on one figure: measure only that, print it, write no report.
    parser.add_argument("--only", choices=["startup", "cpu", "minimised", "updates"])
    args = parser.parse_args()

    config = {
        "cpu_values": [1, 5, 20, 32],
        "minimised_values": [1, 20],
        "rounds": 1 if args.quick else 3,
        "cpu_seconds": 4 if args.quick else 10,
        "settle": 1 if args.quick else 2,
        # Start-up times scatter by several ms on a loaded machine: enough runs for a 10 % target.
        "startup_runs": 4 if args.quick else 15,
        "updates": {5: 20, 10: 6, 20: 3, 21: 3} if args.quick else {5: 40, 10: 15, 20: 8, 21: 5},
    }
    config["load_before"] = " / ".join(f"{x:.1f}" for x in os.getloadavg())
    # A terminate from run.sh's clean-up still stops the programs started here.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    progs = Programs(args.pingolet, args.baseline, args.work)
    watch = XWatch()
    wanted = lambda part: args.only in (None, part)
    startup, cpu, by_stat, xcpu, memory, minimised, updates = {}, {}, {}, {}, {}, {}, []
    try:
        if wanted("startup"):
            print("start-up", flush=True)
            startup = measure_startup(progs, watch, config["startup_runs"])
            print(f"  pingolet {startup['pingolet']}\n  baseline {startup['baseline']}\n"
                  f"  --resume {startup['resume']}", flush=True)
        if wanted("cpu"):
            print("cpu", flush=True)
            cpu, by_stat, xcpu, memory = measure_cpu(
                progs, watch, config["cpu_values"], config["rounds"], config["cpu_seconds"],
                config["settle"], args.xserver_pid)
            print(f"  VmHWM kiB {memory}", flush=True)
        if wanted("minimised"):
            print("minimised", flush=True)
            minimised = measure_minimised(progs, watch, config["minimised_values"],
                                          config["rounds"], config["cpu_seconds"],
                                          config["settle"])
        for v, n in config["updates"].items() if wanted("updates") else []:
            print(f"update period and beeps at V={v}", flush=True)
            updates.append(measure_updates(progs, watch, v, n))
            u = updates[-1]
            print(f"  mean {u['mean_ms']:.1f} ms of {u['nominal_ms']:.0f}, beep delays "
                  f"{[round(d) if d is not None else None for d in u['delays_ms']]}", flush=True)
    finally:
        progs.stop_all()
        watch.close()
    if args.only:
        if updates:
            print(json.dumps(updates, indent=1))
        return
    config["updates"] = {str(k): v for k, v in config["updates"].items()}
    config["load_after"] = " / ".join(f"{x:.1f}" for x in os.getloadavg())
    write_report(args.out, args.command, config, startup, cpu, by_stat, xcpu, memory, minimised,
                 updates)
    print(f"wrote {args.out}/results.md", flush=True)


if __name__ == "__main__":
    main()
