#include "platform/ui/Application.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/backend/Backend.h"
#include "platform/os/SystemPaths.h"
#include "platform/ui/Dispatch.h"
#include "platform/ui/FormWindow.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Painter.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Timer.h"
#include "platform/ui/UiState.h"
#include "platform/ui/a11y/Accessible.h"
#include "platform/ui/a11y/PlatformBridge.h"

namespace {

TApplication application;

}  // namespace

TApplication* Application = &application;

namespace vark::ui {
UiState& State() {
  return *Application->state_;
}
}  // namespace vark::ui

TApplication::TApplication()
    : TComponent(nullptr),
      state_(std::make_unique<vark::ui::UiState>()),
      title_(vark::os::ProgramName()) {}

TApplication::~TApplication() {
  // The bridge goes first: the objects it shows go with the forms.
  accessibility_.reset();
  Destroying();
  // Whatever is reported from here on can only go to the standard error
  // stream: no box can show any more.
  endingSession_ = true;
  // Forms go while the backend that holds their windows is still here.
  DestroyComponents();
  backend_.reset();
}

void TApplication::Initialize(std::unique_ptr<vark::Backend> backend,
                              std::function<std::unique_ptr<vark::Backend>()> standIn) {
  InstallBackend(std::move(backend));
  standIn_ = std::move(standIn);
}

void TApplication::AttachBackend(std::unique_ptr<vark::Backend> backend) {
  backend_ = std::move(backend);
  if (backend_) {
    backend_->OnDisplayLost = [this](const std::string& display) { DisplayLost(display); };
    // What the backend runs where the system holds the loop (a window being
    // moved on Windows) or the session ends: one turn without waiting.
    backend_->RunTurn = [this] { ProcessMessages(); };
    // An error the backend can no longer raise to a caller (one left from
    // the system's callbacks as it closes) is reported like a handler's.
    backend_->ReportError = [this](const std::exception& e) { HandleException(this, e); };
  }
}

vark::Backend& TApplication::Backend() {
  if (!backend_) throw EInvalidOperation("The application has no windowing backend");
  return *backend_;
}

void TApplication::InstallBackend(std::unique_ptr<vark::Backend> backend) {
  Reset();
  AttachBackend(std::move(backend));
}

void TApplication::Reset() {
  accessibility_.reset();
  DestroyComponents();
  // Forms held elsewhere lose their windows, which belong to the old backend.
  for (TCustomForm* form : std::vector<TCustomForm*>(state_->forms))
    form->DestroyHandle();
  vark::ui::TimerQueue::Reset();
  state_->deferredFrees.clear();
  state_->queued.clear();
  state_->capture = nullptr;
  state_->shownCursor = crDefault;  // a new backend shows its default cursor
  modalStack_.clear();
  mainForm_ = nullptr;
  mainInMaking_ = nullptr;
  terminated_ = false;
  reporting_ = false;
  endingSession_ = false;
  exitCode_ = 0;
}

void TApplication::EndSession() {
  if (endingSession_) return;
  endingSession_ = true;
  // First, so that a modal form opened from here on gives up at once.
  Terminate();
  // A main form still in its OnCreate, waiting in a dialog shown there, is
  // asked as well, as it would be once made.
  TCustomForm* main = MainForm() != nullptr ? MainForm() : mainInMaking_.get();
  if (main != nullptr) {
    try {
      main->CloseQuery();
    } catch (const std::exception& e) {
      HandleException(main, e);
    }
  }
}

void TApplication::DisplayLost(const std::string& display) {
  std::fprintf(stderr, "%s: the connection to the display %s was lost\n", Title().c_str(),
               display.c_str());
  exitCode_ = 1;
  // The old backend is left as it is: closing its windows would talk to the
  // display. Whatever the close query still shows or draws goes to memory.
  (void)backend_.release();
  AttachBackend(standIn_ ? standIn_() : nullptr);
  EndSession();
  std::fflush(stdout);
  std::_Exit(exitCode_);
}

void TApplication::Run() {
  TCustomForm* main = MainForm();
  if (main == nullptr) return;
  // Its handlers' errors, and on Windows the window procedure's, come out
  // of showing: reported like any handler's, and the loop runs.
  if (!main->Visible()) {
    try {
      main->Show();
    } catch (const std::exception& e) {
      HandleException(this, e);
    }
  }
  bool first = true;
  while (!terminated_) {
    HandleMessage();
    if (MainForm() == nullptr) terminated_ = true;
    // After the first frame: finding out whether a screen reader runs is no
    // reason to keep the window from showing.
    if (first && !terminated_) accessibility_ = vark::a11y::StartPlatformBridge(Backend());
    first = false;
  }
  // With the loop nothing reaches the bridge any more.
  accessibility_.reset();
}

void TApplication::HandleMessage() {
  vark::Backend& b = Backend();
  int timeout = state_->queued.empty() ? -1 : 0;
  uint64_t deadline = 0;
  if (timeout != 0 && vark::ui::TimerQueue::NextDeadline(deadline)) {
    uint64_t now = b.Now();
    timeout = deadline <= now ? 0 : static_cast<int>(std::min<uint64_t>(deadline - now, INT_MAX));
  }
  vark::Event event;
  if (NextEvent(b, event, timeout)) {
    DispatchEvent(event);
    // Take what else is queued, but let the timers have their turn.
    for (int i = 0; i < 64 && NextEvent(b, event, 0); ++i)
      DispatchEvent(event);
  }
  FinishTurn();
}

