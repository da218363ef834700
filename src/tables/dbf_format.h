// dBase III table files: the header, the field descriptors and the text
// forms of field values. Pure functions, no file access.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "finance/periods.h"

namespace brevika::tables {

inline constexpr std::uint8_t kDbfVersion = 0x03;
inline constexpr char kHeaderEnd = 0x0D;
inline constexpr char kFileEnd = 0x1A;
inline constexpr char kLiveFlag = ' ';
inline constexpr char kDeletedFlag = '*';
// Language driver byte: Windows ANSI (cp1252), the encoding of C fields.
inline constexpr std::uint8_t kLanguageDriver = 0x57;

enum class FieldType : char { Character = 'C', Numeric = 'N', Date = 'D', Logical = 'L' };

struct FieldDef {
  std::string name;  // at most 10 characters
  FieldType type = FieldType::Character;
  int length = 0;
  int decimals = 0;
  bool operator==(const FieldDef&) const = default;
};

// An index tag kept in memory: its name and its key expression, the name
// of one character field.
struct TagDef {
  std::string name;
  std::string expression;
};

// What a program table must hold: its file name, the fields it must have
// (with their types) and the tags built over them.
struct TableDef {
  std::string fileName;
  std::vector<FieldDef> fields;
  std::vector<TagDef> tags;
};

// A field of a file as laid out in each record (offset counts the flag byte).
struct FieldLayout {
  FieldDef def;
  std::uint32_t offset = 0;
};

struct DbfHeader {
  std::vector<FieldLayout> fields;
  std::uint32_t headerLength = 0;
  std::uint32_t recordLength = 0;
  std::uint32_t recordCount = 0;
  bool hasEndMarker = false;  // the file ends with 0x1A after the records
};

// Header length the first 32 bytes of a file give; 0 when they are not
// the start of a dBase III table.
std::size_t HeaderLengthOf(const char* first32);

// Reads the header of a file of `fileSize` bytes from its first
// `available` bytes (at least the header length), `lastByte` being the
// file's last byte. Checks it against itself and the size: version 0x03,
// known field types and widths, the descriptors ended by 0x0D exactly at
// the header length, a record length equal to the fields' sum, and the
// records filling the file exactly, a 0x1A end byte aside. nullopt for
// anything else. The records' deletion flags are not read here.
std::optional<DbfHeader> ParseHeader(const char* data, std::size_t available, std::uint64_t fileSize,
                                     char lastByte);

// Header bytes of a new file with these fields, `count` records and the
// given last-update date.
std::vector<char> BuildHeader(const std::vector<FieldDef>& fields, std::uint32_t count,
                              Date lastUpdate);
// Writes the record count and last-update date into header bytes 1..7.
void StampHeader(char* header, std::uint32_t count, Date lastUpdate);

// True when the file has exactly the fields of `def`, in its order, each
// with its name, type, width and decimals.
bool SameLayout(const DbfHeader& header, const TableDef& def);

// C fields are cp1252 in the file and UTF-8 in the program; a character
// cp1252 lacks becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view bytes);

// Right-aligned fixed-point text of `width` characters with `decimals`
// decimals; false when the value is not finite or does not fit.
bool FormatNumber(double value, int width, int decimals, char* out);
// Value of a numeric field's text; blank or unreadable text reads as 0.
double ParseNumber(std::string_view text);
// "YYYYMMDD"; kBadDate writes blanks.
void FormatDate(Date date, char* out);
// kBadDate for blanks or anything that is not a calendar date.
Date ParseDate(std::string_view text);

}  // namespace brevika::tables
