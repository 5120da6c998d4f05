#include "platform/graphics/windows/Wic.h"

#include <cstdio>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/os/windows/Com.h"

namespace vark::wic {

namespace {

// The codec's failures as a reader would say them; anything else by number.
std::string Reason(HRESULT hr) {
  switch (hr) {
    case WINCODEC_ERR_BADIMAGE:
    case WINCODEC_ERR_BADHEADER:
    case WINCODEC_ERR_BADSTREAMDATA:
      return "the image data is damaged";
    case WINCODEC_ERR_STREAMREAD:
    case WINCODEC_ERR_STREAMNOTAVAILABLE:
    case HRESULT_FROM_WIN32(ERROR_HANDLE_EOF):
      return "the data ends too early";
    case WINCODEC_ERR_COMPONENTNOTFOUND:
    case WINCODEC_ERR_COMPONENTINITIALIZEFAILURE:
      return "the system has no codec for it";
    case WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT:
    case WINCODEC_ERR_UNSUPPORTEDOPERATION:
      return "the system's codec does not support it";
    case E_OUTOFMEMORY:
      return "out of memory";
    default: {
      char text[40];
      std::snprintf(text, sizeof text, "error 0x%08lX", static_cast<unsigned long>(hr));
      return text;
    }
  }
}

// The factory of this thread (a plain pointer: see Com.cpp on why nothing of
// a thread's own has a destructor here).
thread_local IWICImagingFactory* factory = nullptr;

}  // namespace

IWICImagingFactory& Factory() {
  // Kept while the thread runs: COM objects belong to the apartment that made
  // them, and COM stays initialised on the thread.
  if (factory == nullptr) {
    os::win32::EnsureComInitialized();
    IWICImagingFactory* made = nullptr;
    const HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_PPV_ARGS(&made));
    Check(hr, "The imaging codecs cannot be started");
    factory = made;
  }
  return *factory;
}

void ReleaseFactory() {
  if (factory != nullptr) std::exchange(factory, nullptr)->Release();
}

void Check(HRESULT hr, const std::string& what) {
  if (FAILED(hr)) throw EInvalidGraphic(what + ": " + Reason(hr));
}

ComPtr<IWICStream> ReadStream(std::span<const uint8_t> data) {
  ComPtr<IWICStream> stream;
  Check(Factory().CreateStream(stream.Put()), "Cannot read the picture");
  // WIC takes a writable pointer but only reads through a reading stream.
  Check(
      stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size())),
      "Cannot read the picture");
  return stream;
}

OutputStream::OutputStream() {
  Check(CreateStreamOnHGlobal(nullptr, TRUE, stream_.Put()), "Cannot write the picture");
}

std::vector<uint8_t> OutputStream::Bytes() const {
  STATSTG stat{};
  Check(stream_->Stat(&stat, STATFLAG_NONAME), "Cannot write the picture");
  HGLOBAL memory = nullptr;
  Check(GetHGlobalFromStream(stream_.Get(), &memory), "Cannot write the picture");
  const auto* bytes = static_cast<const uint8_t*>(GlobalLock(memory));
  if (bytes == nullptr) throw EInvalidGraphic("Cannot write the picture: out of memory");
  std::vector<uint8_t> out(bytes, bytes + stat.cbSize.QuadPart);
  GlobalUnlock(memory);
  return out;
}

HRESULT WriteOption(IPropertyBag2* bag, const wchar_t* name, const VARIANT& value) {
  PROPBAG2 option{};
  option.pstrName = const_cast<LPOLESTR>(name);
  return bag->Write(1, &option, const_cast<VARIANT*>(&value));
}

std::vector<uint8_t> EncodeFrame(const EncodeRequest& request,
                                 void (*setOptions)(IPropertyBag2*, void*), void* context) {
  const std::string what = request.what;
  OutputStream output;
  ComPtr<IWICBitmapEncoder> encoder;
  Check(Factory().CreateEncoder(*request.container, nullptr, encoder.Put()), what);
  Check(encoder->Initialize(output.Get(), WICBitmapEncoderNoCache), what);
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  Check(encoder->CreateNewFrame(frame.Put(), options.Put()), what);
  if (options) setOptions(options.Get(), context);
  Check(frame->Initialize(options.Get()), what);
  Check(frame->SetSize(request.width, request.height), what);
  WICPixelFormatGUID format = *request.pixelFormat;
  Check(frame->SetPixelFormat(&format), what);
  if (format != *request.pixelFormat) {
    throw EInvalidGraphic(what + ": the system's encoder does not take these pixels as they are");
  }
  Check(frame->WritePixels(request.height, request.stride, static_cast<UINT>(request.pixels.size()),
                           const_cast<BYTE*>(request.pixels.data())),
        what);
  Check(frame->Commit(), what);
  Check(encoder->Commit(), what);
  return output.Bytes();
}

}  // namespace vark::wic
