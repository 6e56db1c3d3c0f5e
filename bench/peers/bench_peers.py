#!/usr/bin/env python3
"""Quillmere beside Geany on the same 50 MB page, under Xvfb with a fresh home.

Geany opens the same bytes named .txt: the same editing engine with no
highlighting, the fastest form a peer shows a page in. For each program:
the time and processor time until the page is shown and until the process
is idle, the whole process's peak memory, and the cost of a key at the end
of the page against a key in a 1 KB page.

"Shown" is a practical proxy: the window is mapped and the process's
processor time then stops growing for 0.5 s (growth below 1.5 ms a poll,
a caret blink, does not count). "Idle" is the same with 2 s of quiet, so a
freeze after the page appears counts against time to idle. A key is timed
from sending it until the processor time has stood still for 0.15 s.

Usage: bench_peers.py QUILLMERE_BINARY   (RUNS=3 in the environment by default)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PAGE_BYTES = 50 * 1000 * 1000
SHOWN_QUIET = 0.5
IDLE_QUIET = 2.0
KEY_QUIET = 0.15
# A caret blink costs well under a millisecond; loading costs several per poll.
NOISE = 0.0015
TIMEOUT = 120.0
POLL = 0.01
RUNS = int(os.environ.get("RUNS", "3"))
KEYS = 5


def write_pages(folder):
    """A 50 MB page of indented table rows with CR LF ends, and a 1 KB one."""
    rows = []
    seed = 12345
    size = 0
    while size < PAGE_BYTES:
        seed = (seed * 1103515245 + 12345) & 0xFFFFFFFF
        r = (seed >> 16) & 0x7FFF
        row = "\t" * (r % 3) + f'<tr><td class="c{r % 7}">cell {r} text</td></tr>\r\n'
        rows.append(row)
        size += len(row)
    big = "".join(rows).encode("ascii")
    small = "".join(rows[:20]).encode("ascii")[:1000]
    paths = {}
    for name, data in (("big", big), ("small", small)):
        for ext in ("html", "txt"):
            path = os.path.join(folder, f"{name}.{ext}")
            with open(path, "wb") as f:
                f.write(data)
            paths[name, ext] = path
    return paths


def cpu_seconds(pid):
    """Processor time of every thread of the process, in seconds (ns precision)."""
    total = 0
    try:
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                    total += int(f.read().split()[0])
            except (FileNotFoundError, ProcessLookupError):
                pass
    except FileNotFoundError:
        return None
    return total / 1e9


def peak_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return -1


def visible_window(pid, env):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                         env=env, capture_output=True, text=True).stdout.split()
    return out[-1] if out else None


def wait_quiet(pid, start, quiet, env=None, need_window=False, since=None, noise=NOISE):
    """Waits until the process's processor time has not grown by more than
    Noise a poll for Quiet seconds (and, when asked, its window is mapped).
    Since is the wall time and processor time the watch goes on from, the
    start when none is given. Returns the wall time of the last growth after
    Start, the processor time then, and the window."""
    window = None
    last_change, busy_cpu = since if since else (start, cpu_seconds(pid))
    previous = busy_cpu
    polls = 0
    while True:
        now = time.monotonic()
        if now - start > TIMEOUT:
            raise RuntimeError(f"process {pid} not idle after {TIMEOUT:.0f} s")
        cpu = cpu_seconds(pid)
        if cpu is None:
            raise RuntimeError(f"process {pid} ended")
        if cpu - previous > noise:
            last_change, busy_cpu = now, cpu
        previous = cpu
        polls += 1
        if need_window and window is None and polls % 10 == 0:  # xdotool costs a few ms
            window = visible_window(pid, env)
            if window is not None:
                last_change = max(last_change, now)  # shown no earlier than mapped
        if now - last_change >= quiet and (window is not None or not need_window):
            return last_change - start, busy_cpu, window
        time.sleep(POLL)


def key_seconds(pid, env, keys):
    """Median wall time from sending Keys until the process is idle again."""
    times = []
    for _ in range(KEYS):
        before = cpu_seconds(pid)
        start = time.monotonic()
        subprocess.run(["xdotool", "key", "--clearmodifiers"] + keys, env=env, check=True)
        wall, _, _ = wait_quiet(pid, start, KEY_QUIET, since=(start, before), noise=0)
        times.append(wall)
    return statistics.median(times)


def focus_editor(window, env):
    """Clicks into the text: both programs show it right of the middle,
    a third of the way down."""
    shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=env,
                           capture_output=True, text=True, check=True).stdout
    geometry = dict(line.split("=", 1) for line in shell.split())
    x, y = int(int(geometry["WIDTH"]) * 0.65), int(int(geometry["HEIGHT"]) * 0.3)
    subprocess.run(["xdotool", "windowfocus", "--sync", window, "mousemove", "--window", window,
                    str(x), str(y), "click", "1"], env=env, check=True)


def run_once(command, env):
    """Starts Command; measures it until shown and idle, then keys at the end."""
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, cwd=env["HOME"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        shown, shown_cpu, window = wait_quiet(proc.pid, start, SHOWN_QUIET, env, True)
        idle, idle_cpu, _ = wait_quiet(proc.pid, start, IDLE_QUIET,
                                       since=(start + shown, shown_cpu))
        result = {"shown": shown, "shown_cpu": shown_cpu, "idle": idle, "idle_cpu": idle_cpu,
                  "peak": peak_kb(proc.pid) / 1024}
        focus_editor(window, env)
        subprocess.run(["xdotool", "key", "--clearmodifiers", "ctrl+End"], env=env, check=True)
        wait_quiet(proc.pid, time.monotonic(), KEY_QUIET)
        result["key"] = key_seconds(proc.pid, env, ["x"])
        return result
    finally:
        proc.kill()
        proc.wait()


def median_run(command, env):
    runs = [run_once(command, env) for _ in range(RUNS)]
    return {k: statistics.median(r[k] for r in runs) for k in runs[0]}


def row(label, ours, baseline, unit, goal=None):
    ratio = ours / baseline if baseline > 0 else 0.0
    if goal is None:
        tail = "  (for reference)"
    else:
        tail = f"  (goal <= {goal:g})" + ("" if ratio <= goal else "  OVER GOAL")
    digits = 3 if unit == "s" else 1
    print(f"{label:<28} {ours:8.{digits}f} {unit} vs {baseline:8.{digits}f} {unit}  "
          f"ratio {ratio:6.2f}{tail}", flush=True)


def start_xvfb():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             "1280x1024x24", "-nolisten", "tcp"],
                            pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        display = f.readline().strip()
    if not display:
        raise RuntimeError("Xvfb did not start")
    return xvfb, ":" + display


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    quillmere = os.path.abspath(sys.argv[1])
    for tool in ("Xvfb", "xdotool", "geany"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing: run 'make bench-peers' as root once")
    scratch = tempfile.mkdtemp(prefix="quillmere-peers-")
    xvfb = None
    try:
        home = os.path.join(scratch, "home")
        os.makedirs(home)
        paths = write_pages(scratch)
        for path in paths.values():  # both read from the page cache
            with open(path, "rb") as f:
                while f.read(1 << 22):
                    pass
        xvfb, display = start_xvfb()
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": home,
               "DISPLAY": display, "LANG": os.environ.get("LANG", "C.UTF-8"),
               "XDG_RUNTIME_DIR": scratch, "QT_QPA_PLATFORM": "xcb",
               "NO_AT_BRIDGE": "1", "GSETTINGS_BACKEND": "memory"}
        geany = ["geany", "--new-instance", "--no-session", "--config",
                 os.path.join(home, "geany")]
        with open("/proc/loadavg") as f:
            print("load average: " + " ".join(f.read().split()[:3]))
        print(f"page: {os.path.getsize(paths['big', 'html']) / 1e6:.1f} MB, "
              f"median of {RUNS} runs, under Xvfb {display}", flush=True)
        ours = median_run([quillmere, paths["big", "html"]], env)
        theirs = median_run(geany + [paths["big", "txt"]], env)
        ours_small = median_run([quillmere, paths["small", "html"]], env)
        theirs_small = median_run(geany + [paths["small", "txt"]], env)
        for name, r in (("quillmere", ours), ("geany .txt", theirs)):
            print(f"  {name}: shown {r['shown']:.2f} s ({r['shown_cpu']:.2f} s processor), "
                  f"idle {r['idle']:.2f} s ({r['idle_cpu']:.2f} s processor), "
                  f"peak {r['peak']:.0f} MB, key at the end {r['key'] * 1000:.0f} ms")
        row("shown, 50 MB vs geany .txt", ours["shown"], theirs["shown"], "s", 1.0)
        row("idle, 50 MB vs geany .txt", ours["idle"], theirs["idle"], "s", 1.0)
        row("processor to idle vs geany", ours["idle_cpu"], theirs["idle_cpu"], "s")
        row("peak memory vs geany .txt", ours["peak"], theirs["peak"], "MB", 1.0)
        row("key at end of 50 MB vs 1 KB", ours["key"], ours_small["key"], "s", 1.2)
        row("geany: key 50 MB vs 1 KB", theirs["key"], theirs_small["key"], "s")
    finally:
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
