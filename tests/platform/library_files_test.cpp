// Each unit's libraries as the loader sees them: exactly the 44 entry points exported,
// stripped, the DLL importing system DLLs only, and both libraries carried in the unit's
// package.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "fmu_package.h"
#include "unit_library.h"
#include "unit_under_test.h"

namespace {

namespace fs = std::filesystem;

struct Library {
    std::string unit;
    std::string path;
    bool win32;
};

void PrintTo(const Library& lib, std::ostream* out) {
    *out << lib.unit << (lib.win32 ? " win32" : " host");
}

std::vector<Library> builtLibraries() {
    std::vector<Library> libraries;
    for (const auto& unit : support::allUnits()) {
        libraries.push_back({unit.name, unit.library, false});
        if (*unit.win32Library != '\0') libraries.push_back({unit.name, unit.win32Library, true});
    }
    return libraries;
}

std::string libraryName(const ::testing::TestParamInfo<Library>& info) {
    return info.param.unit + (info.param.win32 ? "_win32" : "_host");
}

std::string objdump(const std::string& options, const std::string& path) {
    std::string command = std::string(FMU_OBJDUMP) + " " + options + " '" + path + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {};
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << command << "\n" << output;
    return output;
}

std::vector<std::string> matches(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        found.push_back((*it)[1].str());
    return found;
}

// The names in the export table's name pointer table, in table order.
std::vector<std::string> dllExports(const std::string& path) {
    std::string dump = objdump("-p", path);
    size_t table = dump.find("[Ordinal/Name Pointer] Table");
    if (table == std::string::npos) return {};
    return matches(dump.substr(table), std::regex(R"(\n\s*\[\s*\d+\]\s+(\S+))"));
}

std::vector<std::string> dllImports(const std::string& path) {
    return matches(objdump("-p", path), std::regex(R"(DLL Name:\s*(\S+))"));
}

// The defined, globally visible symbols of the dynamic symbol table, sorted.
std::vector<std::string> sharedObjectExports(const std::string& path) {
    std::string dump = objdump("-T", path);
    std::vector<std::string> names;
    std::istringstream lines(dump);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find("*UND*") != std::string::npos) continue;
        std::smatch m;
        if (std::regex_search(line, m, std::regex(R"(^[0-9a-f]+ ([gu]) .*\s(\S+)$)")))
            names.push_back(m[2].str());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct LibraryFiles : ::testing::TestWithParam<Library> {};

TEST_P(LibraryFiles, ExportsExactlyTheEntryPointsInNameOrder) {
    const Library& lib = GetParam();
    const std::vector<std::string>& expected = master::UnitLibrary::entryPointNames();
    ASSERT_EQ(expected.size(), 44u);
    ASSERT_TRUE(std::is_sorted(expected.begin(), expected.end()));
    // The export table's name pointers are in ascending byte order; the ELF dynamic
    // table has no order of its own, so it is compared sorted.
    std::vector<std::string> exported = lib.win32 ? dllExports(lib.path)
                                                  : sharedObjectExports(lib.path);
    EXPECT_EQ(exported, expected) << lib.path;
}

TEST_P(LibraryFiles, PackageCarriesTheLibraryUnderItsPlatform) {
    const Library& lib = GetParam();
    const support::UnitFiles& files = support::unitFiles(lib.unit);
    master::FmuPackage package(files.package);
    std::string packed = package.folder() + "/binaries/" +
                         (lib.win32 ? "win32/" : std::string(master::FmuPackage::platform()) + "/") +
                         lib.unit + (lib.win32 ? ".dll" : fs::path(lib.path).extension().string());
    ASSERT_TRUE(fs::exists(packed)) << packed;
    EXPECT_TRUE(contents(packed) == contents(lib.path)) << packed << " differs from " << lib.path;
}

// The entries of the symbol table, as GNU or LLVM objdump lists them.
std::vector<std::string> symbolTable(const std::string& path) {
    std::string dump = objdump("-t", path);
    std::vector<std::string> symbols;
    size_t table = dump.find("SYMBOL TABLE:");
    if (table == std::string::npos) return {"no symbol table header in: " + dump};
    std::istringstream lines(dump.substr(table + 13));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line != "no symbols") symbols.push_back(line);
    return symbols;
}

// What users get is stripped: no symbol table beyond the dynamic exports, no debug
// information, and with it none of the build machine's paths (but for the file names that
// sanitizer instrumentation keeps for its reports).
TEST_P(LibraryFiles, IsStrippedOfSymbolsDebugInformationAndBuildPaths) {
    const Library& lib = GetParam();
    EXPECT_EQ(symbolTable(lib.path), std::vector<std::string>{}) << lib.path;
    EXPECT_EQ(objdump("-h", lib.path).find(".debug"), std::string::npos) << lib.path;
    if (!FMU_SANITIZED) {
        EXPECT_EQ(contents(lib.path).find(FMU_SOURCE_DIR), std::string::npos)
            << lib.path << " names " << FMU_SOURCE_DIR;
    }
}

INSTANTIATE_TEST_SUITE_P(Built, LibraryFiles, ::testing::ValuesIn(builtLibraries()), libraryName);

// Only the cross-built DLLs: with no cross build there are no cases.
std::vector<Library> builtDlls() {
    std::vector<Library> dlls;
    for (const auto& lib : builtLibraries())
        if (lib.win32) dlls.push_back(lib);
    return dlls;
}

struct Win32Library : ::testing::TestWithParam<Library> {};
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Win32Library);

TEST_P(Win32Library, IsA32BitDllThatImportsSystemDllsOnly) {
    const Library& lib = GetParam();
    EXPECT_NE(objdump("-f", lib.path).find("file format pei-i386"), std::string::npos);
    std::vector<std::string> imports = dllImports(lib.path);
    ASSERT_FALSE(imports.empty()) << lib.path;
    const std::regex mingwRuntime(R"(^(libgcc|libstdc\+\+|libwinpthread|libgomp|libssp).*)");
    const std::vector<std::string> system = {"kernel32.dll", "msvcrt.dll"};
    for (const auto& name : imports) {
        EXPECT_FALSE(std::regex_match(lower(name), mingwRuntime)) << lib.path << " imports " << name;
        EXPECT_NE(std::find(system.begin(), system.end(), lower(name)), system.end())
            << lib.path << " imports " << name << ", not a system DLL";
    }
}

INSTANTIATE_TEST_SUITE_P(Built, Win32Library, ::testing::ValuesIn(builtDlls()), libraryName);

// A package holds a win32 folder exactly when the host build made the DLLs.
TEST(Packages, CarryWin32BinariesExactlyWhenCrossBuilt) {
    for (const auto& unit : support::allUnits()) {
        master::FmuPackage package(unit.package);
        bool hasWin32 = fs::exists(package.folder() + "/binaries/win32");
        EXPECT_EQ(hasWin32, *unit.win32Library != '\0') << unit.package;
    }
}

}  // namespace
