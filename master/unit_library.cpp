#include "unit_library.h"

#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace master {

namespace {

#if defined(_WIN32)
void* openLibrary(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) error = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}
void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void closeLibrary(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }
#else
void* openLibrary(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) error = dlerror();
    return handle;
}
void* findSymbol(void* handle, const char* name) { return dlsym(handle, name); }
void closeLibrary(void* handle) { dlclose(handle); }
#endif

}  // namespace

UnitLibrary::UnitLibrary(const std::string& path) : path_(path) {
    std::string error;
    handle_ = openLibrary(path, error);
    if (handle_ == nullptr) throw std::runtime_error("cannot load " + path + ": " + error);
#define FMI2_ENTRY_POINT(name)                                                     \
    name = reinterpret_cast<decltype(name)>(findSymbol(handle_, #name));           \
    if (name == nullptr) {                                                         \
        closeLibrary(handle_);                                                     \
        throw std::runtime_error(path + " does not export " #name);                \
    }
    FMI2_ENTRY_POINTS
#undef FMI2_ENTRY_POINT
}

UnitLibrary::~UnitLibrary() { closeLibrary(handle_); }

const std::vector<std::string>& UnitLibrary::entryPointNames() {
    static const std::vector<std::string> names = {
#define FMI2_ENTRY_POINT(name) #name,
        FMI2_ENTRY_POINTS
#undef FMI2_ENTRY_POINT
    };
    return names;
}

}  // namespace master
