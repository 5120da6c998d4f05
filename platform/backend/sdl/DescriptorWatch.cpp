#include "platform/backend/sdl/DescriptorWatch.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vark::sdl {

namespace {

bool SameSet(const std::vector<pollfd>& a, const std::vector<pollfd>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const pollfd& x, const pollfd& y) {
    return x.fd == y.fd && x.events == y.events;
  });
}

}  // namespace

DescriptorWatch::DescriptorWatch(std::function<void()> ring) : ring_(std::move(ring)) {}

DescriptorWatch::~DescriptorWatch() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wake_, &one, sizeof one);
    thread_.join();
  }
  if (wake_ >= 0) close(wake_);
}

void DescriptorWatch::Add(WaitSource& source) {
  for (const Entry& e : sources_) {
    if (e.source == &source) return;
  }
  sources_.push_back({&source, {}});
}

void DescriptorWatch::Remove(WaitSource& source) {
  std::erase_if(sources_, [&](const Entry& e) { return e.source == &source; });
  if (sources_.empty()) Arm({});
}

int DescriptorWatch::Prepare() {
  int limit = -1;
  std::vector<pollfd> all;
  for (Entry& e : sources_) {
    e.fds.clear();
    const int wanted = e.source->Prepare(e.fds);
    if (wanted >= 0 && (limit < 0 || wanted < limit)) limit = wanted;
    for (const WaitSource::Descriptor& d : e.fds)
      all.push_back({d.fd, d.events, 0});
  }
  Arm(std::move(all));
  return limit;
}

bool DescriptorWatch::Handle() {
  std::vector<pollfd> all;
  for (const Entry& e : sources_) {
    for (const WaitSource::Descriptor& d : e.fds)
      all.push_back({d.fd, d.events, 0});
  }
  bool ready = false;
  if (!all.empty()) {
    int n;
    do {
      n = poll(all.data(), all.size(), 0);
    } while (n < 0 && errno == EINTR);
    ready = n > 0;
  }
  // A source may add or remove sources while it handles: walk a copy.
  std::vector<Entry> entries = sources_;
  size_t next = 0;
  for (Entry& e : entries) {
    for (WaitSource::Descriptor& d : e.fds)
      d.revents = next < all.size() ? all[next++].revents : 0;
    const bool still = std::any_of(sources_.begin(), sources_.end(),
                                   [&](const Entry& s) { return s.source == e.source; });
    if (still) e.source->Handle(e.fds);
  }
  return ready;
}

void DescriptorWatch::Arm(std::vector<pollfd> fds) {
  std::lock_guard<std::mutex> lock(mutex_);
  // Already watching exactly these: the thread sleeps on, nothing to say.
  if (isArmed_ && SameSet(fds, armed_)) return;
  if (!isArmed_ && fds.empty()) return;
  armed_ = std::move(fds);
  isArmed_ = !armed_.empty();
  ++generation_;
  if (!thread_.joinable()) {
    wake_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0) {
      isArmed_ = false;
      return;
    }
    thread_ = std::thread([this] { Run(); });
    return;
  }
  const uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(wake_, &one, sizeof one);
}

void DescriptorWatch::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stop_) {
    std::vector<pollfd> set{{wake_, POLLIN, 0}};
    if (isArmed_) set.insert(set.end(), armed_.begin(), armed_.end());
    const uint64_t generation = generation_;
    lock.unlock();
    const int n = poll(set.data(), set.size(), -1);
    lock.lock();
    if (n < 0) {
      // Interrupted: look again. Anything else means these descriptors cannot
      // be watched: stop ringing for them until the next arming.
      if (errno != EINTR && generation == generation_) isArmed_ = false;
      continue;
    }
    if (set[0].revents != 0) {
      uint64_t count;
      while (read(wake_, &count, sizeof count) > 0) {
      }
    }
    const bool ready =
        std::any_of(set.begin() + 1, set.end(), [](const pollfd& p) { return p.revents != 0; });
    if (ready && generation == generation_) {
      // Once: the user-interface thread handles the descriptors and arms again.
      isArmed_ = false;
      lock.unlock();
      ring_();
      lock.lock();
    }
  }
}

}  // namespace vark::sdl
