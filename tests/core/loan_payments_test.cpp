// Actual payments in the loan records (PAYMENTS.DBF): recorded, read back in
// date order, changed and deleted in all-or-nothing changes, kept when the
// schedule is replaced, gone with their loan, and invisible to the schedule
// rows. The ledger arithmetic itself is tested in ledger_test.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "amortization/schedule_events.h"
#include "records/loan_ledger.h"
#include "records/loan_records.h"
#include "support/fault_fs.h"
#include "support/loan_records_fixture.h"
#include "support/python_dbf.h"
#include "support/temp_dir.h"

namespace brevika::records {
namespace {

using testing::TempDir;

Date D(int m, int d, int y) { return MakeDate(d, m, y); }
long long Cents(double v) { return std::llround(v * 100); }

// 20,000.00 at 6 % over 60 months, made 01/01/2024, first payment
// 02/01/2024: the level payment is 386.66; the scheduled rows 1 to 3 are
// 100.00 + 286.66 (19713.34), 98.57 + 288.09 (19425.25), 97.13 + 289.53.
struct LoanA {
  Schedule schedule = testing::Calculated(20000, 60, 6.0f, D(1, 1, 2024), D(2, 1, 2024));
  LoanTerms terms = testing::TermsFor(20000, 60, 6.0f, D(1, 1, 2024), D(2, 1, 2024));
};

// A folder with the DEFAULT account's loan A saved as loan 1.
struct Book {
  TempDir dir;
  LoanA a;
  std::unique_ptr<LoanRecords> r = testing::OpenRecords(dir.path());
  std::string loan;
  Book() {
    Loan l;
    l.terms = a.terms;
    EXPECT_TRUE(r->SaveNewLoan(kDefaultAccount, l, a.schedule).ok());
    loan = l.loanNo;
  }
};

std::string Listed(const std::vector<ActualPayment>& pays) {
  std::string s;
  for (const ActualPayment& p : pays)
    s += FormatShortDate(p.date, true) + " " + std::to_string(Cents(p.amount)) + " '" + p.note + "'\n";
  return s;
}

TEST(Payments, AreReadBackInDateOrderWithTheirNotes) {
  Book b;
  EXPECT_EQ(b.r->Payments(b.loan).size(), 0u);
  // No payment yet: the folder has no payments table.
  EXPECT_FALSE(std::filesystem::exists(b.dir.file("PAYMENTS.DBF")));
  ASSERT_TRUE(b.r->AddPayments(b.loan, {{D(3, 1, 2024), 386.66, "  check 102 "},
                                        {D(2, 1, 2024), 386.66, "check 101"},
                                        {D(3, 1, 2024), 25.5, ""}})
                  .ok());
  ASSERT_TRUE(b.r->AddPayments(b.loan, {{D(2, 15, 2024), 0.01, "Zoë"}}).ok());
  const std::string want =
      "02/01/2024 38666 'check 101'\n"
      "02/15/2024 1 'Zoë'\n"
      "03/01/2024 38666 'check 102'\n"
      "03/01/2024 2550 ''\n";
  EXPECT_EQ(Listed(b.r->Payments(b.loan)), want);
  // Another copy opening the folder reads the same.
  b.r.reset();
  auto again = testing::OpenRecords(b.dir.path());
  EXPECT_EQ(Listed(again->Payments("1")), want);

  // Other dBase tools read the table: one row per payment, in the order recorded.
  const auto viaDbfread = testing::ReadWithPython("dbfread", b.dir.file("PAYMENTS.DBF"));
  ASSERT_EQ(viaDbfread.status, 0) << (viaDbfread.lines.empty() ? "" : viaDbfread.lines.back());
  EXPECT_EQ(viaDbfread.lines,
            (std::vector<std::string>{" LOANNO='1' PMTDATE=2024-03-01 AMOUNT=386.66 NOTE='check 102'",
                                      " LOANNO='1' PMTDATE=2024-02-01 AMOUNT=386.66 NOTE='check 101'",
                                      " LOANNO='1' PMTDATE=2024-03-01 AMOUNT=25.5 NOTE=''",
                                      " LOANNO='1' PMTDATE=2024-02-15 AMOUNT=0.01 NOTE='Zoë'"}));
  const auto viaDbf = testing::ReadWithPython("dbf", b.dir.file("PAYMENTS.DBF"));
  ASSERT_EQ(viaDbf.status, 0) << (viaDbf.lines.empty() ? "" : viaDbf.lines.back());
  ASSERT_EQ(viaDbf.lines.size(), 4u);
  EXPECT_EQ(viaDbf.lines[3].substr(0, 48), " LOANNO='1        ' PMTDATE=2024-02-15 AMOUNT=0.");
}

TEST(Payments, LedgerInputsCarryTheTermsTheSavedRowsAndThePayments) {
  Book b;
  ASSERT_TRUE(b.r->AddPayments(b.loan, {{D(2, 11, 2024), 386.66, "late"}, {D(3, 1, 2024), 386.66, ""}}).ok());
  Loan loan;
  LedgerInputs in;
  ASSERT_TRUE(b.r->LoadLedgerInputs(b.loan, loan, in).ok());
  EXPECT_EQ(loan.loanNo, "1");
  EXPECT_EQ(in.terms.amount, 20000);
  EXPECT_EQ(in.terms.rate, 6.0f);
  EXPECT_EQ(in.terms.origination, D(1, 1, 2024));
  EXPECT_EQ(in.terms.firstPayment, D(2, 1, 2024));
  EXPECT_EQ(in.terms.pyr, 2);
  ASSERT_EQ(in.scheduled.size(), 61u);
  EXPECT_EQ(std::string(in.scheduled[1].periodLabel), "   1/01");
  EXPECT_EQ(Cents(in.scheduled[1].balance), 1971334);
  EXPECT_TRUE(in.rateChanges.empty());
  ASSERT_EQ(in.payments.size(), 2u);
  // Applied as worked by hand: 02/11 is 40 days by 30/360, 20000 x 0.005 x
  // 40/30 = 133.33 interest, 253.33 principal, 19746.67 left; 03/01 is 20
  // days, 19746.67 x 0.005 x 20/30 = 65.82, 320.84, 19425.83.
  Ledger l;
  ASSERT_TRUE(ComputeLedger(in, l).ok());
  EXPECT_EQ(Cents(l.rows[0].interest), 13333);
  EXPECT_EQ(Cents(l.rows[1].balance), 1942583);

  EXPECT_EQ(b.r->LoadLedgerInputs("77", loan, in).FirstText(), kMsgLoanNotFound);
  EXPECT_EQ(in.payments.size(), 2u);
}

// A rate change saved with the schedule is in force in the ledger from the
// date of the payment before it: 9 % from payment 3 charges the interest of
// the 03/01 to 04/01 month at 9 %.
TEST(Payments, LedgerChargesTheRateOfTheSavedRateChanges) {
  Book b;
  ScheduleInputs in;
  in.PV = 20000;
  in.NumPmts = 60;
  in.Rate = 6.0f;
  in.OrgDate = D(1, 1, 2024);
  in.FrstPmtDate = D(2, 1, 2024);
  ScheduleEvent change;
  change.kind = EventKind::Rate;
  change.from = 3;
  change.rate = 9.0f;
  change.how = DefaultHow(EventKind::Rate);
  in.events = {change};
  Schedule s;
  ASSERT_TRUE(s.Calculate(in).ok());
  LoanTerms terms = b.a.terms;
  terms.events = in.events;
  ASSERT_TRUE(b.r->SaveSchedule(b.loan, terms, s, true).ok());
  ASSERT_TRUE(b.r->AddPayments(b.loan, {{D(2, 1, 2024), 386.66, ""},
                                        {D(3, 1, 2024), 386.66, ""},
                                        {D(4, 1, 2024), 400.00, ""}})
                  .ok());
  Loan loan;
  LedgerInputs li;
  ASSERT_TRUE(b.r->LoadLedgerInputs(b.loan, loan, li).ok());
  ASSERT_EQ(li.rateChanges.size(), 1u);
  EXPECT_EQ(li.rateChanges[0].from, D(3, 1, 2024));
  EXPECT_EQ(li.rateChanges[0].rate, 9.0f);
  // Payments 1 and 2 as scheduled leave 19,425.25; then 19,425.25 x 0.09 /
  // 12 = 145.689 -> 145.69 interest (97.13 at 6 %), 400.00 - 145.69 =
  // 254.31 principal, 19,170.94 left.
  Ledger l;
  ASSERT_TRUE(ComputeLedger(li, l).ok());
  ASSERT_EQ(l.rows.size(), 3u);
  EXPECT_EQ(Cents(l.rows[1].balance), 1942525);
  EXPECT_EQ(Cents(l.rows[2].interest), 14569);
  EXPECT_EQ(Cents(l.rows[2].principal), 25431);
  EXPECT_EQ(Cents(l.rows[2].balance), 1917094);
}

TEST(Payments, RefusalsRecordNothing) {
  Book b;
  ASSERT_TRUE(b.r->AddPayments(b.loan, {{D(2, 1, 2024), 386.66, ""}}).ok());
  const testing::Snap before = testing::Snapshot(b.dir.path());
  auto refused = [&](const std::vector<ActualPayment>& pays) {
    const Outcome o = b.r->AddPayments(b.loan, pays);
    EXPECT_TRUE(o.refused);
    return o.FirstText();
  };
  EXPECT_EQ(refused({{D(3, 1, 2024), 386.66, ""}, {D(12, 31, 2023), 386.66, ""}}),
            "Payment Date 12/31/2023 must be\n\nequal to or after Origination Date 01/01/2024.\n\n");
  EXPECT_EQ(refused({{D(3, 1, 2024), 0, ""}}), kMsgPaymentAmountNotPositive);
  EXPECT_EQ(refused({{kBadDate, 5, ""}}), kMsgPaymentDateBad);
  EXPECT_EQ(refused({{D(3, 1, 2024), 1e12, ""}}), kMsgPaymentAmountTooLarge);
  EXPECT_EQ(refused({{D(3, 1, 2024), 5, std::string(61, 'x')}}), kMsgPaymentNoteTooLong);
  EXPECT_EQ(refused({{D(3, 1, 2024), 5, "two\nlines"}}), kMsgPaymentNoteChars);
  EXPECT_EQ(refused({{D(3, 1, 2024), 5, "日本"}}), kMsgPaymentNoteChars);
  EXPECT_EQ(b.r->AddPayments("77", {{D(3, 1, 2024), 5, ""}}).FirstText(), kMsgLoanNotFound);
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(b.dir.path()), before));
  // Sixty characters fit.
  EXPECT_TRUE(b.r->AddPayments(b.loan, {{D(3, 1, 2024), 5, std::string(60, 'x')}}).ok());

