#!/usr/bin/python3
"""The launcher through AT-SPI, as a screen reader sees and drives it.

    a11y_reader.py enable                the session's screen reader setting on
    a11y_reader.py tree                  the tree, one object a line
    a11y_reader.py listen SECONDS        what a screen reader would say about the
                                         focus and the selection meanwhile
    a11y_reader.py STEP [ARGS]           one step of the end-to-end tests (below)
    a11y_reader.py read-alert-with TITLE SECONDS PATTERN...
                                         the alert's text holds every pattern

A step prints "FAIL: ..." and exits with 1 when the launcher does not answer as
it should; each wait gives up after ten seconds.
"""
import sys
import time

import pyatspi

TITLE = "Valdor III Launcher"
EDITIONS = ["Tidemark", "Ashen Vow", "Complete", "Dawn of Velmar", "Pale Reach",
            "Emberfall", "Lumen Generation 2", "OVRE"]


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def wait_for(what, probe, seconds=10.0):
    """probe() until it gives something true; fails naming what it waited for."""
    end = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except Exception:  # an object gone meanwhile: ask again
            found = None
        if found:
            return found
        if time.monotonic() > end:
            fail("gave up waiting for " + what)
        time.sleep(0.1)


def states(obj):
    return obj.getState()


def children(obj):
    return [obj.getChildAtIndex(i) for i in range(obj.childCount)]


def find(obj, role, name=None):
    """The first object below obj with this role (and name), depth first."""
    for child in children(obj):
        if child is None:
            continue
        if child.getRole() == role and (name is None or child.name == name):
            return child
        found = find(child, role, name)
        if found is not None:
            return found
    return None


def application():
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for app in children(desktop):
            if app is not None and find(app, pyatspi.ROLE_FRAME, TITLE) is not None:
                return app
        return None
    return wait_for("an application with a frame named " + TITLE, probe, 20.0)


def frame():
    return find(application(), pyatspi.ROLE_FRAME, TITLE)


def act(obj, action):
    acts = obj.queryAction()
    names = [acts.getName(i) for i in range(acts.nActions)]
    if action not in names:
        fail("%s '%s' offers %s, not '%s'" % (obj.getRoleName(), obj.name, names, action))
    if not acts.doAction(names.index(action)):
        fail("'%s' of '%s' was refused" % (action, obj.name))


def editions():
    return find(frame(), pyatspi.ROLE_LIST, "Editions")


def selected_edition():
    items = [item for item in children(editions()) if states(item).contains(pyatspi.STATE_SELECTED)]
    return [item.name for item in items]


def wait_selected(name):
    wait_for("'%s' alone selected in the list" % name, lambda: selected_edition() == [name])


def wait_focused_in_list(name):
    """The keyboard in the list: the list and its item name focused, no other item."""
    def probe():
        focused = [item.name for item in children(editions())
                   if states(item).contains(pyatspi.STATE_FOCUSED)]
        return focused == [name] and states(editions()).contains(pyatspi.STATE_FOCUSED)
    wait_for("the focus on '%s' in the list" % name, probe)


def say(obj):
    """What a screen reader says of an object: name, role and what matters of its state."""
    words = [obj.name, obj.getRoleName()]
    s = states(obj)
    if s.contains(pyatspi.STATE_CHECKABLE):
        words.append("checked" if s.contains(pyatspi.STATE_CHECKED) else "not checked")
    if obj.getRole() == pyatspi.ROLE_LIST_ITEM:
        index = obj.getIndexInParent()
        words.append("%d of %d" % (index + 1, obj.parent.childCount))
        if s.contains(pyatspi.STATE_SELECTED):
            words.append("selected")
    if obj.getRole() == pyatspi.ROLE_PROGRESS_BAR:
        value = obj.queryValue()
        words.append("%d percent" % round(100 * value.currentValue / (value.maximumValue or 1)))
    return ", ".join(w for w in words if w)


# --- commands --------------------------------------------------------------------------

def tree(obj=None, depth=0):
    obj = obj or application()
    line = "  " * depth + "[%s] %s" % (obj.getRoleName(), obj.name)
    s = [pyatspi.stateToString(x) for x in states(obj).getStates()]
    try:
        acts = obj.queryAction()
        line += "  actions: " + ",".join(acts.getName(i) for i in range(acts.nActions))
    except NotImplementedError:
        pass
    print(line + "  states: " + ",".join(s))
    for child in children(obj):
        tree(child, depth + 1)


