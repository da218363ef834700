#include "amortization/schedule_report.h"

#include <string_view>

#include "finance/items.h"

namespace brevika {

namespace {

std::string Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return std::string(s.substr(first, last - first + 1));
}

std::string Joined(const std::string& a, const std::string& sep, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + sep + b;
}

// At most `n` characters of UTF-8 text.
std::string CutCharacters(const std::string& s, std::size_t n) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
    if (chars == n) return s.substr(0, i);
    ++chars;
  }
  return s;
}

const std::string& ItemText(const ItemList& items, int index) {
  static const std::string kNone;
  return index >= 0 && index < static_cast<int>(items.size())
             ? items[static_cast<std::size_t>(index)]
             : kNone;
}

// Widths of the six row columns in average character widths; the table is
// narrowed to the paper when the font is too large for it.
constexpr double kColumnChars[6] = {9, 10, 16, 16, 16, 16};
constexpr double kSideMargin = 0.5;

class ReportLayout {
 public:
  ReportLayout(const Schedule& s, const ScheduleReportTerms& terms,
               const std::optional<Borrower>& borrower, const ScheduleReportSetup& setup)
      : s_(s), terms_(terms), borrower_(borrower), setup_(setup),
        b_(setup.fontName, setup.fontPoints),
        cols_(CentredColumns(kColumnChars, b_.fontPoints(), setup.paper.width, kSideMargin)),
        left_(cols_.tableLeft), right_(cols_.tableRight),
        head_(FormatShortDate(setup.today), kScheduleReportTitle, left_, right_) {
    line_ = b_.LineHeight();
    // The footer's last line sits on the bottom margin, a blank line above it.
    b_.SetPaper(setup.paper);
    b_.SetMargins(kReportTopMargin + b_.fontPoints() / 72.0, kReportBottomMargin + 2 * line_);
    if (borrower_) footerName_ = BorrowerFooterName(*borrower_);
  }

  std::vector<Page> Build() {
    FirstPage();
    b_.SetPageHead([this](PageBuilder& b) { Header(b); });
    b_.NewPage();
    b_.SetPageFoot([this](PageBuilder& b) { Footer(b); });
    Body();
    if (setup_.chartPage && s_.yearTabs().size() > 1) ChartPage();
    std::vector<Page> pages = b_.Finish();
    head_.NumberPages(pages, static_cast<std::size_t>(frontPages_));
    return pages;
  }

 private:
  // Moves down without the builder's own page breaks: the body decides.
  void Down(double lines) { b_.GotoY(b_.y() + lines * line_); }

  void RowTabs(PageBuilder& b) const {
    b.ClearTabs();
    b.SetTab({cols_.left[0], cols_.width[0], Align::Left, 0});
    b.SetTab({cols_.left[1], cols_.width[1], Align::Center, 0});
    for (int i = 2; i < 6; ++i) b.SetTab({cols_.left[i], cols_.width[i], Align::Right, 0});
  }

  void TotalsTabs() {
    b_.ClearTabs();
    b_.SetTab({cols_.left[0], cols_.width[0] + cols_.width[1], Align::Left, 0});
    for (int i = 2; i < 5; ++i) b_.SetTab({cols_.left[i], cols_.width[i], Align::Right, 0});
  }

  void TermsTabs() {
    const double w = PrintColumnWidth(b_.fontPoints());
    const double first = setup_.paper.width * 0.5 - w;
    b_.ClearTabs();
    b_.SetTab({first, w, Align::Left, 2});
    b_.SetTab({first + w, w, Align::Right, 2});
  }

