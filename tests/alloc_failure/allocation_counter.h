// Counting and failing the C allocator calls of code linked into this executable. The
// executable is linked with --wrap for calloc, malloc, realloc and free, so the unit's
// adapter and model, linked in statically, reach these wrappers; the C++ runtime and the
// C library do not. Nothing is counted or failed outside an armed window.
#pragma once

#include <cstddef>

namespace allocation {

// Starts a window: counts restart, and the failAt-th allocation call (1 for the first)
// returns null; with 0 none fails.
void arm(long failAt = 0);
void disarm();

long calls();        // allocation calls in the window, the failed one included
long outstanding();  // blocks handed out in the window and not freed since

// Arms for the lifetime of the object.
struct Window {
    explicit Window(long failAt = 0) { arm(failAt); }
    ~Window() { disarm(); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
};

}  // namespace allocation
