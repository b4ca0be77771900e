// Names gathered from a source to be handled together, so that the memory each one needs can
// be asked for before any of them is looked up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace stationtext {

// The value of a name that has none: a table of names is then a set.
struct NoValue {};

// Up to `maxNames` names, and at most `maxBytes` of them, each with a value, copied back to back
// into buffers that are reused from batch to batch: a source may hand out views that the next
// name overwrites. A name too long for the bytes left is not copied: it ends the batch, which
// refers to it where its source keeps it, until the source is asked for the next name.
template <typename Value = NoValue>
class NameBatch {
 public:
  NameBatch(std::size_t maxNames, std::size_t maxBytes) : maxNames_(maxNames), maxBytes_(maxBytes) {
    // Room for a whole batch at once: growing to it would leave the smaller blocks behind.
    bytes_.reserve(maxBytes);
    ends_.reserve(maxNames + 1);
    if constexpr (kValued) values_.reserve(maxNames);
  }

  // Empties the batch and fills it from `next`, which is called as next(name) for a batch
  // without values and next(name, value) otherwise, with a value-initialised value; it sets the
  // next name and its value and returns false when there is none. Returns false when the batch
  // stays empty.
  template <typename Next>
  bool refill(Next& next) {
    bytes_.clear();
    ends_.assign(1, 0);
    values_.clear();
    long_ = {};
    while (size() < maxNames_ && bytes_.size() < maxBytes_) {
      std::string_view name;
      if constexpr (kValued) {
        Value value{};
        if (!next(name, value)) break;
        values_.push_back(value);
      } else {
        if (!next(name)) break;
      }
      if (name.size() > maxBytes_ - bytes_.size()) {
        long_ = name;
        ends_.push_back(bytes_.size());
        break;
      }
      bytes_.append(name);
      ends_.push_back(bytes_.size());
    }
    return size() > 0;
  }

  std::size_t size() const { return ends_.size() - 1; }  // after refill()
  std::string_view name(std::size_t i) const {
    if (!long_.empty() && i + 1 == size()) return long_;
    return std::string_view(bytes_).substr(ends_[i], ends_[i + 1] - ends_[i]);
  }
  Value value(std::size_t i) const {
    if constexpr (kValued) {
      return values_[i];
    } else {
      return {};
    }
  }

 private:
  static constexpr bool kValued = !std::is_empty_v<Value>;

  std::size_t maxNames_;
  std::size_t maxBytes_;
  std::string bytes_;              // the names back to back
  std::vector<std::size_t> ends_;  // where each name ends in bytes_, after a leading 0
  std::vector<Value> values_;
  std::string_view long_;  // the last name, when it was too long to copy (never empty then)
};

// A batch of names for a hash table's hot loop: each name is hashed and its slot asked for as it
// is read, then the records those slots lead to are read side by side, so that the lookups that
// follow find them at hand instead of waiting for each in turn. `Table` is a NameTable.
template <typename Table, typename Value>
class HashedBatch {
 public:
  // Names hashed, and their slots asked for, before any of them is looked up: enough for the
  // cache misses to overlap, few enough that their slots stay in the cache.
  static constexpr std::size_t kNames = 16;
  // A batch's names are copied; a few long ones need not fill it.
  static constexpr std::size_t kBytes = std::size_t{1} << 16;

  explicit HashedBatch(Table& table) : table_(table), names_(kNames, kBytes) {}

  // Lets the table settle() after the last batch, then fills the batch from `next`, as
  // NameBatch::refill() does. Returns false when the batch stays empty.
  template <typename Next>
  bool refill(Next& next) {
    table_.settle();
    std::size_t hashed = 0;
    auto hashing = [&](std::string_view& name, auto&... value) {
      if (!next(name, value...)) return false;
      hashes_[hashed] = table_.hash(name);
      table_.prefetchSlot(hashes_[hashed++]);
      return true;
    };
    if (!names_.refill(hashing)) return false;
    for (std::size_t i = 0; i < size(); ++i)
      table_.touchRecord(hashes_[i]);
    return true;
  }

  std::size_t size() const { return names_.size(); }
  std::string_view name(std::size_t i) const { return names_.name(i); }
  Value value(std::size_t i) const { return names_.value(i); }
  // The name's hash in the table, which its find() and insert() take.
  std::uint64_t hash(std::size_t i) const { return hashes_[i]; }

 private:
  Table& table_;
  NameBatch<Value> names_;
  std::uint64_t hashes_[kNames];
};

}  // namespace stationtext
