"""What the desktop benchmarks share: a German page of paragraphs and links, and the
readings of a running program taken from outside (processor time, resident set, window).
"""
import ctypes
import os
import random
import subprocess
import time

TICKS = os.sysconf("SC_CLK_TCK")

WORDS = ("der die das und nicht mit sich auf für ist Wörterbuch Übersetzung Straße "
         "Grüße größer Abkürzung Haltestelle Wortschatz Begriff Sprache Beispiel "
         "wächst Jahr neue alte Vergessenheit schreiben sprechen zeigen Wendungen").split()


def write_paragraph_page(path, size, seed, head, link, words=WORDS, bold_every=0):
    """Paragraphs of 40-120 words in Windows-1252 until SIZE bytes, a heading every tenth,
    a link (LINK % n) in every third paragraph, bold words in every BOLD_EVERY-th."""
    rng = random.Random(seed)
    parts = [head]
    total = len(head)
    n = 0
    while total < size:
        n += 1
        chosen = [rng.choice(words) for _ in range(rng.randint(40, 120))]
        if n % 3 == 0:
            chosen[5] = '<a href="%s">%s</a>' % (link % n, chosen[5])
        if bold_every and n % bold_every == 0:
            chosen[9] = "<b>%s</b>" % chosen[9]
        text = ("<h2>Abschnitt %d</h2>\n" % n if n % 10 == 1 else "") + "<p>" + " ".join(chosen) + "</p>\n"
        parts.append(text)
        total += len(text.encode("cp1252"))
    parts.append("</body></html>\n")
    with open(path, "wb") as out:
        out.write("".join(parts).encode("cp1252"))


_libc = ctypes.CDLL(None, use_errno=True)
_libc.clock_getcpuclockid.argtypes = [ctypes.c_int, ctypes.POINTER(ctypes.c_int)]


def cpu_seconds(pid):
    """User + system time of process PID, in seconds, from the kernel's process CPU clock:
    nanoseconds of run time summed over all its threads, those that have already exited
    included (the kernel folds them into the process). /proc/PID/stat gives the same sum in
    10 ms ticks, too coarse for a 0.1 s load; summing /proc/PID/task/*/schedstat would
    lose the threads that have exited. Falls back to the ticks where the clock is refused."""
    clock = ctypes.c_int()
    if _libc.clock_getcpuclockid(pid, ctypes.byref(clock)) == 0:
        try:
            return time.clock_gettime_ns(clock.value) / 1e9
        except OSError:
            pass
    return tick_cpu_seconds(pid)


def tick_cpu_seconds(pid):
    """The same reading from /proc/PID/stat's utime + stime, in clock ticks."""
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def window_of(pid, env, tries, pause):
    """The last visible window xdotool finds for PID, asked TRIES times PAUSE seconds apart."""
    for _ in range(tries):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[-1]
        time.sleep(pause)
    raise RuntimeError("no window for %d" % pid)


class XTestMouse:
    """Presses mouse buttons through the X server's test extension from this process, so a
    timed click costs the program under test nothing but the event (no helper process to
    start while the clock runs)."""

    def __init__(self, display):
        self._x11 = ctypes.CDLL("libX11.so.6")
        self._xtst = ctypes.CDLL("libXtst.so.6")
        self._x11.XOpenDisplay.restype = ctypes.c_void_p
        self._x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self._x11.XFlush.argtypes = [ctypes.c_void_p]
        self._x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self._xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self._display = self._x11.XOpenDisplay(display.encode())
        if not self._display:
            raise RuntimeError("cannot open display %s" % display)

    def click(self, button=1):
        for pressed in (1, 0):
            self._xtst.XTestFakeButtonEvent(self._display, button, pressed, 0)
        self._x11.XFlush(self._display)

    def close(self):
        self._x11.XCloseDisplay(self._display)


def resident_by_mapping(pid):
    """Resident KiB per mapped file (anonymous mappings under their kind, e.g. [heap]), with
    the part of it that is private and dirty (written: relocations, heap, stacks), largest first."""
    totals = {}
    name = None
    with open("/proc/%d/smaps" % pid) as smaps:
        for line in smaps:
            fields = line.split()
            if "-" in fields[0] and ":" not in fields[0]:
                name = fields[5] if len(fields) > 5 else "[anonymous]"
                totals.setdefault(name, [0, 0])
            elif fields[0] == "Rss:":
                totals[name][0] += int(fields[1])
            elif fields[0] == "Private_Dirty:":
                totals[name][1] += int(fields[1])
    return sorted(((rss, dirty, path) for path, (rss, dirty) in totals.items()), reverse=True)
