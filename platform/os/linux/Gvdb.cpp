// Layout (all numbers little-endian 32-bit unless said otherwise):
//   header:  "GVariant", version, options, root pointer (start, end)
//   table:   n_bloom_words (low 27 bits), n_buckets, bloom words, buckets,
//            then 24-byte items: hash, parent item (or 0xFFFFFFFF), key start,
//            key size (16-bit), type ('v' value, 'H' table, 'L' list), unused,
//            value pointer (start, end)
// An item's key is only the last part of its name; the full name is the
// parent's full name followed by it. A value item points at a serialised
// variant: the inner value's bytes, a zero byte, then the inner type string.
#include "platform/os/linux/Gvdb.h"

#include <cstring>

namespace vark::os {

namespace {

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> data) : d_(data) {}

  bool U32(uint64_t offset, uint32_t& out) const {
    if (offset + 4 > d_.size()) return false;
    out = uint32_t{d_[offset]} | uint32_t{d_[offset + 1]} << 8 | uint32_t{d_[offset + 2]} << 16 |
          uint32_t{d_[offset + 3]} << 24;
    return true;
  }
  bool U16(uint64_t offset, uint16_t& out) const {
    if (offset + 2 > d_.size()) return false;
    out = static_cast<uint16_t>(d_[offset] | d_[offset + 1] << 8);
    return true;
  }
  bool Range(uint64_t start, uint64_t end) const { return start <= end && end <= d_.size(); }
  const uint8_t* At(uint64_t offset) const { return d_.data() + offset; }

 private:
  std::span<const uint8_t> d_;
};

struct Item {
  uint32_t hash = 0;
  uint32_t parent = 0;
  uint32_t keyStart = 0;
  uint16_t keySize = 0;
  uint8_t type = 0;
  uint32_t valueStart = 0;
  uint32_t valueEnd = 0;
};

constexpr uint32_t kNoParent = 0xFFFFFFFFu;

uint32_t Hash(std::string_view key) {
  uint32_t h = 5381;
  for (char c : key)
    h = h * 33 + static_cast<uint32_t>(static_cast<int32_t>(static_cast<signed char>(c)));
  return h;
}

class Table {
 public:
  Table(const Reader& r, uint32_t start, uint32_t end) : r_(r) {
    uint32_t bloom = 0, buckets = 0;
    if (!r.Range(start, end) || !r.U32(start, bloom) || !r.U32(start + 4, buckets)) return;
    const uint64_t bloomWords = bloom & ((1u << 27) - 1);
    bucketsAt_ = start + 8 + bloomWords * 4;
    itemsAt_ = bucketsAt_ + uint64_t{buckets} * 4;
    if (itemsAt_ > end) return;
    nBuckets_ = buckets;
    nItems_ = (end - itemsAt_) / 24;
  }

  bool GetItem(uint64_t index, Item& it) const {
    if (index >= nItems_) return false;
    const uint64_t at = itemsAt_ + index * 24;
    if (!r_.Range(at, at + 24)) return false;
    return r_.U32(at, it.hash) && r_.U32(at + 4, it.parent) && r_.U32(at + 8, it.keyStart) &&
           r_.U16(at + 12, it.keySize) && (it.type = *r_.At(at + 14), true) &&
           r_.U32(at + 16, it.valueStart) && r_.U32(at + 20, it.valueEnd);
  }

  // Whether item's full name is key: its own part ends key, and its parent's
  // full name is the rest. Bounded by the number of items against cycles.
  bool NameIs(Item it, std::string_view key) const {
    for (uint64_t depth = 0; depth <= nItems_; ++depth) {
      if (!r_.Range(it.keyStart, uint64_t{it.keyStart} + it.keySize)) return false;
      if (it.keySize > key.size()) return false;
      const std::string_view part(reinterpret_cast<const char*>(r_.At(it.keyStart)), it.keySize);
      if (key.substr(key.size() - it.keySize) != part) return false;
      key.remove_suffix(it.keySize);
      if (it.parent == kNoParent) return key.empty();
      if (it.keySize == 0 || !GetItem(it.parent, it)) return false;
    }
    return false;
  }

  bool Lookup(std::string_view key, Item& out) const {
    if (nBuckets_ == 0 || nItems_ == 0) return false;
    const uint32_t h = Hash(key);
    const uint32_t bucket = h % nBuckets_;
    uint32_t first = 0, last = 0;
    if (!r_.U32(bucketsAt_ + uint64_t{bucket} * 4, first)) return false;
    if (bucket == nBuckets_ - 1 || !r_.U32(bucketsAt_ + uint64_t{bucket + 1} * 4, last) ||
        last > nItems_) {
      last = static_cast<uint32_t>(nItems_);
    }
    for (uint64_t i = first; i < last; ++i) {
      Item it;
      if (!GetItem(i, it)) return false;
      if (it.hash == h && it.type == 'v' && NameIs(it, key)) {
        out = it;
        return true;
      }
    }
    return false;
  }

 private:
  const Reader& r_;
  uint64_t bucketsAt_ = 0;
  uint64_t itemsAt_ = 0;
  uint32_t nBuckets_ = 0;
  uint64_t nItems_ = 0;
};

}  // namespace

std::optional<std::string> GvdbLookupString(std::span<const uint8_t> file, std::string_view key) {
  const Reader r(file);
  if (file.size() < 24 || std::memcmp(file.data(), "GVariant", 8) != 0) return std::nullopt;
  uint32_t rootStart = 0, rootEnd = 0;
  if (!r.U32(16, rootStart) || !r.U32(20, rootEnd)) return std::nullopt;
  const Table root(r, rootStart, rootEnd);
  Item it;
  if (!root.Lookup(key, it) || !r.Range(it.valueStart, it.valueEnd)) return std::nullopt;
  // The variant: value bytes, a zero byte, the type string "s".
  const std::string_view v(reinterpret_cast<const char*>(r.At(it.valueStart)),
                           it.valueEnd - it.valueStart);
  const size_t sep = v.rfind('\0');
  if (sep == std::string_view::npos || v.substr(sep + 1) != "s") return std::nullopt;
  std::string_view value = v.substr(0, sep);
  // A serialised string ends with its own zero byte.
  if (value.empty() || value.back() != '\0') return std::nullopt;
  value.remove_suffix(1);
  if (value.find('\0') != std::string_view::npos) return std::nullopt;
  return std::string(value);
}

}  // namespace vark::os
