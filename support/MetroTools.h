// TMPersistent: the base of every group of control options. It remembers the
// control that created it; the control owns the group, never the reverse.
#pragma once

#include "platform/ui/Persistent.h"

class TMPersistent : public TPersistent {
 public:
  explicit TMPersistent(TPersistent* AOwner) : Owner(AOwner) {}

  TPersistent* Owner = nullptr;
};
