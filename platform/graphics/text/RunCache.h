// RunCache: a text engine's laid-out runs, by the sized font they were laid
// out in (its address), the reading order and the text, so that measuring or
// drawing a text again costs a lookup. Bounded: past kMaxRuns it starts
// again; a long text is laid out each time and not kept.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vark::text {

template <class Run>
class RunCache {
 public:
  // The run of text in font, made by layout(run) when it is not kept yet.
  template <class Layout>
  const Run& Get(const void* font, std::string_view text, bool rightToLeft, Layout&& layout) {
    if (text.size() > kMaxCachedText) {
      scratch_ = {};
      layout(scratch_);
      return scratch_;
    }
    key_.assign(reinterpret_cast<const char*>(&font), sizeof font);
    key_.push_back(rightToLeft ? 'R' : 'L');
    key_.append(text);
    auto it = runs_.find(key_);
    if (it != runs_.end()) return it->second;
    if (runs_.size() >= kMaxRuns) runs_.clear();
    Run& run = runs_[key_];
    layout(run);
    return run;
  }

  // Runs point into the fonts they were laid out in: they go with them.
  void Clear() { runs_.clear(); }

 private:
  static constexpr size_t kMaxRuns = 4096;
  static constexpr size_t kMaxCachedText = 1024;  // bytes

  std::unordered_map<std::string, Run> runs_;
  Run scratch_;  // a long text's run
  std::string key_;
};

}  // namespace vark::text
