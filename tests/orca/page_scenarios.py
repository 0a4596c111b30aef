"""The page heard through Orca, in Firefox ESR and Chromium: the built site
served from a port of the kernel's choosing, each scenario in a fresh
desktop with a fresh browser profile.

    run_orca.sh page_scenarios.py SITE_DIR firefox|chromium [WORDS...]
"""

import functools
import http.server
import os
import re
import sys
import tempfile
import threading
import time

from orca_session import OrcaSession, ScenarioFailure, Scenarios

SITE, BROWSER = sys.argv[1], sys.argv[2]


# Set once a page has fired its load: it then registers its worker, sw.js.
LOADED = threading.Event()


class _Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}

    def do_GET(self):
        if self.path.startswith("/sw.js"):
            LOADED.set()
        super().do_GET()

    def log_message(self, *args):
        pass


SERVER = http.server.ThreadingHTTPServer(
    ("127.0.0.1", 0), functools.partial(_Quiet, directory=SITE))
threading.Thread(target=SERVER.serve_forever, daemon=True).start()
URL = "http://127.0.0.1:%d/" % SERVER.server_address[1]

# Firefox's first run opens no page of its own beside the test's.
FIREFOX_PREFS = {
    "browser.aboutwelcome.enabled": "false",
    "browser.startup.homepage_override.mstone": '"ignore"',
    "datareporting.policy.dataSubmissionEnabled": "false",
    "datareporting.policy.firstRunURL": '""',
    "toolkit.telemetry.reportingpolicy.firstRun": "false",
    "trailhead.firstrun.didSeeAboutWelcome": "true",
    "browser.shell.checkDefaultBrowser": "false",
}


class PageSession(OrcaSession):
    """A desktop whose browser has loaded the page before Orca starts: Orca
    reads a page through on arrival, and that reading at times never ends
    with speech into a null device, which keeps Orca out of focus mode."""

    def _spawn(self, name, argv, **kwargs):
        if name == "orca":
            self._launch_browser()
        return super()._spawn(name, argv, **kwargs)

    def _launch_browser(self):
        LOADED.clear()
        profile = tempfile.mkdtemp(dir=self.scratch)
        if BROWSER == "firefox":
            with open(os.path.join(profile, "user.js"), "w") as f:
                for name, value in FIREFOX_PREFS.items():
                    f.write('user_pref("%s", %s);\n' % (name, value))
            self.launch(["firefox-esr", "--no-remote", "--profile", profile, URL],
                        env={"GNOME_ACCESSIBILITY": "1", "MOZ_ENABLE_WAYLAND": "0"})
        else:
            # Accessibility on from the start, as a screen reader's user has it.
            self.launch(["chromium", "--no-sandbox", "--disable-gpu", "--no-first-run",
                         "--no-default-browser-check", "--force-renderer-accessibility",
                         "--disable-background-networking", "--disable-component-update",
                         "--password-store=basic", "--user-data-dir=" + profile, URL],
                        env={"ACCESSIBILITY_ENABLED": "1"})
        if not LOADED.wait(60):
            raise ScenarioFailure("the page did not load in %s" % BROWSER)
        time.sleep(1)


def open_page(session):
    """Each scenario starts in the first field, as after a click in it."""
    focus_on(session, "entry", "Data size", r"^Data size entry 32")


def said_in_order(lines, patterns):
    at = 0
    for pattern in patterns:
        regex = re.compile(pattern)
        while at < len(lines) and not regex.search(lines[at]):
            at += 1
        if at == len(lines):
            return False
        at += 1
    return True


def say(session, keys, *patterns, what="", timeout=10):
    """Presses the keys, then waits until Orca has said a line matching each
    pattern, in order; returns all it said for them."""
    mark = session.mark()
    session.keys(*keys, delay=0.4)
    end = time.monotonic() + timeout
    while not said_in_order(session.spoken(mark), patterns):
        if time.monotonic() > end:
            raise ScenarioFailure("%s: Orca did not say %s in order; it said %r"
                                  % (what, " then ".join("/%s/" % p for p in patterns), session.spoken(mark)))
        time.sleep(0.1)
    return session.settle(since=mark, quiet=0.8)


