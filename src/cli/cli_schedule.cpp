// brevika-calc schedule: the amortization schedule as CSV.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>

#include "amortization/schedule.h"
#include "calculators/calc_record.h"
#include "cli/cli.h"
#include "finance/items.h"
#include "finance/rates.h"

namespace brevika::cli {

namespace {

// "MM/DD/YYYY" (one- or two-digit month and day) within the entry fields'
// range 01/01/1600 to 12/31/3999.
std::optional<Date> ParseDate(const std::string& text) {
  int part[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int field = 0;
  for (char ch : text) {
    if (ch == '/') {
      if (++field > 2) return std::nullopt;
    } else if (ch >= '0' && ch <= '9') {
      if (++digits[field] > 4) return std::nullopt;
      part[field] = part[field] * 10 + (ch - '0');
    } else {
      return std::nullopt;
    }
  }
  if (field != 2 || digits[0] == 0 || digits[0] > 2 || digits[1] == 0 || digits[1] > 2 ||
      digits[2] != 4 || part[2] > kMaxYear)
    return std::nullopt;
  const Date d = MakeDate(part[1], part[0], part[2]);
  if (d == kBadDate) return std::nullopt;
  return d;
}

void AppendMoney(std::string& out, double v) {
  double cents = RoundToCents(v);
  if (cents == 0) cents = 0;  // no "-0.00"
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", cents);
  out += buf;
}

void AppendCsvText(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

void AppendRow(std::string& out, const ScheduleRow& r) {
  int d, m, y;
  SplitDate(r.date, d, m, y);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d,", r.pmtNo);
  out += buf;
  AppendCsvText(out, r.periodLabel);
  std::snprintf(buf, sizeof buf, ",%04d-%02d-%02d", y, m, d);
  out += buf;
  for (double v : {r.payment, r.principal, r.interest, r.balance, r.runPayment, r.runPrincipal,
                   r.runInterest}) {
    out += ',';
    AppendMoney(out, v);
  }
  out += '\n';
}

}  // namespace

int RunSchedule(const std::vector<std::string>& argv) {
  Args args = ParseArgs(argv,
                        {"amount", "periods", "rate", "points", "origination", "first-payment",
                         "payment-period", "compounding", "amortizing", "rate-basis",
                         "points-paid", "year"},
                        {});
  auto fail = [](const std::string& why) {
    std::cerr << "brevika-calc schedule: " << why << "\n";
    return kExitUsage;
  };
  if (args.error) return fail(*args.error);
  for (const char* required : {"amount", "periods", "rate", "origination", "first-payment"}) {
    if (!args.values.count(required)) return fail("missing --" + std::string(required));
  }

  ScheduleInputs in;
  in.PYR = LoanDefaults.paymentPeriod - 1;
  in.CmpPYR = LoanDefaults.compoundingPeriod;
  in.AmortMthd = LoanDefaults.amortizingMethod;
  in.RateBasis = LoanDefaults.interestBasis;
  in.PointsPaidMthd = LoanDefaults.pointsPaid;

  for (const char* name : {"amount", "periods", "rate", "points"}) {
    auto it = args.values.find(name);
    if (it == args.values.end()) continue;
    const std::string n = name;
    auto v = ParseNumber(it->second);
    if (!v) return fail("--" + n + ": '" + it->second + "' is not a number");
    if (*v < 0) return fail("--" + n + ": '" + it->second + "' must not be negative");
    if (n == "periods") {
      if (*v != std::trunc(*v) || *v > 65535)
        return fail("--periods: '" + it->second + "' is not a whole number from 0 to 65535");
      in.NumPmts = static_cast<std::uint16_t>(*v);
    } else if (*v >= 1e12) {
      return fail("--" + n + ": '" + it->second + "' is too large (at most 12 integer digits)");
    } else if (n == "amount") {
      in.PV = *v;
    } else if (n == "rate") {
      in.Rate = static_cast<float>(*v);
    } else {
      in.Points = static_cast<float>(*v);
    }
  }
  for (const char* name : {"origination", "first-payment"}) {
    const std::string& text = args.values[name];
    auto d = ParseDate(text);
    if (!d)
      return fail("--" + std::string(name) + ": '" + text +
                  "' is not a date MM/DD/YYYY from 01/01/1600 to 12/31/3999");
    (std::string(name) == "origination" ? in.OrgDate : in.FrstPmtDate) = *d;
  }
  struct Choice {
    const char* option;
    const ItemList& items;
    int& index;
  };
  std::string error;
  for (Choice ch : {Choice{"payment-period", PaymentPeriodItems(), in.PYR},
                    Choice{"compounding", CompoundingPeriodItems(), in.CmpPYR},
                    Choice{"amortizing", AmortizingMethodItems(), in.AmortMthd},
                    Choice{"rate-basis", InterestBasisItems(), in.RateBasis},
                    Choice{"points-paid", PointsPaidItems(), in.PointsPaidMthd}}) {
    auto it = args.values.find(ch.option);
    if (it == args.values.end()) continue;
    auto idx = ParseChoice(ch.option, it->second, ch.items, error);
    if (!idx) return fail(error);
    ch.index = *idx;
  }
  // Choosing "Canadian" sets the periods, as the options dialog does.
  CanadianPeriods(in.AmortMthd, in.PYR, in.CmpPYR);
  int yearTab = -1;
  if (auto it = args.values.find("year"); it != args.values.end()) {
    auto v = ParseNumber(it->second);
    if (!v || *v != std::trunc(*v) || *v < 0 || *v > 100000)
      return fail("--year: '" + it->second + "' is not a tab number (0 = All)");
    yearTab = static_cast<int>(*v);
  }

  Schedule schedule;
  const Outcome outcome = schedule.Calculate(in);
  for (const Message& m : outcome.messages) std::cerr << m.text << "\n";
  if (outcome.refused) return kExitRefused;

  int firstRow = 0;
  int lastRow = schedule.lastRow();
  if (yearTab >= 0) {
    const int tabs = static_cast<int>(schedule.yearTabs().size());
    if (yearTab >= tabs)
      return fail("--year " + std::to_string(yearTab) + ": the schedule has year tabs 0 to " +
                  std::to_string(tabs - 1));
    std::tie(firstRow, lastRow) = schedule.SelectYear(yearTab);
  }
  std::string out = "PmtNo,PeriodLabel,Date,Payment,Principal,Interest,Balance,RunPayment,"
                    "RunPrincipal,RunInterest\n";
  out.reserve(out.size() + static_cast<std::size_t>(lastRow - firstRow + 1) * 100);
  for (int k = firstRow; k <= lastRow; ++k) AppendRow(out, schedule.row(k));
  std::fwrite(out.data(), 1, out.size(), stdout);
  return kExitOk;
}

}  // namespace brevika::cli
