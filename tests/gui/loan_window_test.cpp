// The loan calculator window as a user drives it: typing, Calc, refusals,
// two windows on one record, Undo, Reset, Copy, Print, Help and Close.
#include <gtest/gtest.h>

#include "support/loan_example.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

#include "calculators/ui/loan_window.h"
#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "components/page_painter.h"
#include "gui_test_util.h"

namespace brevika {
namespace {

class LoanWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = NewLoanRecord();
    SetMessageHandler([this](QWidget*, const Message& m) { messages_.push_back(m); });
  }
  void TearDown() override {
    for (auto& w : windows_)
      if (w) delete w.data();
    SetMessageHandler(nullptr);
    SetPrintHandler(nullptr);
    SetLocaleInfoOverride(std::nullopt);
  }

  TcLoLoan* Open(int slot) {
    auto* w = new TcLoLoan(&record_, slot, &services_);
    windows_.emplace_back(w);
    w->show();
    return w;
  }

  template <typename T>
  static T* Child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  static void Type(QWidget* w, const char* field, const QString& keys) {
    auto* f = Child<QLineEdit>(w, field);
    f->selectAll();
    QTest::keyClicks(f, keys);
  }
  static void Click(QWidget* w, const char* button) {
    QTest::mouseClick(Child<QPushButton>(w, button), Qt::LeftButton);
  }
  static void Choose(QWidget* w, const char* list, int index) {
    Child<QComboBox>(w, list)->setCurrentIndex(index);
  }
  // Types the example loan: 100 000 over 360 months at 7.5 %, payment unknown.
  static void EnterExample(QWidget* w) {
    Type(w, "PV", "100000");
    Type(w, "NumPmts", "360");
    Type(w, "Rate", "7.5");
    Type(w, "Pmt", "0");
  }

  LoanRecord record_;
  TestServices services_;
  std::vector<Message> messages_;
  std::vector<QPointer<TcLoLoan>> windows_;
};

