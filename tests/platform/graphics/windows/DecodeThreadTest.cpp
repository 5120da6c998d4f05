// A thread that decodes a picture ahead of drawing it (one per picture the
// window prepares) leaves neither its imaging factory nor COM behind when it
// ends.
#include <gtest/gtest.h>

#include <thread>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/windows/Wic.h"
#include "tests/platform/graphics/SampleJpegs.h"

namespace {

TEST(DecodeThread, EndsWithItsFactoryReleasedAndComUninitialised) {
  IWICImagingFactory* factory = nullptr;
  HRESULT comAtTheEnd = E_FAIL;
  std::thread([&] {
    {
      // The work of the thread, as the picture's decode ahead of drawing does it.
      const vark::CodecThreadScope codecs;
      TBitmap bitmap;
      vark::DecodeJpeg(vark::testing::ProgressiveBlocksJpeg(), 1, bitmap);
      EXPECT_GT(bitmap.Width(), 0);
      factory = &vark::wic::Factory();
      factory->AddRef();  // ours, to count what the thread keeps
    }
    // COM that is still initialised here answers S_FALSE.
    comAtTheEnd = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(comAtTheEnd)) CoUninitialize();
  }).join();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->Release(), 0u) << "the thread kept its imaging factory";
  EXPECT_EQ(comAtTheEnd, S_OK) << "COM is still initialised on the thread";
}

}  // namespace
