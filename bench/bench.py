#!/usr/bin/env python3
"""Measures the program against a bare Qt Quick window and the virtual TK700; run by bench/run.sh.

Every figure is taken RUNS times, the runs of the program and of the baseline interleaved, and
printed as min / median / max with the ratio of the medians against the baseline. Nothing here is
a test: no figure is checked against a target.
"""

import json
import os
import re
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Another build of the same tree can be measured in the same way (a "before" build, say).
BIN = os.environ.get("BENCH_BIN", os.path.join(ROOT, "build", "bin"))
RUNS = int(os.environ.get("RUNS", "7"))
# The series with a mouse that does not answer take tens of seconds a run.
STALL_RUNS = int(os.environ.get("STALL_RUNS", "3"))
IDLE_SECONDS = float(os.environ.get("IDLE_SECONDS", "60"))
SETTLE_SECONDS = 5.0
# Memory is read this long after the launch: the start-up lock has run out and the images only
# the start-up used are gone.
SETTLED_SECONDS = 5.5
TITLE = "Talvemark TK700"
BASE_TITLE = "TK700 bench baseline"

work = tempfile.mkdtemp(prefix="tk700-bench-")
procs = []


def log(*args):
    print(*args, file=sys.stderr, flush=True)


# ---- the designed waits, read from the command table of the sources ------------------------------

def command_table():
    """{family: {code: (settle, pauseAfter)}} and the wait constants, from device/*.h."""
    text = open(os.path.join(ROOT, "device", "commands.h")).read()
    table = {}
    for family in ("553", "560"):
        block = re.search(r"namespace f%s \{(.*?)\} // namespace" % family, text, re.S).group(1)
        shared = re.search(r"constexpr Definition GetLEDInstructFunction(\{.*?\})", text).group(1)
        rows = {}
        for body in re.findall(r"constexpr Definition \w+\s*(\{[^}]*\})", block) + [shared]:
            fields = [f.strip() for f in body.strip("{}").split(",")]
            rows[int(fields[0], 16)] = (fields[3] == "true", fields[4] == "true")
        table[family] = rows
    thread = open(os.path.join(ROOT, "device", "hid_thread.h")).read()
    consts = {name: int(re.search(r"%s = (\d+);" % name, thread).group(1))
              for name in ("kChunkPauseMs", "kSettleHalfMs")}
    consts["kPauseAfterMs"] = int(re.search(r"kPauseAfterMs = (\d+);", text).group(1))
    return table, consts


TABLE, WAITS = command_table()


def designed_waits(entries, family):
    """The waits the link is designed to take for the requests and chunks the mouse received."""
    settle = 2 * WAITS["kSettleHalfMs"]
    total = 0.0
    requests = [i for i, e in enumerate(entries) if e["kind"] == "feature-out"]
    for n, i in enumerate(requests):
        end = requests[n + 1] if n + 1 < len(requests) else len(entries)
        request = bytes.fromhex(entries[i].get("plain", entries[i]["bytes"]).replace(" ", ""))
        # The slave-attribute block (16H) goes out with the 553 family's definition on both.
        settles, pause = TABLE[family].get(request[1]) or TABLE["553"][request[1]]
        chunks = sum(1 for e in entries[i:end] if e["kind"] == "out" and e.get("iface", 0) == 0)
        if settles:
            total += settle
        total += chunks * WAITS["kChunkPauseMs"]
        if settles and chunks:
            total += settle
        if pause:
            total += WAITS["kPauseAfterMs"]
    return total


# ---- processes ----------------------------------------------------------------------------------

def start_sim(family, name):
    sock = os.path.join(work, name + ".sock")
    p = subprocess.Popen([os.path.join(BIN, "tk700-sim"), "serve", "--socket", sock,
                          "--family", family], stdout=subprocess.PIPE, text=True)
    procs.append(p)
    assert p.stdout.readline().startswith("ready")
    return sock


def ctl(sock, *args):
    out = subprocess.run([os.path.join(BIN, "tk700-sim"), "ctl", "--socket", sock, *args],
                         capture_output=True, text=True, check=True).stdout
    return json.loads(out)


