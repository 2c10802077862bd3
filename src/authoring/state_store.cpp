#include "authoring/state_store.h"

StateStore::StateStore(int words, const Word* doorMask) : count_(words), doors_(doorMask) {}

uint64_t StateStore::GroupHash(int place, const Word* cleared) const {
  uint64_t hash = MixHash(0, static_cast<uint64_t>(place));
  for (int i = 0; i < count_; ++i) hash = MixHash(hash, cleared[i] & doors_[i]);
  return hash;
}

int StateStore::FindGroup(uint64_t hash, int place, const Word* cleared) const {
  return groupIndex_.Find(hash, [&](int g) {
    const int first = groups_[g].first;
    if (place_[first] != place) return false;
    const Word* other = Cleared(first);
    for (int i = 0; i < count_; ++i)
      if ((other[i] ^ cleared[i]) & doors_[i]) return false;
    return true;
  });
}

// A subset always folds into a subset.
uint64_t StateStore::Signature(const Group& group, const Word* cleared) const {
  const Word* base = Cleared(group.first);
  uint64_t s = 0;
  for (int i = 0; i < count_; ++i) {
    const Word w = cleared[i] & ~base[i];
    const unsigned r = static_cast<unsigned>(i * 23) & 63u;
    s |= r ? (w << r) | (w >> (64 - r)) : w;
  }
  return s;
}

int StateStore::FindDominator(int place, int keys, const Word* cleared) const {
  const int same = exact_.Find(HashWords(cleared, count_, static_cast<uint64_t>(place)), [&](int id) {
    return place_[id] == place && SameWords(Cleared(id), cleared, count_);
  });
  if (same >= 0 && keys_[same] >= keys) return same;
  const int g = FindGroup(GroupHash(place, cleared), place, cleared);
  if (g < 0) return -1;
  Group& group = groups_[g];
  auto dominates = [&](int id) {
    return keys_[id] >= keys && IsSubset(cleared, Cleared(id), count_);
  };
  if (group.lastDominator >= 0 && dominates(group.lastDominator)) return group.lastDominator;
  const uint64_t signature = Signature(group, cleared);
  // Newest first: later states have usually done more.
  for (auto it = group.members.rbegin(); it != group.members.rend(); ++it)
    if ((signature & ~it->first) == 0 && dominates(it->second)) {
      group.lastDominator = it->second;
      return it->second;
    }
  return -1;
}

int StateStore::Add(int place, int keys, const Word* cleared) {
  const int id = Size();
  words_.insert(words_.end(), cleared, cleared + count_);
  keys_.push_back(keys);
  place_.push_back(place);
  const uint64_t hash = GroupHash(place, cleared);
  int g = FindGroup(hash, place, cleared);
  if (g < 0) {
    g = static_cast<int>(groups_.size());
    groups_.push_back({id, {}});
    groupIndex_.Insert(hash, g);
  }
  auto& members = groups_[g].members;
  const std::size_t before = members.capacity();
  members.push_back({Signature(groups_[g], cleared), id});
  memberBytes_ += (members.capacity() - before) * sizeof(members.front());
  exact_.Insert(HashWords(cleared, count_, static_cast<uint64_t>(place)), id);
  return id;
}

std::size_t StateStore::HeldBytes() const {
  return words_.capacity() * sizeof(Word) + (keys_.capacity() + place_.capacity()) * sizeof(int) +
         groups_.capacity() * sizeof(Group) + memberBytes_ + groupIndex_.HeldBytes() +
         exact_.HeldBytes();
}
