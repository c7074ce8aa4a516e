// Resource-location conversion: every worked example, and locations too long for the
// usual buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "uri_to_local.h"

namespace {

std::string convert(const char* location) {
    char* path = uriToLocal(location);
    EXPECT_NE(path, nullptr);
    std::string result = path ? path : "";
    std::free(path);
    return result;
}

TEST(UriToLocal, WorkedExamples) {
    struct Case {
        const char* location;
        const char* path;
    };
    const Case cases[] = {
        {"file:///C:/work/unit/resources", "C:\\work\\unit\\resources"},
        {"file:///C:/work/unit/resources/", "C:\\work\\unit\\resources"},
        {"file:/C:/My%20Files/res//", "C:\\My Files\\res"},
        {"file://localhost/C:/work/res", "C:\\work\\res"},
        {"file:///localhost/res", "localhost\\res"},
        {"file://server/share/res", "\\server\\share\\res"},
        {"file:///C:/a%2Fb", "C:\\a/b"},
        {"file:///C:/a%2fb/", "C:\\a/b"},
        {"file:///C:/res%5C/", "C:\\res"},
        {"file:///C:/res/%zz/x", "C:\\res\\"},
        {"file:///C:/a%00b", "C:\\a"},
        {"file:///C:/a%4g/b", "C:\\a"},
        {"file:///C:/50%", "C:\\50%"},
        {"file:///C:/50%4", "C:\\50%4"},
        {"file:////", "\\"},
        {"file://", "\\"},
        {"file:///", ""},
        {"file://localhost/", ""},
        {"file:///%5C%5C", ""},
        {"file:///%zz", ""},
        {"http://host/res", ""},
        {"https://host/res", ""},
        {"ftp://host/res", ""},
        {"ftps://host/res", ""},
        {"ftpdata", ""},
        {"httpfolder/res", ""},
        {"C:\\work\\res", "C:\\work\\res"},
        {"C:\\work\\res\\", "C:\\work\\res\\"},
        {"C:/work/res/", "C:/work/res/"},
        {"FILE:///C:/x", "FILE:///C:/x"},
        {"file:C:/x", "file:C:/x"},
        {"", ""},
        {"file://localhost", "\\localhost"},
        {"file:///C:/res%5c", "C:\\res"},
        {"file:///C:/res%2F", "C:\\res/"},
        {"file:///%C3%A9t%C3%A9", "\xC3\xA9t\xC3\xA9"},
        {"file:///C:/caf\xC3\xA9/", "C:\\caf\xC3\xA9"},
        {"file:////////", "\\"},
    };
    for (const Case& k : cases) EXPECT_EQ(convert(k.location), k.path) << k.location;
}

TEST(UriToLocal, HexDigits) {
    struct Case {
        char character;
        int value;
    };
    const Case cases[] = {{'0', 0}, {'9', 9}, {'A', 10}, {'F', 15}, {'a', 10}, {'f', 15},
                          {'G', -1}, {'g', -1}, {'/', -1}, {':', -1}, {'@', -1}, {'`', -1},
                          {'\0', -1}, {static_cast<char>(0xB0), -1}};
    for (const Case& k : cases)
        EXPECT_EQ(hexDigitValue(static_cast<signed char>(k.character)), k.value)
            << static_cast<int>(k.character);
    EXPECT_EQ(decodeHexPair("%41"), 'A');
    EXPECT_EQ(decodeHexPair("%ff"), 0xFF);
    EXPECT_EQ(decodeHexPair("%f\xB0"), 0);
}

TEST(UriToLocal, LongLocationsFitTheirBuffer) {
    for (size_t length : {1022u, 1023u, 1024u, 5000u}) {
        std::string tail(length, 'x');
        EXPECT_EQ(convert(tail.c_str()), tail) << length;
        EXPECT_EQ(convert(("file:///" + tail + "/").c_str()), tail) << length;
        std::string escaped;
        for (size_t i = 0; i < length; ++i) escaped += "%41";
        EXPECT_EQ(convert(("file:///" + escaped).c_str()), std::string(length, 'A')) << length;
    }
}

}  // namespace
