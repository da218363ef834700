// The manual page of brevika-calc keeps in step with its --help: the
// commands and option names are read from "brevika-calc --help" and
// "brevika-calc COMMAND --help" as built, and from the page's COMMANDS
// (one .SS per command, one .TP per option) and OPTIONS sections.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_command.h"

namespace brevika {
namespace {

using Names = std::set<std::string>;

struct HelpText {
  Names options;
  std::vector<std::string> subcommands;
};

// CLI11's help: the option names start the lines under "Options:"
// ("  -h,--help", "  --amount TEXT REQUIRED"), the subcommands those under
// "Subcommands:".
HelpText ParseHelp(const std::string& text) {
  HelpText help;
  std::istringstream in(text);
  std::string line, block;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] != ' ') {
      block = line;
      continue;
    }
    if (line.size() < 3 || line[1] != ' ' || line[2] == ' ') continue;  // a continued description
    const std::string first = line.substr(2, line.find(' ', 2) - 2);
    if (block == "Options:") {
      std::istringstream names(first);
      for (std::string name; std::getline(names, name, ',');) help.options.insert(name);
    } else if (block == "Subcommands:") {
      help.subcommands.push_back(first);
    }
  }
  return help;
}

std::string Unescape(std::string text) {
  text = std::regex_replace(text, std::regex(R"(\\f[BIRP])"), "");
  text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
  return text;
}

struct Manual {
  Names options;                        // OPTIONS
  std::map<std::string, Names> commands;  // COMMANDS: .SS name -> its .TP options
};

// The option names on the tag line after each .TP.
Manual ParseManual(const std::string& path) {
  Manual manual;
  std::ifstream in(path);
  std::string line, section;
  Names* current = nullptr;
  bool tag = false;
  const std::regex option(R"((^|[\s",])(--?[A-Za-z0-9][A-Za-z0-9-]*))");
  while (std::getline(in, line)) {
    if (line.rfind(".SH ", 0) == 0) {
      section = Unescape(line.substr(4));
      current = section == "OPTIONS" ? &manual.options : nullptr;
      continue;
    }
    if (section == "COMMANDS" && line.rfind(".SS ", 0) == 0) {
      std::string name = Unescape(line.substr(4));
      if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
      current = &manual.commands[name];
      continue;
    }
    if (line == ".TP" || line.rfind(".TP ", 0) == 0) {
      tag = true;
      continue;
    }
    if (!tag) continue;
    tag = false;
    if (!current) continue;
    const std::string text = Unescape(line);
    for (std::sregex_iterator m(text.begin(), text.end(), option), end; m != end; ++m)
      current->insert((*m)[2].str());
  }
  return manual;
}

std::string Help(const std::string& command) {
  const testing::CommandResult r =
      testing::RunCommand(std::string(BREVIKA_CALC_PATH) + command + " --help");
  EXPECT_EQ(r.status, 0) << "brevika-calc" << command << " --help";
  return r.out;
}

// What is in `a` and not in `b`, for the failure message.
std::string Missing(const Names& a, const Names& b) {
  std::string out;
  for (const std::string& n : a)
    if (!b.count(n)) out += " " + n;
  return out;
}

TEST(CliManual, NamesEveryCommandAndOptionOfHelpAndNoOther) {
  const Manual manual = ParseManual(BREVIKA_CALC_MANUAL);
  ASSERT_FALSE(manual.commands.empty()) << "no .SS command under COMMANDS in " << BREVIKA_CALC_MANUAL;

  const HelpText top = ParseHelp(Help(""));
  ASSERT_TRUE(top.options.count("--help"));
  EXPECT_EQ(manual.options, top.options) << "in --help, not in OPTIONS:" << Missing(top.options, manual.options)
                                         << "; in OPTIONS, not in --help:" << Missing(manual.options, top.options);

  // Every command, subcommands of commands included. "-h, --help" of each
  // is described once under OPTIONS.
  Names commands;
  std::vector<std::string> pending = top.subcommands;
  ASSERT_FALSE(pending.empty());
  while (!pending.empty()) {
    const std::string command = pending.back();
    pending.pop_back();
    HelpText help = ParseHelp(Help(" " + command));
    for (const std::string& sub : help.subcommands) pending.push_back(command + " " + sub);
    help.options.erase("-h");
    help.options.erase("--help");
    // A command that only groups others needs no section of its own.
    if (help.options.empty() && !help.subcommands.empty()) continue;
    commands.insert(command);
    const auto page = manual.commands.find(command);
    if (page == manual.commands.end()) {
      ADD_FAILURE() << "brevika-calc " << command << " has no .SS section under COMMANDS";
      continue;
    }
    EXPECT_EQ(page->second, help.options)
        << command << ": in --help, not in the manual:" << Missing(help.options, page->second)
        << "; in the manual, not in --help:" << Missing(page->second, help.options);
  }
  for (const auto& [name, options] : manual.commands)
    EXPECT_TRUE(commands.count(name)) << "the manual describes \"" << name << "\", which --help does not list";
}

}  // namespace
}  // namespace brevika
