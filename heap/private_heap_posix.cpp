#include "heap/private_heap.h"

#include <stdlib.h>
#include <string.h>

// Each block carries a header linking it into the heap's list and recording its size, so
// that the heap can be released as a whole.
struct BlockHeader {
    BlockHeader* previous;
    BlockHeader* next;
    size_t size;
    max_align_t alignment;
};

static BlockHeader* firstBlock;

static void Link(BlockHeader* block) {
    block->previous = nullptr;
    block->next = firstBlock;
    if (firstBlock != nullptr)
        firstBlock->previous = block;
    firstBlock = block;
}

static void Unlink(BlockHeader* block) {
    if (block->previous != nullptr)
        block->previous->next = block->next;
    else
        firstBlock = block->next;
    if (block->next != nullptr)
        block->next->previous = block->previous;
}

bool CreatePrivateHeap() {
    return true;
}

void* PrivateAlloc(size_t size) {
    BlockHeader* block = static_cast<BlockHeader*>(calloc(1, sizeof(BlockHeader) + size));
    if (block == nullptr)
        return nullptr;
    block->size = size;
    Link(block);
    return block + 1;
}

void* PrivateReAlloc(void* memory, size_t size) {
    BlockHeader* old = static_cast<BlockHeader*>(memory) - 1;
    void* grown = PrivateAlloc(size);
    if (grown == nullptr)
        return nullptr;
    memcpy(grown, memory, old->size < size ? old->size : size);
    PrivateFree(memory);
    return grown;
}

void PrivateFree(void* memory) {
    BlockHeader* block = static_cast<BlockHeader*>(memory) - 1;
    Unlink(block);
    free(block);
}

void ReleasePrivateHeap() {
    while (firstBlock != nullptr)
        PrivateFree(firstBlock + 1);
}