  // A loan whose terms can't carry a ledger (a loan made in the dialog,
  // never given a schedule) takes no payment.
  Loan empty;
  ASSERT_TRUE(b.r->NewLoan(kDefaultAccount, empty).ok());
  EXPECT_EQ(b.r->AddPayments(empty.loanNo, {{D(3, 1, 2024), 5, ""}}).FirstText(), kMsgLedgerTerms);
}

TEST(Payments, OneIsChangedOrDeletedByWhatItHolds) {
  Book b;
  ASSERT_TRUE(b.r->AddPayments(b.loan, {{D(2, 1, 2024), 386.66, ""},
                                        {D(3, 1, 2024), 386.66, "a"},
                                        {D(3, 1, 2024), 386.66, "a"}})
                  .ok());
  ASSERT_TRUE(b.r->ReplacePayment(b.loan, {D(3, 1, 2024), 386.66, "a"}, {D(3, 4, 2024), 400, "b"}).ok());
  EXPECT_EQ(Listed(b.r->Payments(b.loan)),
            "02/01/2024 38666 ''\n03/01/2024 38666 'a'\n03/04/2024 40000 'b'\n");
  const testing::Snap before = testing::Snapshot(b.dir.path());
  EXPECT_EQ(b.r->ReplacePayment(b.loan, {D(3, 2, 2024), 386.66, "a"}, {D(3, 4, 2024), 1, ""}).FirstText(),
            kMsgPaymentNotFound);
  EXPECT_EQ(b.r->ReplacePayment(b.loan, {D(3, 1, 2024), 386.66, "a"}, {D(3, 4, 2024), -1, ""}).FirstText(),
            kMsgPaymentAmountNotPositive);
  EXPECT_EQ(b.r->DeletePayment(b.loan, {D(3, 1, 2024), 386.67, "a"}).FirstText(), kMsgPaymentNotFound);
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(b.dir.path()), before));

  ASSERT_TRUE(b.r->DeletePayment(b.loan, {D(2, 1, 2024), 386.66, ""}).ok());
  EXPECT_EQ(Listed(b.r->Payments(b.loan)), "03/01/2024 38666 'a'\n03/04/2024 40000 'b'\n");
  // Packed: the header, 4 fields, the end of the header, 2 rows of 1 + 9 +
  // 8 + 15 + 60 bytes and the end of the file.
  EXPECT_EQ(testing::ReadFileBytes(b.dir.file("PAYMENTS.DBF")).size(), 32u + 4 * 32 + 1 + 2 * 93 + 1);
}

