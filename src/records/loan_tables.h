// The five loan record tables: their files, fields and tags, and the folder
// they live in. No Qt.
#pragma once
#include <string>

#include "tables/dbf_format.h"

namespace brevika::records {

// Tag names.
inline constexpr const char* kTagAccounts = "ACCNTS";      // ACCNTS.DBF on ACCOUNTNO
inline constexpr const char* kTagLoanNo = "LOANNO";        // LOANS, TRANS and XREF on LOANNO
inline constexpr const char* kTagAccountNo = "ACCOUNTNO";  // XREF.DBF on ACCOUNTNO

const tables::TableDef& AccountsTable();  // ACCNTS.DBF
const tables::TableDef& LoansTable();     // LOANS.DBF
const tables::TableDef& XrefTable();      // XREF.DBF
const tables::TableDef& SysInfoTable();   // SYSINFO.DBF
const tables::TableDef& TransTable();     // TRANS.DBF

// The program's directory when this user may write there, else
// $XDG_DATA_HOME/Brevika, else ~/.local/share/Brevika.
std::string TablesFolder(const std::string& programDir);

}  // namespace brevika::records
