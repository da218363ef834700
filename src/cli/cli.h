// brevika-calc: the calculators and the schedule from the command line.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brevika::cli {

// Exit codes: 0 ran, 1 the calculation refused, 2 bad arguments.
inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// "--name value" and "--flag" pairs. A flag given without a value maps to "".
struct Args {
  std::map<std::string, std::string> values;
  std::optional<std::string> error;  // first problem found while parsing
};
// `valued` names the options that take a value; `flags` those that don't.
Args ParseArgs(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags);

// Number parsing that rejects trailing junk and non-finite values.
std::optional<double> ParseNumber(const std::string& text);
// List option value: item index by text, case-insensitive; error text when absent.
std::optional<int> ParseChoice(const std::string& option, const std::string& text,
                               const std::vector<std::string>& items, std::string& error);

int RunLoan(const std::vector<std::string>& args);
int RunSchedule(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace brevika::cli
