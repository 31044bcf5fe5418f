"""The handheld's cabinet, build/handheld/cab/TavrinFoldKeyboard.cab: whole,
made for processor 2577 (ARM), carrying the three ARM deliverables byte for
byte and no program of another machine.

    cabinet_test.py BUILD/handheld [unittest arguments]
"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

HANDHELD = None  # the handheld build, from the command line
DELIVERABLES = ("Tavrin Fold Keyboard.exe", "SETUP.DLL", "RSN.dll")


def machine(image):
    """The PE machine of a program or library, or None for other files."""
    if image[:2] != b"MZ":
        return None
    return struct.unpack_from("<H", image, struct.unpack_from("<I", image, 0x3C)[0] + 4)[0]


class HandheldCabinet(unittest.TestCase):
    def test_holds_the_arm_deliverables_for_an_arm_handheld(self):
        cabinet = os.path.join(HANDHELD, "cab", "TavrinFoldKeyboard.cab")
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run(["cabextract", "-q", "-d", folder, cabinet], check=True)
            members = {}
            for name in os.listdir(folder):
                with open(os.path.join(folder, name), "rb") as handle:
                    members[name] = handle.read()
        data = next(content for name, content in members.items() if name.endswith(".000"))
        self.assertEqual(b"MSCE", data[:4])
        self.assertEqual(2577, struct.unpack_from("<I", data, 20)[0], "processor: ARM")
        for deliverable in DELIVERABLES:
            with open(os.path.join(HANDHELD, "bin", deliverable), "rb") as handle:
                self.assertIn(handle.read(), members.values(), deliverable)
        programs = {name: machine(content) for name, content in members.items() if machine(content)}
        self.assertEqual(4, len(programs), "the three deliverables and the hook library's copy")
        self.assertEqual({0x1C0}, set(programs.values()), programs)


if __name__ == "__main__":
    HANDHELD = sys.argv.pop(1)
    unittest.main()
