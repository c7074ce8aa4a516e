// Reading a model description with libxml2 (host builds only).
#include "model_description.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <memory>
#include <stdexcept>
#include <utility>

namespace master {

namespace {

std::string attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (value == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

bool hasAttribute(xmlNode* node, const char* name) {
    return xmlHasProp(node, reinterpret_cast<const xmlChar*>(name)) != nullptr;
}

bool named(xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

unsigned toUnsigned(const std::string& text, const char* what) {
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') throw std::runtime_error(std::string("bad ") + what + ": " + text);
    return static_cast<unsigned>(value);
}

// The Unknown elements of one ModelStructure list: their indices and dependencies.
void readUnknowns(xmlNode* list, std::vector<unsigned>& indices,
                  std::vector<std::optional<std::vector<unsigned>>>& dependencies) {
    indices.clear();
    dependencies.clear();
    for (xmlNode* n = list->children; n; n = n->next) {
        if (!named(n, "Unknown")) continue;
        indices.push_back(toUnsigned(attribute(n, "index"), "index"));
        if (!hasAttribute(n, "dependencies")) {
            dependencies.emplace_back();
            continue;
        }
        std::vector<unsigned> known;
        std::istringstream items(attribute(n, "dependencies"));
        for (std::string item; items >> item;) known.push_back(toUnsigned(item, "dependency"));
        dependencies.emplace_back(std::move(known));
    }
}

ScalarVariable readVariable(xmlNode* node) {
    ScalarVariable v;
    v.name = attribute(node, "name");
    v.valueReference = toUnsigned(attribute(node, "valueReference"), "valueReference");
    v.description = attribute(node, "description");
    v.causality = hasAttribute(node, "causality") ? attribute(node, "causality") : "local";
    v.variability =
        hasAttribute(node, "variability") ? attribute(node, "variability") : "continuous";
    v.initial = attribute(node, "initial");
    for (xmlNode* n = node->children; n; n = n->next) {
        if (named(n, "Real") && hasAttribute(n, "start"))
            v.start = std::strtod(attribute(n, "start").c_str(), nullptr);
    }
    return v;
}

}  // namespace

ModelDescription parseModelDescription(const std::string& xml) {
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), "modelDescription.xml", nullptr,
                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        xmlFreeDoc);
    if (!doc) throw std::runtime_error("modelDescription.xml is not well-formed XML");
    xmlNode* root = xmlDocGetRootElement(doc.get());
    if (root == nullptr || !named(root, "fmiModelDescription"))
        throw std::runtime_error("modelDescription.xml has no fmiModelDescription element");

    ModelDescription md;
    md.fmiVersion = attribute(root, "fmiVersion");
    md.modelName = attribute(root, "modelName");
    md.guid = attribute(root, "guid");
    for (xmlNode* n = root->children; n; n = n->next) {
        if (named(n, "CoSimulation")) {
            md.modelIdentifier = attribute(n, "modelIdentifier");
        } else if (named(n, "LogCategories")) {
            for (xmlNode* c = n->children; c; c = c->next)
                if (named(c, "Category")) md.logCategories.push_back(attribute(c, "name"));
        } else if (named(n, "ModelVariables")) {
            for (xmlNode* v = n->children; v; v = v->next)
                if (named(v, "ScalarVariable")) md.variables.push_back(readVariable(v));
        } else if (named(n, "ModelStructure")) {
            for (xmlNode* s = n->children; s; s = s->next) {
                if (named(s, "Outputs"))
                    readUnknowns(s, md.outputIndices, md.outputDependencies);
                if (named(s, "InitialUnknowns"))
                    readUnknowns(s, md.initialUnknownIndices, md.initialUnknownDependencies);
            }
        }
    }
    return md;
}

ModelDescription readModelDescription(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return parseModelDescription(text.str());
}

}  // namespace master
