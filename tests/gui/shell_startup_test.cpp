// Start-up: the splash's minimum time, the display check, the whole start
// sequence, the tips at every start and the about box.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <ctime>

#include "app/about_box.h"
#include "app/splash.h"
#include "app/startup.h"
#include "app/system_info.h"
#include "shell_test_util.h"

namespace brevika {
namespace {

TEST(Splash, ShowsItsLines) {
  TSplash splash;
  splash.ShowNow();
  EXPECT_TRUE(splash.isVisible());
  auto text = [&splash](const char* name) {
    const QLabel* l = splash.findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QString();
  };
  EXPECT_EQ(text("ProductLine"), QStringLiteral("Brevika"));
  EXPECT_EQ(text("VersionLine"), QStringLiteral("Version: 2.0 Released:   12/29/96"));
  EXPECT_EQ(text("FriendLine"), QStringLiteral("Please tell a friend about this software."));
  EXPECT_FALSE(text("ContactLines").isEmpty());
}

// The real three seconds, counted from a start tick taken before the splash
// existed; the splash keeps painting meanwhile and the processor stays idle.
TEST(Splash, StaysUpThreeSecondsFromTheStartTick) {
  QElapsedTimer started;
  started.start();
  TSplash splash;
  splash.ShowNow();
  bool visibleMidway = false;
  qint64 tickAt = -1;
  QTimer::singleShot(1500, [&] {
    visibleMidway = splash.isVisible();
    tickAt = started.elapsed();
  });
  const std::clock_t cpu0 = std::clock();
  splash.HoldUntil(started, kSplashMinimumMs);
  const double cpuMs = 1000.0 * double(std::clock() - cpu0) / CLOCKS_PER_SEC;
  const qint64 waited = started.elapsed();
  EXPECT_EQ(kSplashMinimumMs, 3000);
  EXPECT_GE(waited, 3000);
  EXPECT_LT(waited, 3500);
  EXPECT_TRUE(visibleMidway) << "events are processed while waiting";
  EXPECT_GE(tickAt, 1500);
  EXPECT_LT(cpuMs, 300.0) << "waiting must not spin";
}

TEST(Splash, WaitsOnlyForWhatIsLeft) {
  QElapsedTimer started;
  started.start();
  TSplash splash;
  splash.HoldUntil(started, 250);
  EXPECT_GE(started.elapsed(), 250);
  EXPECT_LT(started.elapsed(), 1000);
  // Already past the minimum: no wait at all.
  QElapsedTimer again;
  again.start();
  splash.HoldUntil(started, 100);
  EXPECT_LT(again.elapsed(), 50);
}

TEST(Startup, DisplayCheck) {
  const QByteArray display = qgetenv("DISPLAY"), wayland = qgetenv("WAYLAND_DISPLAY"),
                   platform = qgetenv("QT_QPA_PLATFORM");
  qunsetenv("DISPLAY");
  qunsetenv("WAYLAND_DISPLAY");
  qunsetenv("QT_QPA_PLATFORM");
  EXPECT_FALSE(HaveDisplay());
  qputenv("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_TRUE(HaveDisplay());
  qunsetenv("WAYLAND_DISPLAY");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  EXPECT_TRUE(HaveDisplay());
  auto restore = [](const char* name, const QByteArray& v) {
    if (v.isNull()) qunsetenv(name); else qputenv(name, v);
  };
  restore("DISPLAY", display);
  restore("WAYLAND_DISPLAY", wayland);
  restore("QT_QPA_PLATFORM", platform);
  EXPECT_EQ(NoDisplayMessage(QStringLiteral("/usr/bin/brevika")),
            QStringLiteral("brevika: no display found (DISPLAY and WAYLAND_DISPLAY are not set); "
                           "to run it without a desktop use a virtual display: "
                           "xvfb-run -a /usr/bin/brevika"));
}

// The whole start: splash first, the main window only after the minimum
// time, the tips at its first showing, the loop ending with the window.
TEST(Startup, SplashThenMainWindowThenLoop) {
  QTemporaryDir dir;
  QElapsedTimer started;
  started.start();
  qint64 mainShownAt = -1;
  bool splashGone = false, tipsUp = false;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* form = qobject_cast<TMainForm*>(w);
      if (!form || !form->isVisible()) continue;
      if (mainShownAt < 0) {
        mainShownAt = started.elapsed();
        splashGone = true;
        for (QWidget* s : QApplication::topLevelWidgets())
          if (qobject_cast<TSplash*>(s) && s->isVisible()) splashGone = false;
        return;  // let the queued tips come up
      }
      tipsUp = form->tipDialog() && form->tipDialog()->isVisible();
      poll.stop();
      form->close();
    }
  });
  poll.start();
  const int rc = RunBrevika(*qApp, started, 400, dir.path());
  EXPECT_EQ(rc, 0);
  EXPECT_GE(mainShownAt, 400);
  EXPECT_TRUE(splashGone);
  EXPECT_TRUE(tipsUp);
  qApp->setQuitOnLastWindowClosed(true);
}

