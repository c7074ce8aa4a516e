// The command-line runner: its CSV, its options and its refusals.
#include <gtest/gtest.h>

#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "fmu_package.h"
#include "shell_command.h"
#include "unit_under_test.h"

namespace {

namespace fs = std::filesystem;

struct CosimRun {
    int exitCode;
    std::string out;
    std::string err;
};

// With `tmpdir`, the run unpacks its package there, so a test can see what it leaves behind.
CosimRun cosim(const std::string& arguments, const std::string& tmpdir = "") {
    static int calls = 0;
    const std::string errFile = ::testing::TempDir() + "cosim-stderr-" +
                                std::to_string(getpid()) + "-" + std::to_string(calls++) + ".txt";
    const std::string environment = tmpdir.empty() ? "" : "TMPDIR='" + tmpdir + "' ";
    const std::string command =
        environment + std::string(COSIM_PATH) + " " + arguments + " 2>" + errFile;
    const support::ShellRun shell = support::runShell(command);
    CosimRun run{shell.exitCode, shell.out, {}};
    char buffer[4096];
    size_t n;
    if (FILE* err = std::fopen(errFile.c_str(), "r")) {
        while ((n = fread(buffer, 1, sizeof buffer, err)) > 0) run.err.append(buffer, n);
        std::fclose(err);
    }
    std::remove(errFile.c_str());
    return run;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

const std::string quarnet = support::unitFiles("Quarnet").package;

TEST(Cosim, PrintsOneRowPerCommunicationPoint) {
    CosimRun run = cosim(quarnet + " --stop-time 0.03 --step-size 0.01 --set input0=1.5 --set input4=-0.25");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto rows = lines(run.out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], "time,output0,output1,output2,output3,output4,output5");
    EXPECT_EQ(rows[1], "0,-1.5,0,0,0,-0.25,0");
    EXPECT_EQ(rows[2], "0.01,-1.5,0,0,0,-0.25,0");
    EXPECT_EQ(rows[4], "0.029999999999999999,-1.5,0,0,0,-0.25,0") << "full precision";
}

TEST(Cosim, RunsKavrelOnAPositionError) {
    CosimRun run = cosim(std::string(support::unitFiles("Kavrel").package) +
                         " --stop-time 0.01 --step-size 0.005 --set positionX=1.0");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto rows = lines(run.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "time,bodyCommandX,bodyCommandY,yawCommand");
    EXPECT_EQ(rows[1], "0,-53.359999999999999,-0,-0") << "minus the proportional gain";
}

TEST(Cosim, LogOptionSendsTheUnitsLinesToStderr) {
    CosimRun run = cosim(quarnet + " --stop-time 0.01 --step-size 0.01 --log");
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_NE(run.err.find("Local solver will do 2 steps from t = 0."), std::string::npos)
        << run.err;
    EXPECT_EQ(lines(run.out).size(), 3u);
}

TEST(Cosim, RefusesWithOneClearLine) {
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {quarnet + " --bogus", "cosim: unknown option --bogus"},
        {quarnet + " --step-size", "cosim: --step-size needs a value"},
        {quarnet + " --step-size abc", "cosim: --step-size is not a number: 'abc'"},
        {quarnet + " --set input0", "cosim: --set expects name=value, got 'input0'"},
        {quarnet + " --set nothing=1",
         "cosim: unknown variable 'nothing'; settable variables: input0, input1, input2, "
         "input3, input4, input5"},
        {quarnet + " --set output0=1", "cosim: unknown variable 'output0'"},
        {"/nonexistent/unit.fmu", "cosim: no such file: /nonexistent/unit.fmu"},
        {quarnet + " --step-size 0.001",
         "cosim: fmi2DoStep failed: Stepsize must be non-negative and divisible by 0.005"},
        {"", "cosim: no unit given"},
    };
    for (const Case& k : cases) {
        CosimRun run = cosim(k.arguments);
        EXPECT_NE(run.exitCode, 0) << k.arguments;
        EXPECT_EQ(run.err.rfind(k.message, 0), 0u) << k.arguments << "\n" << run.err;
    }
}

const std::string usageLine =
    "usage: cosim <unit.fmu> [--stop-time T] [--step-size H] [--set name=value ...] [--log]\n";

// Asked for, the usage goes to stdout and the run succeeds; after a refused option it goes
// to stderr below the reason, and the exit code tells a usage error from a failed run.
TEST(Cosim, PrintsItsUsageWhereAskedAndAfterABadOption) {
    struct Case {
        std::string arguments;
        int exitCode;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {"--help", 0, usageLine, ""},
        {"-h", 0, usageLine, ""},
        {quarnet + " --help --bogus", 0, usageLine, ""},
        {quarnet + " --bogus --help", 2, "", "cosim: unknown option --bogus\n" + usageLine},
        {"--helpme", 2, "", "cosim: unknown option --helpme\n" + usageLine},
        {"", 2, "", "cosim: no unit given\n" + usageLine},
        {"/nonexistent/unit.fmu", 1, "", "cosim: no such file: /nonexistent/unit.fmu\n"},
    };
    for (const Case& k : cases) {
        CosimRun run = cosim(k.arguments);
        EXPECT_EQ(run.exitCode, k.exitCode) << k.arguments;
        EXPECT_EQ(run.out, k.out) << k.arguments;
        EXPECT_EQ(run.err, k.err) << k.arguments;
    }
}

