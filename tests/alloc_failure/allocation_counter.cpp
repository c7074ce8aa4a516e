#include "allocation_counter.h"

#include <cstdlib>
#include <cstring>

extern "C" {
void* __real_calloc(size_t count, size_t size);
void* __real_malloc(size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
}

namespace {

// Enough for the allocations of a handful of instances; more in one window is a failure
// of its own, which outstanding() still reports.
constexpr int maxTracked = 256;

bool armed = false;
long failAtCall = 0;
long callCount = 0;
long untracked = 0;
void* blocks[maxTracked];
int blockCount = 0;

// Decides whether this allocation call fails.
bool nextCallFails() {
    ++callCount;
    return callCount == failAtCall;
}

void track(void* block) {
    if (block == nullptr) return;
    if (blockCount < maxTracked) blocks[blockCount++] = block;
    else ++untracked;
}

void untrack(void* block) {
    for (int i = 0; i < blockCount; ++i) {
        if (blocks[i] == block) {
            blocks[i] = blocks[--blockCount];
            return;
        }
    }
}

}  // namespace

namespace allocation {

void arm(long failAt) {
    armed = true;
    failAtCall = failAt;
    callCount = 0;
    untracked = 0;
    blockCount = 0;
}

// The counts stay readable; the addresses go, so that a leak checker sees a block that the
// unit lost as lost rather than reachable through this table.
void disarm() {
    armed = false;
    std::memset(blocks, 0, sizeof blocks);
}

long calls() { return callCount; }

long outstanding() { return blockCount + untracked; }

}  // namespace allocation

extern "C" {

void* __wrap_calloc(size_t count, size_t size) {
    if (!armed) return __real_calloc(count, size);
    if (nextCallFails()) return nullptr;
    void* block = __real_calloc(count, size);
    track(block);
    return block;
}

void* __wrap_malloc(size_t size) {
    if (!armed) return __real_malloc(size);
    if (nextCallFails()) return nullptr;
    void* block = __real_malloc(size);
    track(block);
    return block;
}

void* __wrap_realloc(void* block, size_t size) {
    if (!armed) return __real_realloc(block, size);
    if (nextCallFails()) return nullptr;
    void* moved = __real_realloc(block, size);
    if (moved != nullptr) {
        untrack(block);
        track(moved);
    }
    return moved;
}

void __wrap_free(void* block) {
    if (armed) untrack(block);
    __real_free(block);
}

}  // extern "C"
