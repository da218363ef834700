#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"

int main(int argc, char** argv) {
  using namespace brevika::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << UsageText();
    return args.empty() ? kExitUsage : kExitOk;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "loan") return RunLoan(args);
  if (command == "schedule") return RunSchedule(args);
  std::cerr << "brevika-calc: unknown command '" << command << "' (try --help)\n";
  return kExitUsage;
}