TEST_F(LoanWindowTest, ControlsCaptionsAndHelpContexts) {
  TcLoLoan* w = Open(2);
  EXPECT_EQ(w->windowTitle(), "Loan Calculator 2");
  EXPECT_TRUE(w->testAttribute(Qt::WA_DeleteOnClose));
  EXPECT_FALSE(w->isModal());
  EXPECT_TRUE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(w->minimumSize(), w->maximumSize());  // fixed size

  const char* buttons[][2] = {{"CalcBTN", "&Calc"}, {"CloseBTN", "Close"}, {"HelpBTN", "&Help"},
                              {"PrintBTN", "&Print"}, {"CopyBTN", "Cop&y"}, {"ResetBTN", "R&eset"},
                              {"UndoBTN", "&Undo"}};
  for (auto& b : buttons) EXPECT_EQ(Child<QPushButton>(w, b[0])->text(), b[1]);

  const struct {
    const char* field;
    const char* label;
    const char* caption;
    int help;
  } rows[] = {{"PV", "lPV", "&Amount of Loan?:", 1},
              {"NumPmts", "lNumPmts", "&Total Periods? (#):", 97},
              {"Rate", "lRate", "Annual &Rate? (%):", 9},
              {"Pmt", "lPmt", "Periodic Payment:", 11},
              {"PYR", "lPYR", "Payme&nt Period?:", 16},
              {"CmpPYR", "lCmpPYR", "Compounding Perio&d?:", 13},
              {"PmtMthd", "lPmtMthd", "Payment &Method?:", 25},
              {"AmortMthd", "lAmortMthd", "Amorti&zing Method?:", 14},
              {"TotInt", "lTotInt", "Total Interest:", 0}};
  for (const auto& r : rows) {
    auto* field = Child<QWidget>(w, r.field);
    auto* label = Child<QLabel>(w, r.label);
    EXPECT_EQ(label->text(), r.caption);
    EXPECT_EQ(label->buddy(), field) << r.field;
    EXPECT_EQ(HelpContextOf(field), r.help) << r.field;
  }
  EXPECT_EQ(Child<QLabel>(w, "lHint")->text(), "Enter a zero '0' for unknown value.");
  EXPECT_EQ(Child<QWidget>(w, "TotInt")->focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(Child<QLineEdit>(w, "TotInt")->isReadOnly());

  const std::pair<const char*, int> buttonHelp[] = {{"CalcBTN", 21}, {"CloseBTN", 0}, {"HelpBTN", 24},
                                                    {"PrintBTN", 26}, {"CopyBTN", 30},
                                                    {"ResetBTN", 19}, {"UndoBTN", 28}};
  for (auto& [name, ctx] : buttonHelp) EXPECT_EQ(HelpContextOf(Child<QWidget>(w, name)), ctx);

  // Initial lists: Monthly, Monthly, Arrears, Normal.
  EXPECT_EQ(Child<QComboBox>(w, "PYR")->currentText(), "Monthly");
  EXPECT_EQ(Child<QComboBox>(w, "CmpPYR")->currentText(), "Monthly");
  EXPECT_EQ(Child<QComboBox>(w, "CmpPYR")->count(), 9);
  EXPECT_EQ(Child<QComboBox>(w, "PmtMthd")->currentText(), "Arrears");
  EXPECT_EQ(Child<QComboBox>(w, "AmortMthd")->currentText(), "Normal");
}

TEST_F(LoanWindowTest, CalcSolvesThePayment) {
  TcLoLoan* w = Open(1);
  EnterExample(w);
  Click(w, "CalcBTN");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // busy cursor restored
  auto* pmt = Child<MoneyField>(w, "Pmt");
  auto* totInt = Child<MoneyField>(w, "TotInt");
  EXPECT_DOUBLE_EQ(pmt->value(), 699.21);
  EXPECT_EQ(totInt->text(), "$151,715.60");
  EXPECT_NEAR(totInt->value(), 151715.60, 1e-6);
  EXPECT_EQ(pmt->text(), "$699.21");
  EXPECT_EQ(Child<MoneyField>(w, "PV")->text(), "$100,000.00");
  EXPECT_EQ(Child<RateField>(w, "Rate")->text(), "7.5000");
  EXPECT_DOUBLE_EQ(record_.Pmt, 699.21);
  EXPECT_EQ(record_.NumPmts, 360);

  // Advance payments: the first payment falls on the day the loan starts.
  Choose(w, "PmtMthd", static_cast<int>(PaymentMethod::Advance));
  Type(w, "Pmt", "0");
  Click(w, "CalcBTN");
  EXPECT_DOUBLE_EQ(Child<MoneyField>(w, "Pmt")->value(), 694.87);

  // And back: solve the rate of the rounded payment.
  Choose(w, "PmtMthd", static_cast<int>(PaymentMethod::Arrears));
  Type(w, "Pmt", "699.21");
  Type(w, "Rate", "0");
  Click(w, "CalcBTN");
  EXPECT_TRUE(messages_.empty());
  EXPECT_FLOAT_EQ(Child<RateField>(w, "Rate")->value(), 7.49993f);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(LoanWindowTest, KeyboardOnly) {
  TcLoLoan* w = Open(1);
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  auto typeHere = [](const QString& keys) { QTest::keyClicks(QApplication::focusWidget(), keys); };
  auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(w, "PV"));
  typeHere("100000");  // the field opens with its value selected
  tab();
  EXPECT_EQ(Child<MoneyField>(w, "PV")->text(), "$100,000.00");
  typeHere("360");
  tab();
  typeHere("7.5");
  tab();
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(w, "Pmt"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // Enter calculates
  EXPECT_TRUE(messages_.empty());
  EXPECT_DOUBLE_EQ(Child<MoneyField>(w, "Pmt")->value(), 699.21);
  EXPECT_EQ(Child<MoneyField>(w, "Pmt")->text(), "699.21");  // still being edited

  // Alt+T goes to the total periods; Alt+C calculates from anywhere.
  QTest::keyClick(w, Qt::Key_T, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(w, "NumPmts"));
  typeHere("180");
  QTest::keyClick(w, Qt::Key_Z, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(w, "AmortMthd"));
  Type(w, "Pmt", "0");
  // A button's accelerator clicks it after a short animation.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Child<MoneyField>(w, "Pmt")->value() != 0; }, 2000));
  EXPECT_TRUE(messages_.empty());
  EXPECT_DOUBLE_EQ(Child<MoneyField>(w, "Pmt")->value(), 927.01);
  EXPECT_EQ(Child<MoneyField>(w, "Pmt")->text(), "$927.01");
}

TEST_F(LoanWindowTest, RefusalsKeepWhatWasTyped) {
  TcLoLoan* w = Open(1);
  Type(w, "NumPmts", "360");
  Type(w, "Rate", "7.5");
  Click(w, "CalcBTN");  // amount and payment both zero
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "Too many unknowns. Please try again.");
  EXPECT_EQ(messages_[0].box, BoxType::Warning);
  EXPECT_EQ(Child<CountField>(w, "NumPmts")->value(), 360);
  EXPECT_FLOAT_EQ(Child<RateField>(w, "Rate")->value(), 7.5f);

  // Rate unknown with quarterly compounding of monthly payments.
  Type(w, "PV", "100000");
  Type(w, "Pmt", "699.21");
  Type(w, "Rate", "0");
  Choose(w, "CmpPYR", kQuarterly);
  Click(w, "CalcBTN");
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1].text,
            "When solving for Annual Rate,\n\npayment period and compounding period must be "
            "equal.\n\nPlease Try Again");
  EXPECT_FLOAT_EQ(Child<RateField>(w, "Rate")->value(), 0.0f);
}

