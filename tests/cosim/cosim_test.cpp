// The command-line runner: its CSV, its options and its refusals.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "unit_under_test.h"

namespace {

struct CosimRun {
    int exitCode;
    std::string out;
    std::string err;
};

CosimRun cosim(const std::string& arguments) {
    static int calls = 0;
    const std::string errFile = ::testing::TempDir() + "cosim-stderr-" +
                                std::to_string(getpid()) + "-" + std::to_string(calls++) + ".txt";
    const std::string command = std::string(COSIM_PATH) + " " + arguments + " 2>" + errFile;
    CosimRun run{-1, {}, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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

}  // namespace
