#include "fmu_package.h"

#include <zip.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <vector>

namespace master {

namespace fs = std::filesystem;

namespace {

// Every way out of unpacking frees what libzip holds. A failed zip_close leaves the
// archive open, so on any path but a successful close it is discarded.
struct DiscardArchive {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, DiscardArchive>;

struct CloseEntry {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using Entry = std::unique_ptr<zip_file_t, CloseEntry>;

std::string zipReason(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string reason = zip_error_strerror(&error);
    zip_error_fini(&error);
    return reason;
}

// The streams say only that they failed; the system call under them left errno.
std::string writeReason() {
    return errno != 0 ? std::strerror(errno) : "the file could not be written";
}

std::string makeTemporaryFolder(const std::string& fmuPath) {
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec)
        throw std::runtime_error("cannot create a temporary folder for " + fmuPath + ": " +
                                 ec.message());
    std::string pattern = (base / "fmu-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder in " + base.string() +
                                 " for " + fmuPath + ": " + std::strerror(errno));
    return buffer.data();
}

std::runtime_error cannotExtract(const std::string& name, const std::string& fmuPath,
                                 const std::string& reason) {
    return std::runtime_error("cannot extract " + name + " from " + fmuPath + ": " + reason);
}

void extract(zip_t* archive, zip_uint64_t index, const std::string& name,
             const fs::path& target, const std::string& fmuPath) {
    auto unreadable = [&](const std::string& reason) {
        return std::runtime_error("cannot read " + name + " in " + fmuPath + ": " + reason);
    };
    auto unwritable = [&](const std::string& reason) { return cannotExtract(name, fmuPath, reason); };
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec) throw unwritable(ec.message());
    Entry file(zip_fopen_index(archive, index, 0));
    if (!file) throw unreadable(zip_strerror(archive));

    errno = 0;
    std::ofstream out(target, std::ios::binary);
    if (!out) throw unwritable(writeReason());
    char buffer[65536];
    zip_int64_t n;
    while ((n = zip_fread(file.get(), buffer, sizeof buffer)) > 0) {
        out.write(buffer, static_cast<std::streamsize>(n));
        if (!out) throw unwritable(writeReason());
    }
    // A damaged entry shows here, as an inflate or CRC error at its end.
    if (n < 0) throw unreadable(zip_file_strerror(file.get()));
    int closed = zip_fclose(file.release());
    if (closed != 0) throw unreadable(zipReason(closed));
    out.close();
    if (!out) throw unwritable(writeReason());
}

void unpack(const std::string& fmuPath, const std::string& folder) {
    int error = 0;
    Archive archive(zip_open(fmuPath.c_str(), ZIP_RDONLY, &error));
    if (!archive) throw std::runtime_error("cannot open " + fmuPath + ": " + zipReason(error));
    zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0)
        throw std::runtime_error("cannot list the entries of " + fmuPath + ": " +
                                 zip_strerror(archive.get()));
    for (zip_int64_t i = 0; i < count; ++i) {
        const zip_uint64_t index = static_cast<zip_uint64_t>(i);
        const char* entryName = zip_get_name(archive.get(), index, 0);
        if (entryName == nullptr)
            throw std::runtime_error("cannot read the name of entry " + std::to_string(i) +
                                     " in " + fmuPath + ": " + zip_strerror(archive.get()));
        std::string name = entryName;
        fs::path relative = fs::path(name).lexically_normal();
        if (relative.is_absolute() || (!relative.empty() && *relative.begin() == ".."))
            throw std::runtime_error(fmuPath + " holds an entry outside its folder: " + name);
        fs::path target = fs::path(folder) / relative;
        if (!name.empty() && name.back() == '/') {
            std::error_code ec;
            fs::create_directories(target, ec);
            if (ec) throw cannotExtract(name, fmuPath, ec.message());
            continue;
        }
        extract(archive.get(), index, name, target, fmuPath);
    }
    if (zip_close(archive.get()) != 0)
        throw std::runtime_error("cannot close " + fmuPath + ": " + zip_strerror(archive.get()));
    archive.release();
}

// Where a package keeps the library for this platform, relative to its root.
fs::path libraryEntry(const ModelDescription& description) {
#if defined(_WIN32)
    const char* suffix = ".dll";
#else
    const char* suffix = ".so";
#endif
    return fs::path("binaries") / FmuPackage::platform() / (description.modelIdentifier + suffix);
}

}  // namespace

FmuPackage::FmuPackage(const std::string& fmuPath) {
    if (!fs::is_regular_file(fmuPath)) throw std::runtime_error("no such file: " + fmuPath);
    folder_ = makeTemporaryFolder(fmuPath);
    try {
        unpack(fmuPath, folder_);
        fs::path description = fs::path(folder_) / "modelDescription.xml";
        if (!fs::is_regular_file(description))
            throw std::runtime_error(fmuPath + " has no modelDescription.xml at its root");
        try {
            description_ = readModelDescription(description.string());
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(fmuPath + ": " + e.what());
        }
        // Refused here, so that a package without our platform's library says so in its
        // own words rather than as a load error from the dynamic loader later.
        if (!fs::is_regular_file(libraryPath()))
            throw std::runtime_error(fmuPath + " has no " +
                                     libraryEntry(description_).generic_string());
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
    return (fs::path(folder_) / libraryEntry(description_)).string();
}

std::string FmuPackage::resourceLocation() const {
    return "file://" + (fs::path(folder_) / "resources").string();
}

}  // namespace master
