#!/usr/bin/python3
# What a screen reader finds in the running program: the real tk700 under Xvfb against the virtual
# TK700, read through AT-SPI (the accessibility bus of a private session bus). Every control of
# the main page must be a node with a role, a name in the shown language and, for a slider, its
# value; after a language change the names follow. Prints the tree's controls as a table.
# Usage (from ctest): dbus-run-session -- /usr/bin/python3 a11y_tree.py BIN_DIR HIDAPI_SIM
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import configparser

import pyatspi

BIN, HIDAPI = sys.argv[1], sys.argv[2]
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON: "button", pyatspi.ROLE_PAGE_TAB: "tab",
    pyatspi.ROLE_SLIDER: "slider", pyatspi.ROLE_COMBO_BOX: "combo box",
    pyatspi.ROLE_CHECK_BOX: "check box", pyatspi.ROLE_RADIO_BUTTON: "radio button",
    pyatspi.ROLE_LINK: "link", pyatspi.ROLE_TEXT: "text field", pyatspi.ROLE_LIST: "list",
    pyatspi.ROLE_TOGGLE_BUTTON: "toggle button", pyatspi.ROLE_DIALOG: "dialog",
}
# Qt's button with a menu is AT-SPI's push button or menu button, by version.
CONTROL_ROLES[getattr(pyatspi, "ROLE_PUSH_BUTTON_MENU", pyatspi.ROLE_PUSH_BUTTON)] = "menu button"
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def ask(probe, request):
    for _ in range(50):
        try:
            s = socket.socket(socket.AF_UNIX)
            s.connect(probe)
            s.sendall((request + "\n").encode())
            data = b""
            while not data.endswith(b"\n"):
                chunk = s.recv(65536)
                if not chunk:
                    break
                data += chunk
            return json.loads(data or b"{}")
        except OSError:
            time.sleep(0.2)
    return {}


def controls(app):
    found = []

    def walk(node, depth):
        if depth > 60:
            return
        try:
            role = node.getRole()
            states = node.getState()
        except Exception:
            return
        if role in CONTROL_ROLES and states.contains(pyatspi.STATE_SHOWING):
            value = ""
            try:
                v = node.queryValue()
                value = "%g" % v.currentValue
            except NotImplementedError:
                pass
            found.append((CONTROL_ROLES[role], node.name, value,
                          states.contains(pyatspi.STATE_FOCUSED)))
        for i in range(node.childCount):
            walk(node.getChildAtIndex(i), depth + 1)

    walk(app, 0)
    return found


def application():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "tk700":
                return app
        time.sleep(0.2)
    return None


def table(rows, title):
    print("\n" + title)
    print("%-14s %-34s %s" % ("role", "name", "value"))
    for role, name, value, _ in rows:
        print("%-14s %-34s %s" % (role, name, value))


def main():
    # The accessibility bus starts with the first client; the program finds it at start-up.
    pyatspi.Registry.getDesktop(0)
    work = tempfile.mkdtemp()
    try:
        shutil.copy(os.path.join(BIN, "tk700"), work)
        shutil.copytree(os.path.join(BIN, "modules"), os.path.join(work, "modules"))
        runtime = os.path.join(work, "run")
        os.mkdir(runtime, 0o700)
        sim_socket = os.path.join(work, "sim.sock")
        sim = subprocess.Popen([os.path.join(BIN, "tk700-sim"), "serve", "--socket", sim_socket],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        probe = os.path.join(runtime, "probe")
        env = dict(os.environ, LD_PRELOAD=HIDAPI, TK700_SIM_SOCKET=sim_socket,
                   TK700_POLL_DEVICES="1", XDG_RUNTIME_DIR=runtime, TK700_ITEM_PROBE=probe,
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LANGUAGE="", LC_ALL="C.UTF-8")
        env.pop("QT_QPA_PLATFORM", None)
        program = subprocess.Popen([os.path.join(work, "tk700")], cwd=work, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            for _ in range(150):
                if ask(probe, "item mainIten isStarted").get("props", {}).get("isStarted"):
                    break
                time.sleep(0.2)
            else:
                check(False, "the program did not start")
                return
            app = application()
            check(app is not None, "the program is not on the accessibility bus")
            if app is None:
                return
            run_checks(app, probe, os.path.join(work, "modules", "i18n"))
        finally:
            program.terminate()
            program.wait(10)
            sim.terminate()
            sim.wait(10)
    finally:
        shutil.rmtree(work, ignore_errors=True)


def language_text(folder, language, key):
    parser = configparser.RawConfigParser(strict=False)
    parser.read(os.path.join(folder, language + ".ini"), encoding="utf-8")
    group, index = key.split("/")
    return parser.get(group, index).strip('"')


def run_checks(app, probe, i18n):
    ask(probe, "call mainIten chooseLanguage \"English\"")
    time.sleep(1)
    rows = controls(app)
    table(rows, "main page, English")
    kinds = [r[0] for r in rows]
    names = [r[1] for r in rows]
    for role, name, value, _ in rows:
        check(name.strip() != "", "a %s without a name" % role)
    check(kinds.count("tab") == 3, "three page tabs, found %d" % kinds.count("tab"))
    check(sum(1 for n in names if n[:1] in "①②③④⑤⑥⑦") == 7, "seven row menus")
    sliders = [r for r in rows if r[0] == "slider"]
    check(len(sliders) == 6, "six DPI stage sliders, found %d" % len(sliders))
    for _, name, value, _ in sliders:
        check(value != "" and float(value) >= 100, "slider %s tells its DPI (%s)" % (name, value))
    for word in ("Apply", "OK", "Reset", "Profile", "Mouse & Macros", "Settings", "Minimize",
                 "Close"):
        check(word in names, "a control named %s" % word)

    ask(probe, "call mainIten chooseLanguage \"German\"")
    time.sleep(1.5)
    german = controls(app)
    table(german, "main page, German")
    names = [r[1] for r in german]
    for key in ("keyMatrix/12", "keyMatrix/10", "keyMatrix/7", "keyMatrix/17"):
        text = language_text(i18n, "German", key)
        check(text in names, "the German name %s (%s)" % (text, key))
    check("Apply" not in names, "no English name left after the language change")

    # A box is announced: it is a dialog node with its title, and its button has the focus.
    ask(probe, "call warningAssigmentMain showWarning 8")
    time.sleep(1)
    shown = controls(app)
    dialogs = [r for r in shown if r[0] == "dialog"]
    table(dialogs + [r for r in shown if r[3]], "a warning box open (dialog, focused control)")
    check(len(dialogs) == 1 and dialogs[0][1] == "TK700", "the warning box is a dialog node")
    focused = [r for r in shown if r[3]]
    check(len(focused) == 1 and focused[0][1] == language_text(i18n, "German", "keyMatrix/10"),
          "the box's OK has the focus")


if __name__ == "__main__":
    main()
    if failures:
        print("\n%d failure(s)" % len(failures))
        sys.exit(1)
    print("\nall checks passed")