TEST(Payments, SchedulesStayAsTheyWereAndAReplaceKeepsThePayments) {
  Book b;
  const std::string trans = testing::ReadFileBytes(b.dir.file("TRANS.DBF"));
  ASSERT_TRUE(b.r->AddPayments(b.loan, {{D(2, 1, 2024), 386.66, ""}, {D(3, 1, 2024), 386.66, ""}}).ok());
  EXPECT_EQ(testing::ReadFileBytes(b.dir.file("TRANS.DBF")), trans);
  EXPECT_EQ(b.r->TransactionCount(b.loan), 61);
  EXPECT_TRUE(testing::LoadsAs(*b.r, b.loan, b.a.schedule));

  // A new schedule from the same origination keeps both payments.
  const Schedule longer = testing::Calculated(20000, 72, 6.5f, D(1, 1, 2024), D(2, 1, 2024));
  ASSERT_TRUE(b.r->SaveSchedule(b.loan, testing::TermsFor(20000, 72, 6.5f, D(1, 1, 2024), D(2, 1, 2024)), longer,
                                true)
                  .ok());
  EXPECT_TRUE(testing::LoadsAs(*b.r, b.loan, longer));
  EXPECT_EQ(b.r->Payments(b.loan).size(), 2u);

  // One that starts after a payment is refused and changes nothing.
  const testing::Snap before = testing::Snapshot(b.dir.path());
  const Schedule later = testing::Calculated(20000, 60, 6.0f, D(2, 15, 2024), D(3, 15, 2024));
  const Outcome o =
      b.r->SaveSchedule(b.loan, testing::TermsFor(20000, 60, 6.0f, D(2, 15, 2024), D(3, 15, 2024)), later, true);
  EXPECT_EQ(o.FirstText(),
            "Loan 1 has a payment on 02/01/2024, before\n\nthe new Origination Date 02/15/2024.\n\n"
            "Delete or change that payment first.\n\n");
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(b.dir.path()), before));
}

