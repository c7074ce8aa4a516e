// The 44 FMI 2.0 entry points a unit exports, listed once for the loader.
// FMI2_ENTRY_POINT(name) is expanded for each, in ascending byte order of the names.
#define FMI2_ENTRY_POINTS                       \
    FMI2_ENTRY_POINT(fmi2CancelStep)            \
    FMI2_ENTRY_POINT(fmi2CompletedIntegratorStep) \
    FMI2_ENTRY_POINT(fmi2DeSerializeFMUstate)   \
    FMI2_ENTRY_POINT(fmi2DoStep)                \
    FMI2_ENTRY_POINT(fmi2EnterContinuousTimeMode) \
    FMI2_ENTRY_POINT(fmi2EnterEventMode)        \
    FMI2_ENTRY_POINT(fmi2EnterInitializationMode) \
    FMI2_ENTRY_POINT(fmi2ExitInitializationMode) \
    FMI2_ENTRY_POINT(fmi2FreeFMUstate)          \
    FMI2_ENTRY_POINT(fmi2FreeInstance)          \
    FMI2_ENTRY_POINT(fmi2GetBoolean)            \
    FMI2_ENTRY_POINT(fmi2GetBooleanStatus)      \
    FMI2_ENTRY_POINT(fmi2GetContinuousStates)   \
    FMI2_ENTRY_POINT(fmi2GetDerivatives)        \
    FMI2_ENTRY_POINT(fmi2GetDirectionalDerivative) \
    FMI2_ENTRY_POINT(fmi2GetEventIndicators)    \
    FMI2_ENTRY_POINT(fmi2GetFMUstate)           \
    FMI2_ENTRY_POINT(fmi2GetInteger)            \
    FMI2_ENTRY_POINT(fmi2GetIntegerStatus)      \
    FMI2_ENTRY_POINT(fmi2GetNominalsOfContinuousStates) \
    FMI2_ENTRY_POINT(fmi2GetReal)               \
    FMI2_ENTRY_POINT(fmi2GetRealOutputDerivatives) \
    FMI2_ENTRY_POINT(fmi2GetRealStatus)         \
    FMI2_ENTRY_POINT(fmi2GetStatus)             \
    FMI2_ENTRY_POINT(fmi2GetString)             \
    FMI2_ENTRY_POINT(fmi2GetStringStatus)       \
    FMI2_ENTRY_POINT(fmi2GetTypesPlatform)      \
    FMI2_ENTRY_POINT(fmi2GetVersion)            \
    FMI2_ENTRY_POINT(fmi2Instantiate)           \
    FMI2_ENTRY_POINT(fmi2NewDiscreteStates)     \
    FMI2_ENTRY_POINT(fmi2Reset)                 \
    FMI2_ENTRY_POINT(fmi2SerializeFMUstate)     \
    FMI2_ENTRY_POINT(fmi2SerializedFMUstateSize) \
    FMI2_ENTRY_POINT(fmi2SetBoolean)            \
    FMI2_ENTRY_POINT(fmi2SetContinuousStates)   \
    FMI2_ENTRY_POINT(fmi2SetDebugLogging)       \
    FMI2_ENTRY_POINT(fmi2SetFMUstate)           \
    FMI2_ENTRY_POINT(fmi2SetInteger)            \
    FMI2_ENTRY_POINT(fmi2SetReal)               \
    FMI2_ENTRY_POINT(fmi2SetRealInputDerivatives) \
    FMI2_ENTRY_POINT(fmi2SetString)             \
    FMI2_ENTRY_POINT(fmi2SetTime)               \
    FMI2_ENTRY_POINT(fmi2SetupExperiment)       \
    FMI2_ENTRY_POINT(fmi2Terminate)
