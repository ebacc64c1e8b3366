#!/usr/bin/python3
"""Walks the viewer's windows as a screen reader sees them.

Runs under Xvfb with a private D-Bus session (see CMakeLists.txt beside this
file) and Qt's AT-SPI bridge switched on. Each scene starts the viewer in a
state, waits for a window, and walks every object in it: an interactive
object without a name, or one that can be pressed but does not say it is a
button, fails the test. A scene may check more (the menu's current row must
be the focused object, so that Orca reads it).

To cover another window, add a Scene to SCENES.
Usage: a11y_walk.py VIZO_VIEWER VIZO_SIM
VIZO_A11Y_PLATFORM=wayland runs the viewer as a Wayland client instead (of
the compositor in WAYLAND_DISPLAY); a headless compositor has no keyboard,
so the scenes there walk what needs no key.
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi

VIEWER, SIM = sys.argv[1], sys.argv[2]
PLATFORM = os.environ.get("VIZO_A11Y_PLATFORM", "xcb")
WAITING_TEXT = "Waiting for the camera: plug it in and switch it on"

# Roles a user operates; each needs a name a screen reader can say.
NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_RADIO_MENU_ITEM,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_LINK,
}
# Roles that may carry a "Press" action.
PRESSABLE_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM, pyatspi.ROLE_RADIO_MENU_ITEM, pyatspi.ROLE_LINK,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM,
    pyatspi.ROLE_TABLE_ROW, pyatspi.ROLE_SPIN_BUTTON,
}

failures = []


def log(message):
    print(message, flush=True)


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        try:
            result = condition()
        except Exception:  # objects come and go while windows change
            result = None
        if result:
            return result
        time.sleep(0.2)
    raise TimeoutError("timed out waiting for " + what)


def viewer_app(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            pass
    return None


def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def describe(node):
    return "%s %r" % (node.getRoleName(), node.name)


def path_of(node):
    parts = []
    while node is not None and node.getRole() != pyatspi.ROLE_APPLICATION:
        parts.append(describe(node))
        node = node.parent
    return " < ".join(parts)


def check_tree(scene, root):
    """Names and roles of every showing object under root."""
    seen = 0
    for node in walk(root):
        if not showing(node):
            continue
        seen += 1
        role = node.getRole()
        if role in NAMED_ROLES and not node.name.strip():
            # An entry may be named by its label instead.
            labelled = [r for r in node.getRelationSet()
                        if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
            if not labelled:
                failures.append("%s: no name: %s" % (scene, path_of(node)))
        try:
            action = node.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
        except NotImplementedError:
            names = []
        if "Press" in names and role not in PRESSABLE_ROLES:
            failures.append("%s: pressable but role %s: %s" % (scene, node.getRoleName(), path_of(node)))
    return seen


def find(root, predicate):
    for node in walk(root):
        try:
            if showing(node) and predicate(node):
                return node
        except Exception:
            pass
    return None


def focused(root):
    """The deepest showing object with the focus (a list and its current
    item both say they have it; the screen reader reads the item)."""
    found = None
    for node in walk(root):
        try:
            if showing(node) and node.getState().contains(pyatspi.STATE_FOCUSED):
                found = node
        except Exception:
            pass
    return found


def check_current_row(scene, app):
    """The menu's current row is the focused object, and it has a name."""
    current = focused(app)
    if current is not None and current.getRole() == pyatspi.ROLE_LIST and current.childCount == 0:
        # A tree without rows (one this build does not fill yet) has no
        # current row to read.
        log("%s: the tree has no rows" % scene)
        return
    if current is None:
        failures.append("%s: nothing has the focus" % scene)
    elif current.getRole() not in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_CHECK_BOX,
                                   pyatspi.ROLE_SLIDER, pyatspi.ROLE_RADIO_BUTTON):
        failures.append("%s: the focus is on %s, not on the current row" % (scene, path_of(current)))
    elif not current.getState().contains(pyatspi.STATE_SELECTED) and current.getRole() == pyatspi.ROLE_LIST_ITEM:
        failures.append("%s: the focused row is not the selected one: %s" % (scene, path_of(current)))
    elif not current.name.strip():
        failures.append("%s: the current row has no name: %s" % (scene, path_of(current)))
    else:
        log("%s: focus on %s" % (scene, describe(current)))


class Viewer:
    """One viewer process with its own runtime folder."""

    def __init__(self, args):
        self.runtime = tempfile.TemporaryDirectory()
        env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime.name, QT_QPA_PLATFORM=PLATFORM,
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        self.process = subprocess.Popen([VIEWER] + args, env=env)
        self.app = wait_for(lambda: viewer_app(self.process.pid), 30, "the viewer on the bus")

    def window_with(self, predicate, what, seconds=30):
        return wait_for(lambda: find(self.app, predicate), seconds, what)

    def key(self, name):
        wid = subprocess.run(["xdotool", "search", "--pid", str(self.process.pid), "--name", "^Vizo Viewer$"],
                             capture_output=True, text=True).stdout.split()
        if wid:
            subprocess.run(["xdotool", "windowfocus", "--sync", wid[0]], check=False)
            # The hot keys are armed once the viewer knows it is active.
            time.sleep(0.7)
        subprocess.run(["xdotool", "key", name], check=True)

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(15)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.runtime.cleanup()


