// One open dBase III table: its header, its records read from the file
// as they are needed (through a small cache), its tags kept as the record
// runs of every key (from the index file beside it, or made from the table
// when that file is missing or no longer matches), a record cursor, and
// changes held in memory until the transaction of its Database commits.
// Memory stays bounded by the cache, the keys and what a change writes,
// whatever the size of the file. No Qt.
#pragma once
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "finance/outcome.h"
#include "finance/periods.h"
#include "tables/dbf_format.h"
#include "tables/table_index.h"

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
  // program holds the tables, or when the file may not be written.
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
  // Removes deleted records for good and renumbers the rest; cursor at
  // top. The table takes no further change until the transaction ends.
  Outcome Pack();

 private:
  friend class Database;
  struct Tag {
    std::string name, expression;
    int field = -1;
    std::uint32_t offset = 0, width = 0;
    KeyRuns runs;
  };
  struct Page {
    std::uint32_t first = 0;  // first record of the page
    std::vector<char> bytes;
  };
  // What the open transaction changed, and what undoes it in memory.
  struct TxState {
    std::uint32_t count = 0;
    std::vector<KeyRuns> tags;
    RecordSet diskDeleted;
    RecordSet deletedNow;  // records this transaction marked deleted
    bool packed = false;
    std::vector<Run> packRemoved;  // records (old numbers) a pack removed
  };

  Table(Database* db, std::string fileName);

  // Header and tags of the file as it is now; false when it is no table of
  // `def` (or the cache of tags would grow past its bound).
  bool Load(const TableDef& def, bool mayWriteIndex);
  // The tags and deleted records from the index file, when it matches.
  bool LoadIndex();
  // The tags (and, when loading, the deleted records) read from every
  // record; false for a record whose deletion flag is neither ' ' nor '*'.
  bool BuildIndex(bool loading);
  IndexImage IndexOf(const FileIdentity& identity) const;
  void DropCache();

  // The bytes of a record (current contents, changes included); valid
  // until the next call.
  const char* Record(std::uint32_t rec) const;
  // The record as in the file (no pending change), old numbering.
  const char* DiskRecord(std::uint32_t rec) const;
  bool IsDeleted(std::uint32_t rec) const { return Record(rec)[0] == kDeletedFlag; }
  std::string KeyOf(const Tag& tag, std::uint32_t rec) const;
  bool InScope(const std::string& key) const;
  const Tag* ActiveTag() const;
  void SetCursor(std::uint32_t rec);  // rec 0 = end
  void MoveTo(bool first);
  // Next (or previous) record of the tag after (key, rec), whatever its
  // visibility; 0 past the end.
  std::uint32_t Step(const Tag& tag, std::string& key, std::uint32_t rec, bool forward) const;
  // First record with a key at or after `probe` (compared over its length).
  std::uint32_t LowerBound(const Tag& tag, std::string_view probe, std::string& key) const;
  // The record really holds `key`; when not, the tags are made again from
  // the table and false comes back.
  bool Verify(const Tag& tag, const std::string& key, std::uint32_t rec) const;
  std::string_view Raw(int field) const;
  Outcome Change(int field);  // checks and joins the transaction
  char* Touch(std::uint32_t rec);  // the pending copy of a record, made on first change
  void Write(int field, const char* bytes);
  void BeginTx();
  void RollbackTx();
  void EndTx();
  // Old record number of a record after a pack of this transaction.
  std::uint32_t SourceOf(std::uint32_t rec) const;

  Database* db_;
  std::string fileName_;
  int fd_ = -1;
  bool absent_ = false;  // no file (read-only folder): an empty table
  std::string unwritable_;  // why the file may not be written, empty when it may
  const TableDef* def_ = nullptr;
  std::string head_;     // the header bytes as in the file
  DbfHeader header_;     // recordCount counts pending appends
  std::uint32_t diskCount_ = 0;
  std::uint64_t diskSize_ = 0;
  FileIdentity identity_;
  mutable std::vector<std::unique_ptr<Tag>> tags_;
  // Records marked deleted in the file (as the index file or a reading of
  // the table has them) or by this transaction: what a pack removes, once
  // checked against the file.
  RecordSet diskDeleted_;
  bool indexStale_ = false;  // the index file does not describe the table
  std::map<std::uint32_t, std::string> dirty_;  // changed and appended records
  std::optional<TxState> tx_;

  mutable std::list<Page> pages_;  // most recently used first
  mutable std::string scratch_;
  std::uint32_t perPage_ = 1;

  int order_ = 0;
  std::optional<std::pair<std::string, std::string>> scope_;
  std::uint32_t rec_ = 0;
  bool eof_ = true, bof_ = true;
};

}  // namespace brevika::tables
