#pragma once
// The states a search has kept, and which of them is at least as good as a new one: a
// state that stands in the same place with the same doors open, has at least as much
// else done and no fewer keys makes the new one pointless.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "authoring/cell_bits.h"

class StateStore {
 public:
  StateStore(int words, const Word* doorMask);

  int Size() const { return static_cast<int>(keys_.size()); }
  const Word* Cleared(int id) const { return words_.data() + static_cast<std::size_t>(id) * count_; }

  // A kept state at least as good as (`place`, `keys`, `cleared`), or -1.
  int FindDominator(int place, int keys, const Word* cleared) const;
  // Keeps a state no other one dominates; returns its id.
  int Add(int place, int keys, const Word* cleared);
  std::size_t HeldBytes() const;

 private:
  // States with the same place and doors. Their signatures fold only the cells the
  // group's first state had not cleared, which is where they differ.
  struct Group {
    int first;
    std::vector<std::pair<uint64_t, int>> members;  // signature, id
    int lastDominator = -1;  // states found one after another tend to share it
  };

  uint64_t GroupHash(int place, const Word* cleared) const;
  int FindGroup(uint64_t hash, int place, const Word* cleared) const;
  uint64_t Signature(const Group& group, const Word* cleared) const;

  int count_;
  const Word* doors_;
  std::vector<Word> words_;
  std::vector<int> keys_, place_;
  mutable std::vector<Group> groups_;
  HashSlots groupIndex_;
  HashSlots exact_;  // (place, cleared) -> id
  std::size_t memberBytes_ = 0;
};
