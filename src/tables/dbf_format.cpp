#include "tables/dbf_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <set>

namespace brevika::tables {
namespace {

constexpr std::size_t kFixedHeader = 32;
constexpr std::size_t kDescriptor = 32;

std::uint32_t Le32(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return u[0] | (u[1] << 8) | (u[2] << 16) | (static_cast<std::uint32_t>(u[3]) << 24);
}
std::uint16_t Le16(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return static_cast<std::uint16_t>(u[0] | (u[1] << 8));
}
void PutLe32(char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void PutLe16(char* p, std::uint16_t v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>(v >> 8);
}

bool ValidWidth(FieldType type, int length, int decimals) {
  switch (type) {
    case FieldType::Character: return length >= 1 && length <= 254 && decimals == 0;
    case FieldType::Numeric: return length >= 1 && length <= 20 && decimals >= 0 &&
                                    decimals <= 15 && (decimals == 0 || decimals + 2 <= length);
    case FieldType::Date: return length == 8 && decimals == 0;
    case FieldType::Logical: return length == 1 && decimals == 0;
  }
  return false;
}

// cp1252 bytes 0x80..0x9F; 0 where the code page has no character.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::size_t HeaderLengthOf(const char* first32) {
  if (static_cast<std::uint8_t>(first32[0]) != kDbfVersion) return 0;
  return Le16(first32 + 8);
}

std::optional<DbfHeader> ParseHeader(const char* data, std::size_t available, std::uint64_t fileSize,
                                     char lastByte) {
  if (available < kFixedHeader + kDescriptor + 1 || fileSize < available) return std::nullopt;
  if (static_cast<std::uint8_t>(data[0]) != kDbfVersion) return std::nullopt;
  DbfHeader h;
  h.recordCount = Le32(data + 4);
  h.headerLength = Le16(data + 8);
  h.recordLength = Le16(data + 10);
  if (h.headerLength > available || h.headerLength < kFixedHeader + kDescriptor + 1) return std::nullopt;
  // The descriptors and their terminator fill the header exactly.
  if ((h.headerLength - kFixedHeader - 1) % kDescriptor != 0) return std::nullopt;
  const std::size_t count = (h.headerLength - kFixedHeader - 1) / kDescriptor;
  if (data[h.headerLength - 1] != kHeaderEnd) return std::nullopt;

  std::set<std::string> names;
  std::uint32_t offset = 1;
  for (std::size_t k = 0; k < count; ++k) {
    const char* d = data + kFixedHeader + k * kDescriptor;
    std::size_t nameLen = 0;
    while (nameLen < 11 && d[nameLen] != '\0') ++nameLen;
    if (nameLen == 0 || nameLen > 10) return std::nullopt;
    FieldDef f;
    for (std::size_t i = 0; i < nameLen; ++i) {
      const unsigned char c = static_cast<unsigned char>(d[i]);
      if (c <= 0x20 || c >= 0x7F) return std::nullopt;
      f.name += static_cast<char>(std::toupper(c));
    }
    const char type = d[11];
    if (type != 'C' && type != 'N' && type != 'D' && type != 'L') return std::nullopt;
    f.type = static_cast<FieldType>(type);
    f.length = static_cast<unsigned char>(d[16]);
    f.decimals = static_cast<unsigned char>(d[17]);
    if (!ValidWidth(f.type, f.length, f.decimals)) return std::nullopt;
    if (!names.insert(f.name).second) return std::nullopt;
    h.fields.push_back(FieldLayout{f, offset});
    offset += static_cast<std::uint32_t>(f.length);
  }
  if (h.fields.empty() || offset != h.recordLength) return std::nullopt;

  const std::uint64_t end = h.headerLength + static_cast<std::uint64_t>(h.recordCount) * h.recordLength;
  if (end == fileSize) {
    h.hasEndMarker = false;
  } else if (end + 1 == fileSize && lastByte == kFileEnd) {
    h.hasEndMarker = true;
  } else {
    return std::nullopt;  // records beyond the file, or bytes after them
  }
  return h;
}

void StampHeader(char* header, std::uint32_t count, Date lastUpdate) {
  int day = 1, month = 1, year = 1900;
  if (lastUpdate != kBadDate) SplitDate(lastUpdate, day, month, year);
  header[1] = static_cast<char>(std::clamp(year - 1900, 0, 255));
  header[2] = static_cast<char>(month);
  header[3] = static_cast<char>(day);
  PutLe32(header + 4, count);
}

std::vector<char> BuildHeader(const std::vector<FieldDef>& fields, std::uint32_t count,
                              Date lastUpdate) {
  const std::size_t length = kFixedHeader + kDescriptor * fields.size() + 1;
  std::vector<char> h(length, '\0');
  h[0] = static_cast<char>(kDbfVersion);
  StampHeader(h.data(), count, lastUpdate);
  std::uint32_t recordLength = 1;
  for (const FieldDef& f : fields) recordLength += static_cast<std::uint32_t>(f.length);
  PutLe16(h.data() + 8, static_cast<std::uint16_t>(length));
  PutLe16(h.data() + 10, static_cast<std::uint16_t>(recordLength));
  h[29] = static_cast<char>(kLanguageDriver);
  char* d = h.data() + kFixedHeader;
  for (const FieldDef& f : fields) {
    std::memcpy(d, f.name.data(), std::min<std::size_t>(f.name.size(), 10));
    d[11] = static_cast<char>(f.type);
    d[16] = static_cast<char>(f.length);
    d[17] = static_cast<char>(f.decimals);
    d += kDescriptor;
  }
  h[length - 1] = kHeaderEnd;
  return h;
}

bool SameLayout(const DbfHeader& header, const TableDef& def) {
  if (header.fields.size() != def.fields.size()) return false;
  for (std::size_t i = 0; i < def.fields.size(); ++i)
    if (!(header.fields[i].def == def.fields[i])) return false;
  return true;
}

std::string Utf8ToCp1252(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    std::size_t n;
    if (c < 0x80) {
      cp = c;
      n = 1;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      n = 2;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      n = 3;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      n = 4;
    } else {
      out += '?';
      ++i;
      continue;
    }
    bool good = i + n <= s.size();
    for (std::size_t k = 1; good && k < n; ++k) {
      const unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) good = false;
      else cp = (cp << 6) | (cc & 0x3F);
    }
    if (!good) {
      out += '?';
      ++i;
      continue;
    }
    i += n;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k)
      if (kHigh[k] != 0 && kHigh[k] == cp) mapped = static_cast<char>(0x80 + k);
    out += mapped;
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x80) out += ch;
    else if (c < 0xA0) AppendUtf8(out, kHigh[c - 0x80] ? kHigh[c - 0x80] : c);
    else AppendUtf8(out, c);
  }
  return out;
}

