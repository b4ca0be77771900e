// A hash table from names to values, compact enough for millions of names: the entries in one
// array in the order they were added, and an open-addressing index over it.
#pragma once

#include <algorithm>
#include <bit>
#include <cassert>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "name_arena.hpp"

namespace stationtext {

// Maps distinct names to values; names are equal when their bytes are. An index slot is 8
// bytes: the entry's number + 1 (0 is an empty slot) and, above it, the top bits of a mix of
// the name's hash, so that a probe reads an entry's name only when those bits match. The index
// is probed linearly and kept at most half full, so probes stay short.
//
// A name's first slot comes from the top bits of its hash times a multiplier drawn afresh for
// each table, not from the hash alone: names crafted so that their hashes share their low
// bits would otherwise fill one long run of slots and make every probe walk it. The order of
// the entries, and so everything the programs write, does not depend on the slots.
//
// The caller hashes each name with hashOf() and hands the hash to find() and add(), so that it
// can hash a batch of names and ask for their slots with prefetch() before probing any.
template <typename Value, typename Hash = std::hash<std::string_view>>
class NameTable {
 public:
  struct Entry {
    std::string_view name;
    [[no_unique_address]] Value value;
  };

  // `multiplier` (odd) chooses the slots; tests fix it, so that they know where names go.
  explicit NameTable(std::uint64_t multiplier = unpredictableOdd()) : multiplier_(multiplier) {}

  static std::uint64_t hashOf(std::string_view name) { return Hash{}(name); }

  // Makes room for `count` names in all, so that adding them does not grow the table.
  void reserve(std::size_t count) {
    entries_.reserve(count);
    if (2 * count > slots_.size()) rebuild(std::bit_ceil(std::max(kMinSlots, 2 * count)));
  }

  // Asks for the memory of the slot where a probe for `hash` starts.
  void prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[home(hash)]);
  }

  // The entry of `name`, whose hash is `hash`, or nullptr when there is none.
  Entry* find(std::string_view name, std::uint64_t hash) {
    if (slots_.empty()) return nullptr;
    const std::size_t at = probe(name, hash);
    return slots_[at] == 0 ? nullptr : &entries_[(slots_[at] & ~kTagMask) - 1];
  }

  // Adds `name` -> `value` unless the name is there, with a copy of the name kept in `arena`.
  // Returns the name's entry, and whether it was added; an entry already there stays as it is.
  std::pair<Entry*, bool> add(std::string_view name, std::uint64_t hash, const Value& value,
                              NameArena& arena) {
    if (2 * (entries_.size() + 1) > slots_.size()) rebuild(std::max(kMinSlots, 2 * slots_.size()));
    const std::size_t at = probe(name, hash);
    if (slots_[at] != 0) return {&entries_[(slots_[at] & ~kTagMask) - 1], false};
    // Entry numbers have kNumberBits bits: more entries than that would not fit in memory.
    if (entries_.size() + 1 >= (std::uint64_t{1} << kNumberBits)) throw std::bad_alloc();
    entries_.push_back({arena.keep(name), value});
    slots_[at] = tagOf(hash) | entries_.size();
    return {&entries_.back(), true};
  }

  // A few names, each with a value, to be looked up together: each name is hashed and its slot
  // asked for as it is added, so that the cache misses of the batch overlap.
  class Batch {
   public:
    // Enough names for their misses to overlap, few enough that their slots stay in the cache.
    static constexpr std::size_t kNames = 16;

    explicit Batch(const NameTable& table) : table_(table) {}
    // Adds a copy of `name`; true when the batch is full.
    bool add(std::string_view name, const Value& value = {}) {
      assert(size_ < kNames && "a full batch is handed to addAll() or findAll() first");
      bytes_.append(name);
      ends_[size_ + 1] = bytes_.size();
      hashes_[size_] = hashOf(name);
      values_[size_] = value;
      table_.prefetch(hashes_[size_]);
      return ++size_ == kNames;
    }

   private:
    friend class NameTable;
    std::string_view name(std::size_t g) const {
      return std::string_view(bytes_).substr(ends_[g], ends_[g + 1] - ends_[g]);
    }

    const NameTable& table_;
    std::string bytes_;  // the names back to back, reused from batch to batch
    std::size_t ends_[kNames + 1] = {};
    std::uint64_t hashes_[kNames];
    Value values_[kNames];
    std::size_t size_ = 0;
  };

  // Adds each name of `batch` with its value as add() does, in the order they were added to
  // the batch; empties it.
  void addAll(Batch& batch, NameArena& arena) {
    for (std::size_t g = 0; g < batch.size_; ++g)
      add(batch.name(g), batch.hashes_[g], batch.values_[g], arena);
    batch.bytes_.clear();
    batch.size_ = 0;
  }

  // Calls found(name, entry) for each name of `batch`, in the order they were added, with the
  // name's entry or nullptr; empties the batch.
  template <typename Found>
  void findAll(Batch& batch, Found found) {
    for (std::size_t g = 0; g < batch.size_; ++g)
      found(batch.name(g), find(batch.name(g), batch.hashes_[g]));
    batch.bytes_.clear();
    batch.size_ = 0;
  }

  // The entries, in the order they were added.
  const std::vector<Entry>& entries() const { return entries_; }
  std::size_t size() const { return entries_.size(); }

 private:
  // The index starts this large, so that a small input never grows it.
  static constexpr std::size_t kMinSlots = 1024;
  static constexpr int kNumberBits = 40;  // a trillion entries: more than any memory holds
  static constexpr std::uint64_t kTagMask = ~std::uint64_t{0} << kNumberBits;

  // An odd multiplier that differs from run to run: the clock's nanoseconds and where this
  // process's stack lies, mixed.
  static std::uint64_t unpredictableOdd() {
    const int local = 0;
    std::uint64_t x =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        reinterpret_cast<std::uintptr_t>(&local);
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9u;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebu;
    return (x ^ (x >> 31)) | 1;
  }

  // The first slot a probe for `hash` looks at.
  std::size_t home(std::uint64_t hash) const {
    return static_cast<std::size_t>((hash * multiplier_) >> shift_);
  }

  // The tag comes from another multiply of the hash, so that even a 32-bit hash fills the tag
  // bits and they differ from the bits that chose the slot.
  static std::uint64_t tagOf(std::uint64_t hash) { return (hash * 0x9e3779b97f4a7c15u) & kTagMask; }

  // The slot that holds `name`, or the empty slot where it would go.
  std::size_t probe(std::string_view name, std::uint64_t hash) const {
    const std::uint64_t tag = tagOf(hash);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = home(hash);; at = (at + 1) & mask) {
      const std::uint64_t slot = slots_[at];
      if (slot == 0 || ((slot & kTagMask) == tag && entries_[(slot & ~kTagMask) - 1].name == name))
        return at;
    }
  }

  // Makes the index `size` slots large, a power of two, and puts every entry in it again.
  void rebuild(std::size_t size) {
    slots_.assign(size, 0);
    shift_ = 64 - std::countr_zero(size);
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const std::uint64_t hash = hashOf(entries_[i].name);
      std::size_t at = home(hash);
      while (slots_[at] != 0)
        at = (at + 1) & mask;
      slots_[at] = tagOf(hash) | (i + 1);
    }
  }

  std::vector<Entry> entries_;
  std::vector<std::uint64_t> slots_;
  std::uint64_t multiplier_;
  int shift_ = 64;  // 64 minus the bits of a slot's number
};

}  // namespace stationtext
