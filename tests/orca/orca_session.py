"""A headless desktop with Debian's Orca in its default settings, for
scenarios that drive a program with keys and read what Orca spoke.

Xvfb, a private session bus, the AT-SPI bus, Openbox, speech-dispatcher
with espeak-ng into a null ALSA device, and `orca --debug-file` (through
orca_launcher.py, which writes the record line by line), whose SPEECH
OUTPUT lines are what was spoken. Everything runs under a scratch
folder with its own HOME, so Orca starts from its defaults, and is ended by
process id at stop().

Another program's scenarios use it the same way:

    from orca_session import OrcaSession, Scenarios

    with OrcaSession() as session:            # the desktop, Orca ready
        app = session.launch(["firefox-esr", url])
        session.wait_spoken(r"Velmora", timeout=30)
        mark = session.mark()                 # speech from here on
        session.keys("Tab")                   # xdotool key names
        session.type_text("64")
        lines = session.wait_spoken(r"Transfer speed", since=mark)
        session.settle(since=mark)            # until Orca falls quiet
        print(session.spoken(since=mark))

    scenarios = Scenarios()
    @scenarios.add("the start", timeout=60)
    def start(session): ...
    sys.exit(scenarios.run())                # each in a fresh session

A scenario fails by raising (ScenarioFailure for a clear message); one that
runs past its timeout fails as hung, and a failure prints all Orca said
(ORCA_SHOW_SPOKEN=1: a success too). `run_orca.sh FILE.py [ARGS]` runs a
scenario file under an overall limit.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

# The spoken text, then the voice Orca chose for it.
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'(?: ?\{.*\}| voice=.*)?$", re.MULTILINE)


class ScenarioFailure(Exception):
    pass


class Hung(Exception):
    pass


def _wait(predicate, timeout, step=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = predicate()
        if found:
            return found
        time.sleep(step)
    return predicate()


class OrcaSession:
    def __init__(self, width=1280, height=1024, keep=False):
        self.size = (width, height)
        self.keep = keep
        self.scratch = tempfile.mkdtemp(prefix="orca-session-")
        self.processes = []  # (name, Popen), stopped last first
        self.env = None
        self.debug_file = os.path.join(self.scratch, "orca-debug.out")

    # -- start and stop --------------------------------------------------

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()

    def _spawn(self, name, argv, **kwargs):
        log = open(os.path.join(self.scratch, name + ".log"), "w")
        process = subprocess.Popen(argv, env=self.env, stdout=log, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL, start_new_session=True, **kwargs)
        self.processes.append((name, process))
        return process

    def log_of(self, name):
        try:
            with open(os.path.join(self.scratch, name + ".log"), errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def start(self):
        home = os.path.join(self.scratch, "home")
        runtime = os.path.join(self.scratch, "run")
        for folder in (home, runtime):
            os.makedirs(folder, mode=0o700)
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("DBUS_", "AT_SPI", "XDG_", "WAYLAND", "SPEECHD", "PULSE",
                                    "QT_QPA", "GTK_MODULES", "DISPLAY"))}
        env.update(HOME=home, XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_HOME=os.path.join(home, ".local/share"),
                   XDG_CACHE_HOME=os.path.join(home, ".cache"),
                   NO_AT_BRIDGE="0", GTK_A11Y="atspi", LANG=env.get("LANG", "C.UTF-8"))
        # No sound card: ALSA's default device swallows what espeak-ng says.
        with open(os.path.join(home, ".asoundrc"), "w") as f:
            f.write("pcm.!default { type null }\nctl.!default { type hw card 0 }\n")
        self.env = env

        # A display number the server picks itself.
        read_end, write_end = os.pipe()
        self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                             "%dx%dx24" % self.size, "-nolisten", "tcp"], pass_fds=(write_end,))
        os.close(write_end)
        display = b""
        end = time.monotonic() + 15
        while not display.endswith(b"\n") and time.monotonic() < end:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            display += chunk
        os.close(read_end)
        if not display.strip():
            raise ScenarioFailure("Xvfb did not start: " + self.log_of("xvfb"))
        env["DISPLAY"] = ":" + display.decode().strip()

        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1"], env=env, capture_output=True, text=True,
                             timeout=15, check=True).stdout.split()
        self.processes.append(("dbus", _Pid(int(bus[1]))))
        env["DBUS_SESSION_BUS_ADDRESS"] = bus[0]

        self._spawn("atspi", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        if not _wait(lambda: subprocess.run(
                ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                 "org.a11y.Bus.GetAddress"], env=env, capture_output=True).returncode == 0, 15):
            raise ScenarioFailure("the AT-SPI bus did not start: " + self.log_of("atspi"))

        # A window manager gives each new window the focus, as a desktop does.
        self._spawn("openbox", ["openbox", "--sm-disable"])

        speechd = os.path.join(self.scratch, "speechd")
        os.makedirs(speechd)
        for part in ("modules", "clients"):
            os.symlink("/etc/speech-dispatcher/" + part, os.path.join(speechd, part))
        with open(os.path.join(speechd, "speechd.conf"), "w") as f:
            f.write('AudioOutputMethod "alsa"\n'
                    'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\n'
                    'DefaultModule espeak-ng\nLogLevel 3\n'
                    'LogDir "%s"\n' % self.scratch)
        self._spawn("speech-dispatcher", ["speech-dispatcher", "--run-single", "-t", "0",
                                          "-C", speechd, "-P", os.path.join(speechd, "pid")])
        socket = os.path.join(runtime, "speech-dispatcher", "speechd.sock")
        if not _wait(lambda: os.path.exists(socket), 15):
            raise ScenarioFailure("speech-dispatcher did not start: "
                                  + self.log_of("speech-dispatcher"))

        _wait(lambda: subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env,
                                     capture_output=True, text=True).stdout.count("window id"),
              10)
        self._spawn("orca", ["/usr/bin/python3", os.path.join(os.path.dirname(__file__),
                                                              "orca_launcher.py"),
                             "--debug-file", self.debug_file])
        # Ready once it has spoken its greeting.
        if not _wait(lambda: self.spoken(), 60, 0.2):
            raise ScenarioFailure("Orca said nothing on starting:\n" + self.log_of("orca")
                                  + self.tail_debug())
        time.sleep(0.5)
        return self

    def stop(self):
        for name, process in reversed(self.processes):
            _end(process)
        self.processes = []
        if not self.keep:
            shutil.rmtree(self.scratch, ignore_errors=True)

    # -- programs and keys -------------------------------------------------

    def launch(self, argv, name=None, env=None):
        """Starts a program on the session's display, bus and accessibility."""
        name = name or os.path.basename(argv[0])
        merged = dict(self.env)
        merged.update(env or {})
        saved, self.env = self.env, merged
        try:
            return self._spawn(name, argv)
        finally:
            self.env = saved

    def run(self, argv, timeout=20):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=timeout)

    def keys(self, *names, delay=0.15):
        """Presses each key (xdotool names: Tab, ctrl+Left, alt+Down) in turn,
        to the window that has the focus."""
        for name in names:
            self.run(["xdotool", "key", "--clearmodifiers", name])
            time.sleep(delay)

    def type_text(self, text, delay_ms=600):
        # xdotool waits half the delay after a press and half after a release.
        self.run(["xdotool", "type", "--delay", str(delay_ms), text], timeout=60)

    # -- what Orca said ----------------------------------------------------

    def spoken(self, since=0):
        """Every line Orca spoke, from the mark `since` on."""
        try:
            with open(self.debug_file, errors="replace") as f:
                lines = [m.group(1) for m in SPEECH.finditer(f.read())]
        except OSError:
            return []
        return lines[since:]

    def mark(self):
        return len(self.spoken())

    def wait_spoken(self, pattern, since=0, timeout=10):
        """Waits until a spoken line from the mark on matches; returns the
        lines up to it, or fails with what was said instead."""
        regex = re.compile(pattern)

        def heard():
            lines = self.spoken(since)
            for i, line in enumerate(lines):
                if regex.search(line):
                    return lines[:i + 1]
            return None

        found = _wait(heard, timeout, 0.1)
        if not found:
            raise ScenarioFailure("Orca did not say /%s/ within %s s; it said: %r"
                                  % (pattern, timeout, self.spoken(since)))
        return found

    def settle(self, since=0, quiet=1.0, timeout=15):
        """Waits until Orca has said nothing new for `quiet` seconds."""
        end = time.monotonic() + timeout
        heard = len(self.spoken(since))
        last = time.monotonic()
        while time.monotonic() < end:
            time.sleep(0.1)
            now = len(self.spoken(since))
            if now != heard:
                heard, last = now, time.monotonic()
            elif time.monotonic() - last >= quiet:
                break
        return self.spoken(since)

    def tail_debug(self, lines=40):
        try:
            with open(self.debug_file, errors="replace") as f:
                return "\n--- Orca's debug record, last lines:\n" + "".join(f.readlines()[-lines:])
        except OSError:
            return ""