TEST(Payments, GoWithTheirLoanAndTheirAccount) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  const testing::StandardBook book = testing::FillStandardBook(*r);
  testing::AddStandardPayments(*r, book);
  ASSERT_TRUE(r->AddPayments(book.loanA2, {{D(7, 1, 2023), 249.03, ""}}).ok());

  ASSERT_TRUE(r->DeleteLoan(book.loanA1).ok());
  EXPECT_EQ(r->Payments(book.loanA1).size(), 0u);
  EXPECT_EQ(r->Payments(book.loanD).size(), 1u);
  EXPECT_EQ(r->Payments(book.loanA2).size(), 1u);
  ASSERT_TRUE(r->DeleteAccount(book.account).ok());
  EXPECT_EQ(r->Payments(book.loanA2).size(), 0u);
  // Packed: only the DEFAULT loan's payment is left in the file.
  EXPECT_EQ(testing::ReadFileBytes(dir.file("PAYMENTS.DBF")).size(), 32u + 4 * 32 + 1 + 93 + 1);
}

TEST(Payments, TheFirstPaymentOfAFolderIsAllOrNothingToo) {
  TempDir dir;
  LoanA a;
  {
    auto r = testing::OpenRecords(dir.path());
    Loan l;
    l.terms = a.terms;
    ASSERT_TRUE(r->SaveNewLoan(kDefaultAccount, l, a.schedule).ok());
  }
  const testing::Snap before = testing::Snapshot(dir.path());
  int calls = 0;
  {
    testing::FaultFs count;
    auto r = testing::OpenRecords(dir.path(), &count);
    count.calls = 0;
    ASSERT_TRUE(r->AddPayments("1", {{D(2, 1, 2024), 386.66, ""}}).ok());
    calls = count.calls;
  }
  ASSERT_GT(calls, 6);
  for (int n = 1; n <= calls; ++n) {
    testing::Restore(dir.path(), before);
    testing::FaultFs fs;
    auto r = testing::OpenRecords(dir.path(), &fs);
    fs.calls = 0;
    fs.failAt = n;
    EXPECT_TRUE(r->AddPayments("1", {{D(2, 1, 2024), 386.66, ""}}).refused) << n;
    EXPECT_TRUE(r->Payments("1").empty()) << n;
    r.reset();
    // The other tables are as they were; the payments table, if the failure
    // came after it was made, is an empty one.
    const testing::Snap now = testing::Snapshot(dir.path());
    for (const char* f : testing::kTableFiles) {
      if (std::string(f) == "PAYMENTS.DBF") continue;
      EXPECT_EQ(now.at(f), before.at(f)) << f << " " << n;
    }
    auto again = testing::OpenRecords(dir.path());
    EXPECT_TRUE(again->Payments("1").empty()) << n;
    EXPECT_TRUE(again->AddPayments("1", {{D(2, 1, 2024), 386.66, ""}}).ok()) << n;
    EXPECT_EQ(again->Payments("1").size(), 1u) << n;
  }
}

