// Loading the unit under test through our master, and the calls most tests repeat.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "callback_recorder.h"
#include "model_description.h"
#include "unit_library.h"

namespace support {

struct UnitFiles {
    const char* name;         // model identifier, e.g. "Quarnet"
    const char* library;      // the built shared library, stripped as its package carries it
    const char* package;      // build/fmus/<name>.fmu
    const char* description;  // the modelDescription.xml in the model's folder
    const char* win32Library; // the same of the cross-built DLL, or "" without a cross build
};

inline void PrintTo(const UnitFiles& files, std::ostream* os) { *os << files.name; }

const UnitFiles& unitFiles(const std::string& name);
const std::vector<UnitFiles>& allUnits();
const char* schemaPath();

// A private copy of a unit's library, loaded afresh under its own file name, so that its
// static data are as at load whatever other tests did. Removed again when done.
class FreshUnit {
public:
    explicit FreshUnit(const std::string& name);
    ~FreshUnit();

    master::UnitLibrary& lib() { return *library_; }
    master::UnitLibrary* operator->() { return library_.get(); }
    const master::ModelDescription& description() const { return description_; }
    const std::string& guid() const { return description_.guid; }

    // fmi2Instantiate with the unit's own GUID, a null resource location and `callbacks`.
    fmi2Component instantiate(master::CallbackRecorder& callbacks, bool loggingOn = false,
                              const char* instanceName = "unit");
    // Instantiate, set up at 0 and enter initialisation: the usual start of a run.
    fmi2Component start(master::CallbackRecorder& callbacks, bool loggingOn = false);

    double get(fmi2Component c, fmi2ValueReference vr);
    void set(fmi2Component c, fmi2ValueReference vr, double value);

private:
    std::string copyPath_;
    master::ModelDescription description_;
    std::unique_ptr<master::UnitLibrary> library_;
};

}  // namespace support
