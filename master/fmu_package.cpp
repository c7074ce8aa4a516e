#include "fmu_package.h"

#include <zip.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace master {

namespace fs = std::filesystem;

namespace {

std::string makeTemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "fmu-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    return buffer.data();
}

void unpack(const std::string& fmuPath, const std::string& folder) {
    int error = 0;
    zip_t* archive = zip_open(fmuPath.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, error);
        std::string reason = zip_error_strerror(&zipError);
        zip_error_fini(&zipError);
        throw std::runtime_error("cannot open " + fmuPath + ": " + reason);
    }
    zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        std::string name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        fs::path relative = fs::path(name).lexically_normal();
        if (relative.is_absolute() || (!relative.empty() && *relative.begin() == "..")) {
            zip_close(archive);
            throw std::runtime_error(fmuPath + " holds an entry outside its folder: " + name);
        }
        fs::path target = fs::path(folder) / relative;
        if (!name.empty() && name.back() == '/') {
            fs::create_directories(target);
            continue;
        }
        fs::create_directories(target.parent_path());
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (file == nullptr) {
            zip_close(archive);
            throw std::runtime_error("cannot read " + name + " in " + fmuPath);
        }
        std::ofstream out(target, std::ios::binary);
        char buffer[65536];
        zip_int64_t n;
        while ((n = zip_fread(file, buffer, sizeof buffer)) > 0)
            out.write(buffer, static_cast<std::streamsize>(n));
        zip_fclose(file);
    }
    zip_close(archive);
}

}  // namespace

FmuPackage::FmuPackage(const std::string& fmuPath) {
    if (!fs::is_regular_file(fmuPath)) throw std::runtime_error("no such file: " + fmuPath);
    folder_ = makeTemporaryFolder();
    try {
        unpack(fmuPath, folder_);
        fs::path description = fs::path(folder_) / "modelDescription.xml";
        if (!fs::is_regular_file(description))
            throw std::runtime_error(fmuPath + " has no modelDescription.xml at its root");
        description_ = readModelDescription(description.string());
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        throw;
    }
}

FmuPackage::~FmuPackage() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

const char* FmuPackage::platform() {
#if defined(_WIN32)
    return "win32";
#elif defined(__x86_64__) || defined(__aarch64__)
    return "linux64";
#else
    return "linux32";
#endif
}

std::string FmuPackage::libraryPath() const {
#if defined(_WIN32)
    const char* suffix = ".dll";
#else
    const char* suffix = ".so";
#endif
    return (fs::path(folder_) / "binaries" / platform() /
            (description_.modelIdentifier + suffix))
        .string();
}

std::string FmuPackage::resourceLocation() const {
    return "file://" + (fs::path(folder_) / "resources").string();
}

}  // namespace master
