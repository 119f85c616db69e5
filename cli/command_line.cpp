#include "command_line.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "arguments.h"
#include "cli11.h"
#include "modes.h"

namespace vantorel::cli {
namespace {

// Options that one mode takes, but not together.
struct Exclusion {
  const char *first, *second, *why;
};
constexpr Exclusion kExclusions[] = {{"--dry-run", "--backup", "--dry-run makes no backup"}};

const OptionRow* FindValued(const std::string& name) {
  const OptionRow* option = FindOption(name);
  return option && option->value ? option : nullptr;
}

// "a", "a and b", "a, b and c".
std::string Joined(const std::vector<std::string>& items, const char* last) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? std::string(" ") + last + " " : ", ";
    text += items[i];
  }
  return text;
}

std::vector<std::string> OperandNames(const ModeRow& mode) {
  std::vector<std::string> names;
  for (const Operand& operand : mode.operands) names.push_back(operand.name);
  return names;
}

// Every option, each once, in the order they are checked (which decides what
// a line with two wrong things is told): the modes' own, then the ones that
// go with them.
std::vector<std::string> AllOptions() {
  std::vector<std::string> all;
  auto add = [&all](const std::string& option) {
    if (std::find(all.begin(), all.end(), option) == all.end()) all.push_back(option);
  };
  for (const ModeRow& m : Modes()) {
    if (m.option) add(m.option);
  }
  for (const ModeRow& m : Modes()) {
    for (const char* option : m.options) add(option);
  }
  return all;
}

std::vector<std::string> ModesTaking(const std::string& option) {
  std::vector<std::string> modes;
  for (const ModeRow& m : Modes()) {
    if (m.option && std::count(m.options.begin(), m.options.end(), option)) modes.push_back(m.option);
  }
  return modes;
}

bool Takes(const ModeRow& mode, const std::string& option) {
  return std::count(mode.options.begin(), mode.options.end(), option) > 0;
}

// Why `option` cannot go with `mode`.
std::string NotWith(const ModeRow& mode, const std::string& option) {
  if (mode.option && mode.options.size() == 0) {
    return std::string(mode.option) + " goes alone" +
           (mode.operands.size() == 0 ? "" : " with " + Joined(OperandNames(mode), "and"));
  }
  if (!mode.option && mode.picked_by.size()) {
    return option + " goes with ICON and TARGET";  // the picked mode has TARGET alone
  }
  if (mode.option) {
    return std::string(mode.option) + " goes with " +
           Joined(std::vector<std::string>(mode.options.begin(), mode.options.end()), "and") + " only";
  }
  // The plain replacement: name the modes the option belongs to, with the
  // options that belong to just those modes.
  std::vector<std::string> modes = ModesTaking(option), alike;
  for (const std::string& other : AllOptions()) {
    if (!Takes(mode, other) && ModesTaking(other) == modes) alike.push_back(other);
  }
  return Joined(alike, "and") + (alike.size() == 1 ? " goes" : " go") + " with " + Joined(modes, "or");
}

std::string OperandsWrong(const ModeRow& mode) {
  if (mode.operands.size() == 0) return std::string(mode.option) + " goes alone";
  if (mode.operands.size() == 1) return std::string(mode.option) + " takes one " + mode.operands.begin()->name;
  return "expected " + Joined(OperandNames(mode), "and");
}

// "KEY VALUE" as "a KEY and a VALUE".
std::string Articled(const std::string& names) {
  std::vector<std::string> each;
  for (size_t at = 0; at < names.size();) {
    size_t space = std::min(names.find(' ', at), names.size());
    each.push_back("a " + names.substr(at, space - at));
    at = space + 1;
  }
  return Joined(each, "and");
}

// The words CLI11 reads. GNU reads "--group=" as an empty value; CLI11 would
// take the next word instead, so the empty value becomes a word of its own.
std::vector<std::string> Words(const std::vector<std::filesystem::path>& args) {
  std::vector<std::string> words;
  bool options_end = false;
  for (const auto& a : args) {
    std::string word = ArgumentText(a);
    options_end = options_end || word == "--";
    if (!options_end && word.size() > 3 && word.back() == '=' && FindValued(word.substr(0, word.size() - 1))) {
      words.push_back(word.substr(0, word.size() - 1));
      words.emplace_back();
    } else {
      words.push_back(std::move(word));
    }
  }
  return words;
}

