// The preferences file: options written at once, positions per window
// caption, damaged files, the coloured background and the printer font.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>

#include "app/preferences.h"
#include "shell_test_util.h"

namespace brevika {
namespace {

using PrefsTest = ShellTest;

QAction* Option(TMainForm* form, const char* name) {
  return form->findChild<QAction*>(QString::fromLatin1(name));
}

TEST_F(PrefsTest, MissingFileMeansEveryOptionOffAndNoFileWritten) {
  MakeForm();
  EXPECT_FALSE(form_->ShowHints());
  EXPECT_FALSE(form_->SavePositions());
  EXPECT_FALSE(form_->ColorBackground());
  for (const char* name : {"ShowHints1", "SavePositions1", "ColorBckgrnd1"}) {
    EXPECT_TRUE(Option(form_.get(), name)->isCheckable()) << name;
    EXPECT_FALSE(Option(form_.get(), name)->isChecked()) << name;
  }
  EXPECT_TRUE(form_->exitButton()->toolTip().isEmpty());
  EXPECT_FALSE(QFile::exists(IniPath()));
}

TEST_F(PrefsTest, TogglingAnOptionWritesItsKeyAtOnce) {
  MakeForm();
  Option(form_.get(), "ShowHints1")->trigger();
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nSHOWHINTS=1\n"));
  EXPECT_TRUE(Option(form_.get(), "ShowHints1")->isChecked());
  EXPECT_EQ(form_->exitButton()->toolTip(), QStringLiteral("We're outta here! [AltX]"));

  Option(form_.get(), "SavePositions1")->trigger();
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nSHOWHINTS=1\nSAVEPOSITIONS=1\n"));
  Option(form_.get(), "ShowHints1")->trigger();
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nSHOWHINTS=0\nSAVEPOSITIONS=1\n"));
  EXPECT_TRUE(form_->exitButton()->toolTip().isEmpty());
  EXPECT_TRUE(messages_.empty());
  // Written through a temporary file renamed over the old one: nothing else
  // is left in the folder.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList{"Brevika2.ini"});

  // The next start reads them back.
  MakeForm();
  EXPECT_FALSE(form_->ShowHints());
  EXPECT_TRUE(form_->SavePositions());
  EXPECT_TRUE(Option(form_.get(), "SavePositions1")->isChecked());
}

TEST_F(PrefsTest, HintFromTheFileAtStart) {
  WriteIni("[PREFERENCES]\r\nSHOWHINTS=1\r\n");
  MakeForm();
  EXPECT_TRUE(form_->ShowHints());
  EXPECT_EQ(form_->exitButton()->toolTip(), QStringLiteral("We're outta here! [AltX]"));
}

TEST_F(PrefsTest, ColouredBackgroundAfterARestartOnly) {
  MakeForm();
  Option(form_.get(), "ColorBckgrnd1")->trigger();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "You must restart the program\n\nfor this change to take affect.\n");
  EXPECT_EQ(messages_[0].box, BoxType::Information);
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nCOLORBCKGRND=1\n"));
  EXPECT_FALSE(form_->ColorBackground()) << "the running window keeps its background";
  const QImage before = form_->centralWidget()->grab().toImage();
  EXPECT_NE(before.pixelColor(5, 5), QColor(0, 0, 255));

  MakeForm();
  EXPECT_TRUE(form_->ColorBackground());
  const QImage after = form_->centralWidget()->grab().toImage();
  const QColor top = after.pixelColor(5, 0);
  const QColor bottom = after.pixelColor(5, after.height() - 1);
  EXPECT_EQ(top, QColor(0, 0, 255));
  EXPECT_EQ(bottom.red(), 0);
  EXPECT_EQ(bottom.green(), 0);
  EXPECT_LT(bottom.blue(), 3);
  // Darker band by band, from 255 at the top down to black.
  int previous = 256, distinct = 0;
  for (int y = 0; y < after.height(); ++y) {
    const int blue = after.pixelColor(5, y).blue();
    EXPECT_LE(blue, previous) << "row " << y;
    distinct += blue < previous ? 1 : 0;
    previous = blue;
  }
  EXPECT_GT(distinct, after.height() / 2) << "a smooth gradient, not a few blocks";

