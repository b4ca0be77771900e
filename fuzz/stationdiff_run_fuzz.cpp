// Whole runs of the two-file program with its rename hints, judged against the literal
// reference. The input is split
// at "%%%\n" into bemenet.txt, then frissites.txt, then be.txt; a part that is not there is a
// missing file (the register is always written).
#include "program.hpp"
#include "run_harness.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  harness::Files files;
  for (const char* name : {"bemenet.txt", "frissites.txt", "be.txt"}) {
    const std::size_t at = files.size() < 2 ? text.find("%%%\n") : std::string_view::npos;
    files.emplace_back(name, text.substr(0, at));
    if (at == std::string_view::npos) break;
    text.remove_prefix(at + 4);
  }
  harness::judgeRun(
      files,
      [](const std::string& dir, auto& out) {
        const std::string census = dir + "/be.txt", stations = dir + "/bemenet.txt",
                          updates = dir + "/frissites.txt";
        return stationdiff::run(
            {.census = census.c_str(), .stations = stations.c_str(), .updates = updates.c_str()},
            out, true);
      },
      [](const std::string& dir, auto& out) {
        return literal::stationdiff(dir + "/be.txt", dir + "/bemenet.txt", dir + "/frissites.txt",
                                    out);
      },
      judge::twoFile, {"Eltunt allomasok: ", "Uj allomasok: ", "Valoszinu atnevezesek: ", false});
  return 0;
}
