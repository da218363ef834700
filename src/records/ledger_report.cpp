// The printed payment ledger, in the page model.
#include <algorithm>
#include <string>
#include <utility>

#include "records/ledger.h"

namespace brevika::records {

namespace {

// Column widths in average character widths: date, number, scheduled
// payment, amount paid, days, interest, principal, unpaid interest, balance.
// 90 in all, what 10 points print across Letter paper: a date of ten
// characters and a payment number of four keep a blank between them.
constexpr int kColumns = 9;
constexpr double kColumnChars[kColumns] = {11, 5, 11, 11, 6, 11, 11, 11, 13};
constexpr double kSideMargin = 0.5;
constexpr double kTopMargin = 0.5;
constexpr double kBottomMargin = 1.0;

class LedgerLayout {
 public:
  LedgerLayout(const Ledger& l, const LedgerSummary& s, const LedgerReportSetup& setup)
      : l_(l), s_(s), setup_(setup), b_(setup.fontName, setup.fontPoints),
        cols_(CentredColumns(kColumnChars, b_.fontPoints(), setup.paper.width, kSideMargin)),
        left_(cols_.tableLeft), right_(cols_.tableRight),
        head_(FormatShortDate(setup.today, true), kLedgerReportTitle, left_, right_) {
    line_ = b_.LineHeight();
    b_.SetPaper(setup.paper);
    b_.SetMargins(kTopMargin + b_.fontPoints() / 72.0, kBottomMargin);
  }

  std::vector<Page> Build() {
    FirstPage();
    b_.SetPageHead([this](PageBuilder& b) { Header(b); });
    Lines();
    Years();
    std::vector<Page> pages = b_.Finish();
    head_.NumberPages(pages, 1);
    return pages;
  }

 private:
  void Down(double lines) { b_.GotoY(b_.y() + lines * line_); }

  void LineTabs(PageBuilder& b) const {
    b.ClearTabs();
    b.SetTab({cols_.left[0], cols_.width[0], Align::Left, 0});
    for (int i = 1; i < kColumns; ++i) b.SetTab({cols_.left[i], cols_.width[i], Align::Right, 0});
  }

  // Year, payments, interest, principal under the last four columns.
  void YearTabs(PageBuilder& b) const {
    b.ClearTabs();
    b.SetTab({cols_.left[0], cols_.width[0], Align::Left, 0});
    b.SetTab({cols_.left[1], cols_.width[1] + cols_.width[2], Align::Right, 0});
    b.SetTab({cols_.left[5], cols_.width[5], Align::Right, 0});
    b.SetTab({cols_.left[6], cols_.width[6], Align::Right, 0});
    b.SetTab({cols_.left[7], cols_.width[7] + cols_.width[8], Align::Right, 0});
  }

  void ColumnHeads(PageBuilder& b) {
    b.Bold(true);
    if (yearTable_) {
      b.PrintLeft("Paid by Calendar Year", left_);
      b.GotoY(b.y() + 2 * line_);
    }
    b.Underline(true);
    if (yearTable_) {
      YearTabs(b);
      b.PrintTabbed("\tYear\tPayments\tInterest\tPrincipal\tTotal Paid");
    } else {
      LineTabs(b);
      b.PrintTabbed("\tDate\t#\tScheduled\tPaid\tDays\tInterest\tPrincipal\tUnpaid Int\tBalance");
    }
    b.Underline(false);
    b.Bold(false);
    b.Rule(left_, right_, line_ * 0.4);
    b.GotoY(b.y() + line_ * 1.3);
  }

