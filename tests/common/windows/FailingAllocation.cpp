#include "tests/common/windows/FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {

// Allocations of this thread until the one that fails; negative: none fails.
thread_local int allocationsBeforeFailure = -1;

}  // namespace

void vark::testing::FailAllocationAfter(int allocations) {
  allocationsBeforeFailure = allocations;
}

void* operator new(std::size_t size) {
  if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
  std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