// A private folder under the test's temporary folder, removed again when done.
struct ScratchFolder {
    explicit ScratchFolder(const std::string& name)
        : path(::testing::TempDir() + name + "-" + std::to_string(getpid())) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    const std::string path;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

std::string entryOf(const std::string& package, const std::string& name) {
    int error = 0;
    zip_t* archive = zip_open(package.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) throw std::runtime_error("cannot open " + package);
    zip_file_t* file = zip_fopen(archive, name.c_str(), 0);
    std::string bytes;
    char buffer[65536];
    zip_int64_t n = -1;
    while (file != nullptr && (n = zip_fread(file, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<size_t>(n));
    if (file != nullptr) zip_fclose(file);
    zip_discard(archive);
    if (n < 0) throw std::runtime_error("cannot read " + name + " in " + package);
    return bytes;
}

struct ZipEntry {
    std::string name;
    std::string bytes;
};

void writeZip(const std::string& path, const std::vector<ZipEntry>& entries,
              zip_int32_t method = ZIP_CM_DEFLATE) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) throw std::runtime_error("cannot create " + path);
    for (const ZipEntry& entry : entries) {
        zip_source_t* source =
            zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
        zip_int64_t index = source == nullptr ? -1
                            : zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                                  method, 0) != 0) {
            if (source != nullptr && index < 0) zip_source_free(source);
            zip_discard(archive);
            throw std::runtime_error("cannot add " + entry.name + " to " + path);
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        throw std::runtime_error("cannot write " + path);
    }
}

// Overwrites the first byte of an entry's data, just past its local header. A stored entry
// then fails its CRC check; in a deflated one 0xff starts a block of the reserved type,
// which the inflater refuses.
void spoilEntry(const std::string& path, const std::string& name) {
    std::string bytes = readFile(path);
    const std::string signature("PK\x03\x04", 4);
    auto u16 = [&](size_t at) {
        return static_cast<size_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    for (size_t at = bytes.find(signature); at != std::string::npos;
         at = bytes.find(signature, at + 1)) {
        if (at + 30 > bytes.size()) break;
        const size_t nameLength = u16(at + 26), extraLength = u16(at + 28);
        if (bytes.compare(at + 30, nameLength, name) != 0) continue;
        const size_t data = at + 30 + nameLength + extraLength;
        if (data >= bytes.size()) break;
        bytes[data] = static_cast<char>(0xff);
        writeFile(path, bytes);
        return;
    }
    throw std::runtime_error("no local header for " + name + " in " + path);
}

// Each damaged package is refused with one line on stderr, and its unpacked files are gone.
TEST(Cosim, RefusesADamagedPackageWithOneClearLine) {
    const ScratchFolder scratch("cosim-damaged");
    auto at = [&](const std::string& file) { return scratch.path + "/" + file; };
    const std::string real = readFile(quarnet);
    const std::string libraryName =
        std::string("binaries/") + master::FmuPackage::platform() + "/Quarnet.so";
    const ZipEntry description{"modelDescription.xml", entryOf(quarnet, "modelDescription.xml")};
    const ZipEntry library{libraryName, entryOf(quarnet, libraryName)};

    struct Case {
        std::string file;
        std::function<void(const std::string&)> make;
        std::string reason;
    };
    const Case cases[] = {
        {"truncated.fmu",
         [&](const std::string& p) { writeFile(p, real.substr(0, real.size() / 2)); },
         "cannot open " + at("truncated.fmu") + ": Not a zip archive"},
        {"empty.fmu", [&](const std::string& p) { writeFile(p, ""); },
         "cannot open " + at("empty.fmu") + ": Not a zip archive"},
        {"text.fmu", [&](const std::string& p) { writeFile(p, "not a package, just text\n"); },
         "cannot open " + at("text.fmu") + ": Not a zip archive"},
        {"no-description.fmu", [&](const std::string& p) { writeZip(p, {library}); },
         at("no-description.fmu") + " has no modelDescription.xml at its root"},
        {"no-library.fmu", [&](const std::string& p) { writeZip(p, {description}); },
         at("no-library.fmu") + " has no " + libraryName},
        {"bad-description.fmu",
         [&](const std::string& p) {
             writeZip(p, {library, {"modelDescription.xml", "<fmiModelDescription"}});
         },
         at("bad-description.fmu") + ": modelDescription.xml is not well-formed XML"},
        {"bad-crc.fmu",
         [&](const std::string& p) {
             writeZip(p, {library, description}, ZIP_CM_STORE);
             spoilEntry(p, description.name);
         },
         "cannot read modelDescription.xml in " + at("bad-crc.fmu") + ": CRC error"},
        {"bad-deflate.fmu",
         [&](const std::string& p) {
             writeZip(p, {library, description});
             spoilEntry(p, description.name);
         },
         "cannot read modelDescription.xml in " + at("bad-deflate.fmu") +
             ": Zlib error: data error"},
        {"escaping.fmu",
         [&](const std::string& p) {
             writeZip(p, {library, description, {"../outside.txt", "x"}});
         },
         at("escaping.fmu") + " holds an entry outside its folder: ../outside.txt"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.file);
        k.make(at(k.file));
        const std::string tmpdir = at("tmp-" + k.file);
        fs::create_directory(tmpdir);
        CosimRun run = cosim(at(k.file), tmpdir);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "cosim: " + k.reason + "\n");
        EXPECT_TRUE(fs::is_empty(tmpdir)) << "left behind in " << tmpdir;
    }
}

}  // namespace
