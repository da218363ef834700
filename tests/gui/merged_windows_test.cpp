// The new windows used together, as a user meets them: the event dialog's
// dates and keys, the ledger's days, the schedule window after its loan is
// deleted. One value each; the rules are tested in the core.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

#include "amortization/ui/events_dialog.h"
#include "components/masked_fields.h"
#include "components/messages.h"
#include "gui_test_util.h"
#include "support/temp_dir.h"

namespace brevika {
namespace {

class MergedWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageHandler([this](QWidget*, const Message& m) { messages.push_back(m); });
    SetQuestionHandler([this](QWidget*, const Message& q) {
      questions.push_back(q);
      return true;
    });
  }
  void TearDown() override {
    SetMessageHandler({});
    SetQuestionHandler({});
  }

  // Shows a dialog and waits until it has the keyboard.
  static void ShowActive(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }

  testing::TempDir folder;
  TestServices services;
  std::vector<Message> messages, questions;
};

// Monthly payments from 1 February 1997: payment 13 falls on 02/01/98.
const PaymentDates kMonthlyFrom1997{MakeDate(1, 2, 1997), 12};

ScheduleEvent LumpAt(int k) { return ScheduleEvent{EventKind::Lump, k, std::nullopt, 1000, 0, EventHow::ShorterTerm}; }

// A date typed that is no date stays in sight and OK refuses it: the event
// is not taken at the payment number the field beside it still shows.
TEST_F(MergedWindowsTest, TheEventDialogRefusesADateThatIsNoDate) {
  TEventEdit e(LumpAt(13), kMonthlyFrom1997, &services);
  ShowActive(e);
  e.FromDate->setFocus();
  e.FromDate->selectAll();
  QTest::keyClicks(e.FromDate, "02/30/98");
  QTest::keyClick(e.FromDate, Qt::Key_Tab);
  QApplication::processEvents();
  EXPECT_EQ(e.FromDate->text(), "02/30/98");
  QTest::mouseClick(e.OKBTN, Qt::LeftButton);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "At Payment Date is not a valid date.\n\nPlease Try Again");
  EXPECT_TRUE(e.isVisible());
  EXPECT_EQ(e.result(), 0);
  EXPECT_TRUE(e.FromDate->hasFocus());
}

// The fields stay where they are when the kind changes the first caption.
TEST_F(MergedWindowsTest, TheEventDialogsFieldsStayInPlace) {
  TEventEdit e(LumpAt(13), kMonthlyFrom1997, &services);
  ShowActive(e);
  const int lump = e.From->x();
  e.Kind->setCurrentIndex(static_cast<int>(EventKind::Extra));
  QApplication::processEvents();
  EXPECT_EQ(e.From->x(), lump);
  EXPECT_EQ(e.Kind->x(), lump);
}

}  // namespace
}  // namespace brevika
