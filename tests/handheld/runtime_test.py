"""The handheld layer's runtime (platform/handheld) on an emulated StrongARM,
through the probes that the handheld build makes: the division helpers, new
and delete over LocalAlloc, the pure-virtual trap, the program's entry.

    runtime_test.py BUILD/handheld/probe/runtime_probe.dll [unittest arguments]
"""
import os
import sys
import unittest

from ce_host import CeHost, HostError

PROBE = None  # the probe DLL, from the command line


def signed(value):
    return value - (1 << 32) if value & 0x80000000 else value


class RuntimeOnStrongArm(unittest.TestCase):
    def setUp(self):
        self.host = CeHost(PROBE)

    def test_division_truncates_toward_zero(self):
        rows = [(7, 2), (-7, 2), (7, -2), (-7, -2), (0, 5), (5, 7), (100, 100), (2**31 - 1, 1),
                (-2**31, 1), (-2**31, 2), (1234567, 1000), (-1, 3)]
        for dividend, divisor in rows:
            with self.subTest(dividend=dividend, divisor=divisor):
                quotient = int(dividend / divisor)
                self.assertEqual(quotient, signed(self.host.call("ProbeDivide", dividend & 0xFFFFFFFF, divisor & 0xFFFFFFFF)))
                self.assertEqual(dividend - quotient * divisor,
                                 signed(self.host.call("ProbeRemainder", dividend & 0xFFFFFFFF, divisor & 0xFFFFFFFF)))

    def test_unsigned_division_over_the_whole_range(self):
        rows = [(7, 2), (0xFFFFFFFF, 1), (0xFFFFFFFF, 0xFFFFFFFF), (0xFFFFFFFE, 0xFFFFFFFF),
                (0x80000000, 0x80000001), (0xFFFFFFFF, 0x80000001), (0xFFFFFFFF, 16), (3, 0xF0000000),
                (123456789, 10)]
        for dividend, divisor in rows:
            with self.subTest(dividend=hex(dividend), divisor=hex(divisor)):
                self.assertEqual(dividend // divisor, self.host.call("ProbeUnsignedDivide", dividend, divisor))
                self.assertEqual(dividend % divisor, self.host.call("ProbeUnsignedRemainder", dividend, divisor))

    def test_a_zero_divisor_gives_zero_and_keeps_the_dividend(self):
        self.assertEqual(0, self.host.call("ProbeUnsignedDivide", 9, 0))
        self.assertEqual(9, self.host.call("ProbeUnsignedRemainder", 9, 0))

    def test_new_and_delete_take_and_give_back_local_memory(self):
        host = self.host
        counted = host.call("ProbeNewObject")
        self.assertEqual(({counted: 4}, 7), (host.blocks, host.word(counted)), "constructed in LocalAlloc's block")
        host.call("ProbeDeleteObject", counted)
        self.assertEqual({}, host.blocks, "deleted")
        block = host.call("ProbeNewArray", 0)
        self.assertEqual({block: 1}, host.blocks, "new of nothing takes a byte")
        host.call("ProbeDeleteArray", block)
        self.assertEqual({}, host.blocks)
        calls = len(host.calls)
        host.call("ProbeDeleteArray", 0)
        self.assertEqual(calls, len(host.calls), "delete of null frees nothing")
        host.out_of_memory = True
        self.assertEqual(0, host.call("ProbeNewArray", 16), "null when memory runs out")
        self.assertEqual(0, host.call("ProbeNewObject"), "null, and no constructor run on it (that faults)")

    def test_a_pure_virtual_call_faults(self):
        with self.assertRaisesRegex(HostError, "UNMAPPED"):
            self.host.call("ProbePureVirtual")

    def test_the_program_entry_hands_winmain_its_four_arguments(self):
        program = CeHost(os.path.join(os.path.dirname(PROBE), "program_probe.exe"))
        line = program.buffer("K\0".encode("utf-16-le"))
        # instance 0x50000 -> 5, no previous instance, "K" (75) -> 750, SW_SHOW (5).
        self.assertEqual(5 + 750 + 5, program.call(None, 0x50000, 0, line, 5))


if __name__ == "__main__":
    PROBE = sys.argv.pop(1)
    unittest.main()
