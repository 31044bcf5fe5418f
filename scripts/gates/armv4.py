#!/usr/bin/python3
"""Fails unless each handheld image is what a Pocket PC with a StrongARM runs:
machine ARM (0x1c0) for the CE subsystem 3.0 without the desktop's DLL
characteristics, and code of ARMv4 instructions in ARM mode (no bx or blx,
the only ways into Thumb, and nothing of ARMv5 or later):

    scripts/gates/armv4.py OBJDUMP FILE...

The code sections hold data too, which a disassembler reads as instructions:
the words that pc-relative loads fetch (literal pools, the import thunks'
addresses), the jump tables after `ldr pc, [rN, rM, lsl #2]` and the linker's
empty constructor and destructor lists at the section's end are left out.
"""
import re
import subprocess
import sys

# ARMv5 and later: interworking branches, count leading zeros, doubleword
# transfers, saturating arithmetic, halfword multiplies, preload, breakpoint,
# wide moves, exclusive access, byte reversal and extension.
NEWER = re.compile(r"^(bx|blx|clz|ldrd|strd|qd?add|qd?sub|smla[bt]|smlal[bt]|smul[bt]|smulw|"
                   r"pld|bkpt|movw|movt|ldrex|strex|rev|sxt|uxt)")
LINE = re.compile(r"^\s*([0-9a-f]+):\t([0-9a-f]{8}) \t(.*)$")


def run(objdump, option, path):
    return subprocess.run(objdump.split() + [option, path], check=True, capture_output=True,
                          text=True).stdout


def header(headers, name):
    match = re.search(r"^%s\s+(\S+)" % name, headers, re.M)
    return match.group(1) if match else "?"


def code_words(disassembly):
    """(address, value, mnemonic) of every word that is code."""
    words = [(int(a, 16), int(v, 16), text) for a, v, text in
             (m.groups() for m in map(LINE.match, disassembly.splitlines()) if m)]
    # The linker ends the section with its (empty) lists of static
    # constructors and destructors: -1, then 0 for each.
    while len(words) >= 2 and (words[-2][1], words[-1][1]) == (0xFFFFFFFF, 0):
        words = words[:-2]
    if not words:
        return []
    start, end = words[0][0], words[-1][0] + 4
    data = set()
    table = False
    for address, value, text in words:
        if table and start <= value < end:
            data.add(address)
            continue
        table = re.match(r"ldr\s+pc, \[r\d+, r\d+, lsl #2\]", text) is not None
        literal = re.search(r"\bldr\w*\s.*\[pc.*@ 0x([0-9a-f]+)", text)
        if literal:
            data.add(int(literal.group(1), 16))
    mnemonics = [(a, v, (text.split() or ["@"])[0]) for a, v, text in words if a not in data]
    # A word the disassembler can't read as an instruction shows only a comment.
    return [(a, v, "<undefined>" if m == "@" else m) for a, v, m in mnemonics]


def check(objdump, path):
    headers = run(objdump, "-p", path)
    form = re.search(r"file format (\S+)", run(objdump, "-f", path)).group(1)
    subsystem = header(headers, "Subsystem")
    version = header(headers, "MajorSubsystemVersion") + "." + header(headers, "MinorSubsystemVersion")
    characteristics = header(headers, "DllCharacteristics")
    name = path.rsplit("/", 1)[-1]
    if (form, subsystem, version, characteristics) != ("pei-arm-wince-little", "00000009", "3.0",
                                                       "00000000"):
        print("%s: %s, subsystem %s %s, DLL characteristics %s"
              % (name, form, subsystem, version, characteristics))
        return False
    code = code_words(run(objdump, "-d", path))
    newer = sorted({m for _, _, m in code if NEWER.match(m) or m.startswith("<")})
    if newer:
        print("%s: %d instructions, NOT ARMv4: %s" % (name, len(code), " ".join(newer)))
        return False
    print("%s: ARM CE 3.0 image, %d instructions, all ARMv4 in ARM mode" % (name, len(code)))
    return True


def main(arguments):
    objdump, paths = arguments[0], arguments[1:]
    results = [check(objdump, path) for path in paths]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
