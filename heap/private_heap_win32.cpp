#include "heap/private_heap.h"

#include <windows.h>

static HANDLE privateHeap;

// A small initial size; the heap grows as the window tables and the work area need.
static const SIZE_T INITIAL_HEAP_SIZE = 4000;

bool CreatePrivateHeap() {
    privateHeap = HeapCreate(0, INITIAL_HEAP_SIZE, 0);
    return privateHeap != nullptr;
}

void* PrivateAlloc(size_t size) {
    return HeapAlloc(privateHeap, HEAP_ZERO_MEMORY, size);
}

void* PrivateReAlloc(void* block, size_t size) {
    return HeapReAlloc(privateHeap, HEAP_ZERO_MEMORY, block, size);
}

void PrivateFree(void* block) {
    (void)HeapFree(privateHeap, 0, block);
}

void ReleasePrivateHeap() {
    if (privateHeap != nullptr)
        (void)HeapDestroy(privateHeap);
    privateHeap = nullptr;
}
