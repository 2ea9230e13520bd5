#include "platform/memory.h"

#include <cstdlib>
#include <new>

namespace vell {

void* ZeroAlloc(std::size_t bytes) {
  void* block = std::calloc(1, bytes == 0 ? 1 : bytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void* PlainAlloc(std::size_t bytes) {
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void ZeroFree(void* block) noexcept { std::free(block); }

}  // namespace vell