class _Pid:
    """A process this session started but did not spawn itself (it forked)."""

    def __init__(self, pid):
        self.pid = pid

    def poll(self):
        try:
            os.kill(self.pid, 0)
            return None
        except ProcessLookupError:
            return 0

    def wait(self, timeout=None):
        if not _wait(lambda: self.poll() is not None, timeout or 5):
            raise subprocess.TimeoutExpired("pid %d" % self.pid, timeout)


def _end(process):
    """Ends a process and the group it leads, by id: TERM, then KILL."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        if process.poll() is not None:
            break
        try:
            os.killpg(process.pid, sig)
        except (ProcessLookupError, PermissionError):
            try:
                os.kill(process.pid, sig)
            except ProcessLookupError:
                break
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            pass


class Scenarios:
    """Scenarios, each in a fresh session, each with its own time limit."""

    def __init__(self):
        self.entries = []

    def add(self, title, timeout=90):
        def register(function):
            self.entries.append((title, timeout, function))
            return function
        return register

    def run(self, only=None, session_factory=OrcaSession):
        failed = []
        started = time.monotonic()
        for title, timeout, function in self.entries:
            if only and not any(word in title for word in only):
                continue
            began = time.monotonic()
            session = None

            def hung(*_):
                raise Hung("no answer within %s s: the program or Orca hangs" % timeout)

            signal.signal(signal.SIGALRM, hung)
            signal.alarm(timeout)
            try:
                session = session_factory()
                session.__enter__()
                function(session)
                signal.alarm(0)
                print("ok: %s (%.1f s)" % (title, time.monotonic() - began), flush=True)
                if os.environ.get("ORCA_SHOW_SPOKEN"):
                    print("  spoken: %r" % session.spoken(), flush=True)
            except BaseException as error:  # a hang, a failure or a fault alike
                signal.alarm(0)
                if isinstance(error, KeyboardInterrupt):
                    raise
                failed.append(title)
                print("FAILED: %s (%.1f s): %s" % (title, time.monotonic() - began, error),
                      flush=True)
                if not isinstance(error, (ScenarioFailure, Hung)):
                    traceback.print_exc()
                if session is not None:
                    print("  spoken: %r" % session.spoken(), flush=True)
            finally:
                signal.alarm(0)
                if session is not None:
                    session.stop()
        print("orca scenarios took %.0f s" % (time.monotonic() - started))
        print("%d passed, %d failed" % (
            len([e for e in self.entries if not only or any(w in e[0] for w in only)]) - len(failed),
            len(failed)))
        return 1 if failed else 0
