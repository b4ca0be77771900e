// Differential fuzz target of the line readers: every line of the input as a station line and
// as an update line, and the whole input as a register file (the count line, then every line
// after it), each compared with the stream-based reading.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>

#include "line_reader.hpp"
#include "stream_reference.hpp"
#include "text_format.hpp"

using reference::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  for (std::size_t begin = 0; begin <= text.size();) {
    const std::size_t end = std::min(text.find('\n', begin), text.size());
    const std::string_view line = std::string_view(text).substr(begin, end - begin);
    begin = end + 1;
    const auto [code, name] = reference::station(line);
    std::string want, scratch = "stale";
    std::string_view got;
    check(stationtext::parseStationLine(line, scratch, got) == code && got == name,
          "station line differs");
    const bool kept = reference::update(line, want);
    check(stationtext::parseUpdateLine(line, scratch, got) == kept, "update skip differs");
    check(!kept || got == want, "update name differs");
  }
  if (text.empty()) return 0;  // fmemopen needs at least one byte

  // A small block size makes the reader refill and grow its buffer inside lines.
  std::FILE* file = fmemopen(text.data(), text.size(), "rb");
  check(file != nullptr, "fmemopen failed");
  stationtext::LineReader reader(file, 16 + size % 48);
  const stationtext::CountLine got = stationtext::readCountLine(reader);
  std::istringstream ss(text);
  int count = 0;
  ss >> count;
  check(got.failed == ss.fail() && got.count == count, "count line differs");
  std::string_view line;
  if (!got.failed) {
    std::string want;
    std::getline(ss, want);  // the rest of the count line
    while (std::getline(ss, want))
      check(reader.next(line) && line == want, "line after the count differs");
    check(!reader.next(line), "reader has an extra line");
  }
  check(reader.error() == 0, "read error on a memory file");
  std::fclose(file);
  return 0;
}
