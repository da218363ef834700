// The preferences file is never lost: its text kept line by line, writes
// that change one key of what is on disk now, files that cannot be read
// left alone, reading that never blocks or runs away.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "app/ini_text.h"
#include "app/preferences.h"
#include "shell_test_util.h"

namespace brevika {
namespace {

// The bytes of a literal, NULs included.
template <std::size_t N>
QByteArray Bytes(const char (&text)[N]) {
  return QByteArray(text, N - 1);
}

TEST(IniTextTest, SettingAKeyKeepsEveryOtherByte) {
  // BOM, CR LF, comments, an unknown line, a Latin-1 byte, blanks around '='.
  const QByteArray text =
      "\xEF\xBB\xBF; caf\xE9 settings\r\n[Preferences]\r\nshowhints = 0 \r\njunk without equals\r\n"
      "SavePositions=1\r\n\r\n[Other]\r\nName=Ren\xE9\r\n";
  IniText ini = IniText::Parse(text);
  EXPECT_EQ(ini.Bytes(), text) << "read and written back unchanged";
  EXPECT_EQ(ini.Value("PREFERENCES", "SHOWHINTS"), QByteArray("0"));
  EXPECT_EQ(ini.Value("Other", "name"), QByteArray("Ren\xE9"));
  EXPECT_EQ(ini.Value("Other", "junk without equals"), std::nullopt);

  ini.Set("PREFERENCES", "SHOWHINTS", "1");
  ini.Set("PREFERENCES", "COLORBCKGRND", "1");
  ini.Set("Loan Calculator 1", "Left", "12");
  EXPECT_EQ(ini.Bytes(),
            QByteArray("\xEF\xBB\xBF; caf\xE9 settings\r\n[Preferences]\r\nshowhints = 1\r\n"
                       "junk without equals\r\nSavePositions=1\r\nCOLORBCKGRND=1\r\n\r\n[Other]\r\n"
                       "Name=Ren\xE9\r\n\r\n[Loan Calculator 1]\r\nLeft=12\r\n"));
}

TEST(IniTextTest, FirstSectionAndKeyCountAndNewTextFollowsTheFile) {
  IniText ini = IniText::Parse("[A]\nk=1\nk=2\n[a]\nk=3\nx=9");
  EXPECT_EQ(ini.Value("a", "K"), QByteArray("1"));
  EXPECT_EQ(ini.Value("A", "x"), std::nullopt) << "only the first [A] is read";
  ini.Set("A", "k", "5");
  ini.Set("B", "k", "6");
  EXPECT_EQ(ini.Bytes(), QByteArray("[A]\nk=5\nk=2\n[a]\nk=3\nx=9\n\n[B]\nk=6\n"));

  IniText empty = IniText::Parse({});
  EXPECT_TRUE(empty.IsEmpty());
  empty.Set("PREFERENCES", "SHOWHINTS", "1");
  EXPECT_EQ(empty.Bytes(), QByteArray("[PREFERENCES]\nSHOWHINTS=1\n"));
  // A section with only a comment gets the key after its header.
  IniText commented = IniText::Parse("[S]\n; note\n");
  commented.Set("S", "k", "1");
  EXPECT_EQ(commented.Bytes(), QByteArray("[S]\nk=1\n; note\n"));
}

class PrefsFileTest : public ShellTest {
 protected:
  QAction* Option(const char* name) const { return form_->findChild<QAction*>(QString::fromLatin1(name)); }
  static bool IsRoot() { return ::geteuid() == 0; }
  // The text of the notice about a damaged file.
  std::string Notice(const QString& reason) const {
    return DamagedPreferencesMessage(IniPath(), reason).toStdString();
  }
};

TEST_F(PrefsFileTest, ALatinOneByteIsNotDamage) {
  const QByteArray text = "; Ren\xE9's options\n[PREFERENCES]\nSHOWHINTS=1\n\n[Brevika]\nLeft=5\nTop=6\n";
  WriteIni(text);
  MakeForm();
  EXPECT_FALSE(form_->preferences().damaged());
  EXPECT_TRUE(form_->ShowHints());
  EXPECT_TRUE(messages_.empty());
  Option("SavePositions1")->trigger();
  EXPECT_EQ(IniText(), QByteArray("; Ren\xE9's options\n[PREFERENCES]\nSHOWHINTS=1\nSAVEPOSITIONS=1\n\n"
                                  "[Brevika]\nLeft=5\nTop=6\n"));
}

TEST_F(PrefsFileTest, AHandEditBetweenTwoTogglesStays) {
  MakeForm();
  Option("ShowHints1")->trigger();
  // The user edits the file while the program runs.
  WriteIni("[PREFERENCES]\r\nSHOWHINTS=1\r\n; my note\r\nCOLORBCKGRND=1\r\n\r\n[Mine]\r\nA=b\r\n");
  Option("SavePositions1")->trigger();
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\r\nSHOWHINTS=1\r\n; my note\r\nCOLORBCKGRND=1\r\n"
                                  "SAVEPOSITIONS=1\r\n\r\n[Mine]\r\nA=b\r\n"));
  Option("ShowHints1")->trigger();
  EXPECT_TRUE(IniText().startsWith("[PREFERENCES]\r\nSHOWHINTS=0\r\n; my note\r\n")) << IniText().constData();
  EXPECT_TRUE(messages_.empty());
}

