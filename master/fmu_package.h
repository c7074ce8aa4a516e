// A unit's .fmu package, unpacked into a private temporary folder.
#pragma once

#include <string>

#include "model_description.h"

namespace master {

class FmuPackage {
public:
    // Throws std::runtime_error, with a one-line reason, when the file is missing, not a zip,
    // has an entry that cannot be read or written out, or lacks a readable
    // modelDescription.xml or the library for this platform. Nothing is left unpacked then.
    explicit FmuPackage(const std::string& fmuPath);
    ~FmuPackage();
    FmuPackage(const FmuPackage&) = delete;
    FmuPackage& operator=(const FmuPackage&) = delete;

    const ModelDescription& description() const { return description_; }
    const std::string& folder() const { return folder_; }
    // binaries/<platform>/<modelIdentifier> with the platform's library suffix.
    std::string libraryPath() const;
    // The file URI of the package's resources folder, as a master passes it.
    std::string resourceLocation() const;

    static const char* platform();

private:
    std::string folder_;
    ModelDescription description_;
};

}  // namespace master
