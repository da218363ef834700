#include "calculators/refinance_narrative.h"

#include <cmath>

#include "finance/rates.h"

namespace brevika {

namespace {

constexpr double kWorthTheTrouble = 500.0;

bool IsBlank(char c) { return c == ' '; }

std::string_view TrimTrailing(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// One input row of the copy text; the years until the sale are 13 wide.
std::string CopyRow(const CalcRow& r, const LocaleFormat& loc, int countWidth = 16) {
  const std::string label = RefiLabel(r.caption);
  switch (r.kind) {
    case RowKind::Money: return Format("%-24s %16.2m\r\n", {label, r.number}, loc);
    case RowKind::Count:
      return Format("%-24s %" + std::to_string(countWidth) + "d\r\n", {label, r.count}, loc);
    case RowKind::Rate: return Format("%-24s %16.4n\r\n", {label, r.number}, loc);
    case RowKind::Choice: return Format("%-24s %16s\r\n", {label, r.text}, loc);
    default: break;  // the advisor's rows are of these four kinds only
  }
  return {};
}

std::string PrintRow(const CalcRow& r, const LocaleFormat& loc) {
  const std::string label = RefiLabel(r.caption);
  switch (r.kind) {
    case RowKind::Money: return Format("\t%-24s\t%16.2m", {label, r.number}, loc);
    case RowKind::Count: return Format("\t%-24s\t%16d", {label, r.count}, loc);
    case RowKind::Rate: return Format("\t%-24s\t%16.4n", {label, r.number}, loc);
    case RowKind::Choice: return Format("\t%-24s\t%.12s", {label, r.text}, loc);
    default: break;
  }
  return {};
}

// The input rows in their three groups: current financing, possible
// financing, taxes and sale.
enum { kCurrent, kPossible, kTaxes };
std::vector<std::vector<CalcRow>> InputRows(const RefiRecord& r) { return KindRowGroups(RefinanceKind(), r); }

}  // namespace

std::vector<std::string> WrapLine(std::string_view text, std::size_t width) {
  std::vector<std::string> lines;
  if (width == 0) width = 1;
  std::string_view rest = text;
  while (!rest.empty()) {  // every round takes at least one character
    std::string_view line;
    std::size_t taken;
    if (rest.size() <= width) {
      line = rest;
      taken = rest.size();
    } else {
      if (IsBlank(rest[width])) {
        taken = width;
      } else {
        const std::size_t blank = rest.find_last_of(' ', width - 1);
        taken = blank == std::string_view::npos ? width : blank;
      }
      line = TrimTrailing(rest.substr(0, taken));
      if (line.empty()) {  // only leading blanks before the break: cut hard
        taken = width;
        line = rest.substr(0, width);
      }
    }
    lines.emplace_back(line);
    rest.remove_prefix(taken);
    while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  }
  return lines;
}

RefiNarrative BuildRefiNarrative(const RefiRecord& rec, RefiResults& r, const LocaleFormat& loc) {
  auto F = [&loc](double x) { return FormatMoneyText(x, loc); };
  const double D = r.CostCur - r.CostNew;
  const bool taxed = rec.Deduct.index == 0 && rec.ProTaxBracket != 0;
  const bool larger = rec.RemBal < rec.NewPV;
  RefiNarrative n;

  n.paidDown = "     By the time you sell after " + std::to_string(rec.SldAfter) +
               (rec.SldAfter == 1 ? " year" : " years") + ", you'll have paid down " +
               F(r.PaidDownCur) + " under your current loan, or " + F(r.PaidDownNew) +
               " under the possible refinancing. " +
               "The amounts used in this analysis are discounted to today's dollars. ";

  r.LostDeduction = 0;
  auto lostDeduction = [&]() {
    r.LostDeduction = static_cast<double>(D * 0.01L * rec.ProTaxBracket);
    return " However, the interest  savings will  increase your taxes by " + F(r.LostDeduction) +
           " due to the  lost deduction. ";
  };
  const std::string bothCosts = ". The possible refinancing will cost you " + F(r.CostNew);
  const std::string largerLoan =
      "     Looking at just the difference between the two loans, your current financing will "
      "cost you " + F(r.CostCur) + bothCosts + ". If you refinance: looking first at just the " +
      F(rec.RemBal) + " that your current mortgage covers, you'd be paying " + F(r.CostNew) +
      ", after allowing for taxes and closing costs. Therefore, you will be ";
  const std::string sameLoan = "     Your current financing will cost you " + F(r.CostCur) + bothCosts;

  std::string& p2 = n.costs;
  if (D > 0 && larger) {
    p2 = largerLoan + "SAVING " + F(D) + ".";
    if (taxed) p2 += lostDeduction();
  } else if (D >= 0) {
    p2 = sameLoan +
         ". So considering just the differences between the two loans: after tax "
         "considerations, and other related closing costs you will SAVE " + F(D) + ".";
    if (taxed) p2 += lostDeduction();
  } else if (larger) {
    p2 = largerLoan + "LOSING " + F(D) + ".";
  } else {
    p2 = sameLoan + ". You will  LOSE " + F(D) + ".";
  }

  // Investment income is spoken of only at a positive discount rate, and
  // only when there is some.
  const bool discounted = rec.DiscRate > 0;
  if (discounted && RoundToCents(r.ReinvestValue) > 0) {
    p2 += " Now, since the sum of the payments is  LESS  under the  proposed  refinancing  than "
          "it is under the  current financing, you could reinvest this difference. If the "
          "difference in the payments is reinvested, you will have an estimated gain of " +
          F(r.ReinvestValue) + " from the additional investment income.";
  } else if (discounted && RoundToCents(r.ReinvestValue) < 0) {
    p2 += " Now, since the sum of the payments is  GREATER  under the  proposed refinancing "
          "than it is under the current financing, you will  LOSE an investment opportunity. "
          "As a result of paying the higher amount, you will give up an estimated " +
          F(r.ReinvestValue) + " in investment income.";
  }

  if (discounted && rec.NewPV < rec.RemBal) {
    // ExtraCapitalValue holds the forgone income as a loss; the sentence
    // tells what the money would have earned.
    p2 += " By taking out a smaller loan, you are in effect, spending an extra " +
          F(rec.RemBal - rec.NewPV) +
          " up front to pay down your balance. If you had invested this money, it would have "
          "earned you " + F(-r.ExtraCapitalValue) + " in today's dollars.";
  } else if (discounted && larger) {
    p2 += " By taking out a larger loan, you are borrowing extra capital that may be invested. "
          "Discounted to today's dollars, you will have a ";
    if (r.ExtraCapitalValue < 0)
      p2 += "LOSS of " + F(r.ExtraCapitalValue) +
            ". This is because your discount rate--the value the money has to you--is LESS  "
            "than your borrowing costs.";
    else
      p2 += "GAIN of " + F(r.ExtraCapitalValue) +
            ". This is because your discount rate--the value the money has to you--is GREATER "
            "than your borrowing costs.";
  }

  r.NetSavings = static_cast<double>(static_cast<long double>(D) + r.ReinvestValue +
                                     r.ExtraCapitalValue - r.LostDeduction);
  const double net = r.NetSavings;
  if (net > 0 && net < kWorthTheTrouble)
    n.bottomLine = "     Bottom line? Your total net SAVINGS will be " + F(net) +
                   ". It hardly seems worth the trouble.";
  else if (net >= kWorthTheTrouble)
    n.bottomLine = "     Bottom line? Your total net SAVINGS will be " + F(net) +
                   ". Why are you waiting? ";
  else
    n.bottomLine = "     Bottom line? Your total LOSS will be " + F(net) +
                   ". We do not recommend you assume the possible refinancing.";
  return n;
}

std::vector<std::string> NarrativeMemo(const RefiNarrative& n) {
  std::vector<std::string> memo;
  for (const std::string* p : {&n.paidDown, &n.costs, &n.bottomLine}) {
    for (std::string& line : WrapLine(*p)) memo.push_back(std::move(line));
    if (p != &n.bottomLine) memo.emplace_back();
  }
  return memo;
}

std::string RefiLabel(const std::string& caption) {
  std::string out = caption;
  for (std::size_t pos = out.find('&'); pos != std::string::npos; pos = out.find('&', pos + 1)) {
    if (pos + 1 < out.size() && !IsBlank(out[pos + 1])) {
      out.erase(pos, 1);
      break;
    }
  }
  return out;
}

std::string RefiCopyText(const std::string& windowCaption, const RefiRecord& rec,
                         const LocaleFormat& loc) {
  const auto groups = InputRows(rec);
  std::string out = windowCaption + "\r\n\r\n";
  out += RefiLabel(rec.Label1) + "\r\n\r\n";
  for (const CalcRow& row : groups[kCurrent]) out += CopyRow(row, loc);
  out += "\r\n";
  out += RefiLabel(rec.Label2) + "\r\n\r\n";
  for (const CalcRow& row : groups[kPossible]) out += CopyRow(row, loc);
  out += "\r\n";
  for (const CalcRow& row : groups[kTaxes])
    out += CopyRow(row, loc, row.kind == RowKind::Count ? 13 : 16);
  out += "\r\n";
  // The wrapped lines flow back into paragraphs.
  for (const std::string& line : rec.Memo1) out += line.empty() ? "\r\n\r\n" : line + " ";
  return out;
}

std::vector<Page> RefinancePage(const std::string& windowCaption, const RefiRecord& rec,
                                const std::string& fontName, int fontPoints,
                                const LocaleFormat& loc) {
  PageBuilder b(fontName, fontPoints);
  BeginCalculatorPage(b, windowCaption);

  auto heading = [&](const std::string& caption) {
    b.Bold(true);
    b.PrintTabbed(Format("\t%-24s", {RefiLabel(caption)}, loc));
    b.Bold(false);
    b.NewLine();
  };
  auto rows = [&](const std::vector<CalcRow>& group) {
    for (const CalcRow& row : group) {
      b.PrintTabbed(PrintRow(row, loc));
      b.NewLine();
    }
    b.NewLine();  // two empty lines after each group
    b.NewLine();
  };
  const auto groups = InputRows(rec);
  heading(rec.Label1);
  rows(groups[kCurrent]);
  heading(rec.Label2);
  rows(groups[kPossible]);
  rows(groups[kTaxes]);

  // The verdict under one tab stop that leaves room for a memo line.
  b.ClearTabs();
  b.SetTab({0.75, PageBuilder::kPageWidth - 1.5, Align::Left, 0});
  for (const std::string& line : rec.Memo1) {
    if (!line.empty()) b.PrintTabbed("\t" + line);
    b.NewLine();
  }
  return b.Finish();
}

}  // namespace brevika
