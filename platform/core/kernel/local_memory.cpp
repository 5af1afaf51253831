// LocalAlloc, LocalReAlloc, LocalFree, LocalSize. Blocks are fixed (the handle is the
// address) and every live one is in a registry, so that a freed, foreign or made-up handle
// fails with ERROR_INVALID_HANDLE instead of reaching the allocator.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

// A handheld process's address space is far smaller; a request beyond this is a mistake, and
// refusing it keeps the allocator from being asked for absurd sizes.
constexpr SIZE_T kMaxBlockBytes = 0x7FFFFFFF;

struct Block {
  SIZE_T size = 0;      // what the program asked for
  SIZE_T capacity = 0;  // what was allocated: the block grows in place up to this
};

class Blocks {
 public:
  static Blocks& get() {
    static auto* blocks = new Blocks;  // used until the process ends
    return *blocks;
  }
  std::mutex mutex;
  std::unordered_map<void*, Block> live;
};

HLOCAL fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// malloc(0) may give null; every block has at least one byte behind it.
void* allocate(SIZE_T bytes, bool zero) {
  const SIZE_T real = bytes ? bytes : 1;
  return zero ? std::calloc(real, 1) : std::malloc(real);
}

}  // namespace

HANDHELD_API HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
  if (flags & ~LMEM_ZEROINIT) return fail(ERROR_INVALID_PARAMETER);  // fixed blocks only
  if (bytes > kMaxBlockBytes) return fail(ERROR_NOT_ENOUGH_MEMORY);
  void* memory = allocate(bytes, (flags & LMEM_ZEROINIT) != 0);
  if (!memory) return fail(ERROR_NOT_ENOUGH_MEMORY);
  auto& blocks = Blocks::get();
  std::lock_guard guard(blocks.mutex);
  blocks.live[memory] = Block{bytes, bytes};
  return memory;
}

HANDHELD_API HLOCAL WINAPI LocalReAlloc(HLOCAL memory, SIZE_T bytes, UINT flags) {
  if (flags & ~(LMEM_MOVEABLE | LMEM_ZEROINIT | LMEM_MODIFY)) return fail(ERROR_INVALID_PARAMETER);
  auto& blocks = Blocks::get();
  std::lock_guard guard(blocks.mutex);
  auto it = blocks.live.find(memory);
  if (it == blocks.live.end()) return fail(ERROR_INVALID_HANDLE);
  if (flags & LMEM_MODIFY) {
    // A fixed block cannot be made moveable; there is no other attribute to change.
    return (flags & LMEM_MOVEABLE) ? fail(ERROR_INVALID_PARAMETER) : memory;
  }
  if (bytes > kMaxBlockBytes) return fail(ERROR_NOT_ENOUGH_MEMORY);
  Block block = it->second;
  void* result = memory;
  if (bytes > block.capacity) {
    if (!(flags & LMEM_MOVEABLE)) return fail(ERROR_NOT_ENOUGH_MEMORY);  // cannot grow in place
    result = std::realloc(memory, bytes);
    if (!result) return fail(ERROR_NOT_ENOUGH_MEMORY);  // the old block stays as it was
    blocks.live.erase(it);
    block.capacity = bytes;
  }
  if ((flags & LMEM_ZEROINIT) && bytes > block.size)
    std::memset(static_cast<char*>(result) + block.size, 0, bytes - block.size);
  block.size = bytes;
  blocks.live[result] = block;
  return result;
}

HANDHELD_API HLOCAL WINAPI LocalFree(HLOCAL memory) {
  if (!memory) return nullptr;
  auto& blocks = Blocks::get();
  {
    std::lock_guard guard(blocks.mutex);
    if (blocks.live.erase(memory) == 0) {
      SetLastError(ERROR_INVALID_HANDLE);
      return memory;
    }
  }
  std::free(memory);
  return nullptr;
}

HANDHELD_API SIZE_T WINAPI LocalSize(HLOCAL memory) {
  auto& blocks = Blocks::get();
  std::lock_guard guard(blocks.mutex);
  auto it = blocks.live.find(memory);
  if (it == blocks.live.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return it->second.size;
}
