// Loading a unit's shared library and resolving its entry points.
#pragma once

#include <string>
#include <vector>

#include "fmi2_entry_points.h"
#include "fmi2_functions.h"

namespace master {

// One loaded copy of a unit's library with all 44 entry points resolved. The library is
// unloaded when the object goes.
class UnitLibrary {
public:
    // Throws std::runtime_error when the file cannot be loaded or an entry point is missing.
    explicit UnitLibrary(const std::string& path);
    ~UnitLibrary();
    UnitLibrary(const UnitLibrary&) = delete;
    UnitLibrary& operator=(const UnitLibrary&) = delete;

    const std::string& path() const { return path_; }

#define FMI2_ENTRY_POINT(name) decltype(&::name) name = nullptr;
    FMI2_ENTRY_POINTS
#undef FMI2_ENTRY_POINT

    static const std::vector<std::string>& entryPointNames();

private:
    std::string path_;
    void* handle_ = nullptr;
};

}  // namespace master
