// libFuzzer harness: decodes each input into a sequence of fmi2* calls on one unit, linked
// in statically with its model, with arbitrary arguments in any order. Components are null
// or live, never freed ones; arrays always hold as many elements as the count passed.
// Every instance still live at the end of an input is freed, so leaks show per input.
// Beyond the sanitizers it checks what any call must keep: statuses fmi2OK or fmi2Error,
// the log convention, and one step-finished notification per fmi2DoStep.
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "call_codes.h"
#include "fmi2_functions.h"
#include "input_reader.h"
#include "instance.h"
#include "model_binding.h"

namespace {

using fuzz::InputReader;

constexpr size_t maxLiveInstances = 4;

void fail(const char* what) {
    std::fprintf(stderr, "call-sequence check failed: %s\n", what);
    std::abort();
}

void checkStatus(fmi2Status status) {
    if (status != fmi2OK && status != fmi2Error) fail("status other than fmi2OK or fmi2Error");
}

long stepFinishedCalls = 0;

// Formats every line, so a format whose arguments do not match shows up here.
void logger(fmi2ComponentEnvironment, fmi2String instanceName, fmi2Status status,
            fmi2String category, fmi2String message, ...) {
    if (instanceName == nullptr || category == nullptr || message == nullptr)
        fail("logger called with a null string");
    bool isError = status == fmi2Error && std::strcmp(category, "error") == 0;
    bool isInfo = status == fmi2OK && std::strcmp(category, "info") == 0;
    if (!isError && !isInfo) fail("status and category are not error/fmi2Error or info/fmi2OK");
    char line[512];
    va_list args;
    va_start(args, message);
    std::vsnprintf(line, sizeof line, message, args);
    va_end(args);
}

void stepFinished(fmi2ComponentEnvironment, fmi2Status status) {
    checkStatus(status);
    ++stepFinishedCalls;
}

int environmentTag;

// Callback records a master keeps for the whole run; opChangeCallbacks edits them.
fmi2CallbackFunctions callbackRecords[fuzz::callbackKindCount];

void resetCallbackRecords() {
    callbackRecords[fuzz::callbacksNull] = {};
    callbackRecords[fuzz::callbacksFull] = {logger, nullptr, nullptr, stepFinished,
                                            &environmentTag};
    callbackRecords[fuzz::callbacksNoLogger] = {nullptr, nullptr, nullptr, stepFinished,
                                                &environmentTag};
    callbackRecords[fuzz::callbacksNoStepFinished] = {logger, nullptr, nullptr, nullptr,
                                                      &environmentTag};
    callbackRecords[fuzz::callbacksNoEnvironment] = {logger, calloc, free, stepFinished,
                                                     nullptr};
}

double specialDouble(uint8_t code) {
    static const double values[fuzz::specialCount] = {
        0.0,
        -0.0,
        0.005,
        0.01,
        0.0075,
        0.005 + 4e-9,
        3e-9,
        5e-9,
        1e-7,
        -1e-7,
        2e-7,
        -0.005,
        1.0,
        -1.0,
        NAN,
        -NAN,
        INFINITY,
        -INFINITY,
        1.7976931348623157e308,
        -1.7976931348623157e308,
        4.9406564584124654e-324,
        10737418.235,    // the largest step whose count fits
        10737418.2375,   // the first whose count does not
        1e300,
    };
    return values[code % fuzz::specialCount];
}

double readDouble(InputReader& in) {
    uint8_t code = in.byte();
    if (code < fuzz::specialCount) return specialDouble(code);
    if (code == fuzz::doubleStepMultiple) return in.u16() * 0.005;
    uint64_t bits = in.u64();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

fmi2ValueReference readValueReference(InputReader& in) {
    uint8_t code = in.byte();
    if (code < fuzz::vrInRangeCodes) return code % (modelBinding.realRefCount + 2);
    if (code < fuzz::vrInRangeCodes + fuzz::vrJustAboveCodes)
        return modelBinding.realRefCount + (code - fuzz::vrInRangeCodes);
    return in.u32();
}

std::string longText(const std::string& piece) {
    std::string seed = piece.empty() ? std::string("a/%2F") : piece;
    std::string result;
    while (result.size() <= 1024 + seed.size()) result += seed;
    return result;
}

struct OwnedText {
    bool isNull = true;
    std::string text;
    const char* get() const { return isNull ? nullptr : text.c_str(); }
};

OwnedText readName(InputReader& in) {
    OwnedText name;
    switch (in.byte() % fuzz::textKindCount) {
        case fuzz::textNull: return name;
        case fuzz::textEmpty: break;
        case fuzz::textPlain: name.text = "unit"; break;
        case fuzz::textFromInput: name.text = in.text(); break;
        case fuzz::textLong: name.text = longText(in.text()); break;
        default: name.text = "second"; break;
    }
    name.isNull = false;
    return name;
}

OwnedText readGuid(InputReader& in) {
    OwnedText guid;
    switch (in.byte() % fuzz::textKindCount) {
        case fuzz::textNull: return guid;
        case fuzz::textEmpty: break;
        case fuzz::textPlain: guid.text = modelBinding.modelGuid; break;
        case fuzz::textFromInput: guid.text = in.text(); break;
        case fuzz::textLong: guid.text = longText(in.text()); break;
        default:
            guid.text = modelBinding.modelGuid;
            for (char& ch : guid.text)
                if (ch >= 'a' && ch <= 'f') ch = static_cast<char>(ch - 'a' + 'A');
            break;
    }
    guid.isNull = false;
    return guid;
}

OwnedText readLocation(InputReader& in) {
    static const char* const prefixes[] = {"file:///", "file:/", "file://localhost/",
                                           "http://", "ftp://", ""};
    OwnedText location;
    uint8_t kind = in.byte() % fuzz::locationKindCount;
    switch (kind) {
        case fuzz::locationNull: return location;
        case fuzz::locationEmpty: break;
        case fuzz::locationOversized: {
            const char* prefix = prefixes[in.byte() % 6];
            location.text = prefix + longText(in.text());
            break;
        }
        default: location.text = prefixes[kind - fuzz::locationFileLong] + in.text(); break;
    }
    location.isNull = false;
    return location;
}

struct Run {
    InputReader in;
    std::vector<fmi2Component> live;
    long stepsLeft = fuzz::localStepBudget;

    fmi2Component pickComponent() {
        uint8_t code = in.byte();
        if (code == 0 || live.empty()) return nullptr;
        return live[(code - 1) % live.size()];
    }

    size_t pickCount() {
        uint8_t code = in.byte();
        if (code < 240) return code % 20;
        return 20 + static_cast<size_t>(in.byte()) * 4;
    }

    void instantiate() {
        OwnedText name = readName(in);
        OwnedText guid = readGuid(in);
        OwnedText location = readLocation(in);
        const fmi2CallbackFunctions* callbacks = nullptr;
        uint8_t kind = in.byte() % fuzz::callbackKindCount;
        if (kind != fuzz::callbacksNull) callbacks = &callbackRecords[kind];
        fmi2Type type = in.byte() & 1 ? fmi2ModelExchange : fmi2CoSimulation;
        fmi2Boolean visible = static_cast<fmi2Boolean>(in.byte());
        uint8_t loggingCode = in.byte() % 3;
        fmi2Boolean loggingOn =
            static_cast<fmi2Boolean>(loggingCode == 2 ? in.u32() : loggingCode);
        if (live.size() >= maxLiveInstances) return;
        fmi2Component c = fmi2Instantiate(name.get(), type, guid.get(), location.get(),
                                          callbacks, visible, loggingOn);
        if (c != nullptr) live.push_back(c);
    }

    void freeInstance() {
        uint8_t code = in.byte();
        if (code == 0 || live.empty()) {
            fmi2FreeInstance(nullptr);
            return;
        }
        size_t index = (code - 1) % live.size();
        fmi2FreeInstance(live[index]);
        live.erase(live.begin() + static_cast<long>(index));
    }

    // The count fmi2DoStep will run for h, worked out as the step does; 0 when the step
    // size will be refused.
    static long predictedSteps(double h) {
        double scaled = h / 0.005 + 0.5;
        if (!(scaled < 2147483648.0 && scaled > -2147483648.0) || h < 0.0) return 0;
        long n = static_cast<long>(scaled);
        return std::fabs(h - static_cast<double>(n) * 0.005) <= 5e-9 ? n : 0;
    }

    void doStep() {
        fmi2Component c = pickComponent();
        uint8_t timeKind = in.byte() % fuzz::timeKindCount;
        double t = 0.0;
        if (timeKind == fuzz::timeAny) t = readDouble(in);
        double offset = timeKind == fuzz::timeOffset ? readDouble(in) : 0.0;
        double h = readDouble(in);
        fmi2Boolean noSetPrior = static_cast<fmi2Boolean>(in.byte());
        if (c == nullptr) {
            checkStatus(fmi2DoStep(nullptr, t, h, noSetPrior));
            return;
        }
        if (timeKind != fuzz::timeAny) t = static_cast<FmuInstance*>(c)->fmuTime + offset;
        long n = predictedSteps(h);
        // A step that would run past the budget gets a communication point it must refuse.
        if (n > stepsLeft) t = NAN;
        else stepsLeft -= n;
        const fmi2CallbackFunctions* callbacks = static_cast<FmuInstance*>(c)->functions;
        long before = stepFinishedCalls;
        checkStatus(fmi2DoStep(c, t, h, noSetPrior));
        long expected = callbacks->stepFinished != nullptr ? 1 : 0;
        if (stepFinishedCalls - before != expected) fail("not one step-finished per fmi2DoStep");
    }

    void realAccess(bool isGet) {
        fmi2Component c = pickComponent();
        size_t nvr = pickCount();
        uint8_t flags = in.byte();
        std::vector<fmi2ValueReference> refs(nvr);
        std::vector<double> values(nvr);
        for (size_t i = 0; i < nvr; ++i) refs[i] = readValueReference(in);
        if (!isGet)
            for (size_t i = 0; i < nvr; ++i) values[i] = readDouble(in);
        if (c == nullptr) return;
        const fmi2ValueReference* vr = flags & fuzz::nullRefArray ? nullptr : refs.data();
        double* value = flags & fuzz::nullValueArray ? nullptr : values.data();
        checkStatus(isGet ? fmi2GetReal(c, vr, nvr, value) : fmi2SetReal(c, vr, nvr, value));
    }

    void otherTypeAccess() {
        uint8_t which = in.byte() % 6;
        fmi2Component c = pickComponent();
        size_t nvr = pickCount();
        uint8_t flags = in.byte();
        std::vector<fmi2ValueReference> refs(nvr);
        for (size_t i = 0; i < nvr; ++i) refs[i] = readValueReference(in);
        std::vector<fmi2Integer> ints(nvr, 7);
        std::vector<fmi2String> strings(nvr, "text");
        if (c == nullptr) return;
        const fmi2ValueReference* vr = flags & fuzz::nullRefArray ? nullptr : refs.data();
        bool nullValue = flags & fuzz::nullValueArray;
        fmi2Integer* iv = nullValue ? nullptr : ints.data();
        fmi2String* sv = nullValue ? nullptr : strings.data();
        fmi2Status status = fmi2OK;
        switch (which) {
            case 0: status = fmi2GetInteger(c, vr, nvr, iv); break;
            case 1: status = fmi2SetInteger(c, vr, nvr, iv); break;
            case 2: status = fmi2GetBoolean(c, vr, nvr, iv); break;
            case 3: status = fmi2SetBoolean(c, vr, nvr, iv); break;
            case 4: status = fmi2GetString(c, vr, nvr, sv); break;
            default: status = fmi2SetString(c, vr, nvr, sv); break;
        }
        checkStatus(status);
        if (!nullValue)
            for (size_t i = 0; i < nvr; ++i)
                if (ints[i] != 7 || std::strcmp(strings[i], "text") != 0)
                    fail("an access without variables wrote its value array");
    }

    void inertCall() {
        uint8_t which = in.byte() % 25;
        fmi2Component c = pickComponent();
        size_t n = pickCount();
        bool nullArrays = in.byte() & 1;
        std::vector<fmi2ValueReference> refs(n, 0);
        std::vector<fmi2Integer> orders(n, 1);
        std::vector<double> values(n, 1.0);
        std::vector<fmi2Byte> bytes(n, 0);
        fmi2ValueReference* vr = nullArrays ? nullptr : refs.data();
        fmi2Integer* order = nullArrays ? nullptr : orders.data();
        double* value = nullArrays ? nullptr : values.data();
        fmi2Byte* byteArray = nullArrays ? nullptr : bytes.data();
        fmi2FMUstate state = nullptr;
        fmi2Boolean flagA = 0, flagB = 0;
        fmi2EventInfo info{};
        size_t size = 0;
        fmi2Status statusValue = fmi2OK;
        fmi2Real realValue = 0.0;
        fmi2Integer intValue = 0;
        fmi2Boolean boolValue = 0;
        fmi2String stringValue = nullptr;
        fmi2StatusKind kind = static_cast<fmi2StatusKind>(in.byte() % 4);
        fmi2Status s = fmi2OK;
        switch (which) {
            case 0: s = fmi2CancelStep(c); break;
            case 1: s = fmi2CompletedIntegratorStep(c, flagA, &flagA, &flagB); break;
            case 2: s = fmi2DeSerializeFMUstate(c, byteArray, n, &state); break;
            case 3: s = fmi2EnterContinuousTimeMode(c); break;
            case 4: s = fmi2EnterEventMode(c); break;
            case 5: s = fmi2FreeFMUstate(c, &state); break;
            case 6: s = fmi2GetBooleanStatus(c, kind, &boolValue); break;
            case 7: s = fmi2GetContinuousStates(c, value, n); break;
            case 8: s = fmi2GetDerivatives(c, value, n); break;
            case 9: s = fmi2GetDirectionalDerivative(c, vr, n, vr, n, value, value); break;
            case 10: s = fmi2GetEventIndicators(c, value, n); break;
            case 11: s = fmi2GetFMUstate(c, &state); break;
            case 12: s = fmi2GetIntegerStatus(c, kind, &intValue); break;
            case 13: s = fmi2GetNominalsOfContinuousStates(c, value, n); break;
            case 14: s = fmi2GetRealOutputDerivatives(c, vr, n, order, value); break;
            case 15: s = fmi2GetRealStatus(c, kind, &realValue); break;
            case 16: s = fmi2GetStatus(c, kind, &statusValue); break;
            case 17: s = fmi2GetStringStatus(c, kind, &stringValue); break;
            case 18: s = fmi2NewDiscreteStates(c, &info); break;
            case 19: s = fmi2SerializeFMUstate(c, state, byteArray, n); break;
            case 20: s = fmi2SerializedFMUstateSize(c, state, &size); break;
            case 21: s = fmi2SetContinuousStates(c, value, n); break;
            case 22: s = fmi2SetFMUstate(c, state); break;
            case 23: s = fmi2SetRealInputDerivatives(c, vr, n, order, value); break;
            default: s = fmi2SetTime(c, readDouble(in)); break;
        }
        if (s != fmi2OK) fail("an entry point without effect did not return fmi2OK");
        if (which == 14 && value != nullptr)
            for (size_t i = 0; i < n; ++i)
                if (values[i] != 0.0 || std::signbit(values[i]))
                    fail("output derivatives are not +0.0");
    }

    void changeCallbacks() {
        fmi2CallbackFunctions& record =
            callbackRecords[1 + in.byte() % (fuzz::callbackKindCount - 1)];
        // A master may drop or restore its logger or step-finished callback and change its
        // environment between calls.
        switch (in.byte() % 3) {
            case 0: record.stepFinished = record.stepFinished ? nullptr : stepFinished; break;
            case 1: record.logger = record.logger ? nullptr : logger; break;
            default:
                record.componentEnvironment = record.componentEnvironment ? nullptr : &environmentTag;
        }
    }

    void step() {
        switch (in.byte() % fuzz::opCount) {
            case fuzz::opInstantiate: instantiate(); break;
            case fuzz::opFreeInstance: freeInstance(); break;
            case fuzz::opSetupExperiment: {
                fmi2Component c = pickComponent();
                fmi2Boolean toleranceDefined = in.byte();
                double tolerance = readDouble(in);
                double start = readDouble(in);
                fmi2Boolean stopDefined = in.byte();
                double stop = readDouble(in);
                if (c != nullptr)
                    checkStatus(fmi2SetupExperiment(c, toleranceDefined, tolerance, start,
                                                    stopDefined, stop));
                break;
            }
            case fuzz::opEnterInitializationMode:
                checkStatus(fmi2EnterInitializationMode(pickComponent()));
                break;
            case fuzz::opExitInitializationMode: {
                fmi2Component c = pickComponent();
                if (c != nullptr && stepsLeft > 0) {
                    --stepsLeft;
                    checkStatus(fmi2ExitInitializationMode(c));
                }
                break;
            }
            case fuzz::opDoStep: doStep(); break;
            case fuzz::opTerminate: checkStatus(fmi2Terminate(pickComponent())); break;
            case fuzz::opReset: {
                fmi2Component c = pickComponent();
                if (c != nullptr) checkStatus(fmi2Reset(c));
                break;
            }
            case fuzz::opGetReal: realAccess(true); break;
            case fuzz::opSetReal: realAccess(false); break;
            case fuzz::opOtherTypeAccess: otherTypeAccess(); break;
            case fuzz::opSetDebugLogging: {
                fmi2Component c = pickComponent();
                uint8_t code = in.byte();
                fmi2Boolean on = static_cast<fmi2Boolean>(code % 3 == 2 ? in.u32() : code & 1);
                size_t n = pickCount();
                bool nullCategories = in.byte() & 1;
                std::vector<fmi2String> categories(n, "error");
                if (c != nullptr)
                    checkStatus(fmi2SetDebugLogging(c, on, n,
                                                    nullCategories ? nullptr : categories.data()));
                break;
            }
            case fuzz::opPlatformAndVersion:
                if (std::strcmp(fmi2GetTypesPlatform(), "default") != 0 ||
                    std::strcmp(fmi2GetVersion(), "2.0") != 0)
                    fail("platform or version string");
                break;
            case fuzz::opInertCall: inertCall(); break;
            default: changeCallbacks(); break;
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    resetCallbackRecords();
    Run run{InputReader(data, size), {}};
    // The first byte decides whether the model starts initialised. Model data are static,
    // so only the first input of a process meets a model that no initialise has touched.
    if (run.in.byte() & 1) modelBinding.initialize();
    while (!run.in.done()) run.step();
    for (fmi2Component c : run.live) fmi2FreeInstance(c);
    return 0;
}
