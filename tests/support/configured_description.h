// Each unit's model description as the build read it from its modelDescription.xml, for
// test programs that cannot read packages (the cross build has no zip or XML library).
#pragma once

#include <string>

#include "model_description.h"

namespace support {

// Throws std::runtime_error for a name the build does not know.
const master::ModelDescription& configuredDescription(const std::string& name);

// One variable as the build wrote it down; `start` is the attribute's text or null.
master::ScalarVariable configuredVariable(const char* name, unsigned valueReference,
                                          const char* description, const char* causality,
                                          const char* variability, const char* initial,
                                          const char* start);

}  // namespace support
