#!/usr/bin/env python3
"""Quillmere beside Geany on the same 50 MB page, under Xvfb with a fresh home.

Geany opens the same bytes named .txt: the same editing engine with no
highlighting, the fastest form a peer shows a page in. For each program:
the time and processor time until the page is shown and until the process
is idle, the whole process's peak memory, and the cost of a key at the end
of the page against a key in a 1 KB page.

"Shown" is a practical proxy: the window is mapped and the process's
processor time then stops growing for 0.5 s (growth below 1.5 ms a poll,
a caret blink, does not count). "Idle" is the start of the first 2 s in
which the process used under 2% of a core, so a freeze after the page
appears counts against time to idle while a peer's timers that wake it
every few seconds for ever do not. A key is timed from sending it until the
processor time has stood still for 0.15 s. A program that never gets there
within 120 s gives a row saying so. The machine's load average is printed
beside each row: the numbers are only as steady as the machine is quiet.

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
IDLE_SHARE = 0.02  # of one core, over IDLE_QUIET
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
            raise NotIdle(f"not quiet after {TIMEOUT:.0f} s")
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


class NotIdle(RuntimeError):
    """The process did not settle within TIMEOUT."""


def wait_idle(pid, start, since):
    """Waits for the first IDLE_QUIET seconds after Since in which the process
    used under IDLE_SHARE of a core. Returns the wall time after Start at which
    that stretch began and the processor time then."""
    samples = [since]
    while True:
        time.sleep(POLL)
        now = time.monotonic()
        cpu = cpu_seconds(pid)
        if cpu is None:
            raise RuntimeError(f"process {pid} ended")
        samples.append((now, cpu))
        # The oldest sample no more than IDLE_QUIET before now.
        while len(samples) > 2 and now - samples[1][0] >= IDLE_QUIET:
            samples.pop(0)
        begin, begin_cpu = samples[0]
        if now - begin >= IDLE_QUIET and cpu - begin_cpu <= IDLE_SHARE * (now - begin):
            return begin - start, begin_cpu
        if now - start > TIMEOUT:
            raise NotIdle(f"not idle after {TIMEOUT:.0f} s (over {IDLE_SHARE:.0%} of a core)")


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


def run_once(command, env, keys=True):
    """Starts Command; measures it until shown and idle, then keys at the end.
    A stage the program never settles in is None, as are those after it."""
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, cwd=env["HOME"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    result = dict.fromkeys(("shown", "shown_cpu", "idle", "idle_cpu", "peak", "key"))
    try:
        shown, shown_cpu, window = wait_quiet(proc.pid, start, SHOWN_QUIET, env, True)
        result.update(shown=shown, shown_cpu=shown_cpu)
        try:
            idle, idle_cpu = wait_idle(proc.pid, start, (start + shown, shown_cpu))
            result.update(idle=idle, idle_cpu=idle_cpu)
        except NotIdle as e:
            result["why"] = str(e)
        result["peak"] = peak_kb(proc.pid) / 1024
        if keys:
            focus_editor(window, env)
            subprocess.run(["xdotool", "key", "--clearmodifiers", "ctrl+End"], env=env,
                           check=True)
            wait_quiet(proc.pid, time.monotonic(), KEY_QUIET)
            result["key"] = key_seconds(proc.pid, env, ["x"])
    except NotIdle as e:
        result.setdefault("why", str(e))
    finally:
        proc.kill()
        proc.wait()
    return result


def median_run(command, env, keys=True):
    """The median of each measure over RUNS runs; None where a run lacks it,
    with the reason in "why"."""
    runs = [run_once(command, env, keys) for _ in range(RUNS)]
    merged = {}
    for k in runs[0]:
        if k == "why":
            continue
        values = [r[k] for r in runs]
        merged[k] = None if None in values else statistics.median(values)
    merged["why"] = next((r["why"] for r in runs if "why" in r), "")
    return merged


def load():
    with open("/proc/loadavg") as f:
        return f.read().split()[0]


def row(label, ours, baseline, unit, goal=None, why=""):
    """One ratio row with the load average of the last minute beside it; a
    measure missing on either side gives a row that says why."""
    if ours is None or baseline is None:
        print(f"{label:<30} not measured: {why or 'no result'}  [load {load()}]", flush=True)
        return
    ratio = ours / baseline if baseline > 0 else 0.0
    if goal is None:
        tail = "  (for reference)"
    else:
        tail = f"  (goal <= {goal:g})" + ("" if ratio <= goal else "  OVER GOAL")
    digits = 3 if unit == "s" else 1
    print(f"{label:<30} {ours:8.{digits}f} {unit} vs {baseline:8.{digits}f} {unit}  "
          f"ratio {ratio:6.2f}{tail}  [load {load()}]", flush=True)


REPLACE_HITS = 100000


def write_replace_pages(folder):
    """The replace-all page of the benchmark program: 10 MB of lines of about
    100 bytes, each with "quill" once, as .html and as .txt."""
    lines = []
    for i in range(REPLACE_HITS):
        end = "caf\u00e9</p>" if i % 8 == 0 else "velit</p>"
        lines.append('  <p class="body">Lorem ipsum dolor quill sit amet, consectetur '
                     "adipiscing " + end + "x" * 14 + "\r\n")
    data = "".join(lines).encode("utf-8")
    paths = {}
    for ext in ("html", "txt"):
        paths[ext] = os.path.join(folder, f"replace.{ext}")
        with open(paths[ext], "wb") as f:
            f.write(data)
    return paths


def xdo(env, *args):
    subprocess.run(["xdotool"] + [str(a) for a in args], env=env, check=True)


def window_size(window, env):
    shell = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=env,
                           capture_output=True, text=True, check=True).stdout
    geometry = dict(line.split("=", 1) for line in shell.split())
    return int(geometry["WIDTH"]), int(geometry["HEIGHT"])


def quillmere_replace_all(pid, window, env):
    """Clicks Replace All (its Alt+A is shared with All files): the button sits
    at this place in the window's first size, 712 x 400."""
    xdo(env, "mousemove", "--window", window, 505, 322, "click", 1)