def scene_splash_waiting():
    viewer = Viewer(["--port", "/nonexistent/vizo-camera"])
    try:
        note = viewer.window_with(lambda n: n.name == WAITING_TEXT and n.getRole() == pyatspi.ROLE_LABEL,
                                  "the waiting line")
        splash = note.parent
        check_tree("splash", splash)
        quit_button = find(splash, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name == "Quit")
        if quit_button is None:
            failures.append("splash: no Quit button")
    finally:
        viewer.close()


def scene_main_window_and_menu():
    viewer = Viewer(["--simulate"])
    try:
        strip = viewer.window_with(lambda n: n.name.startswith("Connected"), "the status line saying Connected")
        frame = strip.parent
        check_tree("main window", frame)
        if PLATFORM != "xcb":
            return  # no keyboard to open the menu with
        # The menu, opened by its hot key; its current row must have the
        # focus, since that is what Orca reads.
        is_menu = lambda n: n.getRole() == pyatspi.ROLE_LIST
        for attempt in range(3):
            viewer.key("F10")
            try:
                viewer.window_with(is_menu, "the menu", seconds=5)
                break
            except TimeoutError:
                if attempt == 2:
                    raise
        # Each tree in turn: Tab switches to the next one.
        for tree in ("Options", "OCR", "Files"):
            time.sleep(0.8)
            check_tree("menu " + tree, frame)
            check_current_row("menu " + tree, viewer.app)
            viewer.key("Tab")
        for keys, name in PAGES:
            open_page(viewer, keys, name)
    finally:
        viewer.close()


# Setting pages and file browsers, opened from the menu: the keys pressed in
# a fresh menu (on the Options tree's first row) before the Return that opens
# the page, and a name for the report. The virtual camera starts in the near
# view with its markers off.
PAGES = [
    (["Return", "Down"], "colour page"),
    (["Down"], "contrast page"),
    # Switch the horizontal line marker on, then its position row.
    (["Down", "Down", "Return", "Return", "Down", "Down", "Down", "Down"], "line marker page"),
    (["Down"] * 5 + ["Return", "Down", "Return", "Down"], "auto-scroll range page"),
    (["Down"] * 7, "distance view direction page"),
    (["Down"] * 11, "Wi-Fi password page"),
    (["Tab", "Tab"], "image files browser"),
    (["Tab", "Tab", "Down"], "OCR files browser"),
]


def top_windows(app):
    return [(w.getRoleName(), w.name) for w in (app.getChildAtIndex(i) for i in range(app.childCount))
            if w is not None and showing(w)]


def open_page(viewer, keys, name):
    """Opens a page from a fresh menu, walks it and closes it with Esc."""
    is_menu = lambda n: n.getRole() == pyatspi.ROLE_LIST
    if find(viewer.app, is_menu) is not None:
        viewer.key("F10")
        time.sleep(0.8)
    viewer.key("F10")
    viewer.window_with(is_menu, "the menu", seconds=5)
    for key in keys:
        viewer.key(key)
        time.sleep(0.4)
    before = top_windows(viewer.app)
    viewer.key("Return")
    try:
        opened = wait_for(lambda: [w for w in top_windows(viewer.app) if w not in before], 8, name)
    except TimeoutError as error:
        failures.append("%s: %s" % (name, error))
        return
    page = find(viewer.app, lambda n: n.parent is not None and n.parent.getRole() == pyatspi.ROLE_APPLICATION
                and (n.getRoleName(), n.name) == opened[0])
    seen = check_tree(name, page)
    log("%s: %d objects, focus on %s" % (name, seen, describe(focused(page)) if focused(page) else "nothing"))
    subprocess.run(["xdotool", "key", "Escape"], check=True)
    try:
        wait_for(lambda: opened[0] not in top_windows(viewer.app), 8, name + " to close on Esc")
    except TimeoutError as error:
        failures.append("%s: %s" % (name, error))


def scene_unplug_box():
    sim = subprocess.Popen([SIM], stdout=subprocess.PIPE, text=True)
    line = sim.stdout.readline().split()
    port = line[1] if len(line) > 1 else ""
    viewer = Viewer(["--port", port])
    try:
        viewer.window_with(lambda n: n.name.startswith("Connected"), "the status line saying Connected")
        sim.terminate()
        sim.wait(10)
        message = viewer.window_with(lambda n: "has been disconnected" in n.name, "the unplug box")
        box = message.parent
        check_tree("message box", box)
        if find(box, lambda n: n.getRole() == pyatspi.ROLE_PUSH_BUTTON and n.name.strip()) is None:
            failures.append("message box: no named button")
    finally:
        viewer.close()
        if sim.poll() is None:
            sim.kill()


SCENES = [scene_splash_waiting, scene_main_window_and_menu, scene_unplug_box]


def main():
    # Start the registry before the first viewer, so that the viewer's
    # bridge finds it when it starts.
    wait_for(lambda: pyatspi.Registry.getDesktop(0) is not None, 30, "the accessibility registry")
    time.sleep(1)
    passed = failed = 0
    for scene in SCENES:
        before = len(failures)
        try:
            scene()
        except Exception as error:  # a scene that cannot run fails
            failures.append("%s: %s" % (scene.__name__, error))
        if len(failures) == before:
            passed += 1
            log("ok: " + scene.__name__)
        else:
            failed += 1
            for f in failures[before:]:
                log("FAIL " + f)
    log("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
