// The loan record tables: their files, fields and tags, and the folder
// they live in. No Qt.
#pragma once
#include <string>
#include <vector>

#include "tables/dbf_format.h"

namespace brevika::records {

// Tag names.
inline constexpr const char* kTagAccounts = "ACCNTS";      // ACCNTS.DBF on ACCOUNTNO
inline constexpr const char* kTagLoanNo = "LOANNO";        // LOANS, TRANS, XREF and PAYMENTS on LOANNO
inline constexpr const char* kTagAccountNo = "ACCOUNTNO";  // XREF.DBF on ACCOUNTNO

const tables::TableDef& AccountsTable();  // ACCNTS.DBF
const tables::TableDef& LoansTable();     // LOANS.DBF
const tables::TableDef& XrefTable();      // XREF.DBF
const tables::TableDef& SysInfoTable();   // SYSINFO.DBF
const tables::TableDef& TransTable();     // TRANS.DBF
// EVENTS.DBF: the what-if events saved with a schedule, one row per event
// in the schedule's order (SEQ from 1). KIND and HOW hold the events' text
// names ("extra", "lump", "rate", "holiday"; "shorter-term",
// "lower-payment", "keep-term", "keep-payment"); TOPMT 0 is none (an extra
// to the end, a lump sum, a rate change); AMOUNT and RATE are 0 where the
// kind has none. A folder may lack it: it is made by the first save of a
// schedule with events.
const tables::TableDef& EventsTable();
// The actual payments of the loans: one row per payment, its loan, date,
// amount and note. A folder may lack it until the first payment.
const tables::TableDef& PaymentsTable();  // PAYMENTS.DBF
inline constexpr int kPaymentNoteWidth = 60;  // NOTE, characters
// Every table of the loan records, in the order above.
const std::vector<const tables::TableDef*>& RecordTables();

// True when the program's directory may hold its data: this user may write
// there and it is not a system folder of programs (/usr/bin and the like,
// which root may write).
bool ProgramFolderKeepsData(const std::string& programDir);

// The program's directory when it keeps data, else $XDG_DATA_HOME/Brevika,
// else ~/.local/share/Brevika.
std::string TablesFolder(const std::string& programDir);

}  // namespace brevika::records