TEST_F(PrefsFileTest, TwoRunningCopiesLoseNothing) {
  Preferences first(dir_.path()), second(dir_.path());
  EXPECT_EQ(first.WriteBool(kPreferencesSection, kShowHintsKey, true), Preferences::WriteResult::Written);
  EXPECT_EQ(second.WriteBool(kPreferencesSection, kSavePositionsKey, true), Preferences::WriteResult::Written);
  EXPECT_EQ(first.WritePosition("Loan Calculator 1", {10, 20}), Preferences::WriteResult::Written);
  EXPECT_EQ(second.WritePosition("Loan Calculator 2", {30, 40}), Preferences::WriteResult::Written);
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nSHOWHINTS=1\nSAVEPOSITIONS=1\n\n[Loan Calculator 1]\n"
                                  "Left=10\nTop=20\n\n[Loan Calculator 2]\nLeft=30\nTop=40\n"));
  // Many writes from two threads at once, each its own key.
  auto writer = [this](const char* section) {
    Preferences p(dir_.path());
    for (int k = 0; k < 40; ++k) p.WriteInt(QString::fromLatin1(section), QStringLiteral("K%1").arg(k), k);
  };
  std::thread a(writer, "A"), b(writer, "B");
  a.join();
  b.join();
  Preferences after(dir_.path());
  for (int k = 0; k < 40; ++k) {
    EXPECT_EQ(after.ReadInt("A", QStringLiteral("K%1").arg(k), -1), k);
    EXPECT_EQ(after.ReadInt("B", QStringLiteral("K%1").arg(k), -1), k);
  }
  EXPECT_EQ(after.ReadPosition("Loan Calculator 2", {}), QPoint(30, 40));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Brevika2.ini"});
}

// Each kind of unusable file: kept as it is, the user told once which file
// and why, the options of the run held in memory.
TEST_F(PrefsFileTest, UnusableFilesAreNeverOverwritten) {
  struct Case {
    const char* name;
    QByteArray bytes;
    QString reason;
  };
  QByteArray big(kMaxPreferencesBytes + 1, ';');
  const std::vector<Case> cases = {
      {"NUL", Bytes("[PREFERENCES]\nSHOWHINTS=1\n; \0\n"), "it holds binary data"},
      {"over 1 MiB", big, "it is larger than 1 MB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    messages_.clear();
    WriteIni(c.bytes);
    MakeForm();
    EXPECT_TRUE(form_->preferences().damaged());
    EXPECT_EQ(form_->preferences().damageReason(), c.reason);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, Notice(c.reason));
    Option("ShowHints1")->trigger();
    EXPECT_TRUE(form_->ShowHints());
    EXPECT_EQ(IniText(), c.bytes);
    EXPECT_EQ(messages_.size(), 1u);
  }
}

