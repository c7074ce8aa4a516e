// The smallest cross-built program: the build runs it once to learn whether this host can
// run the cross-built tests at all. It prints one known line, so that a runner that starts
// but runs nothing (or something else) is not taken for one that works.
#include <cstdio>

int main() {
    static_assert(sizeof(void*) == 4, "built for 32-bit Windows only");
    std::puts("win32 probe: running");
    return 0;
}
