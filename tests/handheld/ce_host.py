"""A small Windows CE host on an emulated StrongARM (SA1110, ARMv4): it maps an
ARM DLL at its base, points each import at a stub whose body, in Python, plays
that function of the platform's core library, and calls the DLL's exports
with the platform's calling convention (r0-r3, then 4-byte stack slots).

Threads run cooperatively: a thread runs until it returns or waits for
something not yet signalled; a wait with a timeout ends on a virtual clock,
which only the test moves. The host fails a test on whatever the real
platform would not let pass or would do otherwise: an instruction newer than
ARMv4, a word or halfword access off its alignment (ARMv4 rotates such a load
where the emulator does not), a call that breaks the callee-saved registers,
an unknown handle, a critical section used before its initialisation or after
its deletion, an import the host does not play.
"""
import struct

from unicorn import (UC_ARCH_ARM, UC_HOOK_INTR, UC_HOOK_MEM_READ, UC_HOOK_MEM_WRITE,
                     UC_MODE_ARM, Uc, UcError)
from unicorn.arm_const import (UC_ARM_REG_CPSR, UC_ARM_REG_LR, UC_ARM_REG_PC, UC_ARM_REG_R0,
                               UC_ARM_REG_R1, UC_ARM_REG_R2, UC_ARM_REG_R3, UC_ARM_REG_R4,
                               UC_ARM_REG_R5, UC_ARM_REG_R6, UC_ARM_REG_R7, UC_ARM_REG_R8,
                               UC_ARM_REG_R9, UC_ARM_REG_R10, UC_ARM_REG_R11, UC_ARM_REG_R12,
                               UC_ARM_REG_SP, UC_CPU_ARM_SA1110)

REGISTERS = [UC_ARM_REG_R0, UC_ARM_REG_R1, UC_ARM_REG_R2, UC_ARM_REG_R3, UC_ARM_REG_R4,
             UC_ARM_REG_R5, UC_ARM_REG_R6, UC_ARM_REG_R7, UC_ARM_REG_R8, UC_ARM_REG_R9,
             UC_ARM_REG_R10, UC_ARM_REG_R11, UC_ARM_REG_R12, UC_ARM_REG_SP, UC_ARM_REG_LR,
             UC_ARM_REG_PC]
CALLEE_SAVED = REGISTERS[4:12] + [UC_ARM_REG_SP]
USER_MODE = 0x10

STUBS = 0x00F00000          # one 8-byte stub an import: svc #n; mov pc, lr
CALL_RETURN = STUBS + 0xFF000  # where an export called by the host returns
THREAD_EXIT = CALL_RETURN + 8  # where a thread's procedure returns
STACKS = 0x02000000         # 64 KiB a thread
STACK_SIZE = 0x10000
DATA = 0x03000000           # the host's buffers for the code under test
DATA_SIZE = 0x10000
HEAP = 0x04000000           # LocalAlloc's blocks
HEAP_SIZE = 0x10000
STEP_LIMIT = 2000000        # instructions a run: more is a runaway loop

WAIT_OBJECT_0 = 0
WAIT_TIMEOUT = 258
INFINITE = 0xFFFFFFFF
EVENT_PULSE, EVENT_RESET, EVENT_SET = 1, 2, 3


class HostError(Exception):
    """What the platform would not let pass."""


class Thread:
    def __init__(self, handle, registers):
        self.handle = handle
        self.registers = registers  # saved while it does not run
        self.waiting_on = None      # a handle, while it waits
        self.deadline = None        # virtual milliseconds, for a wait with a timeout
        self.timeouts = []          # every timeout it waited with
        self.exited = False
        self.exit_code = None


