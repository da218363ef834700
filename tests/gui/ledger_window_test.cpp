// The payment ledger window wired to the loan records, and the schedule
// window's Payments command wired to its store. One value each: the rules
// are tested on the core (ledger_test.cpp, loan_payments_test.cpp).
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "amortization/ui/amort_window.h"
#include "components/help_viewer.h"
#include "components/masked_fields.h"
#include "components/page_preview.h"
#include "components/messages.h"
#include "gui_test_util.h"
#include "records/loan_records.h"
#include "records/ui/ledger_models.h"
#include "records/ui/ledger_window.h"
#include "records/ui/payment_dialog.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

class LedgerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages.push_back(m); });
    SetQuestionHandler([this](QWidget*, const Message& q) {
      questions.push_back(q);
      return true;
    });
    // 20,000.00 at 6 % over 60 months from 01/01/2024, saved as loan 1,
    // paid 10 days late on 02/11/2024: 40 days by 30/360, 20000 x 0.005 x
    // 40/30 = 133.33 interest, 253.33 principal, 19,746.67 left.
    Outcome o;
    auto r = records::LoanRecords::Open(folder.path(), o);
    ASSERT_TRUE(r) << o.FirstText();
    ScheduleInputs in;
    in.PV = 20000;
    in.NumPmts = 60;
    in.Rate = 6.0f;
    in.OrgDate = MakeDate(1, 1, 2024);
    in.FrstPmtDate = MakeDate(1, 2, 2024);
    Schedule s;
    ASSERT_TRUE(s.Calculate(in).ok());
    records::Loan loan;
    loan.terms = records::TermsOf(in);
    ASSERT_TRUE(r->SaveNewLoan(records::kDefaultAccount, loan, s).ok());
    ASSERT_TRUE(r->AddPayments(loan.loanNo, {{MakeDate(11, 2, 2024), 386.66, "late"}}).ok());
  }
  void TearDown() override {
    SetMessageHandler({});
    SetQuestionHandler({});
  }

  testing::TempDir folder;
  TestServices services;
  std::vector<Message> messages, questions;
};

TEST_F(LedgerWindowTest, ShowsAddsAndDeletesPayments) {
  TLedger w(folder.path(), "1", &services);
  ASSERT_TRUE(w.loaded()) << w.loadOutcome().FirstText();
  w.AsOf->setValue(MakeDate(20, 2, 2024));
  EXPECT_EQ(w.Balance->text(), "$19,746.67");
  w.show();

  // Ins opens the payment dialog over the grid; OK records the payment.
  // On 03/01: 20 days, 19746.67 x 0.005 x 20/30 = 65.82, 320.84 principal,
  // 19,425.83 left.
  QTimer::singleShot(0, &w, [] {
    auto* d = qobject_cast<TPaymentDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    d->PmtDate->setValue(MakeDate(1, 3, 2024));
    d->Amount->setValue(386.66);
    QTest::mouseClick(d->OkBTN, Qt::LeftButton);
  });
  w.PaymentsGrid->setFocus();
  QTest::keyClick(w.PaymentsGrid, Qt::Key_Insert);
  EXPECT_TRUE(messages.empty()) << messages.front().text;
  w.AsOf->setValue(MakeDate(15, 3, 2024));
  EXPECT_EQ(w.Balance->text(), "$19,425.83");
  const records::ActualPayment* picked = w.selectedPayment();
  ASSERT_NE(picked, nullptr);
  EXPECT_EQ(picked->date, MakeDate(1, 3, 2024));

  // Del asks, then deletes the payment picked in the grid.
  QTest::keyClick(w.PaymentsGrid, Qt::Key_Delete);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].text, "Delete the payment of 03/01/2024, $386.66,\n\nfrom loan 1?\n\n");
  EXPECT_EQ(w.Balance->text(), "$19,746.67");
  EXPECT_EQ(w.ledger().rows.size(), 1u);
}