  // Toggling it off again: the same message, key 0.
  Option(form_.get(), "ColorBckgrnd1")->trigger();
  EXPECT_EQ(messages_.size(), 2u);
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nCOLORBCKGRND=0\n"));
}

TEST_F(PrefsTest, DamagedFileIsKeptAndTheUserToldOnce) {
  QByteArray junk;
  QRandomGenerator gen(42);
  for (int k = 0; k < 4096; ++k) junk.append(static_cast<char>(gen.bounded(256)));
  // Even with the right lines in among the junk.
  junk.prepend("[PREFERENCES]\nSHOWHINTS=1\nSAVEPOSITIONS=1\nCOLORBCKGRND=1\n");
  ASSERT_TRUE(junk.contains('\0'));
  WriteIni(junk);
  MakeForm();
  EXPECT_TRUE(form_->preferences().damaged());
  EXPECT_FALSE(form_->ShowHints());
  EXPECT_FALSE(form_->SavePositions());
  EXPECT_FALSE(form_->ColorBackground());
  ASSERT_EQ(messages_.size(), 1u) << "told at start";
  EXPECT_EQ(messages_[0].box, BoxType::Warning);
  EXPECT_EQ(messages_[0].text, "The preferences could not be read from\n\n" + IniPath().toStdString() +
                                   "\n\nbecause it holds binary data.\n\nThe file is left as it is; "
                                   "option changes\nlast until the program ends.\n");
  // Changes hold for the run and never replace the file.
  Option(form_.get(), "SavePositions1")->trigger();
  Option(form_.get(), "ShowHints1")->trigger();
  EXPECT_TRUE(form_->SavePositions());
  EXPECT_TRUE(form_->ShowHints());
  EXPECT_EQ(IniText(), junk);
  EXPECT_EQ(messages_.size(), 1u) << "once per run";
  // A calculator's position of this run is remembered in memory.
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* w = form_->windowSlots().Window(CalcKind::Loan, 1);
  w->setGeometry(QRect(QPoint(150, 130), w->size()));
  w->close();
  Settle();
  EXPECT_EQ(form_->preferences().ReadPosition("Loan Calculator 1", {}), QPoint(150, 130));
  EXPECT_EQ(IniText(), junk);
  EXPECT_EQ(messages_.size(), 1u);
  // The next run tells again.
  MakeForm();
  EXPECT_EQ(messages_.size(), 2u);
}

TEST_F(PrefsTest, FileReadingRules) {
  WriteIni("\xEF\xBB\xBF; written by hand\n[preferences]\nshowhints = 1\nSAVEPOSITIONS=yes\n"
           "COLORBCKGRND=2\n[Other]\nKeep=this\n");
  Preferences prefs(dir_.path());
  EXPECT_FALSE(prefs.damaged());
  EXPECT_TRUE(prefs.ReadBool("PREFERENCES", "SHOWHINTS"));       // names ignore case
  EXPECT_FALSE(prefs.ReadBool("PREFERENCES", "SAVEPOSITIONS"));  // not a number: default
  EXPECT_TRUE(prefs.ReadBool("PREFERENCES", "COLORBCKGRND"));    // any non-zero number
  EXPECT_EQ(prefs.ReadInt("Loan Calculator 1", "Left", 77), 77);
  EXPECT_EQ(prefs.ReadPosition(QString(), QPoint(1, 2)), std::nullopt);
  // Sections of others survive a write.
  ASSERT_EQ(prefs.WritePosition("Loan Calculator 1", QPoint(10, -20)), Preferences::WriteResult::Written);
  const QByteArray text = IniText();
  EXPECT_TRUE(text.contains("[Other]\nKeep=this\n")) << text.constData();
  EXPECT_TRUE(text.contains("[Loan Calculator 1]\nLeft=10\nTop=-20\n")) << text.constData();
  EXPECT_EQ(Preferences(dir_.path()).ReadPosition("Loan Calculator 1", {}), QPoint(10, -20));
}

TEST_F(PrefsTest, WriteFailureIsReportedOnce) {
  // The preferences folder cannot be made: a file sits where it should be.
  const QString blocked = dir_.filePath(QStringLiteral("blocked"));
  {
    QFile f(blocked);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  form_ = std::make_unique<TMainForm>(blocked);
  Option(form_.get(), "ShowHints1")->trigger();
  Option(form_.get(), "SavePositions1")->trigger();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].box, BoxType::Warning);
  EXPECT_EQ(messages_[0].text,
            "The preferences could not be saved in\n\n" + (blocked + "/Brevika2.ini").toStdString() + "\n");
  EXPECT_TRUE(form_->ShowHints()) << "the option still holds for this run";
}

