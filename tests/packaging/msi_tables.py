#!/usr/bin/python3
"""Reads the Windows installer's tables back with msiinfo (msitools), a reader of its own, and
checks what Wine cannot show: the layout the program needs, the shortcut, who may write where
(Wine runs everything as an administrator), the PATH entry, the upgrade rules and the code page
of the names.

usage: msi_tables.py MSIINFO MSI VERSION
"""

import re
import subprocess
import sys

msiinfo, msi, version = sys.argv[1:4]
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def export(name):
    """A table as msiinfo writes it: an .idt file; nothing for a table the database lacks."""
    done = subprocess.run([msiinfo, "export", msi, name], capture_output=True, text=True,
                          encoding="utf-8")
    check(done.returncode == 0, f"the database has a table {name}")
    return done.stdout if done.returncode == 0 else ""


def table(name):
    """The rows of a table as dictionaries by column name."""
    lines = export(name).split("\n")
    if len(lines) < 3:
        return []
    columns = lines[0].rstrip("\r").split("\t")
    return [dict(zip(columns, line.rstrip("\r").split("\t"))) for line in lines[3:] if line]


def row(rows, **match):
    found = [r for r in rows if all(r.get(k) == v for k, v in match.items())]
    check(len(found) == 1, f"one row with {match}, found {len(found)}")
    return found[0] if found else {}


# --- The layout: bin\ with the programs and the log, the table and tmp\ beside it -------------
directories = table("Directory")
row(directories, Directory="INSTALLDIR", Directory_Parent="ProgramFiles64Folder", DefaultDir="Cuentas")
row(directories, Directory="BINDIR", Directory_Parent="INSTALLDIR", DefaultDir="bin")
row(directories, Directory="TMPDIR", Directory_Parent="INSTALLDIR", DefaultDir="tmp")

files, components = table("File"), table("Component")
component_of = {c["Component"]: c for c in components}
for name, directory in [("cuentas.exe", "BINDIR"), ("cuentas-cli.exe", "BINDIR"),
                        ("ERROR.LOG", "BINDIR"), ("NomBancos.dbf", "INSTALLDIR")]:
    file = row(files, FileName=name)
    component = component_of.get(file.get("Component_"), {})
    check(component.get("Directory_") == directory, f"{name} is installed in {directory}")
    check(int(component.get("Attributes", "0")) & 256, f"{name}'s component is 64-bit")
check(row(files, FileName="ERROR.LOG").get("FileSize") == "0", "ERROR.LOG is installed empty")
# tmp\ is made even though nothing is installed in it; the permissions need INSTALLDIR's row too.
folders = table("CreateFolder")
for directory in ("INSTALLDIR", "TMPDIR"):
    check(any(f["Directory_"] == directory for f in folders), f"{directory} has a CreateFolder row")

properties = {p["Property"]: p["Value"] for p in table("Property")}
check(properties.get("ALLUSERS") == "1", "installed per machine (ALLUSERS=1)")
check(properties.get("ProductVersion") == version, f"ProductVersion is {version}")
summary = subprocess.run([msiinfo, "suminfo", msi], check=True, capture_output=True,
                         text=True, encoding="utf-8").stdout
check(re.search(r"^Template: x64;", summary, re.M), "the package is for x64")

# --- The shortcut: its name in Windows-1252, its target, and the table's folder to work in ---
shortcut = row(table("Shortcut"), Shortcut="DialogShortcut")
check(shortcut.get("Name") == "Cálculo dígitos control bancario", "the shortcut's name")
check(shortcut.get("Directory_") == "ProgramMenuFolder", "the shortcut is in the Start menu")
check(shortcut.get("Target") == "[#cuentas.exe]", "the shortcut starts cuentas.exe")
check(shortcut.get("WkDir") == "INSTALLDIR", "the shortcut works in the folder of NomBancos.dbf")
check("1252\t_ForceCodepage" in export("_ForceCodepage"), "the database's code page is 1252")
with open(msi, "rb") as package:
    check("Cálculo dígitos control bancario".encode("cp1252") in package.read(),
          "the shortcut's name is stored in Windows-1252")

# --- Who may write where: SDDL with well-known SIDs only ------------------------------------
FULL, WRITE_DATA, APPEND_DATA, DELETE = 0x1F01FF, 0x2, 0x4, 0x10000
ALIASES = {"FA": FULL}


def aces(sddl):
    """The DACL's flags and its entries as (type, inheritance, rights, SID)."""
    match = re.fullmatch(r"D:([A-Z]*)((?:\([^)]*\))+)", sddl)
    check(match or not sddl, f"{sddl} is a DACL")
    if not match:
        return "", []
    entries = []
    for entry in re.findall(r"\(([^)]*)\)", match.group(2)):
        kind, flags, rights, _, _, sid = entry.split(";")
        entries.append((kind, flags, ALIASES.get(rights) or int(rights, 16), sid))
    return match.group(1), entries


