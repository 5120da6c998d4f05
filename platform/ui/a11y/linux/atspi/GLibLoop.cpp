#include "platform/ui/a11y/linux/atspi/GLibLoop.h"

namespace vark::a11y::atspi {

GLibLoop::GLibLoop() : context_(g_main_context_default()) {
  owned_ = g_main_context_acquire(context_);
}

GLibLoop::~GLibLoop() {
  if (owned_) g_main_context_release(context_);
}

int GLibLoop::Prepare(std::vector<Descriptor>& fds) {
  prepared_ = owned_;
  if (!prepared_) return -1;
  const bool ready = g_main_context_prepare(context_, &priority_);
  gint timeout = -1;
  gint count;
  polls_.resize(std::max<size_t>(polls_.size(), 4));
  while ((count = g_main_context_query(context_, priority_, &timeout, polls_.data(),
                                       static_cast<gint>(polls_.size()))) >
         static_cast<gint>(polls_.size())) {
    polls_.resize(static_cast<size_t>(count));
  }
  polls_.resize(static_cast<size_t>(count));
  for (const GPollFD& p : polls_)
    fds.push_back({p.fd, static_cast<short>(p.events), 0});
  return ready ? 0 : timeout;
}

void GLibLoop::Handle(std::span<const Descriptor> fds) {
  if (!prepared_) return;
  prepared_ = false;
  for (size_t i = 0; i < polls_.size(); ++i)
    polls_[i].revents = i < fds.size() ? static_cast<gushort>(fds[i].revents) : 0;
  if (g_main_context_check(context_, priority_, polls_.data(), static_cast<gint>(polls_.size()))) {
    g_main_context_dispatch(context_);
  }
}

}  // namespace vark::a11y::atspi
