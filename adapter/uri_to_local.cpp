#include "uri_to_local.h"

#include <stdlib.h>
#include <string.h>

namespace {

const size_t resultBufferSize = 1024;

bool startsWith(const char* text, const char* prefix) {
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

}  // namespace

int hexDigitValue(signed char character) {
    if (character >= '0' && character <= '9') return character - '0';
    if (character >= 'A' && character <= 'F') return character - 'A' + 10;
    if (character >= 'a' && character <= 'f') return character - 'a' + 10;
    return -1;
}

unsigned char decodeHexPair(const char* escape) {
    int high = hexDigitValue(static_cast<signed char>(escape[1]));
    int low = hexDigitValue(static_cast<signed char>(escape[2]));
    if (high < 0 || low < 0) return 0;
    return static_cast<unsigned char>(16 * high + low);
}

void percentDecodePath(const char* source, char* destination) {
    if (*source == '\0') return;
    const char* src = source;
    char* out = destination;
    while (*src != '\0') {
        if (src[0] == '%' && src[1] != '\0' && src[2] != '\0') {
            *out = static_cast<char>(decodeHexPair(src));
            src += 3;
        } else if (*src == '/') {
            *out = '\\';
            ++src;
        } else {
            *out = *src;
            ++src;
        }
        // An escape of 00 or an invalid escape ends the path where it stands.
        if (*out == '\0') return;
        ++out;
    }
    // Strip trailing separators, never before the first output character and never
    // past the first source character.
    size_t last = static_cast<size_t>(out - destination);
    size_t sourceLast = static_cast<size_t>(src - source) - 1;
    while (last > 0 && destination[last - 1] == '\\' && sourceLast != 0) {
        destination[last - 1] = '\0';
        --last;
        --sourceLast;
    }
}

char* uriToLocal(const char* location) {
    // Conversion never lengthens the text, so a buffer one byte longer than the location
    // always holds the path; short locations get the usual 1024 bytes.
    size_t length = strlen(location);
    size_t size = length + 1 > resultBufferSize ? length + 1 : resultBufferSize;
    char* buffer = static_cast<char*>(calloc(size, 1));
    if (buffer == nullptr) return nullptr;

    if (startsWith(location, "file:///")) {
        percentDecodePath(location + 8, buffer);
    } else if (startsWith(location, "file:/")) {
        const char* rest = location + 6;
        if (startsWith(rest, "/localhost/")) rest += 11;
        percentDecodePath(rest, buffer);
    } else if (startsWith(location, "http") || startsWith(location, "ftp")) {
        // Network locations are not served: the path stays empty.
    } else {
        memcpy(buffer, location, length);
    }
    return buffer;
}