void TApplication::ProcessMessages() {
  vark::Backend& b = Backend();
  vark::Event event;
  for (int i = 0; i < 1024 && NextEvent(b, event, 0); ++i)
    DispatchEvent(event);
  FinishTurn();
}

bool TApplication::NextEvent(vark::Backend& backend, vark::Event& event, int timeoutMs) {
  // A handler's error that the backend kept while the system's code was on
  // the stack (a window procedure) comes out here; it is reported as any
  // handler's error is, and the turn goes on.
  try {
    return backend.WaitEvent(event, timeoutMs);
  } catch (const std::exception& e) {
    HandleException(this, e);
    return false;
  }
}

bool TApplication::TakenByAssistiveTechnology(const vark::Event& event) {
  switch (event.kind) {
    case vark::EventKind::KeyDown:
    case vark::EventKind::KeyUp: {
      const bool pressed = event.kind == vark::EventKind::KeyDown;
      const bool taken = accessibility_ && event.native.symbol != 0 &&
                         accessibility_->KeyTaken(pressed, event.native);
      // The character a taken press types goes with it.
      textTaken_ = taken && pressed;
      // A key the program has no name for was only for assistive technology.
      return taken || event.key == 0;
    }
    case vark::EventKind::TextInput:
      return std::exchange(textTaken_, false);
    default:
      return false;
  }
}

void TApplication::DispatchEvent(const vark::Event& event) {
  if (TakenByAssistiveTechnology(event)) return;
  try {
    vark::ui::Dispatch::Handle(event);
  } catch (const std::exception& e) {
    HandleException(this, e);
  }
}

void TApplication::Queue(std::function<void()> task) {
  state_->queued.push_back(std::move(task));
}

void TApplication::RunQueued() {
  // Tasks queued by these run on the next turn.
  std::vector<std::function<void()>> tasks;
  tasks.swap(state_->queued);
  for (auto& task : tasks) {
    try {
      task();
    } catch (const std::exception& e) {
      HandleException(this, e);
    }
  }
}

void TApplication::FinishTurn() {
  vark::ui::TimerQueue::RunDue();  // reports its handlers' errors itself
  RunQueued();
  try {
    vark::ui::Painter::UpdateAllWindows();
  } catch (const std::exception& e) {
    HandleException(this, e);
  }
  TComponent::FlushDeferredFrees();
  try {
    for (TCustomForm* form : std::vector<TCustomForm*>(state_->forms)) {
      if (form->HandleAllocated() && form->Window().pointerInside) {
        vark::ui::Dispatch::UpdateHover(*form);
      }
    }
  } catch (const std::exception& e) {
    HandleException(this, e);
  }
}

bool TApplication::Active() const {
  return backend_ != nullptr && backend_->ApplicationActive();
}

void TApplication::HandleException(TObject* Sender, const std::exception& E) {
  if (OnException && !endingSession_) {
    OnException(Sender, E);
    return;
  }
  ShowException(E);
}

void TApplication::ShowException(const std::exception& E) {
  std::string text = E.what();
  // The classic report ends a sentence that lacks its full stop.
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  if (endingSession_) {
    // The program is ending: no one would answer a box.
    std::fprintf(stderr, "%s: %s\n", Title().c_str(), text.c_str());
    exitCode_ = 1;
    return;
  }
  if (reporting_) {
    // An error while the report is up: do not stack reports on each other.
    std::fprintf(stderr, "%s\n", text.c_str());
    return;
  }
  reporting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{reporting_};
  MessageBox(text, Title(), MB_OK | MB_ICONERROR);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, uint32_t Flags) {
  return vark::ui::ShowMessageBox(Text, Caption.empty() ? Title() : Caption, Flags);
}

void TApplication::PushModal(TCustomForm* form) {
  modalStack_.emplace_back(form);
}

void TApplication::PopModal(TCustomForm* form) {
  for (auto it = modalStack_.rbegin(); it != modalStack_.rend(); ++it) {
    if (it->get() == form) {
      modalStack_.erase(std::next(it).base());
      break;
    }
  }
  modalStack_.erase(std::remove_if(modalStack_.begin(), modalStack_.end(),
                                   [](const TWeakRef<TCustomForm>& r) { return !r; }),
                    modalStack_.end());
}

TCustomForm* TApplication::ModalForm() const {
  for (auto it = modalStack_.rbegin(); it != modalStack_.rend(); ++it) {
    if (TCustomForm* f = it->get()) return f;
  }
  return nullptr;
}

void Sleep(int ms) {
  // What controls drew straight into their windows shows before the thread
  // sleeps, as drawing on a window shows at once on the classic desktop: an
  // animation that draws and sleeps inside a handler is seen step by step.
  vark::ui::Painter::UpdateAllWindows();
  if (ms > 0) Application->Backend().Sleep(ms);
}
