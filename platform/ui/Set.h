// TSet: a small set of enumeration values, as the classic framework's set types
// ([ssShift, ssCtrl], [akLeft, akTop], [mbOK]). Bit i stands for the value i, so a
// set stored in Bits keeps the classic layout (TMsgDlgButtons: two bytes).
#pragma once

#include <cstdint>
#include <initializer_list>

template <class E, class Bits = uint32_t>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values)
      bits_ |= Bit(v);
  }
  static constexpr TSet FromBits(Bits bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }

  constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
  constexpr void Include(E v) { bits_ = static_cast<Bits>(bits_ | Bit(v)); }
  constexpr void Exclude(E v) { bits_ = static_cast<Bits>(bits_ & ~Bit(v)); }
  constexpr bool IsEmpty() const { return bits_ == 0; }
  constexpr Bits ToBits() const { return bits_; }

  constexpr TSet operator+(TSet o) const { return FromBits(static_cast<Bits>(bits_ | o.bits_)); }
  constexpr TSet operator-(TSet o) const { return FromBits(static_cast<Bits>(bits_ & ~o.bits_)); }
  constexpr TSet operator*(TSet o) const { return FromBits(static_cast<Bits>(bits_ & o.bits_)); }
  friend constexpr bool operator==(const TSet&, const TSet&) = default;

 private:
  static constexpr Bits Bit(E v) { return static_cast<Bits>(Bits{1} << static_cast<unsigned>(v)); }
  Bits bits_ = 0;
};
