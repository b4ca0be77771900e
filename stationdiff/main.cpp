// stationdiff: reports the stations of "bemenet.txt" that "frissites.txt" no longer names and
// the names it adds, after the number of distinct words of "be.txt".
#include <cstdio>
#include <string_view>

#include "command_line.hpp"
#include "report_writer.hpp"
#include "sorted_register.hpp"

namespace {

// What --help prints: lines within 79 columns.
constexpr std::string_view kUsage =
    "Usage: stationdiff [--help | --version]\n"
    "Reconcile a register of timetable stations with a later list of station names.\n"
    "\n"
    "Reads from the current directory:\n"
    "  bemenet.txt    the register: a count line, then a code and a name per line\n"
    "  frissites.txt  the update list: one station name per line (optional)\n"
    "  be.txt         any text, whose distinct words are counted (optional)\n"
    "Writes to standard output the number of distinct words of be.txt (\"SIZE: \"),\n"
    "the register's stations that the update list no longer names, by id\n"
    "(\"Eltunt allomasok: \"), and the names that the register lacks\n"
    "(\"Uj allomasok: \"). Any other argument is ignored, with a warning.\n"
    "\n"
    "Exit status: 0 after a complete run; 1 when bemenet.txt cannot be opened, an\n"
    "input cannot be read or the report cannot be written, with the cause on\n"
    "standard error. Warnings on standard error change neither the report nor\n"
    "the status.\n"
#ifdef _WIN32
    "See stationdiff.txt in the program's folder.\n";
#else
    "See the manual page stationdiff(1).\n";
#endif

}  // namespace

int main(int argc, char** argv) {
  stationtext::ReportWriter out(stdout, "stationdiff");
  if (const auto answered = stationtext::answerOption(argc, argv, kUsage,
                                                      "be.txt, bemenet.txt and frissites.txt", out))
    return *answered;
  return stationdiff::run(
      {.census = "be.txt", .stations = "bemenet.txt", .updates = "frissites.txt"}, out);
}
