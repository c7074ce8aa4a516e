// What a master reads from a unit's modelDescription.xml.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace master {

struct ScalarVariable {
    std::string name;
    unsigned valueReference = 0;
    std::string description;
    std::string causality;    // as written; the standard's default is "local"
    std::string variability;  // as written; the standard's default is "continuous"
    std::string initial;      // empty when not written
    std::optional<double> start;
};

struct ModelDescription {
    std::string fmiVersion;
    std::string modelName;
    std::string guid;
    std::string modelIdentifier;  // of the CoSimulation element; empty without one
    std::vector<ScalarVariable> variables;
    std::vector<std::string> logCategories;       // LogCategories, the names in order
    std::vector<unsigned> outputIndices;          // ModelStructure/Outputs, 1-based
    std::vector<unsigned> initialUnknownIndices;  // ModelStructure/InitialUnknowns, 1-based
    // The dependencies of each of those unknowns, in the same order; none when the
    // attribute is not written (the unknown then depends on every known).
    std::vector<std::optional<std::vector<unsigned>>> outputDependencies;
    std::vector<std::optional<std::vector<unsigned>>> initialUnknownDependencies;

    const ScalarVariable* find(const std::string& name) const;
    std::vector<const ScalarVariable*> withCausality(const std::string& causality) const;
};

// Throws std::runtime_error when the text is not a readable model description.
ModelDescription parseModelDescription(const std::string& xml);
ModelDescription readModelDescription(const std::string& path);

}  // namespace master