def geany_replace_dialog(pid, window, env):
    """Opens the Replace dialog, fills it and opens its Replace All part;
    returns the action that clicks In Document. Without a window manager the
    dialog must be given the focus itself."""
    xdo(env, "key", "--clearmodifiers", "ctrl+h")
    time.sleep(0.7)
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Replace$"],
                           env=env, capture_output=True, text=True).stdout.split()
    if not found:
        raise NotIdle("geany's Replace dialog did not open")
    dialog = found[-1]
    xdo(env, "windowfocus", "--sync", dialog)
    xdo(env, "type", "--delay", 20, "quill")
    xdo(env, "key", "Tab")
    xdo(env, "type", "--delay", 20, "feather")
    if window_size(dialog, env)[1] < 300:  # Replace All still folded
        xdo(env, "mousemove", "--window", dialog, 30, 231, "click", 1)
        time.sleep(0.7)
    return lambda: xdo(env, "mousemove", "--window", dialog, 407, 256, "click", 1)


def replace_all_once(command, env, prepare):
    """Starts Command on a page and waits until it is shown and idle; Prepare
    (pid, window, env) gets the command ready and returns the action that
    starts it, timed until the process is quiet for SHOWN_QUIET."""
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, cwd=env["HOME"], stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        shown, shown_cpu, window = wait_quiet(proc.pid, start, SHOWN_QUIET, env, True)
        wait_idle(proc.pid, start, (start + shown, shown_cpu))
        xdo(env, "windowfocus", "--sync", window)
        action = prepare(proc.pid, window, env)
        time.sleep(0.5)
        before = cpu_seconds(proc.pid)
        begin = time.monotonic()
        action()
        took, _, _ = wait_quiet(proc.pid, begin, SHOWN_QUIET, since=(begin, before))
        return took, ""
    except NotIdle as e:
        return None, f"{os.path.basename(command[0])}: {e}"
    finally:
        proc.kill()
        proc.wait()


