// The text of an INI file kept line by line and byte for byte, so that
// setting one key leaves every other section, key, comment, unknown line,
// byte order mark and line end as it was. Bytes are not decoded: names and
// values that are not UTF-8 are kept as they are.
//
// Reading follows the private-profile rules: section and key names are
// compared without regard to ASCII case and surrounding blanks, the first
// matching section and key count, a value is the text after the first '='
// without surrounding blanks, lines starting with ';' or '#' are comments.
#pragma once
#include <QByteArray>
#include <optional>
#include <vector>

namespace brevika {

class IniText {
 public:
  IniText() = default;
  static IniText Parse(const QByteArray& bytes);

  // The file's bytes: what Parse read, with the changes of Set.
  QByteArray Bytes() const;
  bool IsEmpty() const { return lines_.empty() && bom_.isEmpty(); }

  std::optional<QByteArray> Value(const QByteArray& section, const QByteArray& key) const;
  // Replaces the value of an existing key in place, or adds the key after
  // the last key of its section, or adds the section at the end (after one
  // blank line). New lines end like the file's first line.
  void Set(const QByteArray& section, const QByteArray& key, const QByteArray& value);

 private:
  struct Line {
    QByteArray text;  // without its line end
    QByteArray end;   // "\n", "\r\n", or empty for a last line without one
  };
  // Index of the first line of the section's header, or -1.
  int FindSection(const QByteArray& section) const;
  // Index past the section's last line (the next header or the end).
  int SectionEnd(int header) const;
  void EndLastLine();

  QByteArray bom_;
  std::vector<Line> lines_;
  QByteArray newline_ = "\n";
};

}  // namespace brevika
