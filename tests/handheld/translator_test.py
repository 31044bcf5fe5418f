"""The assembly translator (tools/handheld/ce_asm.py) over a small corpus:
each translator/X.s becomes translator/X.expected.s, which the CE assembler
takes for ARMv4; what the handheld can't run or the translator does not know
is refused, the compiler refuses a compile without the options of CE's
calling convention, and the assembler refuses what ARMv4 lacks.

    translator_test.py [unittest arguments]
"""
import glob
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools", "handheld"))
import ce_asm  # noqa: E402

HEAD = '\t.syntax unified\n\t.eabi_attribute\t6, 1\n\t.eabi_attribute\t18, 2\n'

# A line the translator must refuse, and what it says.
REFUSED = [
    ("\t.code\t16", "only ARM code"),
    ("\t.thumb_func", "unknown directive .thumb_func"),
    ("\t.eabi_attribute\t18, 4", "build attribute 18 is 4"),
    ("\t.eabi_attribute\t26, 1", "build attribute 26 is 1"),
    ("\t.eabi_attribute\t6, 10", "build attribute 6 is 10"),
    ("\t.eabi_attribute\t9, 1", "build attribute 9 is 1"),
    ("\t.eabi_attribute\t99, 1", "unknown build attribute 99"),
    ("\t.weak\tlonely", "weak symbol outside a COMDAT group"),
    ('\t.section\t.tbss.x,"awT",%nobits', "unknown section .tbss.x"),
    ('\t.section\t.ARM.exidx,"ao",%progbits', "unknown section .ARM.exidx"),
    ('\t.section\t.text.x,"axG",%progbits,x,other', "section group kind"),
    ("\t.comm\tshared,4,4", "unknown directive .comm"),
    ("\t.tlsdescseq\tx", "unknown directive"),
]


def assemble(text):
    """The CE assembler's verdict on text: (exit status, messages)."""
    with tempfile.TemporaryDirectory() as work:
        source = os.path.join(work, "in.s")
        with open(source, "w", encoding="utf-8") as handle:
            handle.write(text)
        result = subprocess.run([os.path.join(ROOT, "scripts", "handheld-tool.sh"), "as",
                                 "-march=armv4", "-o", os.path.join(work, "out.o"), source],
                                capture_output=True, text=True)
        return result.returncode, result.stderr


class Translator(unittest.TestCase):
    def test_the_corpus_translates_as_expected_and_assembles(self):
        inputs = [p for p in glob.glob(os.path.join(HERE, "translator", "*.s"))
                  if not p.endswith(".expected.s")]
        self.assertTrue(inputs)
        for path in inputs:
            with self.subTest(os.path.basename(path)):
                with open(path, encoding="utf-8") as handle:
                    translated = ce_asm.translate(handle.read())
                with open(path[:-2] + ".expected.s", encoding="utf-8") as handle:
                    self.assertEqual(handle.read(), translated)
                self.assertEqual((0, ""), assemble(translated))

    def test_what_the_handheld_cant_take_is_refused(self):
        for line, message in REFUSED:
            with self.subTest(line):
                with self.assertRaisesRegex(ce_asm.TranslationError, message):
                    ce_asm.translate(HEAD + line + "\n")

    def test_the_compiler_refuses_a_compile_without_the_conventions_options(self):
        compiler = os.path.join(ROOT, "tools", "handheld", "ce-c++")
        options = ["-march=armv4", "-marm", "-mabi=apcs-gnu", "-mfloat-abi=soft", "-fshort-wchar",
                   "-fno-short-enums"]
        for left_out in options:
            with self.subTest(left_out):
                given = [o for o in options if o != left_out]
                result = subprocess.run([compiler] + given + ["-c", "x.cpp", "-o", "x.o"],
                                        capture_output=True, text=True)
                self.assertEqual(1, result.returncode)
                self.assertIn("calling convention needs " + left_out, result.stderr)

    def test_the_assembler_refuses_instructions_newer_than_armv4(self):
        for instruction in ("bx\tlr", "blx\tr3", "clz\tr0, r1", "ldrd\tr0, r1, [r2]"):
            with self.subTest(instruction):
                status, messages = assemble("\t.syntax unified\n\t.text\n\t" + instruction + "\n")
                self.assertNotEqual(0, status)
                self.assertIn("selected processor does not support", messages)


if __name__ == "__main__":
    unittest.main()
