#include "app/preferences.h"

// Plain char data; the bytes are checked for UTF-8 before SimpleIni sees them.
#define SI_NO_CONVERSION
// This unit compiles the template members itself (no library to link).
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <string>

namespace brevika {

namespace {

// A preferences file is a few hundred bytes; anything this large is not ours.
constexpr qint64 kMaxFileBytes = 1 << 20;

std::string Utf8(const QString& s) { return s.toUtf8().toStdString(); }

// Text that SimpleIni can take: no NUL bytes, valid UTF-8.
bool LooksLikeText(const QByteArray& bytes) {
  if (bytes.contains('\0')) return false;
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString text = decoder(bytes);
  Q_UNUSED(text);
  return !decoder.hasError();
}

}  // namespace

struct Preferences::Ini {
  CSimpleIniA data{/*utf8=*/true, /*multiKey=*/false, /*multiLine=*/false};
};

QString DefaultPreferencesDirectory() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Brevika");
}

Preferences::Preferences(const QString& directory)
    : path_(QDir(directory).filePath(QLatin1String(kPreferencesFileName))),
      ini_(std::make_unique<Ini>()) {
  ini_->data.SetSpaces(false);
  QFile file(path_);
  if (!file.exists()) return;
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) {
    damaged_ = true;
    return;
  }
  const QByteArray bytes = file.readAll();
  if (!LooksLikeText(bytes) ||
      ini_->data.LoadData(bytes.constData(), static_cast<size_t>(bytes.size())) < 0) {
    damaged_ = true;
    ini_->data.Reset();
  }
}

Preferences::~Preferences() = default;

bool Preferences::ReadBool(const QString& section, const QString& key, bool fallback) const {
  return ReadInt(section, key, fallback ? 1 : 0) != 0;
}

long Preferences::ReadInt(const QString& section, const QString& key, long fallback) const {
  const char* text = ini_->data.GetValue(Utf8(section).c_str(), Utf8(key).c_str(), nullptr);
  if (!text) return fallback;
  bool ok = false;
  const long value = QString::fromUtf8(text).trimmed().toLong(&ok);
  return ok ? value : fallback;
}

bool Preferences::WriteBool(const QString& section, const QString& key, bool value) {
  return WriteInt(section, key, value ? 1 : 0);
}

bool Preferences::WriteInt(const QString& section, const QString& key, long value) {
  ini_->data.SetLongValue(Utf8(section).c_str(), Utf8(key).c_str(), value);
  return Save();
}

std::optional<QPoint> Preferences::ReadPosition(const QString& caption, QPoint fallback) const {
  if (caption.isEmpty()) return std::nullopt;
  return QPoint(static_cast<int>(ReadInt(caption, QStringLiteral("Left"), fallback.x())),
                static_cast<int>(ReadInt(caption, QStringLiteral("Top"), fallback.y())));
}

bool Preferences::WritePosition(const QString& caption, QPoint pos) {
  if (caption.isEmpty()) return true;
  const std::string section = Utf8(caption);
  ini_->data.SetLongValue(section.c_str(), "Left", pos.x());
  ini_->data.SetLongValue(section.c_str(), "Top", pos.y());
  return Save();
}

bool Preferences::Save() {
  std::string text;
  if (ini_->data.Save(text) < 0) return false;
  // SimpleIni puts two blank lines before every section; one is enough.
  for (std::size_t at; (at = text.find("\n\n\n")) != std::string::npos;) text.erase(at, 1);
  if (!QDir().mkpath(QFileInfo(path_).absolutePath())) return false;
  // QSaveFile writes a temporary file next to the target and renames it over
  // the old one on commit, so a failed write never leaves half a file.
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.data(), static_cast<qint64>(text.size()));
  if (!file.commit()) return false;
  damaged_ = false;
  return true;
}

}  // namespace brevika
