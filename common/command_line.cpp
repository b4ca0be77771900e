// Reading a program's arguments: its table of options, the --help, -h and --version of every
// program, usage errors, and the warning for an argument that is no option.
#include "command_line.hpp"

#include "reports.hpp"

namespace stationtext {

namespace {

// One step of the walk through the arguments: an argument that is no option, an option with
// its value, one of every program's options, or a usage error.
struct Step {
  enum Kind { operand, known, help, version, unknown, needsValue, takesNoValue };
  Kind kind = operand;
  const char* argument = nullptr;  // as given: "--register=x", "--register", "x"
  const Option* option = nullptr;
  const char* value = nullptr;  // an option's value; "--name VALUE" takes the next argument
};

// The arguments in order, as steps.
class Walk {
 public:
  Walk(int argc, const char* const* argv, std::span<const Option> table)
      : argc_(argc), argv_(argv), table_(table) {}

  // Sets `step` to the next step; false after the last argument.
  bool next(Step& step);

 private:
  // The option of `step.argument`, which begins with "--", and its value.
  void readOption(Step& step, std::string_view text);

  int argc_;
  const char* const* argv_;
  std::span<const Option> table_;
  int at_ = 1;
  bool optionsEnded_ = false;  // after "--"
};

bool Walk::next(Step& step) {
  if (at_ >= argc_) return false;
  step = {Step::operand, argv_[at_++]};
  const std::string_view text = step.argument;
  // "-" alone names standard input: an argument, not an option.
  if (optionsEnded_ || text.size() < 2 || text[0] != '-') return true;
  if (text == "--") {
    optionsEnded_ = true;
    return next(step);
  }
  if (text == "-h" || text == "--help") {
    step.kind = Step::help;
  } else if (text == "--version") {
    step.kind = Step::version;
  } else if (text.starts_with("--")) {
    readOption(step, text);
  } else {
    step.kind = Step::unknown;
  }
  return true;
}

void Walk::readOption(Step& step, std::string_view text) {
  const std::size_t equals = text.find('=');
  const std::string_view name = text.substr(2, equals == text.npos ? text.npos : equals - 2);
  step.kind = Step::unknown;
  for (const Option& option : table_) {
    if (option.name == name) step.option = &option;
  }
  if (step.option == nullptr) return;
  if (step.option->flag != nullptr) {
    step.kind = equals == text.npos ? Step::known : Step::takesNoValue;
    return;
  }
  if (equals != text.npos) {
    step.value = step.argument + equals + 1;
  } else if (at_ < argc_) {
    step.value = argv_[at_++];
  }
  step.kind = step.value != nullptr && *step.value != '\0' ? Step::known : Step::needsValue;
}

// The option that suggests itself for the `index`th argument that is no option: the input of
// that place in the table, or the last input for the arguments past them; null without inputs.
const Option* inputFor(std::size_t index, std::span<const Option> table) {
  const Option* input = nullptr;
  for (const Option& option : table) {
    if (option.input == nullptr) continue;
    input = &option;
    if (index-- == 0) break;
  }
  return input;
}

// Says that two inputs read standard input, naming them, and returns true; false when at most
// one does.
bool standardInputTwice(std::span<const Option> table, ReportWriter& out) {
  const Option* first = nullptr;
  for (const Option& option : table) {
    if (option.input == nullptr || std::string_view(*option.value) != "-") continue;
    if (first == nullptr) {
      first = &option;
      continue;
    }
    out.say("standard input twice", nullptr,
            {"--", first->name, "=- and --", option.name,
             "=-: one input at most may be -; see --help"});
    return true;
  }
  return false;
}

// Names each argument that is no option as ignored, with the option that would read it: the
// format of the inputs takes no operands.
void warnIgnored(int argc, const char* const* argv, std::span<const Option> table,
                 ReportWriter& out) {
  std::size_t operands = 0;
  Walk walk(argc, argv, table);
  for (Step step; walk.next(step);) {
    if (step.kind != Step::operand) continue;
    const Option* const input = inputFor(operands++, table);
    if (input == nullptr) {
      out.warn("ignored argument", step.argument, {"see --help"});
    } else {
      out.warn("ignored argument", step.argument,
               {"to read it as ", input->input, ", use --", input->name, "=", step.argument});
    }
  }
}

Asked usageError(const Step& step, ReportWriter& out) {
  const char* const what = step.kind == Step::unknown      ? "unknown option"
                           : step.kind == Step::needsValue ? "option needs a value"
                                                           : "option takes no value";
  out.say(what, step.argument, {"see --help"});
  return Asked::usageError;
}

}  // namespace

Asked readArguments(int argc, const char* const* argv, std::span<const Option> table,
                    ReportWriter& out) {
  Walk walk(argc, argv, table);
  for (Step step; walk.next(step);) {
    switch (step.kind) {
      case Step::operand:
        break;
      case Step::known:
        if (step.option->flag != nullptr) {
          *step.option->flag = true;
        } else {
          *step.option->value = step.value;
        }
        break;
      case Step::help:
        return Asked::help;
      case Step::version:
        return Asked::version;
      default:
        return usageError(step, out);
    }
  }
  if (standardInputTwice(table, out)) return Asked::usageError;
  warnIgnored(argc, argv, table, out);
  return Asked::run;
}

int answer(Asked asked, std::string_view usage, ReportWriter& out) {
  if (asked == Asked::usageError) return kExitUsageOrWarned;
  if (asked == Asked::help) {
    out.put(usage);
  } else {
    out.put(out.program()).put(" (stationdiff) " STATIONDIFF_VERSION).endLine();
    out.put("Copyright (c) " STATIONDIFF_RELEASE_YEAR " stationdiff developers").endLine();
    out.put("MIT License: you may use, copy, change and distribute it; it comes with no warranty.")
        .endLine();
  }
  return out.finish();
}

}  // namespace stationtext
