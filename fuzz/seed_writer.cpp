// Writes the seed corpus of the call-sequence fuzzers: usual runs, every refusal of
// fmi2Instantiate, rejected steps, out-of-range and null accesses, the entry points without
// effect. The codes are those of call_codes.h, so one corpus serves every unit: value
// references are taken modulo each unit's own count when decoded.
//   fuzz_seed_writer <directory>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "call_codes.h"

namespace {

using namespace fuzz;

// Special-value indices, as listed in the harness.
enum Special : uint8_t {
    zero = 0, negativeZero = 1, oneStep = 2, twoSteps = 3, threeQuarterSteps = 4,
    stepPlusSlack = 5, tinyStep = 6, exactTolerance = 7, startLimit = 8,
    negativeStartLimit = 9, overStartLimit = 10, negativeStep = 11, one = 12,
    negativeOne = 13, nan = 14, negativeNan = 15, inf = 16, negativeInf = 17, huge = 18,
    negativeHuge = 19, denormal = 20, largestFit = 21, firstUnfit = 22, veryLarge = 23,
};

class Seed {
public:
    explicit Seed(bool initialiseFirst) { bytes_.push_back(initialiseFirst ? 1 : 0); }

    Seed& instantiate(TextKind name, TextKind guid, LocationKind location,
                      const std::string& locationText = "", CallbackKind callbacks = callbacksFull,
                      uint8_t loggingCode = 0) {
        op(opInstantiate);
        text(name, "name");
        text(guid, "{guid}");
        put(location);
        if (location == locationOversized) put(0);  // the "file:///" prefix
        if (location != locationNull && location != locationEmpty) str(locationText);
        put(callbacks);
        put(0);  // co-simulation
        put(0);  // not visible
        put(loggingCode);
        if (loggingCode == 2) u32(0x80000000u);
        return *this;
    }
    Seed& start() {
        instantiate(textPlain, textPlain, locationNull);
        setup(1, zero);
        op(opEnterInitializationMode);
        put(1);
        return *this;
    }
    Seed& free(uint8_t which = 1) { op(opFreeInstance); put(which); return *this; }
    Seed& setup(uint8_t component, Special startTime) {
        op(opSetupExperiment);
        put(component);
        put(0);
        put(zero);
        put(startTime);
        put(0);
        put(zero);
        return *this;
    }
    Seed& exitInit(uint8_t component = 1) { op(opExitInitializationMode); put(component); return *this; }
    Seed& doStep(Special h, uint8_t component = 1) {
        op(opDoStep);
        put(component);
        put(timeCurrent);
        put(h);
        put(1);
        return *this;
    }
    Seed& doStepMultiple(uint16_t steps, uint8_t component = 1) {
        op(opDoStep);
        put(component);
        put(timeCurrent);
        put(doubleStepMultiple);
        u16(steps);
        put(1);
        return *this;
    }
    Seed& doStepAt(Special t, Special h) {
        op(opDoStep);
        put(1);
        put(timeAny);
        put(t);
        put(h);
        put(0);
        return *this;
    }
    Seed& access(Op which, uint8_t first, uint8_t count, uint8_t flags = 0,
                 Special value = one) {
        op(which);
        put(1);
        put(count);
        put(flags);
        for (uint8_t i = 0; i < count; ++i) put(static_cast<uint8_t>(first + i));
        if (which == opSetReal)
            for (uint8_t i = 0; i < count; ++i) put(value);
        return *this;
    }
    Seed& accessFarReference(Op which, uint32_t vr) {
        op(which);
        put(1);
        put(1);
        put(0);
        put(255);
        u32(vr);
        if (which == opSetReal) put(one);
        return *this;
    }
    Seed& otherType(uint8_t which, uint8_t count, uint8_t flags) {
        op(opOtherTypeAccess);
        put(which);
        put(1);
        put(count);
        put(flags);
        for (uint8_t i = 0; i < count; ++i) put(i);
        return *this;
    }
    Seed& inert(uint8_t which, uint8_t count, bool nullArrays) {
        op(opInertCall);
        put(which);
        put(1);
        put(count);
        put(nullArrays ? 1 : 0);
        put(0);  // status kind
        if (which == 24) put(nan);
        return *this;
    }
    Seed& logging(uint8_t code) {
        op(opSetDebugLogging);
        put(1);
        put(code);
        put(0);
        put(1);
        return *this;
    }
    Seed& simple(Op which, uint8_t component = 1) { op(which); put(component); return *this; }
    Seed& changeCallbacks(uint8_t record, bool stepFinished) {
        op(opChangeCallbacks);
        put(record);
        put(stepFinished ? 1 : 0);
        return *this;
    }

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    void op(Op code) { put(code); }
    void put(uint8_t value) { bytes_.push_back(value); }
    void u16(uint16_t value) { put(value & 0xff); put(value >> 8); }
    void u32(uint32_t value) {
        for (int i = 0; i < 4; ++i) put(static_cast<uint8_t>(value >> (8 * i)));
    }
    void str(const std::string& text) {
        put(static_cast<uint8_t>(text.size()));
        for (char c : text) put(static_cast<uint8_t>(c));
    }
    void text(TextKind kind, const std::string& fromInput) {
        put(kind);
        if (kind == textFromInput || kind == textLong) str(fromInput);
    }
    std::vector<uint8_t> bytes_;
};

bool write(const std::string& directory, const std::string& name, const Seed& seed) {
    std::string path = directory + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    size_t written = std::fwrite(seed.bytes().data(), 1, seed.bytes().size(), file);
    return std::fclose(file) == 0 && written == seed.bytes().size();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<std::pair<std::string, Seed>> seeds;

    seeds.push_back({"usual_run", Seed(true).start()
                                     .access(opSetReal, 0, 19)
                                     .exitInit()
                                     .doStep(oneStep).doStep(twoSteps).doStepMultiple(200)
                                     .access(opGetReal, 0, 19)
                                     .simple(opTerminate).free()});
    seeds.push_back({"step_before_initialise", Seed(false)
                                                  .instantiate(textPlain, textPlain, locationNull)
                                                  .exitInit().doStep(oneStep).free()});
    seeds.push_back({"logging_run", Seed(true)
                                        .instantiate(textPlain, textPlain, locationNull, "",
                                                     callbacksFull, 2)
                                        .setup(1, zero).simple(opEnterInitializationMode)
                                        .access(opSetReal, 0, 6).exitInit()
                                        .doStep(oneStep).doStep(threeQuarterSteps)
                                        .doStep(negativeStep).doStep(nan).doStep(inf)
                                        .doStep(firstUnfit).doStep(largestFit)
                                        .access(opGetReal, 0, 6).logging(0)
                                        .doStep(oneStep).free()});
    seeds.push_back({"rejected_steps", Seed(true).start()
                                           .doStep(negativeZero).doStep(tinyStep)
                                           .doStep(stepPlusSlack).doStep(exactTolerance)
                                           .doStep(huge).doStep(negativeInf).doStep(denormal)
                                           .doStepAt(nan, oneStep).doStepAt(inf, oneStep)
                                           .doStepAt(negativeOne, oneStep)
                                           .doStepAt(exactTolerance, oneStep).free()});
    seeds.push_back({"setup_times", Seed(true)
                                        .instantiate(textPlain, textPlain, locationNull)
                                        .setup(1, startLimit).setup(1, negativeStartLimit)
                                        .setup(1, overStartLimit).setup(1, nan)
                                        .setup(1, negativeInf).setup(1, zero)
                                        .simple(opEnterInitializationMode)
                                        .doStep(oneStep).simple(opReset).doStep(oneStep)
                                        .setup(1, zero).doStep(oneStep).free()});
    seeds.push_back({"refused_instantiations",
                     Seed(true)
                         .instantiate(textNull, textNull, locationNull)
                         .instantiate(textEmpty, textNull, locationNull)
                         .instantiate(textPlain, textNull, locationNull)
                         .instantiate(textPlain, textEmpty, locationNull)
                         .instantiate(textPlain, textVariant, locationNull)
                         .instantiate(textPlain, textFromInput, locationNull)
                         .instantiate(textPlain, textPlain, locationNull, "", callbacksNull)
                         .instantiate(textPlain, textPlain, locationNull, "", callbacksNoLogger)
                         .instantiate(textPlain, textPlain, locationEmpty)
                         .instantiate(textPlain, textPlain, locationHttp, "host/res")
                         .instantiate(textPlain, textPlain, locationFtp, "host/res")
                         .instantiate(textPlain, textPlain, locationFileLong, "")
                         .instantiate(textPlain, textPlain, locationFileLong, "%zz")
                         .instantiate(textPlain, textPlain, locationLocalhost, "")});
    seeds.push_back({"resource_locations",
                     Seed(true)
                         .instantiate(textPlain, textPlain, locationFileLong, "C:/work/res/").free()
                         .instantiate(textPlain, textPlain, locationFileShort, "C:/My%20Files/res//").free()
                         .instantiate(textPlain, textPlain, locationLocalhost, "C:/work/res").free()
                         .instantiate(textPlain, textPlain, locationFileShort, "/server/share").free()
                         .instantiate(textPlain, textPlain, locationFileLong, "C:/a%2fb/%5C%00x").free()
                         .instantiate(textPlain, textPlain, locationFileLong, "C:/50%4").free()
                         .instantiate(textPlain, textPlain, locationRaw, "C:\\work\\res\\").free()
                         .instantiate(textPlain, textPlain, locationOversized, "dir/%41%2F").free()
                         .instantiate(textLong, textPlain, locationOversized, "x").free()});
    seeds.push_back({"two_instances", Seed(true).start()
                                          .instantiate(textVariant, textPlain, locationNull)
                                          .simple(opEnterInitializationMode, 2)
                                          .doStep(oneStep, 2).free(1).doStep(oneStep, 1)
                                          .access(opGetReal, 0, 14).free(1)
                                          .start().free(1)});
    seeds.push_back({"value_access", Seed(true).start()
                                         .access(opSetReal, 0, 19, 0, negativeZero)
                                         .access(opSetReal, 0, 19, 0, nan)
                                         .access(opGetReal, 0, 19, nullRefArray)
                                         .access(opSetReal, 0, 3, nullValueArray)
                                         .access(opGetReal, 0, 0, nullRefArray | nullValueArray)
                                         .accessFarReference(opGetReal, 2147483648u)
                                         .accessFarReference(opSetReal, 4294967295u)
                                         .access(opSetReal, 192, 8)
                                         .access(opSetReal, 10, 3, 0, oneStep)
                                         .doStep(oneStep).free()});
    Seed other(true);
    other.start();
    for (uint8_t which = 0; which < 6; ++which)
        other.otherType(which, 0, nullRefArray | nullValueArray).otherType(which, 1, 0)
            .otherType(which, 2, nullValueArray);
    seeds.push_back({"other_types", other.free()});
    Seed inert(true);
    inert.start();
    for (uint8_t which = 0; which < 25; ++which) inert.inert(which, 3, false).inert(which, 0, true);
    inert.simple(opPlatformAndVersion, 0);
    seeds.push_back({"inert_entry_points", inert.free()});
    seeds.push_back({"callback_changes", Seed(true).start()
                                             .changeCallbacks(0, true).doStep(oneStep)
                                             .changeCallbacks(0, false).access(opGetReal, 200, 2)
                                             .changeCallbacks(0, true).doStep(oneStep).free()});

    for (const auto& [name, seed] : seeds) {
        if (!write(dir, name, seed)) {
            std::fprintf(stderr, "cannot write %s/%s\n", dir.c_str(), name.c_str());
            return 1;
        }
    }
    return 0;
}
