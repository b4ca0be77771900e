// stationdiff-onefile as a program: its options, the run on its input, and the exit status.
#include "program.hpp"

#include <cstdio>
#include <new>
#include <stdexcept>
#include <string_view>

#include "command_line.hpp"
#include "hashed_register.hpp"
#include "reports.hpp"

namespace onefile {

namespace {

// What --help prints: lines within 79 columns.
constexpr std::string_view kUsage =
    "Usage: stationdiff-onefile [OPTION]...\n"
    "Reconcile a register of timetable stations with a later list of station names.\n"
    "\n"
    "  --input=FILE  the input: a count line, one line per station (code, name),\n"
    "                then the update list, one station name per line\n"
    "                (default: F.IN; - is standard input)\n"
    "  --strict      exit with status 2 when a warning was given\n"
    "  --renames     after the report, pair gone stations with the new names they\n"
    "                most likely became (\"Probably renamed: \")\n"
    "  -h, --help    print this help and exit\n"
    "  --version     print the version and exit\n"
    "Without options, F.IN is read from the current directory.\n"
    "\n"
    "Writes to standard output the register's stations that the update list no\n"
    "longer names, one per code (\"Not used: \"), then the number of names that the\n"
    "register lacks and the names (\"New stations: \"). Other arguments are\n"
    "ignored, with a warning.\n"
    "\n"
    "Exit status: 0 after a complete run; 1 when the input cannot be opened or read\n"
    "or the report cannot be written, with the cause on standard error; 2 after a\n"
    "usage error, or under --strict after a warning. Warnings on standard error\n"
    "leave the report as it is, and the status too unless --strict is given.\n"
#ifdef _WIN32
    "See stationdiff-onefile.txt in the program's folder.\n";
#else
    "See the manual page stationdiff-onefile(1).\n";
#endif

}  // namespace

int run(const char* file, stationtext::ReportWriter& out, bool renames) {
  out.reading(file);
  TimeTable table;
  const stationtext::RegisterRead loaded = table.load(file);
  stationtext::warnAbout(out, loaded.outcome, stationtext::kRegisterEffects);
  stationtext::warnAboutCount(out, loaded);
  if (loaded.outcome.kind != stationtext::ReadOutcome::complete)
    return stationtext::failRegister(out, loaded.outcome);
  table.printNotUsed(out);
  table.printNewStations(out);
  if (renames) table.printRenames(out);
  return out.finish();
}

int runProgram(int argc, char** argv) {
  // Making the writer allocates nothing, so that the message below can always be said.
  stationtext::ReportWriter out(stdout, "stationdiff-onefile");
  if (!stationtext::roomToStart()) return out.outOfMemory();
  try {
    const char* file = "F.IN";
    bool strict = false, renames = false;
    const stationtext::Option options[] = {
        {"input", &file, "the input"},
        {"strict", &strict},
        {"renames", &renames},
    };
    const stationtext::Asked asked = stationtext::readArguments(argc, argv, options, out);
    if (asked != stationtext::Asked::run) return stationtext::answer(asked, kUsage, out);
    return stationtext::strictStatus(run(file, out, renames), strict, out);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {  // a size that no array can have
  }
  return out.outOfMemory();
}

}  // namespace onefile