def runtime_copy(name, family):
    folder = os.path.join(work, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "xdg"), mode=0o700)
    shutil.copytree(os.path.join(BIN, "modules"), os.path.join(folder, "modules"))
    shutil.copy2(os.path.join(BIN, "tk700"), folder)
    apconfig = os.path.join(folder, "modules", "setting", "apConfig.bin")
    text = open(apconfig, encoding="utf-8").read()
    text = re.sub(r"(?m)^icType=.*$", "icType=" + family, text)
    open(apconfig, "w", encoding="utf-8").write(text)
    return folder


def launch(program, title, env_extra, cwd=None):
    """Starts a program through the map timer: (ms from launch to map, pid)."""
    env = dict(os.environ)
    env.update(env_extra)
    env["QT_QUICK_BACKEND"] = "software"
    out = subprocess.run([os.path.join(BIN, "tk700-bench-mapwait"), "--name", title, program],
                         capture_output=True, text=True, env=env, cwd=cwd, timeout=60).stdout
    ms, pid = out.split()
    return float(ms), int(pid)


def launch_program(name, family, sim, probe=False, env_extra=None):
    folder = runtime_copy(name, family)
    # The virtual mouse's plugs are noticed by comparing the enumeration, as the run script does.
    env = {"XDG_RUNTIME_DIR": os.path.join(folder, "xdg"),
           "LD_PRELOAD": os.path.join(BIN, "libtk700-hidapi.so"),
           "TK700_POLL_DEVICES": "1"}
    env.update(env_extra or {})
    if sim:
        env["TK700_SIM_SOCKET"] = sim
    if probe:
        env["TK700_ITEM_PROBE"] = os.path.join(folder, "probe")
        env["TK700_FRAME_PROBE"] = "1"
    ms, pid = launch(os.path.join(folder, "tk700"), TITLE, env, cwd=folder)
    return ms, pid, folder


def launch_bare():
    return launch(os.path.join(BIN, "tk700-bench-bare"), BASE_TITLE,
                  {"XDG_RUNTIME_DIR": os.path.join(work, "xdg-bare")})


def stop(pid):
    try:
        os.kill(pid, 15)
    except ProcessLookupError:
        return
    for _ in range(100):
        try:
            os.kill(pid, 0)
        except ProcessLookupError:
            return
        try:
            os.waitpid(pid, os.WNOHANG)
        except ChildProcessError:
            pass
        time.sleep(0.05)
    os.kill(pid, 9)


def memory_mb(pid):
    """{"peak", "anon", "file", "shmem"} in MB: the peak RSS, and what the process holds now as
    anonymous memory, mapped files and shared memory (the X server's backing store)."""
    fields = {"VmHWM": "peak", "RssAnon": "anon", "RssFile": "file", "RssShmem": "shmem"}
    got = {}
    for line in open("/proc/%d/status" % pid):
        key = line.split(":")[0]
        if key in fields:
            got[fields[key]] = int(line.split()[1]) / 1024
    return got


def cpu_sample(pid):
    """{thread: (ns on a CPU, wake-ups)} of the process's threads. A wake-up is a voluntary
    context switch (the thread went to sleep and was woken again); a thread preempted by another
    job of a loaded machine is not woken, so the involuntary switches are left out."""
    sample = {}
    for task in os.listdir("/proc/%d/task" % pid):
        try:
            fields = open("/proc/%d/task/%s/schedstat" % (pid, task)).read().split()
            status = open("/proc/%d/task/%s/status" % (pid, task)).read()
        except OSError:
            continue
        woken = int(re.search(r"(?m)^voluntary_ctxt_switches:\s+(\d+)", status).group(1))
        sample[task] = (int(fields[0]), woken)
    return sample


def cpu_delta(before, after):
    """CPU ns and wake-ups between two samples: threads started meanwhile count whole,
    threads that ended meanwhile are lost (a pool thread expiring, at most)."""
    ns = slices = 0
    for task, (a_ns, a_slices) in after.items():
        b_ns, b_slices = before.get(task, (0, 0))
        ns += a_ns - b_ns
        slices += a_slices - b_slices
    return ns, slices


# ---- the window's probe -------------------------------------------------------------------------

