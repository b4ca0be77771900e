// stationdiff as a program: its options, the run on its inputs, and the exit status.
#include "program.hpp"

#include <cstdio>
#include <new>
#include <stdexcept>
#include <string_view>

#include "command_line.hpp"
#include "reports.hpp"
#include "sorted_register.hpp"
#include "word_census.hpp"

namespace stationdiff {

namespace {

// What --help prints: lines within 79 columns.
constexpr std::string_view kUsage =
    "Usage: stationdiff [OPTION]...\n"
    "Reconcile a register of timetable stations with a later list of station names.\n"
    "\n"
    "  --register=FILE  the register: a count line, then a code and a name per line\n"
    "                   (default: bemenet.txt)\n"
    "  --updates=FILE   the update list: one station name per line; optional\n"
    "                   (default: frissites.txt)\n"
    "  --words=FILE     any text, whose distinct words are counted; optional\n"
    "                   (default: be.txt)\n"
    "  --strict         exit with status 2 when a warning was given\n"
    "  --renames        after the report, pair gone stations with the new names\n"
    "                   they most likely became (\"Valoszinu atnevezesek: \")\n"
    "  -h, --help       print this help and exit\n"
    "  --version        print the version and exit\n"
    "Without options, the files are read from the current directory. A FILE of -\n"
    "is standard input, for one input at most.\n"
    "\n"
    "Writes to standard output the number of distinct words of the text (\"SIZE: \"),\n"
    "the register's stations that the update list no longer names, by id\n"
    "(\"Eltunt allomasok: \"), and the names that the register lacks\n"
    "(\"Uj allomasok: \"). Other arguments are ignored, with a warning.\n"
    "\n"
    "Exit status: 0 after a complete run; 1 when the register cannot be opened, an\n"
    "input cannot be read or the report cannot be written, with the cause on\n"
    "standard error; 2 after a usage error, or under --strict after a warning.\n"
    "Warnings on standard error leave the report as it is, and the status too\n"
    "unless --strict is given.\n"
#ifdef _WIN32
    "See stationdiff.txt in the program's folder.\n";
#else
    "See the manual page stationdiff(1).\n";
#endif

// The troubles of the two optional inputs.
constexpr stationtext::InputEffects kUpdateEffects{
    "an empty update list", "the first name will not match",
    "its names will hold NUL bytes and will not match"};
constexpr stationtext::InputEffects kCensusEffects{
    "an empty text", "the first word is counted with it", "its words will hold NUL bytes"};

}  // namespace

int run(const Files& files, stationtext::ReportWriter& out, bool renames) {
  using stationtext::ReadOutcome;
  // The census runs first, so that a failed read leaves no half line behind.
  out.reading(files.census);
  std::size_t words = 0;
  const ReadOutcome census = countDistinctWords(files.census, words);
  stationtext::warnAbout(out, census, kCensusEffects);
  if (census.kind == ReadOutcome::readFailed) return stationtext::failInput(out, census);
  // Written at once, as a line printed before the inputs are read: a report appended to the
  // update list holds this line as one of the list's names.
  out.put("SIZE: ").put(words).endLine();
  out.flush();

  out.reading(files.stations);
  TimeTable table;
  const stationtext::RegisterRead stations = table.loadRegister(files.stations);
  stationtext::warnAbout(out, stations.outcome, stationtext::kRegisterEffects);
  stationtext::warnAboutCount(out, stations);
  if (stations.outcome.kind != ReadOutcome::complete)
    return stationtext::failRegister(out, stations.outcome);

  out.reading(files.updates);
  const ReadOutcome updates = table.matchUpdates(files.updates);
  stationtext::warnAbout(out, updates, kUpdateEffects);
  if (updates.kind == ReadOutcome::readFailed) return stationtext::failInput(out, updates);
  table.printNotUsed(out);
  table.printNewStations(out);
  if (renames) table.printRenames(out);
  return out.finish();
}

int runProgram(int argc, char** argv) {
  // Making the writer allocates nothing, so that the message below can always be said.
  stationtext::ReportWriter out(stdout, "stationdiff");
  if (!stationtext::roomToStart()) return out.outOfMemory();
  try {
    Files files;
    bool strict = false, renames = false;
    const stationtext::Option options[] = {
        {"register", &files.stations, "the register"},
        {"updates", &files.updates, "the update list"},
        {"words", &files.census, "the text whose words are counted"},
        {"strict", &strict},
        {"renames", &renames},
    };
    const stationtext::Asked asked = stationtext::readArguments(argc, argv, options, out);
    if (asked != stationtext::Asked::run) return stationtext::answer(asked, kUsage, out);
    return stationtext::strictStatus(run(files, out, renames), strict, out);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {  // a size that no array can have
  }
  return out.outOfMemory();
}

}  // namespace stationdiff
