"""The ARM build of RSN.dll on an emulated StrongARM, driven as the device
manager and a client drive it, with the expectations of the desktop tests
(tests/driver): the control codes with good, short, null and misaligned
buffers, the messages of each power cycle at the thread's one-second look,
the stop that leaves nothing behind, control codes refused while stopped.

    driver_test.py BUILD/handheld/bin/RSN.dll [unittest arguments]
"""
import os
import re
import struct
import sys
import unittest

from ce_host import CeHost

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
DRIVER = None  # the DLL under test, from the command line


def interface_numbers():
    """The control codes and messages, as driver/rsn.h defines them."""
    with open(os.path.join(SOURCE, "driver", "rsn.h"), encoding="ascii") as handle:
        text = handle.read()
    numbers = {}
    for name, user, value in re.findall(
            r"\b(RSN_(?:IOCTL|MSG)_\w+)\s*=?\s*\(?(WM_USER\s*\+\s*)?(0x[0-9A-Fa-f]+|\d+)", text):
        numbers[name] = int(value, 0) + (0x400 if user else 0)
    return numbers


N = interface_numbers()
GET, CLEAR_RESUMED, SET, CLEAR_WINDOW = (N["RSN_IOCTL_GET_RESUMED"], N["RSN_IOCTL_CLEAR_RESUMED"],
                                         N["RSN_IOCTL_SET_WINDOW"], N["RSN_IOCTL_CLEAR_WINDOW"])
RESUMED, POWERDOWN = N["RSN_MSG_RESUMED"], N["RSN_MSG_POWERDOWN"]
FAILED = 0xFFFFFFFF
CLIENT, OTHER = 0x00010042, 0x00010044  # window words
UNTOUCHED = b"\xCC" * 9


class Driver:
    """RSN.dll loaded, started and opened, as the device manager leaves it."""

    def __init__(self):
        self.host = CeHost(DRIVER)
        assert self.host.call(None, self.host.base, 1, 0) == 1  # DLL_PROCESS_ATTACH

    def io(self, code, input_word=None, input_length=4, output_length=4, output=True,
           count=True, offset=1):
        """RSN_IOControl with the buffers offset bytes off alignment; returns
        the result, the output buffer's 9 bytes around the 4 answered, and
        the count."""
        host = self.host
        source = host.buffer(struct.pack("<I", input_word), offset) if input_word is not None else 0
        out = host.buffer(UNTOUCHED, offset) if output else 0
        counted = host.buffer(b"\xCC" * 4) if count else 0
        result = host.call("RSN_IOControl", 1, code, source, input_length,
                           out + 1 if out else 0, output_length, counted)
        return (result, host.bytes_at(out, 9) if out else None,
                host.bytes_at(counted, 4) if counted else None)

    def resumed(self):
        result, output, _ = self.io(GET)
        assert result == 1
        return struct.unpack("<I", output[1:5])[0]

    def posted_to(self, window):
        return [message for _, to, message, w, l in self.host.posted if to == window and not w and not l]


