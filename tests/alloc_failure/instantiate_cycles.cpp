// Instantiate/free cycles over every path of fmi2Instantiate: successful ones that also
// step, each allocation failing in turn, and every refused argument. Run under a leak
// checker; it also checks by itself that each cycle leaves no block of the unit allocated.
//   instantiate_cycles_<Name> [cycles]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "allocation_counter.h"
#include "callback_recorder.h"
#include "fmi2_functions.h"
#include "model_binding.h"

namespace {

int failures = 0;

void check(bool ok, const char* what, const std::string& path) {
    if (ok) return;
    ++failures;
    std::fprintf(stderr, "%s: %s\n", path.c_str(), what);
}

struct Attempt {
    std::string path;
    const char* name;
    const char* guid;
    const char* location;
    bool withCallbacks;
    bool withLogger;
    long failAt;       // allocation call that fails, 0 for none
    size_t logLines;   // lines expected
};

void successfulCycle(const char* location, const std::string& path) {
    master::CallbackRecorder callbacks;
    allocation::Window window;
    fmi2Component c = fmi2Instantiate("unit", fmi2CoSimulation, modelBinding.modelGuid,
                                      location, &callbacks.functions, fmi2False, fmi2True);
    check(c != nullptr, "instantiation failed", path);
    if (c == nullptr) return;
    fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2False, 0.0);
    fmi2EnterInitializationMode(c);
    std::vector<fmi2ValueReference> inputs, outputs;
    for (unsigned k = 0; k < modelBinding.firstOutputRef; ++k) inputs.push_back(k);
    for (unsigned k = 0; k < modelBinding.outputCount; ++k)
        outputs.push_back(modelBinding.firstOutputRef + k);
    std::vector<double> values(inputs.size(), 1.0), results(outputs.size());
    check(fmi2SetReal(c, inputs.data(), inputs.size(), values.data()) == fmi2OK, "set", path);
    fmi2ExitInitializationMode(c);
    check(fmi2DoStep(c, 0.0, 0.01, fmi2True) == fmi2OK, "step", path);
    check(fmi2GetReal(c, outputs.data(), outputs.size(), results.data()) == fmi2OK, "get", path);
    fmi2Terminate(c);
    fmi2Reset(c);
    fmi2FreeInstance(c);
    check(allocation::outstanding() == 0, "blocks left after fmi2FreeInstance", path);
}

void refusedAttempt(const Attempt& a) {
    master::CallbackRecorder callbacks;
    if (!a.withLogger) callbacks.functions.logger = nullptr;
    allocation::Window window(a.failAt);
    fmi2Component c = fmi2Instantiate(a.name, fmi2CoSimulation, a.guid, a.location,
                                      a.withCallbacks ? &callbacks.functions : nullptr,
                                      fmi2False, fmi2True);
    check(c == nullptr, "refused instantiation returned an instance", a.path);
    if (c != nullptr) fmi2FreeInstance(c);
    check(allocation::outstanding() == 0, "blocks left after a refused instantiation", a.path);
    check(callbacks.log.size() == a.logLines, "wrong number of log lines", a.path);
}

}  // namespace

int main(int argc, char** argv) {
    long cycles = argc > 1 ? std::atol(argv[1]) : 20;
    const char* guid = modelBinding.modelGuid;
    const std::string oversized = "file:///" + std::string(3000, 'r') + "/%41/";
    const char* res = "file:///tmp/unit/resources";

    std::vector<Attempt> attempts = {
        {"null callback record", "unit", guid, nullptr, false, true, 0, 0},
        {"no logger", "unit", guid, nullptr, true, false, 0, 0},
        {"null name", nullptr, guid, nullptr, true, true, 0, 1},
        {"empty name", "", guid, nullptr, true, true, 0, 1},
        {"null GUID", "unit", nullptr, nullptr, true, true, 0, 1},
        {"empty GUID", "unit", "", nullptr, true, true, 0, 1},
        {"wrong GUID", "unit", "{00000000-0000-0000-0000-000000000000}", nullptr, true, true, 0, 1},
        {"http location", "unit", guid, "http://host/res", true, true, 0, 1},
        {"ftp location", "unit", guid, "ftp://host/res", true, true, 0, 1},
        {"empty location", "unit", guid, "", true, true, 0, 1},
        {"file URI without path", "unit", guid, "file:///", true, true, 0, 1},
        {"path of an invalid escape", "unit", guid, "file:///%zz", true, true, 0, 1},
    };
    const char* const parts[] = {"record", "name copy", "GUID copy", "resource buffer",
                                 "value-reference table", "output hold buffer"};
    for (long failAt = 1; failAt <= 6; ++failAt)
        attempts.push_back({std::string("failing ") + parts[failAt - 1], "unit", guid, res, true,
                            true, failAt, 1});
    for (long failAt = 1; failAt <= 5; ++failAt)
        attempts.push_back({std::string("failing ") + parts[failAt < 4 ? failAt - 1 : failAt] +
                                " without a location",
                            "unit", guid, nullptr, true, true, failAt, 1});

    for (long cycle = 0; cycle < cycles; ++cycle) {
        successfulCycle(nullptr, "success without a location");
        successfulCycle(res, "success with a location");
        successfulCycle(oversized.c_str(), "success with a location over 1024 characters");
        successfulCycle("C:\\work\\res", "success with a local path");
        for (const Attempt& attempt : attempts) refusedAttempt(attempt);
        if (failures > 0) break;
    }
    if (failures > 0) return 1;
    std::printf("%ld cycles over %zu paths: nothing left allocated\n", cycles,
                attempts.size() + 4);
    return 0;
}
