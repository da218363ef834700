// The help viewer over the compiled-in topics: every context in use has a
// real topic, links resolve, the keyword index searches as the user types,
// and the main window's help commands reach it.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

#include "amortization/ui/amort_options_dialog.h"
#include "amortization/ui/amort_window.h"
#include "components/help_viewer.h"
#include "shell_test_util.h"

namespace brevika {
namespace {

QString TopicHtml(int context) {
  QFile f(QStringLiteral(":/help/topics/%1.html").arg(context));
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST(HelpTopics, EveryContextInUseHasATitledTopic) {
  for (int context : {0, 1, 9, 11, 13, 14, 16, 19, 21, 24, 25, 26, 28, 30, 97, 98, 106, 125,
                      170, 171, 172, 173, 174, 175, 176, 177, 178, 260, 261, 262, 263, 500, 501}) {
    ASSERT_TRUE(HasHelpTopic(context)) << context;
    const HelpTopic& t = HelpTopics()[context];
    EXPECT_FALSE(t.title.isEmpty()) << context;
    EXPECT_FALSE(t.keywords.isEmpty()) << context;
    EXPECT_GT(TopicHtml(context).size(), 600) << "topic " << context << " says too little";
  }
  EXPECT_EQ(HelpTopics()[125].title, QStringLiteral("Loan Calculator"));
  EXPECT_TRUE(HelpTopics()[14].keywords.contains(QStringLiteral("Fixed Principal")));
}

TEST(HelpTopics, EveryLinkLeadsToATopic) {
  static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
  int links = 0;
  for (int context : HelpTopics().keys()) {
    auto it = href.globalMatch(TopicHtml(context));
    while (it.hasNext()) {
      const QString target = it.next().captured(1);
      const QString file = target.section(QLatin1Char('#'), 0, 0);
      ASSERT_TRUE(file.endsWith(QStringLiteral(".html"))) << target.toStdString();
      EXPECT_TRUE(HasHelpTopic(file.chopped(5).toInt())) << context << " -> " << target.toStdString();
      ++links;
    }
  }
  EXPECT_GT(links, 50);
}

TEST(HelpTopics, ExamplesMatchTheCalculator) {
  const QString loan = TopicHtml(125);
  for (const char* figure : {"699.21", "151,715.60", "694.87", "7.4999"})
    EXPECT_TRUE(loan.contains(QLatin1String(figure))) << figure;
}

TEST(HelpViewerTest, OpensTopicsAndFollowsLinks) {
  HelpViewer* viewer = HelpViewer::Shared();
  EXPECT_EQ(HelpViewer::Shared(), viewer) << "one shared viewer";
  viewer->ShowTopic(125);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->currentContext(), 125);
  EXPECT_EQ(viewer->currentTitle(), QStringLiteral("Loan Calculator"));
  EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("699.21")));
  // Following a relative link as a click does.
  viewer->browser()->setSource(viewer->browser()->source().resolved(QUrl(QStringLiteral("14.html"))));
  EXPECT_EQ(viewer->currentContext(), 14);
  EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("Fixed Principal")));
  viewer->browser()->backward();
  EXPECT_EQ(viewer->currentContext(), 125);
  // A number without a topic says so.
  viewer->ShowTopic(7777);
  EXPECT_EQ(viewer->currentContext(), -1);
  EXPECT_TRUE(viewer->browser()->toPlainText().contains(QStringLiteral("7777")));
  viewer->close();
}

TEST(HelpViewerTest, KeywordIndexSearchesAsYouType) {
  HelpViewer* viewer = HelpViewer::Shared();
  viewer->ShowSearch();
  QLineEdit* field = viewer->searchField();
  EXPECT_TRUE(field->text().isEmpty());
  QTest::keyClicks(field, QStringLiteral("fix"));
  ASSERT_NE(viewer->indexList()->currentItem(), nullptr);
  EXPECT_EQ(viewer->indexList()->currentItem()->text(), QStringLiteral("Fixed Principal"));
  int visible = 0;
  for (int r = 0; r < viewer->indexList()->count(); ++r)
    visible += viewer->indexList()->item(r)->isHidden() ? 0 : 1;
  EXPECT_EQ(visible, 1);
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(viewer->currentContext(), 14);

  // Nothing begins with "rinciple"; keywords containing it stay.
  field->clear();
  QTest::keyClicks(field, QStringLiteral("rincipa"));
  ASSERT_NE(viewer->indexList()->currentItem(), nullptr);
  EXPECT_TRUE(viewer->indexList()->currentItem()->text().contains(QStringLiteral("rincipa")));
  QTest::keyClicks(field, QStringLiteral("zzz"));
  EXPECT_EQ(viewer->indexList()->currentItem(), nullptr);
  viewer->close();
}

using MainHelpTest = ShellTest;

