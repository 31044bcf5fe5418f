#include "hook_library.h"

#include <cstring>

namespace {

template <typename Hook>
void Find(HMODULE module, const char* name, Hook* hook)
{
    *hook = reinterpret_cast<Hook>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The machine field of a PE image's file header, or 0.
WORD Machine(const char* image, size_t size)
{
    IMAGE_DOS_HEADER dos = {};
    DWORD signature = 0;
    IMAGE_FILE_HEADER header = {};
    if (size < sizeof(dos)) {
        return 0;
    }
    std::memcpy(&dos, image, sizeof(dos));
    size_t at = static_cast<size_t>(dos.e_lfanew);
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0 ||
        size < at + sizeof(signature) + sizeof(header)) {
        return 0;
    }
    std::memcpy(&signature, image + at, sizeof(signature));
    std::memcpy(&header, image + at + sizeof(signature), sizeof(header));
    return signature == IMAGE_NT_SIGNATURE ? header.Machine : 0;
}

}  // namespace

bool ForThisProcessor(LPCWSTR path)
{
    char head[4096];
    DWORD read = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool readAll = ReadFile(file, head, sizeof(head), &read, nullptr);
    CloseHandle(file);
    // This program's own image, as the loader mapped it.
    const char* self = reinterpret_cast<const char*>(GetModuleHandleW(nullptr));
    WORD machine = readAll ? Machine(head, read) : 0;
    return machine && machine == Machine(self, sizeof(head));
}

HookLibrary::HookLibrary(LPCWSTR path) : module_(*path ? LoadLibraryW(path) : nullptr)
{
    if (module_) {
        Find(module_, "Install_Init", &installInit);
        Find(module_, "Install_Exit", &installExit);
        Find(module_, "Uninstall_Init", &uninstallInit);
        Find(module_, "Uninstall_Exit", &uninstallExit);
    }
}

HookLibrary::~HookLibrary()
{
    Unload();
}

void HookLibrary::Unload()
{
    installInit = nullptr;
    installExit = nullptr;
    uninstallInit = nullptr;
    uninstallExit = nullptr;
    if (module_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}
