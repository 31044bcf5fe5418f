#!/usr/bin/python3
"""Fails unless the handheld build keeps CE's calling convention at every
boundary: every compile of build/handheld carries the options that fix it
(tools/handheld/ce-c++ lists them), and no function that crosses a module
boundary (the exports of the .def files, the imports of the platform's
libraries) returns a structure or class by value, which clang's APCS and the
platform's compiler return differently:

    scripts/gates/handheld-convention.py HANDHELD_BUILD_DIR
"""
import importlib.machinery
import json
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
COMPILER = os.path.join(ROOT, "tools", "handheld", "ce-c++")
ce_cxx = importlib.machinery.SourceFileLoader("ce_cxx", COMPILER).load_module()

# A class, structure or union returned by value: its return type as a trait.
CHECK = """
template <class R, class... A> constexpr bool ReturnsRecord(R (*)(A...))
{ return __is_class(R) || __is_union(R); }
template <class R, class... A> constexpr bool ReturnsRecord(R (*)(A..., ...))
{ return __is_class(R) || __is_union(R); }
"""


def def_names(path):
    with open(path, encoding="ascii") as handle:
        text = handle.read().split("EXPORTS", 1)[1]
    return [line.split(";")[0].split()[0] for line in text.splitlines() if line.split(";")[0].strip()]


def main(arguments):
    build = arguments[0]
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as handle:
        commands = json.load(handle)
    status = 0
    for entry in commands:
        missing = [flag for flag in ce_cxx.REQUIRED if flag not in entry["command"].split()]
        if missing:
            print("%s: compiled without %s" % (os.path.relpath(entry["file"], ROOT), " ".join(missing)))
            status = 1
    exports = def_names(os.path.join(ROOT, "driver", "RSN.def")) + def_names(
        os.path.join(ROOT, "setup", "setup.def"))
    imports = [name for library in ("coredll", "commctrl", "aygshell")
               for name in def_names(os.path.join(build, "imports", library + ".def"))]
    source = ["#include <handheld.h>", "#include <installer_hooks.h>", '#include "rsn.h"', CHECK]
    source += ['static_assert(!ReturnsRecord(&%s), "%s returns a structure");' % (n, n)
               for n in exports + imports]
    with tempfile.NamedTemporaryFile("w", suffix=".cpp") as check:
        check.write("\n".join(source) + "\n")
        check.flush()
        flags = ce_cxx.TARGET + ce_cxx.REQUIRED + [
            "-std=c++17", "-fsyntax-only", "-D_WIN32_WCE=0x300",
            "-I" + os.path.join(ROOT, "platform", "handheld", "include"),
            "-I" + os.path.join(ROOT, "platform"), "-I" + os.path.join(ROOT, "driver")]
        result = subprocess.run(["clang"] + flags + [check.name], capture_output=True, text=True)
    if result.returncode:
        print(re.sub(r"^/tmp/\S+", "check", result.stderr, flags=re.M))
        status = 1
    print("%d compiles with the handheld's options; %d exports and %d imports return no structure"
          % (len(commands), len(exports), len(imports)) if not status else "")
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
