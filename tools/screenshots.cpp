// Saves a picture of each window after a worked example into a folder:
//   QT_QPA_PLATFORM=offscreen build/brevika-screenshots docs
// The pictures in docs/ and the README come from this.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <cstdio>
#include <functional>

#include "amortization/amort_records.h"
#include "amortization/ui/amort_window.h"
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
  {
    // The schedule of 100,000.00 over 30 years with 1.5 points and other
    // fees: its first year with the APR, then the chart page.
    AmortInputs inputs = NewAmortInputs(MakeDate(20, 12, 1996));
    AmortOptValues options;
    TcLoAmort w(&inputs, &options, &services);
    w.show();
    // Active, so that leaving a field shows it formatted.
    w.activateWindow();
    QTest::qWaitForWindowActive(&w);
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
  return ok ? 0 : 1;
}
