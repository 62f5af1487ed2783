#!/usr/bin/python3
"""A screen reader's view of the running program, read over the accessibility bus with pyatspi.

Prints the application's tree as a screen reader finds it, then checks it and drives it through
the objects' own actions, as a screen reader does for a player who cannot see the window:
  screen_reader.py title CAPTION   the window, its menu and entry, the vision, the clock's caption;
                                   the box opened by the entry's action, its title, lines and
                                   button, closed by the button's action; the clock going on
  screen_reader.py calm CAPTION    the calm start's button with its hint, pressed by its action
Ends with status 1, saying what was wrong, at the first check that fails.
"""

import datetime
import re
import sys
import time

import pyatspi
from gi.repository import GLib

APPLICATION = "Ombrevale"


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def settle():
    """Lets the reader's side take in what the program told it."""
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(what, find, seconds=30):
    """Asks `find` every 50 ms until it answers, for at most `seconds`."""
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        settle()
        try:
            found = find()
        except Exception:  # an object that went while it was read: ask again
            found = None
        if found:
            return found
        time.sleep(0.05)
    fail("no " + what + " within %d seconds" % seconds)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == APPLICATION:
            return app
    return None


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def states(node):
    return sorted(pyatspi.stateToString(s) for s in node.getState().getStates())


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def action_of(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return None
    return action if action.nActions > 0 else None


def describe(node, depth=0):
    """The node and those under it, a line each, as a screen reader's tree view shows them."""
    line = "  " * depth + "[%s] \"%s\"" % (node.getRoleName(), node.name)
    if node.description:
        line += " (%s)" % node.description
    text = text_of(node)
    if text is not None:
        line += " text=%r" % text
    action = action_of(node)
    if action is not None:
        line += " action=%s keys=%r" % (action.getName(0), action.getKeyBinding(0))
    attributes = [a for a in node.getAttributes() if a.startswith("live")]
    if attributes:
        line += " " + " ".join(attributes)
    interesting = [s for s in states(node) if s in ("active", "focused", "modal", "default")]
    if interesting:
        line += " {" + ", ".join(interesting) + "}"
    lines = [line]
    for child in children(node):
        lines += describe(child, depth + 1)
    return lines


def print_tree(title):
    print("--- " + title)
    print("\n".join(describe(application())))


def only(nodes, role, what):
    found = [n for n in nodes if n.getRoleName() == role]
    if len(found) != 1:
        fail("%s: %d objects of role %s, not one" % (what, len(found), role))
    return found[0]


def frame_of(app, caption):
    frame = only(children(app), "frame", "the application")
    if frame.name != caption:
        fail("the window is named %r, not %r" % (frame.name, caption))
    return frame


def clock_caption_now():
    """The clock's caption for now: the date two years ahead, as the label writes it."""
    now = datetime.datetime.now()
    try:
        ahead = now.replace(year=now.year + 2)
    except ValueError:  # 29 February
        ahead = now.replace(year=now.year + 2, day=28)
    return ahead


def check_clock(frame, within):
    """The label's text is the caption shown: the clock two years ahead, at most `within` seconds
    behind it (the clock of a vision that stands still stopped at its start)."""
    # The window may be published a moment before its first page.
    wait_for("the clock's label", lambda: [n for n in children(frame) if n.getRoleName() == "label"])
    label = only(children(frame), "label", "the window")
    if "live:off" not in label.getAttributes():
        fail("the clock's label is not a live region set to off: %s" % label.getAttributes())

    def caption():
        text = text_of(label)
        return text if text and re.fullmatch(r"\d{4}/\d{2}/\d{2} \d{1,2}:\d{2}:\d{2}", text) else None

    shown = wait_for("clock caption on the label", caption)
    read = datetime.datetime.strptime(shown, "%Y/%m/%d %H:%M:%S")
    behind = (clock_caption_now() - read).total_seconds()
    if not -2 <= behind <= within:
        fail("the label reads %r, %d seconds off the clock two years ahead" % (shown, behind))
    return label, shown


def title(caption):
    app = wait_for("application %r on the accessibility bus" % APPLICATION, application)
    frame = wait_for("window", lambda: frame_of(app, caption) if app.childCount else None)
    label, first = check_clock(frame, 3)
    print_tree("the title page")
    bar = only(children(frame), "menu bar", "the window")
    entry = only(children(bar), "menu item", "the menu bar")
    if entry.name != "Version":
        fail("the menu's entry is %r" % entry.name)
    if action_of(entry) is None or "<Alt>v" not in action_of(entry).getKeyBinding(0):
        fail("the entry has no action with Alt+V as its keys")
    vision = only(children(frame), "image", "the window")
    if vision.name != "The title vision" or vision.queryImage().imageDescription != vision.name:
        fail("the vision is named %r" % vision.name)
    extents = vision.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if extents.width < 400 or extents.height < 300:
        fail("the vision lies at %s, smaller than the canvas" % (extents,))

    # The entry's action opens the box: a modal dialog beside the window, its button focused.
    action_of(entry).doAction(0)
    dialog = wait_for("dialog after the entry's action",
                      lambda: ([n for n in children(app) if n.getRoleName() == "dialog"] or [None])[0])
    print_tree("the version box, opened by the entry's action")
    if dialog.name != APPLICATION or "modal" not in states(dialog):
        fail("the box is %r, %s" % (dialog.name, states(dialog)))
    lines = text_of(only(children(dialog), "label", "the box")).split("\n")
    version = caption.split(" ")[-1]
    if len(lines) != 3 or lines[0] != "ver " + version or not lines[1].startswith("made by ") \
            or lines[2] != "2002/5/28":
        fail("the box's text reads %r" % lines)
    ok = only(children(dialog), "push button", "the box")
    if ok.name != "OK" or action_of(ok) is None:
        fail("the box's button is %r, without an action" % ok.name)
    wait_for("focus on OK", lambda: "focused" in states(ok), 10)
    if "focused" in states(frame):
        fail("the window keeps the focus while the box is open")

    # OK's action closes it: the box goes, and the clock goes on.
    action_of(ok).doAction(0)
    wait_for("box closed by OK's action",
             lambda: not [n for n in children(app) if n.getRoleName() == "dialog"])
    wait_for("window focused again", lambda: "focused" in states(frame), 10)
    wait_for("clock going on after the box", lambda: text_of(label) != first, 10)
    print_tree("the box closed by its button's action")
    print("ok: the application, its window, menu and entry, the vision, the clock %r; the box "
          "opened and closed through the objects' actions" % first)


def calm(caption):
    app = wait_for("application %r on the accessibility bus" % APPLICATION, application)
    frame = wait_for("window", lambda: frame_of(app, caption) if app.childCount else None)
    button = wait_for("the calm start's button",
                      lambda: ([n for n in children(frame) if n.getRoleName() == "push button"]
                               or [None])[0])
    print_tree("the calm start")
    if button.name != "Start the vision" or not button.description:
        fail("the button is %r with the hint %r" % (button.name, button.description))
    label, first = check_clock(frame, 120)
    time.sleep(1.5)
    if text_of(label) != first:
        fail("the clock moved while the vision stood still")
    action_of(button).doAction(0)
    wait_for("button gone after its action", lambda: button not in children(frame))
    wait_for("clock going on after the button", lambda: text_of(label) != first, 10)
    print("ok: the calm start's button %r (%s) started the vision by its action"
          % (button.name, button.description))


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("title", "calm"):
        fail("usage: screen_reader.py title|calm CAPTION")
    {"title": title, "calm": calm}[sys.argv[1]](sys.argv[2])
