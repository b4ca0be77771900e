// Whether a program's report is acceptable beside the literal reference's report on the same
// input: the same bytes, but for the choices that the programs' documented behaviour leaves
// open or that the reference makes arbitrarily.
//
// two-file: stations that share an id may come in any order (ids must ascend), and of a name
// that the register holds more than once any one record may be the seen one: the records
// reported for a name must be the register's records of that name, less exactly as many as the
// reference leaves out (one when an update line named it, none otherwise).
// one-file: the name listed for a code must be the first unused station of that code in file
// order (the reference shows whichever its hash table yields).
#pragma once

#include <algorithm>
#include <charconv>
#include <climits>
#include <fstream>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "literal.hpp"

namespace judge {

using Lines = std::vector<std::string_view>;

// The pieces of `text` between newlines; the last is what follows the last newline.
inline Lines lines(std::string_view text) {
  Lines out;
  for (std::size_t at = 0;;) {
    const std::size_t end = text.find('\n', at);
    out.push_back(text.substr(at, end - at));
    if (end == std::string_view::npos) return out;
    at = end + 1;
  }
}

// The parts of a message, joined.
inline std::string say(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (const std::string_view part : parts)
    text += part;
  return text;
}

// The name of a report line "<code> <name>".
inline std::string_view nameOf(std::string_view line) {
  return line.substr(line.find(' ') + 1);
}

// Checks that the two reports agree byte for byte up to the line `heading` and from the empty
// line after it on, and returns what records(expected, actual) says of the lines between (the
// records): empty when acceptable, else what is wrong. A reference report without `heading`
// (a file that cannot be opened) must be matched byte for byte.
template <typename Records>
std::string compare(std::string_view expected, std::string_view actual, std::string_view heading,
                    Records records) {
  const Lines e = lines(expected), a = lines(actual);
  const auto head = std::find(e.begin(), e.end(), heading);
  if (head == e.end()) return expected == actual ? "" : "the report differs";
  const std::size_t n = static_cast<std::size_t>(head - e.begin()) + 1;
  if (a.size() < n || !std::equal(e.begin(), e.begin() + n, a.begin()))
    return say({"the lines up to \"", heading, "\" differ"});
  const auto eEnd = std::find(e.begin() + n, e.end(), ""),
             aEnd = std::find(a.begin() + n, a.end(), "");
  if (!std::equal(eEnd, e.end(), aEnd, a.end())) return "the lines after the records differ";
  return records(Lines(e.begin() + n, eEnd), Lines(a.begin() + n, aEnd));
}

// Judges the two-file program's report `actual` on the register `folder`/bemenet.txt, beside
// the reference's report `expected`.
inline std::string twoFile(const std::string& folder, std::string_view expected,
                           std::string_view actual) {
  return compare(expected, actual, "Eltunt allomasok: ", [&](const Lines& e, const Lines& a) {
    std::unordered_map<std::string, long> held;  // the register's records, as report lines
    std::ifstream reg(folder + "/bemenet.txt");
    literal::readRegister(
        reg, [&](int code, const std::string& name) { ++held[std::to_string(code) + ' ' + name]; });
    std::map<std::string_view, long> left;  // per name, records expected less records reported
    for (const std::string_view line : e)
      ++left[nameOf(line)];
    long long last = LLONG_MIN;
    for (const std::string_view line : a) {
      if (--held[std::string(line)] < 0)
        return say({"\"", line, "\" is no register record, or is reported too often"});
      long long id = 0;
      std::from_chars(line.data(), line.data() + line.size(), id);
      if (id < last) return say({"the ids do not ascend at \"", line, "\""});
      last = id;
      --left[nameOf(line)];
    }
    for (const auto& [name, count] : left) {
      if (count != 0) return say({"the records of the name \"", name, "\" differ in number"});
    }
    return std::string();
  });
}

// Judges the single-file program's report `actual` on `folder`/F.IN, beside the reference's
// report `expected`.
inline std::string oneFile(const std::string& folder, std::string_view expected,
                           std::string_view actual) {
  return compare(expected, actual, "Not used: ", [&](const Lines& e, const Lines& a) {
    // The register as the reference reads it: each name's first code and whether an update line
    // names it, and the stations in file order.
    using Table = std::unordered_map<std::string, std::pair<int, bool>>;
    Table table;
    std::vector<std::pair<int, const Table::value_type*>> stations;  // elements never move
    std::ifstream file(folder + "/F.IN");
    literal::readRegister(file, [&](int code, const std::string& name) {
      stations.emplace_back(code, &*table.try_emplace(name, code, false).first);
    });
    literal::readUpdates(file, [&](const std::string& name) {
      if (const auto it = table.find(name); it != table.end()) it->second.second = true;
    });
    std::map<int, std::string_view> first;  // code -> its first unused station
    for (const auto& [code, station] : stations) {
      const auto& [name, entry] = *station;
      if (entry.first == code && !entry.second) first.try_emplace(code, name);
    }
    if (e.size() != first.size()) return std::string("the judge and the reference disagree");
    if (a.size() != e.size()) return std::string("the number of codes differs");
    auto station = first.begin();
    for (std::size_t i = 0; i < a.size(); ++i, ++station) {
      const std::string code = std::to_string(station->first);
      const std::string want = say({code, " ", station->second});
      if (e[i].substr(0, e[i].find(' ')) != code)
        return std::string("the judge and the reference disagree");
      if (a[i] != want)
        return say({"\"", a[i], "\" is not \"", want, "\", the first unused station of its code"});
    }
    return std::string();
  });
}

}  // namespace judge
