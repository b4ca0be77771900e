// A hash table from names to values, compact enough for millions of names: each name with its
// value in one record, the records back to back in one growing block, and an open-addressing
// index of 8-byte slots over them.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "big_memory.hpp"
#include "keyed_hash.hpp"
#include "name_batch.hpp"

namespace stationtext {

// Maps distinct names to values; names are equal when their bytes are. forEach() visits the
// records in the order they were added, so nothing the programs write depends on the hash or its
// key. The table holds what was added and grows with it: nothing is made room for in advance.
//
// A slot holds a record's place + 1 in its low half (0 is an empty slot) and the top half of the
// name's hash in its high half, so that a probe reads a record only when those bits match, and
// growing the index places the slots again without hashing a name. A name's first slot is given
// by the top bits of its hash; the index is probed linearly and kept at most two thirds full:
// emptier, it would hold more slots per name than the plain reading holds bytes; fuller, its runs
// of full slots grow long. Names are hashed with a keyed hash, SipHash-1-3 unless a test plants
// another, under a key drawn for each table: without the key, nobody can compute names that share a
// slot.
//
// A guard that does not trust the hash: after a probe that walks more than kLongProbe slots,
// settle() draws a new key and places every record again, at most once between two growths of
// the index, so that the new key costs no more than growing does. A hash that ignores its key
// stays slow, but exact.
template <typename Value = NoValue, typename Hash = NameHash>
class NameTable {
  static_assert(std::is_trivially_copyable_v<Value> && alignof(Value) <= 4);

 public:
  // Far longer than any probe of a good hash at this load, even in an index of billions of slots
  // (simulated: the longest run of full slots at two thirds is about 110 in 2^22 slots and 190
  // in 2^25), yet a walk of a few kilobytes.
  static constexpr std::size_t kLongProbe = 512;

  // `key` chooses the slots; tests fix it, so that they know where names go.
  explicit NameTable(HashKey key = HashKey::random()) : hash_{key} {}

  // The value of `name`, or null. A pointer into the table is valid until the next insert.
  Value* find(std::string_view name) { return find(name, hash(name)); }
  // Adds `name` with `value` unless it is there. Returns the name's value (the first one given)
  // and whether the name was added.
  std::pair<Value*, bool> insert(std::string_view name, const Value& value) {
    const auto added = insert(name, value, hash(name));
    settle();
    return added;
  }
  // Adds `name`, which lies in `block`, unless it is there, keeping the block itself instead of a
  // copy: a long name is then held once. It leaves the guard to the next settle(), so that it
  // may come between the hashing and the lookups of a batch.
  std::pair<Value*, bool> insertHeld(std::string_view name, const Value& value, ByteBlock block);

  // The number of names.
  std::size_t size() const { return size_; }
  // Calls visit(name, value) for each name, in the order they were added.
  template <typename Visit>
  void forEach(Visit visit) {
    for (std::size_t at = 0; at < records_.size(); at += recordSize(at))
      visit(nameAt(at), valueAt(at));
  }
  // Frees the index, once no name will be looked up again: forEach() still works.
  void dropIndex() { slots_.release(); }
  // How often the guard drew a new key.
  std::size_t rekeys() const { return rekeys_; }

  // The batched forms, for hot loops (see visitInBatches() in name_batch.hpp): hash a run of
  // names and ask for their slots, then for the records the slots point to, then look them up
  // by their hashes, and settle() after the run.
  std::uint64_t hash(std::string_view name) const { return hash_(name); }
  void prefetchSlot(std::uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[home(hash)]);
  }
  // Asks for the record that the name's first slot leads to, when its tag is the name's (nearly
  // always the name's own record), so that the lookup finds it at hand.
  void touchRecord(std::uint64_t hash) const;
  Value* find(std::string_view name, std::uint64_t hash);
  std::pair<Value*, bool> insert(std::string_view name, const Value& value, std::uint64_t hash);
  // Draws a new key and places every record again after a long probe, once between growths.
  void settle();

