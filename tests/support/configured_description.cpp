#include "configured_description.h"

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace support {

master::ScalarVariable configuredVariable(const char* name, unsigned valueReference,
                                          const char* description, const char* causality,
                                          const char* variability, const char* initial,
                                          const char* start) {
    master::ScalarVariable v;
    v.name = name;
    v.valueReference = valueReference;
    v.description = description;
    v.causality = causality;
    v.variability = variability;
    v.initial = initial;
    // Read as the master's parser reads it, so both give the same bits.
    if (start != nullptr) v.start = std::strtod(start, nullptr);
    return v;
}

namespace {

using Table = std::vector<std::pair<std::string, master::ModelDescription>>;

Table buildTable() {
    Table table;
#include "unit_descriptions.inc"
    return table;
}

}  // namespace

const master::ModelDescription& configuredDescription(const std::string& name) {
    static const Table table = buildTable();
    for (const auto& entry : table)
        if (entry.first == name) return entry.second;
    throw std::runtime_error("no model description configured for " + name);
}

}  // namespace support
