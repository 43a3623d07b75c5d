#!/usr/bin/python3
"""Measures Brushwright against its floor on one X display and prints the
tables. bench/run.sh builds what it needs, starts Xvfb and calls this.

    bench.py --bin DIR --data DIR [--runs N] [--idle S] [--watch-seconds S]
             [--changes N] [--instructions] [--windows DIR] [--skip-linux]
             [--startup-only]

--bin holds brushwright, brushwright_window, brushwright_floor and
brushwright_batchtext (the Release build); --windows names a folder with
the three .exe files beside the Qt libraries, run under Wine.
"""
import argparse
import collections
import contextlib
import glob
import os
import random
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

import xwatch

MAIN_SIZE = (393, 497)
PROMPT_TITLE = "Brushwright AutoCompile"
SHIPPED_DATA = ("settings.builtin", "default.builtin", "lastused.builtin")
TICK_SECONDS = 0.5
KINDS = ("program", "window", "floor")
# The shipped settings with a game folder that is not ASCII, in the ANSI
# code page of the C and English locales: read through a converter.
ACCENTED_SETTINGS = ["1", "0", "0", "0", "0", "0", "C:\\Jeux\\Quake2 \u00e9t\u00e9", "0", "0", "0"]
SESSION_BUS = {}


def median(values):
    return statistics.median(values) if values else float("nan")


def cpu_ms(pid):
    """CPU time of all threads of a process so far (schedstat, ns)."""
    total = 0
    for name in glob.glob(f"/proc/{pid}/task/*/schedstat"):
        with contextlib.suppress(OSError), open(name) as stat:
            total += int(stat.read().split()[0])
    return total / 1e6


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError(f"no VmHWM for {pid}")


def program_folder(root, binary, data_dir, settings=None):
    """A folder as an installation has it: the program and its files."""
    folder = os.path.join(root, "program")
    os.makedirs(folder)
    shutil.copy2(binary, folder)
    for name in SHIPPED_DATA:
        shutil.copy2(os.path.join(data_dir, name), folder)
    if settings is not None:
        with open(os.path.join(folder, "settings.builtin"), "w", newline="",
                  encoding="cp1252") as file:
            file.write("".join(line + "\r\n" for line in settings))
    return os.path.join(folder, os.path.basename(binary))


def environment(extra=None):
    env = dict(os.environ)
    env.update(SESSION_BUS)
    env.update(extra or {})
    return env


