// A long communication step allocates nothing and sends no line per local step: the counts
// across 10000 local steps are those of one step's own lines.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "callback_recorder.h"
#include "fmi2_functions.h"
#include "model_binding.h"
#include "unit_suite.h"

namespace {

constexpr int localSteps = 10000;

TEST(UNIT_SUITE(LongStepCost), NoAllocationAndOnlyTheStepsOwnLogLines) {
    for (fmi2Boolean loggingOn : {fmi2False, fmi2True}) {
        SCOPED_TRACE(loggingOn ? "logging on" : "logging off");
        master::CallbackRecorder callbacks;
        fmi2Component c = fmi2Instantiate("unit", fmi2CoSimulation, modelBinding.modelGuid,
                                          nullptr, &callbacks.functions, fmi2False, loggingOn);
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
        ASSERT_EQ(fmi2EnterInitializationMode(c), fmi2OK);
        ASSERT_EQ(fmi2ExitInitializationMode(c), fmi2OK);
        callbacks.clear();
        {
            allocation::Window window;
            ASSERT_EQ(fmi2DoStep(c, 0.0, localSteps * 0.005, fmi2True), fmi2OK);
            EXPECT_EQ(allocation::calls(), 0);
        }
        // With logging on, the step size line and the step count line, once each.
        EXPECT_EQ(callbacks.loggerCalls, loggingOn ? 2 : 0);
        if (loggingOn && callbacks.log.size() == 2) {
            EXPECT_EQ(callbacks.log[1].message, "Local solver will do 10000 steps from t = 0.");
        }
        EXPECT_EQ(callbacks.stepsFinished.size(), 1u);
        fmi2FreeInstance(c);
    }
}

}  // namespace