TEST_F(LoanWindowTest, RefusalIsAWarningBoxWithOk) {
  SetMessageHandler(nullptr);  // the real message box
  TcLoLoan* w = Open(1);
  Type(w, "PV", "100000");
  Type(w, "NumPmts", "360");
  Type(w, "Rate", "7.5");
  Type(w, "Pmt", "699.21");
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = true;
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    box->button(QMessageBox::Ok)->click();
  });
  Click(w, "CalcBTN");
  ASSERT_TRUE(seen);
  EXPECT_EQ(title, "Warning");
  EXPECT_EQ(text, "No unknown values. Please try again.");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST_F(LoanWindowTest, CanadianSwitchesTheListsVisibly) {
  TcLoLoan* w = Open(1);
  EnterExample(w);
  Choose(w, "PYR", 0);  // Weekly
  Choose(w, "CmpPYR", kDaily);
  Choose(w, "AmortMthd", static_cast<int>(AmortMethod::Canadian));
  Click(w, "CalcBTN");
  EXPECT_EQ(Child<QComboBox>(w, "PYR")->currentText(), "Monthly");
  EXPECT_EQ(Child<QComboBox>(w, "CmpPYR")->currentText(), "SemiAnnually");
  // 7.5 % compounded half-yearly is 7.3854 % nominal monthly.
  EXPECT_DOUBLE_EQ(Child<MoneyField>(w, "Pmt")->value(), 691.39);
}

TEST_F(LoanWindowTest, SecondWindowSharesTheRecordAndUndoDiscardsEdits) {
  TcLoLoan* first = Open(1);
  EnterExample(first);
  Click(first, "CalcBTN");

  TcLoLoan* second = Open(2);
  EXPECT_DOUBLE_EQ(Child<MoneyField>(second, "PV")->value(), 100000.0);
  EXPECT_EQ(Child<CountField>(second, "NumPmts")->value(), 360);
  EXPECT_DOUBLE_EQ(Child<MoneyField>(second, "Pmt")->value(), 699.21);
  EXPECT_EQ(Child<MoneyField>(second, "TotInt")->text(), "$151,715.60");

  Type(second, "PV", "5");
  Choose(second, "PYR", 4);
  Click(second, "UndoBTN");
  EXPECT_DOUBLE_EQ(Child<MoneyField>(second, "PV")->value(), 100000.0);
  EXPECT_EQ(Child<QComboBox>(second, "PYR")->currentText(), "Monthly");

  // Copy stores the controls in the record; Undo in the other window shows them.
  Type(second, "PV", "250000");
  Click(second, "CopyBTN");
  Click(first, "UndoBTN");
  EXPECT_DOUBLE_EQ(Child<MoneyField>(first, "PV")->value(), 250000.0);
}

