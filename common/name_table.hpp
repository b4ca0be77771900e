// A hash table from names to values, compact enough for millions of names: the entries in one
// array in the order they were added, and an open-addressing index over it.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <new>
#include <string_view>
#include <utility>

#include "big_vector.hpp"
#include "keyed_hash.hpp"
#include "name_batch.hpp"

namespace stationtext {

// Maps distinct names to values; names are equal when their bytes are. The entries lie in one
// array in the order they were added: that is the order entries() gives, so nothing the
// programs write depends on the hash or its key. The table holds what was added and grows with
// it: nothing is made room for in advance.
//
// The index over the entries has 8-byte slots: an entry's number + 1 in the low half (0 is an
// empty slot) and the top half of the name's hash in the high half, so that a probe reads an
// entry's name only when those bits match, and growing the index places the slots again without
// hashing a name. A name's first slot is given by the top bits of its hash; the index is probed
// linearly and kept at most half full. Names are hashed with a keyed hash, SipHash-1-3 unless a
// test plants another, under a key drawn for each table: without the key, nobody can compute
// names that share a slot.
//
// A guard that does not trust the hash: a probe that walks more than kLongProbe slots makes the
// table draw a new key and place every entry again, once the batch at hand is done. It fires at
// most once between two growths of the index, so that even a hash that ignores its key costs no
// more than growing does.
template <typename Value, typename Hash = SipHash13>
class NameTable {
 public:
  struct Entry {
    std::string_view name;
    [[no_unique_address]] Value value;
  };
  // What addAll() does by default with the entry of a name that is there already: nothing.
  struct Ignore {
    void operator()(Entry&) const {}
  };

  // Names hashed, and their slots asked for, before any of them is probed: enough for the
  // cache misses to overlap, few enough that their slots stay in the cache.
  static constexpr std::size_t kBatchNames = 16;
  static_assert(kBatchNames > 0);
  // Far longer than any probe of a good hash at this load, even in an index of billions of slots.
  static constexpr std::size_t kLongProbe = 128;

  // `key` chooses the slots; tests fix it, so that they know where names go.
  explicit NameTable(HashKey key = HashKey::random()) : hash_{key} {}

  // Adds each name that `next` gives with its value, in that order, as NameBatch::refill() takes
  // them. A new name is stored as keep(name) returns it, a view that must stay valid as long as
  // the table (a copy in an arena). A name already there keeps its entry and value, and
  // found(entry) is called with its entry.
  template <typename Next, typename Keep, typename Found = Ignore>
  void addAll(Next next, Keep keep, Found found = {}) {
    NameBatch<Value> batch(kBatchNames, kBatchBytes);
    std::uint64_t hashes[kBatchNames];
    std::size_t hashed = 0;
    auto source = hashing(next, hashes, hashed);
    for (;;) {
      // Grown before the batch is read, as where its names start depends on the index's size.
      makeRoom(kBatchNames);
      hashed = 0;
      if (!batch.refill(source)) return;
      askForCandidates(hashes, batch.size());
      for (std::size_t g = 0; g < batch.size(); ++g) {
        const std::size_t at = probe(batch.name(g), hashes[g]);
        if (slots_[at] == 0) {
          insert(at, hashes[g], keep(batch.name(g)), batch.value(g));
        } else {
          found(entryOf(slots_[at]));
        }
      }
      guard();
    }
  }

  // The entries, in the order they were added.
  const GrowingArray<Entry>& entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }
  // How often the guard drew a new key.
  std::size_t rekeys() const { return rekeys_; }

 private:
  // The index starts this large, so that a small input never grows it.
  static constexpr std::size_t kMinSlots = 1024;
  // A batch's names are copied; a few long ones need not fill it.
  static constexpr std::size_t kBatchBytes = std::size_t{1} << 16;
  // The low half of a slot: an entry's number + 1. The high half: the top of the name's hash.
  static constexpr int kNumberBits = 32;
  static constexpr std::uint64_t kNumberMask = (std::uint64_t{1} << kNumberBits) - 1;
  static constexpr std::uint64_t kTagMask = ~kNumberMask;
  // The index's size at most: a first slot is read from the tag, which has kNumberBits bits.
  static constexpr std::uint64_t kMostSlots = std::uint64_t{1} << (64 - kNumberBits);

  // The source `next` of a batch, hashing each name it gives into hashes[hashed++] and asking
  // for the name's first slot at once, so that the slot arrives while the next names are read.
  template <typename Next>
  auto hashing(Next& next, std::uint64_t* hashes, std::size_t& hashed) {
    return [this, &next, hashes, &hashed](std::string_view& name, auto&... value) {
      if (!next(name, value...)) return false;
      hashes[hashed] = hash_(name);
      __builtin_prefetch(&slots_[home(hashes[hashed])]);
      ++hashed;
      return true;
    };
  }

