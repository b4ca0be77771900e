// Differential fuzz target of the line readers: every line of the input as a station line and
// as an update line, the whole input as a register file (the count line, then every line after
// it) and as words, each compared with the literal reference's or the stream's reading.
#include "line_reader.hpp"
#include "run_harness.hpp"

using harness::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream lines(text);
  for (std::string line, want, scratch; std::getline(lines, line);) {
    scratch = "stale";  // what a scratch holds from another line must not show
    std::string_view got;
    const auto [code, name] = literal::stationLine(line);
    check(stationtext::parseStationLine(line, scratch, got) == code && got == name,
          "station line differs");
    const bool kept = literal::updateLine(line, want);
    check(stationtext::parseUpdateLine(line, scratch, got) == kept && (!kept || got == want),
          "update line differs");
  }
  if (text.empty()) return 0;  // fmemopen needs at least one byte

  // A small block size makes the reader refill and grow its buffer inside lines.
  std::FILE* file = fmemopen(text.data(), text.size(), "rb");
  check(file != nullptr, "fmemopen failed");
  stationtext::LineReader reader(file, 16 + size % 48);
  const stationtext::CountLine got = stationtext::readCountLine(reader);
  std::istringstream ss(text);
  int count = 0;
  check(got.failed == !literal::countLine(ss, count) && got.count == count, "count line differs");
  std::string_view line;
  for (std::string want; !got.failed && std::getline(ss, want);)  // a failed count ends reading
    check(reader.next(line) && line == want, "line after the count differs");
  check(got.failed || !reader.next(line), "reader has an extra line");
  check(reader.error() == 0, "read error on a memory file");
  std::fclose(file);

  // The same input as words, across line ends, as the word census reads it.
  file = fmemopen(text.data(), text.size(), "rb");
  stationtext::LineReader words(file, 16 + size % 48);
  std::istringstream stream(text);
  literal::withBlanks(stream);
  for (std::string want; stream >> want;)
    check(words.nextWord(line) && line == want, "word differs");
  check(!words.nextWord(line), "reader has an extra word");
  std::fclose(file);
  return 0;
}
