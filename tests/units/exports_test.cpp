// Each unit's library exports exactly the 44 entry points and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "unit_library.h"
#include "unit_under_test.h"

namespace {

std::set<std::string> dynamicExports(const std::string& library) {
    std::set<std::string> names;
    const std::string command = "nm -D --defined-only '" + library + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        size_t space = text.rfind(' ');
        names.insert(space == std::string::npos ? text : text.substr(space + 1));
    }
    EXPECT_EQ(pclose(pipe), 0) << command;
    return names;
}

struct Exports : ::testing::TestWithParam<support::UnitFiles> {};

TEST_P(Exports, ExactlyTheFortyFourEntryPoints) {
    const auto& expected = master::UnitLibrary::entryPointNames();
    ASSERT_EQ(expected.size(), 44u);
    EXPECT_EQ(dynamicExports(GetParam().library),
              std::set<std::string>(expected.begin(), expected.end()));
}

INSTANTIATE_TEST_SUITE_P(EachUnit, Exports, ::testing::ValuesIn(support::allUnits()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
