// Writes each unit's model description, as the master reads it, as C++ statements for the
// cross-built tests, which have no XML library.
//   describe_units <output.inc> <Name> <modelDescription.xml> [<Name> <xml> ...]
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "model_description.h"

namespace {

std::string literal(const std::string& text) { return "R\"~(" + text + ")~\""; }

// A braced initializer list of the items, each written by `write`.
template <typename T, typename Write>
std::string braced(const std::vector<T>& list, Write write) {
    std::string text = "{";
    for (size_t i = 0; i < list.size(); ++i) text += (i ? ", " : "") + write(list[i]);
    return text + "}";
}

std::string indices(const std::vector<unsigned>& list) {
    return braced(list, [](unsigned index) { return std::to_string(index); });
}

std::string literals(const std::vector<std::string>& list) { return braced(list, literal); }

// An absent dependencies attribute stays apart from an empty one.
std::string dependencyLists(const std::vector<std::optional<std::vector<unsigned>>>& lists) {
    return braced(lists, [](const std::optional<std::vector<unsigned>>& known) {
        return known ? "std::vector<unsigned>" + indices(*known) : std::string("std::nullopt");
    });
}

std::string statements(const std::string& name, const master::ModelDescription& md) {
    std::ostringstream out;
    out << "  {\n    master::ModelDescription md;\n";
    out << "    md.fmiVersion = " << literal(md.fmiVersion) << ";\n";
    out << "    md.modelName = " << literal(md.modelName) << ";\n";
    out << "    md.guid = " << literal(md.guid) << ";\n";
    out << "    md.modelIdentifier = " << literal(md.modelIdentifier) << ";\n";
    for (const master::ScalarVariable& v : md.variables) {
        std::string start = "nullptr";
        if (v.start) {
            char text[40];
            std::snprintf(text, sizeof text, "%.17g", *v.start);  // reads back to the same bits
            start = literal(text);
        }
        out << "    md.variables.push_back(support::configuredVariable(" << literal(v.name)
            << ", " << v.valueReference << "u, " << literal(v.description) << ", "
            << literal(v.causality) << ", " << literal(v.variability) << ", "
            << literal(v.initial) << ", " << start << "));\n";
    }
    out << "    md.logCategories = " << literals(md.logCategories) << ";\n";
    out << "    md.outputIndices = " << indices(md.outputIndices) << ";\n";
    out << "    md.initialUnknownIndices = " << indices(md.initialUnknownIndices) << ";\n";
    out << "    md.outputDependencies = " << dependencyLists(md.outputDependencies) << ";\n";
    out << "    md.initialUnknownDependencies = "
        << dependencyLists(md.initialUnknownDependencies) << ";\n";
    out << "    table.emplace_back(" << literal(name) << ", std::move(md));\n  }\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: describe_units <output.inc> [<Name> <xml>]...\n");
        return 2;
    }
    try {
        std::string code;
        for (int i = 2; i + 1 < argc; i += 2)
            code += statements(argv[i], master::readModelDescription(argv[i + 1]));
        std::ofstream out(argv[1], std::ios::binary);
        out << code;
        if (!out) throw std::runtime_error(std::string("cannot write ") + argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "describe_units: %s\n", e.what());
        return 1;
    }
    return 0;
}