  void FirstPage() {
    const double centre = setup_.paper.width / 2;
    TermsTabs();
    b_.GotoY(b_.topMargin());
    b_.Bold(true);
    b_.PrintCenter(kScheduleReportTitle, centre);
    b_.Bold(false);
    Down(3);
    if (borrower_) {
      const Borrower& br = *borrower_;
      for (const std::string& text : {BorrowerNameLine(br), Trim(br.address1), Trim(br.address2),
                                      BorrowerCityLine(br), Trim(br.phone)}) {
        if (text.empty()) continue;
        b_.PrintCenter(text, centre);
        Down(1);
      }
      Down(2);
    }
    Down(3);
    const LocaleFormat& loc = setup_.money;
    const std::string lines[] = {
        Format("\tInitial Loan Amount:\t%m", {terms_.amount}, loc),
        "\tInitial Interest Rate:\t" + RateText(terms_.rate),
        "\tInitial Periods:\t" + std::to_string(terms_.periods),
        "\tPoints:\t" + RateText(terms_.points),
        "\tOrigination Date:\t" + FormatShortDate(terms_.origination),
        "\tFirst Payment Due:\t" + FormatShortDate(terms_.firstPayment),
        "\tPayment Method:\t" + terms_.paymentPeriod,
        "\tCompounding Method:\t" + terms_.compounding,
        "\tAmortizing Method:\t" + terms_.amortizing,
        "\tRate Basis:\t" + terms_.rateBasis,
        "\tPoints Paid:\t" + terms_.pointsPaid,
    };
    for (const std::string& l : lines) {
      b_.PrintTabbed(l);
      Down(1);
    }
    if (terms_.apr) {
      b_.PrintTabbed("\tAnnual Percentage Rate:\t" + RateText(*terms_.apr));
      Down(1);
    }
    if (!terms_.events.empty()) EventsList();
    frontPages_ = b_.pageCount();
  }

  // The events under the summary, one a line in the row columns, under
  // their own column heads (again at the top of a further page).
  void EventsList() {
    const LocaleFormat& loc = setup_.money;
    Down(2);
    if (b_.LinesLeft() < 3) b_.NewPage();  // the heads with a line under them
    EventsHead();
    for (const ScheduleEvent& ev : terms_.events) {
      if (b_.LinesLeft() < 1) {
        b_.NewPage();
        EventsHead();
      }
      const bool money = ev.kind == EventKind::Extra || ev.kind == EventKind::Lump;
      b_.PrintTabbed("\t" + std::string(EventKindCaption(ev.kind)) + "\t" + EventPaymentsText(ev) + "\t" +
                     (money ? Format("%m", {ev.amount}, loc) : std::string()) + "\t" +
                     (ev.kind == EventKind::Rate ? RateText(ev.rate) : std::string()) + "\t" +
                     EventHowCaption(ev.how));
      Down(1);
    }
  }

  void EventsHead() {
    RowTabs(b_);
    b_.Bold(true);
    b_.Underline(true);
    b_.PrintTabbed("\tEvent\tPayments\tAmount\tRate\tChoice");
    b_.Underline(false);
    b_.Rule(left_, cols_.left[4] + cols_.width[4], line_ * 0.4);
    b_.Bold(false);
    b_.GotoY(b_.y() + line_ * 1.3);
  }

  void Header(PageBuilder& b) {
    head_.Print(b);
    b.NewLine();
    if (chartPage_) {
      b.Bold(false);
      return;
    }
    for (int k = 0; k < 3; ++k) b.NewLine();
    RowTabs(b);
    b.Underline(true);
    b.PrintTabbed("\t  #/Yr\tDate\tPayment\tPrincipal\tInterest\tBalance");
    b.Underline(false);
    b.Rule(left_, right_, line_ * 0.4);
    b.Bold(false);
    // The first row a little below the rule.
    b.GotoY(b.y() + line_ * 1.3);
  }

  void Footer(PageBuilder& b) {
    b.GotoY(setup_.paper.height - kReportBottomMargin);
    b.Bold(false);
    b.PrintLeft("Prepared For: " + footerName_, left_);
  }

  void Body() {
    const LocaleFormat& loc = setup_.money;
    const int tabs = static_cast<int>(s_.yearTabs().size());
    // Room a year's last row needs: itself, the gap at the rule and the two
    // totals lines.
    const double totalsGap = line_ * 0.3;
    for (int tab = 1; tab < tabs; ++tab) {
      const auto [first, last] = s_.SelectYear(tab);
      RowTabs(b_);
      for (int k = first; k <= last; ++k) {
        const bool fits = k < last ? b_.LinesLeft() >= 3
                                   : b_.y() + 2 * line_ + totalsGap <= b_.BodyBottom() + 1e-9;
        if (!fits) b_.NewPage();
        const ScheduleRow& r = s_.row(k);
        b_.PrintTabbed(Format("\t%s\t%s\t%m\t%m\t%m\t%m",
                              {std::string(r.periodLabel), FormatShortDate(r.date), r.payment,
                               r.principal, r.interest, r.balance},
                              loc));
        // The rule under the payment to interest columns, in the gap.
        if (k == last) b_.Rule(cols_.left[2] + cols_.width[2] * 0.25, cols_.left[4] + cols_.width[4], line_ * 0.4);
        Down(1);
      }
      TotalsTabs();
      b_.GotoY(b_.y() + totalsGap);
      b_.Bold(true);
      const YearTotals t = s_.Totals(first, last);
      const ScheduleRow& end = s_.row(last);
      b_.PrintTabbed(Format("\t%s\t%m\t%m\t%m",
                            {std::string("Annual Totals:"), t.payment, t.principal, t.interest}, loc));
      Down(1);
      b_.PrintTabbed(Format("\t%s\t%m\t%m\t%m",
                            {std::string("Running Totals:"), end.runPayment, end.runPrincipal,
                             end.runInterest},
                            loc));
      b_.Bold(false);
      Down(2);
    }
  }

