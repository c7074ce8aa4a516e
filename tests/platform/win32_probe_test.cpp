// Whether the cross-built tests can run on this host: the probe's verdict for a wine that
// fails the way a host without 32-bit user code fails (skip), for one that fails any other
// way (never a skip), for no wine at all, and for the real wine where it starts.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "shell_command.h"

namespace {

namespace fs = std::filesystem;

const std::string probeScript = FMU_WIN32_PROBE_SCRIPT;

// Both output streams of a command, in the order written.
support::ShellRun shell(const std::string& command) { return support::runShell(command + " 2>&1"); }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes, fs::perms perms) {
    std::ofstream(path, std::ios::binary) << bytes;
    fs::permissions(path, perms);
}

std::string inQuotes(const std::string& text) { return "'" + text + "'"; }

// The first 20 bytes of an ELF file: its class (32 or 64 bits) and machine are all the
// probe may look at.
std::string elfHead(char elfClass, char machine) {
    std::string head("\x7f" "ELF", 4);
    head += std::string{elfClass, 1, 1};    // class, little-endian, version 1
    head += std::string(9, '\0');           // the rest of the identification
    head += std::string{2, 0, machine, 0};  // type (executable), machine
    return head;
}

// A scratch folder per test: the stand-in wine programs, the verdict file and the prefix.
class Win32Probe : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = ::testing::TempDir() + "win32-probe-" + test->name() + "-" +
                 std::to_string(getpid());
        fs::remove_all(folder);
        fs::create_directories(folder + "/bin");
        verdictFile = folder + "/verdict.txt";
        prefix = folder + "/prefix";
        loader32 = folder + "/loader32";
        loaderArm64 = folder + "/loader64";
        writeFile(loader32, elfHead(1, 3), fs::perms::owner_all);        // 32-bit x86
        writeFile(loaderArm64, elfHead(2, 0xb7), fs::perms::owner_all);  // 64-bit Arm
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // wine behaves as `body` says; the runner's quiet set-up of a prefix finds stand-ins
    // for wineboot and wineserver that do nothing. All three count their calls.
    void standInWine(const std::string& body) {
        const std::string script = "#!/bin/sh\necho >>" + inQuotes(folder + "/calls") + "\n";
        writeFile(folder + "/bin/wine", script + body, fs::perms::owner_all);
        writeFile(folder + "/bin/wineboot", script, fs::perms::owner_all);
        writeFile(folder + "/bin/wineserver", script, fs::perms::owner_all);
    }
    // What Debian's wine script and the shell say when the kernel refuses its loader.
    std::string refusalOf(const std::string& loader) const {
        return folder + "/bin/wine: 40: exec: " + loader + ": Exec format error";
    }
    void standInRefusing(const std::string& loader, int status = 126) {
        standInWine("echo 'wine: preparing' >&2\necho '" + refusalOf(loader) + "' >&2\nexit " +
                    std::to_string(status) + "\n");
    }
    int wineCalls() const {
        const std::string calls = readFile(folder + "/calls");
        return static_cast<int>(std::count(calls.begin(), calls.end(), '\n'));
    }

    support::ShellRun probe(const std::string& path, const std::string& options = "",
                            const std::string& environment = "") const {
        return shell(environment + " PATH=" + inQuotes(path) + " " + inQuotes(probeScript) + " " +
                     options + " " + inQuotes(verdictFile) + " " +
                     inQuotes(FMU_WIN32_PROBE_PROGRAM) + " " + inQuotes(prefix));
    }
    support::ShellRun probeWithStandIn(const std::string& options = "",
                                       const std::string& environment = "") const {
        return probe(folder + "/bin:" + std::getenv("PATH"), options, environment);
    }
    support::ShellRun report(const std::string& environment = "FMU_REQUIRE_WIN32=0") const {
        return shell(environment + " " + inQuotes(probeScript) + " --report " + inQuotes(verdictFile));
    }
    std::string verdict() const {
        const std::string text = readFile(verdictFile);
        const size_t at = text.find("\nverdict ");
        return at == std::string::npos ? "" : text.substr(at + 9, text.find('\n', at + 1) - at - 9);
    }

    std::string folder;
    std::string verdictFile;
    std::string prefix;       // wine's prefix for the probe
    std::string loader32;     // what wine's 32-bit x86 loader begins with
    std::string loaderArm64;  // a loader for another machine
};

TEST_F(Win32Probe, AHostThatRefusesItsX86LoaderSkipsWithTheRefusal) {
    standInRefusing(loader32);
    support::ShellRun found = probeWithStandIn();
    EXPECT_EQ(found.exitCode, 0) << found.out;
    EXPECT_EQ(found.out, "win32 probe: cross-built programs cannot run here, the win32 suite "
                         "will be skipped: " + refusalOf(loader32) + "\n");
    EXPECT_EQ(verdict(), "skip");

    support::ShellRun skipped = report();
    EXPECT_EQ(skipped.exitCode, 77);
    EXPECT_EQ(skipped.out, "win32 suite skipped: this host cannot run it: " + refusalOf(loader32) + "\n");
    support::ShellRun required = report("FMU_REQUIRE_WIN32=1");
    EXPECT_EQ(required.exitCode, 1);
    EXPECT_EQ(required.out, "win32 suite required (FMU_REQUIRE_WIN32=1) but cannot run here: " +
                                refusalOf(loader32) + "\n");
}