bool FormatNumber(double value, int width, int decimals, char* out) {
  if (!std::isfinite(value)) return false;
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return false;
  std::string_view text(buf, static_cast<std::size_t>(r.ptr - buf));
  // -0.00 is written as 0.00.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos)
    text.remove_prefix(1);
  if (text.size() > static_cast<std::size_t>(width)) return false;
  const std::size_t pad = static_cast<std::size_t>(width) - text.size();
  std::memset(out, ' ', pad);
  std::memcpy(out + pad, text.data(), text.size());
  return true;
}

double ParseNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double v = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
  if (r.ec != std::errc() || !std::isfinite(v)) return 0;
  return v;
}

void FormatDate(Date date, char* out) {
  if (date == kBadDate) {
    std::memset(out, ' ', 8);
    return;
  }
  int d, m, y;
  SplitDate(date, d, m, y);
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
  if (n != 8) {
    std::memset(out, ' ', 8);
    return;
  }
  std::memcpy(out, buf, 8);
}

Date ParseDate(std::string_view text) {
  if (text.size() != 8) return kBadDate;
  int v[3] = {0, 0, 0};
  const int widths[3] = {4, 2, 2};
  std::size_t p = 0;
  for (int k = 0; k < 3; ++k) {
    for (int i = 0; i < widths[k]; ++i, ++p) {
      if (text[p] < '0' || text[p] > '9') return kBadDate;
      v[k] = v[k] * 10 + (text[p] - '0');
    }
  }
  return MakeDate(v[2], v[1], v[0]);
}

}  // namespace brevika::tables
