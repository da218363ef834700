#include "app/preferences.h"

#include "records/loan_tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QWidget>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brevika {

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

QString ReadFailure(int err) {
  if (err == EACCES || err == EPERM) return QStringLiteral("reading it is not permitted");
  return QStringLiteral("it could not be read (%1)").arg(QString::fromLocal8Bit(std::strerror(err)));
}

PreferencesFileRead Damaged(const QString& reason) {
  PreferencesFileRead r;
  r.status = PreferencesFileRead::Status::Damaged;
  r.reason = reason;
  return r;
}

// A descriptor closed when it goes.
struct Descriptor {
  int fd = -1;
  explicit Descriptor(int d) : fd(d) {}
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
};

bool WriteAll(int fd, const char* data, qint64 size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, static_cast<std::size_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= n;
  }
  return true;
}

// Holds an exclusive lock on the preferences folder while a write reads,
// changes and replaces the file, so two running copies take turns.
class FolderLock {
 public:
  explicit FolderLock(const QString& folder)
      : dir_(::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (dir_.fd >= 0)
      while (::flock(dir_.fd, LOCK_EX) != 0 && errno == EINTR) {
      }
  }

 private:
  Descriptor dir_;
};

// Whole numbers that keep a window's rectangle inside int arithmetic.
constexpr qlonglong kMaxCoordinate = QWIDGETSIZE_MAX;

}  // namespace

QString PreferencesFolder(const QString& programDir) {
  if (records::ProgramFolderKeepsData(Native(programDir).toStdString())) return programDir;
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (xdg.startsWith(QLatin1Char('/'))) return xdg + QStringLiteral("/Brevika");
  const QString home = qEnvironmentVariable("HOME");
  return (home.isEmpty() ? QStringLiteral(".") : home) + QStringLiteral("/.config/Brevika");
}

QString DefaultPreferencesDirectory() {
  return PreferencesFolder(QCoreApplication::applicationDirPath());
}

PreferencesFileRead ReadPreferencesFile(const QString& path) {
  const QByteArray name = Native(path);
  struct stat st {};
  if (::stat(name.constData(), &st) != 0) {
    const int err = errno;
    struct stat link {};
    if (err == ENOENT && ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode))
      return Damaged(QStringLiteral("it is a link to a file that is not there"));
    if (err == ENOENT || err == ENOTDIR) return {};
    return Damaged(ReadFailure(err));
  }
  // A pipe, device or folder is never opened: reading it could block for
  // ever or never end.
  if (!S_ISREG(st.st_mode)) return Damaged(QStringLiteral("it is not a plain file"));
  if (st.st_size > kMaxPreferencesBytes) return Damaged(QStringLiteral("it is larger than 1 MB"));
  const Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.fd < 0) return Damaged(ReadFailure(errno));
  if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
    return Damaged(QStringLiteral("it is not a plain file"));

  // Bounded: a file that grew meanwhile is read no further than the limit.
  QByteArray bytes(kMaxPreferencesBytes + 1, Qt::Uninitialized);
  qint64 got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(file.fd, bytes.data() + got, static_cast<std::size_t>(bytes.size() - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Damaged(ReadFailure(errno));
    if (n == 0) break;
    got += n;
  }
  if (got > kMaxPreferencesBytes) return Damaged(QStringLiteral("it is larger than 1 MB"));
  bytes.truncate(got);
  if (bytes.contains('\0')) return Damaged(QStringLiteral("it holds binary data"));
  PreferencesFileRead r;
  r.status = PreferencesFileRead::Status::Read;
  r.bytes = std::move(bytes);
  return r;
}

bool ReplacePreferencesFile(const QString& path, const QByteArray& bytes) {
  QByteArray target = Native(path);
  struct stat st {};
  if (::lstat(target.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // The link stays; its target gets the new text.
    char* real = ::realpath(target.constData(), nullptr);
    if (!real) return false;
    target = real;
    std::free(real);
  }
  const bool exists = ::stat(target.constData(), &st) == 0;
  if (exists && (!S_ISREG(st.st_mode) || ::access(target.constData(), W_OK) != 0)) return false;

  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
  const QByteArray base = target.mid(slash + 1);
  static std::atomic<unsigned> counter = 0;
  QByteArray temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + "/." + base + ".tmp-" + QByteArray::number(::getpid()) + '-' +
           QByteArray::number(++counter);
    fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.constData(), bytes.size());
  // The new file keeps the old one's permissions.
  if (ok && exists) ok = ::fchmod(fd, st.st_mode & 07777) == 0;
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temp.constData(), target.constData()) == 0;
  if (!ok) {
    ::unlink(temp.constData());
    return false;
  }
  // The rename itself is on disk once the folder is.
  const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.fd >= 0) ::fsync(dir.fd);
  return true;
}

