// The Windows Imaging Component under our picture codecs: its factory (one
// per thread, COM initialised first), streams over bytes in memory, encoded
// output gathered in memory, and failures as EInvalidGraphic with a reason.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/os/windows/ComPtr.h"
#include "platform/os/windows/Win32.h"

namespace vark::wic {

using os::win32::ComPtr;

// The imaging factory of this thread, made on first use and kept until
// ReleaseFactory.
IWICImagingFactory& Factory();
void ReleaseFactory();

// A stream reading data, which must outlive it.
ComPtr<IWICStream> ReadStream(std::span<const uint8_t> data);

// Raises EInvalidGraphic(what + ": " + reason) when hr is a failure.
void Check(HRESULT hr, const std::string& what);

// A stream in memory that an encoder writes into.
class OutputStream {
 public:
  OutputStream();
  IStream* Get() const { return stream_.Get(); }
  // Everything written so far.
  std::vector<uint8_t> Bytes() const;

 private:
  ComPtr<IStream> stream_;
};

// Writes rows of pixels in one WIC pixel format as an image of a container
// format (PNG, JPEG): the frame's options are set by options before the
// frame starts. The encoder must take the format as it is (no conversion),
// else EInvalidGraphic names the pixel format as not written.
struct EncodeRequest {
  const GUID* container = nullptr;
  const GUID* pixelFormat = nullptr;
  UINT width = 0;
  UINT height = 0;
  UINT stride = 0;
  std::span<const uint8_t> pixels;
  const char* what = "";  // the start of an error's text
};
template <class SetOptions>
std::vector<uint8_t> Encode(const EncodeRequest& request, SetOptions&& options);

// The untemplated part of Encode.
std::vector<uint8_t> EncodeFrame(const EncodeRequest& request,
                                 void (*setOptions)(IPropertyBag2*, void*), void* context);

template <class SetOptions>
std::vector<uint8_t> Encode(const EncodeRequest& request, SetOptions&& options) {
  return EncodeFrame(
      request, [](IPropertyBag2* bag, void* context) { (*static_cast<SetOptions*>(context))(bag); },
      &options);
}

// Writes one option of an encoder's property bag.
HRESULT WriteOption(IPropertyBag2* bag, const wchar_t* name, const VARIANT& value);

}  // namespace vark::wic
