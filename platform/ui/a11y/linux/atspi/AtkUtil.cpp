#include "platform/ui/a11y/linux/atspi/AtkUtil.h"

#include <atk/atk.h>

#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "platform/ui/a11y/linux/atspi/AtspiBridge.h"

namespace vark::a11y::atspi {

namespace {

struct Hook {
  guint signal;
  gulong hook;
};

// The listeners the ATK bridge added, by the number it was given. Never
// destroyed: the bridge may stop after the module's statics are gone.
std::map<guint, Hook>& Hooks() {
  static auto* hooks = new std::map<guint, Hook>;
  return *hooks;
}

struct KeyListener {
  AtkKeySnoopFunc listener;
  gpointer data;
};

// The key listeners, by the number they were given; as lasting as Hooks.
std::map<guint, KeyListener>& KeyListeners() {
  static auto* listeners = new std::map<guint, KeyListener>;
  return *listeners;
}

guint AddKeyEventListener(AtkKeySnoopFunc listener, gpointer data) {
  static guint next = 1;
  const guint id = next++;
  KeyListeners()[id] = {listener, data};
  return id;
}

void RemoveKeyEventListener(guint id) {
  KeyListeners().erase(id);
}

// What runs once the ATK bridge listens (WhenListened).
void (*whenListened)() = nullptr;

// Runs ready from GLib's main context, once the current dispatch is done: the
// ATK bridge adds all its listeners in one go.
void RunSoon(void (*ready)()) {
  g_idle_add(
      [](gpointer data) -> gboolean {
        reinterpret_cast<void (*)()>(data)();
        return G_SOURCE_REMOVE;
      },
      reinterpret_cast<gpointer>(ready));
}

AtkObject* GetRoot() {
  AtspiBridge* bridge = AtspiBridge::Current();
  return bridge != nullptr ? bridge->RootObject() : nullptr;
}

const gchar* GetToolkitName() {
  return "Vark";
}

const gchar* GetToolkitVersion() {
  return "1.0";
}

// "Toolkit:Type:signal" hangs on a signal of an ATK type; "window:signal" on
// AtkWindow's, which our windows emit.
guint AddGlobalEventListener(GSignalEmissionHook listener, const gchar* eventType) {
  gchar** parts = g_strsplit(eventType, ":", 3);
  GType type = 0;
  const gchar* signal = nullptr;
  if (g_strv_length(parts) == 2 && std::strcmp(parts[0], "window") == 0) {
    type = ATK_TYPE_WINDOW;
    signal = parts[1];
  } else if (g_strv_length(parts) == 3) {
    type = g_type_from_name(parts[1]);
    signal = parts[2];
  }
  guint id = 0;
  if (type != 0) {
    // A type's signals exist once it is set up; it stays set up.
    if (G_TYPE_IS_INTERFACE(type)) {
      g_type_default_interface_ref(type);
    } else if (G_TYPE_IS_CLASSED(type)) {
      g_type_class_ref(type);
    }
    const guint signalId = g_signal_lookup(signal, type);
    if (signalId != 0) {
      const gulong hook =
          g_signal_add_emission_hook(signalId, 0, listener, g_strdup(eventType), g_free);
      static guint next = 1;
      id = next++;
      Hooks()[id] = {signalId, hook};
    }
  }
  g_strfreev(parts);
  if (id != 0 && whenListened != nullptr) RunSoon(std::exchange(whenListened, nullptr));
  return id;
}

void RemoveGlobalEventListener(guint id) {
  auto it = Hooks().find(id);
  if (it == Hooks().end()) return;
  g_signal_remove_emission_hook(it->second.signal, it->second.hook);
  Hooks().erase(it);
}

}  // namespace

void InstallAtkUtil() {
  // The interfaces whose signals the ATK bridge listens to exist before it asks.
  for (GType iface : {ATK_TYPE_COMPONENT, ATK_TYPE_ACTION, ATK_TYPE_VALUE, ATK_TYPE_TEXT,
                      ATK_TYPE_SELECTION, ATK_TYPE_WINDOW}) {
    g_type_default_interface_ref(iface);
  }
  auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(ATK_TYPE_UTIL));
  util->get_root = GetRoot;
  util->get_toolkit_name = GetToolkitName;
  util->get_toolkit_version = GetToolkitVersion;
  util->add_global_event_listener = AddGlobalEventListener;
  util->remove_global_event_listener = RemoveGlobalEventListener;
  util->add_key_event_listener = AddKeyEventListener;
  util->remove_key_event_listener = RemoveKeyEventListener;
}

void WhenListened(void (*ready)()) {
  if (Hooks().empty()) {
    whenListened = ready;
  } else {
    RunSoon(ready);
  }
}

bool KeyListened() {
  return !KeyListeners().empty();
}

bool OfferKey(AtkKeyEventStruct& event) {
  // Every listener hears the key, whoever takes it. One may remove itself or
  // another as it runs (the bridge answers the bus while it waits).
  std::vector<guint> ids;
  for (const auto& [id, listener] : KeyListeners())
    ids.push_back(id);
  bool taken = false;
  for (guint id : ids) {
    auto it = KeyListeners().find(id);
    if (it == KeyListeners().end()) continue;
    const KeyListener listener = it->second;
    if (listener.listener(&event, listener.data) != 0) taken = true;
  }
  return taken;
}

}  // namespace vark::a11y::atspi
