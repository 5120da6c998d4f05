// The memory device context in which the text engine measures and renders
// with GDI, and what it asks of the system about fonts and characters. No
// system header here: the engine's files also see our framework's names,
// some of which the system's headers define as well.
#pragma once

#include <string>
#include <vector>

namespace vark::text {

class GdiDevice {
 public:
  GdiDevice();
  ~GdiDevice();
  GdiDevice(const GdiDevice&) = delete;
  GdiDevice& operator=(const GdiDevice&) = delete;

  void* Handle() const { return dc_; }  // HDC

  // Every installed font family, sorted, without the vertical ("@") faces.
  std::vector<std::wstring> Families();

 private:
  void* dc_ = nullptr;
};

// True for combining marks and the other code points that join the glyph
// before them (joiners, variation selectors).
bool JoinsPrevious(char32_t cp);

}  // namespace vark::text
