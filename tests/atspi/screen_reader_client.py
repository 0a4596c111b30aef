"""Reads and drives the running Velmora over the AT-SPI bus, as a screen
reader does: atspi_test.sh starts the program and then this."""
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# get_action_name is all this version offers, deprecated or not.
warnings.simplefilter("ignore", DeprecationWarning)

failures = []


def check(ok, what):
    print(("ok: " if ok else "FAILED: ") + what, flush=True)
    if not ok:
        failures.append(what)


def wait_for(find, seconds=10.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    return None


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def descendants(node, depth=4):
    for child in children(node):
        if child is None:
            continue
        yield child
        if depth > 1:
            yield from descendants(child, depth - 1)


def find(node, role, name=None):
    try:
        for child in descendants(node):
            if child.get_role() == role and (name is None or child.get_name() == name):
                return child
    except GLib.Error:  # a window closing under the walk
        pass
    return None


def velmora():
    desktop = Atspi.get_desktop(0)
    for app in children(desktop):
        if app is not None and app.get_name() == "velmora":
            return app
    return None


def labels_of(node):
    names = []
    for relation in node.get_relation_set():
        if relation.get_relation_type() == Atspi.RelationType.LABELLED_BY:
            names += [relation.get_target(i).get_name() for i in range(relation.get_n_targets())]
    return names


def press(node, action_name):
    for i in range(Atspi.Action.get_n_actions(node)):
        if Atspi.Action.get_action_name(node, i) == action_name:
            started = time.monotonic()
            try:
                Atspi.Action.do_action(node, i)
            except GLib.Error:  # no answer in time
                return float("inf")
            return time.monotonic() - started
    return None


def key(keysym):
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)


# Through the interfaces by name: newer bindings no longer find them as
# methods of the accessible itself.
def text_of(field):
    return Atspi.Text.get_text(field, 0, -1)


class TextChanges:
    """Collects the names of the fields whose text-changed events arrive."""

    def __init__(self):
        self.sources = []
        self.listener = Atspi.EventListener.new(lambda event: self.sources.append(event.source.get_name()))
        self.listener.register("object:text-changed")

    def run(self, seconds, until=lambda: False):
        loop = GLib.MainLoop()
        end = time.monotonic() + seconds

        def poll():
            if until() or time.monotonic() > end:
                loop.quit()
                return False
            return True

        GLib.timeout_add(20, poll)
        loop.run()

    def quiet(self, seconds=0.5):
        """Waits until nothing has been heard for a while."""
        while True:
            heard = len(self.sources)
            self.run(seconds)
            if len(self.sources) == heard:
                return


def main():
    Atspi.set_timeout(5000, 15000)  # ms: a call left unanswered fails rather than hangs
    app = wait_for(velmora, 20)
    check(app is not None, "velmora is on the bus")
    if app is None:
        return 1
    frame = wait_for(lambda: find(app, Atspi.Role.FRAME, "Velmora"))
    check(frame is not None, "its window is there")
    if frame is None:
        return 1

    # The lists: what each is for and its unit, read without opening it.
    data_units = ["KiloBytes", "MegaBytes", "GigaBytes", "Bytes"]
    speed_units = ["KiloBytes/second", "MegaBytes/second"]
    lists = {}
    for purpose, units in (("Data size unit", data_units), ("Speed unit", speed_units)):
        unit_list = next((c for c in children(frame) if c.get_role() == Atspi.Role.COMBO_BOX
                          and labels_of(c) == [purpose]), None)
        check(unit_list is not None, f"a list is labelled {purpose!r}")
        if unit_list is None:
            return 1
        lists[purpose] = unit_list
        check(unit_list.get_name() == purpose, f"{purpose} is named {unit_list.get_name()!r}")
        check(text_of(unit_list) == units[0], f"{purpose} reads {text_of(unit_list)!r}")
        popup = unit_list.get_child_at_index(0) if unit_list.get_child_count() else None
        browsed = [item.get_name() for item in children(popup)] if popup else []
        check(browsed == units, f"{purpose}: its units can be browsed: {browsed}")

    # Both follow a change of unit made with the keyboard. With no window
    # manager the keys go to the window under the pointer: the screen's middle,
    # where the window opens.
    for purpose, unit in (("Data size unit", "MegaBytes"), ("Speed unit", "MegaBytes/second")):
        unit_list = lists[purpose]
        unit_list.grab_focus()
        wait_for(lambda: unit_list.get_state_set().contains(Atspi.StateType.FOCUSED), 5)
        key(0xFF54)  # Down
        changed = wait_for(lambda: text_of(unit_list) == unit, 5)
        check(changed, f"{purpose} follows the keyboard to {text_of(unit_list)!r}")
        check(labels_of(unit_list) == [purpose], f"{purpose} keeps its purpose")

    # The logo's press returns at once; the modal About box follows.
    logo = find(frame, Atspi.Role.IMAGE)
    took = press(logo, "Press") if logo else None
    check(took is not None and took < 1.0, f"the logo's press returns at once ({took} s)")
    about = wait_for(lambda: find(app, Atspi.Role.DIALOG), 10)
    check(about is not None and about.get_state_set().contains(Atspi.StateType.MODAL),
          "then the About box opens, modal")
    if about is not None:
        ok = find(about, Atspi.Role.PUSH_BUTTON, "OK")
        if ok:
            press(ok, "Press")
        check(wait_for(lambda: find(app, Atspi.Role.DIALOG) is None, 10), "OK closes it")

    # In Time mode the seconds are a locked result; every write to them is
    # refused before it happens, so nothing is announced. First an open field's
    # write must be heard, so the program is known to tell of changes.
    seconds = find(frame, Atspi.Role.TEXT, "Seconds")
    speed = find(frame, Atspi.Role.TEXT, "Transfer speed")
    changes = TextChanges()
    for figure in ("64", "32", "64", "32", "64"):
        Atspi.EditableText.set_text_contents(speed, figure)
        changes.run(1.0, lambda: "Transfer speed" in changes.sources)
        if "Transfer speed" in changes.sources:
            break
    check("Transfer speed" in changes.sources, "a write to an open field is announced")
    changes.quiet()
    changes.sources.clear()
    before = text_of(seconds)
    Atspi.EditableText.copy_text(speed, 0, 2)
    Atspi.EditableText.set_text_contents(seconds, "999")
    Atspi.EditableText.insert_text(seconds, 0, "7", 1)
    Atspi.EditableText.delete_text(seconds, 0, 1)
    Atspi.EditableText.paste_text(seconds, 0)
    changes.run(1.0)
    check(text_of(seconds) == before, f"the locked seconds still read {text_of(seconds)!r}")
    check(changes.sources == [], f"the refused writes announced nothing: {changes.sources}")

    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
