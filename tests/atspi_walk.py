#!/usr/bin/python3
"""Walks the start of the interview through the desktop's accessibility interface (AT-SPI), as a
screen reader does: the host runs the module on a copy of a return under Xvfb, on a private
session bus with its own accessibility bus, and this script finds and presses the frame's
buttons by their names, reads a field's name and value, finds a help link in a question, and
reads a refusal's message box.

usage: atspi_walk.py --host TESMO --data RETURN.TAX --id IDENTIFIER
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

WAIT_SECONDS = 20  # for one screen, the application or the message box to appear
REFUSAL = "You must select a curent worksheet or enter a description for this asset/event."


def fail(message):
    print("atspi_walk: " + message, file=sys.stderr)
    sys.exit(1)


def in_private_session(argv):
    """Runs this script again on a session bus of its own, with a runtime folder of its own where
    the accessibility bus puts its socket; returns its status."""
    if not shutil.which("dbus-run-session"):
        fail("dbus-run-session is missing (Debian package dbus)")
    with tempfile.TemporaryDirectory(prefix="cgt-atspi-") as runtime:
        env = dict(os.environ, CGT_ATSPI_PRIVATE_BUS="1", XDG_RUNTIME_DIR=runtime)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        return subprocess.run(["dbus-run-session", "--", sys.executable, __file__] + argv,
                              env=env, timeout=150).returncode


def start_xvfb():
    """A private X server on a free display; returns the process and the display name."""
    if not shutil.which("Xvfb"):
        fail("Xvfb is missing (Debian package xvfb)")
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        server.kill()
        fail("Xvfb did not start")
    return server, ":" + number


class Walker:
    def __init__(self, pyatspi, app_name):
        self.atspi = pyatspi
        self.app_name = app_name

    def wait(self, what, find):
        """The first non-empty answer of `find`, asked until WAIT_SECONDS have passed."""
        deadline = time.monotonic() + WAIT_SECONDS
        while time.monotonic() < deadline:
            try:
                found = find()
            except Exception:  # a node went away while it was read: ask again
                found = None
            if found:
                return found
            time.sleep(0.2)
        self.print_tree()
        fail("not found within %d s: %s" % (WAIT_SECONDS, what))

    def print_tree(self):
        """The application's showing nodes, for the log of a failed walk."""
        app = self.application()
        if app is None:
            return
        for node in self.nodes(app):
            print("  %s %r %r" % (node.getRoleName(), node.name, node.description),
                  file=sys.stderr)

    def application(self):
        desktop = self.atspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == self.app_name:
                return app
        return None

    def nodes(self, root):
        """Every node under root that is showing; the items of lists, trees and tables are left
        out."""
        roles = self.atspi
        skipped = {roles.ROLE_TABLE, roles.ROLE_TREE, roles.ROLE_TREE_TABLE, roles.ROLE_LIST}
        stack = [root]
        while stack:
            node = stack.pop()
            if node is None:
                continue
            if node is not root and not node.getState().contains(roles.STATE_SHOWING):
                continue
            yield node
            if node.getRole() not in skipped:
                stack.extend(node.getChildAtIndex(i) for i in range(node.childCount))

    def find(self, role, name=None, contains=None):
        app = self.application()
        if app is None:
            return None
        for node in self.nodes(app):
            if node.getRole() != role:
                continue
            if name is not None and node.name != name:
                continue
            if contains is not None and contains not in node.name:
                continue
            return node
        return None

    def wait_for(self, role, name=None, contains=None):
        what = "role %s named %r" % (role, name if name is not None else "…" + contains + "…")
        return self.wait(what, lambda: self.find(role, name, contains))

    def press(self, caption):
        button = self.wait_for(self.atspi.ROLE_PUSH_BUTTON, name=caption)
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            fail("button %r offers no Press action: %r" % (caption, names))
        action.doAction(names.index("Press"))

    def screen_says(self, phrase):
        return self.wait_for(self.atspi.ROLE_LABEL, contains=phrase)


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def walk(pyatspi, app_name):
    w = Walker(pyatspi, app_name)
    w.wait("the application " + app_name, w.application)

    # The first screen: Next is found by its name and pressed.
    w.screen_says("What capital gains and losses")
    w.press("Next")

    # The losses screen: a field is found by its question and its value read back.
    field = w.wait_for(pyatspi.ROLE_TEXT, name="Unapplied net capital losses from collectables")
    if text_of(field) != "":
        fail("the empty field reads %r" % text_of(field))
    field.queryEditableText().setTextContents("1500")
    value = w.wait("the value typed", lambda: text_of(field) if "1500" in text_of(field) else None)
    print("field %r reads %r" % (field.name, value))
    w.press("Next")

    # On to the registration of a share event: information, two questions.
    w.screen_says("Ceasing to be an Australian resident")
    w.press("Next")
    w.screen_says("in shares")
    # A help link inside the question is a link of its own, with Press to follow it.
    link = w.wait_for(pyatspi.ROLE_LINK, name="interest")
    if "Press" not in [link.queryAction().getName(i) for i in range(link.queryAction().nActions)]:
        fail("the link 'interest' cannot be pressed")
    w.press("Yes")
    w.screen_says("Did any of the CGT events listed below happen")
    w.press("Yes")

    # A date without a description: Next is refused, and the message box says why.
    date = w.wait_for(pyatspi.ROLE_TEXT, name="Date of acquisition:")
    date.queryEditableText().setTextContents("01/07/2000")
    w.press("Next")
    box = w.wait("the refusal's message box", lambda: w.find(pyatspi.ROLE_ALERT) or
                 w.find(pyatspi.ROLE_DIALOG))
    said = [n.name for n in w.nodes(box) if n.getRole() == pyatspi.ROLE_LABEL]
    described = box.description
    print("message box %r: labels %r, description %r" % (box.name, said, described))
    if REFUSAL not in said:
        fail("the message box does not read the refusal: %r" % said)
    if described != REFUSAL:
        fail("the message box's description is not the refusal: %r" % described)
    w.press("OK")
    w.wait("the message box to close",
           lambda: w.find(pyatspi.ROLE_ALERT) is None and w.find(pyatspi.ROLE_DIALOG) is None)
    # The screen stays, its field as it was typed.
    if "01/07/2000" not in text_of(w.wait_for(pyatspi.ROLE_TEXT, name="Date of acquisition:")):
        fail("the refused screen lost its date")


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--id", required=True)
    args = parser.parse_args(argv)
    if os.environ.get("CGT_ATSPI_PRIVATE_BUS") != "1":
        return in_private_session(argv)

    server, display = start_xvfb()
    host = None
    try:
        with tempfile.TemporaryDirectory() as folder:
            data = os.path.join(folder, "walk.TAX")
            shutil.copyfile(args.data, data)
            os.environ["DISPLAY"] = display
            env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       QT_ACCESSIBILITY="1")
            host = subprocess.Popen([args.host, "--data", data, "--id", args.id], env=env,
                                    stdout=subprocess.DEVNULL)
            try:
                import pyatspi  # after DISPLAY is set: it finds the accessibility bus there
            except ImportError:
                fail("pyatspi is missing (Debian package python3-pyatspi)")

            walk(pyatspi, os.path.basename(args.host))
            print("atspi_walk: passed")
            return 0
    finally:
        if host is not None:
            host.kill()
            host.wait()
        server.terminate()
        server.wait()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
