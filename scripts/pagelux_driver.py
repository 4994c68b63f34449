# SPDX-License-Identifier: GPL-3.0-or-later
"""The real Pagelux on a virtual X screen of its own, driven by X input and probed: shared by the
random-input driver (scripts/monkey) and the scripted school day (scripts/lesson-day).

Program starts Xvfb and the program with a simulated camera and the camera control FIFO, asks the
test-only geometry query (PAGELUX_DEBUG_GEOMETRY) where the windows and controls are and what the
program holds (live heap, threads, descriptors, camera streams and buffers), and tells a hang from a
busy machine; perform() carries out one action (X input through xdotool, or a FIFO line); Usage
follows what the program holds over a run; check_files() decodes what it saved.
"""

import configparser
import json
import os
import pwd
import re
import shutil
import socket
import subprocess
import sys
import threading
import time
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCREEN = (1920, 1080)

# Lines of the program's output that are findings.
FINDING_PATTERNS = [
    ("sanitizer", re.compile(r"ERROR: (AddressSanitizer|LeakSanitizer)|WARNING: ThreadSanitizer|"
                             r"runtime error:|SUMMARY: (Address|Undefined|Thread)|Sanitizer: CHECK failed|"
                             r"Sanitizer:DEADLYSIGNAL")),
    ("qt-misuse", re.compile(r"^(QObject::|QWidget::|QPainter::|QLayout::|QBasicTimer::|QMetaObject::|"
                             r"QPixmap: It is not safe)|Cannot create children for a parent")),
]


# What the save folder may hold, and how each is checked after a run.
DECODERS = {"jpg": "image", "jpeg": "image", "mp4": "video", "mkv": "video", "pdf": "pdf"}

CLOSED = "closed"  # what a query gets when the program no longer listens


class Finding(Exception):
    pass



