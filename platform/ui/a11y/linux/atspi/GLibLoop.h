// GLib's default main context, which carries the accessibility bus's traffic
// (the ATK bridge attaches its D-Bus connection there), as one of our event
// loop's wait sources: each wait prepares the context and watches its
// descriptors with the display's; afterwards the context checks and
// dispatches what came. The user-interface thread owns the context for as
// long as the bridge runs.
#pragma once

#include <glib.h>

#include <vector>

#include "platform/backend/Backend.h"

namespace vark::a11y::atspi {

class GLibLoop final : public WaitSource {
 public:
  GLibLoop();
  ~GLibLoop();
  // Whether this thread could take the context (no other thread runs it).
  bool Owned() const { return owned_; }

  int Prepare(std::vector<Descriptor>& fds) override;
  void Handle(std::span<const Descriptor> fds) override;

 private:
  GMainContext* context_;
  bool owned_ = false;
  bool prepared_ = false;
  gint priority_ = 0;
  std::vector<GPollFD> polls_;
};

}  // namespace vark::a11y::atspi