TEST(LoanLedger, RateChangeEventsBecomeDatedRateChanges) {
  // Loan A's saved rows: payment 2 on 03/01/2024, the last (60) on
  // 01/01/2029. A change at payment 3 charges payment 3's interest, which
  // accrues from payment 2's date; one at payment 1 holds from origination;
  // one at payment 62 from payment 61's date, a period after the last
  // row: 02/01/2029.
  const LoanA a;
  std::vector<ScheduleRow> rows;
  for (int k = 0; k <= a.schedule.lastRow(); ++k) rows.push_back(a.schedule.row(k));
  const LedgerTerms terms = LedgerTermsOf(a.terms);
  ScheduleEvent at3{EventKind::Rate, 3, std::nullopt, 0, 7.25f, EventHow::KeepTerm};
  ScheduleEvent at1{EventKind::Rate, 1, std::nullopt, 0, 5.5f, EventHow::KeepTerm};
  ScheduleEvent at62{EventKind::Rate, 62, std::nullopt, 0, 8.0f, EventHow::KeepTerm};
  ScheduleEvent extra{EventKind::Extra, 3, std::nullopt, 100, 0, EventHow::ShorterTerm};
  const std::vector<RateChange> changes = RateChangesOf({at3, extra, at1, at62}, rows, terms);
  ASSERT_EQ(changes.size(), 3u);
  EXPECT_EQ(changes[0].from, D(3, 1, 2024));
  EXPECT_EQ(changes[0].rate, 7.25f);
  EXPECT_EQ(changes[1].from, D(1, 1, 2024));
  EXPECT_EQ(changes[2].from, D(2, 1, 2029));
  // Without saved rows the dates step from the first payment.
  EXPECT_EQ(RateChangesOf({at3}, {}, terms)[0].from, D(3, 1, 2024));

  // The change at payment 3 in the ledger: payment 3 on 04/01/2024 pays
  // 30 days on 19425.25 at 7.25 %, 19425.25 x 0.0725 / 12 = 117.36.
  LedgerInputs in;
  in.terms = terms;
  in.scheduled = rows;
  in.rateChanges = {changes[0]};
  in.payments = {{D(2, 1, 2024), 386.66, ""}, {D(3, 1, 2024), 386.66, ""}, {D(4, 1, 2024), 386.66, ""}};
  Ledger l;
  ASSERT_TRUE(ComputeLedger(in, l).ok());
  EXPECT_EQ(Cents(l.rows[1].interest), 9857);
  EXPECT_EQ(Cents(l.rows[2].interest), 11736);
}

