// One unit's costs, measured through our master (the unit's shared library as a master
// loads it) beside the unit's own model step called directly from its static library.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "fmi2_functions.h"
#include "model_binding.h"
#include "unit_library.h"

namespace {

constexpr int longStepLocalSteps = 10000;
constexpr double localStep = 0.005;

long loggerCalls = 0;
long stepsFinished = 0;

// Counting callbacks: the recorder of the tests keeps every line, which a benchmark of
// millions of calls must not.
void countingLogger(fmi2ComponentEnvironment, fmi2String, fmi2Status, fmi2String, fmi2String,
                    ...) {
    ++loggerCalls;
}
void countingStepFinished(fmi2ComponentEnvironment, fmi2Status) { ++stepsFinished; }
const fmi2CallbackFunctions callbacks = {countingLogger, nullptr, nullptr, countingStepFinished,
                                         nullptr};

master::UnitLibrary& unit() {
    static master::UnitLibrary library(UNIT_LIBRARY);
    return library;
}

std::vector<fmi2ValueReference> refs(unsigned first, unsigned count) {
    std::vector<fmi2ValueReference> result;
    for (unsigned k = 0; k < count; ++k) result.push_back(first + k);
    return result;
}

// Moderate input values, the same for the unit and for the raw model.
double inputValue(unsigned k) { return 0.25 + 0.125 * k; }

// An instance of the loaded unit, initialised and one local step in, at time 0.
struct RunningUnit {
    master::UnitLibrary& lib = unit();
    fmi2Component c = nullptr;
    double time = 0.0;

    RunningUnit() {
        c = lib.fmi2Instantiate("bench", fmi2CoSimulation, modelBinding.modelGuid, nullptr,
                                &callbacks, fmi2False, fmi2False);
        if (c == nullptr) return;
        lib.fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2False, 0.0);
        lib.fmi2EnterInitializationMode(c);
        std::vector<fmi2ValueReference> inputs = refs(0, modelBinding.firstOutputRef);
        std::vector<double> values;
        for (unsigned k = 0; k < inputs.size(); ++k) values.push_back(inputValue(k));
        lib.fmi2SetReal(c, inputs.data(), inputs.size(), values.data());
        lib.fmi2ExitInitializationMode(c);
    }
    ~RunningUnit() { lib.fmi2FreeInstance(c); }

    bool longStep() {
        double h = longStepLocalSteps * localStep;
        bool ok = lib.fmi2DoStep(c, time, h, fmi2True) == fmi2OK;
        time += h;
        return ok;
    }
};

// The statically linked copy of the model, with no instance: its step's output hold finds
// no current instance and returns, so this is the model's arithmetic alone.
void prepareRawModel() {
    modelBinding.initialize();
    for (unsigned k = 0; k < modelBinding.firstOutputRef; ++k)
        *modelBinding.valueTable[k] = inputValue(k);
}

void rawSteps(int count) {
    for (int i = 0; i < count; ++i) modelBinding.step();
    benchmark::ClobberMemory();
}