Preferences::Preferences(const QString& directory)
    : directory_(directory), path_(QDir(directory).filePath(QLatin1String(kPreferencesFileName))) {
  const PreferencesFileRead read = ReadPreferencesFile(path_);
  if (read.status == PreferencesFileRead::Status::Damaged)
    MarkDamaged(read.reason);
  else
    ini_ = IniText::Parse(read.bytes);
}

void Preferences::MarkDamaged(const QString& reason) {
  damaged_ = true;
  reason_ = reason;
}

bool Preferences::ReadBool(const QString& section, const QString& key, bool fallback) const {
  return ReadInt(section, key, fallback ? 1 : 0) != 0;
}

long Preferences::ReadInt(const QString& section, const QString& key, long fallback) const {
  const std::optional<QByteArray> text = ini_.Value(section.toUtf8(), key.toUtf8());
  if (!text) return fallback;
  bool ok = false;
  const long value = text->toLong(&ok, 10);
  return ok ? value : fallback;
}

Preferences::WriteResult Preferences::WriteBool(const QString& section, const QString& key, bool value) {
  return WriteInt(section, key, value ? 1 : 0);
}

Preferences::WriteResult Preferences::WriteInt(const QString& section, const QString& key, long value) {
  return Write(section, {{key.toUtf8(), QByteArray::number(value)}});
}

std::optional<QPoint> Preferences::ReadPosition(const QString& caption, QPoint fallback) const {
  if (caption.isEmpty()) return std::nullopt;
  const QByteArray section = caption.toUtf8();
  const std::optional<QByteArray> left = ini_.Value(section, "Left");
  const std::optional<QByteArray> top = ini_.Value(section, "Top");
  if (!left && !top) return std::nullopt;
  // A value that is not a usable coordinate is ignored, never wrapped.
  auto coordinate = [](const std::optional<QByteArray>& text, int fallbackValue) -> std::optional<int> {
    if (!text) return fallbackValue;
    bool ok = false;
    const qlonglong v = text->toLongLong(&ok, 10);
    if (!ok || v < -kMaxCoordinate || v > kMaxCoordinate) return std::nullopt;
    return static_cast<int>(v);
  };
  const std::optional<int> x = coordinate(left, fallback.x());
  const std::optional<int> y = coordinate(top, fallback.y());
  if (!x || !y) return std::nullopt;
  return QPoint(*x, *y);
}

Preferences::WriteResult Preferences::WritePosition(const QString& caption, QPoint pos) {
  if (caption.isEmpty()) return WriteResult::Written;
  return Write(caption, {{"Left", QByteArray::number(pos.x())}, {"Top", QByteArray::number(pos.y())}});
}

Preferences::WriteResult Preferences::Write(const QString& section, std::initializer_list<Change> changes) {
  const QByteArray name = section.toUtf8();
  auto apply = [&](IniText& ini) {
    for (const Change& c : changes) ini.Set(name, c.key, c.value);
  };
  if (damaged_) {
    apply(ini_);
    return WriteResult::Kept;
  }
  if (!QDir().mkpath(directory_)) {
    apply(ini_);
    return WriteResult::Failed;
  }
  const FolderLock lock(directory_);
  // What is on disk now: edits by hand or by another copy since the last
  // read stay.
  const PreferencesFileRead read = ReadPreferencesFile(path_);
  if (read.status == PreferencesFileRead::Status::Damaged) {
    MarkDamaged(read.reason);
    apply(ini_);
    return WriteResult::Kept;
  }
  IniText fresh = IniText::Parse(read.bytes);
  apply(fresh);
  if (!ReplacePreferencesFile(path_, fresh.Bytes())) {
    apply(ini_);
    return WriteResult::Failed;
  }
  ini_ = std::move(fresh);
  return WriteResult::Written;
}

}  // namespace brevika