  void FirstPage() {
    const double centre = setup_.paper.width / 2;
    b_.GotoY(b_.topMargin());
    b_.Bold(true);
    b_.PrintCenter(kLedgerReportTitle, centre);
    b_.Bold(false);
    Down(2);
    if (!setup_.loanNo.empty()) {
      b_.PrintCenter("Loan No: " + setup_.loanNo, centre);
      Down(1);
    }
    b_.PrintCenter("Prepared On: " + FormatShortDate(setup_.today, true), centre);
    Down(2);
    const double w = PrintColumnWidth(b_.fontPoints());
    const LocaleFormat& loc = setup_.money;
    const std::pair<std::string, std::string> lines[] = {
        {"As Of:", SummaryDateText(s_.asOf)},
        {"Balance:", FormatMoney(s_.balance, 2, loc)},
        {"Unpaid Interest:", FormatMoney(s_.unpaidInterest, 2, loc)},
        {"Interest Charged Through:", SummaryDateText(s_.paidThrough)},
        {"Paid:", FormatMoney(s_.paid, 2, loc)},
        {"Scheduled:", FormatMoney(s_.scheduled, 2, loc)},
        {"Ahead or Behind:", AheadBehindText(s_, loc)},
        {"Next Payment Due:", SummaryDateText(s_.nextDue)},
    };
    // The two columns meet at the centre; a value too long to end there
    // without running into its label ("Behind by 34 payments, $13,146.44")
    // widens the value column, the two kept centred together.
    const double charWidth = b_.fontPoints() * 0.6 / 72.0;
    double valueWidth = w;
    for (const auto& [label, value] : lines)
      valueWidth = std::max(valueWidth, static_cast<double>(label.size() + value.size() + 1) * charWidth / 0.98 - w);
    const double shift = (valueWidth - w) / 2;
    b_.ClearTabs();
    b_.SetTab({centre - w - shift, w, Align::Left, 2});
    b_.SetTab({centre - shift, valueWidth, Align::Right, 2});
    for (const auto& [label, value] : lines) {
      b_.PrintTabbed("\t" + label + "\t" + value);
      Down(1);
    }
    Down(1);
    ColumnHeads(b_);
  }

  void Header(PageBuilder& b) {
    head_.Print(b);
    b.Bold(false);
    b.GotoY(b.y() + 2 * line_);
    ColumnHeads(b);
  }

  void Lines() {
    const LocaleFormat& loc = setup_.money;
    LineTabs(b_);
    for (const LedgerLine& line : LedgerLines(l_)) {
      std::string text = "\t" + FormatShortDate(line.date, true);
      if (line.scheduledRow >= 0) {
        const ScheduleRow& r = l_.scheduled[static_cast<std::size_t>(line.scheduledRow)];
        text += "\t" + std::to_string(r.pmtNo) + "\t" + FormatMoney(r.payment, 2, loc);
      } else {
        text += "\t\t";
      }
      if (line.ledgerRow >= 0) {
        const LedgerRow& r = l_.rows[static_cast<std::size_t>(line.ledgerRow)];
        for (const std::string& cell :
             {FormatMoney(r.amount, 2, loc), std::to_string(r.days), FormatMoney(r.interest, 2, loc),
              FormatMoney(r.principal, 2, loc), FormatMoney(r.unpaidInterest, 2, loc),
              FormatMoney(r.balance, 2, loc)})
          text += "\t" + cell;
      }
      b_.PrintTabbed(text);
      b_.NewLine();
    }
  }

  void Years() {
    const std::vector<YearPaid> years = PaidByYear(l_);
    if (years.empty()) return;
    const LocaleFormat& loc = setup_.money;
    yearTable_ = true;
    // The caption, the heads and at least one year together.
    if (b_.LinesLeft() < 7) {
      b_.NewPage();
    } else {
      Down(1);
      ColumnHeads(b_);
    }
    YearTabs(b_);
    for (const YearPaid& y : years) {
      b_.PrintTabbed("\t" + std::to_string(y.year) + "\t" + std::to_string(y.payments) + "\t" +
                     FormatMoney(y.interest, 2, loc) + "\t" + FormatMoney(y.principal, 2, loc) + "\t" +
                     FormatMoney(y.amount, 2, loc));
      b_.NewLine();
    }
  }

  const Ledger& l_;
  const LedgerSummary& s_;
  const LedgerReportSetup& setup_;
  PageBuilder b_;
  const TableColumns cols_;
  const double left_, right_;
  double line_ = 0;
  RunningHead head_;
  bool yearTable_ = false;
};

}  // namespace

std::vector<Page> LedgerReportPages(const Ledger& ledger, const LedgerSummary& summary,
                                    const LedgerReportSetup& setup) {
  return LedgerLayout(ledger, summary, setup).Build();
}

}  // namespace brevika::records
