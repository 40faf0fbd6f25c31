#pragma once

#include <cstdint>
#include <initializer_list>

namespace core {

// A set of up to 64 values of an enumeration whose values count from 0, in
// the style of the classic set types: TSet<TComponentStateItem>{csLoading}.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E item : items) Include(item);
  }

  constexpr bool Contains(E item) const { return (FBits & Bit(item)) != 0; }
  constexpr bool IsEmpty() const { return FBits == 0; }
  constexpr void Include(E item) { FBits |= Bit(item); }
  constexpr void Exclude(E item) { FBits &= ~Bit(item); }
  constexpr std::uint64_t Bits() const { return FBits; }

  constexpr TSet operator|(TSet other) const { return FromBits(FBits | other.FBits); }
  constexpr TSet operator&(TSet other) const { return FromBits(FBits & other.FBits); }
  // Difference: the items of this set that are not in other.
  constexpr TSet operator-(TSet other) const { return FromBits(FBits & ~other.FBits); }
  constexpr TSet& operator|=(TSet other) { FBits |= other.FBits; return *this; }
  constexpr TSet& operator&=(TSet other) { FBits &= other.FBits; return *this; }
  constexpr TSet& operator-=(TSet other) { FBits &= ~other.FBits; return *this; }
  constexpr bool operator==(const TSet&) const = default;

  static constexpr TSet FromBits(std::uint64_t bits) {
    TSet set;
    set.FBits = bits;
    return set;
  }

 private:
  static constexpr std::uint64_t Bit(E item) { return std::uint64_t(1) << static_cast<unsigned>(item); }
  std::uint64_t FBits = 0;
};

}  // namespace core