class DriverOnStrongArm(unittest.TestCase):
    def test_starts_answers_and_stops_leaving_nothing(self):
        driver = Driver()
        host = driver.host
        self.assertEqual(1, host.call("RSN_Deinit", 1), "never started")
        self.expect_control_codes_refused(driver, "before the start")
        self.assertEqual([], host.calls, "neither the lock nor anything else touched")
        self.assertEqual(1, host.call("RSN_Init", 0))
        self.assertEqual(1, host.call("RSN_Init", 0), "a second Init keeps the thread")
        self.assertEqual(1, host.calls.count("CreateThread"))
        self.assertEqual(1, host.call("RSN_Open", 1, 0xC0000000, 0))
        data = host.buffer(b"\0" * 4)
        self.assertEqual([FAILED] * 3, [host.call("RSN_Read", 1, data, 4),
                                        host.call("RSN_Write", 1, data, 4),
                                        host.call("RSN_Seek", 1, 0, 0)])
        self.assertEqual(1, host.call("RSN_Close", 1))
        # The power calls only record: no platform call.
        calls = len(host.calls)
        host.call("RSN_PowerDown", 1)
        host.call("RSN_PowerUp", 1)
        self.assertEqual(calls, len(host.calls))
        self.assertEqual(1, driver.resumed())
        host.advance(5000)
        self.assertEqual(1, host.call("RSN_Deinit", 1))
        self.assertEqual([], host.open_handles(), "the event and the thread are closed")
        self.assertEqual({}, host.sections, "the lock is deleted")
        self.assertTrue(all(t.exited and t.exit_code == 0 for t in host.threads))
        self.assertEqual({1000}, set(host.threads[0].timeouts), "one pass a second")
        self.assertEqual(6, len(host.threads[0].timeouts), "a pass at the start and one a second")
        calls = len(host.calls)
        self.assertEqual(1, host.call("RSN_Deinit", 1), "a second Deinit")
        self.expect_control_codes_refused(driver, "after the stop")
        self.assertEqual(calls, len(host.calls))
        # Started afresh after a stop, the power cycle still there to find.
        self.assertEqual(1, host.call("RSN_Init", 0))
        self.assertEqual(1, driver.resumed())
        self.assertEqual(1, host.call("RSN_Deinit", 1))
        self.assertEqual([], host.open_handles())

    def expect_control_codes_refused(self, driver, when):
        """Stopped, the driver refuses every code and leaves its buffers alone."""
        for code in (GET, CLEAR_RESUMED, SET, CLEAR_WINDOW):
            self.assertEqual((0, UNTOUCHED, b"\xCC" * 4), driver.io(code, OTHER), (when, code))

    # name, code, input length, output length, what is missing, result, resumed
    # after, window registered after. Each starts resumed with the client's
    # window registered; the input holds the other window's word.
    CONTROL_ROWS = [
        ("get resumed", GET, 0, 4, "", 1, 1, CLIENT),
        ("get resumed, 7 bytes", GET, 0, 7, "", 1, 1, CLIENT),
        ("get resumed, no buffer", GET, 0, 4, "output", 0, 1, CLIENT),
        ("get resumed, 3 bytes", GET, 0, 3, "", 0, 1, CLIENT),
        ("get resumed, no count", GET, 0, 4, "count", 0, 1, CLIENT),
        ("clear resumed", CLEAR_RESUMED, 4, 4, "", 1, 0, CLIENT),
        ("set window", SET, 4, 0, "output count", 1, 1, OTHER),
        ("set window, no buffer", SET, 4, 0, "input", 0, 1, CLIENT),
        ("set window, 3 bytes", SET, 3, 0, "", 0, 1, CLIENT),
        ("clear window", CLEAR_WINDOW, 4, 4, "", 1, 1, None),
        ("code 0", 0, 4, 4, "", 0, 1, CLIENT),
        ("code 5", 5, 4, 4, "", 0, 1, CLIENT),
        ("2 as a CTL_CODE", 0x220008, 4, 4, "", 0, 1, CLIENT),
    ]

    def test_control_codes_answer_or_refuse_and_touch_only_their_words(self):
        answered = b"\xCC\x01\x00\x00\x00" + b"\xCC" * 4
        for offset in (0, 1, 2, 3):
            for name, code, in_length, out_length, missing, result, resumed, window in self.CONTROL_ROWS:
                with self.subTest(name, offset=offset):
                    driver = Driver()
                    host = driver.host
                    host.call("RSN_Init", 0)
                    host.call("RSN_PowerDown", 1)
                    host.call("RSN_PowerUp", 1)
                    driver.io(SET, CLIENT)
                    got, output, count = driver.io(
                        code, None if "input" in missing else OTHER, in_length, out_length,
                        "output" not in missing, "count" not in missing, offset)
                    answers = code == GET and result
                    self.assertEqual(result, got)
                    if output is not None:
                        self.assertEqual(answered if answers else UNTOUCHED, output)
                    if count is not None:
                        self.assertEqual(b"\x04\0\0\0" if answers else b"\xCC" * 4, count)
                    self.assertEqual(resumed, driver.resumed())
                    host.advance(1000)  # the look at this cycle posts to the registered window
                    expected = [RESUMED] if window and resumed else []
                    self.assertEqual(expected, driver.posted_to(window or CLIENT))
                    self.assertEqual(1, host.call("RSN_Deinit", 1))

    # Steps: d and u power down and up, w and o register the client's and the
    # other window, x clears the window, c the resumed state; . lets one
    # second pass (the thread's next look).
    SCENARIOS = [
        ("no power-down", "wu.", [], 0),
        ("a power cycle", "wdu.", [RESUMED], 1),
        ("two power cycles", "wdu.du.", [RESUMED, RESUMED], 1),
        ("registered after the resume", "duw.", [RESUMED], 1),
        ("a look while down", "wd.u.", [POWERDOWN], 1),
        ("cleared before the look", "wduc.", [], 0),
        ("registered after the look", "du.w.", [], 1),
        ("a second window replaces the first", "owdu.", [RESUMED], 1),
        ("a cleared window", "xwxdu.", [], 1),
        ("registered again", "wxdu.wdu.", [RESUMED], 1),
    ]

    def test_each_power_cycle_posts_at_most_one_message_at_the_threads_look(self):
        for name, steps, posted, resumed in self.SCENARIOS:
            with self.subTest(name):
                driver = Driver()
                host = driver.host
                host.call("RSN_Init", 0)  # the thread's first look, at once
                for step in steps:
                    if step in "du":
                        host.call("RSN_PowerDown" if step == "d" else "RSN_PowerUp", 1)
                    elif step == ".":
                        host.advance(1000)
                    elif step in "xc":
                        self.assertEqual(1, driver.io(CLEAR_WINDOW if step == "x" else CLEAR_RESUMED)[0])
                    else:
                        self.assertEqual(1, driver.io(SET, OTHER if step == "o" else CLIENT)[0])
                self.assertEqual(posted, driver.posted_to(CLIENT))
                self.assertEqual([], driver.posted_to(OTHER))
                self.assertEqual(len(host.posted), len(posted), "wParam and lParam 0, no other window")
                self.assertEqual(resumed, driver.resumed())
                self.assertEqual(1, host.call("RSN_Deinit", 1))
                self.assertEqual([], host.open_handles())



if __name__ == "__main__":
    DRIVER = sys.argv.pop(1)
    unittest.main()
