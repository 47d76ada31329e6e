# Reads the running program as a screen reader does, over AT-SPI: the keyboard shortcut of each
# working command, then what the program tells after a record, by speech (the notification's
# name) and by braille (its label's text). Exits non-zero with the reason on the first fault.
import sys
import time

import pyatspi

SHORTCUTS = {
    "Next Question / Answer": "Alt+N",
    "Enter Response": "Alt+E",
    "Save as Notes": "Alt+S",
    "display notes": "Alt+D",
    "display everything": "Alt+V",
    "clear box": "Alt+C",
    "quit program": "Alt+Q",
}
TIMEOUT = float(sys.argv[1]) if len(sys.argv) > 1 else 20


def fail(why):
    print("FAIL: " + why, file=sys.stderr)
    sys.exit(1)


def until(what, find):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.05)
    fail("timed out waiting for " + what)


def window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Assignment Desk":
            for child in app:
                if child is not None and child.name == "Form1":
                    return child
    return None


form = until("the program's window on the AT-SPI bus", window)
by_name = {child.name: child for child in form}

for name, keys in SHORTCUTS.items():
    button = by_name.get(name)
    if button is None or button.getRole() != pyatspi.ROLE_PUSH_BUTTON:
        fail("no button named %r" % name)
    action = button.queryAction()
    if action.getKeyBinding(0) != keys:
        fail("%r reports the key binding %r, not %r" % (name, action.getKeyBinding(0), keys))
    if not button.description.endswith("Shortcut: " + keys):
        fail("%r is described as %r" % (name, button.description))


def notification():
    for child in form:
        if child is not None and child.getRole() == pyatspi.ROLE_NOTIFICATION:
            return child
    return None


def told(starting):
    found = notification()
    return found if found is not None and found.name.startswith(starting) else None


# A button pressed through AT-SPI clicks as a shown click does, a moment later: each press waits
# for what it tells before the next.
def press(name, telling):
    by_name[name].queryAction().doAction(0)
    return until("%r after %r" % (telling, name), lambda: told(telling))


# Two paragraphs, then an answer recorded, all through the screen reader's own interfaces.
press("Next Question / Answer", "Go to the incline")
press("Next Question / Answer", "GIve the times")
by_name["Your answer"].queryEditableText().setTextContents("t = 2.3 s")
recorded = press("Enter Response", "Response recorded")
braille = [child.name for child in recorded if child.getRole() == pyatspi.ROLE_LABEL]
if braille != ["Response recorded"]:
    fail("the notification's label reads %r" % braille)
print("screen reader: ok")
