// Saves a picture of each window after a worked example into a folder:
//   QT_QPA_PLATFORM=offscreen build/brevika-screenshots docs
// The pictures in docs/ and the README come from this.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <memory>

#include "amortization/ui/schedule_report_pdf.h"
#include "amortization/amort_records.h"
#include "amortization/ui/amort_window.h"
#include "amortization/ui/compare_window.h"
#include "amortization/ui/events_dialog.h"
#include "calculators/transfer_records.h"
#include "calculators/ui/accel_window.h"
#include "calculators/ui/balloon_window.h"
#include "calculators/ui/intdue_window.h"
#include "calculators/ui/loan_window.h"
#include "calculators/ui/refi_window.h"
#include "calculators/ui/rembal_window.h"
#include "calculators/ui/til_window.h"
#include "components/app_services.h"
#include "components/locale_info.h"
#include "components/page_painter.h"
#include "records/loan_records.h"
#include "records/ui/ledger_models.h"
#include "records/ui/ledger_window.h"
#include "records/ui/loan_info_dialog.h"

namespace brevika {
namespace {

class ShotServices : public AppServices {
 public:
  void ShowHelp(int) override {}
  bool ShowHints() const override { return false; }
  bool SavePositions() const override { return false; }
  void SavePosition(QWidget*) override {}
  void RestorePosition(QWidget*) override {}
  QFont PrinterFont() const override { return QFont(QStringLiteral("Liberation Mono"), 10); }
};

void Type(QWidget* w, const char* field, const char* text) {
  auto* f = w->findChild<QLineEdit*>(QString::fromLatin1(field));
  if (!f) return;
  f->setFocus();
  f->selectAll();
  QTest::keyClicks(f, QString::fromLatin1(text));
}

void Click(QWidget* w, const char* button) {
  if (auto* b = w->findChild<QPushButton*>(QString::fromLatin1(button))) b->click();
}

// A small book of accounts for the loan information dialog: John Smith
// with two saved loans, and two more accounts.
bool FillLoanBook(const std::string& folder) {
  Outcome o;
  auto r = records::LoanRecords::Open(folder, o);
  if (!r) return false;
  auto account = [&](const char* last, const char* first, const char* address, const char* city,
                     const char* state, const char* zip, const char* phone) {
    records::Account a;
    a.lastName = last;
    a.firstName = first;
    a.address1 = address;
    a.city = city;
    a.state = state;
    a.zip = zip;
    a.country = "USA";
    a.phone1 = phone;
    return r->AddAccount(a, records::IdMode::Generate).ok();
  };
  bool ok = account("Smith", "John", "12 Harbour Road", "Portland", "ME", "04101", "207-555-0143") &&
            account("Jones", "Mary", "4 Elm Street", "Salem", "MA", "01970", "978-555-0190") &&
            account("Baker", "Ann", "77 Mill Lane", "Concord", "NH", "03301", "603-555-0112");
  auto loan = [&](const char* collateral, double amount, int periods, float rate, Date org, Date first) {
    ScheduleInputs in;
    in.PV = amount;
    in.NumPmts = static_cast<std::uint16_t>(periods);
    in.Rate = rate;
    in.OrgDate = org;
    in.FrstPmtDate = first;
    Schedule s;
    if (!s.Calculate(in).ok()) return false;
    records::Loan l;
    l.collateral = collateral;
    l.propAddress = "12 Harbour Road";
    l.propCity = "Portland";
    l.propState = "ME";
    l.propZip = "04101";
    l.propCountry = "USA";
    l.terms.amount = amount;
    l.terms.term = static_cast<std::uint16_t>(periods);
    l.terms.rate = rate;
    l.terms.origDate = org;
    l.terms.firstPmtDate = first;
    return r->SaveNewLoan("SMITJOH001", l, s).ok();
  };
  ok = ok && loan("House", 100000, 360, 7.5f, MakeDate(1, 1, 1997), MakeDate(1, 2, 1997)) &&
       loan("Boat", 18500, 60, 9.25f, MakeDate(15, 4, 2024), MakeDate(15, 5, 2024));
  return ok;
}

// Keys as the window system delivers them: to the focused control of the
// (active) window, a cell editor included.
void Keys(QWidget* w, const char* text) {
  for (const char* c = text; *c; ++c) QTest::keyClick(w->windowHandle(), *c);
}

bool Save(QWidget* w, const QDir& dir, const char* file) {
  if (auto* calc = w->findChild<QPushButton*>(QStringLiteral("CalcBTN"))) calc->setFocus();
  QApplication::processEvents();
  const bool ok = w->grab().save(dir.filePath(QString::fromLatin1(file)));
  std::printf("%s %s\n", ok ? "saved" : "FAILED", dir.filePath(QString::fromLatin1(file)).toUtf8().constData());
  return ok;
}

// Pages 1 and 2 of the schedule report of a 30-year loan tied to an
// account, drawn from its PDF by pdftoppm.
bool SaveReportPages(const QDir& dir) {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  Schedule schedule;
  if (schedule.Calculate(in).refused) return false;
  Borrower b;
  b.firstName = "John";
  b.lastName = "Smith";
  b.address1 = "12 Elm Street";
  b.city = "Springfield";
  b.state = "IL";
  b.zip = "62701";
  b.phone = "217-555-0100";
  ScheduleReportSetup setup;
  setup.fontName = "Liberation Mono";
  setup.today = MakeDate(15, 3, 2024);
  QTemporaryDir tmp;
  const QString pdf = tmp.filePath(QStringLiteral("report.pdf"));
  std::string error;
  if (!WriteScheduleReportPdf(schedule, ReportTermsOf(in), b, setup, pdf.toStdString(), error)) {
    std::printf("FAILED schedule report: %s\n", error.c_str());
    return false;
  }
  // Pages 1 and 2, and the last page: the chart.
  const int last = static_cast<int>(ScheduleReportPages(schedule, ReportTermsOf(in), b, setup).size());
  bool ok = true;
  for (int page : {1, 2, last}) {
    const QString base = page == last ? dir.filePath(QStringLiteral("schedule-report-chart"))
                                      : dir.filePath(QStringLiteral("schedule-report-%1").arg(page));
    const int rc = QProcess::execute(QStringLiteral("pdftoppm"),
                                     {QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-png"),
                                      QStringLiteral("-singlefile"), QStringLiteral("-f"),
                                      QString::number(page), QStringLiteral("-l"), QString::number(page),
                                      pdf, base});
    std::printf("%s %s.png\n", rc == 0 ? "saved" : "FAILED", base.toUtf8().constData());
    ok = rc == 0 && ok;
  }
  return ok;
}

}  // namespace
}  // namespace brevika

