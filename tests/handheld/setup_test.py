"""The ARM build of SETUP.DLL on an emulated StrongARM, its four hooks called
as the cabinet installer calls them, with the core library's windows,
files, registry, pause, message box and process start played by the host:
each hook does what the desktop tests see it do (tests/setup).

    setup_test.py BUILD/handheld/bin/SETUP.DLL [unittest arguments]
"""
import re
import sys
import unittest

from ce_host import CeHost, HostError

LIBRARY = None  # the DLL under test, from the command line
HKLM = 0x80000002
WM_CLOSE = 0x0010
ERROR_FILE_NOT_FOUND, ERROR_NO_MORE_ITEMS = 2, 259
APPS = "software\\apps"


class SetupHost(CeHost):
    """The host with top-level windows, files and a registry of its own."""

    def __init__(self, path, windows=(), keys=()):
        super().__init__(path)
        self.windows = {name: 0x20000 + 4 * i for i, name in enumerate(windows)}
        self.keys = {k.lower() for k in keys}
        self.open_keys = {}
        self.keys_opened = 0
        self.events = []  # what the hooks did, in order

    def play_FindWindowW(self, window_class, name, *_):
        if name:
            raise HostError("FindWindowW with a window name")
        return self.windows.get(self.wide_string(window_class), 0)

    def play_SendMessageW(self, window, message, wparam, lparam, *_):
        name = next(n for n, w in self.windows.items() if w == window)
        self.events.append(("message", name, message))
        if message == WM_CLOSE:
            del self.windows[name]
        return 0

    def play_Sleep(self, milliseconds, *_):
        self.events.append(("sleep", milliseconds))
        self.clock += milliseconds

    def play_DeleteFileW(self, path, *_):
        self.events.append(("delete", self.wide_string(path)))
        return 0

    def play_MessageBoxW(self, owner, text, caption, kind, *_):
        self.events.append(("box", owner, self.wide_string(text), self.wide_string(caption), kind))
        return 1

    def play_CreateProcessW(self, application, line, a, b, inherit, flags, environment, folder,
                            startup, information, *_):
        if any((line, a, b, inherit, flags, environment, folder, startup, information)):
            raise HostError("CreateProcessW with more than the program's path")
        self.events.append(("start", self.wide_string(application)))
        return 1

    def play_wsprintfW(self, buffer, form, *values):
        values = list(values)

        def one(match):
            if match.group(0) == "%%":
                return "%"
            value = values.pop(0)
            if match.group(2) == "s":
                return self.wide_string(value)
            return ("%" + match.group(1) + "d") % (value - (1 << 32) if value >> 31 else value)
        text = re.sub(r"%(0?\d*)([sd])|%%", one, self.wide_string(form))
        self.uc.mem_write(buffer, (text + "\0").encode("utf-16-le"))
        return len(text)

    def _key(self, parent):
        return "hklm" if parent == HKLM else self.open_keys[parent]

    def play_RegOpenKeyExW(self, parent, sub_key, options, access, result, *_):
        path = self._key(parent) + "\\" + self.wide_string(sub_key).lower()
        if path[5:] not in self.keys:
            return ERROR_FILE_NOT_FOUND
        handle = 0x9000 + 4 * self.keys_opened
        self.keys_opened += 1
        self.open_keys[handle] = path
        self.put_word(result, handle)
        return 0

    def play_RegCloseKey(self, key, *_):
        del self.open_keys[key]
        return 0

    def _children(self, path):
        return sorted(k[len(path) + 1:] for k in self.keys
                      if k.startswith(path + "\\") and "\\" not in k[len(path) + 1:])

    def play_RegEnumKeyExW(self, key, index, name, length, reserved, *_):
        children = self._children(self._key(key)[5:])
        if index >= len(children):
            return ERROR_NO_MORE_ITEMS
        self.uc.mem_write(name, (children[index] + "\0").encode("utf-16-le"))
        self.put_word(length, len(children[index]))
        return 0

    def play_RegDeleteKeyW(self, key, sub_key, *_):
        path = self._key(key)[5:] + "\\" + self.wide_string(sub_key).lower()
        if self._children(path):
            return 5  # the platform deletes no key that has subkeys
        self.keys.remove(path)
        self.events.append(("unkey", path))
        return 0


def kinds(events, kind):
    return [e[1:] if len(e) > 2 else e[1] for e in events if e[0] == kind]


class SetupOnStrongArm(unittest.TestCase):
    EARLIER = APPS + "\\tavrin fold keyboard v1.50"
    LATER = APPS + "\\tavrin fold keyboard v2.00"

    def host(self, windows=()):
        keys = [APPS, self.EARLIER, self.EARLIER + "\\a", self.EARLIER + "\\a\\b", self.LATER]
        host = SetupHost(LIBRARY, windows, keys)
        self.assertEqual(1, host.call(None, host.base, 1, 0))  # DLL_PROCESS_ATTACH
        return host

    def test_install_init_closes_deletes_and_removes_the_lowest_earlier_record(self):
        host = self.host(["KeybdR410", "STATEWINDOW"])
        folder = host.buffer("\\Windows\0".encode("utf-16-le"))
        self.assertEqual(0, host.call("Install_Init", 0x30000, 1, 0, folder))
        self.assertEqual([("KeybdR410", WM_CLOSE), ("STATEWINDOW", WM_CLOSE)], kinds(host.events, "message"))
        self.assertEqual([1000], kinds(host.events, "sleep"))
        deleted = kinds(host.events, "delete")
        self.assertEqual(20, len(deleted), "fourteen shortcuts, six program files")
        self.assertEqual("\\Windows\\R410.inf", deleted[14], "the settings file first")
        self.assertIn("\\Windows\\Startmen\u00fc\\Programme\\Tavrin Fold Keyboard.lnk", deleted)
        self.assertEqual([self.EARLIER + "\\a\\b", self.EARLIER + "\\a", self.EARLIER],
                         kinds(host.events, "unkey"), "the lowest version's tree, deepest first")
        self.assertIn(self.LATER, host.keys)
        self.assertEqual({}, host.open_keys, "every key closed")

    def test_install_exit_says_it_is_done(self):
        host = self.host()
        self.assertEqual(0, host.call("Install_Exit", 0x30000, 0, 1, 2, 3, 4, 5))
        [(owner, text, caption, kind)] = kinds(host.events, "box")
        self.assertEqual((0x30000, " ", 0), (owner, caption, kind))
        self.assertTrue(text.startswith("Tavrin Fold Keyboard instalado com sucesso !Fa\u00e7a a"))

    def test_uninstall_closes_the_service_and_restarts_the_other_model(self):
        for windows, started in ((["KeybdR410", "KeybdR810", "STATEWINDOW"], ["\\windows\\KeybdR810.exe"]),
                                 ([], [])):
            with self.subTest(windows=windows):
                host = self.host(windows)
                self.assertEqual(0, host.call("Uninstall_Init", 0x30000, 0))
                self.assertEqual(14, len(kinds(host.events, "delete")), "the shortcuts only")
                self.assertEqual(0, host.call("Uninstall_Exit", 0x30000))
                self.assertEqual(started, kinds(host.events, "start"))
                self.assertEqual([], list(host.windows), "every window closed")
                self.assertEqual([2000, 2000] if started else [2000], kinds(host.events, "sleep"))


if __name__ == "__main__":
    LIBRARY = sys.argv.pop(1)
    unittest.main()