TEST_F(LedgerWindowTest, EveryTopicExistsAndF1OpensTheFieldsOwn) {
  for (int context : {kHelpLedger, kHelpAsOf, kHelpPaymentDialog, kHelpPayoff, kHelpPaidByYear,
                      kHelpStatementImport, kHelpPaymentsApplied}) {
    ASSERT_TRUE(HasHelpTopic(context)) << context;
    EXPECT_FALSE(HelpTopics()[context].keywords.isEmpty()) << context;
  }
  EXPECT_EQ(HelpTopics()[kHelpLedger].title, "Payment Ledger");
  TLedger w(folder.path(), "1", &services);
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  w.AsOf->setFocus();
  QTest::keyClick(&w, Qt::Key_F1);
  QTest::mouseClick(w.HelpBTN, Qt::LeftButton);
  EXPECT_EQ(services.helpRequests, (std::vector<int>{kHelpAsOf, kHelpLedger}));
}

TEST_F(LedgerWindowTest, PrintsThePagesOfTheLedgerAndExportsItsLines) {
  TLedger w(folder.path(), "1", &services);
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QString title;
  int shown = -1;
  std::size_t expected = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    poll.stop();
    title = d->windowTitle();
    shown = d->findChild<QPrintPreviewWidget*>()->pageCount();
    records::LedgerReportSetup setup;
    setup.paper = PaperOfLayout(d->printer()->pageLayout());
    expected = records::LedgerReportPages(w.ledger(), w.summary(), setup).size();
    d->reject();
  });
  poll.start(10);
  QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(title, "Payment Ledger Preview");
  EXPECT_GE(expected, 2u);
  EXPECT_EQ(static_cast<std::size_t>(shown), expected);

  ASSERT_TRUE(w.ExportTo(QString::fromStdString(folder.file("ledger.csv"))));
  EXPECT_EQ(testing::ReadFileBytes(folder.file("ledger.csv")), records::LedgerCsv(w.ledger()));
}

// The preview starts on the paper of every printout: with no printer, the
// paper of LC_PAPER's territory, Letter for the United States.
TEST_F(LedgerWindowTest, PreviewOnThePaperOfEveryPrintout) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer decides the paper here";
  const QByteArray lcAll = qgetenv("LC_ALL"), lcPaper = qgetenv("LC_PAPER");
  qunsetenv("LC_ALL");
  qputenv("LC_PAPER", "en_US.UTF-8");
  TLedger w(folder.path(), "1", &services);
  w.show();
  std::optional<PaperSize> paper;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!d) return;
    poll.stop();
    paper = PaperOfLayout(d->printer()->pageLayout());
    d->reject();
  });
  poll.start(10);
  QTest::mouseClick(w.PrintBTN, Qt::LeftButton);
  qputenv("LC_ALL", lcAll);
  qputenv("LC_PAPER", lcPaper);
  ASSERT_TRUE(paper.has_value());
  EXPECT_NEAR(paper->width, 8.5, 0.01);  // Letter, not A4
  EXPECT_NEAR(paper->height, 11, 0.01);
}

// A store that keeps payments and counts the ledgers it was asked for.
class PaymentsStore : public ScheduleStore {
 public:
  std::optional<Tie> Save(QWidget*, const std::string&, const ScheduleInputs&, const Schedule*) override {
    return Tie{"SMITJOH001", "7", std::nullopt};
  }
  Loaded Load(QWidget*, const std::string&, const ScheduleInputs&, Schedule&) override { return {}; }
  bool KeepsPayments() const override { return true; }
  void ShowPayments(QWidget*, const Tie& tie) override { shown.push_back(tie.loanNo); }
  std::vector<std::string> shown;
};

TEST(SchedulePayments, OfferedWhileTheScheduleIsTiedToASavedLoan) {
  AmortInputs inputs = NewAmortInputs(MakeDate(20, 12, 1996));
  inputs.PV = 20000;
  inputs.NumPmts = 60;
  inputs.Rate = 6.0f;
  AmortOptValues options;
  TestServices services;
  PaymentsStore store;
  TcLoAmort w(&inputs, &options, &services, nullptr, &store);
  w.show();
  QTest::mouseClick(w.CalcBTN, Qt::LeftButton);
  EXPECT_FALSE(w.PaymentsBTN->isEnabled());
  w.SaveBTNClick();
  ASSERT_TRUE(w.PaymentsBTN->isEnabled());
  EXPECT_TRUE(w.PaymentsItem->isEnabled());
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(store.shown, std::vector<std::string>{"7"});
  // A new Calc unties the schedule.
  QTest::mouseClick(w.CalcBTN, Qt::LeftButton);
  EXPECT_FALSE(w.PaymentsBTN->isEnabled());
}

}  // namespace
}  // namespace brevika
