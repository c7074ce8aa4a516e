// Each unit's model description as the build read it from its modelDescription.xml, for
// test programs that cannot read packages (the cross build has no zip or XML library).
#pragma once

#include <string>

#include "model_description.h"

namespace support {

// Throws std::runtime_error for a name the build does not know.
const master::ModelDescription& configuredDescription(const std::string& name);

}  // namespace support
