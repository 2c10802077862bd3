#pragma once
// Bit sets over a level's changing cells, kept as plain runs of 64-bit words so the
// search can store thousands of them side by side, and a small hash index over them.
#include <cstddef>
#include <cstdint>
#include <vector>

using Word = uint64_t;

inline bool HasBit(const Word* set, int bit) { return (set[bit >> 6] >> (bit & 63)) & 1u; }
inline void SetBit(Word* set, int bit) { set[bit >> 6] |= Word{1} << (bit & 63); }

inline bool IsSubset(const Word* a, const Word* b, int words) {
  for (int i = 0; i < words; ++i)
    if (a[i] & ~b[i]) return false;
  return true;
}

inline bool SameWords(const Word* a, const Word* b, int words) {
  for (int i = 0; i < words; ++i)
    if (a[i] != b[i]) return false;
  return true;
}

inline uint64_t MixHash(uint64_t h, uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  return h;
}

inline uint64_t HashWords(const Word* w, int words, uint64_t seed) {
  uint64_t h = seed;
  for (int i = 0; i < words; ++i) h = MixHash(h, w[i]);
  return h;
}

// Open addressing from a 64-bit hash to ids; the caller compares the actual keys.
class HashSlots {
 public:
  // The first stored id with this hash for which `same(id)` holds, or -1.
  template <class Same>
  int Find(uint64_t hash, Same same) const {
    if (slots_.empty()) return -1;
    for (std::size_t i = Home(hash);; i = (i + 1) & mask_) {
      const Slot& s = slots_[i];
      if (s.id < 0) return -1;
      if (s.hash == hash && same(s.id)) return s.id;
    }
  }

  std::size_t HeldBytes() const { return slots_.capacity() * sizeof(Slot); }

  void Insert(uint64_t hash, int id) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    Place(hash, id);
    ++count_;
  }

 private:
  struct Slot {
    uint64_t hash = 0;
    int id = -1;
  };

  // The hashes above mix their low bits poorly: runs of neighbouring slots would fill up.
  std::size_t Home(uint64_t hash) const {
    hash = (hash ^ (hash >> 30)) * 0xBF58476D1CE4E5B9ull;
    hash = (hash ^ (hash >> 27)) * 0x94D049BB133111EBull;
    return (hash ^ (hash >> 31)) & mask_;
  }

  void Place(uint64_t hash, int id) {
    std::size_t i = Home(hash);
    while (slots_[i].id >= 0) i = (i + 1) & mask_;
    slots_[i] = {hash, id};
  }

  void Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    mask_ = slots_.size() - 1;
    for (const Slot& s : old)
      if (s.id >= 0) Place(s.hash, s.id);
  }

  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::size_t count_ = 0;
};
