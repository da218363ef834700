// brevika-calc loan: the loan calculator's solve from the command line.
#include <charconv>
#include <cmath>
#include <iostream>

#include "calculators/loan.h"
#include "cli/cli.h"

namespace brevika::cli {

namespace {

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

// Shortest text that reads back as the same value.
template <typename T>
std::string Exact(T v) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

}  // namespace

int RunLoan(const std::vector<std::string>& argv) {
  Args args = ParseArgs(argv,
                        {"amount", "periods", "rate", "payment", "payment-period", "compounding",
                         "payment-method", "amortizing"},
                        {"json"});
  auto fail = [](const std::string& why) {
    std::cerr << "brevika-calc loan: " << why << "\n";
    return kExitUsage;
  };
  if (args.error) return fail(*args.error);

  LoanRecord rec = NewLoanRecord();
  std::string error;
  for (const char* name : {"amount", "periods", "rate", "payment"}) {
    auto it = args.values.find(name);
    if (it == args.values.end()) continue;
    auto v = ParseNumber(it->second);
    if (!v) return fail("--" + std::string(name) + ": '" + it->second + "' is not a number");
    const std::string n = name;
    if (n == "periods") {
      if (*v != std::trunc(*v) || *v < -32768 || *v > 32767)
        return fail("--periods: '" + it->second + "' is not a whole number from -32768 to 32767");
      rec.NumPmts = static_cast<std::int16_t>(*v);
    } else if (std::fabs(*v) >= 1e12) {
      return fail("--" + n + ": '" + it->second + "' is too large (at most 12 integer digits)");
    } else if (n == "amount") {
      rec.PV = *v;
    } else if (n == "rate") {
      rec.Rate = static_cast<float>(*v);
    } else {
      rec.Pmt = *v;
    }
  }
  struct Choice {
    const char* option;
    ListEntry* entry;
  };
  for (Choice c : {Choice{"payment-period", &rec.PYR}, Choice{"compounding", &rec.CmpPYR},
                   Choice{"payment-method", &rec.PmtMthd}, Choice{"amortizing", &rec.AmortMthd}}) {
    auto it = args.values.find(c.option);
    if (it == args.values.end()) continue;
    auto idx = ParseChoice(c.option, it->second, c.entry->items, error);
    if (!idx) return fail(error);
    c.entry->Select(*idx);
  }

  const Outcome result = CalcLoan(rec);
  if (args.values.count("json")) {
    std::cout << "{\"PV\": " << Exact(rec.PV) << ", \"NumPmts\": " << rec.NumPmts
              << ", \"Rate\": " << Exact(rec.Rate) << ", \"Pmt\": " << Exact(rec.Pmt)
              << ", \"TotInt\": " << Exact(rec.TotInt)
              << ", \"PaymentPeriod\": " << JsonString(rec.PYR.text)
              << ", \"Compounding\": " << JsonString(rec.CmpPYR.text)
              << ", \"PaymentMethod\": " << JsonString(rec.PmtMthd.text)
              << ", \"Amortizing\": " << JsonString(rec.AmortMthd.text) << ", \"message\": "
              << (!result.messages.empty() ? JsonString(result.FirstText()) : std::string("null"))
              << "}\n";
  } else {
    std::cout << CopyText("Loan Calculator", LoanRows(rec), UsLocaleFormat());
    if (!result.messages.empty()) std::cerr << result.FirstText() << "\n";
  }
  return kExitOk;
}

}  // namespace brevika::cli
