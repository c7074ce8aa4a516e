// Turns the resource-location URI a master passes to fmi2Instantiate into a local path.
#ifndef URI_TO_LOCAL_H
#define URI_TO_LOCAL_H

// Returns a zero-filled buffer the caller frees, holding the path (empty for network
// locations and file URIs without a path), or null when no buffer could be had.
char* uriToLocal(const char* location);

void percentDecodePath(const char* source, char* destination);
unsigned char decodeHexPair(const char* escape);
int hexDigitValue(signed char character);

#endif