class CeHost:
    def __init__(self, path):
        self.uc = Uc(UC_ARCH_ARM, UC_MODE_ARM)
        self.uc.ctl_set_cpu_model(UC_CPU_ARM_SA1110)
        self.clock = 0
        self.handles = {}       # handle -> object (dict with a "kind")
        self.next_handle = 0x100
        self.sections = {}      # address -> critical section state
        self.posted = []        # (time, window, message, wParam, lParam)
        self.calls = []         # names of the imports called, in order
        self.misaligned = []
        self.threads = []
        self.current = None
        self.caller = None
        self.stop = None
        self.data_used = 0
        self._load(path)
        self.uc.mem_map(STACKS, STACK_SIZE * 8)
        self.uc.mem_map(DATA, DATA_SIZE)
        self.uc.mem_map(HEAP, HEAP_SIZE)
        self.blocks = {}        # address -> size, LocalAlloc's live blocks
        self.heap_used = 0
        self.out_of_memory = False  # LocalAlloc fails while set
        self.uc.hook_add(UC_HOOK_INTR, self._on_svc)
        self.uc.hook_add(UC_HOOK_MEM_READ | UC_HOOK_MEM_WRITE, self._on_access)

    # --- The image ---------------------------------------------------------

    def _load(self, path):
        with open(path, "rb") as handle:
            image = handle.read()
        pe = struct.unpack_from("<I", image, 0x3C)[0]
        machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", image, pe + 4)
        if machine != 0x1C0:
            raise HostError("machine 0x%x, not ARM (0x1c0)" % machine)
        optional = pe + 24
        self.base = struct.unpack_from("<I", image, optional + 28)[0]
        self.entry = self.base + struct.unpack_from("<I", image, optional + 16)[0]
        size_of_image, size_of_headers = struct.unpack_from("<II", image, optional + 56)
        directories = [struct.unpack_from("<II", image, optional + 96 + 8 * i) for i in range(16)]
        self.uc.mem_map(self.base, (size_of_image + 0xFFF) & ~0xFFF)
        self.uc.mem_write(self.base, image[:size_of_headers])
        for i in range(sections):
            _, _, address, raw_size, raw_at = struct.unpack_from("<8sIIII", image, optional + optional_size + 40 * i)
            self.uc.mem_write(self.base + address, image[raw_at:raw_at + raw_size])
        self.imports = self._bind_imports(directories[1][0])
        self.exports = self._read_exports(directories[0][0])

    def _read(self, address, size):
        return bytes(self.uc.mem_read(address, size))

    def word(self, address):
        return struct.unpack("<I", self._read(address, 4))[0]

    def put_word(self, address, value):
        self.uc.mem_write(address, struct.pack("<I", value & 0xFFFFFFFF))

    def _text(self, address, width, encoding):
        """The text at address up to its NUL, of characters width bytes wide."""
        units = bytearray()
        while True:
            unit = self._read(address + len(units), width)
            if unit == bytes(width):
                return units.decode(encoding)
            units += unit

    def _string(self, address):
        return self._text(address, 1, "ascii")

    def wide_string(self, address):
        """The NUL-terminated UTF-16 text at address."""
        return self._text(address, 2, "utf-16-le")

    def _bind_imports(self, rva):
        """Points every import at its stub; returns [(library, function)] by stub number."""
        imports = []
        self.uc.mem_map(STUBS, 0x100000)
        while rva:
            lookup, _, _, name, first_thunk = struct.unpack("<IIIII", self._read(self.base + rva, 20))
            if not name:
                break
            library = self._string(self.base + name).lower()
            slot = 0
            while True:
                entry = self.word(self.base + (lookup or first_thunk) + 4 * slot)
                if not entry:
                    break
                if entry & 0x80000000:
                    raise HostError("%s imported by ordinal %d" % (library, entry & 0xFFFF))
                function = self._string(self.base + entry + 2)
                stub = STUBS + 8 * len(imports)
                self.uc.mem_write(stub, struct.pack("<II", 0xEF000000 | len(imports), 0xE1A0F00E))
                self.put_word(self.base + first_thunk + 4 * slot, stub)
                imports.append((library, function))
                slot += 1
            rva += 20
        for number, address in ((0xFFFFF0, CALL_RETURN), (0xFFFFF1, THREAD_EXIT)):
            self.uc.mem_write(address, struct.pack("<I", 0xEF000000 | number))
        return imports

    def _read_exports(self, rva):
        if not rva:
            return {}
        (_, _, _, _, _, _, count, names, functions, name_table,
         ordinals) = struct.unpack("<IIHHIIIIIII", self._read(self.base + rva, 40))
        exports = {}
        for i in range(names):
            name = self._string(self.base + self.word(self.base + name_table + 4 * i))
            ordinal = struct.unpack("<H", self._read(self.base + ordinals + 2 * i, 2))[0]
            exports[name] = self.base + self.word(self.base + functions + 4 * ordinal)
        return exports

    # --- Buffers of the host -----------------------------------------------

    def buffer(self, content, offset=0):
        """Copies bytes into the host's memory at offset bytes past a 16-byte
        boundary; returns their address."""
        address = DATA + ((self.data_used + 15) & ~15) + offset
        self.data_used = address - DATA + len(content)
        self.uc.mem_write(address, bytes(content))
        return address

    def bytes_at(self, address, size):
        return self._read(address, size)

    # --- Running code --------------------------------------------------------

    def call(self, name, *arguments):
        """Calls an export (or with name None the image's entry) as the
        platform does and returns r0, letting the other threads run while
        the caller waits and until they wait too."""
        sp = STACKS + STACK_SIZE - 64
        stacked = arguments[4:]
        sp -= 4 * len(stacked)
        for i, value in enumerate(stacked):
            self.put_word(sp + 4 * i, value)
        registers = {r: 0x5A5A0000 + i for i, r in enumerate(REGISTERS)}
        registers.update(zip(REGISTERS[:4], (list(arguments) + [0] * 4)[:4]))
        start = self.exports[name] if name else self.entry
        registers.update({UC_ARM_REG_SP: sp, UC_ARM_REG_LR: CALL_RETURN, UC_ARM_REG_PC: start})
        caller = Thread(None, registers)
        expected = {r: registers[r] for r in CALLEE_SAVED}
        self.caller = caller
        try:
            self._run(caller)
            while not caller.exited:
                self._run(self._next_runnable())
        finally:
            self.caller = None
        broken = [r for r in CALLEE_SAVED if caller.registers[r] != expected[r]]
        if broken:
            raise HostError("%s broke the callee-saved registers %s" % (name, broken))
        self._run_others()
        return caller.exit_code

    def advance(self, milliseconds):
        """Moves the virtual clock on, waking and running each thread whose
        wait times out on the way, in time order."""
        end = self.clock + milliseconds
        while True:
            due = [t for t in self.threads if t.deadline is not None and t.deadline <= end]
            if not due:
                break
            thread = min(due, key=lambda t: t.deadline)
            self.clock = thread.deadline
            self._wake(thread, WAIT_TIMEOUT)
            self._run_others()
        self.clock = end

    def _all(self):
        return ([self.caller] if self.caller else []) + self.threads

    def _runnable(self):
        return [t for t in self._all() if not t.exited and t.waiting_on is None]

    def _run_others(self):
        while self._runnable():
            self._run(self._runnable()[0])

    def _next_runnable(self):
        runnable = self._runnable()
        if runnable:
            return runnable[0]
        timed = [t for t in self._all() if t.deadline is not None]
        if not timed:
            raise HostError("every thread waits for ever")
        thread = min(timed, key=lambda t: t.deadline)
        self.clock = thread.deadline
        self._wake(thread, WAIT_TIMEOUT)
        return thread

    def _run(self, thread):
        if thread.exited:
            return
        self.current = thread
        self.stop = None
        self.uc.reg_write(UC_ARM_REG_CPSR, USER_MODE)
        for register, value in thread.registers.items():
            self.uc.reg_write(register, value)
        try:
            self.uc.emu_start(thread.registers[UC_ARM_REG_PC], 0xFFFFFFFC, count=STEP_LIMIT)
        except UcError as error:
            raise HostError("%s at 0x%08x" % (error, self.uc.reg_read(UC_ARM_REG_PC))) from None
        if self.stop is None:
            raise HostError("no return after %d instructions" % STEP_LIMIT)
        if isinstance(self.stop, Exception):
            raise self.stop
        if self.misaligned:
            raise HostError("misaligned accesses: %s" % self.misaligned)

    def _save(self):
        self.current.registers = {r: self.uc.reg_read(r) for r in REGISTERS}

    def _wake(self, thread, result):
        thread.waiting_on = None
        thread.deadline = None
        thread.registers[UC_ARM_REG_R0] = result

    # --- The hooks -----------------------------------------------------------

    def _on_access(self, uc, access, address, size, value, data):
        if size in (2, 4) and address % size:
            self.misaligned.append((hex(uc.reg_read(UC_ARM_REG_PC)), hex(address), size))

    def _on_svc(self, uc, interrupt, data):
        number = self.word(uc.reg_read(UC_ARM_REG_PC) - 4) & 0xFFFFFF
        try:
            if number == 0xFFFFF0 or number == 0xFFFFF1:
                self._save()
                self._exit(uc.reg_read(UC_ARM_REG_R0))
                return
            library, function = self.imports[number]
            self.calls.append(function)
            play = getattr(self, "play_" + function, None)
            if play is None:
                raise HostError("%s!%s is not played by the host" % (library, function))
            arguments = [uc.reg_read(r) for r in REGISTERS[:4]]
            sp = uc.reg_read(UC_ARM_REG_SP)
            arguments += [self.word(sp + 4 * i) for i in range(8)]
            result = play(*arguments)
            if result is not None:
                uc.reg_write(UC_ARM_REG_R0, result & 0xFFFFFFFF)
        except Exception as error:  # reported by _run once the emulator has stopped
            self.stop = error
            uc.emu_stop()

    def _exit(self, code):
        self.current.exited = True
        self.current.exit_code = code
        if self.current.handle is not None:  # a thread of the code's own
            for waiter in self._all():
                if waiter.waiting_on == self.current.handle:
                    self._wake(waiter, WAIT_OBJECT_0)
        self.stop = "exit"
        self.uc.emu_stop()

    def _block(self, handle, milliseconds):
        self._save()
        thread = self.current
        thread.waiting_on = handle
        thread.deadline = None if milliseconds == INFINITE else self.clock + milliseconds
        thread.registers[UC_ARM_REG_PC] = self.uc.reg_read(UC_ARM_REG_PC)
        self.stop = "wait"
        self.uc.emu_stop()

    # --- Handles ---------------------------------------------------------------

    def _new_handle(self, kind, **state):
        handle = self.next_handle
        self.next_handle += 4
        self.handles[handle] = dict(kind=kind, **state)
        return handle

    def _object(self, handle, kind=None):
        found = self.handles.get(handle)
        if not found or (kind and found["kind"] != kind):
            raise HostError("0x%x is not an open %s handle" % (handle, kind or "object"))
        return found

    def open_handles(self):
        return sorted(self.handles)

    # --- coredll.dll, as the code under test calls it --------------------------

    def play_CreateEventW(self, attributes, manual, initial, name, *_):
        if attributes or name:
            raise HostError("CreateEventW with attributes or a name")
        return self._new_handle("event", manual=bool(manual), signalled=bool(initial))

    def play_EventModify(self, handle, operation, *_):
        event = self._object(handle, "event")
        if operation not in (EVENT_PULSE, EVENT_RESET, EVENT_SET):
            raise HostError("EventModify operation %d" % operation)
        event["signalled"] = operation == EVENT_SET
        for waiter in self._all():
            if waiter.waiting_on == handle and operation != EVENT_RESET:
                self._wake(waiter, WAIT_OBJECT_0)
                if not event["manual"]:
                    event["signalled"] = False
                    break
        return 1

    def play_CreateThread(self, attributes, stack_size, start, parameter, flags, identifier, *_):
        if attributes or flags:
            raise HostError("CreateThread with attributes or flags")
        slot = 1 + len(self.threads) % 7  # one thread lives at a time here: stacks are reused
        handle = self._new_handle("thread")
        registers = {r: 0 for r in REGISTERS}
        registers.update({UC_ARM_REG_R0: parameter, UC_ARM_REG_SP: STACKS + STACK_SIZE * (slot + 1) - 16,
                          UC_ARM_REG_LR: THREAD_EXIT, UC_ARM_REG_PC: start})
        self.threads.append(Thread(handle, registers))
        if identifier:
            self.put_word(identifier, 0x1000 + slot)
        return handle

    def play_WaitForSingleObject(self, handle, milliseconds, *_):
        found = self._object(handle)
        self.current.timeouts.append(milliseconds)
        if found["kind"] == "event" and found["signalled"]:
            found["signalled"] = found["manual"]
            return WAIT_OBJECT_0
        if found["kind"] == "thread" and self._thread(handle).exited:
            return WAIT_OBJECT_0
        if milliseconds == 0:
            return WAIT_TIMEOUT
        self._block(handle, milliseconds)
        return None

    def _thread(self, handle):
        return next(t for t in self.threads if t.handle == handle)

    def play_CloseHandle(self, handle, *_):
        self._object(handle)
        del self.handles[handle]
        return 1

    def play_InitializeCriticalSection(self, address, *_):
        if address in self.sections:
            raise HostError("critical section 0x%x initialised twice" % address)
        self.sections[address] = {"owner": None, "count": 0}
        self.uc.mem_write(address, bytes(20))
        return None

    def _section(self, address):
        if address not in self.sections:
            raise HostError("critical section 0x%x used without initialisation" % address)
        return self.sections[address]

    def play_DeleteCriticalSection(self, address, *_):
        if self._section(address)["owner"] is not None:
            raise HostError("critical section 0x%x deleted while held" % address)
        del self.sections[address]
        return None

    def play_EnterCriticalSection(self, address, *_):
        section = self._section(address)
        if section["owner"] not in (None, self.current):
            raise HostError("critical section 0x%x held by a waiting thread" % address)
        section["owner"] = self.current
        section["count"] += 1
        return None

    def play_LeaveCriticalSection(self, address, *_):
        section = self._section(address)
        if section["owner"] is not self.current:
            raise HostError("critical section 0x%x left by a thread that does not hold it" % address)
        section["count"] -= 1
        if not section["count"]:
            section["owner"] = None
        return None

    def play_InterlockedExchange(self, address, value, *_):
        if address % 4:
            raise HostError("InterlockedExchange on a misaligned word 0x%x" % address)
        old = self.word(address)
        self.put_word(address, value)
        return old

    def play_LocalAlloc(self, flags, size, *_):
        if flags:
            raise HostError("LocalAlloc with flags 0x%x" % flags)
        if self.out_of_memory or self.heap_used + size > HEAP_SIZE:
            return 0
        address = HEAP + self.heap_used
        self.heap_used += (size + 7) & ~7
        self.blocks[address] = size
        return address

    def play_LocalFree(self, address, *_):
        if address not in self.blocks:
            raise HostError("LocalFree of 0x%x, which LocalAlloc did not give" % address)
        del self.blocks[address]
        return 0

    def play_PostMessageW(self, window, message, wparam, lparam, *_):
        self.posted.append((self.clock, window, message, wparam, lparam))
        return 1