class Probe:
    def __init__(self, path):
        deadline = time.monotonic() + 20
        while True:
            try:
                self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
                self.sock.connect(path)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.1)
        self.reader = self.sock.makefile("r")

    def ask(self, line):
        self.sock.sendall((line + "\n").encode())
        return json.loads(self.reader.readline())

    def prop(self, item, name):
        return self.ask("item %s %s" % (item, name)).get("props", {}).get(name)

    def wait(self, condition, seconds=20):
        deadline = time.monotonic() + seconds
        while not condition():
            if time.monotonic() > deadline:
                raise RuntimeError("probe: condition not met")
            time.sleep(0.02)

    def click(self, item):
        found = self.ask("item " + item)
        x, y = found["x"] + found["w"] // 2, found["y"] + found["h"] // 2
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
        time.sleep(0.1)
        start = time.monotonic() * 1000
        subprocess.run(["xdotool", "click", "1"], check=True)
        return start


def gap_between(start, end, frames):
    """The longest time between two rendered frames (or the start or the end) from start to end."""
    moments = [start] + [t for t in frames if start < t < end] + [end]
    return max(b - a for a, b in zip(moments, moments[1:]))


def timed_write(probe, sim, family, trigger):
    """Runs `trigger` (which returns the click time) and waits for the device work to finish:
    (wall ms, designed ms, longest frame gap ms)."""
    probe.ask("frames")
    ctl(sim, "clear-log")
    start = trigger()
    frames, finished = [], []
    deadline = time.monotonic() + 60
    while not finished:
        if time.monotonic() > deadline:
            raise RuntimeError("the device work did not finish")
        time.sleep(0.05)
        got = probe.ask("frames")
        frames += got["frames"]
        finished += got["finished"]
    end = finished[0]
    gap = gap_between(start, end, frames)
    entries = ctl(sim, "log")["log"]
    if os.environ.get("BENCH_DUMP"):
        json.dump(entries, open(os.environ["BENCH_DUMP"], "w"))
    return end - start, designed_waits(entries, family), gap


# ---- the figures --------------------------------------------------------------------------------

def summary(values):
    return min(values), statistics.median(values), max(values)


rows = []


def row(name, unit, values, base=None, fmt="%.1f"):
    lo, med, hi = summary(values)
    ratio = ""
    if base:
        bmed = statistics.median(base)
        ratio = "%.2f" % (med / bmed) if bmed > 0 else "-"
    cells = " / ".join(fmt % v for v in (lo, med, hi))
    rows.append((name, unit, cells, ratio))


def startup():
    sim = start_sim("553", "start")
    # "source": the same program told to ignore its compiled QML and compile the documents at
    # start-up, which shows what the ahead-of-time compilation saves.
    kinds = ("program", "bare", "source")
    times = {k: [] for k in kinds}
    mem = {k: [] for k in kinds}
    for i in range(RUNS):
        for which in kinds[i % 3:] + kinds[:i % 3]:
            launched = time.monotonic()
            if which == "bare":
                ms, pid = launch_bare()
            else:
                env = {"QML_DISABLE_DISK_CACHE": "1"} if which == "source" else None
                ms, pid, _ = launch_program("start", "553", sim, env_extra=env)
            # Well after the start-up lock has run out and the unused images are dropped.
            time.sleep(max(0.0, launched + SETTLED_SECONDS - time.monotonic()))
            times[which].append(ms)
            mem[which].append(memory_mb(pid))
            stop(pid)
        log("start-up run %d: program %.0f ms, baseline %.0f ms, QML compiled at start %.0f ms"
            % (i + 1, times["program"][-1], times["bare"][-1], times["source"][-1]))
    row("window mapped after launch", "ms", times["program"], times["bare"])
    row("bare window mapped after launch", "ms", times["bare"])
    row("window mapped, QML compiled at start-up", "ms", times["source"], times["bare"])
    for label, which in (("", "program"), ("bare window ", "bare"),
                         (", QML compiled at start-up", "source")):
        name = label.strip() + " peak RSS" if which == "bare" else "peak RSS" + label
        base = mem["bare"] if which != "bare" else None
        row(name, "MB", [m["peak"] for m in mem[which]], base and [m["peak"] for m in base])
        if which == "source":
            continue
        for part, what in (("anon", "anonymous"), ("file", "file-backed"),
                           ("shmem", "shared")):
            row("%s held then: %s" % ("bare window" if which == "bare" else "program", what),
                "MB", [m[part] for m in mem[which]], base and [m[part] for m in base])


