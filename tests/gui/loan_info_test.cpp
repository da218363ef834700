// The loan information dialog walked step by step from the schedule
// window's Save and Load, and its delete conversation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "amortization/ui/amort_window.h"
#include "amortization/ui/schedule_model.h"
#include "calculators/ui/calc_window.h"
#include "components/masked_fields.h"
#include "gui_test_util.h"
#include "records/ui/loan_info_dialog.h"
#include "records/ui/loan_records_store.h"
#include "components/messages.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

class LoanInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages.push_back(m); });
    SetQuestionHandler([this](QWidget*, const Message& q) {
      questions.push_back(q);
      const bool yes = !answers.empty() && answers.front();
      if (!answers.empty()) answers.erase(answers.begin());
      return yes;
    });
    services.tablesFolder = folder.path();
  }
  void TearDown() override {
    SetMessageHandler({});
    SetQuestionHandler({});
  }

  std::unique_ptr<TcLoAmort> OpenSchedule() {
    auto w = std::make_unique<TcLoAmort>(&inputs, &optValues, &services, nullptr, &store);
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
  }

  // Runs `walk` on the loan dialog `command` opens modally over `w`; the
  // dialog is closed afterwards if the walk left it open.
  static void WithLoanDialog(TcLoAmort& w, const std::function<void(TLoanInfo&)>& walk,
                             void (TcLoAmort::*command)()) {
    QTimer::singleShot(0, &w, [&w, walk] {
      TLoanInfo* d = w.findChild<TLoanInfo*>();
      ASSERT_NE(d, nullptr);
      walk(*d);
      if (d->isVisible()) d->reject();
    });
    (w.*command)();
  }

  static void Type(QLineEdit* e, const char* text) {
    e->setFocus();
    QTest::keyClicks(e, QString::fromLatin1(text));
  }

  testing::TempDir folder;
  TestServices services;
  LoanRecordsStore store{&services};
  AmortInputs inputs = NewAmortInputs(MakeDate(20, 12, 1996));
  AmortOptValues optValues;
  std::vector<Message> messages;
  std::vector<Message> questions;
  std::vector<bool> answers;
};

TEST_F(LoanInfoTest, SavesIntoANewAccountAndLoanThenLoadsTheScheduleBack) {
  inputs.PV = 100000;
  inputs.NumPmts = 360;
  inputs.Rate = 7.5f;
  inputs.OrgDate = MakeDate(1, 1, 1997);
  inputs.FrstPmtDate = MakeDate(1, 2, 1997);
  {
    auto w = OpenSchedule();
    QTest::mouseClick(w->CalcBTN, Qt::LeftButton);
    ASSERT_TRUE(w->SaveBTN->isEnabled());
    WithLoanDialog(*w, [](TLoanInfo& d) {
      EXPECT_EQ(d.mode(), TLoanInfo::SaveMode);
      EXPECT_EQ(d.statusMessage(), " Watch this space for status messages.");
      EXPECT_EQ(d.statusStep(), "Step: 1/4");
      EXPECT_EQ(d.PageTitle->text(), "Personal Information");
      EXPECT_FALSE(d.PriorBTN->isEnabled());
      EXPECT_EQ(d.CancelBTN->toolTip(), "Cancel saving data.");

      QTest::mouseClick(d.NewBTN, Qt::LeftButton);
      EXPECT_EQ(d.statusStep(), "Step: 2/4");
      EXPECT_TRUE(d.AutoGenerate->isChecked());
      EXPECT_FALSE(d.AccountNo->isEnabled());
      Type(d.LastName, "Smith");
      Type(d.FirstName, "John");
      EXPECT_EQ(d.AccountNo->text(), "SMITJOH001");

      QTest::mouseClick(d.NextBTN, Qt::LeftButton);
      EXPECT_EQ(d.statusStep(), "Step: 3/4");
      EXPECT_EQ(d.PageTitle->text(), "Loan Information");
      EXPECT_EQ(d.statusMessage(), " There are no loans for this account.");
      EXPECT_FALSE(d.NextBTN->isEnabled());

      QTest::mouseClick(d.NewBTN, Qt::LeftButton);
      EXPECT_EQ(d.statusStep(), "Step: 4/4");
      EXPECT_EQ(d.NextBTN->text(), "&Save");
      EXPECT_EQ(d.LoanNo->text(), "1");
      Type(d.Collateral, "House");
      QTest::mouseClick(d.NextBTN, Qt::LeftButton);
    }, &TcLoAmort::SaveBTNClick);
    EXPECT_TRUE(messages.empty()) << messages.front().text;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(w->accountNo(), "SMITJOH001");
    EXPECT_EQ(w->loanNo(), "1");
  }

  // A fresh window with other terms loads the saved loan; other fees are
  // not saved, so the loaded loan has none and its APR is the rate.
  inputs = NewAmortInputs(MakeDate(20, 12, 1996));
  inputs.OtherFees = 500;
  auto w = OpenSchedule();
  EXPECT_TRUE(w->OpenBTN->isEnabled());
  // Loading writes nothing in the folder of the tables.
  auto folderState = [this] {
    std::string s;
    for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
      struct stat st;
      ::lstat(e.path().c_str(), &st);
      s += e.path().filename().string() + " " + testing::ReadFileBytes(e.path().string()) + " " +
           std::to_string(st.st_mtim.tv_nsec) + " " + std::to_string(st.st_ctim.tv_nsec) + "\n";
    }
    return s;
  };
  const std::string before = folderState();
  WithLoanDialog(*w, [](TLoanInfo& d) {
    EXPECT_FALSE(d.NewBTN->isEnabled());
    EXPECT_EQ(d.CancelBTN->toolTip(), "Cancel loading data.");
    Type(d.Search, "smit");
    EXPECT_EQ(d.statusMessage(), " 2/2");
    QTest::mouseClick(d.NextBTN, Qt::LeftButton);
    EXPECT_EQ(d.LastName->text(), "Smith");
    QTest::mouseClick(d.NextBTN, Qt::LeftButton);
    EXPECT_EQ(d.statusMessage(), " 1/1");
    QTest::mouseClick(d.NextBTN, Qt::LeftButton);
    EXPECT_EQ(d.NextBTN->text(), "&Get");
    EXPECT_EQ(d.Collateral->text(), "House");
    QTest::mouseClick(d.NextBTN, Qt::LeftButton);
  }, &TcLoAmort::OpenBTNClick);
  EXPECT_TRUE(messages.empty()) << messages.front().text;
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  ASSERT_TRUE(w->scheduleShown());
  EXPECT_EQ(w->PV->value(), 100000);
  EXPECT_EQ(w->Years->tabText(1), "97");
  EXPECT_EQ(w->selectedYear(), 1);
  EXPECT_EQ(w->model()->data(w->model()->index(1, ScheduleModel::kPayment)).toString(), "699.21");
  EXPECT_EQ(w->loanNo(), "1");
  EXPECT_EQ(w->accountNo(), "SMITJOH001");
  EXPECT_EQ(w->OtherFees->value(), 0);
  EXPECT_EQ(w->APR->text(), "7.5000%");
  EXPECT_EQ(folderState(), before);
}

