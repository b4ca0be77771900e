// The name table's operations that are not one-liners: finding, adding, growing and the guard.
// Included by name_table.hpp only.
#pragma once

#include <algorithm>

namespace stationtext {

template <typename Value, typename Hash>
void NameTable<Value, Hash>::touchRecord(std::uint64_t hash) const {
  if (slots_.empty()) return;
  const std::uint64_t slot = slots_[home(hash)];
  if (slot == 0 || tagOf(slot) != tagOf(hash)) return;
  // The record's first two cache lines, which hold its head and all of most names.
  const char* const record = &records_[placeOf(slot)];
  __builtin_prefetch(record);
  __builtin_prefetch(record + kRecordLine);
}

template <typename Value, typename Hash>
Value* NameTable<Value, Hash>::find(std::string_view name, std::uint64_t hash) {
  if (slots_.empty()) return nullptr;
  const std::uint64_t slot = slots_[probe(name, hash)];
  return slot == 0 ? nullptr : &valueAt(placeOf(slot));
}

template <typename Value, typename Hash>
std::pair<Value*, bool> NameTable<Value, Hash>::insert(std::string_view name, const Value& value,
                                                       std::uint64_t hash) {
  makeRoom();
  const std::size_t at = probe(name, hash);
  if (slots_[at] != 0) return {&valueAt(placeOf(slots_[at])), false};
  if (name.size() < kOwnBlock) return {add(at, hash, name, value, nullptr), true};
  ByteBlock copy;
  copy.setCapacity(name.size());
  std::memcpy(copy.data(), name.data(), name.size());
  return {add(at, hash, std::string_view(copy.data(), name.size()), value, &copy), true};
}

template <typename Value, typename Hash>
std::pair<Value*, bool> NameTable<Value, Hash>::insertHeld(std::string_view name,
                                                           const Value& value, ByteBlock block) {
  const std::uint64_t hash = hash_(name);
  makeRoom();
  const std::size_t at = probe(name, hash);
  if (slots_[at] != 0) return {&valueAt(placeOf(slots_[at])), false};
  return {add(at, hash, name, value, &block), true};
}

template <typename Value, typename Hash>
Value* NameTable<Value, Hash>::add(std::size_t at, std::uint64_t hash, std::string_view name,
                                   const Value& value, ByteBlock* held) {
  const std::size_t place = records_.size();
  if (place / kUnit + 1 >= kPlaceMask) throw std::bad_alloc();  // beyond what a slot can hold
  if (held != nullptr) held_.reserve(held_.size() + 1);  // so that keeping the block cannot fail
  const std::size_t bytes = sizeof(Head) + (held != nullptr ? sizeof(HeldName) : name.size());
  records_.resize(place + (bytes + kUnit - 1) / kUnit * kUnit);
  char* const record = &records_[place];
  ::new (record) Head{held != nullptr ? kHeld : static_cast<std::uint32_t>(name.size()), value};
  if (held != nullptr) {
    const HeldName kept{name.data(), name.size()};
    std::memcpy(record + sizeof(Head), &kept, sizeof kept);
    held_.push_back(std::move(*held));
  } else if (!name.empty()) {
    std::memcpy(record + sizeof(Head), name.data(), name.size());
  }
  slots_[at] = tagOf(hash) | (place / kUnit + 1);
  ++size_;
  return &valueAt(place);
}

template <typename Value, typename Hash>
void NameTable<Value, Hash>::makeRoom() {
  if (3 * std::uint64_t{size_ + 1} <= 2 * std::uint64_t{slots_.size()}) return;
  const std::uint64_t size = std::max<std::uint64_t>(kMinSlots, nextCapacity(slots_.size(), 0));
  if (size > kMostSlots || size > SIZE_MAX / sizeof(std::uint64_t)) throw std::bad_alloc();
  GrowingArray<std::uint64_t> old = GrowingArray<std::uint64_t>::zeroed(size);
  std::swap(old, slots_);
  shift_ = 64 - std::countr_zero(size);
  for (const std::uint64_t slot : old) {  // in the order of their homes, nearly
    if (slot != 0) place(slot);
  }
  guardArmed_ = true;
}

template <typename Value, typename Hash>
void NameTable<Value, Hash>::settle() {
  if (longProbe_ && guardArmed_) {
    hash_ = Hash{HashKey::random()};
    ++rekeys_;
    guardArmed_ = false;
    std::fill(slots_.begin(), slots_.end(), 0);
    for (std::size_t at = 0; at < records_.size(); at += recordSize(at))
      place(tagOf(hash_(nameAt(at))) | (at / kUnit + 1));
  }
  longProbe_ = false;
}

}  // namespace stationtext
