// The filter choice of Scale.h, the same whichever code draws the picture.
#include "platform/graphics/Scale.h"

namespace vark {

ScaleFilter PictureFilter(int srcWidth, int srcHeight, int destWidth, int destHeight) {
  const bool shrinksMuch =
      (destWidth > 0 && srcWidth > 2 * destWidth) || (destHeight > 0 && srcHeight > 2 * destHeight);
  return shrinksMuch ? ScaleFilter::HighQuality : ScaleFilter::Bilinear;
}

}  // namespace vark