TEST_F(LoanWindowTest, ResetKeepsTheTotalInterest) {
  TcLoLoan* w = Open(1);
  EnterExample(w);
  Choose(w, "AmortMthd", static_cast<int>(AmortMethod::RuleOf78));
  Choose(w, "PmtMthd", static_cast<int>(PaymentMethod::Advance));
  Click(w, "CalcBTN");
  const double interest = Child<MoneyField>(w, "TotInt")->value();
  Click(w, "ResetBTN");
  EXPECT_EQ(Child<MoneyField>(w, "PV")->value(), 0.0);
  EXPECT_EQ(Child<CountField>(w, "NumPmts")->value(), 0);
  EXPECT_EQ(Child<RateField>(w, "Rate")->value(), 0.0f);
  EXPECT_EQ(Child<MoneyField>(w, "Pmt")->value(), 0.0);
  EXPECT_EQ(Child<QComboBox>(w, "PmtMthd")->currentText(), "Arrears");
  EXPECT_EQ(Child<QComboBox>(w, "AmortMthd")->currentText(), "Normal");
  EXPECT_DOUBLE_EQ(Child<MoneyField>(w, "TotInt")->value(), interest);
  EXPECT_NE(interest, 0.0);
}

TEST_F(LoanWindowTest, CopyPutsTheAlignedLinesOnTheClipboard) {
  TcLoLoan* w = Open(1);
  EnterExample(w);
  Click(w, "CalcBTN");
  QGuiApplication::clipboard()->setText("something else");
  Click(w, "CopyBTN");
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            testing::LoanExampleCopyText("Loan Calculator 1"));
}

TEST_F(LoanWindowTest, CountryCode49UsesItsMaskAndFormat) {
  LocaleInfo de;
  de.countryCode = 49;
  de.format.currencySymbol = "\xE2\x82\xAC";
  de.format.symbolBefore = false;
  de.format.symbolSpaced = true;
  de.format.thousands = ".";
  de.format.decimal = ",";
  SetLocaleInfoOverride(de);
  TcLoLoan* w = Open(1);
  for (const char* name : {"PV", "Pmt", "TotInt"})
    EXPECT_EQ(Child<MoneyField>(w, name)->mask(), "#,###,###.##CCC") << name;
  Type(w, "PV", "100000");
  Type(w, "NumPmts", "360");
  Type(w, "Rate", "7,5");
  Click(w, "CalcBTN");
  EXPECT_EQ(Child<MoneyField>(w, "TotInt")->text(), QString::fromUtf8("151.715,60 \xE2\x82\xAC"));
  Click(w, "CopyBTN");
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.contains(QString::fromUtf8(
      "Periodic Payment:                699,21 \xE2\x82\xAC\r\n")))
      << copied.toStdString();

  SetLocaleInfoOverride(std::nullopt);
  LocaleInfo us;
  SetLocaleInfoOverride(us);
  EXPECT_EQ(Child<MoneyField>(Open(2), "PV")->mask(), "$###,###,###.##");
}

TEST_F(LoanWindowTest, PrintShowsCaptionAndRows) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath("loan.pdf");
  QFont usedFont;
  SetPrintHandler([&](QWidget*, const std::vector<Page>& pages, const QString& title,
                      const QFont& font) {
    usedFont = font;
    return PrintPagesToPdf(pdf, pages, title, font);
  });
  services_.font = QFont(QStringLiteral("DejaVu Sans Mono"), 12);
  TcLoLoan* w = Open(1);
  EnterExample(w);
  Click(w, "CalcBTN");
  Click(w, "PrintBTN");
  EXPECT_EQ(usedFont.family(), "DejaVu Sans Mono");
  EXPECT_EQ(usedFont.pointSize(), 12);
  ASSERT_TRUE(QFile::exists(pdf));

  QProcess p;
  p.start("pdftotext", {"-layout", pdf, "-"});
  ASSERT_TRUE(p.waitForFinished(20000));
  const QString text = QString::fromUtf8(p.readAllStandardOutput());
  EXPECT_TRUE(text.contains("Loan Calculator 1")) << text.toStdString();
  const char* patterns[] = {
      R"(Amount of Loan\?:\s+\$100,000\.00)", R"(Total Periods\? \(#\):\s+360)",
      R"(Annual Rate\? \(%\):\s+7\.5000)",    R"(Periodic Payment:\s+\$699\.21)",
      R"(Payment Period\?:\s+Monthly)",       R"(Compounding Period\?:\s+Monthly)",
      R"(Payment Method\?:\s+Arrears)",       R"(Amortizing Method\?:\s+Normal)",
      R"(Total Interest:\s+\$151,715\.60)"};
  qsizetype at = text.indexOf("Loan Calculator 1");
  for (const char* pattern : patterns) {
    const QRegularExpression re(QString::fromLatin1(pattern));
    const qsizetype found = text.indexOf(re, at);
    EXPECT_GT(found, at) << pattern;  // each row below the one before
    if (found > at) at = found;
  }
  EXPECT_FALSE(text.contains("&"));
}

