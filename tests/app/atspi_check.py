"""Reads the dialog over AT-SPI as a screen reader would: after `corvane FILE` the element named
"Verification" is an alert whose text interface gives the whole verdict, it announces itself by
showing (and by its text changing), and the focus stays where it was (on OK)."""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

events = []


def on_event(event):
    try:
        events.append((event.type, event.source.name))
    except Exception:  # the source may be gone already
        pass


context = GLib.MainContext.default()


def turn(seconds):
    end = time.time() + seconds
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


# The listeners reach the registry over the bus; a dialog started before they are known there
# sends no events (on a loaded machine the bus itself may still be starting).
for kind in ("object:state-changed:showing", "object:text-changed", "object:state-changed:focused"):
    pyatspi.Registry.registerEventListener(on_event, kind)
ready = time.time() + 20
while time.time() < ready:
    try:
        pyatspi.Registry.getDesktop(0).childCount
        break
    except Exception:
        turn(0.1)
turn(0.5)

environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANGUAGE="en")
dialog = subprocess.Popen([sys.argv[1], sys.argv[2]], env=environment)


def find(node):
    try:
        if node.name == "Verification":
            return node
        for child in node:
            found = find(child)
            if found is not None:
                return found
    except Exception:
        pass
    return None


verdict = None
deadline = time.time() + 20
while time.time() < deadline:
    turn(0.1)
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and "corvane" in (application.name or "").lower():
            verdict = find(application)
    if verdict is not None and verdict.getState().contains(pyatspi.STATE_SHOWING):
        break
turn(0.5)
failures = []
if verdict is None:
    failures.append("no element named Verification")
else:
    text = verdict.queryText().getText(0, -1)
    print("role:", verdict.getRoleName(), "| text:", text)
    if verdict.getRole() != pyatspi.ROLE_ALERT:
        failures.append("role %s, not alert" % verdict.getRoleName())
    if text != "Matches: SHA-2 256, from SHA256SUMS.":
        failures.append("text %r" % text)
    if ("object:state-changed:showing", "Verification") not in events:
        failures.append("no showing event: %s" % events)
    focused = [name for kind, name in events if kind == "object:state-changed:focused"]
    if focused and focused[-1] != "OK":
        failures.append("focus moved to %s" % focused[-1])
dialog.kill()
for failure in failures:
    print("FAILED:", failure)
sys.exit(1 if failures else 0)