  // Reads the byte at `p`, so that its cache line is fetched now, side by side with those of the
  // other names a loop touches. A prefetch instruction does not serve here: measured, the lines
  // it asked for were still missing when the names were compared. The empty asm keeps the load.
  static void touch(const char* p) {
    const char byte = *p;
    asm volatile("" : : "r"(byte));
  }

  // The first slot of each name was asked for as it was read. Where it holds an entry with the
  // name's tag, which nearly always is the name's own, asks for the entry and then reads its
  // name's bytes, so that the probes find both at hand.
  void askForCandidates(const std::uint64_t* hashes, std::size_t count) {
    Entry* candidates[kBatchNames];
    for (std::size_t g = 0; g < count; ++g) {
      const std::uint64_t slot = slots_[home(hashes[g])];
      candidates[g] = slot != 0 && (slot & kTagMask) == tagOf(hashes[g]) ? &entryOf(slot) : nullptr;
      __builtin_prefetch(candidates[g]);
    }
    for (std::size_t g = 0; g < count; ++g) {
      if (candidates[g] == nullptr) continue;
      // A name may straddle two cache lines: both are read.
      const std::string_view name = candidates[g]->name;
      if (!name.empty()) {
        touch(name.data());
        touch(name.data() + name.size() - 1);
      }
    }
  }

  // The first slot a probe for `hash` looks at: the hash's top bits, which the slot keeps.
  std::size_t home(std::uint64_t hash) const { return static_cast<std::size_t>(hash >> shift_); }
  static std::uint64_t tagOf(std::uint64_t hash) { return hash & kTagMask; }
  Entry& entryOf(std::uint64_t slot) { return entries_[(slot & kNumberMask) - 1]; }

  // The slot that holds `name`, or the empty slot where it would go. A long walk arms the guard.
  std::size_t probe(std::string_view name, std::uint64_t hash) {
    const std::uint64_t tag = tagOf(hash);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = home(hash);
    for (std::size_t walked = 0;; ++walked, at = (at + 1) & mask) {
      const std::uint64_t slot = slots_[at];
      if (slot == 0 || ((slot & kTagMask) == tag && entryOf(slot).name == name)) {
        longProbe_ = longProbe_ || walked > kLongProbe;
        return at;
      }
    }
  }

  // Puts a new entry in the empty slot `at`.
  void insert(std::size_t at, std::uint64_t hash, std::string_view name, const Value& value) {
    if (entries_.size() + 1 >= kNumberMask) throw std::bad_alloc();  // more than numbers hold
    entries_.push_back({name, value});
    slots_[at] = tagOf(hash) | entries_.size();
  }

  // Grows the index, if need be, so that `more` entries can be added at most half full: to
  // twice its size, and each slot is placed again from the hash bits it keeps.
  void makeRoom(std::size_t more) {
    const std::uint64_t wanted = 2 * (std::uint64_t{entries_.size()} + more);
    if (!slots_.empty() && wanted <= slots_.size()) return;
    const std::uint64_t size = std::bit_ceil(
        std::max<std::uint64_t>({kMinSlots, wanted, 2 * std::uint64_t{slots_.size()}}));
    if (size > kMostSlots || size > SIZE_MAX / sizeof(std::uint64_t)) throw std::bad_alloc();
    ZeroedArray<std::uint64_t> old(static_cast<std::size_t>(size));
    std::swap(old, slots_);
    shift_ = 64 - std::countr_zero(size);
    for (const std::uint64_t slot : old) {  // in the order of their homes, nearly
      if (slot != 0) place(slot);
    }
    guardArmed_ = true;
  }

  // Puts `slot` in the first empty slot from its home, which its tag gives.
  void place(std::uint64_t slot) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = home(slot);
    while (slots_[at] != 0)
      at = (at + 1) & mask;
    slots_[at] = slot;
  }

  // After a long probe, once between two growths: a new key, and every entry placed again.
  void guard() {
    if (longProbe_ && guardArmed_) {
      hash_ = Hash{HashKey::random()};
      ++rekeys_;
      guardArmed_ = false;
      std::fill(slots_.begin(), slots_.end(), 0);
      for (std::size_t i = 0; i < entries_.size(); ++i)
        place(tagOf(hash_(entries_[i].name)) | (i + 1));
    }
    longProbe_ = false;
  }

  GrowingArray<Entry> entries_;
  ZeroedArray<std::uint64_t> slots_;
  Hash hash_;
  int shift_ = 64;  // 64 less the bits of a slot's place, which a hash's top bits give
  bool longProbe_ = false;
  bool guardArmed_ = true;
  std::size_t rekeys_ = 0;
};

}  // namespace stationtext
