#include <algorithm>
#include <charconv>
#include <cmath>

#include "cli/cli.h"
#include "finance/items.h"

namespace brevika::cli {

Args ParseArgs(const std::vector<std::string>& argv, const std::vector<std::string>& valued,
               const std::vector<std::string>& flags) {
  Args out;
  auto has = [](const std::vector<std::string>& list, const std::string& s) {
    return std::find(list.begin(), list.end(), s) != list.end();
  };
  for (std::size_t k = 0; k < argv.size(); ++k) {
    std::string name = argv[k];
    std::string value;
    bool inlineValue = false;
    if (name.rfind("--", 0) != 0) {
      out.error = "unexpected argument '" + name + "'";
      return out;
    }
    name = name.substr(2);
    if (auto eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inlineValue = true;
    }
    if (has(flags, name)) {
      if (inlineValue) {
        out.error = "option --" + name + " takes no value";
        return out;
      }
      out.values[name] = "";
    } else if (has(valued, name)) {
      if (!inlineValue) {
        if (k + 1 >= argv.size()) {
          out.error = "option --" + name + " needs a value";
          return out;
        }
        value = argv[++k];
      }
      out.values[name] = value;
    } else {
      out.error = "unknown option --" + name;
      return out;
    }
  }
  return out;
}

std::optional<double> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  double v = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+') ++first;
  auto res = std::from_chars(first, last, v);
  if (res.ec != std::errc() || res.ptr != last || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> ParseChoice(const std::string& option, const std::string& text,
                               const std::vector<std::string>& items, std::string& error) {
  int idx = FindItem(items, text);
  if (idx < 0) {
    std::string list;
    for (const auto& it : items) list += (list.empty() ? "" : ", ") + ("\"" + it + "\"");
    error = "--" + option + ": '" + text + "' is not one of " + list;
    return std::nullopt;
  }
  return idx;
}

std::string UsageText() {
  return
      "Usage: brevika-calc COMMAND [OPTIONS]\n"
      "\n"
      "Commands:\n"
      "  loan       solve a level-payment loan for the value left at 0\n"
      "  schedule   print an amortization schedule as CSV\n"
      "\n"
      "loan options (a value left out is 0, the unknown):\n"
      "  --amount X             amount of the loan\n"
      "  --periods N            total number of payments\n"
      "  --rate R               annual rate in percent\n"
      "  --payment X            periodic payment\n"
      "  --payment-period P     Weekly, BiWeekly, Monthly, BiMonthly, Quarterly,\n"
      "                         SemiAnnually, Annually (default Monthly)\n"
      "  --compounding C        Daily, Weekly, BiWeekly, Monthly, BiMonthly, Quarterly,\n"
      "                         SemiAnnually, Annually, Continuous (default Monthly)\n"
      "  --payment-method M     Advance or Arrears (default Arrears)\n"
      "  --amortizing A         \"Canadian\", \"Interest Only\", \"Fixed Principal\",\n"
      "                         \"Normal\", \"Rule of 78's\", \"U.S. Rule\" (default Normal)\n"
      "  --json                 print the record as one JSON object\n"
      "\n"
      "schedule options:\n"
      "  --amount X --periods N --rate R   loan terms (none may be 0)\n"
      "  --points P             points in percent (default 0)\n"
      "  --origination MM/DD/YYYY\n"
      "  --first-payment MM/DD/YYYY\n"
      "  --payment-period P --compounding C --amortizing A   as for loan\n"
      "  --rate-basis B         Ordinary, Exact/360, Exact/365 (default Ordinary)\n"
      "  --points-paid W        \"At Origination\", \"With 1st Payment\", \"Amortized\"\n"
      "                         (default At Origination)\n"
      "  --year T               only the rows of year tab T (0 = All)\n"
      "\n"
      "List values are matched without regard to case.\n"
      "Exit status: 0 ran, 1 the calculation was refused, 2 bad arguments.\n";
}

}  // namespace brevika::cli