  void ChartPage() {
    chartPage_ = true;
    b_.NewPage();
    Down(2);
    b_.Bold(true);
    b_.PrintCenter(kScheduleChartCaption, setup_.paper.width / 2);
    b_.Bold(false);
    const double top = b_.y() + line_;
    b_.Picture(PagePicture{left_, top, right_ - left_, b_.BodyBottom() - top, kScheduleChartPicture});
  }

  const Schedule& s_;
  const ScheduleReportTerms& terms_;
  const std::optional<Borrower>& borrower_;
  const ScheduleReportSetup& setup_;
  PageBuilder b_;
  const TableColumns cols_;
  const double left_, right_;
  double line_ = 0;
  RunningHead head_;
  bool chartPage_ = false;
  int frontPages_ = 1;  // page 1 and the pages its events go on to
  std::string footerName_;
};

}  // namespace

std::string BorrowerNameLine(const Borrower& b) {
  const std::string name = Joined(Trim(b.firstName), " ", Trim(b.lastName));
  return name.empty() ? Trim(b.business) : name;
}

std::string BorrowerCityLine(const Borrower& b) {
  const std::string city = Trim(b.city);
  if (city.empty()) return {};
  return Joined(Joined(city, ", ", Trim(b.state)), "  ", Trim(b.zip));
}

std::string BorrowerFooterName(const Borrower& b) { return CutCharacters(BorrowerNameLine(b), 50); }

const char* EventKindCaption(EventKind kind) {
  switch (kind) {
    case EventKind::Extra: return "Extra";
    case EventKind::Lump: return "Lump Sum";
    case EventKind::Rate: return "Rate";
    case EventKind::Holiday: return "Holiday";
  }
  return "";
}

const char* EventHowCaption(EventHow how) {
  switch (how) {
    case EventHow::ShorterTerm: return "Shorter Term";
    case EventHow::LowerPayment: return "Lower Payment";
    case EventHow::KeepTerm: return "Keep Term";
    case EventHow::KeepPayment: return "Keep Payment";
  }
  return "";
}

std::string EventPaymentsText(const ScheduleEvent& ev) {
  const std::string from = std::to_string(ev.from);
  if (ev.kind == EventKind::Lump || ev.kind == EventKind::Rate) return from;
  if (!ev.to) return "From " + from;
  return *ev.to == ev.from ? from : from + "-" + std::to_string(*ev.to);
}

ScheduleReportTerms ReportTermsOf(const ScheduleInputs& in) {
  ScheduleReportTerms t;
  t.amount = in.PV;
  t.rate = in.Rate;
  t.periods = in.NumPmts;
  t.points = in.Points;
  t.origination = in.OrgDate;
  t.firstPayment = in.FrstPmtDate;
  t.paymentPeriod = ItemText(PaymentPeriodItems(), in.PYR);
  t.compounding = ItemText(CompoundingPeriodItems(), in.CmpPYR);
  t.amortizing = ItemText(AmortizingMethodItems(), in.AmortMthd);
  t.rateBasis = ItemText(InterestBasisItems(), in.RateBasis);
  t.pointsPaid = ItemText(PointsPaidItems(), in.PointsPaidMthd);
  t.events = in.events;
  return t;
}

std::vector<Page> ScheduleReportPages(const Schedule& schedule, const ScheduleReportTerms& terms,
                                      const std::optional<Borrower>& borrower,
                                      const ScheduleReportSetup& setup) {
  return ReportLayout(schedule, terms, borrower, setup).Build();
}

}  // namespace brevika
