#!/usr/bin/env python3
"""The program as a user meets it: start, press a service button, see a 300 KB answer page.

Tessival and a desktop browser run under the same virtual X server, one at a time, with
windows of 800 x 600, against the same local nginx. Both are measured from outside:

  mapped     wall time from the start until the window is mapped (xdotool sees it)
  painted    wall time from the start until the program last spent processor time before
             it stayed idle for IDLE_S seconds: the first paint of the window is done
  answer     Tessival: wall time from the click on the "Wortschatz" button (sent through the
             X test extension from the bench itself) until the program went idle again,
             the page fetched, laid out and painted.
             The peer is started with the page's address and measured from its start.
  start+answer  Tessival's painted + answer; the peer's painted (it shows the page at once)
  cpu        processor time (user + system) of the whole run, page shown; answer_cpu the
             part Tessival spent from the click on
  rss        resident set (VmRSS) 3 s after the page is shown

usage: app_bench.py TESSIVAL [--peer dillo] [--runs 5] [--size 300000] [--no-peer]
                    [--smaps] [--env NAME=VALUE ...]

  --no-peer   measure Tessival alone (for trying a change quickly; ratios need the peer)
  --smaps     print Tessival's resident memory per mapping, as taken in the last run
  --env       extra environment for Tessival (to try a setting without rebuilding)
"""
import argparse
import os
import random
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
import desktop_probe  # noqa: E402
from desktop_probe import cpu_seconds, rss_kib  # noqa: E402

IDLE_S = 1.0
RETRIES = 3  # runs repeated when the X server is lost
IDLE_CPU_S = 0.002
POLL_S = 0.005
BUTTON_XY = (397, 31)  # "Wortschatz" in the toolbar, window coordinates

def make_page(path, size):
    desktop_probe.write_paragraph_page(
        path, size, 21,
        '<html><head><title>Wortschatz</title></head><body>\n'
        '<table bgcolor="#C0E0FF" border=1><tr><td>Wort</td><td>Häufigkeit</td></tr></table>\n',
        "w%d.htm")

def last_busy(pid, since_cpu=None, timeout=60.0):
    """The wall time at which the process last spent processor time before IDLE_S of rest.
    With since_cpu, processor time spent before the first look counts as a change then.
    The clock reads nanoseconds, so a timer's wake-up (the memo's blinking cursor) shows
    too: only more than IDLE_CPU_S since the last change counts as work, for both programs."""
    last_cpu = cpu_seconds(pid) if since_cpu is None else since_cpu
    last_change = time.monotonic()
    deadline = last_change + timeout
    while time.monotonic() < deadline:
        time.sleep(POLL_S)
        now = cpu_seconds(pid)
        if now - last_cpu > IDLE_CPU_S:
            last_cpu, last_change = now, time.monotonic()
        elif time.monotonic() - last_change >= IDLE_S:
            return last_change
    raise RuntimeError("process %d never went idle" % pid)


class LostDisplay(RuntimeError):
    """A program showed no window: on this shared machine the virtual X server is sometimes
    gone or taken over while a run goes on ("could not connect to display")."""