using TipsTest = ShellTest;

TEST_F(TipsTest, TipsShowOnceAtEveryStart) {
  MakeForm(/*show=*/false);
  EXPECT_EQ(form_->tipsShown(), 0);
  form_->show();
  Settle();
  EXPECT_EQ(form_->tipsShown(), 1);
  ASSERT_NE(form_->tipDialog(), nullptr);
  EXPECT_TRUE(form_->tipDialog()->isVisible());
  EXPECT_EQ(form_->tipDialog()->windowTitle(), QStringLiteral("Tips"));
  form_->tipDialog()->close();
  Settle();
  // Hidden and shown again, activated again: no second time.
  form_->hide();
  form_->show();
  form_->activateWindow();
  Settle();
  EXPECT_EQ(form_->tipsShown(), 1);
  EXPECT_EQ(form_->tipDialog(), nullptr);
  // From the Help menu they come whenever asked.
  form_->findChild<QAction*>(QStringLiteral("Tips1"))->trigger();
  Settle();
  EXPECT_EQ(form_->tipsShown(), 2);
  EXPECT_NE(form_->tipDialog(), nullptr);
  // A new start shows them again.
  MakeForm(false);
  form_->show();
  Settle();
  EXPECT_EQ(form_->tipsShown(), 1);
}

// The window manager places the main window only after it is mapped; the
// tips wait for the window's activation and are centred where it is then.
TEST_F(TipsTest, TipsAtStartAreCentredOverTheMainWindow) {
  MakeForm(/*show=*/false);
  form_->show();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
  form_->move(100, 80);
  Settle();
  ASSERT_NE(form_->tipDialog(), nullptr);
  const QPoint offCentre = form_->tipDialog()->geometry().center() - form_->geometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
}

TEST(Tips, TwentySixTipsWithTheGivenOnes) {
  const QStringList& tips = TipTexts();
  ASSERT_EQ(tips.size(), 26);
  for (const char* given :
       {"You can press [F1] for help at any time?",
        "'Undo' cancels all changes since the last press of the 'Calc' button?",
        "'Reset' sets all values to the program's defaults?",
        "A calculator's last position can be saved when it is closed? Just make sure that from "
        "the {Options} menu, that {Save Positions} is checked.",
        "You can double click on a field to select that field's value and when you start "
        "typing, the current value will be cleared?",
        "A Fixed Principal amortization method results in a declining payment amount? The "
        "first payment will be the highest one.",
        "A loan Paid-in-Advance (Origination Date = First Payment Date) will require you to pay "
        "less interest than a loan Paid-in-Arrears?"})
    EXPECT_TRUE(tips.contains(QString::fromUtf8(given))) << given;
  EXPECT_EQ(QSet<QString>(tips.begin(), tips.end()).size(), 26) << "no tip twice";
}

