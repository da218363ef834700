// Shared set-up of the loan records tests: opening with a fixed clock,
// calculated schedules, file snapshots and a small book of accounts and loans.
#pragma once
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "records/loan_records.h"
#include "support/temp_dir.h"
#include "tables/journal.h"
#include "tables/table_index.h"

namespace brevika::testing {

inline const char* const kTableFiles[] = {"ACCNTS.DBF", "LOANS.DBF",  "XREF.DBF",    "SYSINFO.DBF",
                                          "TRANS.DBF",  "EVENTS.DBF", "PAYMENTS.DBF"};
// What a snapshot holds for a table the folder lacks (EVENTS.DBF until a
// schedule with events is saved, PAYMENTS.DBF until the first payment).
inline const std::string kNoFile = "(no file)";

inline records::RecordsOptions FixedClock(tables::FileSystem* fs = nullptr) {
  records::RecordsOptions o;
  o.fs = fs;
  o.today = [] { return MakeDate(10, 3, 2024); };
  o.timeText = [] { return std::string("12:34:56"); };
  return o;
}

inline std::unique_ptr<records::LoanRecords> OpenRecords(const std::string& folder,
                                                         tables::FileSystem* fs = nullptr) {
  Outcome o;
  auto r = records::LoanRecords::Open(folder, o, FixedClock(fs));
  EXPECT_TRUE(r) << o.FirstText();
  return r;
}

// The bytes of the tables (kNoFile for one the folder lacks).
using Snap = std::map<std::string, std::string>;
inline Snap Snapshot(const std::string& folder) {
  Snap s;
  for (const char* f : kTableFiles) {
    const std::string path = folder + "/" + f;
    s[f] = std::filesystem::exists(path) ? ReadFileBytes(path) : kNoFile;
  }
  return s;
}
// Names the tables that differ and where, instead of printing their bytes.
inline ::testing::AssertionResult SameTables(const Snap& now, const Snap& want) {
  std::string diff;
  for (const auto& [name, bytes] : want) {
    const auto it = now.find(name);
    const std::string& got = it == now.end() ? std::string() : it->second;
    if (got == bytes) continue;
    std::size_t at = 0;
    while (at < got.size() && at < bytes.size() && got[at] == bytes[at]) ++at;
    diff += " " + name + " (size " + std::to_string(got.size()) + " not " + std::to_string(bytes.size()) +
            ", first difference at byte " + std::to_string(at) + ")";
  }
  if (diff.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "tables differ:" << diff;
}

inline void Restore(const std::string& folder, const Snap& s) {
  for (const auto& [name, bytes] : s) {
    if (bytes != kNoFile) {
      WriteFileBytes(folder + "/" + name, bytes);
      continue;
    }
    std::error_code ec;
    std::filesystem::remove(folder + "/" + name, ec);
    std::filesystem::remove(folder + "/" + tables::IndexName(name), ec);
  }
  WriteFileBytes(folder + "/" + tables::kJournalName, "");
}

inline Schedule Calculated(double pv, int n, float rate, Date org, Date first) {
  ScheduleInputs in;
  in.PV = pv;
  in.NumPmts = static_cast<std::uint16_t>(n);
  in.Rate = rate;
  in.OrgDate = org;
  in.FrstPmtDate = first;
  Schedule s;
  const Outcome o = s.Calculate(in);
  EXPECT_TRUE(o.ok()) << o.FirstText();
  return s;
}

inline records::LoanTerms TermsFor(double pv, int n, float rate, Date org, Date first) {
  records::LoanTerms t;
  t.amount = pv;
  t.term = static_cast<std::uint16_t>(n);
  t.rate = rate;
  t.origDate = org;
  t.firstPmtDate = first;
  return t;
}

// A money value as a field with two decimals keeps it.
inline double Cents(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
  double back = 0;
  std::from_chars(buf, r.ptr, back);
  return back == 0 ? 0.0 : back;
}

// The loan loads with exactly the stored rows of `s`.
inline ::testing::AssertionResult LoadsAs(records::LoanRecords& r, const std::string& loanNo, const Schedule& s) {
  Schedule loaded;
  records::Loan loan;
  const Outcome o = r.LoadSchedule(loanNo, loan, loaded);
  if (!o.ok()) return ::testing::AssertionFailure() << o.FirstText();
  if (loaded.lastRow() != s.lastRow())
    return ::testing::AssertionFailure() << "last row " << loaded.lastRow() << " not " << s.lastRow();
  for (int k = 0; k <= s.lastRow(); ++k) {
    const ScheduleRow &a = s.row(k), &b = loaded.row(k);
    if (a.date != b.date || a.pmtNo != b.pmtNo || std::string(a.periodLabel) != b.periodLabel ||
        Cents(a.payment) != b.payment || Cents(a.balance) != b.balance || Cents(a.interest) != b.interest ||
        Cents(a.principal) != b.principal || Cents(a.runPayment) != b.runPayment ||
        Cents(a.runPrincipal) != b.runPrincipal || Cents(a.runInterest) != b.runInterest)
      return ::testing::AssertionFailure() << "row " << k << " differs";
  }
  return ::testing::AssertionSuccess();
}

// An account with two saved loans and a saved loan of DEFAULT.
struct StandardBook {
  std::string account, loanA1, loanA2, loanD;
  Schedule scheduleA1, scheduleA2, scheduleD;
};

inline StandardBook FillStandardBook(records::LoanRecords& r) {
  StandardBook b;
  const Date org = MakeDate(1, 6, 2023), first = MakeDate(1, 7, 2023);
  records::Account a;
  a.lastName = "Smith";
  a.firstName = "John";
  EXPECT_TRUE(r.AddAccount(a, records::IdMode::Generate).ok());
  b.account = a.accountNo;
  b.scheduleA1 = Calculated(150000, 360, 6.0f, org, first);
  b.scheduleD = Calculated(40000, 120, 4.0f, org, first);
  b.scheduleA2 = Calculated(12000, 60, 9.5f, org, first);
  records::Loan l1, l2, l3;
  l1.terms = TermsFor(150000, 360, 6.0f, org, first);
  l2.terms = TermsFor(40000, 120, 4.0f, org, first);
  l3.terms = TermsFor(12000, 60, 9.5f, org, first);
  EXPECT_TRUE(r.SaveNewLoan(b.account, l1, b.scheduleA1).ok());
  EXPECT_TRUE(r.SaveNewLoan("DEFAULT", l2, b.scheduleD).ok());
  EXPECT_TRUE(r.SaveNewLoan(b.account, l3, b.scheduleA2).ok());
  b.loanA1 = l1.loanNo;
  b.loanD = l2.loanNo;
  b.loanA2 = l3.loanNo;
  return b;
}

// Payments of the standard book: two of John Smith's first loan (one
// late, with a note) and one of the DEFAULT account's loan.
inline void AddStandardPayments(records::LoanRecords& r, const StandardBook& b) {
  EXPECT_TRUE(r.AddPayments(b.loanA1, {{MakeDate(1, 7, 2023), 899.33, ""},
                                        {MakeDate(11, 8, 2023), 899.33, "ten days late"}}).ok());
  EXPECT_TRUE(r.AddPayments(b.loanD, {{MakeDate(1, 7, 2023), 404.98, ""}}).ok());
}

}  // namespace brevika::testing
