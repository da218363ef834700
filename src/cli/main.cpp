#include <iostream>
#include <string>

#include "cli/cli.h"

int main(int argc, char** argv) {
  using namespace brevika::cli;
  CLI::App app{"Brevika's calculators and amortization schedule from the command line.",
               "brevika-calc"};
  app.require_subcommand(1, 1);
  app.footer(
      "Run 'brevika-calc COMMAND --help' for the options of a command.\n"
      "List values are matched without regard to case.\n"
      "Exit status: 0 ran, 1 the calculation was refused, 2 bad arguments.");
  int exitCode = kExitOk;
  AddLoanCommand(app, exitCode);
  AddScheduleCommand(app, exitCode);
  AddInterestDueCommand(app, exitCode);
  AddRemainingBalanceCommand(app, exitCode);
  AddAcceleratedCommand(app, exitCode);
  AddBalloonCommand(app, exitCode);
  AddRefinanceCommand(app, exitCode);

  auto where = [&app]() {
    std::string name = "brevika-calc";
    for (const CLI::App* sub : app.get_subcommands()) name += " " + sub->get_name();
    return name;
  };
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    const auto subs = app.get_subcommands();
    std::cout << (subs.empty() ? app.help() : subs.front()->help());
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
