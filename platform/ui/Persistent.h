// TPersistent: the root of everything that can own or be owned by a control's
// settings (option groups keep their owning control as a TPersistent).
#pragma once

class TPersistent {
 public:
  virtual ~TPersistent() = default;
};
