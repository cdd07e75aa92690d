// GlobalAlloc and its kin over a table of blocks, so that every call can tell a handle it
// made from any other value and refuse the rest.

#include "platform/win32.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <new>

#include "platform/posix/testing/driver_hooks.h"

namespace {

struct Block {
    std::unique_ptr<std::byte[]> Data;
    SIZE_T Size = 0;
    unsigned Locks = 0;
};

struct MemoryState {
    std::map<std::uintptr_t, Block> Blocks;
    // Moveable handles are odd numbers, so they never equal the (aligned) address of a block.
    std::uintptr_t NextMoveable = 1;
};

void ClearMemoryState();

MemoryState& State() {
    static MemoryState state;
    static const bool registered = (posix::AddResetHandler(&ClearMemoryState), true);
    static_cast<void>(registered);
    return state;
}

void ClearMemoryState() {
    State() = MemoryState{};
}

Block* Find(HGLOBAL memory) {
    auto found = State().Blocks.find(reinterpret_cast<std::uintptr_t>(memory));
    if (found == State().Blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &found->second;
}

} // namespace

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    std::unique_ptr<std::byte[]> data(new (std::nothrow) std::byte[bytes > 0 ? bytes : 1]);
    if (data == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if ((flags & GMEM_ZEROINIT) != 0) {
        std::memset(data.get(), 0, bytes);
    }
    MemoryState& state = State();
    std::uintptr_t handle = reinterpret_cast<std::uintptr_t>(data.get());
    if ((flags & GMEM_MOVEABLE) != 0) {
        handle = state.NextMoveable;
        state.NextMoveable += 2;
    }
    state.Blocks[handle] = Block{std::move(data), bytes, 0};
    return reinterpret_cast<HGLOBAL>(handle);
}

LPVOID WINAPI GlobalLock(HGLOBAL memory) {
    Block* block = Find(memory);
    if (block == nullptr) {
        return nullptr;
    }
    ++block->Locks;
    return block->Data.get();
}

BOOL WINAPI GlobalUnlock(HGLOBAL memory) {
    Block* block = Find(memory);
    if (block == nullptr) {
        return FALSE;
    }
    if (block->Locks > 0) {
        --block->Locks;
    }
    if (block->Locks == 0) {
        SetLastError(ERROR_SUCCESS);
        return FALSE;
    }
    return TRUE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL memory) {
    const Block* block = Find(memory);
    return block != nullptr ? block->Size : 0;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL memory) {
    if (Find(memory) == nullptr) {
        return memory;
    }
    State().Blocks.erase(reinterpret_cast<std::uintptr_t>(memory));
    return nullptr;
}
