#include "platform/os/Sound.h"
#include "platform/os/linux/SoundName.h"

#include <canberra.h>
#include <dlfcn.h>

namespace vark::os {

const char* MessageBeepSoundName(uint32_t type) {
  if (type == MB_SIMPLEBEEP) return "bell-window-system";
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
      return "dialog-error";
    case MB_ICONQUESTION:
      return "window-question";
    case MB_ICONEXCLAMATION:
      return "dialog-warning";
    default:
      return "dialog-information";
  }
}

namespace {

void Silent(const char*, int, const char*, int, const char*, ...) {}

// With canberra's ALSA driver, alsa-lib prints its complaints (no card, no
// configuration) to stderr on every sound that cannot play. The sound is a
// courtesy, so they are silenced. The library is looked up only if the driver
// has already loaded it; nothing is linked or loaded for this.
void QuietAlsa() {
  void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (!alsa) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetHandler = int (*)(Handler);
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
    set(&Silent);
  dlclose(alsa);  // drops only the reference this lookup took
}

// One context for the whole run, made on the first beep; it stays until the
// process ends. Null when canberra cannot make one at all.
ca_context* SoundContext() {
  static ca_context* const context = [] {
    ca_context* c = nullptr;
    if (ca_context_create(&c) != CA_SUCCESS) return static_cast<ca_context*>(nullptr);
    ca_context_change_props(c, CA_PROP_APPLICATION_NAME, "Valdor III Launcher",
                            CA_PROP_APPLICATION_ID, "valdor-launcher",
                            CA_PROP_APPLICATION_ICON_NAME, "valdor-launcher", nullptr);
    // Opening picks and loads the driver now; a failure here is tried again by
    // each play.
    ca_context_open(c);
    QuietAlsa();
    return c;
  }();
  return context;
}

}  // namespace
}  // namespace vark::os

bool MessageBeep(uint32_t type) {
  vark::os::TellBeepListener(type);
  ca_context* context = vark::os::SoundContext();
  if (!context) return false;
  // Asynchronous: canberra queues the event and returns. A failure (no sound
  // server, no card, no theme file) is only reported in the result.
  return ca_context_play(context, 0, CA_PROP_EVENT_ID, vark::os::MessageBeepSoundName(type),
                         CA_PROP_EVENT_DESCRIPTION, "Message", nullptr) == CA_SUCCESS;
}
