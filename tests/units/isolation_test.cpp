// Two copies of one unit loaded from two files share nothing: model data, current
// instance and parameters are each copy's own.
#include <gtest/gtest.h>

#include "bits.h"
#include "unit_under_test.h"

namespace {

struct Isolation : ::testing::TestWithParam<support::UnitFiles> {};

TEST_P(Isolation, TwoCopiesShareNothing) {
    support::FreshUnit a{GetParam().name};
    support::FreshUnit b{GetParam().name};
    master::CallbackRecorder callbacksA, callbacksB;
    fmi2Component ca = a.start(callbacksA);
    fmi2Component cb = b.start(callbacksB);
    ASSERT_NE(ca, nullptr);
    ASSERT_NE(cb, nullptr);
    const master::ModelDescription& md = a.description();
    const auto inputs = md.withCausality("input");
    const auto outputs = md.withCausality("output");
    ASSERT_FALSE(inputs.empty());

    std::vector<double> before;
    for (const auto* v : outputs) before.push_back(b.get(cb, v->valueReference));
    for (const auto* v : inputs) a.set(ca, v->valueReference, 0.75);
    for (const auto* v : outputs) a.set(ca, v->valueReference, 123.0);
    for (const auto* v : inputs) EXPECT_SAME_BITS(0.0, b.get(cb, v->valueReference)) << v->name;
    for (size_t k = 0; k < outputs.size(); ++k)
        EXPECT_SAME_BITS(before[k], b.get(cb, outputs[k]->valueReference));

    ASSERT_EQ(a->fmi2DoStep(ca, 0.0, 0.01, fmi2True), fmi2OK);
    EXPECT_SAME_BITS(0.0, b.get(cb, md.withCausality("independent").front()->valueReference));
    // Freeing a's instance leaves b's current instance and steps alone.
    a->fmi2FreeInstance(ca);
    EXPECT_EQ(b->fmi2DoStep(cb, 0.0, 0.01, fmi2True), fmi2OK);
    for (const auto* v : inputs) EXPECT_SAME_BITS(0.0, b.get(cb, v->valueReference));
    EXPECT_TRUE(callbacksB.log.empty());
    b->fmi2FreeInstance(cb);
}

INSTANTIATE_TEST_SUITE_P(EachUnit, Isolation, ::testing::ValuesIn(support::allUnits()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
