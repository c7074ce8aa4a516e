#include "model_description.h"

namespace master {

const ScalarVariable* ModelDescription::find(const std::string& name) const {
    for (const auto& v : variables)
        if (v.name == name) return &v;
    return nullptr;
}

std::vector<const ScalarVariable*> ModelDescription::withCausality(
    const std::string& causality) const {
    std::vector<const ScalarVariable*> found;
    for (const auto& v : variables)
        if (v.causality == causality) found.push_back(&v);
    return found;
}

}  // namespace master
