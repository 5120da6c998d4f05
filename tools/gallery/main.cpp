// gallery: see Gallery.h.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Gallery.h"
#include "platform/backend/CreateBackend.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/os/CommandLine.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/Panel.h"

namespace {

std::vector<GallerySection>& Registry() {
  static std::vector<GallerySection> sections;
  return sections;
}

bool Selected(const GallerySection& section, const std::vector<std::string>& names) {
  if (names.empty()) return true;
  for (const std::string& n : names) {
    if (n == section.name) return true;
  }
  return false;
}

int WritePictures(const std::filesystem::path& outdir, const std::vector<std::string>& names) {
  vark::HeadlessBackend::Install();
  int written = 0;
  for (const GallerySection& section : GallerySections()) {
    if (!Selected(section, names) || !section.writePictures) continue;
    std::filesystem::path dir = outdir / section.name;
    std::filesystem::create_directories(dir);
    section.writePictures(dir);
    std::printf("%s: %s\n", section.name.c_str(), Utf8Of(dir).c_str());
    ++written;
  }
  if (written == 0) {
    std::fprintf(stderr, "gallery: no section to write\n");
    return 1;
  }
  return 0;
}

int RunLive(const std::vector<std::string>& names) {
  Application->Initialize(vark::CreateBackend(), vark::CreateMemoryBackend);
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetCaption("Gallery");
  std::vector<const GallerySection*> live;
  for (const GallerySection& section : GallerySections()) {
    if (Selected(section, names) && section.populateLive) live.push_back(&section);
  }
  constexpr int kAreaWidth = 330, kAreaHeight = 640;
  form->SetClientWidth(std::max<int>(1, static_cast<int>(live.size())) * kAreaWidth);
  form->SetClientHeight(kAreaHeight);
  form->SetPosition(poScreenCenter);
  int left = 0;
  for (const GallerySection* section : live) {
    TPanel& area = form->Make<TPanel>();
    area.SetParent(form);
    area.SetBevelOuter(bvNone);
    area.SetShowCaption(false);
    area.SetBounds(left, 0, kAreaWidth, kAreaHeight);
    section->populateLive(area);
    left += kAreaWidth;
  }
  Application->Run();
  return 0;
}

}  // namespace

const std::vector<GallerySection>& GallerySections() {
  return Registry();
}

GalleryRegistration::GalleryRegistration(GallerySection section) {
  Registry().push_back(std::move(section));
}

vark::HeadlessBackend& GalleryHeadless() {
  return dynamic_cast<vark::HeadlessBackend&>(Application->Backend());
}

std::unique_ptr<TForm> GalleryPage(int width, int height, TColor color) {
  auto form = MakeForm<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetPosition(poDesigned);
  form->SetClientWidth(width);
  form->SetClientHeight(height);
  form->SetColor(color);
  form->Show();
  return form;
}

void SaveFormPicture(TCustomForm& form, const std::filesystem::path& path) {
  auto* headless = dynamic_cast<vark::HeadlessBackend*>(&Application->Backend());
  if (headless == nullptr) throw std::runtime_error("pictures need the headless backend");
  headless->SaveToPNG(form, Utf8Of(path));
}

int main(int argc, char** argv) {
  try {
    std::vector<std::string> args = vark::os::ProgramArguments(argc, argv);
    if (!args.empty()) args.erase(args.begin());  // the program itself
    if (args.empty() || args[0] == "--live") {
      if (!args.empty()) args.erase(args.begin());
      return RunLive(args);
    }
    if (args[0] == "--help" || args[0] == "-h") {
      std::puts("usage: gallery OUTDIR [SECTION...]   write every section's pictures");
      std::puts("       gallery [--live [SECTION...]]  open the live window");
      for (const GallerySection& s : GallerySections())
        std::printf("section: %s\n", s.name.c_str());
      return 0;
    }
    const std::filesystem::path outdir = PathOfUtf8(args[0]);
    args.erase(args.begin());
    return WritePictures(outdir, args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gallery: %s\n", e.what());
    return 1;
  }
}