# What each page adds when it is first shown, in the order a user might open them: the peak RSS
# after each step (the steps add up, as the peak only grows), and the anonymous and file-backed
# parts held then.
PAGE_STEPS = (
    ("main page shown", None),
    ("language list opened", ("click", "languageListHeader")),
    ("backlight page shown", ("click", "tabLight")),
    ("settings page shown", ("click", "tabSettings")),
    ("profile dialog shown", ("click", "profileBtn")),
    ("gun editor shown", ("call", 'mainIten buildPart "gunControlMain"', "gunControlMain open")),
)


def pages():
    sim = start_sim("553", "pages")
    mem = {name: [] for name, _ in PAGE_STEPS}
    shown = []
    for i in range(RUNS):
        launched = time.monotonic()
        _, pid, folder = launch_program("pages", "553", sim, probe=True)
        probe = Probe(os.path.join(folder, "probe"))
        # Polled every 20 ms: the pages shown once the start-up lock has run out.
        probe.wait(lambda: probe.prop("mainIten", "isStarted"))
        shown.append((time.monotonic() - launched) * 1000)
        probe.wait(lambda: not probe.prop("protectUIItem", "isBusy"))
        time.sleep(max(0.0, launched + SETTLED_SECONDS - time.monotonic()))
        for name, step in PAGE_STEPS:
            if step and step[0] == "click":
                probe.click(step[1])
            elif step:
                for call in step[1:]:
                    probe.ask("call " + call)
            if step:
                time.sleep(1.5)
            mem[name].append(memory_mb(pid))
            # Menus and dialogs are closed again before the next step, as a user would.
            if name == "language list opened":
                probe.ask("call languageList closeMenu")
            elif name == "profile dialog shown":
                probe.ask("call profileMain close")
                probe.click("tabMouse")
        stop(pid)
        log("pages run %d: %s" % (i + 1, ", ".join("%.1f" % mem[n][-1]["peak"]
                                                    for n, _ in PAGE_STEPS)))
    row("pages shown after launch", "ms", shown, None, "%.0f")
    for name, _ in PAGE_STEPS:
        row("peak RSS, %s" % name, "MB", [m["peak"] for m in mem[name]])
        row("held then, %s: anonymous" % name, "MB", [m["anon"] for m in mem[name]])
        row("held then, %s: file-backed" % name, "MB", [m["file"] for m in mem[name]])


def idle():
    watched_sim = start_sim("553", "idle")
    absent_sim = start_sim("553", "absent")
    ctl(absent_sim, "unplug")
    kinds = ("watched", "absent", "bare", "wakes")
    cpu = {k: [] for k in kinds}
    wakes = {k: [] for k in kinds}
    for i in range(RUNS):
        pids = {}
        _, pids["watched"], _ = launch_program("idle", "553", watched_sim)
        _, pids["absent"], _ = launch_program("absent", "553", absent_sim)
        _, pids["bare"] = launch_bare()
        pids["wakes"] = subprocess.Popen([os.path.join(BIN, "tk700-bench-wakes")]).pid
        time.sleep(SETTLE_SECONDS)
        before = {k: cpu_sample(p) for k, p in pids.items()}
        t0 = time.monotonic()
        time.sleep(IDLE_SECONDS)
        after = {k: cpu_sample(p) for k, p in pids.items()}
        seconds = time.monotonic() - t0
        for k in pids:
            ns, slices = cpu_delta(before[k], after[k])
            cpu[k].append(ns / 1e9 / seconds * 100)
            wakes[k].append(slices / seconds)
            stop(pids[k])
        log("idle run %d: watched %.3f %% %.1f/s, no mouse %.3f %% %.1f/s, baseline %.3f %% %.1f/s,"
            " reference %.3f %% %.1f/s"
            % (i + 1, cpu["watched"][-1], wakes["watched"][-1], cpu["absent"][-1],
               wakes["absent"][-1], cpu["bare"][-1], wakes["bare"][-1], cpu["wakes"][-1],
               wakes["wakes"][-1]))
    # The watch's designed read time-out wakes it twice a second: its ratio is against a loop
    # that does only that, which tells what the machine charges for the wake-ups themselves.
    row("idle CPU, mouse watched", "% of a core", cpu["watched"], cpu["wakes"], "%.3f")
    row("idle wake-ups, mouse watched", "1/s", wakes["watched"], wakes["bare"])
    row("idle CPU, no mouse", "% of a core", cpu["absent"], cpu["bare"], "%.3f")
    row("idle wake-ups, no mouse", "1/s", wakes["absent"], wakes["bare"])
    row("bare window idle CPU", "% of a core", cpu["bare"], None, "%.3f")
    row("bare window idle wake-ups", "1/s", wakes["bare"])
    row("reference loop waking twice a second: CPU", "% of a core", cpu["wakes"], None, "%.3f")
    row("reference loop waking twice a second: wake-ups", "1/s", wakes["wakes"])


