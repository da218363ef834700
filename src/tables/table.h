// One open dBase III table: the whole file image in memory, tag indexes
// built in memory when it opens, a record cursor, and changes that belong
// to the transaction of its Database. No Qt.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "finance/outcome.h"
#include "finance/periods.h"
#include "tables/dbf_format.h"

namespace brevika::tables {

class Database;

class Table {
 public:
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;
  ~Table();

  const std::string& fileName() const { return fileName_; }
  const std::vector<FieldLayout>& fields() const { return header_.fields; }
  // Field number by name (case-insensitive), -1 when the table lacks it.
  int FieldIndex(std::string_view name) const;

  // Order number of a tag (1-based), 0 when there is no such tag.
  int TagArea(std::string_view tagName) const;
  // 0 is record order; an unknown number selects record order. Clears the scope.
  void SetOrder(int order);
  int Order() const { return order_; }
  // Key expression of the active tag, empty in record order.
  std::string IndexKey() const;
  // The current record's value of a key expression (a field name), as
  // stored: its length is the key width.
  std::string EvalString(std::string_view expression) const;
  // Width of the active tag's key, 0 in record order.
  int KeyWidth() const;
  // `key` filled with blanks to the active key width.
  std::string PadKey(std::string_view key) const;

  // Finds the first visible record whose key starts with `key` on the
  // active tag (pad it to the key width for an exact match). On a miss the
  // cursor is at the end. Never finds anything in record order.
  bool Seek(std::string_view key);
  // First visible record whose key is at or after `key` (incremental search).
  bool SoftSeek(std::string_view key);
  // Only records whose keys lie from `low` to `high` (compared over their
  // lengths) stay visible; moves to the first. False in record order.
  bool SetScope(std::string_view low, std::string_view high);
  void ClearScope();
  bool Scoped() const { return scope_.has_value(); }

  // Records in the file, deleted ones included.
  std::uint32_t RecCount() const { return header_.recordCount; }
  // Visible records in the active order and scope.
  std::uint32_t KeyCount() const;

  void GoTop();
  void GoBottom();
  // Moves over visible records; false when it ran off either end.
  bool Skip(int count = 1);
  // Any record by number, deleted or not; false when out of range.
  bool Go(std::uint32_t recno);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  // Current record number, 0 at the end.
  std::uint32_t RecNo() const { return rec_; }
  bool Deleted() const;

  // Fields of the current record; at the end they read blank.
  std::string GetString(std::string_view field) const;      // as stored, padded
  std::string GetTrimString(std::string_view field) const;  // trailing blanks gone
  double GetNumber(std::string_view field) const;
  Date GetDate(std::string_view field) const;  // kBadDate when blank
  bool GetLogical(std::string_view field) const;
  std::string GetString(int field) const;
  std::string GetTrimString(int field) const;
  double GetNumber(int field) const;
  Date GetDate(int field) const;
  bool GetLogical(int field) const;

  // Changes. Each joins the database's transaction (an implicit one when
  // none is open, committed by Post). Refused while another copy of the
  // program holds the tables.
  Outcome AppendBlank();
  // Text longer than the field is cut; numbers that do not fit are refused.
  Outcome ReplaceString(std::string_view field, std::string_view text);
  Outcome ReplaceNumber(std::string_view field, double value);
  Outcome ReplaceDate(std::string_view field, Date date);
  Outcome ReplaceLogical(std::string_view field, bool value);
  Outcome ReplaceString(int field, std::string_view text);
  Outcome ReplaceNumber(int field, double value);
  Outcome ReplaceDate(int field, Date date);
  Outcome ReplaceLogical(int field, bool value);
  // Blanks every field of the current record.
  Outcome BlankRecord();
  // Marks the current record deleted; it stays current but is hidden.
  Outcome Delete();
  // Makes the changes durable: commits an implicit transaction; inside an
  // explicit one the changes wait for its commit.
  Outcome Post();
  // Removes deleted records for good and renumbers the rest; cursor at top.
  Outcome Pack();

 private:
  friend class Database;
  struct Probe {
    const char* key;
    std::size_t len;
    std::uint32_t rec;
  };
  struct KeyLess {
    const Table* table;
    std::uint32_t offset, width;
    using is_transparent = void;
    const char* Key(std::uint32_t rec) const { return table->Record(rec) + offset; }
    bool operator()(std::uint32_t a, std::uint32_t b) const;
    bool operator()(const Probe& p, std::uint32_t b) const;
    bool operator()(std::uint32_t a, const Probe& p) const;
  };
  struct Tag {
    std::string name, expression;
    int field = -1;
    std::set<std::uint32_t, KeyLess> keys;
    explicit Tag(KeyLess less) : keys(less) {}
  };
  // What the open transaction needs to undo this table's changes.
  struct TxState {
    std::uint32_t count = 0;
    std::size_t imageSize = 0;
    std::string header;                                // bytes 0..31
    std::map<std::uint32_t, std::string> records;      // first-touched old bytes
    std::optional<std::vector<char>> baseline;         // whole old image after a pack
  };

  Table(Database* db, std::string fileName, std::string path);

  const char* Record(std::uint32_t rec) const {
    return image_.data() + header_.headerLength +
           static_cast<std::size_t>(rec - 1) * header_.recordLength;
  }
  char* Record(std::uint32_t rec) {
    return image_.data() + header_.headerLength +
           static_cast<std::size_t>(rec - 1) * header_.recordLength;
  }
  bool IsDeleted(std::uint32_t rec) const { return Record(rec)[0] == kDeletedFlag; }
  bool InScope(std::uint32_t rec) const;
  bool Visible(std::uint32_t rec) const { return !IsDeleted(rec) && InScope(rec); }
  void BuildTags();
  const Tag* ActiveTag() const;
  void SetCursor(std::uint32_t rec);  // rec 0 = end
  void MoveTo(bool first);
  std::string_view Raw(int field) const;
  Outcome Change(int field);           // checks and records undo for the current record
  void Write(int field, const char* bytes);
  void Remember(std::uint32_t rec);    // keeps the old bytes of a record once per transaction
  void BeginTx();
  void RollbackTx();
  void EndTx() { tx_.reset(); }

  Database* db_;
  std::string fileName_, path_;
  int fd_ = -1;
  std::vector<char> image_;   // header, records, then the 0x1A end byte
  std::uint64_t diskSize_ = 0;
  DbfHeader header_;
  std::vector<std::unique_ptr<Tag>> tags_;
  int order_ = 0;
  std::optional<std::pair<std::string, std::string>> scope_;
  std::uint32_t rec_ = 0;
  bool eof_ = true, bof_ = true;
  std::optional<TxState> tx_;
};

}  // namespace brevika::tables
