// What the text engine asks GDI about the installed fonts.
#include "platform/graphics/text/windows/GdiDevice.h"

#include <gtest/gtest.h>

#include <new>

#include "platform/os/windows/Win32.h"
#include "tests/common/windows/FailingAllocation.h"

namespace {

TEST(GdiDevice, MemoryRunningOutWhileGdiListsTheFontsComesBackAsAnError) {
  // GDI calls back for each font family with its list of them in hand: an
  // error that unwinds through GDI's code leaves that list behind.
  const auto heapInUse = [] {
    size_t busy = 0;
    PROCESS_HEAP_ENTRY entry{};
    HeapLock(GetProcessHeap());
    while (HeapWalk(GetProcessHeap(), &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    HeapUnlock(GetProcessHeap());
    return busy;
  };
  vark::text::GdiDevice device;
  const size_t families = device.Families().size();
  ASSERT_GT(families, 0u);
  const size_t before = heapInUse();
  vark::testing::FailAllocationAfter(0);
  EXPECT_THROW(device.Families(), std::bad_alloc);
  EXPECT_LT(heapInUse(), before + families * 64) << "GDI's list of the fonts is left behind";
  EXPECT_EQ(device.Families().size(), families);
}

}  // namespace
