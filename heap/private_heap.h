#pragma once

#include <stddef.h>

// The program's private heap: everything in it is released as a whole at the end.

bool CreatePrivateHeap();
// Zero-filled.
void* PrivateAlloc(size_t size);
// Grows a block; the new part is zero-filled.
void* PrivateReAlloc(void* block, size_t size);
void PrivateFree(void* block);
void ReleasePrivateHeap();
