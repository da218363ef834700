// Saves a picture of each window after a worked example into a folder:
//   QT_QPA_PLATFORM=offscreen build/brevika-screenshots docs
// The pictures in docs/ and the README come from this.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>

#include "amortization/ui/schedule_report_pdf.h"
#include "calculators/transfer_records.h"
#include "calculators/ui/accel_window.h"
#include "calculators/ui/balloon_window.h"
#include "calculators/ui/intdue_window.h"
#include "calculators/ui/loan_window.h"
#include "calculators/ui/refi_window.h"
#include "calculators/ui/rembal_window.h"
#include "components/app_services.h"

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
  bool ok = true;
  for (int page : {1, 2}) {
    const QString base = dir.filePath(QStringLiteral("schedule-report-%1").arg(page));
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
    TcLoLoan w(records.Loan(), 1, &services);
    w.show();
    Type(&w, "PV", "100000");
    Type(&w, "NumPmts", "360");
    Type(&w, "Rate", "7.5");
    Type(&w, "Pmt", "0");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "loan-calculator.png") && ok;
  }
  {
    TcLoIntDu w(records.InterestDue(MakeDate(1, 1, 2026), LocaleWeekdayNames()), 1, &services);
    w.show();
    Type(&w, "PV", "10000");
    Type(&w, "Rate", "7.5");
    Type(&w, "StartDate", "01/01/2026");
    Type(&w, "NumDays", "365");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "interest-due-calculator.png") && ok;
  }
  {
    TcLoRemBl w(records.RemainingBalance(), 1, &services);
    w.show();
    Type(&w, "PV", "100000");
    Type(&w, "NumPmts", "360");
    Type(&w, "Rate", "7.5");
    Type(&w, "IncPer", "12");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "remaining-balance-calculator.png") && ok;
  }
  {
    TcLoAccel w(records.Accelerated(), 1, &services);
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
    TcLoBallP w(records.Balloon(), 1, &services);
    w.show();
    Type(&w, "PV", "10000");
    Type(&w, "Rate", "12");
    Type(&w, "PerDue", "12");
    Type(&w, "BallPmt", "5000");
    Click(&w, "CalcBTN");
    ok = Save(&w, dir, "balloon-payment-calculator.png") && ok;
  }
  {
    TcLoReFin w(records.Refinance(), 1, &services);
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
  ok = SaveReportPages(dir) && ok;
  return ok ? 0 : 1;
}
