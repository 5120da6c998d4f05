#include "platform/ui/a11y/Accessible.h"

#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/UiState.h"
#include "platform/ui/a11y/ControlAccessible.h"

namespace vark::a11y {

namespace {

// The application: its title as name, its shown windows as children.
class ApplicationAccessible final : public Accessible {
 public:
  Facts Describe() const override {
    Facts facts;
    facts.role = Role::Application;
    facts.name = Application->Title();
    return facts;
  }
  Accessible* Parent() const override { return nullptr; }
  std::vector<Accessible*> Children() const override {
    std::vector<Accessible*> windows;
    for (TCustomForm* form : ui::State().forms) {
      if (form->Visible() && form->HandleAllocated()) windows.push_back(&form->Accessibility());
    }
    return windows;
  }
  TRect ScreenBounds() const override { return {}; }
  bool DoAction(std::string_view) override { return false; }
  bool GrabFocus() override { return false; }
};

}  // namespace

// Observers only learn which object went: by now it is no longer one.
Accessible::~Accessible() {
  if (Observer* observer = CurrentObserver()) observer->Destroyed(*this);
}

Observer* CurrentObserver() {
  return ui::State().a11yObserver;
}

void SetObserver(Observer* observer) {
  ui::State().a11yObserver = observer;
}

void Announce(Accessible& object, Change change) {
  if (Observer* observer = CurrentObserver()) observer->Changed(object, change);
}

void WindowsChanged() {
  if (CurrentObserver() != nullptr) Announce(Root(), Change::Children);
}

Accessible* WindowObject(uint32_t window) {
  for (TCustomForm* form : ui::State().forms) {
    if (form->HandleAllocated() && form->Handle() == window) return &form->Accessibility();
  }
  return nullptr;
}

Accessible& Root() {
  std::unique_ptr<Accessible>& root = ui::State().a11yRoot;
  if (!root) root = std::make_unique<ApplicationAccessible>();
  return *root;
}

}  // namespace vark::a11y