TEST_F(Win32Probe, AnyOtherFailureFailsAndIsNeverASkip) {
    struct Case {
        const char* what;
        std::string wine;
        std::string reason;
    };
    const Case cases[] = {
        {"no kernel32", "echo 'wine: could not load kernel32.dll, status c0000135' >&2\nexit 1\n",
         "the probe exited with status 1: wine: could not load kernel32.dll, status c0000135"},
        {"exit 126 without a refusal", "echo 'wine: Permission denied' >&2\nexit 126\n",
         "the probe exited with status 126: wine: Permission denied"},
        {"a refused loader that is no x86 program",
         "echo '" + refusalOf(loaderArm64) + "' >&2\nexit 126\n",
         "the probe exited with status 126: " + refusalOf(loaderArm64) + " (" + loaderArm64 +
             " is not a 32-bit x86 program)"},
        {"a refusal with another status", "echo '" + refusalOf(loader32) + "' >&2\nexit 1\n",
         "the probe exited with status 1: " + refusalOf(loader32)},
        {"a crash", "kill -SEGV $$\n", "the probe was killed by signal SIGSEGV"},
        {"a kill before the time-out", "kill -KILL $$\n", "the probe was killed by signal SIGKILL"},
        {"a wrong output", "echo 'hello'\necho 'world'\n",
         "the probe printed 'hello\\nworld' instead of 'win32 probe: running'"},
        {"no output", "exit 0\n", "the probe printed '' instead of 'win32 probe: running'"},
        {"a time-out", "exec sleep 30\n", "the probe did not finish within 1 s"},
    };
    for (const Case& k : cases) {
        standInWine(k.wine);
        support::ShellRun found = probeWithStandIn("", "FMU_WIN32_PROBE_SECONDS=1");
        EXPECT_EQ(found.exitCode, 0) << k.what << "\n" << found.out;
        EXPECT_EQ(found.out, "win32 probe failed, the win32 suite will fail: " + k.reason + "\n")
            << k.what;
        EXPECT_EQ(verdict(), "fails") << k.what;
        support::ShellRun failed = report();
        EXPECT_EQ(failed.exitCode, 1) << k.what;
        EXPECT_EQ(failed.out, "win32 suite not run: the probe failed: " + k.reason + "\n") << k.what;
    }
}

// Without wine on the path the verdict is a skip that says how to install it. The path
// keeps only the tools the probe itself needs.
TEST_F(Win32Probe, NoWineSkipsAndNamesThePackagesToInstall) {
    const std::string tools = folder + "/tools";
    fs::create_directories(tools);
    for (const char* tool : {"bash", "sed", "head", "stat", "cat", "mkdir", "dirname", "mv",
                             "mktemp", "rm", "tr", "grep", "timeout", "od"}) {
        support::ShellRun where = shell(std::string("command -v ") + tool);
        ASSERT_EQ(where.exitCode, 0) << tool;
        fs::create_symlink(where.out.substr(0, where.out.find('\n')), tools + "/" + tool);
    }
    const std::string reason = "wine is not installed (./install-packages win32-test installs it)";
    support::ShellRun found = probe(tools);
    EXPECT_EQ(found.exitCode, 0) << found.out;
    EXPECT_EQ(found.out, "win32 probe: cross-built programs cannot run here, the win32 suite "
                         "will be skipped: " + reason + "\n");
    EXPECT_EQ(report().out, "win32 suite skipped: this host cannot run it: " + reason + "\n");
}

// The report stands for the suite only where it did not run: a verdict that it runs, or
// none at all, must not pass for a skip.
TEST_F(Win32Probe, TheReportFailsWithoutASkipToReport) {
    support::ShellRun none = report();
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.out, "win32 suite not run: no verdict in " + verdictFile + " (build first)\n");
    writeFile(verdictFile, "fingerprint x\nverdict runs\nreason \n", fs::perms::owner_all);
    support::ShellRun runs = report();
    EXPECT_EQ(runs.exitCode, 1);
    EXPECT_EQ(runs.out, "win32 suite not run, although the probe ran: run ctest again\n");
}

// A kept verdict is used again while wine stays the same; once wine changes (installed,
// removed or replaced) the probe runs again. A failure is tried again, but where CTest asks
// right after the build it is kept.
TEST_F(Win32Probe, TheVerdictIsFoundAgainWhenWineChanges) {
    standInRefusing(loader32);
    ASSERT_EQ(probeWithStandIn().exitCode, 0);
    const int firstCalls = wineCalls();
    ASSERT_GT(firstCalls, 0);
    ASSERT_EQ(probeWithStandIn().exitCode, 0);
    EXPECT_EQ(wineCalls(), firstCalls) << "a kept skip is used again";
    EXPECT_EQ(verdict(), "skip");

    standInWine("echo 'wine: could not load kernel32.dll, status c0000135' >&2\nexit 1\n");
    EXPECT_EQ(probeWithStandIn().exitCode, 0);
    EXPECT_GT(wineCalls(), firstCalls) << "a changed wine is probed again";
    EXPECT_EQ(verdict(), "fails");
    const int failedCalls = wineCalls();
    probeWithStandIn("--keep-failure");
    EXPECT_EQ(wineCalls(), failedCalls) << "CTest keeps the build's failure";
    probeWithStandIn();
    EXPECT_GT(wineCalls(), failedCalls) << "the next build tries again";
    EXPECT_EQ(verdict(), "fails");
}

// Where wine starts at all, the cross-built probe must run: a probe that skipped or failed
// here would leave the whole win32 suite out on a host that can run it.
TEST_F(Win32Probe, TheRealWineRunsTheProbeWhereItStarts) {
    support::ShellRun version = shell("wine --version");
    if (version.exitCode != 0) GTEST_SKIP() << "wine does not start here: " << version.out;
    prefix = FMU_WIN32_PREFIX;  // the build's own, already made
    support::ShellRun found = probe(std::getenv("PATH"));
    EXPECT_EQ(found.exitCode, 0) << found.out;
    EXPECT_EQ(found.out, "win32 probe: cross-built programs run here\n");
    EXPECT_EQ(verdict(), "runs");
}

}  // namespace
