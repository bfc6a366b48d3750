#!/usr/bin/env python3
"""Writes the example set that ships beside Ostrel.exe: Examples.fil, six definitions in
the group "Examples" as 844-byte records, and Examples.skl, the list file of its macro
menu. A new user imports them ("Import...") to have something to learn from.
  make_examples.py <output-folder>
The same script gives the same bytes. It refuses (exit 1) a table that Ostrel could not
load as it stands: a string longer than its field, a key or modifier outside the
program's tables, two definitions with one key text or one combination."""
import os
import struct
import sys

GROUP = "Examples"
LIST_FILE = "Examples.skl"

# The combinations are Shift+Ctrl+Alt with a function key, which Windows, browsers and
# office programs leave alone; F4 (closes a window with Alt), F9 (Excel's full
# recalculation) and F12 (some graphics drivers' panels with Ctrl+Alt) are not used.
# (name, function type, hotkey, target, parameters, working folder)
DEFINITIONS = [
    # Variables are taken from the environment as a definition runs: the examples work
    # wherever Windows and the user's folder are.
    ("Windows folder", 2, "Shift+Ctrl+Alt+F5", "%SystemRoot%", "", ""),
    ("Notepad with win.ini", 4, "Shift+Ctrl+Alt+F6", "notepad.exe", r"%SystemRoot%\win.ini",
     "%USERPROFILE%"),
    ("Wikipedia", 12, "Shift+Ctrl+Alt+F7", "https://www.wikipedia.org/", "", ""),
    ("Signature", 16, "Shift+Ctrl+Alt+F8", "Kind regards,{ENTER}{ENTER}Your Name", "", ""),
    ("Phrases", 17, "Shift+Ctrl+Alt+F10", LIST_FILE, "", ""),
    ("OstrelMenu", 7, "Shift+Ctrl+Alt+F11", "", "", ""),
]

# The macro menu's lines: name=keystrokes, in the macro language of the help page.
LIST_LINES = [
    "Address=1 Example Street{ENTER}Exampletown EX1 2MP",
    "Phone=+1 555 0100",
    "E-mail=you@example.com",
    "Today's greeting=Good morning,{ENTER}{ENTER}",
    "Select the line={HOME}{SHIFT}{END}{SHIFT}",
    "Arrow={U+2192}",
]

# The modifier indexes stored in a record (components/SysHotKey.cpp, kKeyModTable).
MODIFIERS = ["None", "Shift", "Shift+Alt", "Shift+Ctrl", "Shift+Ctrl+Alt", "Ctrl", "Ctrl+Alt",
             "Alt", "Win", "Win+Shift", "Win+Ctrl", "Win+Alt", "Win+Shift+Ctrl",
             "Win+Shift+Alt", "Win+Ctrl+Alt", "Win+Shift+Ctrl+Alt"]


def key_index(name):
    """The key table's index of a letter or F1..F24 (components/SysHotKey.cpp, kKeyTable)."""
    if len(name) == 1 and "A" <= name <= "Z":
        return 34 + ord(name) - ord("A")
    if name[0] == "F" and name[1:].isdigit() and 1 <= int(name[1:]) <= 24:
        return 75 + int(name[1:])
    raise ValueError("no key %r in this script's part of the key table" % name)


def hotkey(text):
    mods, _, key = text.rpartition("+")
    return key_index(key), MODIFIERS.index(mods)


def short(text, capacity):
    data = text.encode("cp1252")
    if len(data) > capacity:
        raise ValueError("%r is longer than its field of %d" % (text, capacity))
    return bytes([len(data)]) + data.ljust(capacity, b"\0")


def record(name, funtype, keys, target, parms, folder):
    key, keymod = hotkey(keys)
    rec = (short(name, 40) + b"\0" * 3 + struct.pack("<ii", key, keymod) + short(GROUP, 10) +
           b"\0" + struct.pack("<i", funtype) + short(target, 255) + short(parms, 255) +
           short(folder, 255) + struct.pack("<ii", 1, 1))  # on the menu; Reserved is 1
    assert len(rec) == 844
    return rec


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_examples.py <output-folder>")
    names = [d[0].lower() for d in DEFINITIONS]
    combos = [d[2] for d in DEFINITIONS]
    if len(set(names)) != len(names) or len(set(combos)) != len(combos):
        sys.exit("make_examples.py: two definitions share a name or a combination")
    # Keys.fil is kept in key-text order (group, then name, case ignored), as Ostrel saves it.
    ordered = sorted(DEFINITIONS, key=lambda d: d[0].lower())
    try:
        records = b"".join(record(*d) for d in ordered)
        lines = b"".join(line.encode("cp1252") + b"\r\n" for line in LIST_LINES)
    except ValueError as e:
        sys.exit("make_examples.py: %s" % e)
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, data in (("Examples.fil", records), (LIST_FILE, lines)):
        with open(os.path.join(sys.argv[1], name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