TEST_F(PrefsTest, CalculatorPositionsSavedPerCaptionAndRestored) {
  WriteIni("[PREFERENCES]\nSAVEPOSITIONS=1\n");
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* first = form_->windowSlots().Window(CalcKind::Loan, 1);
  CalcWindow* second = form_->windowSlots().Window(CalcKind::Loan, 2);
  first->setGeometry(QRect(QPoint(140, 120), first->size()));
  second->setGeometry(QRect(QPoint(260, 90), second->size()));
  Settle();
  first->close();
  Settle();
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nSAVEPOSITIONS=1\n\n"
                                  "[Loan Calculator 1]\nLeft=140\nTop=120\n"));
  second->close();
  Settle();
  EXPECT_TRUE(IniText().endsWith("[Loan Calculator 2]\nLeft=260\nTop=90\n")) << IniText().constData();

  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  EXPECT_EQ(form_->windowSlots().Window(CalcKind::Loan, 1)->geometry().topLeft(), QPoint(140, 120));
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  EXPECT_EQ(form_->windowSlots().Window(CalcKind::Loan, 2)->geometry().topLeft(), QPoint(260, 90));
}

// The frame around a window is not known before the window is mapped, so
// what is saved is what is restored: the client area's place. A window
// opens where it was closed, cycle after cycle and across restarts.
TEST_F(PrefsTest, WindowsReopenExactlyWhereTheyWereClosed) {
  WriteIni("[PREFERENCES]\nSAVEPOSITIONS=1\n");
  MakeForm();
  form_->setGeometry(QRect(QPoint(49, 40), form_->size()));
  ASSERT_NE(form_->frameGeometry().topLeft(), form_->geometry().topLeft()) << "the platform draws frames";
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* loan = form_->windowSlots().Window(CalcKind::Loan, 1);
  loan->setGeometry(QRect(QPoint(201, 133), loan->size()));
  for (int cycle = 0; cycle < 5; ++cycle) {
    loan->close();
    Settle();
    EXPECT_TRUE(IniText().contains("[Loan Calculator 1]\nLeft=201\nTop=133\n")) << IniText().constData();
    form_->kindAction(CalcKind::Loan)->trigger();
    Settle();
    loan = form_->windowSlots().Window(CalcKind::Loan, 1);
    EXPECT_EQ(loan->geometry().topLeft(), QPoint(201, 133)) << "cycle " << cycle;
  }
  for (int restart = 0; restart < 3; ++restart) {
    form_->close();
    Settle();
    EXPECT_TRUE(IniText().contains("[Brevika]\nLeft=49\nTop=40\n")) << IniText().constData();
    MakeForm();
    EXPECT_EQ(form_->geometry().topLeft(), QPoint(49, 40)) << "restart " << restart;
  }
}

