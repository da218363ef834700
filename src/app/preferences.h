// The preferences file "Brevika2.ini": three on/off options and the saved
// positions of windows, one section per window caption.
//
// The file is never lost: every write reads the file again, changes its
// one key (or a window's Left and Top) and puts it back atomically, keeping
// everything else byte for byte, so hand edits and a second running copy
// lose nothing. A file that cannot be read (not a plain file, too large,
// binary, no permission) is left alone for the whole run; the values then
// live in memory only.
#pragma once
#include <QByteArray>
#include <QPoint>
#include <QString>
#include <optional>

#include "app/ini_text.h"

namespace brevika {

inline constexpr char kPreferencesFileName[] = "Brevika2.ini";
inline constexpr char kPreferencesSection[] = "PREFERENCES";
inline constexpr char kShowHintsKey[] = "SHOWHINTS";
inline constexpr char kSavePositionsKey[] = "SAVEPOSITIONS";
inline constexpr char kColorBackgroundKey[] = "COLORBCKGRND";
// A preferences file is a few hundred bytes; anything larger is not ours.
inline constexpr qint64 kMaxPreferencesBytes = 1 << 20;

// Folder of the preferences file, by the rule of the tables' folder: the
// program's folder while the user may write there (a build folder), else
// the user's configuration folder, $XDG_CONFIG_HOME/Brevika when that is an
// absolute path, else ~/.config/Brevika (an installed program).
QString PreferencesFolder(const QString& programDir);
// PreferencesFolder() of the running program's folder.
QString DefaultPreferencesDirectory();

// What reading a preferences file found.
struct PreferencesFileRead {
  enum class Status { Missing, Read, Damaged };
  Status status = Status::Missing;
  QByteArray bytes;
  // For a damaged file, why, in words for the user ("it holds binary data").
  QString reason;
};

// Reads a regular file (or a link to one) of at most kMaxPreferencesBytes
// without blocking: a pipe or device is not opened for reading at all.
PreferencesFileRead ReadPreferencesFile(const QString& path);

// Replaces the file (the target of a link) by `bytes`: a temporary file in
// the same folder, flushed to disk, renamed over it. The old file's
// permissions stay; a file the user may not write is not replaced.
bool ReplacePreferencesFile(const QString& path, const QByteArray& bytes);

class Preferences {
 public:
  enum class WriteResult {
    Written,  // in the file
    Kept,     // the file is damaged: the value holds for this run only
    Failed,   // the file could not be written: the value holds for this run only
  };

  explicit Preferences(const QString& directory);
  Preferences(const Preferences&) = delete;
  Preferences& operator=(const Preferences&) = delete;

  QString filePath() const { return path_; }
  // True once the file was found unreadable; it is not written this run.
  bool damaged() const { return damaged_; }
  QString damageReason() const { return reason_; }

  bool ReadBool(const QString& section, const QString& key, bool fallback = false) const;
  long ReadInt(const QString& section, const QString& key, long fallback) const;
  WriteResult WriteBool(const QString& section, const QString& key, bool value);
  WriteResult WriteInt(const QString& section, const QString& key, long value);

  // "Left" and "Top" of a window's section, a missing one defaulting to
  // `fallback`. Nothing for an empty caption, a section with neither key, or
  // a value that is not a whole number that fits a screen coordinate.
  std::optional<QPoint> ReadPosition(const QString& caption, QPoint fallback) const;
  WriteResult WritePosition(const QString& caption, QPoint pos);

 private:
  struct Change {
    QByteArray key, value;
  };
  WriteResult Write(const QString& section, std::initializer_list<Change> changes);
  void MarkDamaged(const QString& reason);

  QString directory_;
  QString path_;
  bool damaged_ = false;
  QString reason_;
  // The file as last read or written, with this run's changes.
  IniText ini_;
};

}  // namespace brevika
