// Whether the desktop session wants programs accessible: the properties
// IsEnabled and ScreenReaderEnabled of org.a11y.Status on the session bus,
// which the desktop's accessibility settings and a starting screen reader set.
//
// Asked without blocking, over a connection the event loop waits on, and
// followed: a screen reader started while the program runs turns it on then.
// The accessibility bus's launcher is never started for the question: where it
// does not run, nothing wants it, and its appearing on the bus is followed too.
// While nothing changes, nothing arrives on the connection.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/Backend.h"

struct DBusConnection;
struct DBusMessage;
struct DBusPendingCall;
struct DBusTimeout;
struct DBusWatch;

namespace vark::a11y {

class SessionStatus final : public WaitSource {
 public:
  // The session bus's address from the environment (DBUS_SESSION_BUS_ADDRESS,
  // else the bus socket in XDG_RUNTIME_DIR); empty when there is none.
  static std::string SessionBusAddress();
  // Connects to the bus at address; onEnabled runs (on the user-interface
  // thread, from Handle) whenever the session says it is on. Null when the
  // bus cannot be reached.
  static std::unique_ptr<SessionStatus> Connect(const std::string& address,
                                                std::function<void()> onEnabled);
  ~SessionStatus();

  int Prepare(std::vector<Descriptor>& fds) override;
  void Handle(std::span<const Descriptor> fds) override;

 private:
  struct Timeout {
    DBusTimeout* timeout;
    int64_t due;  // milliseconds of the steady clock
  };

  SessionStatus(DBusConnection* connection, std::function<void()> onEnabled);
  void Send(DBusMessage* message);
  void AskStatus();
  void TakeProperties(DBusMessage* message, bool fromSignal);
  void Filter(DBusMessage* message);

  static unsigned AddWatch(DBusWatch* watch, void* data);
  static void RemoveWatch(DBusWatch* watch, void* data);
  static unsigned AddTimeout(DBusTimeout* timeout, void* data);
  static void RemoveTimeout(DBusTimeout* timeout, void* data);
  static void TimeoutToggled(DBusTimeout* timeout, void* data);
  static void StatusReply(DBusPendingCall* call, void* data);

  DBusConnection* connection_;
  std::function<void()> onEnabled_;
  std::vector<DBusWatch*> watches_;
  std::vector<DBusWatch*> prepared_;  // the watch behind each descriptor Prepare named
  std::vector<Timeout> timeouts_;
  bool closed_ = false;
};

}  // namespace vark::a11y
