#!/usr/bin/env python3
"""The real window, read over the AT-SPI bus as a screen reader reads it.

Starts cuentas in a layout of its own, finds it among the bus's applications and checks the
role and name of every control; then types as a clerk does (xdotool) and hears what a screen
reader hears: the focus moving from edit to edit by name, the bank-name display announcing
the bank's name, the digits display its digits, and the failed-save message as an alert
with its title, text and button. At last it saves and checks the transfer file byte for byte.
Run it under tests/support/accessibility_bus.sh:
    screen_reader_test.py CUENTAS_EXECUTABLE BANK_TABLE
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as missing:
    print(f"screen reader test: {missing} (Debian: python3-pyatspi); skipped")
    sys.exit(77)

CAPTION = "Cálculo dígitos control bancario"
CONTROLS = [
    ("text", "Nº Banco"),
    ("text", "Nº Sucursal"),
    ("text", "Nº de cuenta"),
    ("push button", "Grabar"),
    ("push button", "Cancelar"),
    ("label", "Nº Banco :"),
    ("label", "Nº Sucursal :"),
    ("label", "Dígitos Control :"),
    ("label", "Nº de cuenta :"),
    ("label", "Nombre del banco"),
    ("label", "Dígitos Control"),
    ("push button", "Calcular"),
]
TIMEOUT = 15.0
failures = []


def check(what, got, expected):
    if got == expected:
        print(f"ok: {what}")
    else:
        failures.append(what)
        print(f"FAIL: {what}: got {got!r}, expected {expected!r}")


def wait_for(what, found):
    """Runs the event loop until found() gives something, and returns it (None on time-out)."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        while context.iteration(False):
            pass
        result = found()
        if result:
            print(f"ok: {what}")
            return result
        time.sleep(0.02)
    failures.append(what)
    print(f"FAIL: {what}: nothing within {TIMEOUT:.0f} s")
    return None


def descendants(accessible):
    for child in accessible:
        if child is not None:
            yield child
            yield from descendants(child)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "cuentas" and app.childCount > 0:
            return app
    return None


def shown_text(accessible):
    return accessible.queryText().getText(0, -1)


heard = []  # (event type, role, name, text) of every event, in order


def listen(event):
    text = event.any_data if isinstance(event.any_data, str) else None
    try:
        heard.append((event.type, event.source.getRoleName(), event.source.name, text))
    except GLib.Error:
        pass  # the object went (a closed message box) before the event was read


def announced(kind, role, name, text=None):
    return lambda: any(
        e[0] == kind and e[1] == role and e[2] == name and (text is None or e[3] == text)
        for e in heard
    )


def keys(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def main(executable, table):
    layout = tempfile.mkdtemp(prefix="cuentas-screen-reader-")
    os.makedirs(os.path.join(layout, "bin"))
    os.makedirs(os.path.join(layout, "tmp"))
    shutil.copy(executable, os.path.join(layout, "bin", "cuentas"))
    shutil.copy(table, os.path.join(layout, "NomBancos.dbf"))
    program = subprocess.Popen([os.path.join(layout, "bin", "cuentas")], cwd=layout)
    try:
        run(layout, program)
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
        shutil.rmtree(layout, ignore_errors=True)
    print(f"{len(failures)} failed" if failures else "all checks passed")
    return 1 if failures else 0


def run(layout, program):
    app = wait_for("cuentas appears on the accessibility bus", application)
    if not app:
        return
    dialog = wait_for("its dialog", lambda: next(
        (c for c in app if c is not None and c.getRoleName() == "dialog"), None))
    if not dialog:
        return
    check("the dialog's name", dialog.name, CAPTION)
    controls = [(c.getRoleName(), c.name) for c in dialog]
    check("every control's role and name, in template order", controls, CONTROLS)
    by_name = {c.name: c for c in dialog}
    focused = [c.name for c in dialog if c.getState().contains(pyatspi.STATE_FOCUSED)]
    check("the focus starts in the bank edit", focused, ["Nº Banco"])

    for kind in ("object:text-changed", "object:state-changed:focused"):
        pyatspi.Registry.registerEventListener(listen, kind)
    window = subprocess.run(
        ["xdotool", "search", "--sync", "--onlyvisible", "--name", "lculo d"],
        check=True, capture_output=True, text=True).stdout.split()[0]
    keys("windowfocus", "--sync", window)

    keys("type", "--delay", "20", "2100")
    keys("key", "Tab")
    wait_for("leaving the bank field announces the bank's name",
             announced("object:text-changed:insert", "label", "Nombre del banco",
                       "CaixaBank, S.A."))
    name_display = by_name["Nombre del banco"]
    check("the bank-name display keeps its name", name_display.name, "Nombre del banco")
    check("and its text is the bank's name", shown_text(name_display), "CaixaBank, S.A.")
    wait_for("the branch edit is announced as focused",
             announced("object:state-changed:focused", "text", "Nº Sucursal"))

    keys("type", "--delay", "20", "418")
    keys("key", "Tab")
    keys("type", "--delay", "20", "200051332")
    keys("key", "Tab")
    wait_for("the digits display announces the control digits",
             announced("object:text-changed:insert", "label", "Dígitos Control", "45"))
    check("the digits display's text", shown_text(by_name["Dígitos Control"]), "45")
    wait_for("the focus reaches Grabar",
             announced("object:state-changed:focused", "push button", "Grabar"))

    # Without the transfer folder the save fails, and the message is read out.
    os.rmdir(os.path.join(layout, "tmp"))
    keys("key", "Return")
    alert = wait_for("the failed-save message appears as an alert", lambda: next(
        (c for c in app if c is not None and c.getRoleName() == "alert"), None))
    if alert:
        check("the alert's title", alert.name, CAPTION)
        texts = [c.name for c in descendants(alert) if c.getRoleName() == "label"]
        check("the alert's text says what failed",
              [t.split("\n")[0] for t in texts], ["No se ha podido grabar el fichero"])
        buttons = [c.name for c in descendants(alert) if c.getRoleName() == "push button"]
        check("the alert's button", buttons, ["OK"])
        keys("key", "Return")
        wait_for("the alert closes", lambda: not any(
            c is not None and c.getRoleName() == "alert" for c in app))

    os.mkdir(os.path.join(layout, "tmp"))
    wait_for("the focus is back on Grabar", lambda: by_name["Grabar"].getState().contains(
        pyatspi.STATE_FOCUSED))
    keys("key", "Return")
    try:
        check("the program ends after the save", program.wait(TIMEOUT), 0)
    except subprocess.TimeoutExpired:
        check("the program ends after the save", "still running", 0)
    with open(os.path.join(layout, "tmp", "xtras.ini"), "rb") as saved:
        check("the transfer file", saved.read(),
              b"BANCO=CaixaBank, S.A.\r\n20DIGITOS=21000418450200051332")


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
