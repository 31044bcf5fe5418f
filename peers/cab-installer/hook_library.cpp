#include "hook_library.h"

namespace {

template <typename Hook>
void Find(HMODULE module, const char* name, Hook* hook)
{
    *hook = reinterpret_cast<Hook>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

HookLibrary::HookLibrary(LPCWSTR path) : module_(LoadLibraryW(path))
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
