"""Velmora's window as Orca speaks it, driven by keys as a blind user drives
it: run_orca.sh desktop_scenarios.py VELMORA [WORDS...] (WORDS pick the
scenarios whose titles hold them)."""
import re
import subprocess
import sys
import time

from orca_session import ScenarioFailure, Scenarios

velmora = sys.argv[1]
scenarios = Scenarios()


def qt_version():
    for tool in ("/usr/lib/qt6/bin/qtpaths6", "/usr/lib/qt6/bin/qtpaths"):
        try:
            out = subprocess.run([tool, "--qt-version"], capture_output=True, text=True).stdout
            return tuple(int(part) for part in out.strip().split(".")[:2])
        except (OSError, ValueError):
            continue
    return (0, 0)


ANNOUNCES = qt_version() >= (6, 8)


def start(session):
    """Velmora up, its first field heard; returns the mark after it."""
    session.launch([velmora], env={"QT_QPA_PLATFORM": "xcb", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
    try:
        session.wait_spoken(r"^Data size text", timeout=15)
    except ScenarioFailure:
        # Seldom, the window manager leaves a new window unfocused; a user
        # would click it.
        print("  (the window was not focused on opening: activated)", flush=True)
        session.run(["xdotool", "search", "--sync", "--name", "^Velmora$", "windowactivate"])
        session.wait_spoken(r"^Data size text", timeout=15)
    session.wait_spoken(r"^KiloBytes\.?$", timeout=10)
    return session.mark()


def said(session, since, pattern, what, timeout=10):
    """The lines up to the one matching `pattern`, or a failure saying `what`
    was not heard (after a key, silence is how a frozen window sounds)."""
    try:
        return session.wait_spoken(pattern, since=since, timeout=timeout)
    except ScenarioFailure as failure:
        alive = all(p.poll() is None for n, p in session.processes if n == "velmora")
        raise ScenarioFailure("%s was not heard%s: %s" % (
            what, "" if alive else " (Velmora has exited)", failure)) from None


def press(session, key, pattern, what, timeout=10):
    mark = session.mark()
    session.keys(key)
    return said(session, mark, pattern, what, timeout)


def tab_to(session, pattern, what, most=16):
    """Tabs until Orca says `pattern`; a round of the window may be needed
    if a slow answer came after the next Tab."""
    for _ in range(most):
        mark = session.mark()
        session.keys("Tab")
        try:
            # The new focus speaks (past the key's echo); is it the one?
            session.wait_spoken(r"^(?!tab ?$)", since=mark, timeout=4)
            session.wait_spoken(pattern, since=mark, timeout=1.5)
            return session.settle(mark, quiet=0.5)
        except ScenarioFailure:
            continue
    raise ScenarioFailure("Tab never reached %s: %r" % (what, session.spoken()))


@scenarios.add("the start: the window, then the focused size with its unit")
def the_start(session):
    start(session)
    lines = session.spoken()
    first = [i for i, line in enumerate(lines) if re.match(r"Velmora frame\.?$", line)]
    if not first:
        raise ScenarioFailure("the window was not named: %r" % lines)
    if not any(re.match(r"32\.?$", line) for line in lines[first[0]:]):
        raise ScenarioFailure("the size was not read whole: %r" % lines)


@scenarios.add("a tab round: every control once, by its name, back to the start")
def tab_round(session):
    mark = start(session)
    order = [r"^Transfer speed text", r"^Data size unit combo box", r"^Speed unit combo box",
             r"^Time\b", r"^Hours read only text", r"^Minutes read only text",
             r"^Seconds read only text", r"^Years read only text", r"^Weeks read only text",
             r"^Days read only text", r"^Data size text"]
    for pattern in order:
        mark = session.mark()
        session.keys("Tab")
        said(session, mark, pattern, "Tab to /%s/" % pattern)
    lines = session.spoken()
    if len([line for line in lines if line.startswith("Calculate:")]) != 1:
        raise ScenarioFailure("the option group was not named once: %r" % lines)


@scenarios.add("typing: each key echoed, the new size read whole")
def typing(session):
    start(session)
    session.keys("ctrl+a")
    mark = session.mark()
    session.type_text("4096")
    said(session, mark, r"^6 ?$", "the last key typed")
    session.settle(mark, quiet=0.8)
    press(session, "Tab", r"^Transfer speed", "the next field")
    session.settle(session.mark(), quiet=0.8)
    mark = session.mark()
    session.keys("shift+Tab")
    said(session, mark, r"^4096( selected)?\.?$", "the whole size, 4096")


@scenarios.add("arrows in a closed list: each new unit")
def closed_list(session):
    start(session)
    tab_to(session, r"^Data size unit combo box", "the data size unit")
    press(session, "Down", r"^MegaBytes\.?$", "MegaBytes after Down")
    press(session, "Down", r"^GigaBytes\.?$", "GigaBytes after Down")
    press(session, "Up", r"^MegaBytes\.?$", "MegaBytes after Up")


@scenarios.add("a pick from an open list: the unit chosen")
def open_list(session):
    start(session)
    tab_to(session, r"^Speed unit combo box", "the speed unit")
    press(session, "alt+Down", r"^List with 2 items|^KiloBytes/second", "the open list")
    press(session, "Down", r"MegaBytes/second", "the next unit in the open list")
    lines = press(session, "Return", r"^Speed unit combo box", "the list again, closed")
    after = session.settle(session.mark() - 1, quiet=0.8)
    if not any("MegaBytes/second" in line for line in lines[-1:] + after):
        raise ScenarioFailure("the unit picked was not said: %r" % (lines + after))


@scenarios.add("the mode by keyboard: Calculate: once, each option with its place")
def mode(session):
    start(session)
    mark = session.mark()
    tab_to(session, r"^Time\b", "the Time option")
    said(session, mark, r"^1 of 3\.?$", "Time's place")
    mark = session.mark()
    session.keys("Right")
    said(session, mark, r"^Speed\b", "the Speed option")
    said(session, mark, r"^2 of 3\.?$", "Speed's place")
    session.keys("Right")
    said(session, mark, r"^3 of 3\.?$", "Data's place")
    lines = session.settle(mark, quiet=0.6)
    if any("Calculate" in line for line in lines):
        raise ScenarioFailure("Calculate: said again at an arrow: %r" % lines)


@scenarios.add("a locked field and a locked list: read only, and a refused key said")
def locked(session):
    start(session)
    tab_to(session, r"^Hours read only text", "the hours, read only")
    # Data mode locks the size and its unit.
    session.keys("shift+Tab")
    press(session, "Right", r"^Speed\b", "Speed")
    press(session, "Right", r"^Data\b(?! size)", "Data")
    lines = tab_to(session, r"^Data size unit combo box", "the data size unit")
    if not re.search(r"KiloBytes.*read only", " ".join(lines)):
        raise ScenarioFailure("the locked list was not said read only: %r" % lines)
    mark = session.mark()
    session.keys("Down")
    said(session, mark, r"KiloBytes, read only", "the refused Down")
    time.sleep(0.5)
    if any(re.search(r"MegaBytes|GigaBytes", line) for line in session.spoken(mark)):
        raise ScenarioFailure("the locked list changed: %r" % session.spoken(mark))


@scenarios.add("a result read with its unit")
def result_with_unit(session):
    start(session)
    tab_to(session, r"^Time\b", "the Time option")
    press(session, "Right", r"^Speed\b", "Speed")
    mark = session.mark()
    session.keys("shift+Tab", "shift+Tab", "shift+Tab")
    said(session, mark, r"^Transfer speed read only text", "the transfer speed, read only")
    lines = session.settle(mark, quiet=0.8)
    at = max(i for i, line in enumerate(lines) if line.startswith("Transfer speed"))
    heard = " ".join(lines[at:])
    if not re.search(r"\d.*KiloBytes/second", heard):
        raise ScenarioFailure("the speed was not read with its unit: %r" % lines[at:])


@scenarios.add("the result spoken once typing pauses (Qt 6.8; Qt 6.4 has no announcements)")
def after_a_pause(session):
    start(session)
    session.keys("ctrl+a")
    mark = session.mark()
    session.type_text("64")
    said(session, mark, r"^4 ?$", "the last key typed")
    typed = session.mark()
    time.sleep(2.5)
    heard = [line for line in session.spoken(mark) if "Seconds" in line]
    if ANNOUNCES and len(heard) != 1:
        raise ScenarioFailure("the new time was not said once after the pause: %r"
                              % session.spoken(mark))
    if not ANNOUNCES and heard:
        raise ScenarioFailure("Qt before 6.8 has no announcements, yet: %r" % heard)
    if ANNOUNCES and session.spoken(mark).index(heard[0]) < typed - mark:
        raise ScenarioFailure("the result was said before typing paused: %r" % session.spoken(mark))


@scenarios.add("F1 and Escape: the About box read in order, then the field again")
def about(session):
    start(session)
    lines = press(session, "F1", r"^About Velmora dialog", "the About box")
    text = lines[-1]
    places = [text.find(part) for part in ("Velmora.", "Version", "calculates", "Warning")]
    if -1 in places or places != sorted(places):
        raise ScenarioFailure("the About box was not read title, version, description: %r"
                              % text)
    said(session, 0, r"^OK (push )?button", "its OK button")
    mark = session.mark()
    session.keys("Escape")
    said(session, mark, r"^Velmora( frame)?\.?$", "the window again")
    said(session, mark, r"^Data size text", "the field that had the focus")


@scenarios.add("the word keys with Orca running: no key freezes the window")
def word_keys(session):
    start(session)
    session.keys("ctrl+a")
    session.type_text("1.33")
    said(session, session.mark() - 1, r"^3 ?$", "the last key typed")
    for key in ("End", "ctrl+Left", "ctrl+Right", "shift+ctrl+Left", "shift+ctrl+Right",
                "End", "ctrl+BackSpace", "ctrl+z", "Home", "ctrl+Delete", "ctrl+z", "End",
                "ctrl+Left", "Home", "End"):
        session.keys(key, delay=0.4)
    # Still alive: the focus moves on and is heard.
    mark = session.mark()
    session.keys("Tab")
    said(session, mark, r"^Transfer speed text", "Tab after the word keys (a frozen window is silent)")


if __name__ == "__main__":
    sys.exit(scenarios.run(only=sys.argv[2:]))