def window_of(pid, env):
    return desktop_probe.window_of(pid, env, 2000, 0.002)


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def start_nginx(work, page):
    port = free_port()
    www = os.path.join(work, "www")
    os.makedirs(os.path.join(www, "cgi-bin"))
    os.makedirs(os.path.join(work, "tmp"))
    shutil.copy(page, os.path.join(www, "cgi-bin", "wort_www"))
    shutil.copy(page, os.path.join(www, "page.htm"))
    temps = "".join("  %s_temp_path %s/tmp/%s;\n" % (t, work, t)
                    for t in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
    conf = ("daemon off;\nmaster_process off;\nworker_processes 1;\nerror_log %s/error.log;\n"
            "pid %s/nginx.pid;\nevents { worker_connections 16; }\nhttp {\n  access_log off;\n%s"
            "  server {\n    listen 127.0.0.1:%d;\n    root %s;\n"
            "    default_type \"text/html; charset=windows-1252\";\n  }\n}\n") % (work, work, temps, port, www)
    with open(os.path.join(work, "nginx.conf"), "w") as out:
        out.write(conf)
    nginx = subprocess.Popen(["nginx", "-p", work, "-c", os.path.join(work, "nginx.conf")])
    for _ in range(200):
        try:
            socket.create_connection(("127.0.0.1", port), 0.1).close()
            return nginx, port
        except OSError:
            time.sleep(0.02)
    raise RuntimeError("nginx does not answer")


def run_tessival(program, env, port, work, extra_env):
    cwd = tempfile.mkdtemp(dir=work)
    run_env = dict(env, TESSIVAL_SERVICE_HOST="127.0.0.1:%d" % port, **extra_env)
    start = time.monotonic()
    log = open(os.path.join(cwd, "stderr.log"), "w+")
    proc = subprocess.Popen([program], env=run_env, cwd=cwd, stdout=subprocess.DEVNULL, stderr=log)
    try:
        try:
            window = window_of(proc.pid, env)
        except RuntimeError:
            log.seek(0)
            raise LostDisplay("no window; exit status %s; stderr:\n%s" % (proc.poll(), log.read()[-2000:]))
        mapped = time.monotonic() - start
        painted = last_busy(proc.pid) - start
        subprocess.run(["xdotool", "mousemove", "--window", window, str(BUTTON_XY[0]), str(BUTTON_XY[1])],
                       env=env, check=True)
        mouse = desktop_probe.XTestMouse(env["DISPLAY"])
        time.sleep(0.5)
        before = cpu_seconds(proc.pid)
        clicked = time.monotonic()
        mouse.click()
        mouse.close()
        answer = last_busy(proc.pid, since_cpu=before) - clicked
        answer_cpu = cpu_seconds(proc.pid) - before
        shown = os.path.getsize(os.path.join(cwd, "wortschatz.htm"))
        time.sleep(3)
        return {"mapped": mapped, "painted": painted, "answer": answer, "total": painted + answer,
                "cpu": cpu_seconds(proc.pid), "answer_cpu": answer_cpu, "rss": rss_kib(proc.pid) / 1024,
                "bytes": shown, "smaps": desktop_probe.resident_by_mapping(proc.pid)}
    finally:
        proc.kill()
        proc.wait()


def run_peer(peer, env, port, work):
    start = time.monotonic()
    proc = subprocess.Popen([peer, "-g", "800x600", "http://127.0.0.1:%d/page.htm" % port], env=env, cwd=work,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        try:
            window_of(proc.pid, env)
        except RuntimeError as error:
            raise LostDisplay("%s; exit status %s" % (error, proc.poll())) from error
        mapped = time.monotonic() - start
        painted = last_busy(proc.pid) - start
        time.sleep(3)
        return {"mapped": mapped, "painted": painted, "answer": 0.0, "total": painted, "cpu": cpu_seconds(proc.pid),
                "answer_cpu": 0.0, "rss": rss_kib(proc.pid) / 1024}
    finally:
        proc.kill()
        proc.wait()


def print_smaps(mappings):
    print("resident KiB  private dirty  mapping (Tessival, last run)")
    for rss, dirty, path in mappings:
        if rss > 0:
            print("%8d %8d  %s" % (rss, dirty, path))
    print("%8d %8d  total" % (sum(m[0] for m in mappings), sum(m[1] for m in mappings)))


def start_xvfb():
    """A virtual X server on a display number drawn at random from a high range: servers of
    other sandboxes that share /tmp but not the process list take a lock whose owner they
    cannot see for stale, so the lowest free number (what -displayfd picks) can be taken twice
    and a run then loses its display. The server names the display once it is ready."""
    for _ in range(20):
        number = random.randrange(200, 900)
        if os.path.exists("/tmp/.X%d-lock" % number):
            continue
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", ":%d" % number, "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as ready:
            named = ready.readline().strip()
        if named:
            return xvfb, ":" + named
        xvfb.wait()
    raise RuntimeError("no X display could be started")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("tessival")
    parser.add_argument("--peer", default="dillo")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--size", type=int, default=300000)
    parser.add_argument("--no-peer", action="store_true")
    parser.add_argument("--smaps", action="store_true")
    parser.add_argument("--env", action="append", default=[])
    args = parser.parse_args()
    extra_env = dict(setting.split("=", 1) for setting in args.env)
    names = ["tessival"] + ([] if args.no_peer else [args.peer])
    for tool in ["Xvfb", "xdotool", "nginx"] + names[1:]:
        if shutil.which(tool) is None:
            sys.exit("missing: %s (scripts/packages/bench/app.txt)" % tool)
    work = tempfile.mkdtemp(prefix="tessival-app-bench-")
    page = os.path.join(work, "page.htm")
    make_page(page, args.size)
    xvfb, display = start_xvfb()
    env = dict(os.environ, DISPLAY=display, HOME=work, QT_QPA_PLATFORM="xcb")
    nginx, port = start_nginx(work, page)
    try:
        results = {name: [] for name in names}
        for _ in range(args.runs):  # interleaved, so both meet the same machine load
            for attempt in range(RETRIES + 1):
                try:
                    run = {"tessival": run_tessival(os.path.abspath(args.tessival), env, port, work, extra_env)}
                    if not args.no_peer:
                        run[args.peer] = run_peer(args.peer, env, port, work)
                    break
                except LostDisplay as lost:
                    # The pair is measured again on a fresh server, so both still meet one load.
                    if attempt == RETRIES:
                        sys.exit(str(lost))
                    print("run repeated on a new X server: %s" % str(lost).splitlines()[0], file=sys.stderr)
                    xvfb.terminate()
                    xvfb.wait()
                    xvfb, display = start_xvfb()
                    env["DISPLAY"] = display
            for name, measured in run.items():
                results[name].append(measured)
        print("page %d bytes, %d runs, medians (min..max)" % (os.path.getsize(page), args.runs))
        for key in ("mapped", "painted", "answer", "total", "answer_cpu", "cpu", "rss"):
            row = []
            for name in names:
                values = [r[key] for r in results[name]]
                unit = " MB" if key == "rss" else " s"
                row.append("%s %.3f%s (%.3f..%.3f)" % (name, statistics.median(values), unit, min(values), max(values)))
            t = statistics.median(r[key] for r in results["tessival"])
            p = statistics.median(r[key] for r in results[args.peer]) if not args.no_peer else 0
            print("%-8s %s  ratio %s" % (key, "  ".join(row), ("%.2f" % (t / p)) if p else "-"))
        if args.smaps:
            print_smaps(results["tessival"][-1]["smaps"])
    finally:
        nginx.terminate()
        xvfb.terminate()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