class Pace:
    """How many times longer than its processor time the machine takes, just now, for a piece of busy
    work: a reference process (with the program's niceness) spins for 40 ms of processor time twice a
    second (a short burst would not do: the kernel runs a thread that wakes from sleep at once, so an
    idle loop's ping comes back in time whatever the load). Where twenty busy processes share two cores
    the factor is near ten; on an idle machine it is 1."""

    WORK = ("import time\n"
            "while True:\n"
            "    wall, cpu = time.monotonic(), time.process_time()\n"
            "    while time.process_time() - cpu < 0.04:\n"
            "        pass\n"
            "    print((time.monotonic() - wall) / (time.process_time() - cpu), flush=True)\n"
            "    time.sleep(0.5)\n")

    def __init__(self):
        self.recent = []
        self.proc = subprocess.Popen([sys.executable, "-c", self.WORK], stdout=subprocess.PIPE, text=True)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.recent = (self.recent + [float(line)])[-5:]

    def factor(self):
        if not self.recent:
            return 1.0
        return max(1.0, sorted(self.recent)[len(self.recent) // 2])

    def stop(self):
        self.proc.kill()
        self.proc.wait()


class LoadClock:
    """Time since its start during which the program could have answered, as on an idle machine.

    Two estimates, of which the smaller counts. (a) On a loaded machine a thread that is ready waits in
    the kernel's run queue, and /proc/PID/task/TID/schedstat counts that wait: the wall time less the
    longest such wait of any of the program's threads (the event loop, or a thread it waits for).
    (b) The wall time divided by the machine's pace (see Pace): the program's threads share the cores
    as the reference does. Both leave out the time the GUI thread sleeps on purpose (the program blocks
    for 1 s when it switches cameras and 2 s after an unplug while other cameras remain; several unplugs
    in a row add up) or waits for a busy disk, seen by sampling its system call and state. A program
    that is stuck on an idle machine runs this clock as fast as the wall clock; past a wall time of
    LOAD_ALLOWANCE times the limit it is a hang whatever the load."""

    LOAD_ALLOWANCE = 12
    SLEEPS = {"35", "230"}  # nanosleep, clock_nanosleep (x86-64)

    def __init__(self, pid, pace):
        self.pid = pid
        self.pace = pace
        self.start = self.sampled = time.monotonic()
        self.waits = self._waits()
        self.slept = 0.0
        self.paced = 0.0  # the time not slept, divided by the pace of each moment

    def _waits(self):
        waits = {}
        try:
            tasks = os.listdir(f"/proc/{self.pid}/task")
        except OSError:
            return waits
        for tid in tasks:
            try:
                with open(f"/proc/{self.pid}/task/{tid}/schedstat") as stat:
                    waits[tid] = int(stat.read().split()[1])
            except (OSError, IndexError, ValueError):
                pass
        return waits

    def _sample(self):
        """Counts the time since the last sample as slept when the GUI thread sleeps now, or waits for
        the disk (state D: a busy disk is the machine's load too); otherwise at the machine's pace."""
        now = time.monotonic()
        task = f"/proc/{self.pid}/task/{self.pid}"
        try:
            with open(f"{task}/syscall") as call:
                asleep = call.read().split()[0] in self.SLEEPS
            with open(f"{task}/stat") as stat:
                asleep = asleep or stat.read().rsplit(")", 1)[1].split()[0] == "D"
        except (OSError, IndexError):
            asleep = False
        if asleep:
            self.slept += now - self.sampled
        else:
            self.paced += (now - self.sampled) / self.pace.factor()
        self.sampled = now

    def elapsed(self):
        """(time the program could have answered, wall time), in seconds."""
        self._sample()
        wall = time.monotonic() - self.start
        now = self._waits()
        queued = {tid: (now[tid] - self.waits.get(tid, 0)) / 1e9 for tid in now}
        # The GUI thread's own sleep and run-queue wait never overlap; another thread's wait may overlap
        # either, so only the larger counts.
        main = self.slept + queued.get(str(self.pid), 0.0)
        by_queue = max(0.0, wall - max([main] + list(queued.values())))
        return min(by_queue, self.paced), wall

    def hang(self, limit):
        own, wall = self.elapsed()
        return own >= limit or wall >= self.LOAD_ALLOWANCE * limit


class Program:
    """One Xvfb and the program on it, started again after an Exit."""

    def __init__(self, bin_dir, work, hang_seconds, setup):
        self.work = work
        self.hang_seconds = hang_seconds
        self.findings = []
        self.silences = []  # (time the program could have run, wall time, the action before) per answer
        self.last_action = None
        self.starts = 0
        self.proc = None
        self.app = os.path.join(work, "app")
        self.home = os.path.join(work, "home")
        self.control = os.path.join(work, "control")
        self.probe_path = os.path.join(work, "probe")
        self.output = open(os.path.join(work, "pagelux.log"), "ab")
        for folder in (self.app, self.home, os.path.join(work, "run")):
            os.makedirs(folder, exist_ok=True)
        shutil.copy2(os.path.join(bin_dir, "pagelux"), self.app)
        for name in os.listdir(bin_dir):
            if name.startswith("libOptigrab.so"):
                shutil.copy2(os.path.join(bin_dir, name), self.app, follow_symlinks=False)
        shutil.copytree(os.path.join(bin_dir, "translations"), os.path.join(self.app, "translations"),
                        dirs_exist_ok=True)
        os.makedirs(os.path.join(self.app, "Configuration"), exist_ok=True)
        if setup.get("show_all"):  # what the General page's "Show all tools" switch writes
            with open(os.path.join(self.app, "Configuration", "extrasettings.ini"), "w") as extra:
                extra.write("[tools]\nshowAll=true\n")
        # As root, the program runs as nobody: random clicks in a folder dialog must not reach the system.
        self.user = None
        if os.geteuid() == 0:
            self.user = pwd.getpwnam("nobody")
            for base, dirs, files in os.walk(work):
                for name in [base] + [os.path.join(base, n) for n in dirs + files]:
                    os.lchown(name, self.user.pw_uid, self.user.pw_gid)
            os.chmod(work, 0o755)
        os.chmod(os.path.join(work, "run"), 0o700)
        self.display = self._start_xvfb()
        self.pace = Pace()

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24", "-nolisten", "tcp",
             "-ac"], pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as reader:
            number = reader.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        return ":" + number

    def env(self):
        env = dict(os.environ)
        suppressions = os.path.join(ROOT, "tests", "sanitizers")
        env.update({
            "DISPLAY": self.display, "HOME": self.home, "LANG": "C.UTF-8",
            "XDG_RUNTIME_DIR": os.path.join(self.work, "run"),
            "OPTIGRAB_SIMULATED_CAMERAS": "1", "OPTIGRAB_SIMULATED_CONTROL": self.control,
            "PAGELUX_DEBUG_GEOMETRY": self.probe_path,
            # No session bus and no GLX: libdbus and the GL driver that Qt's X plugin would load keep
            # memory until exit, which LeakSanitizer reports at every Exit (the program draws no GL).
            "DBUS_SESSION_BUS_ADDRESS": "disabled:", "QT_XCB_GL_INTEGRATION": "none",
            "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=0",
            "LSAN_OPTIONS": f"suppressions={suppressions}/lsan.supp:print_suppressions=0",
            "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
            "TSAN_OPTIONS": f"suppressions={suppressions}/tsan.supp:halt_on_error=1",
        })
        env.pop("QT_QPA_PLATFORM", None)
        return env

    def start(self):
        self.starts += 1
        self.started = time.monotonic()
        self.killed = False  # by the driver, after a hang
        self.output.write(f"=== start {self.starts} ===\n".encode())
        self.output.flush()
        for stale in (self.probe_path, self.control):
            if os.path.exists(stale):
                os.unlink(stale)
        extra = {}
        if self.user is not None:
            extra = {"user": self.user.pw_uid, "group": self.user.pw_gid, "extra_groups": []}
        self.proc = subprocess.Popen([os.path.join(self.app, "pagelux")], cwd=self.app, env=self.env(),
                                     stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **extra)
        threading.Thread(target=self._read_output, args=(self.proc,), daemon=True).start()
        deadline = time.monotonic() + max(60, 4 * self.hang_seconds)
        while time.monotonic() < deadline:
            if self.proc.poll() is not None:
                self.findings.append(("died", f"exit code {self.proc.returncode} while starting"))
                raise Finding("died while starting")
            if os.path.exists(self.control) and isinstance(self.query(timeout=5), dict):
                return
            time.sleep(0.2)
        self.findings.append(("hang", "no answer within a minute of the start"))
        raise Finding("no answer after start")

    def _read_output(self, proc):
        for raw in proc.stdout:
            self.output.write(raw)
            self.output.flush()
            line = raw.decode(errors="replace").rstrip()
            for kind, pattern in FINDING_PATTERNS:
                if pattern.search(line):
                    self.findings.append((kind, line))

    def query(self, timeout=None, line=b"geometry\n", give_up=None):
        """The program's answer to the geometry query; None when it gives none in time (timeout, or
        until give_up() says so), CLOSED when nothing listens any more (the program is on its way out)."""
        if give_up is None:
            end = time.monotonic() + timeout
            give_up = lambda: time.monotonic() >= end  # noqa: E731
        try:
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as sock:
                sock.settimeout(0.25)
                sock.connect(self.probe_path)
                sock.sendall(line)
                data = b""
                while not data.endswith(b"\n"):
                    try:
                        chunk = sock.recv(65536)
                    except socket.timeout:
                        if give_up():
                            return None
                        continue
                    if not chunk:
                        return None
                    data += chunk
                return json.loads(data)
        except (ConnectionRefusedError, FileNotFoundError):
            return CLOSED
        except (OSError, ValueError):
            return None

    def dump_stacks(self):
        """Every thread's stack of a program that hangs, into hang-N.txt beside the output (gdb)."""
        if shutil.which("gdb") is None:
            return
        with open(os.path.join(self.work, f"hang-{self.starts}.txt"), "w") as out:
            try:
                subprocess.run(["gdb", "-p", str(self.proc.pid), "-batch", "-ex", "thread apply all bt"],
                               stdout=out, stderr=subprocess.STDOUT, timeout=120)
            except subprocess.TimeoutExpired:
                pass

    def kill(self):
        self.killed = True
        self.proc.kill()
        self.proc.wait()

    def alive_query(self):
        """A snapshot, or None once the program has ended. An event loop that does not answer is a
        hang, and so is a program that stops listening but does not exit (the leak check at exit takes
        its time under the sanitizers); either is killed. The hang clock counts only the time the
        program could have run: see LoadClock."""
        clock = LoadClock(self.proc.pid, self.pace)
        while True:
            snapshot = self.query(give_up=lambda: clock.hang(self.hang_seconds))
            if snapshot is CLOSED:
                if not self.wait_exit():
                    self.findings.append(("hang", "stopped answering but does not exit"))
                    self.dump_stacks()
                    self.kill()
                return None
            if snapshot is not None or self.proc.poll() is not None:
                self.silences.append((*clock.elapsed(), self.last_action))
                return snapshot
            if clock.hang(self.hang_seconds):
                own, wall = clock.elapsed()
                load = " ".join(f"{n:.1f}" for n in os.getloadavg())
                self.findings.append(("hang", f"no answer for {wall:.1f} s, {own:.1f} s of it as on an idle "
                                              f"machine (load {load}, pace {self.pace.factor():.1f}) "
                                              f"after {self.last_action}"))
                self.dump_stacks()
                self.kill()
                return None
            time.sleep(0.1)

    def wait_exit(self):
        """Whether the program ends within the time its closing may take (every camera closed, a
        recording finished, the sanitizers' check at exit), on the clock of an idle machine."""
        clock = LoadClock(self.proc.pid, self.pace)
        while not clock.hang(max(30, 4 * self.hang_seconds)):
            try:
                self.proc.wait(timeout=0.5)
                return True
            except subprocess.TimeoutExpired:
                pass
        return self.proc.poll() is not None

    def camera(self, line):
        # Opened without blocking: a program that died leaves a FIFO nobody reads.
        try:
            fd = os.open(self.control, os.O_WRONLY | os.O_NONBLOCK)
        except OSError:
            return
        try:
            os.write(fd, (line + "\n").encode())
        except OSError:
            pass
        finally:
            os.close(fd)

    def xdo(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env={**os.environ, "DISPLAY": self.display},
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def stop(self):
        """Ends the program as the system does at shut-down: SIGTERM, on which it closes as its window
        would (a recording is finished); one that does not end is a finding."""
        if self.proc is not None and self.proc.poll() is None:
            self.proc.terminate()
            if not self.wait_exit():
                self.findings.append(("hang", "does not end on SIGTERM"))
                self.dump_stacks()
                self.kill()
            elif self.proc.returncode != 0:
                self.findings.append(("died", f"exit code {self.proc.returncode} after SIGTERM"))
        self.xvfb.terminate()
        self.xvfb.wait()
        self.pace.stop()


def perform(program, action):
    """Carries out one logged action."""
    op = action["op"]
    if op == "click":
        modifier = action.get("modifier")  # ctrl or shift: choosing more than one tile
        held = [["keydown", modifier], ["keyup", modifier]] if modifier else [[], []]
        program.xdo(*held[0], "mousemove", action["x"], action["y"], "click", action.get("button", 1),
                    *held[1])
    elif op == "drag":
        points = action["points"]
        args = ["mousemove", *points[0], "mousedown", 1]
        for point in points[1:]:
            args += ["mousemove", *point]
        program.xdo(*args, "mouseup", 1)
    elif op == "wheel":
        program.xdo("mousemove", action["x"], action["y"], "click", "--repeat", action["steps"],
                    4 if action["up"] else 5)
    elif op == "key":
        program.xdo("key", action["key"])
    elif op == "type":  # into the text field it clicks first, or the one with the focus
        if action.get("click"):
            program.xdo("mousemove", *action["click"], "click", 1)
        program.xdo("type", "--delay", 30, action["text"])
    elif op == "camera":
        program.camera(action["line"])
    elif op == "restore":  # what the window manager would do; the test X server has none
        program.query(timeout=program.hang_seconds, line=b"restore\n")


class Usage:
    """What the program holds, as the geometry query tells after every action: threads, open
    descriptors, open camera streams, mappings of camera buffers and (AddressSanitizer builds) the
    live heap. Each start of the program is a stretch of its own: an Exit gives everything back.

    A finding, for each stretch longer than WARM_UP plus twice END samples: a count whose lowest value
    over the last END samples is above its median over the first END samples after the warm-up by more
    than its margin (a camera left streaming holds a stream, its buffers, descriptors and a thread);
    or a live heap whose least-squares slope after the warm-up exceeds HEAP_RATE. And at any time: more
    open streams than the view shows cameras (CEILINGS) over END samples in a row, which the random
    unplugs of a run would otherwise clear before its end."""

    WARM_UP = 20.0  # seconds after a start: the camera opens, thread pools and caches fill
    END = 10
    # What the program may rightly hold more at the end than after the warm-up: a camera streaming
    # where none was (a run may start with an unplug), a recording, captures in flight, a folder dialog,
    # a camera switch under way (a stream maps its buffers twice: the simulated camera's side and the
    # program's). A random run went from 7 threads and 18 descriptors to 18 and 27 that way.
    MARGINS = {"threads": 16, "fds": 32, "streams": 1, "buffers": 16}
    CEILINGS = {"streams": 1}  # the view shows one camera; a switch holds two for a moment
    HEAP_RATE = 256 * 1024  # bytes a second
    HEAP_SPAN = 60.0  # seconds of samples the heap's trend needs

    def __init__(self):
        self.stretches = []  # per start: [(seconds since the start, {count: value})]

    def see(self, start, seconds, snapshot):
        while len(self.stretches) < start:
            self.stretches.append([])
        self.stretches[start - 1].append((seconds, {k: snapshot[k] for k in (*self.MARGINS, "heap")}))

    def _settled(self, samples):
        return [values for seconds, values in samples if seconds >= self.WARM_UP]

    def ends(self):
        """Per stretch long enough: {count: (median after the warm-up, lowest at the end)}."""
        figures = []
        for samples in self.stretches:
            settled = self._settled(samples)
            if len(settled) < 2 * self.END:
                continue
            figures.append({name: (sorted(v[name] for v in settled[:self.END])[self.END // 2],
                                   min(v[name] for v in settled[-self.END:])) for name in self.MARGINS})
        return figures

    def _held(self, samples, name):
        """The lowest value of each END samples in a row: the levels a count stayed at."""
        values = [v[name] for _, v in samples]
        return [min(values[i:i + self.END]) for i in range(len(values) - self.END + 1)]

    def heap_slopes(self):
        """Per stretch with HEAP_SPAN of heap samples after the warm-up: the trend in bytes a second."""
        slopes = []
        for samples in self.stretches:
            points = [(t, v["heap"]) for t, v in samples if t >= self.WARM_UP and v["heap"] >= 0]
            if len(points) < 2 or points[-1][0] - points[0][0] < self.HEAP_SPAN:
                continue
            mean_t = sum(t for t, _ in points) / len(points)
            mean_h = sum(h for _, h in points) / len(points)
            slopes.append(sum((t - mean_t) * (h - mean_h) for t, h in points) /
                          sum((t - mean_t) ** 2 for t, _ in points))
        return slopes

    def findings(self):
        found = []
        for figures in self.ends():
            for name, (settled, end) in figures.items():
                if end > settled + self.MARGINS[name]:
                    found.append(("usage", f"{name} {settled} after the warm-up, {end} at the end "
                                           f"(more than {self.MARGINS[name]} above)"))
        for name, ceiling in self.CEILINGS.items():
            for samples in self.stretches:
                held = max(self._held(samples, name), default=0)
                if held > ceiling:
                    found.append(("usage", f"{name} {held} for {self.END} samples in a row (at most "
                                           f"{ceiling} expected)"))
        for slope in self.heap_slopes():
            if slope > self.HEAP_RATE:
                found.append(("heap", f"live heap grows by {slope / 1024:.0f} KiB/s over the run "
                                      f"(more than {self.HEAP_RATE // 1024} KiB/s)"))
        return found


def check_files(program):
    """Settings files whole, captures decodable, no temporary files left."""
    config = os.path.join(program.app, "Configuration")
    save_folders = {os.path.join(program.home, "Documents", "Pagelux")}
    for name in sorted(os.listdir(config)):
        path = os.path.join(config, name)
        try:
            if name.endswith(".xml"):
                root = ET.parse(path).getroot()
                saved = root.findtext(".//SavePath")
                if saved:
                    save_folders.add(saved)
            elif name.endswith(".ini"):
                configparser.ConfigParser(interpolation=None, strict=False).read(path)
            else:
                program.findings.append(("files", f"left in the settings folder: {name}"))
        except (ET.ParseError, configparser.Error) as error:
            program.findings.append(("files", f"settings file {name} is not whole: {error}"))
    files = {}
    for folder in save_folders:
        if not os.path.isdir(folder):
            continue
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if not os.path.isfile(path):
                continue
            kind = os.path.splitext(name)[1].lower().lstrip(".")
            # Random clicks in the folder dialog may choose the program's own folder to save into.
            ours = name == "pagelux" or name.startswith("libOptigrab.so")
            if ours and os.path.realpath(folder) == os.path.realpath(program.app):
                continue
            if kind not in DECODERS or ".recording." in name:
                program.findings.append(("files", f"left in the save folder: {path}"))
                continue
            files[kind] = files.get(kind, 0) + 1
            if not decodes(DECODERS[kind], path):
                program.findings.append(("files", f"{kind} file does not decode: {path}"))
    return files


def decodes(tool, path):
    """Whether the whole file decodes: every picture of a recording, every page of a PDF."""
    try:
        if tool == "image":
            command = ["identify", "-regard-warnings", path]
        elif tool == "video":  # reads every frame; any complaint on stderr counts
            command = ["ffprobe", "-v", "error", "-count_frames", "-show_entries", "stream=nb_read_frames",
                       "-of", "csv=p=0", path]
        else:
            command = ["pdfinfo", path]
        result = subprocess.run(command, capture_output=True, text=True, timeout=300)
    except subprocess.TimeoutExpired:
        return False
    if result.returncode != 0:
        return False
    if tool == "video":
        frames = [int(n) for n in re.findall(r"\d+", result.stdout)]
        return not result.stderr.strip() and bool(frames) and max(frames) > 0
    if tool == "pdf":
        pages = re.search(r"^Pages:\s+(\d+)", result.stdout, re.M)
        return pages is not None and int(pages.group(1)) > 0
    return True

