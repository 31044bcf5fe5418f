#!/usr/bin/python3
"""Writes what the handheld build may import, from platform/allowed-imports.txt:
a module-definition file for each of the handheld's libraries (coredll.def,
commctrl.def, aygshell.def), from which dlltool makes its import library,
and the same list as "DLL function" lines for the imports gate.

    import_defs.py ALLOWED_IMPORTS OUTPUT_FOLDER

Imports are by name: the ordinals of coredll's exports, which the SDK's own
import libraries use, are not in the platform's public documentation, and the
handheld's loader resolves names as well.
"""
import os
import sys

# Where the desktop's libraries' functions are on the handheld.
HANDHELD_LIBRARY = {"KERNEL32.DLL": "COREDLL.DLL", "USER32.DLL": "COREDLL.DLL",
                    "GDI32.DLL": "COREDLL.DLL", "ADVAPI32.DLL": "COREDLL.DLL",
                    "COMCTL32.DLL": "COMMCTRL.DLL"}
LIBRARIES = ("COREDLL.DLL", "COMMCTRL.DLL", "AYGSHELL.DLL")


def handheld_imports(lines):
    """(library, function) pairs that the handheld build may import."""
    scope = "both"
    for line in lines:
        if line.startswith("## "):
            marker = line.split()[1]
            scope = marker if marker in ("[desktop]", "[handheld]") else scope
            continue
        if line.startswith("#") or not line.strip():
            continue
        library, function = line.split()[:2]
        library = library.upper()
        if scope == "[desktop]":
            continue
        if scope == "both":
            library = HANDHELD_LIBRARY[library]
        if library not in LIBRARIES:
            raise SystemExit("%s is not one of the handheld's libraries" % library)
        yield library, function


def main(arguments):
    source, folder = arguments
    with open(source, encoding="utf-8") as handle:
        imports = sorted(set(handheld_imports(handle.read().splitlines())))
    os.makedirs(folder, exist_ok=True)
    for library in LIBRARIES:
        name = library.split(".")[0].lower()
        with open(os.path.join(folder, name + ".def"), "w", encoding="utf-8") as handle:
            handle.write("LIBRARY %s\nEXPORTS\n" % library.lower())
            handle.writelines("    %s\n" % function for lib, function in imports if lib == library)
    with open(os.path.join(folder, "allowed-imports.txt"), "w", encoding="utf-8") as handle:
        handle.writelines("%s %s\n" % pair for pair in imports)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
