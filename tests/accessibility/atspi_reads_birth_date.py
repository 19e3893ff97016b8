#!/usr/bin/env python3
"""The running program read and driven by a real assistive-technology client.

Starts an X server (Xvfb) and the AT-SPI bus inside the D-Bus session this script runs
in (start it with dbus-run-session), makes a demo registry, starts quorin on it, and
then, only through AT-SPI as a screen reader would: chooses "Use a server" in the first
start and types that registry's folder, fills in the login dialog by the names of its
fields, presses OK, types a subject id into "SubjectId", presses the button named "Load
subject by id", and reads the field named "Birth Date". The value
must be the subject's birth date as the registry holds it. Last, it presses the page tab
"CI Data" and waits for the announcement that this tab is now selected.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ADMIN = "admin"
ADMIN_PASSWORD = "QuorinDemo-Admin1"


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    display = b""
    with os.fdopen(read_fd, "rb") as pipe:
        while not display.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                break
            display += chunk
    if not display.strip():
        xvfb.kill()
        fail("Xvfb did not start")
    return xvfb, ":" + display.decode().strip()


def start_atspi_bus():
    """The accessibility bus of this session; D-Bus activation would start it too, but
    starting it here makes a missing launcher a clear failure."""
    for candidate in ("at-spi-bus-launcher", "/usr/libexec/at-spi-bus-launcher",
                      "/usr/lib/at-spi2-core/at-spi-bus-launcher"):
        path = shutil.which(candidate) or (candidate if os.access(candidate, os.X_OK) else None)
        if path:
            return subprocess.Popen([path, "--launch-immediately"],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return None


def birth_date_of_a_subject(sql_tool, registry):
    """A demo subject with a birth date, and that date as the registry gives it."""
    query = ("SELECT TOP 1 SubjectId, CONVERT(char(10), Birthdate, 101) AS b FROM subjects "
             "WHERE Birthdate > '1901-01-01' ORDER BY SubjectId")
    out = subprocess.run([sql_tool, "-S", registry, "-U", ADMIN, "-P", ADMIN_PASSWORD, "-Q", query],
                         capture_output=True, text=True, timeout=60)
    if out.returncode != 0:
        fail("quorin-sql: " + out.stdout + out.stderr)
    for line in out.stdout.splitlines():
        match = re.match(r"\s*(\d+)\s+(\d\d/\d\d/\d{4})\s*$", line)
        if match:
            return int(match.group(1)), match.group(2)
    fail("no subject with a birth date in the demo registry:\n" + out.stdout)


def wait_for(what, probe, timeout=60.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            found = probe()
        except Exception:  # the tree changes under us while windows open and close
            found = None
        if found:
            return found
        time.sleep(0.25)
    fail("timed out waiting for " + what)


TEXT_ROLES = ("text", "entry", "password text")


def find(root, roles, name):
    import pyatspi
    if isinstance(roles, str):
        roles = (roles,)
    return pyatspi.findDescendant(
        root, lambda node: node is not None and node.getRoleName() in roles and node.name == name)


def application(pid):
    import pyatspi
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def set_text(node, text):
    node.queryEditableText().setTextContents(text)


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for i, name in enumerate(names):
        if name.lower() in ("press", "click", "activate", "toggle"):
            action.doAction(i)
            return
    fail("no press action on %s: %s" % (node.name, names))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quorin", required=True)
    parser.add_argument("--registry-tool", required=True)
    parser.add_argument("--sql-tool", required=True)
    args = parser.parse_args()

    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        fail("run me inside a D-Bus session (dbus-run-session)")

    work = tempfile.mkdtemp(prefix="quorin-atspi-")
    registry = os.path.join(work, "registry")
    children = []
    try:
        made = subprocess.run([args.registry_tool, "create", "--demo", "--size", "50", registry],
                              capture_output=True, text=True, timeout=300)
        if made.returncode != 0:
            fail("quorin-registry: " + made.stderr)
        subject_id, birth = birth_date_of_a_subject(args.sql_tool, registry)

        xvfb, display = start_xvfb()
        children.append(xvfb)
        bus = start_atspi_bus()
        if bus:
            children.append(bus)

        env = dict(os.environ)
        env.update({
            "DISPLAY": display,
            "QT_QPA_PLATFORM": "xcb",
            # Publish the tree although no desktop announced a screen reader.
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "HOME": work,
            "XDG_CONFIG_HOME": os.path.join(work, "config"),
            "XDG_DATA_HOME": os.path.join(work, "data"),
            "ASAN_OPTIONS": "detect_leaks=0",
        })
        env.pop("QUORIN_REGISTRY", None)
        program = subprocess.Popen([args.quorin], env=env, stdout=subprocess.DEVNULL,
                                   stderr=open(os.path.join(work, "quorin.log"), "w"))
        children.append(program)

        import pyatspi  # only now: it connects to the bus at import

        app = wait_for("quorin on the accessibility bus", lambda: application(program.pid))

        # No registry at the default place: the first start's choice, by its names, takes
        # the registry made above as the server.
        use_server = wait_for("the first start's Use a server",
                              lambda: find(app, ("radio button",), "Use a server"))
        press(use_server)
        set_text(find(app, TEXT_ROLES, "Server"), registry)
        press(find(app, "push button", "Continue"))

        # The login dialog, field by field, by the names its labels give; the server
        # comes filled in.
        user = wait_for("the Username field", lambda: find(app, TEXT_ROLES, "Username"))
        server = find(app, TEXT_ROLES, "Server")
        filled = server.queryText().getText(0, -1) if server else None
        if filled != registry:
            fail("the login's Server field holds %r, not the registry chosen" % filled)
        set_text(user, ADMIN)
        set_text(find(app, TEXT_ROLES, "Password"), ADMIN_PASSWORD)
        press(find(app, "push button", "OK"))

        # The Subject tab: load the subject by its id, then read Birth Date.
        subject_id_field = wait_for("the SubjectId field", lambda: find(app, TEXT_ROLES, "SubjectId"))
        tabs = find(app, "page tab", "Subject")
        if tabs is None or not tabs.getState().contains(pyatspi.STATE_SELECTED):
            fail("the Subject tab is not published as the selected page tab")
        set_text(subject_id_field, str(subject_id))
        press(find(app, "push button", "Load subject by id"))

        birth_field = find(app, TEXT_ROLES, "Birth Date")
        if birth_field is None:
            fail("no text field named Birth Date")

        def loaded():
            text = birth_field.queryText()
            value = text.getText(0, text.characterCount)
            return value if value == birth else None

        wait_for("Birth Date to show %s" % birth, loaded, timeout=30)
        print("Birth Date of subject %d read over AT-SPI: %s" % (subject_id, birth))

        # Switching pages by the band's tab is announced: the reader hears the new tab.
        announced = []

        def on_selected(event):
            if event.detail1 == 1 and event.source is not None and event.source.name == "CI Data":
                announced.append(event.source)

        pyatspi.Registry.registerEventListener(on_selected, "object:state-changed:selected")
        press(find(app, "page tab", "CI Data"))
        from gi.repository import GLib
        context = GLib.MainContext.default()
        deadline = time.monotonic() + 20
        while not announced and time.monotonic() < deadline:
            while context.pending():
                context.iteration(False)
            time.sleep(0.05)
        if not announced:
            fail("switching to CI Data was not announced")
        if not announced[0].getState().contains(pyatspi.STATE_SELECTED):
            fail("the announced CI Data tab is not selected")
        if find(app, "page tab", "Subject").getState().contains(pyatspi.STATE_SELECTED):
            fail("the Subject tab is still selected")
        print("Switch to the CI Data tab announced over AT-SPI")
    finally:
        for child in reversed(children):
            if child.poll() is None:
                child.send_signal(signal.SIGTERM)
                try:
                    child.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    child.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
