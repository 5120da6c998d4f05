// Memory running out, on demand: the test program's operator new fails with
// std::bad_alloc at a chosen allocation of the calling thread, as it would
// when the system has no memory left. The replacement operator new
// (FailingAllocation.cpp) is in every Windows test program, since the
// programs' allocations find it first in the tests' common library; until a
// test arms it, it only allocates.
#pragma once

namespace vark::testing {

// The allocation after `allocations` more of this thread fails (0: the next
// one); the ones after it succeed again.
void FailAllocationAfter(int allocations);

}  // namespace vark::testing
