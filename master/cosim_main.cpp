// cosim: runs one unit from its .fmu and prints its outputs as CSV.
//   cosim <unit.fmu> [--stop-time T] [--step-size H] [--set name=value ...] [--log]
//   cosim --help
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "callback_recorder.h"
#include "fmu_package.h"
#include "unit_library.h"

namespace {

const char* const usage =
    "usage: cosim <unit.fmu> [--stop-time T] [--step-size H] [--set name=value ...] [--log]";

struct Options {
    bool help = false;
    std::string fmuPath;
    double stopTime = 1.0;
    double stepSize = 0.01;
    std::vector<std::pair<std::string, double>> sets;
    bool log = false;
};

double parseNumber(const std::string& text, const std::string& what) {
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        throw std::invalid_argument(what + " is not a number: '" + text + "'");
    return value;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char* option) {
            if (i + 1 >= argc) throw std::invalid_argument(std::string(option) + " needs a value");
            return std::string(argv[++i]);
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        } else if (arg == "--stop-time") {
            options.stopTime = parseNumber(value("--stop-time"), "--stop-time");
        } else if (arg == "--step-size") {
            options.stepSize = parseNumber(value("--step-size"), "--step-size");
        } else if (arg == "--set") {
            std::string assignment = value("--set");
            size_t eq = assignment.find('=');
            if (eq == std::string::npos || eq == 0)
                throw std::invalid_argument("--set expects name=value, got '" + assignment + "'");
            options.sets.emplace_back(assignment.substr(0, eq),
                                      parseNumber(assignment.substr(eq + 1),
                                                  "value of " + assignment.substr(0, eq)));
        } else if (arg == "--log") {
            options.log = true;
        } else if (!arg.empty() && arg[0] == '-') {
            throw std::invalid_argument("unknown option " + arg);
        } else if (options.fmuPath.empty()) {
            options.fmuPath = arg;
        } else {
            throw std::invalid_argument("more than one unit given: " + arg);
        }
    }
    if (options.fmuPath.empty()) throw std::invalid_argument("no unit given");
    if (!(options.stepSize > 0.0) || !std::isfinite(options.stepSize))
        throw std::invalid_argument("--step-size must be a positive number");
    if (!(options.stopTime >= 0.0) || !std::isfinite(options.stopTime))
        throw std::invalid_argument("--stop-time must be a non-negative number");
    if (options.stopTime / options.stepSize > 1e9)
        throw std::invalid_argument("--stop-time / --step-size gives too many steps");
    return options;
}

std::string variableNames(const master::ModelDescription& md) {
    std::string names;
    for (const auto& v : md.variables) {
        if (v.causality != "input" && v.causality != "parameter") continue;
        names += names.empty() ? "" : ", ";
        names += v.name;
    }
    return names;
}

// A refused call ends the run with the unit's own reason, when it logged one.
void check(fmi2Status status, const char* call, const master::CallbackRecorder& callbacks) {
    if (status == fmi2OK) return;
    std::string reason = std::string(call) + " failed";
    for (auto line = callbacks.log.rbegin(); line != callbacks.log.rend(); ++line) {
        if (line->status == fmi2Error) {
            reason += ": " + line->message;
            break;
        }
    }
    throw std::runtime_error(reason);
}

int run(const Options& options) {
    master::FmuPackage package(options.fmuPath);
    const master::ModelDescription& md = package.description();

    std::vector<std::pair<fmi2ValueReference, double>> assignments;
    for (const auto& [name, value] : options.sets) {
        const master::ScalarVariable* v = md.find(name);
        if (v == nullptr || (v->causality != "input" && v->causality != "parameter"))
            throw std::invalid_argument("unknown variable '" + name +
                                        "'; settable variables: " + variableNames(md));
        assignments.emplace_back(v->valueReference, value);
    }
    std::vector<const master::ScalarVariable*> outputs = md.withCausality("output");
    std::vector<fmi2ValueReference> outputRefs;
    for (const auto* v : outputs) outputRefs.push_back(v->valueReference);

    master::UnitLibrary unit(package.libraryPath());
    master::CallbackRecorder callbacks;
    callbacks.echoToStderr = options.log;
    fmi2Component c = unit.fmi2Instantiate("cosim", fmi2CoSimulation, md.guid.c_str(),
                                           package.resourceLocation().c_str(),
                                           &callbacks.functions, fmi2False,
                                           options.log ? fmi2True : fmi2False);
    if (c == nullptr) check(fmi2Error, "fmi2Instantiate", callbacks);

    std::vector<double> values(outputRefs.size());
    auto printRow = [&](double time) {
        check(unit.fmi2GetReal(c, outputRefs.data(), outputRefs.size(), values.data()),
              "fmi2GetReal", callbacks);
        std::printf("%.17g", time);
        for (double v : values) std::printf(",%.17g", v);
        std::printf("\n");
    };

    try {
        check(unit.fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2True, options.stopTime),
              "fmi2SetupExperiment", callbacks);
        check(unit.fmi2EnterInitializationMode(c), "fmi2EnterInitializationMode", callbacks);
        for (const auto& [vr, value] : assignments)
            check(unit.fmi2SetReal(c, &vr, 1, &value), "fmi2SetReal", callbacks);
        check(unit.fmi2ExitInitializationMode(c), "fmi2ExitInitializationMode", callbacks);

        std::printf("time");
        for (const auto* v : outputs) std::printf(",%s", v->name.c_str());
        std::printf("\n");
        double time = 0.0;
        printRow(time);
        long long steps = std::llround(options.stopTime / options.stepSize);
        for (long long k = 0; k < steps; ++k) {
            check(unit.fmi2DoStep(c, time, options.stepSize, fmi2True), "fmi2DoStep", callbacks);
            time += options.stepSize;
            printRow(time);
        }
        unit.fmi2Terminate(c);
    } catch (...) {
        unit.fmi2FreeInstance(c);
        throw;
    }
    unit.fmi2FreeInstance(c);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parseOptions(argc, argv);
        if (options.help) {
            std::printf("%s\n", usage);
            return 0;
        }
        return run(options);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "cosim: %s\n%s\n", e.what(), usage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cosim: %s\n", e.what());
        return 1;
    }
}
