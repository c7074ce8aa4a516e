// fmi2Instantiate when each of its allocations fails in turn: one error line with the
// caller's name, null, nothing left allocated, and the instance that was current before
// still current and stepping through its own hold buffer.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "allocation_counter.h"
#include "bits.h"
#include "callback_recorder.h"
#include "fmi2_functions.h"
#include "instance.h"
#include "model_binding.h"
#include "unit_suite.h"

namespace {

const char* const allocationError = "fmi2Instantiate: Memory allocation error.";
const char* const resourceLocation = "file:///tmp/unit/resources";

fmi2Component instantiate(master::CallbackRecorder& callbacks, const char* name,
                          const char* location) {
    return fmi2Instantiate(name, fmi2CoSimulation, modelBinding.modelGuid, location,
                           &callbacks.functions, fmi2False, fmi2False);
}

struct AllocationStep {
    long failAt;          // 1-based allocation call of fmi2Instantiate
    const char* location;
    const char* what;
};

// The order fmi2Instantiate allocates in; without a resource location there is no buffer.
const AllocationStep allocationSteps[] = {
    {1, resourceLocation, "record"},
    {2, resourceLocation, "instance name copy"},
    {3, resourceLocation, "GUID copy"},
    {4, resourceLocation, "resource path buffer"},
    {5, resourceLocation, "value-reference table"},
    {6, resourceLocation, "output hold buffer"},
    {1, nullptr, "record"},
    {2, nullptr, "instance name copy"},
    {3, nullptr, "GUID copy"},
    {4, nullptr, "value-reference table"},
    {5, nullptr, "output hold buffer"},
};

void expectOneAllocationError(const master::CallbackRecorder& callbacks, const char* name) {
    ASSERT_EQ(callbacks.log.size(), 1u);
    const master::LogLine& line = callbacks.log[0];
    EXPECT_EQ(line.message, allocationError);
    EXPECT_EQ(line.format, allocationError);
    EXPECT_EQ(line.instanceName, name);
    EXPECT_EQ(line.status, fmi2Error);
    EXPECT_EQ(line.category, "error");
    EXPECT_TRUE(callbacks.stepsFinished.empty());
}

TEST(UNIT_SUITE(InstantiateAllocation), SuccessAllocatesOncePerPartAndFreeReleasesAll) {
    for (const char* location : {resourceLocation, static_cast<const char*>(nullptr)}) {
        master::CallbackRecorder callbacks;
        allocation::Window window;
        fmi2Component c = instantiate(callbacks, "unit", location);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(allocation::calls(), location ? 6 : 5);
        EXPECT_EQ(allocation::outstanding(), location ? 6 : 5);
        EXPECT_TRUE(callbacks.log.empty());
        fmi2FreeInstance(c);
        EXPECT_EQ(allocation::outstanding(), 0);
        EXPECT_EQ(allocation::calls(), location ? 6 : 5) << "freeing allocates nothing";
    }
}

TEST(UNIT_SUITE(InstantiateAllocation), EachFailureReportsOnceAndReleasesEverything) {
    for (const AllocationStep& step : allocationSteps) {
        SCOPED_TRACE(std::string(step.what) + (step.location ? " with" : " without") +
                     " a resource location");
        fmi2Component before = currentInstance;
        master::CallbackRecorder callbacks;
        fmi2Component c;
        long calls, outstanding;
        {
            allocation::Window window(step.failAt);
            c = instantiate(callbacks, "caller name", step.location);
            calls = allocation::calls();
            outstanding = allocation::outstanding();
        }
        EXPECT_EQ(c, nullptr);
        EXPECT_EQ(calls, step.failAt) << "no allocation after the failed one";
        EXPECT_EQ(outstanding, 0);
        expectOneAllocationError(callbacks, "caller name");
        EXPECT_EQ(currentInstance, before);
    }
}

TEST(UNIT_SUITE(InstantiateAllocation), InstanceMadeBeforeStaysCurrentAndSteps) {
    master::CallbackRecorder liveCallbacks;
    fmi2Component live = instantiate(liveCallbacks, "live", nullptr);
    ASSERT_NE(live, nullptr);
    ASSERT_EQ(fmi2SetupExperiment(live, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
    ASSERT_EQ(fmi2EnterInitializationMode(live), fmi2OK);
    FmuInstance* record = static_cast<FmuInstance*>(live);
    double time = 0.0;

    for (const AllocationStep& step : allocationSteps) {
        SCOPED_TRACE(step.what);
        master::CallbackRecorder callbacks;
        {
            allocation::Window window(step.failAt);
            EXPECT_EQ(instantiate(callbacks, "second", step.location), nullptr);
            EXPECT_EQ(allocation::outstanding(), 0);
        }
        expectOneAllocationError(callbacks, "second");
        ASSERT_EQ(currentInstance, record);

        // Poison the hold buffer: a step that holds through this instance overwrites it
        // with the outputs the model computed.
        for (unsigned k = 0; k < modelBinding.outputCount; ++k) record->outputBuffer[k] = -7.0;
        ASSERT_EQ(fmi2DoStep(live, time, 0.01, fmi2True), fmi2OK);
        time += 0.01;
        fmi2ValueReference timeRef = modelBinding.timeRef;
        double unitTime = 0.0;
        ASSERT_EQ(fmi2GetReal(live, &timeRef, 1, &unitTime), fmi2OK);
        EXPECT_SAME_BITS(time, unitTime);
        for (unsigned k = 0; k < modelBinding.outputCount; ++k) {
            fmi2ValueReference vr = modelBinding.firstOutputRef + k;
            double output = 0.0;
            ASSERT_EQ(fmi2GetReal(live, &vr, 1, &output), fmi2OK);
            EXPECT_SAME_BITS(output, record->outputBuffer[k]) << "output " << k;
        }
    }
    EXPECT_TRUE(liveCallbacks.log.empty()) << "the failures are reported to their caller only";
    EXPECT_EQ(liveCallbacks.stepsFinished.size(), std::size(allocationSteps));
    fmi2FreeInstance(live);
}

}  // namespace