TEST(Tips, DialogStepsThroughTheTipsAndOpensItsHelp) {
  TestServices services;
  TTipDialog dialog(&services, 25);
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("TipTitle"))->text(), QStringLiteral("Did you know..."));
  EXPECT_EQ(dialog.tipText(), TipTexts()[25]);
  dialog.findChild<QPushButton*>(QStringLiteral("NextTipBTN"))->click();
  EXPECT_EQ(dialog.tipIndex(), 0) << "after the last comes the first";
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("TipText"))->text(), TipTexts()[0]);
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("TipNumber"))->text(), QStringLiteral("Tip 1 of 26"));
  dialog.findChild<QPushButton*>(QStringLiteral("HelpBTN"))->click();
  dialog.show();
  QTest::keyClick(&dialog, Qt::Key_F1);
  EXPECT_EQ(services.helpRequests, (std::vector<int>{106, 106}));
}

TEST(SystemInfo, ReadsTheProcTextAndThePasswordEntry) {
  const QString cpuinfo = QStringLiteral(
      "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\n\n"
      "processor\t: 1\nmodel name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\n");
  EXPECT_EQ(ProcessorFromCpuInfo(cpuinfo),
            QStringLiteral("Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz (2 logical processors)"));
  EXPECT_EQ(ProcessorFromCpuInfo(QStringLiteral("model name : Single\n")), QStringLiteral("Single"));
  EXPECT_EQ(ProcessorFromCpuInfo(QStringLiteral("Hardware : arm\n")), QStringLiteral("Unknown processor"));
  const QString meminfo = QStringLiteral("MemTotal:       16318480 kB\nMemFree:  1000 kB\nMemAvailable:    8391200 kB\n");
  EXPECT_EQ(MemoryFromMemInfo(meminfo, QStringLiteral("MemTotal")), QStringLiteral("15,936 MB"));
  EXPECT_EQ(MemoryFromMemInfo(meminfo, QStringLiteral("MemAvailable")), QStringLiteral("8,194 MB"));
  EXPECT_EQ(MemoryFromMemInfo(meminfo, QStringLiteral("SwapTotal")), QString());
  EXPECT_EQ(OwnerFromPasswordEntry(QStringLiteral("Jane Q. Doe,Room 12,555-1234,"), QStringLiteral("jdoe")),
            QStringLiteral("Jane Q. Doe"));
  EXPECT_EQ(OwnerFromPasswordEntry(QStringLiteral(",,,"), QStringLiteral("jdoe")), QStringLiteral("jdoe"));
  EXPECT_EQ(OwnerFromPasswordEntry(QString(), QStringLiteral("jdoe")), QStringLiteral("jdoe"));
}

TEST(AboutBox, ProductAndSystemPages) {
  SystemInfo info{QStringLiteral("Test CPU"), QStringLiteral("1,024 MB"), QStringLiteral("512 MB"),
                  QStringLiteral("Test OS 1.0"), QStringLiteral("Jane Doe")};
  TAboutBox box(info);
  auto text = [&box](const char* name) {
    const QLabel* l = box.findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QString();
  };
  EXPECT_EQ(text("ProductName"), QStringLiteral("Brevika"));
  EXPECT_EQ(text("Version"), QStringLiteral("Version 2.0"));
  EXPECT_EQ(text("License"), QStringLiteral("Free software under the GNU General Public License, "
                                            "version 3 or later, with no warranty."));
  EXPECT_EQ(text("Processor"), QStringLiteral("Test CPU"));
  EXPECT_EQ(text("Memory"), QStringLiteral("1,024 MB"));
  EXPECT_EQ(text("OperatingSystem"), QStringLiteral("Test OS 1.0"));
  EXPECT_EQ(text("Owner"), QStringLiteral("Jane Doe"));
  const SystemInfo real = ReadSystemInfo();
  EXPECT_FALSE(real.owner.isEmpty());
  EXPECT_FALSE(real.system.isEmpty());
  EXPECT_TRUE(real.memory.endsWith(QStringLiteral(" MB"))) << real.memory.toStdString();
}

}  // namespace
}  // namespace brevika