int main(int argc, char** argv) {
  using namespace brevika;
  QApplication app(argc, argv);
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
  ShotServices services;
  TransferRecords records;
  bool ok = true;

  {
    TcLoLoan w(records.Get(LoanKind()), 1, &services);
    w.show();
    Type(&w, "PV", "100000");
    Type(&w, "NumPmts", "360");
    Type(&w, "Rate", "7.5");
    Type(&w, "Pmt", "0");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "loan-calculator.png") && ok;
  }
  {
    TcLoIntDu w(records.Get(IntDueKind(), KindContext{MakeDate(1, 1, 2026), LocaleWeekdayNames()}), 1, &services);
    w.show();
    Type(&w, "PV", "10000");
    Type(&w, "Rate", "7.5");
    Type(&w, "StartDate", "01/01/2026");
    Type(&w, "NumDays", "365");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "interest-due-calculator.png") && ok;
  }
  {
    TcLoRemBl w(records.Get(RemBalKind()), 1, &services);
    w.show();
    Type(&w, "PV", "100000");
    Type(&w, "NumPmts", "360");
    Type(&w, "Rate", "7.5");
    Type(&w, "IncPer", "12");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "remaining-balance-calculator.png") && ok;
  }
  {
    TcLoAccel w(records.Get(AccelKind()), 1, &services);
    w.show();
    Type(&w, "PV", "100000");
    Type(&w, "NumPmts", "360");
    Type(&w, "Rate", "7.5");
    Type(&w, "IncPer", "12");
    Type(&w, "ExtraPd", "100");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "accelerated-payment-calculator.png") && ok;
  }
  {
    TcLoBallP w(records.Get(BalloonKind()), 1, &services);
    w.show();
    Type(&w, "PV", "10000");
    Type(&w, "Rate", "12");
    Type(&w, "PerDue", "12");
    Type(&w, "BallPmt", "5000");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "balloon-payment-calculator.png") && ok;
  }
  {
    TcLoReFin w(records.Get(RefinanceKind()), 1, &services);
    w.show();
    Type(&w, "RemBal", "100000");
    Type(&w, "PmtsRem", "300");
    Type(&w, "Rate", "9");
    Type(&w, "NewPV", "100000");
    Type(&w, "NumPmts", "360");
    Type(&w, "Rate2", "7");
    Type(&w, "Points", "2");
    Type(&w, "Misc", "1500");
    Type(&w, "SldAfter", "7");
    Type(&w, "ProTaxBracket", "28");
    Type(&w, "DiscRate", "5");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "refinance-advisor-results.png") && ok;
    Click(&w, "BitBtn1");
    ok = Save(&w, dir, "refinance-advisor-entry.png") && ok;
  }
  {
    // Three offers for 300,000.00 kept 7 years: 1 point and fees at 6.5 %,
    // nothing up front at 6.875 %, and 15 years at 5.75 % with 2 points.
    TcLoCompare w(records.Get(CompareKind()), 1, &services);
    w.show();
    Click(&w, "AddBTN");
    const char* terms[][5] = {{"300000", "360", "6.5", "1", "2500"},
                              {"300000", "360", "6.875", "0", "0"},
                              {"300000", "180", "5.75", "2", "0"}};
    for (int k = 0; k < 3; ++k) {
      const std::string n = std::to_string(k + 1);
      Type(&w, ("PV" + n).c_str(), terms[k][0]);
      Type(&w, ("NumPmts" + n).c_str(), terms[k][1]);
      Type(&w, ("Rate" + n).c_str(), terms[k][2]);
      Type(&w, ("Points" + n).c_str(), terms[k][3]);
      Type(&w, ("Fees" + n).c_str(), terms[k][4]);
    }
    Type(&w, "Horizon", "7");
    Type(&w, "DiscRate", "0");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "compare-loans-results.png") && ok;
    Click(&w, "BitBtn1");
    ok = Save(&w, dir, "compare-loans-entry.png") && ok;
    // Its printed page, from a PDF.
    QTemporaryDir tmp;
    const QString pdf = tmp.filePath(QStringLiteral("compare.pdf"));
    const QFont font = services.PrinterFont();
    const bool printed = PrintPagesToPdf(
        pdf, ComparePage("Compare Loans 1", *records.Get(CompareKind()), font.family().toStdString(), font.pointSize()),
        QStringLiteral("Compare Loans 1"), font);
    const QString base = dir.filePath(QStringLiteral("compare-loans-page"));
    const int rc = printed ? QProcess::execute(QStringLiteral("pdftoppm"),
                                               {QStringLiteral("-r"), QStringLiteral("80"), QStringLiteral("-png"),
                                                QStringLiteral("-singlefile"), pdf, base})
                           : 1;
    std::printf("%s %s.png\n", rc == 0 ? "saved" : "FAILED", base.toUtf8().constData());
    ok = rc == 0 && ok;
  }
  {
    // A construction loan: 60,000.00 less a 600.00 fee advanced in two
    // draws, interest-only payments while it is built, then 360 monthly
    // payments; the lender disclosed 7.10 %. Typed into the grids.
    TcLoTIL w(records.Get(TilKind()), 1, &services);
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) std::printf("window not active\n");
    w.Advances->setFocus();
    Keys(&w, "39400\t03/01/2025\t20000\t06/01/2025\r");
    w.Payments->setFocus();
    Keys(&w, "3\t233.33\t04/01/2025\t\t3\t350\t07/01/2025\t\t360\t399.18\t10/01/2025\r");
    Type(&w, "Disclosed", "7.1");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "truth-in-lending.png") && ok;
  }
  {
    // The schedule of 100,000.00 over 30 years with 1.5 points and other
    // fees: its first year with the APR, then the chart page.
    AmortInputs inputs = NewAmortInputs(MakeDate(20, 12, 1996));
    AmortOptValues options;
    TcLoAmort w(&inputs, &options, &services);
    // Its Truth in Lending item opens the calculator on the schedule's loan.
    std::unique_ptr<TcLoTIL> til;
    w.SetTruthInLendingOpener([&](QWidget*, const TilRecord& loan) {
      TilRecord* rec = records.Get(TilKind());
      ResetTil(*rec);
      rec->Advances = loan.Advances;
      rec->Payments = loan.Payments;
      til = std::make_unique<TcLoTIL>(rec, 2, &services);
      til->show();
      return true;
    });
    w.show();
    // Active, so that leaving a field shows it formatted.
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) std::printf("window not active\n");
    Type(&w, "PV", "100000");
    Type(&w, "NumPmts", "360");
    Type(&w, "OrgDate", "01/01/97");
    Type(&w, "FrstPmtDate", "02/01/97");
    Type(&w, "Points", "1.5");
    Type(&w, "OtherFees", "450");
    Type(&w, "Rate", "7.5");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "amortization-schedule.png") && ok;
    w.Pages->setCurrentIndex(1);
    ok = Save(&w, dir, "amortization-chart.png") && ok;
  }
  {
    // What-if events on 100,000.00 over 30 years at 7.5 %: the events list,
    // one event in its dialog, the schedule of 1998 with the rows that
    // carry an event marked and what they save, and the chart with both
    // balances.
    const std::vector<ScheduleEvent> events = {
        {EventKind::Extra, 13, 60, 100, 0, EventHow::ShorterTerm},
        {EventKind::Lump, 60, std::nullopt, 10000, 0, EventHow::ShorterTerm},
        {EventKind::Rate, 61, std::nullopt, 0, 6.25f, EventHow::KeepTerm},
        {EventKind::Holiday, 100, 102, 0, 0, EventHow::KeepTerm}};
    const PaymentDates dates{MakeDate(1, 2, 1997), 12};
    {
      TEventList list(events, dates, &services);
      list.show();
      ok = Save(&list, dir, "amortization-events.png") && ok;
    }
    {
      TEventEdit edit(events[1], dates, &services);
      edit.show();
      ok = Save(&edit, dir, "amortization-event.png") && ok;
    }
    AmortInputs inputs = NewAmortInputs(MakeDate(20, 12, 1996));
    inputs.events = events;
    AmortOptValues options;
    TcLoAmort w(&inputs, &options, &services);
    w.show();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w)) std::printf("window not active\n");
    Type(&w, "PV", "100000");
    Type(&w, "NumPmts", "360");
    Type(&w, "OrgDate", "01/01/97");
    Type(&w, "FrstPmtDate", "02/01/97");
    Type(&w, "Rate", "7.5");
    Click(&w, "CalcBTN");
    Click(&w, "NextBTN");
    ok = Save(&w, dir, "amortization-schedule-events.png") && ok;
    w.Pages->setCurrentIndex(1);
    ok = Save(&w, dir, "amortization-chart-events.png") && ok;
  }
  {
    // The four steps of the loan information dialog, saving into John Smith's house loan.
    QTemporaryDir tables;
    const std::string folder = QFile::encodeName(tables.path()).toStdString();
    ok = FillLoanBook(folder) && ok;
    TLoanInfo d(folder, TLoanInfo::SaveMode, &services);
    d.show();
    Type(&d, "Search", "SMIT");
    ok = Save(&d, dir, "loan-info-1-accounts.png") && ok;
    Click(&d, "NextBTN");
    ok = Save(&d, dir, "loan-info-2-account.png") && ok;
    Click(&d, "NextBTN");
    ok = Save(&d, dir, "loan-info-3-loans.png") && ok;
    Click(&d, "NextBTN");
    ok = Save(&d, dir, "loan-info-4-loan.png") && ok;
  }
  {
    // The payment ledger of John Smith's boat loan (18,500.00 at 9.25 %
    // over 60 months, first payment 05/15/2024): on time, one payment ten
    // days late, one with 200.00 more, one missed and made up, as of
    // 03/20/2025.
    QTemporaryDir tables;
    const std::string folder = QFile::encodeName(tables.path()).toStdString();
    ok = FillLoanBook(folder) && ok;
    {
      Outcome o;
      auto r = records::LoanRecords::Open(folder, o);
      const double pmt = 386.28;
      std::vector<records::ActualPayment> pays;
      for (int k = 0; k < 10; ++k) {
        const int month = 5 + k;
        Date d = MakeDate(15, (month - 1) % 12 + 1, 2024 + (month - 1) / 12);
        if (k == 3) d += 10;
        if (k == 8) continue;
        pays.push_back({d, k == 5 ? pmt + 200 : k == 9 ? 2 * pmt : pmt, k == 3 ? "check 1104, late" : ""});
      }
      ok = r && r->AddPayments("2", pays).ok() && ok;
    }
    TLedger w(folder, "2", &services);
    w.AsOf->setValue(MakeDate(20, 3, 2025));
    w.PayoffDate->setValue(MakeDate(31, 3, 2025));
    // The last payment made, in the middle of the grid.
    const int last = w.model()->GridRowOfPayment(8);
    w.PaymentsGrid->setCurrentIndex(w.model()->index(last, 0));
    w.show();
    w.PaymentsGrid->scrollTo(w.model()->index(last, 0), QAbstractItemView::PositionAtCenter);
    ok = Save(&w, dir, "payment-ledger.png") && ok;
    w.Pages->setCurrentIndex(TLedger::kChartPage);
    ok = Save(&w, dir, "payment-ledger-chart.png") && ok;
  }
  ok = SaveReportPages(dir) && ok;
  return ok ? 0 : 1;
}