TEST_F(LoanWindowTest, HelpAndF1) {
  TcLoLoan* w = Open(1);
  Click(w, "HelpBTN");
  ASSERT_EQ(services_.helpRequests.size(), 1u);
  EXPECT_EQ(services_.helpRequests[0], 125);

  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  Child<QWidget>(w, "NumPmts")->setFocus();
  QTest::keyClick(w, Qt::Key_F1);
  Child<QWidget>(w, "AmortMthd")->setFocus();
  QTest::keyClick(w, Qt::Key_F1);
  Child<QWidget>(w, "CloseBTN")->setFocus();
  QTest::keyClick(w, Qt::Key_F1);
  EXPECT_EQ(services_.helpRequests, (std::vector<int>{125, 97, 14, 0}));
}

TEST_F(LoanWindowTest, CloseSavesPositionAndFreesTheSlot) {
  services_.savePositions = true;
  TcLoLoan* w = Open(2);
  EXPECT_EQ(services_.restores, 1);
  QSignalSpy closed(w, &CalcWindow::windowClosed);
  QPointer<TcLoLoan> alive(w);
  QTest::keyClick(w, Qt::Key_Escape);
  ASSERT_EQ(closed.count(), 1);
  EXPECT_EQ(closed.at(0).at(0).toInt(), 2);
  EXPECT_EQ(services_.saves, 1);
  EXPECT_FALSE(w->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());  // released on close

  services_.savePositions = false;
  TcLoLoan* again = Open(2);
  QSignalSpy closedAgain(again, &CalcWindow::windowClosed);
  Click(again, "CloseBTN");
  again->close();  // a second close does not free the slot again
  EXPECT_EQ(closedAgain.count(), 1);
  EXPECT_EQ(services_.saves, 1);

  TcLoLoan* third = Open(1);
  QSignalSpy closedThird(third, &CalcWindow::windowClosed);
  third->accept();  // whatever ends the dialog closes the window
  EXPECT_EQ(closedThird.count(), 1);
  EXPECT_FALSE(third->isVisible());
}

TEST_F(LoanWindowTest, NonFiniteValuesNeverReachAField) {
  TcLoLoan* w = Open(1);
  EnterExample(w);
  Click(w, "CalcBTN");
  record_.PV = std::numeric_limits<double>::infinity();
  record_.TotInt = std::nan("");
  record_.Rate = std::numeric_limits<float>::infinity();
  Click(w, "UndoBTN");
  EXPECT_DOUBLE_EQ(Child<MoneyField>(w, "PV")->value(), 100000.0);
  EXPECT_FLOAT_EQ(Child<RateField>(w, "Rate")->value(), 7.5f);
  EXPECT_EQ(Child<MoneyField>(w, "TotInt")->text(), "$151,715.60");
}

TEST_F(LoanWindowTest, WindowWithoutRecordStaysUsable) {
  auto* w = new TcLoLoan(nullptr, 1, &services_);
  windows_.emplace_back(w);
  w->show();
  Click(w, "CalcBTN");
  Click(w, "CopyBTN");
  Click(w, "ResetBTN");
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Child<QLabel>(w, "lPV")->text(), "&Amount of Loan?:");
}

}  // namespace
}  // namespace brevika
