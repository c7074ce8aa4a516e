// The one seam between the adapter and a unit's model. Each unit's model folder defines
// `modelBinding`; the adapter reads everything it needs of the model from it.
#ifndef MODEL_BINDING_H
#define MODEL_BINDING_H

struct ModelBinding {
    const char* modelGuid;            // brace form, 38 lowercase characters
    unsigned realRefCount;            // length of the value-reference table
    unsigned firstOutputRef;          // outputs are firstOutputRef .. timeRef - 1
    unsigned outputCount;
    unsigned timeRef;                 // == firstOutputRef + outputCount
    void* modelRecord;                // the unit's static real-time model record
    double* const* valueTable;        // realRefCount targets; the entry at timeRef is unused
    void (*initialize)();
    void (*step)();                   // calls storeOutputBuffer once its outputs are written
    void (*terminate)();
};

extern const ModelBinding modelBinding;

// For the static_asserts of each binding, so that a unit whose numbers disagree does not
// build: the time's reference lies inside the table, and it is the one entry without a
// target.
template <unsigned N>
constexpr bool onlyTimeRefIsEmpty(double* const (&table)[N], unsigned timeRef) {
    if (timeRef >= N) return false;
    for (unsigned vr = 0; vr < N; ++vr)
        if ((table[vr] == nullptr) != (vr == timeRef)) return false;
    return true;
}

// Copies the model's outputs into the current instance's hold buffer.
void storeOutputBuffer();

#endif
