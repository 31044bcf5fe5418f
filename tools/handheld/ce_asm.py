#!/usr/bin/python3
"""Translates the ARM assembly that clang writes for an ELF target into the
dialect of the Windows CE (PE/COFF) assembler, and fails on anything it does
not know, so that nothing it can't vouch for reaches the handheld.

    ce_asm.py INPUT.s OUTPUT.s

- Sections: .text.X, .rodata.X, .data.X and .bss.X become the grouped COFF
  sections .text$X, .rdata$X, .data$X and .bss$X (the linker merges each group
  into its section and drops the unused ones); a COMDAT group becomes a
  `.linkonce discard` section, and the `.weak` symbol that names it a global
  one (a COFF weak external would hide the definition).
- The build attributes are checked, then dropped: ARMv4 in ARM mode, no Thumb,
  wchar_t of 2 bytes, enums the size of an int.
- ELF-only annotations (.type, .size, .ident, .addrsig, the unwinding
  directives, .cpu, .fpu, .file) are dropped: the assembler's -march decides
  which instructions it takes. `.inst` becomes `.word`.
"""
import re
import sys


class TranslationError(Exception):
    pass


# Build attributes (tag: required value); every other tag that clang writes
# for these flags is known and dropped. 6 Tag_CPU_arch (1 = ARMv4), 8 ARM
# instructions allowed, 9 Thumb instructions (0 = none), 18 wchar_t size,
# 26 enum size (2 = int-sized).
REQUIRED_ATTRIBUTES = {6: "1", 8: "1", 9: "0", 18: "2", 26: "2"}
DROPPED_ATTRIBUTES = {14, 17, 20, 21, 23, 24, 25, 30, 34, 38, 67}

DROPPED = {".type", ".size", ".ident", ".addrsig", ".addrsig_sym", ".fnstart", ".fnend",
           ".cantunwind", ".save", ".setfp", ".pad", ".cpu", ".fpu", ".file"}
KEPT = {".text", ".data", ".globl", ".p2align", ".long", ".word", ".short", ".byte", ".zero",
        ".space", ".ascii", ".asciz", ".set", ".syntax", ".arm"}

# ELF section prefixes and their COFF names and flags.
SECTIONS = {".text": (".text", "xr"), ".rodata": (".rdata", "dr"), ".data": (".data", "dw"),
            ".bss": (".bss", "bw")}

SECTION_LINE = re.compile(r'^\s*\.section\s+("?)([^",\s]+)\1\s*(?:,(.*))?$')


def split_arguments(text):
    return [part.strip() for part in text.split(",")] if text else []


def comdat_signatures(lines):
    """The symbols that name a COMDAT group of the file."""
    signatures = set()
    for line in lines:
        match = SECTION_LINE.match(line)
        if match:
            arguments = split_arguments(match.group(3))
            if len(arguments) == 4 and arguments[3] == "comdat":
                signatures.add(arguments[2])
    return signatures


def translate_section(name, arguments, number):
    if name == ".note.GNU-stack":
        return []
    for prefix, (coff_name, flags) in SECTIONS.items():
        if name == prefix or name.startswith(prefix + "."):
            suffix = name[len(prefix) + 1:].replace(".", "_")
            coff = coff_name + ("$" + suffix if suffix else "")
            out = ['\t.section\t%s,"%s"' % (coff, flags)]
            if len(arguments) == 4 and arguments[3] == "comdat":
                out.append("\t.linkonce\tdiscard")
            elif len(arguments) > 3:
                raise TranslationError("line %d: unknown section group kind %r" % (number, arguments))
            return out
    raise TranslationError("line %d: unknown section %s" % (number, name))


def check_attribute(arguments, number):
    tag, value = int(arguments[0]), arguments[1]
    if tag in REQUIRED_ATTRIBUTES:
        if value != REQUIRED_ATTRIBUTES[tag]:
            raise TranslationError("line %d: build attribute %d is %s, the handheld needs %s"
                                   % (number, tag, value, REQUIRED_ATTRIBUTES[tag]))
    elif tag not in DROPPED_ATTRIBUTES:
        raise TranslationError("line %d: unknown build attribute %d" % (number, tag))


def translate_line(line, number, signatures):
    stripped = line.strip()
    # Blank lines, comments, labels and instructions stand as they are.
    if not stripped.startswith(".") or re.match(r"^\.L[\w.$]*:", stripped):
        return [line]
    directive, _, rest = stripped.partition("\t") if "\t" in stripped else stripped.partition(" ")
    rest = rest.strip()
    if directive == ".section":
        match = SECTION_LINE.match(line)
        if not match:
            raise TranslationError("line %d: unreadable section: %s" % (number, stripped))
        return translate_section(match.group(2), split_arguments(match.group(3)), number)
    if directive == ".eabi_attribute":
        check_attribute(split_arguments(rest), number)
        return []
    if directive == ".code":
        if rest != "32":
            raise TranslationError("line %d: only ARM code (.code 32), not .code %s" % (number, rest))
        return [line]
    if directive == ".weak":
        if rest not in signatures:
            raise TranslationError("line %d: a weak symbol outside a COMDAT group: %s" % (number, rest))
        return ["\t.globl\t" + rest]
    if directive == ".inst":
        return ["\t.word\t" + rest]
    if directive in DROPPED:
        return []
    if directive in KEPT:
        return [line]
    raise TranslationError("line %d: unknown directive %s" % (number, directive))


def translate(text):
    lines = text.splitlines()
    signatures = comdat_signatures(lines)
    out = []
    for number, line in enumerate(lines, 1):
        out.extend(translate_line(line, number, signatures))
    return "\n".join(out) + "\n"


def main(arguments):
    if len(arguments) != 2:
        sys.stderr.write("usage: ce_asm.py INPUT.s OUTPUT.s\n")
        return 2
    source, target = arguments
    try:
        with open(source, encoding="utf-8") as handle:
            translated = translate(handle.read())
    except TranslationError as error:
        sys.stderr.write("%s:%s\n" % (source, error))
        return 1
    with open(target, "w", encoding="utf-8") as handle:
        handle.write(translated)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