def replace_all_rows(quillmere, geany, scratch, env):
    """Replace all of "quill" by "feather", 100,000 hits in 10 MB, through each
    program's own commands: Quillmere's Replace All button with the search
    and replacement kept from its settings, Geany's Replace dialog, In
    Document. Each time runs to the end of the work the command caused, the
    view redrawn included."""
    paths = write_replace_pages(scratch)
    config = os.path.join(env["HOME"], ".config", "quillmere")
    os.makedirs(config, exist_ok=True)
    with open(os.path.join(config, "quillmere.ini"), "wb") as f:
        f.write(b"[Settings]\r\nSaveSearch=TRUE\r\nLastSearch=quill\r\nReplace=feather\r\n"
                b"CaseSensitive=TRUE\r\nQueryReplace=FALSE\r\nAutoConversion=2\r\n"
                b"DelEmptyLines=FALSE\r\nSaveCoord=FALSE\r\n")

    def ours_prepare(pid, window, env):
        return lambda: quillmere_replace_all(pid, window, env)

    def fresh_state():
        # A killed run leaves the replaced text as a recovery, which the next
        # start would offer before anything else.
        shutil.rmtree(os.path.join(env["HOME"], ".local", "state"), ignore_errors=True)

    for ext in ("html", "txt"):
        ours = []
        for _ in range(RUNS):
            fresh_state()
            ours.append(replace_all_once([quillmere, paths[ext]], env, ours_prepare))
        theirs = [replace_all_once(geany + [paths[ext]], env, geany_replace_dialog)
                  for _ in range(RUNS)]
        why = next((w for _, w in ours + theirs if w), "")
        ours_s = None if any(t is None for t, _ in ours) else statistics.median(t for t, _ in ours)
        theirs_s = (None if any(t is None for t, _ in theirs)
                    else statistics.median(t for t, _ in theirs))
        row(f"replace all .{ext} vs geany", ours_s, theirs_s, "s", 1.0, why)


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
        theirs_html = median_run(geany + [paths["big", "html"]], env, keys=False)
        ours_small = median_run([quillmere, paths["small", "html"]], env)
        theirs_small = median_run(geany + [paths["small", "txt"]], env)

        def seconds(value, scale=1, unit="s"):
            return "never" if value is None else f"{value * scale:.2f} {unit}"

        for name, r in (("quillmere", ours), ("geany .txt", theirs), ("geany .html", theirs_html)):
            print(f"  {name}: shown {seconds(r['shown'])} ({seconds(r['shown_cpu'])} processor), "
                  f"idle {seconds(r['idle'])} ({seconds(r['idle_cpu'])} processor), "
                  f"peak {seconds(r['peak'], unit='MB')}, key at the end "
                  f"{seconds(r['key'], 1000, 'ms')}" + (f"; {r['why']}" if r["why"] else ""))
        why = theirs["why"] or ours["why"]
        row("shown, 50 MB vs geany .txt", ours["shown"], theirs["shown"], "s", 1.0, why)
        row("idle, 50 MB vs geany .txt", ours["idle"], theirs["idle"], "s", 1.0, why)
        row("processor to idle vs geany", ours["idle_cpu"], theirs["idle_cpu"], "s", None, why)
        why_html = theirs_html["why"] or ours["why"]
        row("open .html: shown vs geany", ours["shown"], theirs_html["shown"], "s", 1.0, why_html)
        row("open .html: idle vs geany", ours["idle"], theirs_html["idle"], "s", 1.0, why_html)
        row("peak memory vs geany .txt", ours["peak"], theirs["peak"], "MB", 1.0, why)
        row("key at end of 50 MB vs 1 KB", ours["key"], ours_small["key"], "s", 1.2, ours["why"])
        row("geany: key 50 MB vs 1 KB", theirs["key"], theirs_small["key"], "s", None, why)
        replace_all_rows(quillmere, geany, scratch, env)
    finally:
        if xvfb is not None:
            xvfb.terminate()
            xvfb.wait()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