def listen(seconds):
    """Speaks as Orca would on the events a screen reader follows."""
    application()

    def on_event(event):
        source = event.source
        if event.type.startswith("object:state-changed:focused") and event.detail1:
            print("focus: " + say(source), flush=True)
        elif event.type.startswith("object:state-changed:selected") and event.detail1:
            print("selected: " + say(source), flush=True)
        elif event.type.startswith("object:state-changed:checked"):
            print("now " + say(source), flush=True)
        elif event.type.startswith("window:activate"):
            print("window: %s, %s" % (source.name, source.getRoleName()), flush=True)
            label = find(source, pyatspi.ROLE_LABEL)
            if source.getRole() == pyatspi.ROLE_ALERT and label is not None:
                print("alert text: " + label.queryText().getText(0, -1), flush=True)

    for kind in ("object:state-changed:focused", "object:state-changed:selected",
                 "object:state-changed:checked", "window:activate"):
        pyatspi.Registry.registerEventListener(on_event, kind)
    # The caller acts only once this line is out: before it, what the program
    # says goes unheard (starting Python and pyatspi takes seconds on a busy
    # machine).
    print("listening", flush=True)
    from gi.repository import GLib
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    pyatspi.Registry.start()


def enable():
    """Turns the session's screen reader setting on, as a screen reader does when it starts."""
    from gi.repository import Gio, GLib
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled",
                                         GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, -1, None)


def check_start():
    """The frame, its list of eight editions, the first one selected."""
    names = [item.name for item in children(editions())]
    if names != EDITIONS:
        fail("the list holds %s" % names)
    roles = {item.getRoleName() for item in children(editions())}
    if roles != {"list item"}:
        fail("the editions are %s" % roles)
    wait_selected("Tidemark")


def select(name):
    """Selects an edition through the list, as a reader's list navigation does."""
    the_list = editions()
    the_list.querySelection().selectChild(EDITIONS.index(name))
    wait_selected(name)


def toggle_cheats():
    box = find(frame(), pyatspi.ROLE_CHECK_BOX, "Enable cheats menu")
    if box is None:
        fail("no check box 'Enable cheats menu'")
    before = states(box).contains(pyatspi.STATE_CHECKED)
    act(box, "toggle")
    wait_for("the check box to turn %s" % ("off" if before else "on"),
             lambda: states(box).contains(pyatspi.STATE_CHECKED) != before)


def click(name):
    button = find(frame(), pyatspi.ROLE_PUSH_BUTTON, name)
    if button is None:
        fail("no push button '%s'" % name)
    act(button, "click")


def read_alert(title, text):
    """The alert's text as a reader reads it, then its Ok button."""
    alert = wait_for("an alert named '%s'" % title,
                     lambda: find(application(), pyatspi.ROLE_ALERT, title))
    label = find(alert, pyatspi.ROLE_LABEL)
    shown = label.queryText().getText(0, -1) if label is not None else None
    if shown != text:
        fail("the alert reads %r, not %r" % (shown, text))
    ok = find(alert, pyatspi.ROLE_PUSH_BUTTON, "Ok")
    if ok is None:
        fail("the alert has no push button 'Ok'")
    wait_for("the focus on the alert's Ok button",
             lambda: states(ok).contains(pyatspi.STATE_FOCUSED))
    act(ok, "click")
    wait_for("the alert to go",
             lambda: find(application(), pyatspi.ROLE_ALERT, title) is None)


def read_alert_with(title, seconds, *patterns):
    """Waits up to SECONDS for the alert, prints its text as a reader reads it,
    checks that each pattern (a regular expression) is found in it, then its Ok."""
    import re
    alert = wait_for("an alert named '%s'" % title,
                     lambda: find(application(), pyatspi.ROLE_ALERT, title), float(seconds))
    label = find(alert, pyatspi.ROLE_LABEL)
    shown = label.queryText().getText(0, -1) if label is not None else ""
    print("alert '%s' reads: %r" % (title, shown))
    missing = [p for p in patterns if not re.search(p, shown)]
    if missing:
        fail("the alert's text lacks %s" % missing)
    ok = find(alert, pyatspi.ROLE_PUSH_BUTTON, "Ok")
    if ok is None:
        fail("the alert has no push button 'Ok'")
    act(ok, "click")
    wait_for("the alert to go",
             lambda: find(application(), pyatspi.ROLE_ALERT, title) is None)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        sys.exit(2)
    command, args = sys.argv[1], sys.argv[2:]
    steps = {
        "tree": tree, "listen": lambda s: listen(float(s)), "check-start": check_start,
        "select": select, "toggle-cheats": toggle_cheats, "click": click,
        "read-alert": read_alert, "read-alert-with": read_alert_with, "enable": enable,
        "expect-selected": wait_selected, "expect-focused-in-list": wait_focused_in_list,
    }
    if command not in steps:
        print(__doc__)
        sys.exit(2)
    steps[command](*args)


if __name__ == "__main__":
    main()
