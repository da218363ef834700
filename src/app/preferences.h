// The preferences file "Brevika2.ini": three on/off options and the saved
// positions of windows, one section per window caption. Plain INI text read
// and written with SimpleIni; every change is written to disk at once,
// through a temporary file that replaces the old one.
#pragma once
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

namespace brevika {

inline constexpr char kPreferencesFileName[] = "Brevika2.ini";
inline constexpr char kPreferencesSection[] = "PREFERENCES";
inline constexpr char kShowHintsKey[] = "SHOWHINTS";
inline constexpr char kSavePositionsKey[] = "SAVEPOSITIONS";
inline constexpr char kColorBackgroundKey[] = "COLORBCKGRND";

// Folder of the preferences file: $XDG_CONFIG_HOME/Brevika, else
// ~/.config/Brevika.
QString DefaultPreferencesDirectory();

class Preferences {
 public:
  // Reads <directory>/Brevika2.ini. A missing, unreadable or damaged file
  // (binary data, not UTF-8, too large) reads as empty: every option off.
  explicit Preferences(const QString& directory);
  ~Preferences();
  Preferences(const Preferences&) = delete;
  Preferences& operator=(const Preferences&) = delete;

  QString filePath() const { return path_; }
  // True when the file existed but could not be used.
  bool damaged() const { return damaged_; }

  bool ReadBool(const QString& section, const QString& key, bool fallback = false) const;
  long ReadInt(const QString& section, const QString& key, long fallback) const;
  // Each write stores the value and saves the whole file; false when the
  // file could not be written (the value is kept for this run).
  bool WriteBool(const QString& section, const QString& key, bool value);
  bool WriteInt(const QString& section, const QString& key, long value);

  // "Left" and "Top" of a window's section; nothing for an empty caption.
  std::optional<QPoint> ReadPosition(const QString& caption, QPoint fallback) const;
  bool WritePosition(const QString& caption, QPoint pos);

 private:
  bool Save();

  struct Ini;
  QString path_;
  bool damaged_ = false;
  std::unique_ptr<Ini> ini_;
};

}  // namespace brevika
