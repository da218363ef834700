// Payments from a lender's CSV statement: the file read as RFC 4180 CSV
// (a header line, comma-separated fields, quotes around fields that hold
// commas, quotes or line ends, CR LF or LF line ends), a date column and an
// amount column picked by header name or number, each line read into a
// payment. All or nothing: one line that can't be read refuses the whole
// statement. Lines already recorded (same date and amount) are skipped and
// listed. No tables, no Qt; the caller records what comes back in one change.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "finance/format.h"
#include "finance/outcome.h"
#include "finance/periods.h"
#include "records/ledger.h"

namespace brevika::records {

// One record of a CSV file and the line of the file it starts on (the
// first line is 1).
struct CsvRecord {
  int line = 0;
  std::vector<std::string> fields;
};

struct CsvDocument {
  CsvRecord header;               // the first record
  std::vector<CsvRecord> records;  // the others; blank lines left out
};

// Reads CSV text (a UTF-8 byte order mark is skipped). Refused for a quoted
// field that is never closed or a closing quote followed by anything but a
// comma or a line end, with the line it is on; `out` is then unchanged.
Outcome ParseCsv(std::string_view text, CsvDocument& out);

// A column as the user names it: its header (ignoring case and blanks
// around it) or its number from 1. Empty: the default column.
struct StatementColumns {
  std::string date;
  std::string amount;
};

// Default columns (0-based), -1 when none: the date column is the first
// header "Date", else the first holding "date"; the amount column the first
// "Amount", else the first holding "amount", else the first holding
// "payment" that is not the date column.
int DefaultDateColumn(const CsvRecord& header);
int DefaultAmountColumn(const CsvRecord& header, int dateColumn);

// A column named by `spec` (header name or number from 1), -1 when the
// header has no such column.
int FindColumn(const CsvRecord& header, std::string_view spec);

// A statement's date: MM/DD/YYYY (month and day of one or two digits),
// MM/DD/YY (1960 to 2059, as the schedule window reads two-digit years) or
// YYYY-MM-DD; blanks around it ignored. kBadDate otherwise.
Date ParseStatementDate(std::string_view text);

// A statement's amount: digits with thousands separators and a decimal
// point (the locale's first, else US "1,234.56"), at most 12 integer digits
// and 2 decimals, a currency sign or code before or after it ("$", "€",
// "£", "¥", "USD", "EUR", the locale's symbol...), an optional sign or
// parentheses for negative. Empty when unreadable; negative values come
// back negative.
std::optional<double> ParseStatementAmount(std::string_view text, const LocaleFormat& loc = UsLocaleFormat());

// A line of the statement and what was read from it.
struct StatementLine {
  int line = 0;
  Date date = kBadDate;
  double amount = 0;
};

// A line that can't be read, and why ("Line 4: '13/45/2024' is not a date
// (MM/DD/YYYY or YYYY-MM-DD).").
struct StatementProblem {
  int line = 0;
  std::string text;
};

struct StatementImport {
  int dateColumn = -1;    // 0-based
  int amountColumn = -1;  // 0-based
  std::vector<ActualPayment> payments;  // to record, in file order
  std::vector<int> paymentLines;        // the line of each
  std::vector<StatementLine> skipped;   // already recorded
  std::vector<StatementProblem> problems;
};

// Reads the payments of a parsed statement. A payment already recorded
// (same date and amount to the cent) is skipped; each recorded payment
// stands for one statement line, so a statement with two equal lines adds
// the second when only one is recorded. Refused when a column can't be
// found, the two columns are the same, the statement has no lines, or any
// line can't be read (its date is not a date or is before origination, its
// amount is not an amount or not above zero, or the line lacks the field);
// `out` then lists the columns and every problem and no payment. On success the outcome's message says how many were imported
// and lists the lines skipped.
Outcome ReadStatement(const CsvDocument& doc, const StatementColumns& columns, const LedgerTerms& terms,
                      const std::vector<ActualPayment>& recorded, StatementImport& out,
                      const LocaleFormat& loc = UsLocaleFormat());

// ParseCsv and ReadStatement in one.
Outcome ImportStatement(std::string_view text, const StatementColumns& columns, const LedgerTerms& terms,
                        const std::vector<ActualPayment>& recorded, StatementImport& out,
                        const LocaleFormat& loc = UsLocaleFormat());

// At most this many problem or skipped lines are spelled out in a message.
inline constexpr std::size_t kStatementLinesListed = 10;

}  // namespace brevika::records
