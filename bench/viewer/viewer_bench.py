#!/usr/bin/env python3
"""Loading and paging through a 1 MB page: tessival-view against a desktop browser.

Both programs run under the same virtual X server, one at a time, with the same window
size, and are measured from outside the same way:

  load    processor time (user + system, from the kernel's process CPU clock, in nanoseconds,
          exited threads included) from the start until the process goes idle with the
          page painted: under IDLE_CPU_S spent in IDLE_S seconds. The page's first paint is
          part of it. Reported twice: the program alone, and the program plus the X server,
          since a program that draws its text through the server's font rendering leaves
          part of its work there.
  memory  resident set (VmRSS) at that moment, minus the resident set of the same program
          showing an empty page: what the page adds.
  paging  the processor time the program spends on KEYS Page-Down keys sent by xdotool
          (until it is idle again), per key.

usage: viewer_bench.py TESSIVAL_VIEW [--peer dillo] [--runs 3] [--keys 200]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import desktop_probe  # noqa: E402
from desktop_probe import cpu_seconds, rss_kib  # noqa: E402

IDLE_S = 1.0
IDLE_CPU_S = 0.002
POLL_S = 0.02

# The viewer's page has one word more, so its figures stay comparable with earlier runs.
WORDS = desktop_probe.WORDS[:15] + ["Tessival"] + desktop_probe.WORDS[15:]


def make_page(path, size):
    desktop_probe.write_paragraph_page(path, size, 20, "<html><head><title>Benchmark</title></head><body>\n",
                                       "p%d.html", WORDS, bold_every=5)


def cpu_of(pids):
    return tuple(cpu_seconds(pid) for pid in pids)


def wait_idle(pids, timeout=120.0):
    """Processor seconds of each process at the moment they went quiet: from then on none
    of them spent more than IDLE_CPU_S in IDLE_S seconds. The clock reads nanoseconds, so a
    timer's wake-up counts too; the allowance keeps such housekeeping from looking like work,
    and what is spent after going quiet is left out, for every program alike."""
    quiet_at = cpu_of(pids)
    still_since = time.monotonic()
    deadline = still_since + timeout
    while time.monotonic() < deadline:
        time.sleep(POLL_S)
        now = cpu_of(pids)
        if any(n - q > IDLE_CPU_S for n, q in zip(now, quiet_at)):
            quiet_at = now
            still_since = time.monotonic()
        elif time.monotonic() - still_since >= IDLE_S:
            return quiet_at
    raise RuntimeError("processes %s never went idle" % (pids,))


def window_of(pid, env):
    return desktop_probe.window_of(pid, env, 200, 0.05)


def run_once(command, env, keys, server):
    """(load, load with the X server, resident KiB, paging per key, with the X server)."""
    server_start = cpu_seconds(server)
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        own, server_now = wait_idle([proc.pid, server])
        load = (own, own + server_now - server_start)
        rss = rss_kib(proc.pid)
        paging = (0.0, 0.0)
        if keys:
            window = window_of(proc.pid, env)
            subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env, check=False)
            before = wait_idle([proc.pid, server])
            subprocess.run(["xdotool", "key", "--delay", "5", "--window", window] + ["Next"] * keys, env=env,
                           check=True)
            after = wait_idle([proc.pid, server])
            own_delta = after[0] - before[0]
            paging = (own_delta / keys, (own_delta + after[1] - before[1]) / keys)
        return load, rss, paging
    finally:
        proc.terminate()
        proc.wait()


def measure(name, make_command, page, empty, env, runs, keys, server):
    rows = []
    for _ in range(runs):
        _, empty_rss, _ = run_once(make_command(empty), env, 0, server)
        load, rss, per_key = run_once(make_command(page), env, keys, server)
        rows.append((load[0], load[1], rss - empty_rss, per_key[0], per_key[1]))
    median = [statistics.median(row[i] for row in rows) for i in range(5)]
    result = {"load_s": median[0], "load_x_s": median[1], "added_mib": median[2] / 1024,
              "page_ms": median[3] * 1000, "page_x_ms": median[4] * 1000}
    print("%-14s load %.3f s (%.3f s with X)   page adds %.1f MiB   Page-Down %.2f ms (%.2f ms with X)" %
          (name, result["load_s"], result["load_x_s"], result["added_mib"], result["page_ms"],
           result["page_x_ms"]))
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("view")
    parser.add_argument("--peer", default="dillo")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--keys", type=int, default=200)
    parser.add_argument("--size", type=int, default=1 << 20)
    args = parser.parse_args()
    for tool in ("Xvfb", "xdotool", args.peer):
        if not shutil.which(tool):
            sys.exit("viewer_bench: %s is missing (scripts/setup.sh --bench)" % tool)

    work = tempfile.mkdtemp(prefix="tessival_view_bench_")
    page = os.path.join(work, "page.html")
    empty = os.path.join(work, "empty.html")
    make_page(page, args.size)
    with open(empty, "w") as out:
        out.write("<html><body></body></html>\n")
    display = ":%d" % (90 + os.getpid() % 100)
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.0)
    env = dict(os.environ, DISPLAY=display, HOME=work, QT_QPA_PLATFORM="xcb")
    try:
        print("page: %d bytes; %d runs, medians; %d Page-Down keys" % (os.path.getsize(page), args.runs,
                                                                          args.keys))
        ours = measure("tessival-view", lambda f: [args.view, f], page, empty, env, args.runs, args.keys,
                       xvfb.pid)
        peer = measure(args.peer, lambda f: [args.peer, "-g", "800x600", f], page, empty, env, args.runs,
                       args.keys, xvfb.pid)

        def ratio(key):
            return ours[key] / max(peer[key], 1e-9)

        print("ratios (tessival / %s): load %.2f (%.2f with X), memory %.2f, Page-Down %.2f (%.2f with X)" %
              (args.peer, ratio("load_s"), ratio("load_x_s"), ratio("added_mib"), ratio("page_ms"),
               ratio("page_x_ms")))
    finally:
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
