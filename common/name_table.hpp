// A hash table from names to values, compact enough for millions of names: the entries in one
// array in the order they were added, and an open-addressing index over it.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <string_view>
#include <vector>

#include "keyed_hash.hpp"
#include "name_arena.hpp"
#include "name_batch.hpp"

namespace stationtext {

// Maps distinct names to values; names are equal when their bytes are. The entries lie in one
// array in the order they were added: that is the order entries() gives, so nothing the
// programs write depends on the hash or its key.
//
// The index over the entries has 8-byte slots: an entry's number + 1 (0 is an empty slot) and,
// above it, bits of the name's hash, so that a probe reads an entry's name only when those bits
// match. It is probed linearly and kept at most half full. Names are hashed with a keyed hash,
// SipHash-1-3 unless a test plants another, under a key drawn for each table: without the key,
// nobody can compute names that share a slot.
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

  // Names hashed, and their slots asked for, before any of them is probed: enough for the
  // cache misses to overlap, few enough that their slots stay in the cache.
  static constexpr std::size_t kBatchNames = 16;
  // Far longer than any probe of a good hash at this load, even in an index of billions of slots.
  static constexpr std::size_t kLongProbe = 128;

  // `key` chooses the slots; tests fix it, so that they know where names go.
  explicit NameTable(HashKey key = HashKey::random()) : hash_{key} {}

  // Makes room for `count` names in all, so that adding them does not grow the table.
  void reserve(std::size_t count) {
    entries_.reserve(count);
    if (2 * count > slots_.size()) grow(count);
  }

  // Adds each name that `next` gives with its value, in that order, as NameBatch::refill() takes
  // them, with a copy of the name kept in `arena`. A name already there keeps its entry and
  // value.
  template <typename Next>
  void addAll(Next next, NameArena& arena) {
    NameBatch<Value> batch(kBatchNames, kBatchBytes);
    std::uint64_t hashes[kBatchNames];
    std::size_t hashed = 0;
    auto source = hashing(next, hashes, hashed);
    for (;;) {
      // Grown before the batch is read, as where its names start depends on the index's size.
      if (2 * (entries_.size() + kBatchNames) > slots_.size()) grow(entries_.size() + kBatchNames);
      hashed = 0;
      if (!batch.refill(source)) return;
      for (std::size_t g = 0; g < batch.size(); ++g) {
        const std::size_t at = probe(batch.name(g), hashes[g]);
        if (slots_[at] != 0) continue;
        // Entry numbers have kNumberBits bits: more entries than that would not fit in memory.
        if (entries_.size() + 1 >= (std::uint64_t{1} << kNumberBits)) throw std::bad_alloc();
        entries_.push_back({arena.keep(batch.name(g)), batch.value(g)});
        slots_[at] = tagOf(hashes[g]) | entries_.size();
      }
      guard();
    }
  }

  // Calls found(name, entry) for each name that `next` gives, in that order, as
  // NameBatch::refill() takes them, with the name's entry or nullptr when there is none.
  template <typename Next, typename Found>
  void findAll(Next next, Found found) {
    NameBatch<> batch(kBatchNames, kBatchBytes);
    std::uint64_t hashes[kBatchNames];
    std::size_t hashed = 0;
    auto source = hashing(next, hashes, hashed);
    for (hashed = 0; batch.refill(source); hashed = 0) {
      for (std::size_t g = 0; g < batch.size(); ++g) {
        const std::size_t at = slots_.empty() ? 0 : probe(batch.name(g), hashes[g]);
        found(batch.name(g), slots_.empty() || slots_[at] == 0 ? nullptr : &entryAt(at));
      }
      guard();
    }
  }

  // The entries, in the order they were added.
  const std::vector<Entry>& entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }
  // How often the guard drew a new key.
  std::size_t rekeys() const { return rekeys_; }

 private:
  // The index starts this large, so that a small input never grows it.
  static constexpr std::size_t kMinSlots = 1024;
  // A batch's names are copied; a few long ones need not fill it.
  static constexpr std::size_t kBatchBytes = std::size_t{1} << 16;
  static constexpr int kNumberBits = 40;  // a trillion entries: more than any memory holds
  static constexpr std::uint64_t kTagMask = ~std::uint64_t{0} << kNumberBits;

  // The source `next` of a batch, hashing each name it gives into hashes[hashed++] and asking
  // for the name's first slot at once, so that the slot arrives while the next names are read.
  template <typename Next>
  auto hashing(Next& next, std::uint64_t* hashes, std::size_t& hashed) {
    return [this, &next, hashes, &hashed](std::string_view& name, auto&... value) {
      if (!next(name, value...)) return false;
      hashes[hashed] = hash_(name);
      if (!slots_.empty()) __builtin_prefetch(&slots_[home(hashes[hashed])]);
      ++hashed;
      return true;
    };
  }

  // The first slot a probe for `hash` looks at: the hash's top bits.
  std::size_t home(std::uint64_t hash) const { return static_cast<std::size_t>(hash >> shift_); }
  // The tag: the hash's low bits, which the slot's number does not depend on.
  static std::uint64_t tagOf(std::uint64_t hash) { return hash << kNumberBits; }
  Entry& entryAt(std::size_t at) { return entries_[(slots_[at] & ~kTagMask) - 1]; }

  // The slot that holds `name`, or the empty slot where it would go. A long walk arms the guard.
  std::size_t probe(std::string_view name, std::uint64_t hash) {
    const std::uint64_t tag = tagOf(hash);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = home(hash);
    for (std::size_t walked = 0;; ++walked, at = (at + 1) & mask) {
      const std::uint64_t slot = slots_[at];
      if (slot == 0 || ((slot & kTagMask) == tag && entryAt(at).name == name)) {
        longProbe_ = longProbe_ || walked > kLongProbe;
        return at;
      }
    }
  }

  // Makes the index large enough for `count` entries at most half full, and places them again.
  void grow(std::size_t count) {
    place(std::bit_ceil(std::max({kMinSlots, 2 * count, 2 * slots_.size()})));
    guardArmed_ = true;
  }

  // After a long probe, once between two growths: a new key, and every entry placed again.
  void guard() {
    if (longProbe_ && guardArmed_) {
      hash_ = Hash{HashKey::random()};
      ++rekeys_;
      guardArmed_ = false;
      place(slots_.size());
    }
    longProbe_ = false;
  }

  // Makes the index `size` slots large, a power of two, and puts every entry in it.
  void place(std::size_t size) {
    slots_.assign(size, 0);
    shift_ = 64 - std::countr_zero(size);
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const std::uint64_t hash = hash_(entries_[i].name);
      std::size_t at = home(hash);
      while (slots_[at] != 0)
        at = (at + 1) & mask;
      slots_[at] = tagOf(hash) | (i + 1);
    }
  }

  std::vector<Entry> entries_;
  std::vector<std::uint64_t> slots_;
  Hash hash_;
  int shift_ = 64;  // 64 minus the bits of a slot's number
  bool longProbe_ = false;
  bool guardArmed_ = true;
  std::size_t rekeys_ = 0;
};

}  // namespace stationtext