def writes(family):
    sim = start_sim(family, "apply" + family)
    results = {"Apply": [], "Reset": []}
    for i in range(RUNS):
        _, pid, folder = launch_program("apply" + family, family, sim, probe=True)
        probe = Probe(os.path.join(folder, "probe"))
        probe.wait(lambda: probe.prop("mainIten", "isStarted"))
        probe.wait(lambda: not probe.prop("protectUIItem", "isBusy"))
        order = ("Apply", "Reset") if i % 2 == 0 else ("Reset", "Apply")
        for which in order:
            if which == "Apply":
                # Every page unsaved: Apply sends the key matrix, the DPI table and the stage
                # colours, the lighting and the system settings, as it does after an edit on
                # each page.
                for page in ("keyMatrixMain", "dpiSettingMain", "lightControlMain",
                             "systemSettingMain"):
                    probe.ask("set %s isSave true" % page)
                result = timed_write(probe, sim, family, lambda: probe.click("applyBtn"))
            else:
                def reset():
                    probe.click("resetBtn")
                    probe.wait(lambda: probe.ask("item resetConfirmOK").get("visible"))
                    return probe.click("resetConfirmOK")
                result = timed_write(probe, sim, family, reset)
            results[which].append(result)
            probe.wait(lambda: not probe.prop("protectUIItem", "isBusy"))
        stop(pid)
        log("%s run %d: Apply %.0f ms (designed %.0f), Reset %.0f ms (designed %.0f)"
            % (family, i + 1, results["Apply"][-1][0], results["Apply"][-1][1],
               results["Reset"][-1][0], results["Reset"][-1][1]))
    for which, values in results.items():
        wall = [v[0] for v in values]
        designed = [v[1] for v in values]
        row("%s %s family: wall time" % (which, family), "ms", wall, designed, "%.0f")
        row("%s %s family: designed waits" % (which, family), "ms", designed, None, "%.0f")
        row("%s %s family: longest frame gap" % (which, family), "ms", [v[2] for v in values])


PAGES = ("keyMatrixMain", "dpiSettingMain", "lightControlMain", "systemSettingMain")


def silent_start(sim, silent):
    """Start-up against a 560 mouse that answers no feature read (or a healthy one): ms from the
    launch to the map, to the pages shown (polled every 20 ms), and to the reads of the mouse told,
    and the longest frame gap from the pages shown until then (None when the reads were over
    first)."""
    ctl(sim, "fault", "name=silent-feature" if silent else "name=none")
    launched = time.monotonic() * 1000
    mapped, pid, folder = launch_program("silent" if silent else "answering", "560", sim,
                                         probe=True)
    probe = Probe(os.path.join(folder, "probe"))
    frames, finished, shown = [], [], None
    deadline = time.monotonic() + 90
    while not (finished and shown):
        if time.monotonic() > deadline:
            raise RuntimeError("the reads of the mouse were not told")
        got = probe.ask("frames")
        frames += got["frames"]
        finished += got["finished"]
        if shown is None and probe.prop("mainIten", "isStarted"):
            shown = time.monotonic() * 1000
        time.sleep(0.02)
    stop(pid)
    ctl(sim, "fault", "name=none")
    told = finished[0]
    gap = gap_between(shown, told, frames) if told > shown else None
    return mapped, shown - launched, told - launched, gap