 private:
  // A record: the name's size (or kHeld), the value, then the name's bytes or a HeldName.
  struct alignas(4) Head {
    std::uint32_t size;
    [[no_unique_address]] Value value;
  };
  struct HeldName {
    const char* data;
    std::size_t size;
  };
  static constexpr std::uint32_t kHeld = UINT32_MAX;
  // Records are placed in units of this many bytes, so that a slot's low half reaches 16 GiB.
  static constexpr std::size_t kUnit = 4;
  static_assert(sizeof(Head) % kUnit == 0);
  // A cache line: a record's second line is asked for with its first.
  static constexpr std::size_t kRecordLine = 64;
  // A name at least this long is kept in a block of its own: the records stay dense.
  static constexpr std::size_t kOwnBlock = std::size_t{1} << 16;
  // The index starts this large, so that a small input never grows it.
  static constexpr std::size_t kMinSlots = 1024;
  static constexpr std::uint64_t kPlaceMask = 0xffffffffu;
  // A first slot is read from the tag, the high half of a slot.
  static constexpr std::uint64_t kMostSlots = std::uint64_t{1} << 32;

  std::size_t home(std::uint64_t hash) const { return static_cast<std::size_t>(hash >> shift_); }
  static std::uint64_t tagOf(std::uint64_t hash) { return hash & ~kPlaceMask; }
  static std::size_t placeOf(std::uint64_t slot) { return ((slot & kPlaceMask) - 1) * kUnit; }

  Head& headAt(std::size_t at) { return *std::launder(reinterpret_cast<Head*>(&records_[at])); }
  const Head& headAt(std::size_t at) const {
    return *std::launder(reinterpret_cast<const Head*>(&records_[at]));
  }
  Value& valueAt(std::size_t at) { return headAt(at).value; }
  std::string_view nameAt(std::size_t at) const {
    const Head& head = headAt(at);
    if (head.size != kHeld) return {&records_[at] + sizeof(Head), head.size};
    HeldName held;
    std::memcpy(&held, &records_[at] + sizeof(Head), sizeof held);
    return {held.data, held.size};
  }
  std::size_t recordSize(std::size_t at) const {
    const std::uint32_t size = headAt(at).size;
    const std::size_t bytes = sizeof(Head) + (size == kHeld ? sizeof(HeldName) : size);
    return (bytes + kUnit - 1) / kUnit * kUnit;
  }

  // The slot that holds `name`, or the empty slot where it would go. A long walk arms settle().
  std::size_t probe(std::string_view name, std::uint64_t hash) {
    const std::uint64_t tag = tagOf(hash);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = home(hash);
    for (std::size_t walked = 0;; ++walked, at = (at + 1) & mask) {
      const std::uint64_t slot = slots_[at];
      if (slot == 0 || ((slot & ~kPlaceMask) == tag && nameAt(placeOf(slot)) == name)) {
        longProbe_ = longProbe_ || walked > kLongProbe;
        return at;
      }
    }
  }
  // Adds a record for `name` in the empty slot `at`; `held`, when given, holds the name.
  Value* add(std::size_t at, std::uint64_t hash, std::string_view name, const Value& value,
             ByteBlock* held);
  // Grows the index, if need be, to hold one more name at most two thirds full.
  void makeRoom();
  // Puts `slot` in the first empty slot from its home, which its tag gives.
  void place(std::uint64_t slot) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = home(slot);
    while (slots_[at] != 0)
      at = (at + 1) & mask;
    slots_[at] = slot;
  }

  ByteBlock records_;  // the records back to back; its size is the bytes used
  GrowingArray<std::uint64_t> slots_;
  std::vector<ByteBlock> held_;  // the blocks of names kept whole
  std::size_t size_ = 0;
  Hash hash_;
  int shift_ = 64;  // 64 less the bits of a slot's place, which a hash's top bits give
  bool longProbe_ = false;
  bool guardArmed_ = true;
  std::size_t rekeys_ = 0;
};

}  // namespace stationtext

#include "name_table_impl.hpp"