TEST_F(MainHelpTest, HelpMenuAndF1) {
  MakeForm();
  HelpViewer* viewer = HelpViewer::Shared();
  form_->findChild<QAction*>(QStringLiteral("Contents1"))->trigger();
  EXPECT_EQ(viewer->currentContext(), 0);
  form_->findChild<QAction*>(QStringLiteral("HelponHelp1"))->trigger();
  EXPECT_EQ(viewer->currentContext(), 98);
  form_->findChild<QAction*>(QStringLiteral("TopicSearch1"))->trigger();
  EXPECT_TRUE(viewer->searchField()->text().isEmpty());
  // F1 in the main window: its own topic.
  viewer->close();
  QApplication::setActiveWindow(form_.get());
  QTest::keyClick(static_cast<QWidget*>(form_->exitButton()), Qt::Key_F1);
  EXPECT_EQ(viewer->currentContext(), 500);
  form_->ShowHelp(106);
  EXPECT_EQ(viewer->currentContext(), 106);
  // F1 in a loan calculator: the focused field's topic, through the main window.
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* loan = form_->windowSlots().Window(CalcKind::Loan, 1);
  loan->findChild<QWidget*>(QStringLiteral("Rate"))->setFocus();
  loan->ShowFocusedHelp();
  EXPECT_EQ(viewer->currentContext(), 9);
  loan->HelpBTNClick();
  EXPECT_EQ(viewer->currentContext(), 125);
  viewer->close();
}

// Input the way the window system delivers it: a window that a modal
// window blocks does not get it.
void ClickThroughTheWindowSystem(QWidget* target) {
  QWidget* top = target->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, target->mapTo(top, target->rect().center()));
}

void TypeThroughTheWindowSystem(QWidget* top, const char* text) {
  for (const char* c = text; *c; ++c) QTest::keyClick(top->windowHandle(), *c);
}

// The viewer can be used: a click on Contents and typing in the index work.
void ExpectUsable(HelpViewer* viewer) {
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_TRUE(viewer->isEnabled());
  viewer->ShowTopic(125);
  ClickThroughTheWindowSystem(viewer->findChild<QPushButton*>(QStringLiteral("ContentsBTN")));
  EXPECT_EQ(viewer->currentContext(), 0) << "a click reaches the viewer";
  viewer->ShowSearch();
  TypeThroughTheWindowSystem(viewer, "fix");
  EXPECT_EQ(viewer->searchField()->text(), QStringLiteral("fix")) << "keys reach the viewer";
  QTest::keyClick(viewer->windowHandle(), Qt::Key_Return);
  EXPECT_EQ(viewer->currentContext(), 14);
}

using ModalHelpTest = ShellTest;

TEST_F(ModalHelpTest, HelpFromAModalDialogIsInFrontOfItAndUsable) {
  MakeForm();
  HelpViewer* viewer = HelpViewer::Shared();
  viewer->close();
  QDialog dialog(form_.get());
  bool ran = false;
  QTimer::singleShot(0, &dialog, [&] {
    ran = true;
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    form_->ShowHelp(125);
    EXPECT_EQ(viewer->currentContext(), 125);
    EXPECT_EQ(viewer->host(), &dialog);
    ASSERT_NE(viewer->windowHandle(), nullptr);
    EXPECT_EQ(viewer->windowHandle()->transientParent(), dialog.windowHandle()) << "kept in front";
    ExpectUsable(viewer);
    EXPECT_EQ(QApplication::activeModalWidget(), &dialog) << "the dialog stays modal";
    dialog.accept();
  });
  dialog.exec();
  ASSERT_TRUE(ran);
  // The dialog closed: the viewer stands on its own, still up.
  EXPECT_EQ(viewer->host(), nullptr);
  EXPECT_EQ(viewer->parentWidget(), nullptr);
  EXPECT_TRUE(viewer->isVisible());
  ExpectUsable(viewer);
  viewer->close();
}

// The schedule window is modal and opens its modal options dialog: help
// from either is usable, and goes back to the schedule window when the
// options close, then on its own when the schedule window goes.
TEST_F(ModalHelpTest, HelpFromTheScheduleWindowAndItsOptions) {
  MakeForm();
  HelpViewer* viewer = HelpViewer::Shared();
  viewer->close();
  bool inSchedule = false, inOptions = false;
  QTimer::singleShot(0, [&] {
    auto* schedule = qobject_cast<TcLoAmort*>(QApplication::activeModalWidget());
    ASSERT_NE(schedule, nullptr);
    inSchedule = true;
    schedule->HelpBTNClick();
    EXPECT_EQ(viewer->currentContext(), 110);
    EXPECT_EQ(viewer->host(), schedule);
    ExpectUsable(viewer);

    QTimer::singleShot(0, [&, schedule] {
      TAmortOpt* options = schedule->options();
      ASSERT_EQ(QApplication::activeModalWidget(), options);
      inOptions = true;
      // F1 goes to the window the user works in.
      options->activateWindow();
      ASSERT_TRUE(QTest::qWaitFor([options] { return QApplication::activeWindow() == options; }));
      QTest::keyClick(options->windowHandle(), Qt::Key_F1);
      EXPECT_TRUE(viewer->isVisible());
      EXPECT_EQ(viewer->host(), options);
      ExpectUsable(viewer);
      options->reject();
    });
    schedule->OptionsClick();
    EXPECT_EQ(viewer->host(), schedule) << "back to the schedule window";
    EXPECT_TRUE(viewer->isVisible());
    ExpectUsable(viewer);
    schedule->reject();
  });
  form_->AmortClick();
  ASSERT_TRUE(inSchedule);
  ASSERT_TRUE(inOptions);
  EXPECT_EQ(viewer->host(), nullptr);
  EXPECT_TRUE(viewer->isVisible()) << "not gone with the schedule window";
  viewer->close();
}

}  // namespace
}  // namespace brevika
