// The yardstick of the Windows program's start-up figure: the least a Win32
// program does to show the launcher's background. It decodes the same JPEG
// (the launcher's own embedded copy) with WIC, scales it to the launcher's
// window size, shows it in a window of that size, centred as the launcher's
// first window is, once, and ends two seconds later. The blue square is the
// launcher's position indicator, at the same place in the window: the
// figures script times both programs to the moment it appears on the screen
// (bench/windows_figures.sh).
#include <wincodec.h>
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

extern "C" const uint8_t valdor_artwork_background[];
extern "C" const uint64_t valdor_artwork_background_size;

namespace {

constexpr int kWidth = 800, kHeight = 574;
std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);

bool Decode() {
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapScaler* scaler = nullptr;
  IWICFormatConverter* converter = nullptr;
  const bool ok =
      SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(valdor_artwork_background),
                                             static_cast<DWORD>(valdor_artwork_background_size))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                 &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateBitmapScaler(&scaler)) &&
      SUCCEEDED(scaler->Initialize(frame, kWidth, kHeight, WICBitmapInterpolationModeLinear)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(scaler, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->CopyPixels(nullptr, kWidth * 4, kWidth * kHeight * 4,
                                      reinterpret_cast<BYTE*>(pixels.data())));
  for (IUnknown* object :
       std::initializer_list<IUnknown*>{converter, scaler, frame, decoder, stream, factory})
    if (object) object->Release();
  return ok;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      BITMAPINFO info{};
      info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
      SetDIBitsToDevice(dc, 0, 0, kWidth, kHeight, 0, 0, 0, kHeight, pixels.data(), &info,
                        DIB_RGB_COLORS);
      EndPaint(window, &paint);
      SetTimer(window, 1, 2000, nullptr);
      return 0;
    }
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (!Decode()) return 1;
  for (int y = 106; y < 131; ++y)
    for (int x = 43; x < 48; ++x)
      pixels[static_cast<size_t>(y) * kWidth + x] = 0x0078D7;

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = L"BareFirstFrame";
  RegisterClassW(&windowClass);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - kWidth) / 2;
  const int y = work.top + (work.bottom - work.top - kHeight) / 2;
  CreateWindowExW(WS_EX_APPWINDOW, L"BareFirstFrame", L"Bare first frame", WS_POPUP | WS_VISIBLE, x,
                  y, kWidth, kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0)
    DispatchMessageW(&message);
  CoUninitialize();
  return 0;
}