TEST_F(PrefsTest, PositionsPastIntAreIgnoredAndOffTheScreenComeBackOntoIt) {
  WriteIni("[PREFERENCES]\nSAVEPOSITIONS=1\n");
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  const QPoint usual = form_->windowSlots().Window(CalcKind::Loan, 1)->geometry().topLeft();
  form_.reset();
  Settle();
  // 4294967396 would wrap to 100 in 32 bits.
  WriteIni("[PREFERENCES]\nSAVEPOSITIONS=1\n\n[Loan Calculator 1]\nLeft=4294967396\nTop=100\n"
           "\n[Loan Calculator 2]\nLeft=9000\nTop=9000\n");
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  EXPECT_EQ(form_->windowSlots().Window(CalcKind::Loan, 1)->geometry().topLeft(), usual);
  // Far beyond the screen: in its bottom right corner.
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect second = form_->windowSlots().Window(CalcKind::Loan, 2)->frameGeometry();
  EXPECT_TRUE(screen.contains(second));
  EXPECT_EQ(second.right(), screen.right());
  EXPECT_EQ(second.bottom(), screen.bottom());
  EXPECT_EQ(form_->preferences().ReadPosition("Loan Calculator 1", {}), std::nullopt);
  EXPECT_EQ(form_->preferences().ReadPosition("Loan Calculator 2", {}), QPoint(9000, 9000));
}

TEST_F(PrefsTest, PositionsAreLeftAloneWithoutTheOption) {
  MakeForm();
  form_->kindAction(CalcKind::Loan)->trigger();
  Settle();
  CalcWindow* w = form_->windowSlots().Window(CalcKind::Loan, 1);
  w->move(150, 150);
  w->close();
  Settle();
  EXPECT_FALSE(QFile::exists(IniPath()));
}

TEST_F(PrefsTest, MainWindowPositionUnderItsCaption) {
  WriteIni("[PREFERENCES]\nSAVEPOSITIONS=1\n\n[Brevika]\nLeft=33\nTop=44\n");
  MakeForm();
  EXPECT_EQ(form_->geometry().topLeft(), QPoint(33, 44));
  form_->setGeometry(QRect(QPoint(70, 80), form_->size()));
  form_->close();
  Settle();
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nSAVEPOSITIONS=1\n\n[Brevika]\nLeft=70\nTop=80\n"));
}

TEST_F(PrefsTest, PrinterFontStartsAtTenPointMonospace) {
  MakeForm();
  const QFont font = form_->PrinterFont();
  EXPECT_TRUE(font.family() == QStringLiteral("Liberation Mono") ||
              font.family() == QStringLiteral("Courier New"))
      << font.family().toStdString();
  EXPECT_EQ(font.pointSize(), 10);
  form_->SetPrinterFont(QFont(QStringLiteral("DejaVu Sans Mono"), 12));
  EXPECT_EQ(form_->PrinterFont().pointSize(), 12);
  // Not stored: the next start has the initial font again.
  MakeForm();
  EXPECT_EQ(form_->PrinterFont().pointSize(), 10);
}

TEST_F(PrefsTest, FileLivesInTheProgramFolderWhenWritableElseInTheUsersConfigFolder) {
  const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME"), savedHome = qgetenv("HOME");
  const bool hadXdg = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
  EXPECT_EQ(PreferencesFolder(dir_.path()), dir_.path());
  const QString missing = dir_.filePath(QStringLiteral("not-there"));
  qputenv("XDG_CONFIG_HOME", "/srv/config");
  EXPECT_EQ(PreferencesFolder(missing), QStringLiteral("/srv/config/Brevika"));
  qputenv("XDG_CONFIG_HOME", "relative/path");  // not absolute: ignored
  qputenv("HOME", "/home/ann");
  EXPECT_EQ(PreferencesFolder(missing), QStringLiteral("/home/ann/.config/Brevika"));
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(PreferencesFolder(QString()), QStringLiteral("/home/ann/.config/Brevika"));
  qputenv("HOME", savedHome);
  if (hadXdg) qputenv("XDG_CONFIG_HOME", savedXdg);
}

}  // namespace
}  // namespace brevika
