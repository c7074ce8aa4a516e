// Instantiation checks, their messages and instance names, and the entry points that need
// no model.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bits.h"
#include "unit_under_test.h"

namespace {

using support::FreshUnit;

struct Instantiate : ::testing::Test {
    FreshUnit unit{"Quarnet"};
    master::CallbackRecorder callbacks;

    fmi2Component instantiate(const char* name, const char* guid, const char* location,
                              fmi2Type type = fmi2CoSimulation, fmi2Boolean visible = fmi2False,
                              fmi2Boolean loggingOn = fmi2False) {
        return unit->fmi2Instantiate(name, type, guid, location, &callbacks.functions, visible,
                                     loggingOn);
    }
};

TEST_F(Instantiate, FailuresLogOneErrorWithTheirInstanceName) {
    const std::string guid = unit.guid();
    std::string upper = guid;
    for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    const std::string bare = guid.substr(1, guid.size() - 2);
    struct Case {
        const char* name;
        const char* guid;
        const char* location;
        const char* expectedInstance;
        std::string expectedMessage;
    };
    const Case cases[] = {
        {nullptr, guid.c_str(), nullptr, "?", "fmi2Instantiate: Missing instance name."},
        {"", nullptr, nullptr, "?", "fmi2Instantiate: Missing instance name."},
        {"a", nullptr, nullptr, "a", "fmi2Instantiate: Missing GUID."},
        {"b", "", nullptr, "b", "fmi2Instantiate: Missing GUID."},
        {"c", upper.c_str(), nullptr, "c",
         "fmi2Instantiate: Wrong GUID " + upper + ". Expected " + guid + "."},
        {"d", bare.c_str(), nullptr, "d",
         "fmi2Instantiate: Wrong GUID " + bare + ". Expected " + guid + "."},
        {"e", guid.c_str(), "http://host/res", "e",
         "fmi2Instantiate: uriToLocal cannot handle fmuResourceLocation."},
        {"f", guid.c_str(), "https://host/res", "f",
         "fmi2Instantiate: uriToLocal cannot handle fmuResourceLocation."},
        {"g", guid.c_str(), "ftpdata/res", "g",
         "fmi2Instantiate: uriToLocal cannot handle fmuResourceLocation."},
        {"h", guid.c_str(), "", "h",
         "fmi2Instantiate: uriToLocal cannot handle fmuResourceLocation."},
        {"i", guid.c_str(), "file:///", "i",
         "fmi2Instantiate: uriToLocal cannot handle fmuResourceLocation."},
    };
    for (const Case& k : cases) {
        callbacks.clear();
        EXPECT_EQ(instantiate(k.name, k.guid, k.location), nullptr) << k.expectedMessage;
        ASSERT_EQ(callbacks.log.size(), 1u) << k.expectedMessage;
        const master::LogLine& line = callbacks.log[0];
        EXPECT_EQ(line.message, k.expectedMessage);
        EXPECT_EQ(line.instanceName, k.expectedInstance);
        EXPECT_EQ(line.status, fmi2Error);
        EXPECT_EQ(line.category, "error");
        EXPECT_TRUE(callbacks.stepsFinished.empty());
    }
}

TEST_F(Instantiate, WrongGuidPassesItsArgumentsToTheLogger) {
    EXPECT_EQ(instantiate("x", "{nope}", nullptr), nullptr);
    ASSERT_EQ(callbacks.log.size(), 1u);
    EXPECT_EQ(callbacks.log[0].format, "fmi2Instantiate: Wrong GUID %s. Expected %s.");
}

TEST_F(Instantiate, WithoutLoggerOrCallbacksReturnsNullSilently) {
    master::CallbackRecorder silent;
    silent.functions.logger = nullptr;
    EXPECT_EQ(unit->fmi2Instantiate("x", fmi2CoSimulation, unit.guid().c_str(), nullptr,
                                    &silent.functions, fmi2False, fmi2True),
              nullptr);
    EXPECT_EQ(unit->fmi2Instantiate("x", fmi2CoSimulation, unit.guid().c_str(), nullptr,
                                    nullptr, fmi2False, fmi2True),
              nullptr);
    EXPECT_TRUE(silent.log.empty());
    EXPECT_TRUE(silent.stepsFinished.empty());
}

TEST_F(Instantiate, SucceedsSilentlyForEitherTypeAndAnyVisibility) {
    const char* locations[] = {nullptr, "file:///C:/work/unit/resources", "C:\\work\\res",
                               "file://localhost"};
    for (fmi2Type type : {fmi2CoSimulation, fmi2ModelExchange}) {
        for (const char* location : locations) {
            fmi2Component c = instantiate("ok", unit.guid().c_str(), location, type, fmi2True,
                                          fmi2True);
            ASSERT_NE(c, nullptr) << (location ? location : "(null)");
            EXPECT_SAME_BITS(0.0, unit.get(c, 12)) << "the time starts at zero";
            unit->fmi2FreeInstance(c);
        }
    }
    // getReal traces only: instantiation and freeing themselves say nothing.
    for (const auto& line : callbacks.log) EXPECT_EQ(line.format, "getReal vr:%d, value:%lf");
    EXPECT_EQ(callbacks.log.size(), 8u);
}

TEST_F(Instantiate, EveryReferenceCanBeReadRightAfterInstantiation) {
    fmi2Component c = instantiate("ok", unit.guid().c_str(), nullptr);
    ASSERT_NE(c, nullptr);
    fmi2ValueReference vr[13];
    double values[13];
    for (unsigned k = 0; k < 13; ++k) vr[k] = k;
    EXPECT_EQ(unit->fmi2GetReal(c, vr, 13, values), fmi2OK);
    for (double v : values) EXPECT_SAME_BITS(0.0, v);
    unit->fmi2FreeInstance(c);
}

TEST_F(Instantiate, InstanceNameIsTheRecordsOwnCopy) {
    char name[] = "first";
    fmi2Component c = instantiate(name, unit.guid().c_str(), nullptr);
    ASSERT_NE(c, nullptr);
    std::strcpy(name, "other");
    fmi2ValueReference bad = 13;
    double value = 0;
    EXPECT_EQ(unit->fmi2GetReal(c, &bad, 1, &value), fmi2Error);
    ASSERT_EQ(callbacks.log.size(), 1u);
    EXPECT_EQ(callbacks.log[0].instanceName, "first");
    unit->fmi2FreeInstance(c);
}

TEST_F(Instantiate, CallbackRecordIsReadAtEachCallNotCopied) {
    fmi2Component c = instantiate("live", unit.guid().c_str(), nullptr);
    ASSERT_NE(c, nullptr);
    master::CallbackRecorder other;
    callbacks.functions.componentEnvironment = &other;
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    EXPECT_TRUE(callbacks.stepsFinished.empty());
    ASSERT_EQ(other.stepsFinished.size(), 1u);
    EXPECT_EQ(other.stepsFinished[0].environment, &other);
    callbacks.functions.componentEnvironment = &callbacks;
    unit->fmi2FreeInstance(c);
}

TEST_F(Instantiate, LoggerClearedAfterInstantiationSilencesMessagesOnly) {
    fmi2Component c = instantiate("quiet", unit.guid().c_str(), nullptr, fmi2CoSimulation,
                                  fmi2False, fmi2True);
    ASSERT_NE(c, nullptr);
    callbacks.functions.logger = nullptr;
    fmi2ValueReference bad = 13;
    double value = 0;
    EXPECT_EQ(unit->fmi2GetReal(c, &bad, 1, &value), fmi2Error);
    EXPECT_EQ(unit->fmi2DoStep(c, 1.0, 0.005, fmi2True), fmi2Error);
    EXPECT_EQ(unit->fmi2DoStep(c, 0.0, 0.005, fmi2True), fmi2OK);
    EXPECT_EQ(unit->fmi2SetupExperiment(c, fmi2False, 0, 1.0, fmi2False, 0), fmi2Error);
    EXPECT_EQ(callbacks.stepsFinished.size(), 2u) << "step-finished calls go on";
    EXPECT_TRUE(callbacks.log.empty());
    unit->fmi2FreeInstance(c);
}

TEST_F(Instantiate, DebugLoggingSwitchesInfoLinesOnAndOff) {
    fmi2Component c = instantiate("log", unit.guid().c_str(), nullptr);
    ASSERT_NE(c, nullptr);
    unit.get(c, 0);
    EXPECT_TRUE(callbacks.log.empty());
    EXPECT_EQ(unit->fmi2SetDebugLogging(c, fmi2True, 0, nullptr), fmi2OK);
    EXPECT_TRUE(callbacks.log.empty()) << "setting the flag sends nothing";
    unit.get(c, 0);
    EXPECT_EQ(callbacks.log.size(), 1u);
    const fmi2String categories[] = {"unknownCategory"};
    EXPECT_EQ(unit->fmi2SetDebugLogging(c, fmi2False, 1, categories), fmi2OK);
    unit.get(c, 0);
    EXPECT_EQ(callbacks.log.size(), 1u);
    unit->fmi2FreeInstance(c);
}

TEST(Unit, PlatformAndVersionNeedNoInstance) {
    FreshUnit unit{"Quarnet"};
    EXPECT_STREQ(unit->fmi2GetTypesPlatform(), "default");
    EXPECT_STREQ(unit->fmi2GetVersion(), "2.0");
}

TEST(Unit, NullComponentIsRefusedWithoutACrash) {
    FreshUnit unit{"Quarnet"};
    fmi2ValueReference vr = 0;
    double real = 5.0;
    int integer = 5;
    fmi2String text = "x";
    EXPECT_EQ(unit->fmi2SetDebugLogging(nullptr, fmi2True, 0, nullptr), fmi2Error);
    EXPECT_EQ(unit->fmi2SetupExperiment(nullptr, fmi2False, 0, 0, fmi2False, 0), fmi2Error);
    EXPECT_EQ(unit->fmi2ExitInitializationMode(nullptr), fmi2Error);
    EXPECT_EQ(unit->fmi2DoStep(nullptr, 0.0, 0.005, fmi2True), fmi2Error);
    EXPECT_EQ(unit->fmi2Reset(nullptr), fmi2Error);
    EXPECT_EQ(unit->fmi2GetReal(nullptr, &vr, 1, &real), fmi2Error);
    EXPECT_EQ(unit->fmi2SetReal(nullptr, &vr, 1, &real), fmi2Error);
    EXPECT_EQ(unit->fmi2GetInteger(nullptr, &vr, 1, &integer), fmi2Error);
    EXPECT_EQ(unit->fmi2SetInteger(nullptr, &vr, 1, &integer), fmi2Error);
    EXPECT_EQ(unit->fmi2GetBoolean(nullptr, &vr, 1, &integer), fmi2Error);
    EXPECT_EQ(unit->fmi2SetBoolean(nullptr, &vr, 1, &integer), fmi2Error);
    EXPECT_EQ(unit->fmi2GetString(nullptr, &vr, 1, &text), fmi2Error);
    EXPECT_EQ(unit->fmi2SetString(nullptr, &vr, 1, &text), fmi2Error);
    EXPECT_SAME_BITS(5.0, real);
    // These two never read the component.
    EXPECT_EQ(unit->fmi2EnterInitializationMode(nullptr), fmi2OK);
    EXPECT_EQ(unit->fmi2Terminate(nullptr), fmi2OK);
    unit->fmi2FreeInstance(nullptr);
}

// Freeing the current instance must leave no route to its storage: a later instance's
// steps still hold and restore correctly, and a second live instance keeps working.
TEST(Unit, FreeingTheCurrentInstanceLeavesOthersWorking) {
    FreshUnit unit{"Quarnet"};
    master::CallbackRecorder callbacks;
    fmi2Component first = unit.start(callbacks);
    fmi2Component second = unit.instantiate(callbacks, false, "second");
    ASSERT_NE(second, nullptr);
    unit->fmi2FreeInstance(second);  // second was current
    unit.set(first, 1, 3.0);
    ASSERT_EQ(unit->fmi2DoStep(first, 0.0, 0.01, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(3.0, unit.get(first, 7));
    fmi2Component third = unit.instantiate(callbacks, false, "third");
    ASSERT_NE(third, nullptr);
    unit.set(third, 0, 2.0);
    ASSERT_EQ(unit->fmi2DoStep(first, 0.01, 0.005, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(-2.0, unit.get(third, 6)) << "both tables reach the same model data";
    EXPECT_SAME_BITS(-2.0, unit.get(first, 6));
    unit->fmi2FreeInstance(third);
    unit->fmi2FreeInstance(first);
}

}  // namespace
