// Whole runs of the two-file program, judged against the literal reference. The input is split
// at "%%%\n" into bemenet.txt, then frissites.txt, then be.txt; a part that is not there is a
// missing file (the register is always written).
#include "run_harness.hpp"
#include "sorted_register.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  harness::Files files;
  for (const char* name : {"bemenet.txt", "frissites.txt", "be.txt"}) {
    const std::size_t at = files.size() < 2 ? text.find("%%%\n") : std::string_view::npos;
    files.emplace_back(name, text.substr(0, at));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 4);
  }
  const auto paths = [](const std::string& dir) {
    return stationdiff::Files{.census = dir + "/be.txt",
                              .stations = dir + "/bemenet.txt",
                              .updates = dir + "/frissites.txt"};
  };
  harness::judgeRun(
      files, [&](const std::string& dir, auto& out) { return stationdiff::run(paths(dir), out); },
      [&](const std::string& dir, auto& out) {
        const stationdiff::Files p = paths(dir);
        return literal::stationdiff(p.census, p.stations, p.updates, out);
      },
      judge::twoFile);
  return 0;
}
