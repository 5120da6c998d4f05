#include "platform/ui/a11y/linux/atspi/AtspiBridge.h"

#include <atk-bridge.h>

#include <algorithm>
#include <exception>
#include <memory>

#include "platform/ui/a11y/linux/atspi/AtkObjects.h"
#include "platform/ui/a11y/linux/atspi/AtkUtil.h"

namespace vark::a11y::atspi {

namespace {

AtspiBridge* current = nullptr;

// The ATK bridge waits for the screen reader's answer to a key up to 500 ms
// (at-spi2-core 2.46; its D-Bus call's own limit is 9 s), then lets the key
// through. A key that took about that long means the reader is stuck or
// gone: for a while after one, keys go to the program without asking, so
// that a burst of keys costs one such wait, not one each. A reader that is
// merely slow (a loaded machine) answers within the limit and is still asked.
constexpr gint64 kLateAnswerUs = 490 * 1000;
constexpr gint64 kQuietAfterLateUs = 3 * 1000 * 1000;

// The object under object (itself included) that has the keyboard focus.
Accessible* FocusedIn(Accessible& object) {
  if (object.Describe().states.Contains(State::Focused)) return &object;
  for (Accessible* child : object.Children()) {
    if (Accessible* focused = FocusedIn(*child)) return focused;
  }
  return nullptr;
}

bool Contains(const std::vector<AtkObject*>& list, AtkObject* object) {
  return std::find(list.begin(), list.end(), object) != list.end();
}

// Replaces list by now, taking a reference on the new ones.
void Keep(std::vector<AtkObject*>& list, std::vector<AtkObject*> now) {
  for (AtkObject* object : now)
    g_object_ref(object);
  for (AtkObject* object : list)
    g_object_unref(object);
  list = std::move(now);
}

}  // namespace

AtspiBridge* AtspiBridge::Current() {
  return current;
}

bool AtspiBridge::Start(std::string& error) {
  if (current != nullptr) {
    error = "a bridge runs already";
    return false;
  }
  if (!loop_.Owned()) {
    error = "another thread runs GLib's main context";
    return false;
  }
  if (!host_.AddWaitSource(loop_)) {
    error = "the event loop cannot wait on the bus";
    return false;
  }
  looping_ = true;
  current = this;
  InstallAtkUtil();
  host_.SetObserver(this);
  // The windows are known from the start: one that opens is news.
  ShowChildren(host_.Root());
  if (atk_bridge_adaptor_init(nullptr, nullptr) != 0) {
    error = "the accessibility bus cannot be reached";
    return false;
  }
  onBus_ = true;
  WhenListened([] {
    if (AtspiBridge* bridge = Current()) bridge->AnnounceActiveWindow();
  });
  return true;
}

void AtspiBridge::AnnounceActiveWindow() {
  for (Accessible* window : host_.Root().Children()) {
    if (!window->Describe().states.Contains(State::Active)) continue;
    Changed(*window, Change::Activated);
    if (Accessible* focused = FocusedIn(*window)) Changed(*focused, Change::Focus);
    return;
  }
}

bool AtspiBridge::KeyTaken(bool pressed, const NativeKey& key) {
  if (!onBus_ || !KeyListened()) return false;
  const gint64 asked = g_get_monotonic_time();
  if (asked < keysQuietUntil_) return false;
  AtkKeyEventStruct event{};
  event.type = pressed ? ATK_KEY_EVENT_PRESS : ATK_KEY_EVENT_RELEASE;
  event.state = key.modifiers;
  event.keyval = key.symbol;
  event.length = static_cast<gint>(key.text.size());
  event.string = const_cast<gchar*>(key.text.c_str());
  event.keycode = static_cast<guint16>(key.code);
  event.timestamp = key.time;
  const bool taken = OfferKey(event);
  if (g_get_monotonic_time() - asked >= kLateAnswerUs) {
    keysQuietUntil_ = g_get_monotonic_time() + kQuietAfterLateUs;
    g_printerr("the screen reader answered a key late: keys go straight to the program for %d s\n",
               static_cast<int>(kQuietAfterLateUs / 1000000));
  }
  return taken;
}

AtspiBridge::~AtspiBridge() {
  if (onBus_) atk_bridge_adaptor_cleanup();
  if (current == this) {
    host_.SetObserver(nullptr);
    current = nullptr;
  }
  if (looping_) host_.RemoveWaitSource(loop_);
  // The objects may outlive us in other hands: they show nothing from now on.
  for (auto& [object, shown] : shown_)
    AsVark(shown.object)->node = nullptr;
  for (auto& [object, shown] : shown_)
    Release(shown);
}

void AtspiBridge::Release(Shown& shown) {
  Keep(shown.children, {});
  g_object_unref(shown.object);
}

AtkObject* AtspiBridge::Wrap(Accessible& object) {
  if (auto it = shown_.find(&object); it != shown_.end()) return it->second.object;
  const Facts facts = object.Describe();
  Shown& shown = shown_[&object];
  shown.object = NewAtkObject(object, facts, *this);
  shown.states = facts.states;
  shown.name = facts.name;
  return shown.object;
}

std::vector<AtkObject*> AtspiBridge::ShowChildren(Accessible& object) {
  std::vector<AtkObject*> now;
  for (Accessible* child : object.Children())
    now.push_back(Wrap(*child));
  Wrap(object);
  Shown& shown = shown_[&object];
  Keep(shown.children, now);
  shown.childrenKnown = true;
  return now;
}

void AtspiBridge::TellStates(Shown& shown, const States& now) {
  for (const auto& [state, atk] : AtkStates()) {
    const bool is = now.Contains(state);
    if (shown.states.Contains(state) != is) atk_object_notify_state_change(shown.object, atk, is);
  }
  shown.states = now;
}

void AtspiBridge::TellChildren(Accessible& object, Shown& shown) {
  // What nobody has seen needs no correcting.
  if (!shown.childrenKnown) return;
  std::vector<AtkObject*> now;
  for (Accessible* child : object.Children())
    now.push_back(Wrap(*child));
  const bool windows = &object == &host_.Root();
  for (size_t i = shown.children.size(); i-- > 0;) {
    AtkObject* gone = shown.children[i];
    if (Contains(now, gone)) continue;
    g_signal_emit_by_name(shown.object, "children-changed::remove", static_cast<guint>(i), gone);
    if (windows && ATK_IS_WINDOW(gone)) g_signal_emit_by_name(gone, "destroy");
  }
  for (size_t i = 0; i < now.size(); ++i) {
    if (Contains(shown.children, now[i])) continue;
    g_signal_emit_by_name(shown.object, "children-changed::add", static_cast<guint>(i), now[i]);
    if (windows && ATK_IS_WINDOW(now[i])) g_signal_emit_by_name(now[i], "create");
  }
  Keep(shown.children, std::move(now));
}

void AtspiBridge::TellNews(Accessible& object, State news) {
  const States now = object.Describe().states;
  auto it = shown_.find(&object);
  if (it == shown_.end()) {
    if (!now.Contains(news)) return;
    Wrap(object);
    it = shown_.find(&object);
  }
  Shown& shown = it->second;
  // Said again even where it was said before: the focus came back.
  if (now.Contains(news)) shown.states.Exclude(news);
  TellStates(shown, now);
}

void AtspiBridge::Changed(Accessible& object, Change change) {
  switch (change) {
    case Change::Focus:
      TellNews(object, State::Focused);
      return;
    case Change::Selection:
      if (auto it = shown_.find(&object); it != shown_.end() && ATK_IS_SELECTION(it->second.object))
        g_signal_emit_by_name(it->second.object, "selection-changed");
      for (Accessible* child : object.Children())
        TellNews(*child, State::Selected);
      return;
    case Change::Activated:
    case Change::Deactivated: {
      AtkObject* window = Wrap(object);
      if (ATK_IS_WINDOW(window)) {
        g_signal_emit_by_name(window, change == Change::Activated ? "activate" : "deactivate");
      }
      TellNews(object, State::Active);
      return;
    }
    default:
      break;
  }
  // The rest corrects what was told: of an object nobody has reached, nothing was.
  auto it = shown_.find(&object);
  if (it == shown_.end()) return;
  Shown& shown = it->second;
  AtkObject* atk = shown.object;
  switch (change) {
    case Change::States:
      TellStates(shown, object.Describe().states);
      break;
    case Change::Name:
      if (std::string name = object.Describe().name; name != shown.name) {
        shown.name = std::move(name);
        g_object_notify(G_OBJECT(atk), "accessible-name");
      }
      break;
    case Change::Value:
      if (ATK_IS_VALUE(atk)) {
        g_object_notify(G_OBJECT(atk), "accessible-value");
        const Range range = object.Describe().value.value_or(Range{});
        g_signal_emit_by_name(atk, "value-changed", range.current, nullptr);
      }
      break;
    case Change::Children:
      TellChildren(object, shown);
      break;
    default:
      break;
  }
}

void AtspiBridge::Destroyed(Accessible& object) {
  auto it = shown_.find(&object);
  if (it == shown_.end()) return;
  Shown shown = std::move(it->second);
  shown_.erase(it);
  AsVark(shown.object)->node = nullptr;
  atk_object_notify_state_change(shown.object, ATK_STATE_DEFUNCT, TRUE);
  Release(shown);
}

}  // namespace vark::a11y::atspi

// The module's entry point (BridgeHost.h).
extern "C" __attribute__((visibility("default"))) vark::a11y::Bridge* vark_atspi_start(
    vark::a11y::BridgeHost* host, char* error, size_t size) {
  std::string why;
  try {
    auto bridge = std::make_unique<vark::a11y::atspi::AtspiBridge>(*host);
    if (bridge->Start(why)) return bridge.release();
  } catch (const std::exception& e) {
    why = e.what();
  }
  g_strlcpy(error, why.c_str(), size);
  return nullptr;
}