TEST_F(PrefsFileTest, AFileDamagedWhileRunningIsKeptToo) {
  MakeForm();
  Option("ShowHints1")->trigger();
  EXPECT_TRUE(messages_.empty());
  const QByteArray junk = Bytes("[PREFERENCES]\n\0\0\0");
  WriteIni(junk);
  Option("SavePositions1")->trigger();
  EXPECT_EQ(IniText(), junk);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, Notice("it holds binary data"));
  Option("SavePositions1")->trigger();
  EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(PrefsFileTest, APipeNeitherHangsTheStartNorIsReplaced) {
  ASSERT_EQ(::mkfifo(QFile::encodeName(IniPath()).constData(), 0644), 0);
  auto done = std::make_shared<std::promise<PreferencesFileRead>>();
  std::future<PreferencesFileRead> result = done->get_future();
  std::thread reader([this, done] { done->set_value(ReadPreferencesFile(IniPath())); });
  const bool finished = result.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  if (!finished) {
    // Let the stuck reader go: a writer that closes at once ends its read.
    const int fd = ::open(QFile::encodeName(IniPath()).constData(), O_WRONLY);
    if (fd >= 0) ::close(fd);
  }
  reader.join();
  ASSERT_TRUE(finished) << "reading a pipe blocked";
  const PreferencesFileRead read = result.get();
  EXPECT_EQ(read.status, PreferencesFileRead::Status::Damaged);
  EXPECT_EQ(read.reason, QStringLiteral("it is not a plain file"));

  MakeForm();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, Notice("it is not a plain file"));
  Option("ShowHints1")->trigger();
  struct stat st {};
  ASSERT_EQ(::lstat(QFile::encodeName(IniPath()).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "still the pipe";
}

TEST_F(PrefsFileTest, LinksToDevicesAreNotReadAndLinksToFilesAreFollowed) {
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), IniPath()));
  const PreferencesFileRead zero = ReadPreferencesFile(IniPath());
  EXPECT_EQ(zero.status, PreferencesFileRead::Status::Damaged);
  EXPECT_EQ(zero.reason, QStringLiteral("it is not a plain file"));
  EXPECT_TRUE(zero.bytes.isEmpty());
  Preferences onZero(dir_.path());
  EXPECT_EQ(onZero.WriteBool(kPreferencesSection, kShowHintsKey, true), Preferences::WriteResult::Kept);
  EXPECT_EQ(QFileInfo(IniPath()).symLinkTarget(), QStringLiteral("/dev/zero"));

  // A link to a real file: read through it, written into its target.
  ASSERT_TRUE(QFile::remove(IniPath()));
  const QString real = dir_.filePath(QStringLiteral("real.ini"));
  {
    QFile f(real);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[PREFERENCES]\nSHOWHINTS=1\n");
  }
  ASSERT_TRUE(QFile::link(real, IniPath()));
  Preferences linked(dir_.path());
  EXPECT_FALSE(linked.damaged());
  EXPECT_TRUE(linked.ReadBool(kPreferencesSection, kShowHintsKey));
  EXPECT_EQ(linked.WriteBool(kPreferencesSection, kSavePositionsKey, true), Preferences::WriteResult::Written);
  EXPECT_TRUE(QFileInfo(IniPath()).isSymLink());
  QFile f(real);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("[PREFERENCES]\nSHOWHINTS=1\nSAVEPOSITIONS=1\n"));
}

TEST_F(PrefsFileTest, AFileTheUserMayNotReadIsKept) {
  if (IsRoot()) GTEST_SKIP() << "root reads every file";
  WriteIni("[PREFERENCES]\nSHOWHINTS=1\n");
  ASSERT_EQ(::chmod(QFile::encodeName(IniPath()).constData(), 0200), 0);
  MakeForm();
  EXPECT_EQ(form_->preferences().damageReason(), QStringLiteral("reading it is not permitted"));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, Notice("reading it is not permitted"));
  Option("SavePositions1")->trigger();
  ::chmod(QFile::encodeName(IniPath()).constData(), 0600);
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nSHOWHINTS=1\n"));
}

TEST_F(PrefsFileTest, AReadOnlyFileIsReadButNotReplaced) {
  if (IsRoot()) GTEST_SKIP() << "root may write every file";
  WriteIni("[PREFERENCES]\nSHOWHINTS=1\n");
  ASSERT_EQ(::chmod(QFile::encodeName(IniPath()).constData(), 0444), 0);
  MakeForm();
  EXPECT_FALSE(form_->preferences().damaged());
  EXPECT_TRUE(form_->ShowHints());
  Option("SavePositions1")->trigger();
  Option("ShowHints1")->trigger();
  EXPECT_EQ(IniText(), QByteArray("[PREFERENCES]\nSHOWHINTS=1\n"));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "The preferences could not be saved in\n\n" + IniPath().toStdString() + "\n");
  EXPECT_EQ(QFileInfo(IniPath()).permissions() & QFile::WriteOwner, 0);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Brevika2.ini"});
}

TEST_F(PrefsFileTest, ReplacingKeepsThePermissions) {
  WriteIni("[PREFERENCES]\nSHOWHINTS=1\n");
  ASSERT_EQ(::chmod(QFile::encodeName(IniPath()).constData(), 0640), 0);
  Preferences prefs(dir_.path());
  ASSERT_EQ(prefs.WriteBool(kPreferencesSection, kShowHintsKey, false), Preferences::WriteResult::Written);
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(IniPath()).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace brevika
