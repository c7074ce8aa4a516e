#include "unit_under_test.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

#include "configured_description.h"

namespace support {

namespace fs = std::filesystem;

const std::vector<UnitFiles>& allUnits() {
    static const std::vector<UnitFiles> units = {
#include "unit_files.inc"
    };
    return units;
}

const UnitFiles& unitFiles(const std::string& name) {
    for (const auto& unit : allUnits())
        if (name == unit.name) return unit;
    throw std::runtime_error("no unit named " + name + " was built");
}

const char* schemaPath() { return FMU_SCHEMA; }

FreshUnit::FreshUnit(const std::string& name) {
    static std::atomic<int> counter{0};
    const UnitFiles& files = unitFiles(name);
    fs::path source(files.library);
    copyPath_ = (fs::temp_directory_path() /
                 (name + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++) +
                  source.extension().string()))
                    .string();
    fs::copy_file(source, copyPath_, fs::copy_options::overwrite_existing);
#if defined(_WIN32)
    // No XML library in the cross build: the build read the description for us.
    description_ = configuredDescription(name);
#else
    description_ = master::readModelDescription(files.description);
#endif
    library_ = std::make_unique<master::UnitLibrary>(copyPath_);
}

FreshUnit::~FreshUnit() {
    library_.reset();
    std::error_code ignored;
    fs::remove(copyPath_, ignored);
}

fmi2Component FreshUnit::instantiate(master::CallbackRecorder& callbacks, bool loggingOn,
                                     const char* instanceName) {
    return library_->fmi2Instantiate(instanceName, fmi2CoSimulation, guid().c_str(), nullptr,
                                     &callbacks.functions, fmi2False,
                                     loggingOn ? fmi2True : fmi2False);
}

fmi2Component FreshUnit::start(master::CallbackRecorder& callbacks, bool loggingOn) {
    fmi2Component c = instantiate(callbacks, loggingOn);
    EXPECT_NE(c, nullptr);
    if (c == nullptr) return c;
    EXPECT_EQ(library_->fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
    EXPECT_EQ(library_->fmi2EnterInitializationMode(c), fmi2OK);
    return c;
}

double FreshUnit::get(fmi2Component c, fmi2ValueReference vr) {
    double value = -12345.0;
    EXPECT_EQ(library_->fmi2GetReal(c, &vr, 1, &value), fmi2OK) << "vr " << vr;
    return value;
}

void FreshUnit::set(fmi2Component c, fmi2ValueReference vr, double value) {
    EXPECT_EQ(library_->fmi2SetReal(c, &vr, 1, &value), fmi2OK) << "vr " << vr;
}

}  // namespace support
