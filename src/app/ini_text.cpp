#include "app/ini_text.h"

namespace brevika {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

QByteArray TrimBlanks(const QByteArray& s) {
  qsizetype from = 0, to = s.size();
  while (from < to && (IsBlank(s[from]) || s[from] == '\r')) ++from;
  while (to > from && (IsBlank(s[to - 1]) || s[to - 1] == '\r')) --to;
  return s.mid(from, to - from);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names match without regard to ASCII case; other bytes must be equal.
bool SameName(const QByteArray& a, const QByteArray& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype k = 0; k < a.size(); ++k)
    if (AsciiLower(a[k]) != AsciiLower(b[k])) return false;
  return true;
}

enum class Kind { Section, Key, Other };

struct Classified {
  Kind kind = Kind::Other;
  QByteArray name;            // section or key name
  QByteArray value;           // a key's value
  qsizetype valueStart = 0;   // where a key's value begins in the line
};

Classified Classify(const QByteArray& text) {
  Classified c;
  const QByteArray t = TrimBlanks(text);
  if (t.isEmpty() || t[0] == ';' || t[0] == '#') return c;
  if (t[0] == '[') {
    const qsizetype close = t.indexOf(']');
    c.kind = Kind::Section;
    c.name = TrimBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1));
    return c;
  }
  const qsizetype eq = text.indexOf('=');
  if (eq < 0) return c;
  c.name = TrimBlanks(text.left(eq));
  if (c.name.isEmpty()) return c;
  c.kind = Kind::Key;
  c.valueStart = eq + 1;
  while (c.valueStart < text.size() && IsBlank(text[c.valueStart])) ++c.valueStart;
  c.value = TrimBlanks(text.mid(eq + 1));
  return c;
}

}  // namespace

IniText IniText::Parse(const QByteArray& bytes) {
  IniText ini;
  qsizetype start = 0;
  if (bytes.startsWith(kBom)) {
    ini.bom_ = kBom;
    start = kBom.size();
  }
  bool newlineSeen = false;
  while (start < bytes.size()) {
    const qsizetype nl = bytes.indexOf('\n', start);
    Line line;
    if (nl < 0) {
      line.text = bytes.mid(start);
      start = bytes.size();
    } else {
      qsizetype textEnd = nl;
      if (textEnd > start && bytes[textEnd - 1] == '\r') --textEnd;
      line.text = bytes.mid(start, textEnd - start);
      line.end = bytes.mid(textEnd, nl + 1 - textEnd);
      start = nl + 1;
      if (!newlineSeen) {
        ini.newline_ = line.end;
        newlineSeen = true;
      }
    }
    ini.lines_.push_back(std::move(line));
  }
  return ini;
}

QByteArray IniText::Bytes() const {
  QByteArray out = bom_;
  for (const Line& line : lines_) out += line.text + line.end;
  return out;
}

int IniText::FindSection(const QByteArray& section) const {
  const QByteArray name = TrimBlanks(section);
  for (std::size_t k = 0; k < lines_.size(); ++k) {
    const Classified c = Classify(lines_[k].text);
    if (c.kind == Kind::Section && SameName(c.name, name)) return static_cast<int>(k);
  }
  return -1;
}

int IniText::SectionEnd(int header) const {
  for (std::size_t k = static_cast<std::size_t>(header) + 1; k < lines_.size(); ++k)
    if (Classify(lines_[k].text).kind == Kind::Section) return static_cast<int>(k);
  return static_cast<int>(lines_.size());
}

std::optional<QByteArray> IniText::Value(const QByteArray& section, const QByteArray& key) const {
  const int header = FindSection(section);
  if (header < 0) return std::nullopt;
  const QByteArray name = TrimBlanks(key);
  for (int k = header + 1, end = SectionEnd(header); k < end; ++k) {
    const Classified c = Classify(lines_[k].text);
    if (c.kind == Kind::Key && SameName(c.name, name)) return c.value;
  }
  return std::nullopt;
}

void IniText::EndLastLine() {
  if (!lines_.empty() && lines_.back().end.isEmpty()) lines_.back().end = newline_;
}

void IniText::Set(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
  const int header = FindSection(section);
  if (header < 0) {
    if (!lines_.empty()) {
      EndLastLine();
      if (!TrimBlanks(lines_.back().text).isEmpty()) lines_.push_back({QByteArray(), newline_});
    }
    lines_.push_back({'[' + section + ']', newline_});
    lines_.push_back({key + '=' + value, newline_});
    return;
  }
  const QByteArray name = TrimBlanks(key);
  int lastKey = header;
  for (int k = header + 1, end = SectionEnd(header); k < end; ++k) {
    const Classified c = Classify(lines_[k].text);
    if (c.kind != Kind::Key) continue;
    if (SameName(c.name, name)) {
      // The key keeps its spelling and the blanks around '='.
      lines_[k].text = lines_[k].text.left(c.valueStart) + value;
      return;
    }
    lastKey = k;
  }
  if (lastKey + 1 == static_cast<int>(lines_.size())) EndLastLine();
  lines_.insert(lines_.begin() + lastKey + 1, Line{key + '=' + value, newline_});
}

}  // namespace brevika
