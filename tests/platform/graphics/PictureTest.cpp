// TPicture: the kind of graphic follows the data's signature, failed loads
// keep the old picture, copies are independent and changes are announced.
#include <gtest/gtest.h>

#include <vector>

#include "PictureTestSupport.h"
#include "platform/Exceptions.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/Picture.h"
#include "platform/graphics/PictureFile.h"
#include "platform/graphics/PngCodec.h"
#include "platform/graphics/PngImage.h"

namespace {

std::vector<uint8_t> PngBytes(int w, int h) {
  return vark::EncodePng(
      vark::testing::MakeRaster(w, h, COLOR_RGBALPHA, 8, std::vector<unsigned>(w * h * 4, 200)));
}

std::vector<uint8_t> JpegBytes(int w, int h) {
  TBitmap bmp(w, h);
  vark::testing::FillBlocks(bmp, 8);
  return vark::EncodeJpeg(bmp);
}

TEST(Picture, LoadsByTheDataNotTheName) {
  vark::testing::TempFolder folder;
  // A PNG named .jpg and a JPEG named .png.
  const std::string pngPath = folder.File("really-a-png.jpg");
  const std::string jpegPath = folder.File("really-a-jpeg.png");
  vark::WritePictureFile(pngPath, PngBytes(12, 7));
  vark::WritePictureFile(jpegPath, JpegBytes(30, 20));

  TPicture picture;
  int changes = 0;
  picture.OnChange = [&] { ++changes; };
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Graphic(), nullptr);

  picture.LoadFromFile(pngPath);
  EXPECT_NE(dynamic_cast<TPngImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 12);
  EXPECT_EQ(picture.Height(), 7);
  picture.LoadFromFile(jpegPath);
  EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 30);
  EXPECT_EQ(changes, 2);

  // Failures leave the picture as it was and announce nothing.
  const std::vector<uint8_t> unknown = {'B', 'M', 1, 2, 3, 4};
  EXPECT_THROW(picture.LoadFromMemory(unknown), EInvalidGraphic);
  auto brokenPng = PngBytes(4, 4);
  brokenPng.resize(brokenPng.size() / 2);
  EXPECT_THROW(picture.LoadFromMemory(brokenPng), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile(folder.File("missing.png")), EFOpenError);
  EXPECT_THROW(picture.LoadFromFile(folder.File("")), EFOpenError);  // a folder
  EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(changes, 2);
}

TEST(Picture, AssignCopiesTheGraphic) {
  TPicture a;
  a.LoadFromMemory(PngBytes(5, 3));
  TPicture b;
  b.Assign(&a);
  ASSERT_NE(b.Graphic(), nullptr);
  EXPECT_NE(b.Graphic(), a.Graphic());
  EXPECT_EQ(b.Width(), 5);
  a.LoadFromMemory(JpegBytes(9, 9));  // the copy does not follow
  EXPECT_NE(dynamic_cast<TPngImage*>(b.Graphic()), nullptr);
  // Assigning a picture its own graphic keeps it.
  b.Assign(b.Graphic());
  EXPECT_EQ(b.Width(), 5);
  // A bitmap is a graphic too.
  TBitmap bmp(2, 2);
  b.Assign(&bmp);
  EXPECT_NE(dynamic_cast<TBitmap*>(b.Graphic()), nullptr);
  b.Assign(static_cast<const TPicture*>(nullptr));
  EXPECT_TRUE(b.Empty());
}

}  // namespace