// Whether a word names an option, or is one that names none: a word that
// starts with a dash.
bool IsOptionWord(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// CLI11 finds the options, their values and the operands; the rules, and the
// words for what is wrong, are ours.
class Reader {
 public:
  std::string Read(std::vector<std::string> words, CommandLine& line) {
    // The plain replacement names its two files and no option. Setting up
    // CLI11's options costs more than the rest of the command line and the
    // engine's planning together, so it is done only for a line with an
    // option in it; without one every word is an operand.
    if (std::any_of(words.begin(), words.end(), IsOptionWord)) {
      if (std::string why = Parse(std::move(words)); !why.empty()) return why;
    } else {
      operands_ = std::move(words);
    }
    if (std::string why = ReadValues(line); !why.empty()) return why;
    const ModeRow& mode = ChosenMode();
    line.mode = &mode;
    if (std::string why = CheckOptions(mode); !why.empty()) return why;
    if (operands_.size() != mode.operands.size()) return PickedWrong(mode).value_or(OperandsWrong(mode));
    for (const OptionRow& option : Options()) {
      if (option.flag) line.*option.flag = Given(option.name);
    }
    for (const std::string& operand : operands_) line.operands.push_back(ArgumentPath(operand));
    return {};
  }

 private:
  void SetUp() {
    app_ = std::make_unique<CLI::App>();
    app_->set_help_flag();                     // the help is a text of our own
    app_->allow_extras();                      // an unknown option is named in our words
    app_->allow_windows_style_options(false);  // on Windows too, "/x" is a file name
    for (const std::string& name : AllOptions()) {
      const OptionRow& option = *FindOption(name);
      std::string names = option.alias ? std::string(option.alias) + "," + name : name;
      if (option.read_pair) {
        // Each time two words, every pair kept.
        options_[name] = app_->add_option(names, pairs_[name])
                             ->expected(1)
                             ->allow_extra_args(false)
                             ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        continue;
      }
      options_[name] = option.value ? app_->add_option(names, values_[name])->take_last() : app_->add_flag(names);
    }
    app_->add_option("operands", operands_);
  }

  std::string Parse(std::vector<std::string> words) {
    SetUp();
    if (std::string unknown = FirstUnknownOption(words); !unknown.empty()) return "unknown option " + unknown;
    std::string last = words.empty() ? "" : words.back();
    // An option of two values is short of one only as one of the last two words.
    const OptionRow* paired = nullptr;
    for (size_t i = words.size() - std::min<size_t>(words.size(), 2); i < words.size(); ++i) {
      if (const OptionRow* option = FindOption(words[i]); option && option->read_pair) paired = option;
    }
    std::reverse(words.begin(), words.end());  // CLI11 takes the words last first
    try {
      app_->parse(std::move(words));
    } catch (const CLI::ArgumentMismatch&) {
      // A value is the next word, whatever it is: only the last words can lack one.
      if (paired) return std::string(paired->name) + " needs " + Articled(paired->value);
      return last + " needs a value";
    } catch (const CLI::ParseError& e) {
      return e.what();
    }
    for (const std::string& extra : app_->remaining()) {
      if (extra != "--") return "unknown option " + extra;  // what the check above might miss
    }
    return {};
  }

  // Looked up once, when the option is added: CLI11 finds an option by its
  // name by comparing it with every name of every option.
  bool Given(const std::string& option) const {
    auto found = options_.find(option);
    return found != options_.end() && found->second->count() > 0;
  }

  // Before "--", a word that starts with a dash is an option unless it is
  // the value of the option before it (GNU's rule); CLI11 would take "-1" or
  // "---x" as an operand. Returns the first that names no option.
  std::string FirstUnknownOption(const std::vector<std::string>& words) const {
    int values_next = 0;
    for (const std::string& word : words) {
      if (word == "--") break;
      if (values_next > 0) {
        --values_next;
        continue;
      }
      if (word.size() < 2 || word[0] != '-') continue;
      bool is_long = word[1] == '-';
      std::string name = is_long ? word.substr(0, word.find('=')) : word;
      if (!app_->get_option_no_throw(name)) return word;
      const OptionRow* valued = name == word ? FindValued(name) : nullptr;
      values_next = !valued ? 0 : valued->read_pair ? 2 : 1;
    }
    return {};
  }

  std::string ReadValues(CommandLine& line) {
    for (const std::string& option : AllOptions()) {
      if (!Given(option)) continue;
      if (const OptionRow* valued = FindValued(option); valued && valued->read_pair) {
        for (const auto& [first, second] : pairs_[option]) {
          if (std::string why = valued->read_pair(first, second, line); !why.empty()) return why;
        }
        continue;
      }
      if (const OptionRow* valued = FindValued(option)) {
        if (valued->once && app_->count(option) > 1) return valued->once;
        if (std::string why = valued->read(values_[option], line); !why.empty()) return why;
        continue;
      }
      // CLI11 lets "--backup=false" turn a flag off; a flag here takes no value.
      for (const std::string& r : options_.at(option)->results()) {
        if (r != "true") return option + " takes no value";
      }
    }
    return {};
  }

  const ModeRow& ChosenMode() const {
    for (const ModeRow& m : Modes()) {
      if (m.picked_by.size()) {
        if (operands_.size() == m.operands.size() &&
            std::any_of(m.picked_by.begin(), m.picked_by.end(), [this](const char* o) { return Given(o); })) {
          return m;
        }
        continue;
      }
      if (!m.option || Given(m.option)) return m;
    }
    return Modes().back();
  }

  // For the plain replacement with the options of a mode they pick, when
  // neither mode's operands were given: both forms.
  std::optional<std::string> PickedWrong(const ModeRow& mode) const {
    if (mode.option) return std::nullopt;
    for (const ModeRow& m : Modes()) {
      if (m.picked_by.size() &&
          std::any_of(m.picked_by.begin(), m.picked_by.end(), [this](const char* o) { return Given(o); })) {
        return "expected " + Joined(OperandNames(m), "and") + ", or " + Joined(OperandNames(mode), "and");
      }
    }
    return std::nullopt;
  }

  std::string CheckOptions(const ModeRow& mode) const {
    for (const std::string& option : AllOptions()) {
      if (Given(option) && (!mode.option || option != mode.option) && !Takes(mode, option)) {
        return NotWith(mode, option);
      }
    }
    for (const Exclusion& x : kExclusions) {
      if (Given(x.first) && Given(x.second)) return x.why;
    }
    return {};
  }

  std::unique_ptr<CLI::App> app_;
  std::map<std::string, CLI::Option*> options_;
  std::map<std::string, std::string> values_;
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> pairs_;
  std::vector<std::string> operands_;
};

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::filesystem::path>& args) {
  CommandLine line;
  line.error = Reader().Read(Words(args), line);
  return line;
}

}  // namespace vantorel::cli