TEST(LoanLedger, TheChartDrawsTheScheduledAndTheActualBalance) {
  // Loan A from 01/01/2024 (x = -0.5, the start of 2024) to 01/01/2029
  // (x = 4.5): years 2024 to 2029. Paid 02/11/2024 (day 41 of 366: x =
  // -0.5 + 41/366) leaving 19,746.67. The balance axis reaches the amount
  // in steps of 1, 2 or 5 times a power of ten, at most 5 of them: 4 steps
  // of 5,000.
  const LoanA a;
  LedgerInputs in;
  in.terms = LedgerTermsOf(a.terms);
  for (int k = 0; k <= a.schedule.lastRow(); ++k) in.scheduled.push_back(a.schedule.row(k));
  in.payments = {{D(2, 11, 2024), 386.66, ""}};
  Ledger l;
  ASSERT_TRUE(ComputeLedger(in, l).ok());
  const LedgerChartData d = BuildLedgerChart(l);
  EXPECT_EQ(d.years, (std::vector<int>{2024, 2025, 2026, 2027, 2028, 2029}));
  ASSERT_EQ(d.scheduled.size(), 61u);
  EXPECT_DOUBLE_EQ(d.scheduled[0].x, -0.5);
  EXPECT_DOUBLE_EQ(d.scheduled[60].x, 4.5);
  EXPECT_EQ(d.scheduled[60].balance, 0);
  ASSERT_EQ(d.actual.size(), 2u);
  EXPECT_DOUBLE_EQ(d.actual[0].x, -0.5);
  EXPECT_EQ(d.actual[0].balance, 20000);
  EXPECT_DOUBLE_EQ(d.actual[1].x, -0.5 + 41.0 / 366.0);
  EXPECT_EQ(Cents(d.actual[1].balance), 1974667);
  EXPECT_EQ(d.balanceAxis.top, 20000);
  EXPECT_EQ(d.balanceAxis.step, 5000);
  EXPECT_EQ(d.yearLabelStep, 1);

  // Exported as one file, or not at all.
  TempDir dir;
  ASSERT_TRUE(ExportLedgerCsv(l, dir.file("ledger.csv")).ok());
  EXPECT_EQ(testing::ReadFileBytes(dir.file("ledger.csv")), LedgerCsv(l));
  std::filesystem::create_directory(dir.file("folder"));
  EXPECT_EQ(ExportLedgerCsv(l, dir.file("folder")).FirstText(),
            "The ledger could not be exported to\n\n" + dir.file("folder") +
                "\n\nIt is a folder.\n\nAny file of that name is unchanged.\n\n");
}

}  // namespace
}  // namespace brevika::records