def expect(lines, *patterns, what=""):
    if not said_in_order(lines, patterns):
        raise ScenarioFailure("%s: Orca did not say %s in order; it said %r"
                              % (what, " then ".join("/%s/" % p for p in patterns), lines))


# Finds a control of the page by its role and name on the accessibility bus
# and gives it the focus, as a click would.
GRAB_FOCUS = r"""
import sys, time, gi
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi
role, name = sys.argv[1], sys.argv[2]
def find(node, depth=0):
    if node is None or depth > 40:
        return None
    try:
        if node.get_role_name() == role and node.get_name() == name:
            return node
        for i in range(node.get_child_count()):
            found = find(node.get_child_at_index(i), depth + 1)
            if found:
                return found
    except Exception:
        return None
    return None
end = time.monotonic() + 20
while time.monotonic() < end:
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app and app.get_name() in ("Firefox", "Chromium", "chromium"):
            found = find(app)
            if found and found.get_component_iface().grab_focus():
                sys.exit(0)
    time.sleep(0.5)
sys.exit("no %s named %s" % (role, name))
"""


def focus_on(session, role, name, pattern):
    """Gives the control the focus and waits until Orca has named it."""
    # On a busy machine Orca may still be settling into the browser when the
    # first focus comes, and lets it pass unsaid: the focus goes elsewhere
    # and comes again.
    for attempt in range(3):
        if attempt:
            session.run(["/usr/bin/python3", "-c", GRAB_FOCUS, "entry",
                         "Transfer speed" if name != "Transfer speed" else "Data size"], timeout=40)
            time.sleep(1)
        mark = session.mark()
        done = session.run(["/usr/bin/python3", "-c", GRAB_FOCUS, role, name], timeout=40)
        if done.returncode:
            raise ScenarioFailure("could not focus the %s %s: %s" % (role, name, done.stderr.strip()))
        try:
            session.wait_spoken(pattern, since=mark, timeout=10)
            break
        except ScenarioFailure:
            if attempt == 2:
                raise
    session.settle(since=mark, quiet=0.8)


def tab_to(session, pattern, shift=False, most=12):
    """Tabs until Orca names the control that pattern matches; returns what
    it said from the first Tab on."""
    mark = session.mark()
    regex = re.compile(pattern)
    for _ in range(most):
        seen = len(session.spoken(mark))
        session.keys("shift+Tab" if shift else "Tab", delay=0)
        try:
            session.wait_spoken(r".", since=mark + seen, timeout=5)
        except ScenarioFailure:
            continue
        session.settle(since=mark, quiet=0.6)
        if any(regex.search(line) for line in session.spoken(mark)[seen:]):
            return session.spoken(mark)
    raise ScenarioFailure("Tab never reached /%s/; Orca said %r" % (pattern, session.spoken(mark)))


def focus_mode(session):
    """Orca+A: the arrows go to the control, as on a radio button in browse
    mode they would move Orca's own caret."""
    say(session, ["Insert+a"], r"^Focus mode", what="Orca+A")


scenarios = Scenarios()


@scenarios.add("the start", timeout=90)
def start(session):
    # Orca finds the page in its window, then the first field.
    session.wait_spoken(r"Velmora", timeout=20)
    open_page(session)


@scenarios.add("a tab round", timeout=120)
def tab_round(session):
    open_page(session)
    lines = tab_to(session, r"^Years read only entry")
    expect(lines, r"^Transfer speed entry 32\b",
           r"^Data size unit combo box", r"^KiloBytes\.?$", r"^Speed unit combo box",
           r"^KiloBytes/second\.?$", r"^Calculate:", r"^Time\.?$",
           r"^Hours read only entry 0\b", r"^Minutes read only entry 0\b",
           r"^Seconds read only entry 1\b", r"^Years read only entry 0\b",
           what="Tab through the window")
    if sum("Calculate:" in line for line in lines) != 1:
        raise ScenarioFailure("Calculate: said more than once: %r" % lines)


@scenarios.add("typing", timeout=90)
def typing(session):
    open_page(session)
    session.keys("ctrl+a")
    session.type_text("4096")
    tab_to(session, r"^Transfer speed entry")
    expect(tab_to(session, r"^Data size entry", shift=True), r"^Data size entry 4096\b",
           what="the typed size read whole")