void BM_LongDoStep(benchmark::State& state) {
    RunningUnit run;
    if (run.c == nullptr) return state.SkipWithError("fmi2Instantiate failed");
    long loggerBefore = loggerCalls;
    for (auto _ : state)
        if (!run.longStep()) return state.SkipWithError("fmi2DoStep refused");
    double localSteps = static_cast<double>(state.iterations()) * longStepLocalSteps;
    state.SetItemsProcessed(static_cast<int64_t>(localSteps));
    state.counters["time_per_local_step"] =
        benchmark::Counter(localSteps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["logger_calls_per_long_step"] =
        static_cast<double>(loggerCalls - loggerBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LongDoStep)->Unit(benchmark::kMicrosecond);

void BM_RawModelStep(benchmark::State& state) {
    prepareRawModel();
    for (auto _ : state) rawSteps(longStepLocalSteps);
    double localSteps = static_cast<double>(state.iterations()) * longStepLocalSteps;
    state.SetItemsProcessed(static_cast<int64_t>(localSteps));
    state.counters["time_per_local_step"] =
        benchmark::Counter(localSteps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RawModelStep)->Unit(benchmark::kMicrosecond);

// The same with an instance of the static copy current, so that the model's step also
// stores its outputs into that instance's hold buffer: the model's part of the output hold.
void BM_RawModelStepWithStore(benchmark::State& state) {
    prepareRawModel();
    fmi2Component c = fmi2Instantiate("raw", fmi2CoSimulation, modelBinding.modelGuid, nullptr,
                                      &callbacks, fmi2False, fmi2False);
    if (c == nullptr) return state.SkipWithError("fmi2Instantiate failed");
    for (auto _ : state) rawSteps(longStepLocalSteps);
    fmi2FreeInstance(c);
    double localSteps = static_cast<double>(state.iterations()) * longStepLocalSteps;
    state.SetItemsProcessed(static_cast<int64_t>(localSteps));
    state.counters["time_per_local_step"] =
        benchmark::Counter(localSteps, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RawModelStepWithStore)->Unit(benchmark::kMicrosecond);

// All three, interleaved in one loop so that clock changes hit them alike. The ratios are
// the unit's cost per local step over the model's arithmetic alone and over the model's
// step with its output store (target: at most 1.05).
void BM_LongStepOverRawSteps(benchmark::State& state) {
    using clock = std::chrono::steady_clock;
    RunningUnit run;
    if (run.c == nullptr) return state.SkipWithError("fmi2Instantiate failed");
    prepareRawModel();
    double unitSeconds = 0.0, rawSeconds = 0.0, storeSeconds = 0.0;
    for (auto _ : state) {
        auto start = clock::now();
        if (!run.longStep()) return state.SkipWithError("fmi2DoStep refused");
        auto unitDone = clock::now();
        rawSteps(longStepLocalSteps);
        auto rawDone = clock::now();
        fmi2Component c = fmi2Instantiate("raw", fmi2CoSimulation, modelBinding.modelGuid,
                                          nullptr, &callbacks, fmi2False, fmi2False);
        auto storeStart = clock::now();
        rawSteps(longStepLocalSteps);
        auto end = clock::now();
        fmi2FreeInstance(c);
        unitSeconds += std::chrono::duration<double>(unitDone - start).count();
        rawSeconds += std::chrono::duration<double>(rawDone - unitDone).count();
        storeSeconds += std::chrono::duration<double>(end - storeStart).count();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    double localSteps = static_cast<double>(state.iterations()) * longStepLocalSteps;
    state.counters["unit_ns"] = 1e9 * unitSeconds / localSteps;
    state.counters["arithmetic_ns"] = 1e9 * rawSeconds / localSteps;
    state.counters["step_with_store_ns"] = 1e9 * storeSeconds / localSteps;
    state.counters["ratio_to_arithmetic"] = unitSeconds / rawSeconds;
    state.counters["ratio_to_step_with_store"] = unitSeconds / storeSeconds;
}
BENCHMARK(BM_LongStepOverRawSteps)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_RoundTrip(benchmark::State& state) {
    RunningUnit run;
    if (run.c == nullptr) return state.SkipWithError("fmi2Instantiate failed");
    std::vector<fmi2ValueReference> inputs = refs(0, modelBinding.firstOutputRef);
    std::vector<fmi2ValueReference> outputs =
        refs(modelBinding.firstOutputRef, modelBinding.outputCount);
    std::vector<double> in(inputs.size()), out(outputs.size());
    for (unsigned k = 0; k < in.size(); ++k) in[k] = inputValue(k);
    for (auto _ : state) {
        run.lib.fmi2SetReal(run.c, inputs.data(), inputs.size(), in.data());
        if (run.lib.fmi2DoStep(run.c, run.time, localStep, fmi2True) != fmi2OK)
            return state.SkipWithError("fmi2DoStep refused");
        run.time += localStep;
        run.lib.fmi2GetReal(run.c, outputs.data(), outputs.size(), out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kNanosecond);

long residentKilobytes() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return -1;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = -1;
    std::fclose(statm);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// 10^6 instantiate/free cycles with every allocation of fmi2Instantiate: the resident size
// after them, against the size after the first 10^4, must stay flat.
void BM_InstantiateFreeCycles(benchmark::State& state) {
    master::UnitLibrary& lib = unit();
    const long cycles = state.range(0);
    for (auto _ : state) {
        long warmKb = 0;
        for (long i = 0; i < cycles; ++i) {
            fmi2Component c = lib.fmi2Instantiate("bench", fmi2CoSimulation,
                                                  modelBinding.modelGuid,
                                                  "file:///tmp/unit/resources", &callbacks,
                                                  fmi2False, fmi2False);
            if (c == nullptr) return state.SkipWithError("fmi2Instantiate failed");
            lib.fmi2FreeInstance(c);
            if (i + 1 == 10000) warmKb = residentKilobytes();
        }
        state.counters["rss_after_1e4_kB"] = static_cast<double>(warmKb);
        state.counters["rss_growth_kB"] = static_cast<double>(residentKilobytes() - warmKb);
    }
    state.counters["time_per_cycle"] = benchmark::Counter(
        static_cast<double>(cycles) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InstantiateFreeCycles)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
