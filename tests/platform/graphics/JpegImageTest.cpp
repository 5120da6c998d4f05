// JPEG pictures: decoding at full size and with DCT scaling, the choice of
// the reduction for a target size, the decode cache, and bad files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PictureTestSupport.h"
#include "SampleJpegs.h"
#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/JpegImage.h"

namespace {

using vark::testing::BlockColor;
using vark::testing::ChannelDistance;

// A 256 x 160 picture of 32-pixel colour blocks.
std::vector<uint8_t> BlockJpeg(int width = 256, int height = 160) {
  TBitmap bmp(width, height);
  bmp.SetPixelFormat(pf24bit);
  vark::testing::FillBlocks(bmp, 32);
  return vark::EncodeJpeg(bmp, 95);
}

// Every block's centre in the decoded bitmap has the block's colour.
void ExpectBlocks(const TBitmap& bmp, int blockSize) {
  for (int by = 0; (by + 1) * blockSize <= bmp.Height(); ++by) {
    for (int bx = 0; (bx + 1) * blockSize <= bmp.Width(); ++bx) {
      const int x = bx * blockSize + blockSize / 2;
      const int y = by * blockSize + blockSize / 2;
      EXPECT_LE(ChannelDistance(bmp.ColorAt(x, y), BlockColor(bx, by)), 8)
          << "block " << bx << "," << by;
    }
  }
}

TEST(JpegDecode, FullSizeAndDctScaled) {
  TJPEGImage jpeg;
  jpeg.LoadFromMemory(BlockJpeg());
  EXPECT_EQ(jpeg.Width(), 256);
  EXPECT_EQ(jpeg.Height(), 160);

  TBitmap full;
  jpeg.AssignTo(full);
  ASSERT_EQ(full.Width(), 256);
  ASSERT_EQ(full.Height(), 160);
  EXPECT_EQ(full.PixelFormat(), pf24bit);
  EXPECT_EQ(PixelAlpha(full.PixelAt(0, 0)), 255);
  ExpectBlocks(full, 32);

  for (int denominator : {2, 4, 8}) {
    SCOPED_TRACE(denominator);
    TBitmap scaled;
    vark::DecodeJpeg(jpeg.Data(), denominator, scaled);
    EXPECT_EQ(scaled.Width(), 256 / denominator);
    EXPECT_EQ(scaled.Height(), 160 / denominator);
    ExpectBlocks(scaled, 32 / denominator);
  }
  // A size that does not divide is rounded up.
  TBitmap odd;
  vark::DecodeJpeg(BlockJpeg(250, 167), 8, odd);
  EXPECT_EQ(odd.Width(), 32);
  EXPECT_EQ(odd.Height(), 21);
}

TEST(JpegDecode, ProgressiveGreyAndCmykFiles) {
  TBitmap bmp(128, 64);
  vark::testing::FillBlocks(bmp, 16);
  const auto bytes = [](std::span<const uint8_t> file) {
    return std::vector<uint8_t>(file.begin(), file.end());
  };
  // Progressive files as libjpeg writes them (tests/data: the same blocks),
  // grey and CMYK files as this platform's encoder writes them.
  const struct {
    const char* name;
    std::vector<uint8_t> data;
    int components;
    bool progressive;
    bool grey;
  } cases[] = {
      {"progressive colour", bytes(vark::testing::ProgressiveBlocksJpeg()), 3, true, false},
      {"progressive grey", bytes(vark::testing::ProgressiveGreyBlocksJpeg()), 1, true, true},
      {"progressive inverted CMYK", bytes(vark::testing::ProgressiveCmykBlocksJpeg()), 4, true,
       false},
      {"grey", vark::EncodeJpeg(bmp, {95, false, vark::JpegColorSpace::Gray}), 1, false, true},
      {"inverted CMYK", vark::EncodeJpeg(bmp, {95, false, vark::JpegColorSpace::Cmyk}), 4, false,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const vark::JpegInfo info = vark::ReadJpegHeader(c.data);
    EXPECT_EQ(info.components, c.components);
    EXPECT_EQ(info.progressive, c.progressive);
    for (int denominator : {1, 4}) {
      TBitmap out;
      vark::DecodeJpeg(c.data, denominator, out);
      ASSERT_EQ(out.Width(), 128 / denominator);
      const int block = 16 / denominator;
      for (int by = 0; by < 4; ++by) {
        for (int bx = 0; bx < 8; ++bx) {
          TColor expected = BlockColor(bx, by);
          if (c.grey) {
            // Luminance: 0.299 R + 0.587 G + 0.114 B.
            const int y = (299 * GetRValue(expected) + 587 * GetGValue(expected) +
                           114 * GetBValue(expected) + 500) /
                          1000;
            expected = RGB(y, y, y);
          }
          const TColor got = out.ColorAt(bx * block + block / 2, by * block + block / 2);
          EXPECT_LE(ChannelDistance(got, expected), 8) << denominator << ": " << bx << "," << by;
        }
      }
    }
  }
  // Writing a progressive file: libjpeg does; the system's encoder on
  // Windows cannot, and says so instead of writing another kind.
#if defined(_WIN32)
  EXPECT_THROW(vark::EncodeJpeg(bmp, {95, true}), EInvalidGraphic);
#else
  EXPECT_TRUE(vark::ReadJpegHeader(vark::EncodeJpeg(bmp, {95, true})).progressive);
#endif
}

TEST(JpegDecode, ReductionCoversTheTarget) {
  const struct {
    int w, h, dw, dh, expected;
  } cases[] = {
      {2500, 1667, 794, 580, 2},  // the window's background: a half covers it, a quarter not
      {2500, 1667, 600, 400, 4},  // 625 x 417 covers
      {2500, 1667, 313, 209, 8},  // an eighth rounds up to exactly this
      {2500, 1667, 314, 209, 4},   {2500, 1667, 1250, 834, 2},  // exactly half
      {2500, 1667, 1251, 834, 1},                               // more than half: full size
      {2500, 1667, 2500, 1667, 1}, {2500, 1667, 5000, 3000, 1}, {100, 100, 13, 13, 8},
      {100, 100, 14, 14, 4},       {100, 100, 10, 60, 1},  // one direction above half
      {100, 100, 0, 0, 1},         {100, 100, -5, 10, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TJPEGImage::ScaleDenominatorFor(c.w, c.h, c.dw, c.dh), c.expected)
        << c.w << "x" << c.h << " into " << c.dw << "x" << c.dh;
  }
}

TEST(JpegDecode, DrawingDecodesOncePerScale) {
  TJPEGImage jpeg;
  jpeg.LoadFromMemory(BlockJpeg());
  const TBitmap* quarter = &jpeg.DecodedFor(60, 40);
  EXPECT_EQ(quarter->Width(), 64);
  EXPECT_EQ(quarter, &jpeg.DecodedFor(64, 40));  // same scale: the cached bitmap
  EXPECT_EQ(jpeg.DecodedFor(200, 150).Width(), 256);

  // Drawn into a canvas: stretched into the rectangle, clipped to it.
  TBitmap target(300, 200);
  target.SetPixelFormat(pf24bit);
  jpeg.Draw(target.Canvas(), Rect(10, 10, 74, 50));  // a quarter of the size
  EXPECT_LE(ChannelDistance(target.ColorAt(14, 14), BlockColor(0, 0)), 12);
  EXPECT_LE(ChannelDistance(target.ColorAt(70, 46), BlockColor(7, 4)), 12);
  EXPECT_EQ(target.PixelAt(9, 9), 0u);
  EXPECT_EQ(target.PixelAt(74, 50), 0u);
}

TEST(JpegDecode, PreparedDecodesAreTheOnesDrawn) {
  TJPEGImage jpeg;
  jpeg.LoadFromMemory(BlockJpeg());
  TBitmap unprepared;
  vark::DecodeJpeg(jpeg.Data(), 4, unprepared);
  jpeg.PrepareFor(60, 40);
  const TBitmap& quarter = jpeg.DecodedFor(64, 40);
  ASSERT_EQ(quarter.Width(), 64);
  for (int y = 0; y < quarter.Height(); ++y)
    for (int x = 0; x < quarter.Width(); ++x)
      ASSERT_EQ(quarter.PixelAt(x, y), unprepared.PixelAt(x, y)) << x << "," << y;

  // Prepared for one size, drawn at another; prepared, then new content.
  jpeg.PrepareFor(30, 20);
  EXPECT_EQ(jpeg.DecodedFor(200, 150).Width(), 256);
  jpeg.PrepareFor(60, 40);
  jpeg.LoadFromMemory(BlockJpeg(128, 96));
  EXPECT_EQ(jpeg.DecodedFor(60, 40).Width(), 64);
  ExpectBlocks(jpeg.DecodedFor(60, 40), 16);
}

TEST(JpegBadInput, FailsCleanly) {
  const std::vector<uint8_t> good = BlockJpeg();
  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> atLoad;
  atLoad.push_back({"empty", {}});
  atLoad.push_back({"another format", {0x89, 'P', 'N', 'G', 0, 0, 0, 0}});
  for (size_t cut = 3; cut < good.size(); cut += good.size() / 40 + 1) {
    atLoad.push_back({"cut at " + std::to_string(cut), {good.begin(), good.begin() + cut}});
  }
  atLoad.push_back({"cut before the end marker", {good.begin(), good.end() - 2}});
  {
    // The frame header claims 65535 x 65535 pixels, far past what a bitmap holds.
    auto b = good;
    for (size_t i = 2; i + 9 < b.size(); ++i) {
      if (b[i] == 0xFF && b[i + 1] == 0xC0) {
        b[i + 5] = b[i + 6] = b[i + 7] = b[i + 8] = 0xFF;
        break;
      }
    }
    atLoad.push_back({"65535 x 65535 pixels", b});
  }
  {
    auto b = good;
    b[4] = 0xFF;  // the first segment's length runs past the end
    b[5] = 0xFF;
    atLoad.push_back({"segment longer than the file", b});
  }

  TJPEGImage jpeg;
  jpeg.LoadFromMemory(good);
  for (const Case& c : atLoad) {
    SCOPED_TRACE(c.name);
    try {
      jpeg.LoadFromMemory(c.bytes);
      ADD_FAILURE() << "loaded";
    } catch (const EInvalidGraphic& e) {
      EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << e.what();
    }
    EXPECT_EQ(jpeg.Width(), 256);  // the picture loaded before is still there
  }

  // Damage inside the image data that keeps the file's structure: the image
  // data ends early. libjpeg finds it when decoding, and drawing then leaves
  // the target alone. The system's codec on Windows paints what is missing
  // and reports success, as the system's own viewers show such a file: there
  // the picture keeps its size.
  auto damaged = std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2);
  damaged.push_back(0xFF);
  damaged.push_back(0xD9);
  TJPEGImage broken;
  broken.LoadFromMemory(damaged);
  TBitmap bmp;
#if defined(_WIN32)
  broken.AssignTo(bmp);
  EXPECT_EQ(bmp.Width(), 256);
#else
  EXPECT_THROW(broken.AssignTo(bmp), EInvalidGraphic);
  TBitmap target(64, 64);
  broken.PrepareFor(64, 64);  // the prepared decode fails as the draw's own would
  broken.Draw(target.Canvas(), Rect(0, 0, 64, 64));
  broken.Draw(target.Canvas(), Rect(0, 0, 64, 64));
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x)
      ASSERT_EQ(target.PixelAt(x, y), 0u);
  }
#endif

  EXPECT_THROW(jpeg.LoadFromFile("/nonexistent/folder/picture.jpg"), EFOpenError);
}

TEST(JpegWrite, SavesAndLoadsFiles) {
  vark::testing::TempFolder folder;
  TBitmap bmp(64, 32);
  vark::testing::FillBlocks(bmp, 16);
  const std::string path = folder.File("blocks.jpg");
  vark::SaveJpeg(bmp, path, 90);
  TJPEGImage jpeg;
  jpeg.LoadFromFile(path);
  TBitmap back;
  jpeg.AssignTo(back);
  ExpectBlocks(back, 16);
  const std::string copy = folder.File("copy.jpg");
  jpeg.SaveToFile(copy);
  TJPEGImage again;
  again.LoadFromFile(copy);
  EXPECT_EQ(again.Data(), jpeg.Data());
  EXPECT_THROW(vark::EncodeJpeg(TBitmap()), EInvalidGraphic);
}

}  // namespace
