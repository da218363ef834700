#include "records/loan_tables.h"

#include <unistd.h>

#include <cstdlib>

namespace brevika::records {
namespace {

using tables::FieldDef;
using tables::FieldType;
using tables::TableDef;

FieldDef C(const char* name, int width = 20) { return {name, FieldType::Character, width, 0}; }
// Money: up to 999 999 999 999.99, or -99 999 999 999.99.
FieldDef Money(const char* name) { return {name, FieldType::Numeric, 15, 2}; }
// Rates and points in percent with four decimals, up to 9999.9999.
FieldDef Rate(const char* name) { return {name, FieldType::Numeric, 9, 4}; }
// 16-bit codes and counts.
FieldDef Short(const char* name) { return {name, FieldType::Numeric, 6, 0}; }
FieldDef N(const char* name, int width) { return {name, FieldType::Numeric, width, 0}; }
FieldDef D(const char* name) { return {name, FieldType::Date, 8, 0}; }
FieldDef L(const char* name) { return {name, FieldType::Logical, 1, 0}; }

}  // namespace

const TableDef& AccountsTable() {
  static const TableDef def{"ACCNTS.DBF",
                            {C("ACCOUNTNO", 20), C("LASTNAME", 25), C("FIRSTNAME", 25), C("MI", 1),
                             C("BUSINESS", 40), C("ADDRESS1", 40), C("ADDRESS2", 40), C("CITY", 40),
                             C("STATE", 2), C("ZIP", 10), C("COUNTRY", 40), C("PHONE1", 12),
                             C("PHONE2", 12), C("PHONE2EXT", 4), C("COMMENT", 254), C("USERID", 6),
                             D("RECORDDATE"), C("RECORDTIME", 8)},
                            {{kTagAccounts, "ACCOUNTNO"}}};
  return def;
}

const TableDef& LoansTable() {
  static const TableDef def{"LOANS.DBF",
                            {C("LOANNO", 9), C("COLLATERIA", 25), C("PROPADDRES", 40), C("BLOCKNO", 8),
                             C("LOTNO", 8), C("PROPSTATE", 2), C("PROPCITY", 40), C("PROPZIP", 10),
                             C("PROPCNTRY", 40), Money("INITAMT"), N("INITTERM", 5), D("ORIGDATE"),
                             D("FRSTPMTDT"), Short("PMTSPERYR"), Short("CMPPERYR"), Rate("POINTS"),
                             Rate("INITRATE"), Short("AMORTMTHD"), Short("RATEBASIS")},
                            {{kTagLoanNo, "LOANNO"}}};
  return def;
}

const TableDef& XrefTable() {
  static const TableDef def{"XREF.DBF",
                            {C("LOANNO", 9), C("ACCOUNTNO", 20)},
                            {{kTagAccountNo, "ACCOUNTNO"}, {kTagLoanNo, "LOANNO"}}};
  return def;
}

const TableDef& SysInfoTable() {
  static const TableDef def{"SYSINFO.DBF", {N("LASTLOANNO", 9), C("LASTACCTNO", 20), N("SAVECNTS", 10)}, {}};
  return def;
}

const TableDef& TransTable() {
  static const TableDef def{"TRANS.DBF",
                            {C("LOANNO", 9), C("PMTNOYR", 8), D("TRANSDATE"), Money("PMT"),
                             Money("INTEREST"), Money("PRINCIPAL"), Money("PRINBAL"), Short("TRANSNO"),
                             Rate("RATE"), Money("RUNPMT"), Money("RUNPRIN"), Money("RUNINT"),
                             L("ACTUAL"), L("CALCULATED"), C("APPLIEDHOW", 6)},
                            {{kTagLoanNo, "LOANNO"}}};
  return def;
}

const TableDef& EventsTable() {
  static const TableDef def{"EVENTS.DBF",
                            {C("LOANNO", 9), N("SEQ", 5), C("KIND", 7), N("FROMPMT", 5), N("TOPMT", 5),
                             Money("AMOUNT"), Rate("RATE"), C("HOW", 13)},
                            {{kTagLoanNo, "LOANNO"}}};
  return def;
}

const TableDef& PaymentsTable() {
  static const TableDef def{"PAYMENTS.DBF",
                            {C("LOANNO", 9), D("PMTDATE"), Money("AMOUNT"), C("NOTE", kPaymentNoteWidth)},
                            {{kTagLoanNo, "LOANNO"}}};
  return def;
}

const std::vector<const TableDef*>& RecordTables() {
  static const std::vector<const TableDef*> all = {&AccountsTable(), &LoansTable(), &XrefTable(),
                                                   &SysInfoTable(), &TransTable(), &EventsTable(),
                                                   &PaymentsTable()};
  return all;
}

bool ProgramFolderKeepsData(const std::string& programDir) {
  if (programDir.empty() || ::access(programDir.c_str(), W_OK | X_OK) != 0) return false;
  char* real = ::realpath(programDir.c_str(), nullptr);
  const std::string dir = real ? real : programDir;
  std::free(real);
  for (const char* system : {"/bin", "/sbin", "/usr/bin", "/usr/sbin", "/usr/games", "/usr/local/bin",
                             "/usr/local/sbin", "/usr/local/games", "/usr/libexec", "/usr/lib"})
    if (dir == system) return false;
  // /opt/<package>/bin
  return !(dir.rfind("/opt/", 0) == 0 && dir.size() > 9 && dir.compare(dir.size() - 4, 4, "/bin") == 0);
}

std::string TablesFolder(const std::string& programDir) {
  if (ProgramFolderKeepsData(programDir)) return programDir;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/Brevika";
  const char* home = std::getenv("HOME");
  return std::string(home && home[0] ? home : ".") + "/.local/share/Brevika";
}

}  // namespace brevika::records