def users_rights(entries):
    return [rights for kind, _, rights, sid in entries if kind == "A" and sid == "BU"]


locks = table("MsiLockPermissionsEx")
for lock in locks:
    flags, entries = aces(lock["SDDL"])
    check(all(sid in ("BU", "BA", "SY") for _, _, _, sid in entries),
          f"{lock['LockObject']}: only well-known SIDs, no group names of one language")
    for sid in ("BA", "SY"):
        check((("A", "OICI" if lock["Table"] == "CreateFolder" else "", FULL, sid)) in entries,
              f"{lock['LockObject']}: {sid} keeps full control")
    check(all(kind == "A" for kind, _, _, _ in entries), f"{lock['LockObject']}: no denials")

installdir = row(locks, LockObject="INSTALLDIR", Table="CreateFolder")
flags, entries = aces(installdir.get("SDDL", ""))
check("P" in flags, "the installation folder does not take its parent's permissions")
check(users_rights(entries) and all(r & (WRITE_DATA | APPEND_DATA | DELETE) == 0
                                    for r in users_rights(entries)),
      "Users may read and run in the installation folder and bin\\, not add or change files")

tmpdir = row(locks, LockObject="TMPDIR", Table="CreateFolder")
flags, entries = aces(tmpdir.get("SDDL", ""))
check(any(flags == "OICI" and r & (WRITE_DATA | APPEND_DATA | DELETE) == WRITE_DATA | APPEND_DATA | DELETE
          for _, flags, r, sid in entries if sid == "BU"),
      "Users may create, replace and delete files in tmp\\, and that passes to the files")

log = row(locks, LockObject="ERROR.LOG", Table="File")
flags, entries = aces(log.get("SDDL", ""))
check(users_rights(entries) and all(r & (WRITE_DATA | APPEND_DATA) == WRITE_DATA | APPEND_DATA
                                    and r & DELETE == 0 for r in users_rights(entries)),
      "Users may append to ERROR.LOG and change it, not delete it")
check({lock["LockObject"] for lock in locks} == {"INSTALLDIR", "TMPDIR", "ERROR.LOG"},
      "permissions are set on the installation folder, tmp\\ and ERROR.LOG, nothing else")

# --- cuentas-cli.exe on the system PATH, appended, taken away again on removal ---------------
environment = row(table("Environment"), Value="[~];[INSTALLDIR]bin")
name = environment.get("Name", "")
check(name.lstrip("*=-+!") == "PATH" and set(name[:-4]) == set("*=-"),
      "PATH of the system (*), set at install (=), removed at uninstall (-)")
cli = row(files, FileName="cuentas-cli.exe")
check(environment.get("Component_") == cli.get("Component_"),
      "the PATH entry comes and goes with cuentas-cli.exe")
sequence = {s["Action"]: int(s["Sequence"]) for s in table("InstallExecuteSequence")}
check("WriteEnvironmentStrings" in sequence and "RemoveEnvironmentStrings" in sequence,
      "the environment actions are in the sequence")

# --- Upgrades: the same or an older version is replaced, a newer one is kept ------------------
upgrades = table("Upgrade")
replace = row(upgrades, ActionProperty="WIX_UPGRADE_DETECTED")
attributes = int(replace.get("Attributes", "0"))
check(replace.get("VersionMax") == version and attributes & 512 and not attributes & 2,
      "an installed version up to this one, this one included, is removed")
check(replace.get("UpgradeCode", "").upper() == properties.get("UpgradeCode", "").upper(),
      "the Upgrade table looks for this product's upgrade code")
newer = row(upgrades, ActionProperty="WIX_DOWNGRADE_DETECTED")
check(newer.get("VersionMin") == version and int(newer.get("Attributes", "0")) & 2
      and not int(newer.get("Attributes", "0")) & 256, "a newer version is only detected")
row(table("LaunchCondition"), Condition="NOT WIX_DOWNGRADE_DETECTED")
check(sequence.get("FindRelatedProducts", 9999) < sequence.get("RemoveExistingProducts", 0)
      < sequence.get("InstallInitialize", 0), "the old version is removed before the new one")
check(all(p in properties.get("SecureCustomProperties", "").split(";")
          for p in ("WIX_UPGRADE_DETECTED", "WIX_DOWNGRADE_DETECTED")),
      "the upgrade properties pass to the installation's server side")

for failure in failures:
    print("FAIL:", failure)
print(f"{msi}: {'all tables as expected' if not failures else f'{len(failures)} failures'}")
sys.exit(1 if failures else 0)
