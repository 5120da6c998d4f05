#include "platform/ui/a11y/linux/SessionStatus.h"

#include <dbus/dbus.h>
#include <poll.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace vark::a11y {

namespace {

constexpr char kBusName[] = "org.a11y.Bus";
constexpr char kBusPath[] = "/org/a11y/bus";
constexpr char kStatus[] = "org.a11y.Status";

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Whether a dictionary of properties (a{sv}) says accessibility is on.
bool SaysEnabled(DBusMessageIter& dict) {
  bool enabled = false;
  if (dbus_message_iter_get_arg_type(&dict) != DBUS_TYPE_ARRAY) return false;
  DBusMessageIter entries;
  dbus_message_iter_recurse(&dict, &entries);
  while (dbus_message_iter_get_arg_type(&entries) == DBUS_TYPE_DICT_ENTRY) {
    DBusMessageIter entry, variant;
    dbus_message_iter_recurse(&entries, &entry);
    const char* key = nullptr;
    if (dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_STRING) {
      dbus_message_iter_get_basic(&entry, &key);
      dbus_message_iter_next(&entry);
    }
    if (key != nullptr &&
        (std::strcmp(key, "IsEnabled") == 0 || std::strcmp(key, "ScreenReaderEnabled") == 0) &&
        dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_VARIANT) {
      dbus_message_iter_recurse(&entry, &variant);
      if (dbus_message_iter_get_arg_type(&variant) == DBUS_TYPE_BOOLEAN) {
        dbus_bool_t value = FALSE;
        dbus_message_iter_get_basic(&variant, &value);
        enabled = enabled || value;
      }
    }
    dbus_message_iter_next(&entries);
  }
  return enabled;
}

}  // namespace

std::string SessionStatus::SessionBusAddress() {
  if (const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS"); address && *address) {
    return address;
  }
  // Where the user's service manager runs the bus, it says nothing more. (No
  // bus is ever started for this: libdbus's own fallback would launch one.)
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    const std::string socket = std::string(runtime) + "/bus";
    struct stat st {};
    if (stat(socket.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) return "unix:path=" + socket;
  }
  return {};
}

std::unique_ptr<SessionStatus> SessionStatus::Connect(const std::string& address,
                                                      std::function<void()> onEnabled) {
  DBusError error;
  dbus_error_init(&error);
  DBusConnection* connection = dbus_connection_open_private(address.c_str(), &error);
  dbus_error_free(&error);
  if (connection == nullptr) return nullptr;
  std::unique_ptr<SessionStatus> status(new SessionStatus(connection, std::move(onEnabled)));
  if (status->closed_) return nullptr;
  return status;
}

SessionStatus::SessionStatus(DBusConnection* connection, std::function<void()> onEnabled)
    : connection_(connection), onEnabled_(std::move(onEnabled)) {
  dbus_connection_set_exit_on_disconnect(connection_, FALSE);
  if (!dbus_connection_set_watch_functions(connection_, &SessionStatus::AddWatch,
                                           &SessionStatus::RemoveWatch, nullptr, this, nullptr) ||
      !dbus_connection_set_timeout_functions(connection_, &SessionStatus::AddTimeout,
                                             &SessionStatus::RemoveTimeout,
                                             &SessionStatus::TimeoutToggled, this, nullptr) ||
      !dbus_connection_add_filter(
          connection_,
          [](DBusConnection*, DBusMessage* message, void* data) {
            static_cast<SessionStatus*>(data)->Filter(message);
            return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
          },
          this, nullptr)) {
    closed_ = true;
    return;
  }
  // Every call goes out without waiting; libdbus authenticates on the way.
  // The bus wants Hello first.
  Send(dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS,
                                    "Hello"));
  for (const char* rule :
       {"type='signal',sender='org.a11y.Bus',path='/org/a11y/bus',"
        "interface='org.freedesktop.DBus.Properties',member='PropertiesChanged'",
        "type='signal',sender='org.freedesktop.DBus',interface='org.freedesktop.DBus',"
        "member='NameOwnerChanged',arg0='org.a11y.Bus'"}) {
    DBusMessage* add = dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS,
                                                    DBUS_INTERFACE_DBUS, "AddMatch");
    if (add != nullptr) dbus_message_append_args(add, DBUS_TYPE_STRING, &rule, DBUS_TYPE_INVALID);
    Send(add);
  }
  AskStatus();
}

SessionStatus::~SessionStatus() {
  dbus_connection_set_watch_functions(connection_, nullptr, nullptr, nullptr, nullptr, nullptr);
  dbus_connection_set_timeout_functions(connection_, nullptr, nullptr, nullptr, nullptr, nullptr);
  dbus_connection_close(connection_);
  dbus_connection_unref(connection_);
}

void SessionStatus::Send(DBusMessage* message) {
  if (message == nullptr) return;
  dbus_message_set_no_reply(message, TRUE);
  dbus_connection_send(connection_, message, nullptr);
  dbus_message_unref(message);
}

void SessionStatus::AskStatus() {
  DBusMessage* ask =
      dbus_message_new_method_call(kBusName, kBusPath, DBUS_INTERFACE_PROPERTIES, "GetAll");
  if (ask == nullptr) return;
  const char* iface = kStatus;
  dbus_message_append_args(ask, DBUS_TYPE_STRING, &iface, DBUS_TYPE_INVALID);
  // Not running means off: the question must not start it.
  dbus_message_set_auto_start(ask, FALSE);
  DBusPendingCall* call = nullptr;
  if (dbus_connection_send_with_reply(connection_, ask, &call, DBUS_TIMEOUT_USE_DEFAULT) &&
      call != nullptr) {
    dbus_pending_call_set_notify(call, &SessionStatus::StatusReply, this, nullptr);
    dbus_pending_call_unref(call);
  }
  dbus_message_unref(ask);
}

