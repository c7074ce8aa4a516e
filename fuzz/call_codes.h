// The byte codes of a fuzz input, shared by the harness that decodes them and the seed
// writer that encodes the seed corpus. Every choice is one byte taken modulo its count, so
// any byte value decodes; the codes below are the canonical ones the seeds use.
#pragma once

#include <cstdint>

namespace fuzz {

enum Op : uint8_t {
    opInstantiate,
    opFreeInstance,
    opSetupExperiment,
    opEnterInitializationMode,
    opExitInitializationMode,
    opDoStep,
    opTerminate,
    opReset,
    opGetReal,
    opSetReal,
    opOtherTypeAccess,   // integer, boolean and string getters and setters
    opSetDebugLogging,
    opPlatformAndVersion,
    opInertCall,         // one of the entry points without effect
    opChangeCallbacks,   // the master edits its callback record in place
    opCount
};

// Instance name and GUID choices.
enum TextKind : uint8_t {
    textNull,
    textEmpty,
    textPlain,      // "unit" for names, the unit's own GUID for GUIDs
    textFromInput,  // text() from the input
    textLong,       // text() from the input repeated past 1024 characters
    textVariant,    // names: a fixed other name; GUIDs: the own GUID in capitals
    textKindCount
};

// Resource-location choices; the prefixed ones are followed by text() from the input.
enum LocationKind : uint8_t {
    locationNull,
    locationEmpty,
    locationFileLong,    // "file:///" + text
    locationFileShort,   // "file:/" + text
    locationLocalhost,   // "file://localhost/" + text
    locationHttp,        // "http://" + text
    locationFtp,         // "ftp://" + text
    locationRaw,         // text as it is
    locationOversized,   // one of the prefixes above, then text repeated past 1024 characters
    locationKindCount
};

// Callback record choices: records live for the whole run, as a master's must.
enum CallbackKind : uint8_t {
    callbacksNull,
    callbacksFull,
    callbacksNoLogger,
    callbacksNoStepFinished,
    callbacksNoEnvironment,
    callbackKindCount
};

// Doubles: a code below specialCount picks a special value, the next code a multiple of
// the local step (u16 from the input), anything above that the next 8 input bytes as bits.
constexpr uint8_t specialCount = 24;
constexpr uint8_t doubleStepMultiple = specialCount;
constexpr uint8_t doubleRawBits = specialCount + 1;

// Communication points: the instance's time, its time plus a double, or a double.
enum TimeKind : uint8_t { timeCurrent, timeOffset, timeAny, timeKindCount };

// Value references: a code below vrInRangeCodes takes the code modulo realRefCount + 2,
// the next 32 codes count up from realRefCount, the rest read a u32 from the input.
constexpr uint8_t vrInRangeCodes = 192;
constexpr uint8_t vrJustAboveCodes = 32;

// Array flags of an access call.
constexpr uint8_t nullRefArray = 1;
constexpr uint8_t nullValueArray = 2;

// Local steps one input may run, so every input stays fast.
constexpr long localStepBudget = 20000;

}  // namespace fuzz