@contextlib.contextmanager
def session_bus():
    """A session bus of our own with nothing on it, as a desktop has one:
    without any, each Qt program would start a bus of its own."""
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        SESSION_BUS["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        yield
    finally:
        bus.terminate()
        bus.wait()


def start(command, cwd, env):
    return subprocess.Popen(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def stop(process):
    process.send_signal(signal.SIGKILL)
    process.wait()


class StartUp:
    """Process start to the main window mapped and painted."""

    def __init__(self, display, env, settle):
        self.display = display
        self.env = env
        self.settle = settle

    def run(self, command, cwd):
        self.display.forget()
        began = time.monotonic()
        process = start(command, cwd, self.env)
        try:
            window = self.display.wait_for(lambda: self.display.painted(MAIN_SIZE), 60)
            if window is None:
                raise RuntimeError(f"{command[0]}: no {MAIN_SIZE} window painted")
            cpu = cpu_ms(process.pid)
            # Peak memory once start-up is over and the first frame is out.
            self.display.drain(self.settle)
            return {"ms": (window.painted_at - began) * 1000, "cpu": cpu,
                    "rss": peak_rss_kib(process.pid)}
        finally:
            stop(process)

    def compare(self, commands, runs, warm_up=2):
        """Runs taking turns; the first few of each only warm the caches."""
        results = {name: [] for name in commands}
        for index in range(warm_up + runs):
            for name, (command, cwd) in commands.items():
                figures = self.run(command, cwd)
                if index >= warm_up:
                    results[name].append(figures)
        return results


def startup_table(title, results):
    figures = {name: {key: median([run[key] for run in runs]) for key in ("ms", "cpu", "rss")}
               for name, runs in results.items()}
    # Brushwright, with a non-ASCII game folder where measured, the main
    # window alone and the floor.
    kinds = [name for name in ("program", "accented", "reference", "window", "floor")
             if name in figures]
    compared = [name for name in ("program", "accented", "reference") if name in figures]
    p, f = figures["program"], figures["floor"]
    runs = len(results["program"])

    def row(label, key, text, versus, target, met):
        return tuple([label] + [text(figures[name][key]) for name in kinds]
                     + [versus(figures[name]) for name in compared] + [target, met])

    rows = [
        row("Start-up to main window painted, ms (median of %d)" % runs, "ms",
            lambda v: "%.1f" % v, lambda k: "%.3f x" % (k["ms"] / f["ms"]), "<= 1.05 x",
            p["ms"] <= 1.05 * f["ms"]),
        row("  CPU time until then, all threads, ms (median)", "cpu", lambda v: "%.1f" % v,
            lambda k: "%.3f x" % (k["cpu"] / f["cpu"]), "", None),
        row("Peak resident memory after start-up, MiB (median)", "rss",
            lambda v: "%.2f" % (v / 1024), lambda k: "%+.2f MiB" % ((k["rss"] - f["rss"]) / 1024),
            "<= +2 MiB", p["rss"] - f["rss"] <= 2 * 1024),
    ]
    names = {"program": "Brushwright", "accented": "Non-ASCII game folder",
             "reference": "Reference build", "window": "Main window alone", "floor": "Floor"}
    header = (["Figure"] + [names[name] for name in kinds]
              + [names[name] + " vs floor" for name in compared] + ["Target (Brushwright)", "Met"])
    print_table(title, header, rows)
    spread = ", ".join("%s %.1f-%.1f ms" % (name, min(r["ms"] for r in runs),
                                             max(r["ms"] for r in runs))
                       for name, runs in results.items())
    print("\nRange of the start-up times: " + spread + ".")


def finished_dump(prefix):
    """The file callgrind dumped to, once its size stops changing."""
    sizes = {}
    while True:
        time.sleep(0.5)
        now = {name: os.path.getsize(name) for name in glob.glob(prefix + "*")}
        done = [name for name, size in now.items() if size and sizes.get(name) == size]
        if done:
            return done[0]
        sizes = now


def instruction_rows(display, commands):
    """Instructions executed, all threads, from process start until the
    main window is painted: callgrind, unaffected by the machine's load."""
    counts = {}
    for name, (command, cwd) in commands.items():
        with tempfile.TemporaryDirectory() as folder:
            out = os.path.join(folder, "callgrind.out")
            display.forget()
            process = start(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out]
                            + command, cwd, environment())
            try:
                if display.wait_for(lambda: display.painted(MAIN_SIZE), 300) is None:
                    raise RuntimeError(f"{command[0]}: not painted under valgrind")
                subprocess.run(["callgrind_control", "--dump", str(process.pid)],
                               check=True, capture_output=True)
                dump = finished_dump(out)
            finally:
                stop(process)
            text = open(dump).read()
            counts[name] = int(re.search(r"^(?:summary|totals): (\d+)", text, re.M).group(1))
    p, w, f = (counts[name] / 1e6 for name in KINDS)
    return [("Instructions until painted, millions (callgrind)", "%.1f" % p, "%.1f" % w,
             "%.1f" % f, "%.3f x" % (p / f), "", None)]


class Watching:
    """The program with AutoCompile on, watching a map in a Wine prefix."""

    def __init__(self, root, binary, data_dir, display):
        self.display = display
        prefix = os.path.join(root, "prefix")
        os.makedirs(os.path.join(prefix, "dosdevices"))
        # A prefix as Wine makes it: C: is drive_c, Z: the root.
        os.symlink("../drive_c", os.path.join(prefix, "dosdevices", "c:"))
        os.symlink("/", os.path.join(prefix, "dosdevices", "z:"))
        maps = os.path.join(prefix, "drive_c", "Quake2", "baseq2", "maps")
        os.makedirs(maps)
        self.map_file = os.path.join(maps, "bench.map")
        with open(self.map_file, "w") as file:
            file.write("{\n}\n")
        self.stamp = time.time() - 3600
        os.utime(self.map_file, (self.stamp, self.stamp))
        # The shipped settings with autocompile on.
        settings = ["1", "0", "0", "0", "0", "0", "C:\\Quake2", "0", "0", "1"]
        program = program_folder(root, binary, data_dir, settings)
        display.forget()
        self.process = start([program, "bench"], root, environment({"WINEPREFIX": prefix}))
        self.main = display.wait_for(lambda: display.painted(MAIN_SIZE), 60)
        if self.main is None:
            raise RuntimeError("the program showed no main window")

    def stop(self):
        stop(self.process)

    def idle_cpu_percent(self, seconds):
        before, began = cpu_ms(self.process.pid), time.monotonic()
        self.display.drain(seconds)
        used, spent = cpu_ms(self.process.pid) - before, time.monotonic() - began
        return 100 * used / (spent * 1000)

    def trace(self, seconds, log):
        """System calls of every thread over the given time."""
        tracer = subprocess.Popen(["strace", "-f", "-tt", "-qq", "-o", log, "-p",
                                   str(self.process.pid)], stderr=subprocess.DEVNULL)
        time.sleep(1.0)  # attached to every thread
        self.display.drain(seconds)
        tracer.send_signal(signal.SIGINT)
        tracer.wait()

    def latencies(self, changes, seed):
        """Seconds from each new time stamp of the map to the prompt mapped."""
        chooser = random.Random(seed)
        found = []
        for _ in range(changes):
            self.display.drain(chooser.uniform(0.05, 1.5))
            self.stamp += 10  # two-second steps of the file age apart
            os.utime(self.map_file, (self.stamp, self.stamp))
            changed = time.monotonic()
            prompt = self.display.wait_for(lambda: self._prompt_after(changed),
                                           5 * TICK_SECONDS + 2)
            if prompt is None:
                found.append(None)
                continue
            found.append(prompt.mapped_at - changed)
            self.display.close_window(prompt.id)
            if self.display.wait_for(lambda: self.main.mapped_at, 5) is None:
                raise RuntimeError("the main window did not come back")
        return found

    def _prompt_after(self, moment):
        window = self.display.mapped_named(PROMPT_TITLE)
        return window if window and window.mapped_at >= moment else None


SYSCALL = re.compile(r"^(\d+)\s+(\d+):(\d+):([\d.]+)\s+(\w+)\((.*)$")
STAT_FAMILY = {"stat", "lstat", "fstat", "newfstatat", "statx", "fstatat64", "stat64"}
OPEN_FAMILY = {"open", "openat", "openat2", "creat"}
WAITS = {"poll", "ppoll", "select", "pselect6", "epoll_wait", "epoll_pwait"}


def names_file(arguments, path):
    """Whether the call's first path argument is that file, by any way."""
    quoted = re.search(r'"((?:[^"\\]|\\.)*)"', arguments)
    return bool(quoted) and os.path.realpath(quoted.group(1)) == os.path.realpath(path)


def trace_ticks(log, pid, map_file):
    """The main thread's calls grouped into ticks (bursts at least 100 ms
    apart), and the calls of every other thread. A blocking call is logged
    with the time it began, so each tick ends with the wait for the next."""
    ticks, others, last = [], collections.Counter(), None
    for line in open(log):
        match = SYSCALL.match(line)
        if not match:
            continue  # "<... resumed>" halves and signals
        thread, name, rest = int(match.group(1)), match.group(5), match.group(6)
        if name == "restart_syscall":
            continue  # what a thread was blocked in when strace attached
        seconds = int(match.group(2)) * 3600 + int(match.group(3)) * 60 + float(match.group(4))
        if name in STAT_FAMILY and names_file(rest, map_file):
            name += " (map file)"
        if thread != pid:
            others[name] += 1
            continue
        if last is None or seconds - last > 0.1:
            ticks.append(collections.Counter())
        ticks[-1][name] += 1
        last = seconds
    # The first and last groups are cut by attaching and detaching.
    return ticks[1:-1], others


def describe(counter):
    return ", ".join("%s x%d" % (name, n) for name, n in sorted(counter.items()))


def is_exact(tick):
    """Two stat-family calls on the map file and nothing else but the wait."""
    work = {name: n for name, n in tick.items() if name not in WAITS}
    return sum(work.values()) == 2 and all(name.endswith("(map file)") for name in work)


def watcher_rows(ticks, others, idle_cpu):
    kinds = collections.Counter(describe(tick) for tick in ticks)
    usual, count = kinds.most_common(1)[0] if kinds else ("none", 0)
    exact = bool(ticks) and all(is_exact(tick) for tick in ticks)
    opens = sum(n for tick in ticks for name, n in tick.items() if name in OPEN_FAMILY)
    rows = [
        ("Watcher: calls per tick, main thread (%d of %d ticks)" % (count, len(ticks)),
         usual, "2 stat-family calls on the map file, and the event loop's wait",
         exact and not others),
        ("Watcher: open calls in %d ticks" % len(ticks), str(opens), "0", opens == 0),
        ("Watcher: calls of the other threads", describe(others) or "none", "none",
         not others),
        ("Watcher: idle CPU, % of one core", "%.3f" % idle_cpu, "< 0.2", idle_cpu < 0.2),
    ]
    rows += [("  other ticks (%d)" % n, kind, "", None) for kind, n in kinds.items()
             if kind != usual]
    return rows


def latency_rows(latencies):
    seen = [s * 1000 for s in latencies if s is not None]
    missed = len(latencies) - len(seen)
    worst = max(seen) if seen else float("nan")
    text = "%.0f / %.0f / %.0f" % (min(seen), median(seen), worst) if seen else "none"
    if missed:
        text += ", %d not seen" % missed
    return [("Detection latency, ms: min / median / max of %d changes" % len(latencies),
             text, "max <= 550", missed == 0 and worst <= 550)]


def batch_rows(binary, root):
    folder = os.path.join(root, "batch")
    os.makedirs(folder)
    output = subprocess.run([binary, folder, "10000"], check=True, capture_output=True,
                            text=True).stdout
    figures = dict(pair.split("=") for pair in output.split())
    program, plain = float(figures["program_us"]), float(figures["plain_us"])
    return [
        ("Batch file built and written, us each (10,000 times, %s bytes)" % figures["bytes"],
         "%.1f (plain buffered write: %.1f, %.2f x)" % (program, plain, program / plain),
         "for the record", None),
        ("  of which building the text, us each", figures["build_us"], "", None),
    ]


def print_table(title, header, rows):
    print()
    print("### " + title)
    print()
    print("| " + " | ".join(header) + " |")
    print("|" + "---|" * len(header))
    for row in rows:
        met = {True: "yes", False: "**no**", None: ""}[row[-1]]
        print("| " + " | ".join(list(row[:-1]) + [met]) + " |")


def load_average():
    return " ".join(open("/proc/loadavg").read().split()[:3])


def machine_line():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as info:
        for line in info:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    return "%d cores (nproc), %s" % (os.cpu_count(), model)


def linux_tables(args, display, root):
    def binary(name):
        return os.path.join(args.bin, name)

    program = program_folder(os.path.join(root, "start"), binary("brushwright"), args.data)
    accented = program_folder(os.path.join(root, "accented"), binary("brushwright"), args.data,
                              ACCENTED_SETTINGS)
    commands = {"program": ([program, "base1"], root),
                "accented": ([accented, "base1"], root),
                "window": ([binary("brushwright_window")], root),
                "floor": ([binary("brushwright_floor")], root)}
    if args.reference:
        # Another build of the program (another branch), taking turns with these.
        reference = program_folder(os.path.join(root, "reference"),
                                   os.path.join(args.reference, "brushwright"), args.data)
        commands["reference"] = ([reference, "base1"], root)
    results = StartUp(display, environment(), args.settle).compare(commands, args.runs)
    startup_table("Linux (Xvfb), Release build: start-up and memory", results)
    if args.instructions:
        print_table("Linux: instructions, one run each under valgrind",
                    ("Figure", "Brushwright", "Main window alone", "Floor",
                     "Brushwright vs floor", "Target", "Met"),
                    instruction_rows(display, {name: commands[name] for name in KINDS}))
    if args.startup_only:
        return

    watching = Watching(os.path.join(root, "watch"), binary("brushwright"), args.data, display)
    try:
        # Qt's painting threads of the first frame end after 30 s unused.
        display.drain(args.idle)
        log = os.path.join(root, "strace.log")
        watching.trace(args.watch_seconds, log)
        ticks, others = trace_ticks(log, watching.process.pid, watching.map_file)
        rows = watcher_rows(ticks, others, watching.idle_cpu_percent(args.watch_seconds))
        rows += latency_rows(watching.latencies(args.changes, args.seed))
    finally:
        watching.stop()
    rows += batch_rows(binary("brushwright_batchtext"), root)
    print_table("Linux: AutoCompile watcher and batch text",
                ("Figure", "Measured", "Target", "Met"), rows)


def windows_table(args, display, root):
    folder = args.windows
    env = environment({"WINEPREFIX": os.path.join(root, "wineprefix"), "WINEDEBUG": "-all"})
    for name in ("QT_QPA_PLATFORM", "WINEQT_QPA_PLATFORM"):
        env.pop(name, None)
    subprocess.run(["wineboot", "--init"], env=env, check=True, capture_output=True)
    # A wine server that stays: each run starts the program, not Wine.
    server = subprocess.Popen(["wineserver", "--foreground", "--persistent"], env=env)
    try:
        commands = {name: (["wine", os.path.join(folder, exe)] + extra, folder)
                    for name, exe, extra in (("program", "brushwright.exe", ["base1"]),
                                             ("window", "brushwright_window.exe", []),
                                             ("floor", "brushwright_floor.exe", []))}
        results = StartUp(display, env, args.settle).compare(commands, args.runs)
        startup_table("Windows build under Wine (Xvfb), the same SDK for all three", results)
    finally:
        subprocess.run(["wineserver", "-k"], env=env)
        server.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--settle", type=float, default=0.5)
    parser.add_argument("--idle", type=float, default=31)
    parser.add_argument("--watch-seconds", type=float, default=60)
    parser.add_argument("--changes", type=int, default=50)
    parser.add_argument("--seed", type=int, default=13)
    parser.add_argument("--instructions", action="store_true")
    parser.add_argument("--windows")
    parser.add_argument("--skip-linux", action="store_true")
    parser.add_argument("--startup-only", action="store_true")
    # A folder with another build of brushwright, measured beside this one.
    parser.add_argument("--reference")
    args = parser.parse_args()

    display = xwatch.Display()
    print("Machine: " + machine_line() + "; load average before: " + load_average())
    with tempfile.TemporaryDirectory(prefix="brushwright-bench-") as root, session_bus():
        if not args.skip_linux:
            linux_tables(args, display, root)
        if args.windows:
            windows_table(args, display, root)
    print()
    print("Load average after: " + load_average())


if __name__ == "__main__":
    main()