@scenarios.add("arrows in a closed list", timeout=90)
def closed_list(session):
    open_page(session)
    expect(tab_to(session, r"^Data size unit combo box"), r"^Data size unit combo box", r"^KiloBytes",
           what="the list")
    say(session, ["Down"], r"^MegaBytes\.?$", what="Down")
    say(session, ["Down"], r"^GigaBytes\.?$", what="Down again")
    say(session, ["Up"], r"^MegaBytes\.?$", what="Up")


@scenarios.add("a pick from an open list", timeout=90)
def open_list(session):
    open_page(session)
    tab_to(session, r"^Data size unit combo box")
    say(session, ["alt+Down", "Down", "Down"], r"GigaBytes", what="browsing the open list")
    say(session, ["Return"], r"GigaBytes", what="the pick")
    tab_to(session, r"^Transfer speed entry", shift=True)
    expect(tab_to(session, r"^Data size unit combo box"), r"^Data size unit combo box", r"^GigaBytes",
           what="the list visited again")


@scenarios.add("the mode by keyboard", timeout=90)
def mode(session):
    open_page(session)
    expect(tab_to(session, r"^Time\.?$"), r"^Calculate:", r"^Time\.?$", what="entering the group")
    focus_mode(session)
    lines = say(session, ["Right"], r"^Speed\.?$", what="Right")
    if any("Calculate:" in line for line in lines):
        raise ScenarioFailure("Calculate: said again on an arrow: %r" % lines)
    # Orca 43 counts a radio button's place by its group relation, which
    # Firefox gives; Chromium gives the place as posinset and setsize only.
    place = [r"2 of 3"] if BROWSER == "firefox" else []
    say(session, ["KP_Enter"], r"^Speed", *place, what="where am I")


@scenarios.add("a locked field and a locked list", timeout=90)
def locked(session):
    open_page(session)
    tab_to(session, r"^Time\.?$")
    focus_mode(session)
    say(session, ["Right"], r"^Speed", what="the speed worked out")
    expect(tab_to(session, r"^Speed unit", shift=True), r"^Speed unit, read only combo box",
           r"^KiloBytes/second", what="the locked list")
    say(session, ["Down"], r"^Speed unit is read only", what="a refused key")
    expect(tab_to(session, r"^Transfer speed", shift=True), r"^Transfer speed read only entry 32\b",
           what="the locked field")


@scenarios.add("a result read with its unit", timeout=90)
def result_unit(session):
    open_page(session)
    tab_to(session, r"^Time\.?$")
    focus_mode(session)
    # Data: the size is worked out, 32 KiloBytes/second for 1 second.
    say(session, ["Left"], r"^Data", what="the size worked out")
    expect(tab_to(session, r"^Data size read only entry", shift=True), r"^Data size read only entry 32\b",
           r"KiloBytes", what="the size with its unit")
    expect(tab_to(session, r"^Data size unit"), r"^Data size unit, read only combo box", r"^KiloBytes",
           what="the size's unit")


@scenarios.add("the result spoken after a pause", timeout=90)
def result_after_pause(session):
    open_page(session)
    session.keys("ctrl+a")
    mark = session.mark()
    session.type_text("2048", delay_ms=250)
    typed = time.monotonic()
    session.wait_spoken(r"^Time:", since=mark, timeout=10)
    if time.monotonic() - typed < 0.8:
        raise ScenarioFailure("the result came before the pause")
    lines = session.settle(since=mark, quiet=1.5)
    results = [line for line in lines if line.startswith("Time:")]
    if results != ["Time: 1 minute 4 seconds"]:
        raise ScenarioFailure("not one result with its units after the pause: %r" % lines)


@scenarios.add("F1 and Escape", timeout=90)
def about(session):
    open_page(session)
    tab_to(session, r"^Transfer speed entry")
    say(session, ["F1"], r"^Velmora\. Version \d+\.\d+\.\d+\. Velmora calculates .*Warning:", what="F1")
    say(session, ["Escape"], r"^Transfer speed entry 32\b", what="Escape")


if __name__ == "__main__":
    try:
        sys.exit(scenarios.run(only=sys.argv[3:] or None, session_factory=PageSession))
    finally:
        SERVER.shutdown()