TEST_F(LoanInfoTest, DeletingAnAccountAsksTwiceAndDefaultIsRefused) {
  {
    Outcome o;
    auto r = records::LoanRecords::Open(folder.path(), o);
    ASSERT_TRUE(r);
    records::Account a;
    a.lastName = "Smith";
    a.firstName = "John";
    ASSERT_TRUE(r->AddAccount(a, records::IdMode::Generate).ok());
  }
  TLoanInfo d(folder.path(), TLoanInfo::SaveMode, &services);
  ASSERT_TRUE(d.tablesOpen());
  d.show();
  // DEFAULT sorts first; it is refused without a question.
  QTest::mouseClick(d.NavFirst, Qt::LeftButton);
  QTest::mouseClick(d.NavDelete, Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "\rThe DEFAULT account cannot be deleted.\r\r");
  EXPECT_TRUE(questions.empty());

  const std::string first =
      "You are about to permanently delete all SMITJOH001\r\raccount records and their associated "
      "loans.\r\rAre you sure that you want to continue?\r";
  const std::string second = "Lucky you!\r\rYou have one more chance.\r\rSTOP the PERMANENT\r\rdeletion of YOUR data?\r";
  QTest::mouseClick(d.NavLast, Qt::LeftButton);
  answers = {true, true};  // Yes, then Yes to stopping
  QTest::mouseClick(d.NavDelete, Qt::LeftButton);
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_EQ(questions[0].text, first);
  EXPECT_EQ(questions[0].box, BoxType::Warning);
  EXPECT_EQ(questions[1].text, second);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "Deletion of account number\r\rSMITJOH001\r\rwas canceled by the user.\r");
  EXPECT_EQ(d.AccountsGrid->model()->rowCount(), 2);

  answers = {true, false};  // Yes, then No: it goes
  QTest::mouseClick(d.NavDelete, Qt::LeftButton);
  EXPECT_EQ(questions.size(), 4u);
  EXPECT_EQ(messages.size(), 2u);
  EXPECT_EQ(d.statusMessage(), "SMITJOH001 deleted.");
  EXPECT_EQ(d.AccountsGrid->model()->rowCount(), 1);
  EXPECT_FALSE(d.records()->FindAccount("SMITJOH001"));
}

}  // namespace
}  // namespace brevika
