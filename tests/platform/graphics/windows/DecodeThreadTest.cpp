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
    // Made first on the thread, so it ends last: it asks whether COM is
    // still initialised there, as it would be if the thread had left it so.
    struct LastToEnd {
      HRESULT* result;
      ~LastToEnd() {
        *result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(*result)) CoUninitialize();
      }
    };
    thread_local LastToEnd last{&comAtTheEnd};
    TBitmap bitmap;
    vark::DecodeJpeg(vark::testing::ProgressiveBlocksJpeg(), 1, bitmap);
    EXPECT_GT(bitmap.Width(), 0);
    factory = &vark::wic::Factory();
    factory->AddRef();  // ours, to count what the thread left
  }).join();
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->Release(), 0u) << "the thread kept its imaging factory";
  EXPECT_EQ(comAtTheEnd, S_OK) << "COM is still initialised on the ended thread";
}

}  // namespace