void SessionStatus::StatusReply(DBusPendingCall* call, void* data) {
  DBusMessage* reply = dbus_pending_call_steal_reply(call);
  if (reply == nullptr) return;
  if (dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_METHOD_RETURN) {
    static_cast<SessionStatus*>(data)->TakeProperties(reply, false);
  }
  dbus_message_unref(reply);
}

void SessionStatus::TakeProperties(DBusMessage* message, bool fromSignal) {
  DBusMessageIter args;
  if (!dbus_message_iter_init(message, &args)) return;
  if (fromSignal) {
    // PropertiesChanged: the interface, then the changed values.
    const char* iface = nullptr;
    if (dbus_message_iter_get_arg_type(&args) != DBUS_TYPE_STRING) return;
    dbus_message_iter_get_basic(&args, &iface);
    if (std::strcmp(iface, kStatus) != 0 || !dbus_message_iter_next(&args)) return;
  }
  if (SaysEnabled(args) && onEnabled_) onEnabled_();
}

void SessionStatus::Filter(DBusMessage* message) {
  if (dbus_message_is_signal(message, DBUS_INTERFACE_LOCAL, "Disconnected")) {
    closed_ = true;
  } else if (dbus_message_is_signal(message, DBUS_INTERFACE_PROPERTIES, "PropertiesChanged")) {
    TakeProperties(message, true);
  } else if (dbus_message_is_signal(message, DBUS_INTERFACE_DBUS, "NameOwnerChanged")) {
    // The bus launcher came (or went): ask it.
    const char *name = nullptr, *before = nullptr, *after = nullptr;
    if (dbus_message_get_args(message, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING, &before,
                              DBUS_TYPE_STRING, &after, DBUS_TYPE_INVALID) &&
        std::strcmp(name, kBusName) == 0 && *after != '\0') {
      AskStatus();
    }
  }
}

int SessionStatus::Prepare(std::vector<Descriptor>& fds) {
  prepared_.clear();
  if (closed_) return -1;
  for (DBusWatch* watch : watches_) {
    if (!dbus_watch_get_enabled(watch)) continue;
    const unsigned flags = dbus_watch_get_flags(watch);
    short events = 0;
    if (flags & DBUS_WATCH_READABLE) events |= POLLIN;
    if (flags & DBUS_WATCH_WRITABLE) events |= POLLOUT;
    fds.push_back({dbus_watch_get_unix_fd(watch), events, 0});
    prepared_.push_back(watch);
  }
  if (dbus_connection_get_dispatch_status(connection_) == DBUS_DISPATCH_DATA_REMAINS) return 0;
  int limit = -1;
  const int64_t now = NowMs();
  for (const Timeout& t : timeouts_) {
    if (!dbus_timeout_get_enabled(t.timeout)) continue;
    const int left = static_cast<int>(std::max<int64_t>(0, t.due - now));
    if (limit < 0 || left < limit) limit = left;
  }
  return limit;
}

void SessionStatus::Handle(std::span<const Descriptor> fds) {
  if (closed_) return;
  for (size_t i = 0; i < fds.size() && i < prepared_.size(); ++i) {
    DBusWatch* watch = prepared_[i];
    // Handling one watch may take others away.
    if (fds[i].revents == 0 || std::find(watches_.begin(), watches_.end(), watch) == watches_.end())
      continue;
    unsigned flags = 0;
    if (fds[i].revents & POLLIN) flags |= DBUS_WATCH_READABLE;
    if (fds[i].revents & POLLOUT) flags |= DBUS_WATCH_WRITABLE;
    if (fds[i].revents & POLLERR) flags |= DBUS_WATCH_ERROR;
    if (fds[i].revents & POLLHUP) flags |= DBUS_WATCH_HANGUP;
    dbus_watch_handle(watch, flags);
  }
  prepared_.clear();
  const int64_t now = NowMs();
  for (const Timeout& due : std::vector<Timeout>(timeouts_)) {
    if (due.due > now || !dbus_timeout_get_enabled(due.timeout)) continue;
    dbus_timeout_handle(due.timeout);
    // One that stays comes round again after its interval.
    for (Timeout& t : timeouts_) {
      if (t.timeout == due.timeout) t.due = now + dbus_timeout_get_interval(t.timeout);
    }
  }
  while (!closed_ &&
         dbus_connection_get_dispatch_status(connection_) == DBUS_DISPATCH_DATA_REMAINS) {
    dbus_connection_dispatch(connection_);
  }
}

unsigned SessionStatus::AddWatch(DBusWatch* watch, void* data) {
  static_cast<SessionStatus*>(data)->watches_.push_back(watch);
  return TRUE;
}

void SessionStatus::RemoveWatch(DBusWatch* watch, void* data) {
  std::erase(static_cast<SessionStatus*>(data)->watches_, watch);
}

unsigned SessionStatus::AddTimeout(DBusTimeout* timeout, void* data) {
  static_cast<SessionStatus*>(data)->timeouts_.push_back(
      {timeout, NowMs() + dbus_timeout_get_interval(timeout)});
  return TRUE;
}

void SessionStatus::RemoveTimeout(DBusTimeout* timeout, void* data) {
  std::erase_if(static_cast<SessionStatus*>(data)->timeouts_,
                [timeout](const Timeout& t) { return t.timeout == timeout; });
}

void SessionStatus::TimeoutToggled(DBusTimeout* timeout, void* data) {
  for (Timeout& t : static_cast<SessionStatus*>(data)->timeouts_) {
    if (t.timeout == timeout) t.due = NowMs() + dbus_timeout_get_interval(timeout);
  }
}

}  // namespace vark::a11y