def stalls():
    """Rows 4 and 5 of issue 27's kind: the window while the mouse is silent or slow."""
    sim = start_sim("560", "stalls")
    runs = {"answering": [], "silent": []}
    for i in range(STALL_RUNS):
        for silent in (i % 2 == 0, i % 2 != 0):
            runs["silent" if silent else "answering"].append(silent_start(sim, silent))
        log("silent start run %d: pages after %.0f ms (answering %.0f), reads told after %.0f ms,"
            " longest frame gap %.1f ms" % (i + 1, runs["silent"][-1][1], runs["answering"][-1][1],
                                             runs["silent"][-1][2], runs["silent"][-1][3]))
    name = "start-up, 560 mouse silent to feature reads"
    row(name + ": window mapped after launch", "ms", [r[0] for r in runs["silent"]],
        [r[0] for r in runs["answering"]])
    row(name + ": pages shown after launch", "ms", [r[1] for r in runs["silent"]],
        [r[1] for r in runs["answering"]], "%.0f")
    row(name + ": failure told after launch", "ms", [r[2] for r in runs["silent"]], None, "%.0f")
    row(name + ": longest frame gap while read", "ms", [r[3] for r in runs["silent"]])
    row("start-up, 560 mouse answering: pages shown after launch", "ms",
        [r[1] for r in runs["answering"]], None, "%.0f")

    # Apply after the connect could not read the profile blocks: they are read again first.
    results = {False: [], True: []}
    for i in range(STALL_RUNS):
        for silent_writes in (False, True):
            ctl(sim, "fault", "name=none")
            ctl(sim, json.dumps({"cmd": "fault", "name": "garbage-reply", "on": "8c",
                                 "keep": True}))
            _, pid, folder = launch_program("reread", "560", sim, probe=True)
            probe = Probe(os.path.join(folder, "probe"))
            probe.wait(lambda: probe.prop("warningAssigmentMain", "visible"), 60)
            ctl(sim, "fault", "name=none")
            probe.ask("call warningAssigmentMain hide")
            probe.wait(lambda: not probe.prop("protectUIItem", "isBusy"))
            if silent_writes:
                ctl(sim, "fault", "name=silent-write")
            for page in PAGES:
                probe.ask("set %s isSave true" % page)
            results[silent_writes].append(
                timed_write(probe, sim, "560", lambda: probe.click("applyBtn")))
            stop(pid)
            ctl(sim, "fault", "name=none")
        log("re-read run %d: Apply %.0f ms, gap %.1f ms; writes unanswered %.0f ms, gap %.1f ms"
            % (i + 1, results[False][-1][0], results[False][-1][2], results[True][-1][0],
               results[True][-1][2]))
    name = "Apply 560 family, blocks unread at the connect"
    row(name + ": wall time", "ms", [v[0] for v in results[False]],
        [v[1] for v in results[False]], "%.0f")
    row(name + ": designed waits", "ms", [v[1] for v in results[False]], None, "%.0f")
    row(name + ": longest frame gap", "ms", [v[2] for v in results[False]])
    name += ", writes unanswered"
    row(name + ": wall time", "ms", [v[0] for v in results[True]], None, "%.0f")
    row(name + ": longest frame gap", "ms", [v[2] for v in results[True]])


def main():
    what = sys.argv[1:] or ["startup", "pages", "idle", "writes", "stalls"]
    try:
        if "startup" in what:
            startup()
        if "pages" in what:
            pages()
        if "writes" in what:
            writes("553")
            writes("560")
        if "idle" in what:
            idle()
        if "stalls" in what:
            stalls()
    finally:
        for p in procs:
            p.terminate()
        shutil.rmtree(work, ignore_errors=True)
    print("%d interleaved runs (%d with a silent mouse); idle over %.0f s; figures min / median / "
          "max; ratio: median against the baseline's median (the bare window, the designed waits,\n"
          "the same start with a mouse that answers, or for idle CPU while watching the reference "
          "loop)" % (RUNS, STALL_RUNS, IDLE_SECONDS))
    print()
    print("| figure | unit | min / median / max | ratio |")
    print("|---|---|---|---|")
    for name, unit, cells, ratio in rows:
        print("| %s | %s | %s | %s |" % (name, unit, cells, ratio))


if __name__ == "__main__":
    main()
