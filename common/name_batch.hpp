// Names gathered from a source to be handled together, so that the memory each one needs can
// be asked for before any of them is looked up.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace stationtext {

// The value of a name that has none.
struct NoValue {};

// Up to `maxNames` names, and at most `maxBytes` of them, each with a value, copied back to back
// into buffers that are reused from batch to batch: a source may hand out views that the next
// name overwrites. A name too long for the bytes left is not copied: it ends the batch, which
// refers to it where its source keeps it, until the source is asked for the next name.
template <typename Value = NoValue>
class NameBatch {
 public:
  NameBatch(std::size_t maxNames, std::size_t maxBytes) : maxNames_(maxNames), maxBytes_(maxBytes) {
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
  static constexpr bool kValued = !std::is_same_v<Value, NoValue>;

  std::size_t maxNames_;
  std::size_t maxBytes_;
  std::string bytes_;              // the names back to back
  std::vector<std::size_t> ends_;  // where each name ends in bytes_, after a leading 0
  std::vector<Value> values_;
  std::string_view long_;  // the last name, when it was too long to copy (never empty then)
};

}  // namespace stationtext
