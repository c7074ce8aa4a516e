// Each unit's .fmu: its layout, its description, and a unit instantiated from it.
#include <gtest/gtest.h>

#include <filesystem>

#include "fmu_package.h"
#include "unit_library.h"
#include "unit_under_test.h"

namespace {

namespace fs = std::filesystem;

struct Package : ::testing::TestWithParam<support::UnitFiles> {};

TEST_P(Package, CarriesItsDescriptionAndLibraryAndInstantiates) {
    const support::UnitFiles& files = GetParam();
    std::string folder;
    {
        master::FmuPackage package(files.package);
        folder = package.folder();
        const master::ModelDescription& md = package.description();
        const master::ModelDescription source = master::readModelDescription(files.description);
        EXPECT_EQ(md.guid, source.guid);
        EXPECT_EQ(md.modelIdentifier, files.name);
        EXPECT_EQ(md.variables.size(), source.variables.size());
        EXPECT_TRUE(fs::is_regular_file(package.libraryPath())) << package.libraryPath();

        master::UnitLibrary unit(package.libraryPath());
        master::CallbackRecorder callbacks;
        fmi2Component c = unit.fmi2Instantiate("fromPackage", fmi2CoSimulation, md.guid.c_str(),
                                               package.resourceLocation().c_str(),
                                               &callbacks.functions, fmi2False, fmi2False);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(callbacks.log.empty());
        EXPECT_EQ(unit.fmi2SetupExperiment(c, fmi2False, 0, 0, fmi2False, 0), fmi2OK);
        EXPECT_EQ(unit.fmi2EnterInitializationMode(c), fmi2OK);
        EXPECT_EQ(unit.fmi2ExitInitializationMode(c), fmi2OK);
        EXPECT_EQ(unit.fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
        unit.fmi2FreeInstance(c);
    }
    EXPECT_FALSE(fs::exists(folder)) << "the unpacked folder is removed";
}

TEST(PackageReader, RefusesWhatIsNotAPackage) {
    EXPECT_THROW(master::FmuPackage("/nonexistent/unit.fmu"), std::runtime_error);
    const support::UnitFiles& any = support::allUnits().front();
    EXPECT_THROW(master::FmuPackage(any.description), std::runtime_error) << "not a zip";
}

INSTANTIATE_TEST_SUITE_P(EachUnit, Package, ::testing::ValuesIn(support::allUnits()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
