#include <iostream>
#include <string>

#include "components/version.h"
#include "cli/cli.h"

int main(int argc, char** argv) {
  using namespace brevika::cli;
  CLI::App app{"Brevika's calculators and amortization schedule from the command line.",
               "brevika-calc"};
  app.require_subcommand(1, 1);
  app.set_version_flag("--version", brevika::VersionText("brevika-calc"), "Print the version and exit");
  app.footer(
      "Run 'brevika-calc COMMAND --help' for the options of a command.\n"
      "List values are matched without regard to case.\n"
      "Exit status: 0 ran, 1 the calculation or the change of the loan records was refused\n"
      "(the message on standard error, the tables unchanged), 2 bad arguments.");
  int exitCode = kExitOk;
  AddKindCommands(app, exitCode);
  AddRecordsCommands(app, exitCode);
  AddLedgerCommands(app, exitCode);

  // The innermost subcommand given ("accounts add").
  auto innermost = [&app]() {
    const CLI::App* at = &app;
    while (!at->get_subcommands().empty()) at = at->get_subcommands().front();
    return at;
  };
  auto where = [&app]() {
    std::string name = "brevika-calc";
    for (const CLI::App* at = &app; !at->get_subcommands().empty();) {
      at = at->get_subcommands().front();
      name += " " + at->get_name();
    }
    return name;
  };
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << innermost()->help();
    return kExitOk;
  } catch (const CLI::CallForVersion& e) {
    std::cout << e.what();
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    std::string what = e.what();
    for (char& c : what)
      if (c == '\n' || c == '\r') c = ' ';
    std::cerr << where() << ": " << what << "\n";
    return kExitUsage;
  } catch (const BadArgument& e) {
    std::cerr << where() << ": " << e.what() << "\n";
    return kExitUsage;
  }
  return exitCode;
}
