// TApplication: the event loop and the application-wide state.
//
// One thread. The loop waits for the next input event or the next timer
// deadline (with nothing due it sleeps: no busy loop), dispatches, ticks the
// due timers, paints what is invalid and presents what changed, then frees
// what handlers asked to free. An exception that escapes a handler reaches
// HandleException: OnException if assigned, else the default report, a modal
// box with an error icon, the error's text and an OK button; then the loop
// goes on.
//
// The system may end the program at any moment: a termination signal (a Quit
// event from the backend) or the display going away. Either way the main
// form's close query runs once, as a close by the user would (the launcher
// saves there), with its errors on the standard error stream: no box can wait
// for an answer then.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/os/Sound.h"
#include "platform/ui/Component.h"
#include "platform/ui/Form.h"

namespace vark {
class Backend;
struct Event;
namespace a11y {
class PlatformBridge;
}
namespace ui {
struct UiState;
UiState& State();
}  // namespace ui
}  // namespace vark

// The flags of MessageBox (MB_OK, MB_ICONERROR ...) are those of MessageBeep,
// defined once in Sound.h so that code may use both.

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Starts the application on the backend the program chose (its main
  // decides: the toolkit knows only the interface). standIn makes the backend
  // that keeps the windows in memory once the display has gone away
  // (DisplayLost).
  void Initialize(std::unique_ptr<vark::Backend> backend,
                  std::function<std::unique_ptr<vark::Backend>()> standIn = {});
  bool MainFormOnTaskBar() const { return mainFormOnTaskBar_; }
  void SetMainFormOnTaskBar(bool value) { mainFormOnTaskBar_ = value; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }

  // Makes a form owned by the application and runs its OnCreate; the first form
  // made this way is the main form. MainForm names it once it is made, but the
  // end of the session closes it already while its OnCreate runs: a dialog
  // shown there runs the loop, and a termination signal may come meanwhile.
  template <class T>
  void CreateForm(T*& Reference) {
    auto made = std::make_unique<T>(this);
    T& form = *made;
    Adopt(std::move(made));
    const bool main = mainForm_ == nullptr && !mainInMaking_;
    if (main) mainInMaking_ = &form;
    form.AfterConstruction();
    Reference = &form;
    if (main) {
      mainInMaking_ = nullptr;
      mainForm_ = &form;
    }
  }
  TCustomForm* MainForm() const { return mainForm_.get(); }

  // Shows the main form and runs the loop until Terminate (closing the main
  // form terminates).
  void Run();
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // The system ends the program: the loop ends (a modal form's too) once the
  // main form's close query has run, whatever it answered.
  void EndSession();
  // The connection to the display is lost: one line naming it on standard
  // error, the close query with the windows kept in memory from now on, then
  // the process ends at once with status 1. No exit handler and no static
  // destructor runs: they would talk to the display that is gone. Without a
  // stand-in backend the close query meets no backend and says so.
  [[noreturn]] void DisplayLost(const std::string& display);
  // 0, or 1 when an error was reported while the session ended.
  int ExitCode() const { return exitCode_; }
  // One turn of the loop: waits for an event or the next timer, then handles
  // what is due.
  void HandleMessage();
  // Handles what is pending without waiting.
  void ProcessMessages();
  // The parts of a turn, for backends that drive the loop themselves (the
  // headless test driver): dispatch one event (an escaping exception goes to
  // HandleException), and finish a turn: tick the due timers, paint and
  // present, free what handlers released, track the control under the pointer.
  void DispatchEvent(const vark::Event& event);
  void FinishTurn();

  // Runs task once the loop is back in control (at the end of this turn, or
  // of the next one when the loop is waiting), before the windows repaint.
  // Errors it raises go to HandleException.
  void Queue(std::function<void()> task);

  // Whether one of the application's windows is the desktop's active window.
  bool Active() const;

  void HandleException(TObject* Sender, const std::exception& E);
  // The default error report.
  void ShowException(const std::exception& E);
  // A modal message box with an icon chosen by Flags and an OK button.
  int MessageBox(const std::string& Text, const std::string& Caption, uint32_t Flags);
  TExceptionEvent OnException;

  // The windowing backend; EInvalidOperation before one is installed.
  vark::Backend& Backend();
  bool HasBackend() const { return backend_ != nullptr; }
  // Replaces the backend. Every form and timer is destroyed first, and the
  // application's state starts afresh (tests install a new headless backend
  // per test).
  void InstallBackend(std::unique_ptr<vark::Backend> backend);

  // The modal form input is restricted to (the innermost modal loop's), or null.
  TCustomForm* ModalForm() const;

 private:
  friend class TCustomForm;
  friend vark::ui::UiState& vark::ui::State();
  void PushModal(TCustomForm* form);
  void PopModal(TCustomForm* form);
  void Reset();
  void AttachBackend(std::unique_ptr<vark::Backend> backend);

  void RunQueued();
  // The backend's next event; false when none came or waiting raised an
  // error, which goes to HandleException.
  bool NextEvent(vark::Backend& backend, vark::Event& event, int timeoutMs);
  // Offers a key to assistive technology first: true when it took the key
  // (or the character of a key it took), which the program then never sees.
  bool TakenByAssistiveTechnology(const vark::Event& event);

  std::unique_ptr<vark::ui::UiState> state_;
  std::unique_ptr<vark::Backend> backend_;
  std::function<std::unique_ptr<vark::Backend>()> standIn_;
  // Serves assistive technology once the main window shows (platform/ui/a11y).
  std::unique_ptr<vark::a11y::PlatformBridge> accessibility_;
  TWeakRef<TCustomForm> mainForm_;
  TWeakRef<TCustomForm> mainInMaking_;  // the main form while CreateForm runs its OnCreate
  std::vector<TWeakRef<TCustomForm>> modalStack_;
  std::string title_;
  bool mainFormOnTaskBar_ = false;
  bool terminated_ = false;
  bool reporting_ = false;
  bool endingSession_ = false;
  bool textTaken_ = false;
  int exitCode_ = 0;
};

extern TApplication* Application;

// Suspends the user-interface thread for ms milliseconds (a real sleep on the
// SDL backend; on the headless one the virtual clock moves on without ticking
// timers, so tests stay instant).
void Sleep(int ms);
