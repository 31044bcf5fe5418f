#include "stream_driver.h"

template <typename Fn>
bool StreamDriver::Resolve(const std::string& prefix, const char* entry, Fn* fn,
                           std::wstring* problem)
{
    std::string name = prefix + entry;
    // Through the generic function type: FARPROC says nothing of the signature.
    *fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module_, name.c_str())));
    if (!*fn) {
        *problem = L"no entry point " + std::wstring(name.begin(), name.end());
    }
    return *fn != nullptr;
}

bool StreamDriver::Load(const std::wstring& path, const std::string& prefix, std::wstring* problem)
{
    Unload();
    module_ = LoadLibraryW(path.c_str());
    if (!module_) {
        *problem = L"cannot load " + path + L" (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    bool resolved =
        Resolve(prefix, "_Init", &Init, problem) && Resolve(prefix, "_Deinit", &Deinit, problem) &&
        Resolve(prefix, "_Open", &Open, problem) && Resolve(prefix, "_Close", &Close, problem) &&
        Resolve(prefix, "_IOControl", &IOControl, problem) &&
        Resolve(prefix, "_PowerUp", &PowerUp, problem) &&
        Resolve(prefix, "_PowerDown", &PowerDown, problem) &&
        Resolve(prefix, "_Read", &Read, problem) && Resolve(prefix, "_Write", &Write, problem) &&
        Resolve(prefix, "_Seek", &Seek, problem);
    if (!resolved) {
        Unload();
    }
    return resolved;
}

void StreamDriver::Unload()
{
    if (module_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}
