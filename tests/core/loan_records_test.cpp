// Loan records over the five tables: first use, accounts and their numbers,
// loans and the counter, saving, replacing, loading and deleting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <filesystem>

#include "amortization/amort_records.h"
#include "records/loan_records.h"
#include "support/loan_records_fixture.h"
#include "support/python_dbf.h"
#include "support/temp_dir.h"
#include "tables/database.h"

namespace brevika::records {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

TEST(LoanTables, FirstUseCreatesTheTablesWithTheDefaultAccountAndCounters) {
  TempDir dir;
  const std::string folder = dir.path() + "/data/Brevika";
  {
    auto r = testing::OpenRecords(folder);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->writable());
    const auto accounts = r->Accounts();
    ASSERT_EQ(accounts.size(), 1u);
    EXPECT_EQ(accounts[0].accountNo, "DEFAULT");
    EXPECT_EQ(accounts[0].recordDate, MakeDate(10, 3, 2024));
    EXPECT_EQ(accounts[0].recordTime, "12:34:56");
    EXPECT_EQ(r->LastLoanNumber(), 0u);
    EXPECT_EQ(r->LastAccountNumber(), "");
  }
  for (const char* name : {"ACCNTS.DBF", "LOANS.DBF", "XREF.DBF", "SYSINFO.DBF", "TRANS.DBF"})
    EXPECT_TRUE(std::filesystem::exists(folder + "/" + name)) << name;
  const auto snapshot = testing::Snapshot(folder);
  // Opening again adds nothing.
  testing::OpenRecords(folder);
  EXPECT_TRUE(testing::SameTables(testing::Snapshot(folder), snapshot));

  const auto sys = testing::ReadWithPython("dbfread", folder + "/SYSINFO.DBF");
  EXPECT_EQ(sys.lines, (std::vector<std::string>{" LASTLOANNO=0 LASTACCTNO='' SAVECNTS=0"}));
  const auto acc = testing::ReadWithPython("dbfread", folder + "/ACCNTS.DBF");
  EXPECT_EQ(acc.lines, (std::vector<std::string>{
                           " ACCOUNTNO='DEFAULT' LASTNAME='' FIRSTNAME='' MI='' BUSINESS='' ADDRESS1='' "
                           "ADDRESS2='' CITY='' STATE='' ZIP='' COUNTRY='' PHONE1='' PHONE2='' "
                           "PHONE2EXT='' COMMENT='' USERID='' RECORDDATE=2024-03-10 RECORDTIME='12:34:56'"}));
  // Widths that hold the amounts and rates: a TRANS.DBF record is 154 bytes.
  const std::string trans = ReadFileBytes(folder + "/TRANS.DBF");
  ASSERT_GE(trans.size(), 12u);
  EXPECT_EQ(static_cast<unsigned char>(trans[10]) | (static_cast<unsigned char>(trans[11]) << 8), 154);
}

TEST(LoanTables, TablesLiveInTheProgramFolderWhenWritableElseInTheUsersDataFolder) {
  TempDir dir;
  const char* oldXdg = std::getenv("XDG_DATA_HOME");
  const std::string savedXdg = oldXdg ? oldXdg : "";
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  EXPECT_EQ(TablesFolder(dir.path()), dir.path());
  const std::string missing = dir.path() + "/not-there";
  setenv("XDG_DATA_HOME", "/srv/data", 1);
  EXPECT_EQ(TablesFolder(missing), "/srv/data/Brevika");
  setenv("XDG_DATA_HOME", "relative/path", 1);  // not absolute: ignored
  setenv("HOME", "/home/ann", 1);
  EXPECT_EQ(TablesFolder(missing), "/home/ann/.local/share/Brevika");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(TablesFolder(""), "/home/ann/.local/share/Brevika");
  // An installed program run as root could write its own folder: never there.
  if (::access("/usr/bin", W_OK) == 0) {
    EXPECT_EQ(TablesFolder("/usr/bin"), "/home/ann/.local/share/Brevika");
  }
  EXPECT_FALSE(ProgramFolderKeepsData("/usr/bin"));
  EXPECT_FALSE(ProgramFolderKeepsData("/usr/bin/"));
  setenv("HOME", savedHome.c_str(), 1);
  if (oldXdg) setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
}

TEST(Accounts, GeneratedNumbersTakeTheNamesAndTheFirstFreeCounter) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  EXPECT_EQ(r->GenerateAccountNumber("Smith", "John"), "SMITJOH001");
  Account a;
  a.lastName = "Smith";
  a.firstName = "John";
  a.city = "Springfield";
  ASSERT_TRUE(r->AddAccount(a, IdMode::Generate).ok());
  EXPECT_EQ(a.accountNo, "SMITJOH001");
  EXPECT_EQ(a.recordDate, MakeDate(10, 3, 2024));
  Account b;
  b.lastName = "smithers";
  b.firstName = "johanna";
  ASSERT_TRUE(r->AddAccount(b, IdMode::Generate).ok());
  EXPECT_EQ(b.accountNo, "SMITJOH002");
  EXPECT_EQ(r->GenerateAccountNumber("  Smith ", "Johnny"), "SMITJOH003");
  EXPECT_EQ(r->GenerateAccountNumber("Li", "Bo"), "LIBO001");
  EXPECT_EQ(r->GenerateAccountNumber("élise", "Ørn"), "ÉLISØRN001");
  EXPECT_EQ(r->LastAccountNumber(), "SMITJOH002");

  // Both names are needed; nothing is written without them.
  const auto before = testing::Snapshot(dir.path());
  Account noFirst;
  noFirst.lastName = "Smith";
  noFirst.firstName = "   ";
  const Outcome o = r->AddAccount(noFirst, IdMode::Generate);
  EXPECT_FALSE(o.ok());
  EXPECT_EQ(o.messages, (std::vector<Message>{{"Both 'Last Name' & 'First Name' must be entered.",
                                               BoxType::Warning}}));
  EXPECT_EQ(r->GenerateAccountNumber("", "John"), "");
  // Typed numbers must be new and not blank.
  Account typed;
  typed.accountNo = "SMITJOH001";
  EXPECT_EQ(r->AddAccount(typed, IdMode::UserEntered).FirstText(), "Account number SMITJOH001 already exists.");
  typed.accountNo = " ";
  EXPECT_EQ(r->AddAccount(typed, IdMode::UserEntered).FirstText(), "Enter an account number.");
  EXPECT_EQ(testing::Snapshot(dir.path()), before);
  typed.accountNo = "ACME-7";
  typed.business = "Acme Café";
  ASSERT_TRUE(r->AddAccount(typed, IdMode::UserEntered).ok());
  EXPECT_EQ(r->LastAccountNumber(), "SMITJOH002");  // only generated numbers count

  const auto found = r->FindAccount("ACME-7");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->business, "Acme Café");
  EXPECT_FALSE(r->FindAccount("ACME"));  // the lookup is padded, no prefix match
  // Other tools read the account as written.
  const auto lines = testing::ReadWithPython("dbfread", dir.file("ACCNTS.DBF")).lines;
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3].substr(0, 64), " ACCOUNTNO='ACME-7' LASTNAME='' FIRSTNAME='' MI='' BUSINESS='Acm");
  EXPECT_NE(lines[3].find("BUSINESS='Acme Café'"), std::string::npos);
}

TEST(Accounts, ListsInNumberOrNameOrderAndIncrementalSearch) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  for (auto [last, first] : {std::pair{"Young", "Al"}, {"Brown", "Cy"}, {"Smith", "Jo"}}) {
    Account a;
    a.lastName = last;
    a.firstName = first;
    ASSERT_TRUE(r->AddAccount(a, IdMode::Generate).ok());
  }
  auto numbers = [](const std::vector<Account>& v) {
    std::vector<std::string> out;
    for (const Account& a : v) out.push_back(a.accountNo);
    return out;
  };
  EXPECT_EQ(numbers(r->Accounts()),
            (std::vector<std::string>{"BROWCY001", "DEFAULT", "SMITJO001", "YOUNAL001"}));
  EXPECT_EQ(numbers(r->Accounts(AccountOrder::LastName)),
            (std::vector<std::string>{"DEFAULT", "BROWCY001", "SMITJO001", "YOUNAL001"}));
  EXPECT_EQ(r->SearchAccount("S"), 2);
  EXPECT_EQ(r->SearchAccount("SMZ"), 3);  // the next one
  EXPECT_EQ(r->SearchAccount("B"), 0);
  EXPECT_EQ(r->SearchAccount("Z"), -1);

  Account edit = *r->FindAccount("SMITJO001");
  edit.phone1 = "555-0100";
  ASSERT_TRUE(r->UpdateAccount(edit).ok());
  EXPECT_EQ(r->FindAccount("SMITJO001")->phone1, "555-0100");
  Account ghost;
  ghost.accountNo = "NOBODY";
  EXPECT_EQ(r->UpdateAccount(ghost).FirstText(), "Account not found.");
}

TEST(Loans, NumbersComeFromTheCounterAndSkipNumbersInUse) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  Loan a;
  a.collateral = "House";
  a.terms.amount = 100000;
  a.terms.term = 360;
  a.terms.rate = 7.5f;
  a.terms.firstPmtDate = MakeDate(1, 2, 2024);
  ASSERT_TRUE(r->NewLoan("DEFAULT", a).ok());
  EXPECT_EQ(a.loanNo, "1");
  Loan b;
  b.collateral = "Boat";
  ASSERT_TRUE(r->NewLoan("DEFAULT", b).ok());
  EXPECT_EQ(b.loanNo, "2");
  EXPECT_EQ(r->LastLoanNumber(), 2u);
  EXPECT_EQ(r->AccountOfLoan("2"), "DEFAULT");
  EXPECT_EQ(r->LoansOfAccount("DEFAULT"),
            (std::vector<LoanSummary>{{"1", "House", MakeDate(1, 2, 2024), 100000, 360, 7.5},
                                      {"2", "Boat", kBadDate, 0, 0, 0}}));
  EXPECT_EQ(r->NewLoan("NOBODY", b).FirstText(), "Account not found.");

  // A counter set back does not hand out a number again.
  tables::Table* sys = r->database().Find("SYSINFO.DBF");
  sys->GoTop();
  ASSERT_TRUE(sys->ReplaceNumber("LASTLOANNO", 0).ok());
  ASSERT_TRUE(sys->Post().ok());
  Loan c;
  ASSERT_TRUE(r->NewLoan("DEFAULT", c).ok());
  EXPECT_EQ(c.loanNo, "3");
  EXPECT_EQ(r->LastLoanNumber(), 3u);

  Loan edited = *r->FindLoan("2");
  edited.propCity = "Halifax";
  edited.terms.points = 1.25f;
  ASSERT_TRUE(r->UpdateLoan(edited).ok());
  EXPECT_EQ(*r->FindLoan("2"), edited);
  EXPECT_FALSE(r->FindLoan("20"));
}

TEST(Schedules, SaveAndLoadGiveBackEveryRowAtItsStoredCents) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  Schedule s = testing::Calculated(100000, 360, 7.5f, MakeDate(15, 1, 2024), MakeDate(1, 3, 2024));
  Loan loan;
  loan.collateral = "12 Elm Street";
  loan.terms = testing::TermsFor(100000, 360, 7.5f, MakeDate(15, 1, 2024), MakeDate(1, 3, 2024));
  ASSERT_TRUE(r->SaveNewLoan("DEFAULT", loan, s).ok());
  EXPECT_EQ(loan.loanNo, "1");
  EXPECT_EQ(r->TransactionCount("1"), 361);
  EXPECT_EQ(r->LoansOfAccount("DEFAULT").size(), 1u);

  Schedule loaded;
  Loan back;
  const Outcome o = r->LoadSchedule("1", back, loaded);
  ASSERT_TRUE(o.ok()) << o.FirstText();
  EXPECT_EQ(back, loan);
  EXPECT_TRUE(loaded.calculated());
  ASSERT_EQ(loaded.lastRow(), s.lastRow());
  for (int k = 0; k <= s.lastRow(); ++k) {
    const ScheduleRow &a = s.row(k), &b = loaded.row(k);
    ASSERT_EQ(b.date, a.date) << k;
    ASSERT_EQ(b.pmtNo, a.pmtNo) << k;
    ASSERT_STREQ(b.periodLabel, a.periodLabel) << k;
    ASSERT_EQ(b.payment, testing::Cents(a.payment)) << k;
    ASSERT_EQ(b.principal, testing::Cents(a.principal)) << k;
    ASSERT_EQ(b.interest, testing::Cents(a.interest)) << k;
    ASSERT_EQ(b.balance, testing::Cents(a.balance)) << k;
    ASSERT_EQ(b.runPayment, testing::Cents(a.runPayment)) << k;
    ASSERT_EQ(b.runPrincipal, testing::Cents(a.runPrincipal)) << k;
    ASSERT_EQ(b.runInterest, testing::Cents(a.runInterest)) << k;
  }
  EXPECT_STREQ(loaded.row(0).periodLabel, "Init/01");
  EXPECT_STREQ(loaded.row(13).periodLabel, "  13/02");
  ASSERT_EQ(loaded.yearTabs().size(), s.yearTabs().size());
  for (std::size_t i = 0; i < s.yearTabs().size(); ++i)
    EXPECT_EQ(loaded.yearTabs()[i].label, s.yearTabs()[i].label);
  EXPECT_EQ(loaded.yearTabs()[1].label, "24");

  // What other tools read is what the engine reads back.
  std::vector<std::string> want, wantPadded;
  for (int k = 0; k <= loaded.lastRow(); ++k) {
    const ScheduleRow& b = loaded.row(k);
    auto money = [&](const char* n, double v) { return std::string(" ") + n + "=" + testing::PyFloat(v); };
    int d, m, y;
    SplitDate(b.date, d, m, y);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", y, m, d);
    const std::string nums = std::string(" TRANSDATE=") + date + money("PMT", b.payment) +
                             money("INTEREST", b.interest) + money("PRINCIPAL", b.principal) +
                             money("PRINBAL", b.balance) + " TRANSNO=" + std::to_string(b.pmtNo) +
                             " RATE=None" + money("RUNPMT", b.runPayment) + money("RUNPRIN", b.runPrincipal) +
                             money("RUNINT", b.runInterest) + " ACTUAL=False CALCULATED=True";
    std::string label = b.periodLabel;
    want.push_back(" LOANNO='1' PMTNOYR='" + label + "'" + nums + " APPLIEDHOW='PI'");
    label.resize(8, ' ');
    wantPadded.push_back(" LOANNO='1        ' PMTNOYR='" + label + "'" + nums + " APPLIEDHOW='PI    '");
  }
  EXPECT_EQ(testing::ReadWithPython("dbfread", dir.file("TRANS.DBF")).lines, want);
  EXPECT_EQ(testing::ReadWithPython("dbf", dir.file("TRANS.DBF")).lines, wantPadded);
  const auto loans = testing::ReadWithPython("dbfread", dir.file("LOANS.DBF")).lines;
  EXPECT_EQ(loans, (std::vector<std::string>{
                       " LOANNO='1' COLLATERIA='12 Elm Street' PROPADDRES='' BLOCKNO='' LOTNO='' "
                       "PROPSTATE='' PROPCITY='' PROPZIP='' PROPCNTRY='' INITAMT=100000.0 INITTERM=360 "
                       "ORIGDATE=2024-01-15 FRSTPMTDT=2024-03-01 PMTSPERYR=2 CMPPERYR=3 POINTS=0.0 "
                       "INITRATE=7.5 AMORTMTHD=3 RATEBASIS=0"}));
  EXPECT_EQ(testing::ReadWithPython("dbfread", dir.file("XREF.DBF")).lines,
            (std::vector<std::string>{" LOANNO='1' ACCOUNTNO='DEFAULT'"}));
}

TEST(Schedules, ReplacingALoanLeavesNoneOfItsOldRows) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  const Date org = MakeDate(1, 6, 2023), first = MakeDate(1, 7, 2023);
  Schedule s360 = testing::Calculated(150000, 360, 6.0f, org, first);
  Schedule s120 = testing::Calculated(90000, 120, 5.25f, org, first);
  Schedule s180 = testing::Calculated(120000, 180, 5.5f, org, first);
  Schedule other = testing::Calculated(5000, 24, 9.0f, org, first);
  Loan a, b;
  ASSERT_TRUE(r->SaveNewLoan("DEFAULT", a, s360).ok());
  ASSERT_TRUE(r->SaveNewLoan("DEFAULT", b, other).ok());

  // Without replace, a loan with rows is refused with the question, untouched.
  const auto before = testing::Snapshot(dir.path());
  const LoanTerms t120 = testing::TermsFor(90000, 120, 5.25f, org, first);
  Outcome o = r->SaveSchedule("1", t120, s120, false);
  EXPECT_FALSE(o.ok());
  EXPECT_EQ(o.messages, (std::vector<Message>{{"This loan number already exists!\r\rReplace loan number 1\r"
                                               "\rwith new data?\r",
                                               BoxType::Warning}}));
  EXPECT_EQ(testing::Snapshot(dir.path()), before);

  ASSERT_TRUE(r->SaveSchedule("1", t120, s120, true).ok());
  EXPECT_EQ(r->TransactionCount("1"), 121);
  EXPECT_TRUE(testing::LoadsAs(*r, "1", s120));
  EXPECT_TRUE(testing::LoadsAs(*r, "2", other));
  EXPECT_EQ(r->FindLoan("1")->terms, t120);
  // Packed: the file holds exactly the live rows of both loans.
  EXPECT_EQ(ReadFileBytes(dir.file("TRANS.DBF")).size(), 32u + 15 * 32 + 1 + (121 + 25) * 154 + 1);
  for (const std::string& line : testing::ReadWithPython("dbf", dir.file("TRANS.DBF")).lines)
    ASSERT_EQ(line[0], ' ');

  ASSERT_TRUE(r->SaveSchedule("1", testing::TermsFor(120000, 180, 5.5f, org, first), s180, true).ok());
  EXPECT_EQ(r->TransactionCount("1"), 181);
  EXPECT_TRUE(testing::LoadsAs(*r, "1", s180));
  EXPECT_TRUE(testing::LoadsAs(*r, "2", other));

  // A new loan without rows takes a schedule without the question.
  Loan c;
  ASSERT_TRUE(r->NewLoan("DEFAULT", c).ok());
  ASSERT_TRUE(r->SaveSchedule(c.loanNo, t120, s120, false).ok());
  EXPECT_TRUE(testing::LoadsAs(*r, c.loanNo, s120));
  EXPECT_EQ(ReplaceLoanQuestion("3"), "This loan number already exists!\r\rReplace loan number 3\r\rwith new data?\r");
  EXPECT_EQ(SaveCanceledText("3"), "Save of 3\r\rcanceled by user.\r");
}

TEST(Schedules, RefusedSavesWriteNothing) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  const Date org = MakeDate(1, 6, 2023), first = MakeDate(1, 7, 2023);
  Schedule s = testing::Calculated(20000, 48, 8.0f, org, first);
  const LoanTerms t = testing::TermsFor(20000, 48, 8.0f, org, first);
  const auto before = testing::Snapshot(dir.path());
  Outcome o = r->SaveSchedule("99", t, s, false);
  EXPECT_EQ(o.messages, (std::vector<Message>{{"Loan not found.\n\nLoan table NOT updated.", BoxType::Error}}));
  o = r->SaveSchedule("99", t, Schedule(), true);
  EXPECT_EQ(o.messages,
            (std::vector<Message>{{"Loan not calculated or\n\nthis loan already saved.\n", BoxType::Information}}));
  Loan l;
  EXPECT_EQ(r->SaveNewLoan("NOBODY", l, s).FirstText(), "Account not found.");
  // Running totals past the field's width: refused before anything is written.
  Schedule huge = testing::Calculated(900000000000.0, 360, 7.5f, org, first);
  o = r->SaveNewLoan("DEFAULT", l, huge);
  EXPECT_EQ(o.messages, (std::vector<Message>{{"Save failed.\n\nThe value is too large for the field RUNPMT.",
                                               BoxType::Error}}));
  EXPECT_EQ(l.loanNo, "");
  EXPECT_EQ(testing::Snapshot(dir.path()), before);
  EXPECT_EQ(r->LastLoanNumber(), 0u);
}

TEST(Schedules, LoadsThatCannotFillTheScheduleLeaveItAsItWas) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  const Date org = MakeDate(1, 6, 2023), first = MakeDate(1, 7, 2023);
  // A loan with terms and no rows: the terms come back, the rows are refused.
  Loan empty;
  empty.terms = testing::TermsFor(30000, 60, 4.5f, org, first);
  ASSERT_TRUE(r->NewLoan("DEFAULT", empty).ok());
  Schedule shown = testing::Calculated(1000, 12, 5.0f, org, first);
  const ScheduleRow row5 = shown.row(5);
  Loan back;
  Outcome o = r->LoadSchedule(empty.loanNo, back, shown);
  EXPECT_EQ(o.messages, (std::vector<Message>{{"\rNo transaction records found for this loan.\r\rCanceling load.\r",
                                               BoxType::Error}}));
  EXPECT_EQ(back.terms, empty.terms);
  EXPECT_EQ(shown.lastRow(), 12);
  EXPECT_EQ(shown.row(5).balance, row5.balance);

  EXPECT_EQ(r->LoadSchedule("77", back, shown).messages,
            (std::vector<Message>{{"Loan not found.", BoxType::Error}}));

  // More periods than the row table holds.
  Loan big;
  big.terms = testing::TermsFor(100000, 360, 7.0f, org, first);
  ASSERT_TRUE(r->SaveNewLoan("DEFAULT", big, testing::Calculated(100000, 360, 7.0f, org, first)).ok());
  Schedule small(10);
  o = r->LoadSchedule(big.loanNo, back, small);
  EXPECT_EQ(o.messages, (std::vector<Message>{{"Low memory condition.\n\nNot enough free memory to load this loan.",
                                               BoxType::Error}}));
  EXPECT_EQ(back.terms.term, 360);
  EXPECT_FALSE(small.calculated());
  // More rows than the row table holds, whatever the stored term says.
  Loan odd = *r->FindLoan(big.loanNo);
  odd.terms.term = 5;
  ASSERT_TRUE(r->UpdateLoan(odd).ok());
  o = r->LoadSchedule(big.loanNo, back, small);
  EXPECT_EQ(o.messages, (std::vector<Message>{{"Loan " + big.loanNo +
                                                   " has 361 transaction records;\n\na schedule holds at most "
                                                   "11.\n\nCanceling load.",
                                               BoxType::Error}}));
  EXPECT_FALSE(small.calculated());
}

TEST(Deletes, ALoanGoesWithItsRowsAndCrossReferenceAndTheTablesArePacked) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  testing::StandardBook book = testing::FillStandardBook(*r);
  const std::uint32_t transBefore = static_cast<std::uint32_t>(r->TransactionCount(book.loanA1)) +
                                    r->TransactionCount(book.loanA2) + r->TransactionCount(book.loanD);
  ASSERT_TRUE(r->DeleteLoan(book.loanA1).ok());
  EXPECT_FALSE(r->FindLoan(book.loanA1));
  EXPECT_EQ(r->TransactionCount(book.loanA1), 0);
  EXPECT_EQ(r->AccountOfLoan(book.loanA1), "");
  ASSERT_EQ(r->LoansOfAccount(book.account).size(), 1u);
  EXPECT_EQ(r->LoansOfAccount(book.account)[0].loanNo, book.loanA2);
  EXPECT_TRUE(testing::LoadsAs(*r, book.loanA2, book.scheduleA2));
  EXPECT_TRUE(testing::LoadsAs(*r, book.loanD, book.scheduleD));
  EXPECT_EQ(r->database().Find("TRANS.DBF")->RecCount(),
            transBefore - static_cast<std::uint32_t>(book.scheduleA1.lastRow() + 1));
  for (const char* t : {"TRANS.DBF", "XREF.DBF", "LOANS.DBF"})
    for (const std::string& line : testing::ReadWithPython("dbf", dir.file(t)).lines) ASSERT_EQ(line[0], ' ') << t;
  EXPECT_EQ(r->DeleteLoan(book.loanA1).FirstText(), "Loan not found.");
  EXPECT_EQ(DeleteLoanQuestion("7"),
            "You are about to permanently delete loan 7\r\rand all of the associated transaction details.\r\r"
            "Are you sure that you want to continue?\r");
  EXPECT_EQ(DeleteLoanCanceledText("7"), "Deletion of loan number\r\r7\r\rwas canceled by the user.\r");
}

TEST(Deletes, AnAccountGoesWithAllItsLoansButDefaultStays) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  testing::StandardBook book = testing::FillStandardBook(*r);
  const auto before = testing::Snapshot(dir.path());
  Outcome o = r->DeleteAccount("DEFAULT");
  EXPECT_EQ(o.messages,
            (std::vector<Message>{{"\rThe DEFAULT account cannot be deleted.\r\r", BoxType::Information}}));
  EXPECT_EQ(r->DeleteAccount("NOBODY").FirstText(), "Account not found.");
  EXPECT_EQ(testing::Snapshot(dir.path()), before);

  ASSERT_TRUE(r->DeleteAccount(book.account).ok());
  EXPECT_FALSE(r->FindAccount(book.account));
  EXPECT_TRUE(r->LoansOfAccount(book.account).empty());
  for (const std::string& loan : {book.loanA1, book.loanA2}) {
    EXPECT_FALSE(r->FindLoan(loan));
    EXPECT_EQ(r->TransactionCount(loan), 0);
  }
  EXPECT_TRUE(testing::LoadsAs(*r, book.loanD, book.scheduleD));
  EXPECT_EQ(testing::ReadWithPython("dbfread", dir.file("XREF.DBF")).lines,
            (std::vector<std::string>{" LOANNO='" + book.loanD + "' ACCOUNTNO='DEFAULT'"}));
  EXPECT_EQ(r->database().Find("TRANS.DBF")->RecCount(), static_cast<std::uint32_t>(book.scheduleD.lastRow() + 1));
  EXPECT_EQ(r->Accounts().size(), 1u);
  EXPECT_EQ(DeleteAccountQuestion("SMITJOH001"),
            "You are about to permanently delete all SMITJOH001\r\raccount records and their associated loans."
            "\r\rAre you sure that you want to continue?\r");
  EXPECT_EQ(DeleteAccountCanceledText("SMITJOH001"),
            "Deletion of account number\r\rSMITJOH001\r\rwas canceled by the user.\r");
  EXPECT_EQ(AccountDeletedStatus("SMITJOH001"), "SMITJOH001 deleted.");
}

// Damaged copies of each of the five tables of a book: a refused open
// says "Table open failed" and writes no file; an accepted one reads every
// account, loan and schedule without a fault.
TEST(LoanTables, DamagedTablesAreRefusedUntouchedOrReadWholly) {
  TempDir dir;
  testing::Snap good;
  {
    auto r = testing::OpenRecords(dir.path());
    testing::FillStandardBook(*r);
  }
  good = testing::Snapshot(dir.path());
  std::uint64_t seed = 0x2545F4914F6CDD1Dull;
  auto next = [&] {
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    return seed;
  };
  int refused = 0, accepted = 0;
  for (int i = 0; i < 150; ++i) {
    testing::Snap damaged = good;
    std::string& s = damaged[testing::kTableFiles[i % 5]];
    for (int e = 1 + static_cast<int>(next() % 3); e > 0; --e) {
      const std::uint64_t r = next();
      const std::size_t at = (r >> 8) % s.size();
      switch (r % 6) {
        case 0: s[at % 64] = static_cast<char>(r >> 40); break;  // header
        case 4: s.resize(at); break;
        case 5: s.append(static_cast<std::size_t>((r >> 40) % 200), static_cast<char>(r >> 48)); break;
        default: s[at] = static_cast<char>(r >> 40); break;  // anywhere, records mostly
      }
      if (s.empty()) s = "\x03";
    }
    testing::Restore(dir.path(), damaged);
    Outcome o;
    auto r = LoanRecords::Open(dir.path(), o, testing::FixedClock());
    if (!r) {
      ++refused;
      ASSERT_EQ(o.FirstText(), "Table open failed") << i;
      ASSERT_TRUE(testing::SameTables(testing::Snapshot(dir.path()), damaged)) << i;
      continue;
    }
    ++accepted;
    auto schedule = std::make_unique<Schedule>();
    for (const Account& a : r->Accounts(AccountOrder::LastName))
      for (const LoanSummary& l : r->LoansOfAccount(a.accountNo)) {
        Loan loan;
        if (r->LoadSchedule(l.loanNo, loan, *schedule).ok()) {
          ASSERT_LE(schedule->lastRow(), kMaxPeriods) << i;
          ASSERT_GE(schedule->yearTabs().size(), 2u) << i;
        }
        r->TransactionCount(l.loanNo);
      }
    r->GenerateAccountNumber("Smith", "John");
  }
  EXPECT_GT(refused, 30);
  EXPECT_GT(accepted, 30);
}

TEST(Schedules, TermsGoBetweenTheScheduleWindowAndTheLoanRecord) {
  AmortInputs in = NewAmortInputs(MakeDate(1, 1, 2024));
  in.PV = 250000;
  in.NumPmts = 180;
  in.Rate = 6.125f;
  in.Points = 1.5f;
  in.PYR.Select(1);
  in.CmpPYR.Select(5);
  const LoanTerms t = TermsOf(ToScheduleInputs(in, AmortChoices{5, 2, 1}));
  EXPECT_EQ(t, (LoanTerms{250000, 180, MakeDate(1, 1, 2024), in.FrstPmtDate, 1, 5, 1.5f, 6.125f, 5, 2}));
  AmortInputs out = NewAmortInputs(MakeDate(2, 2, 2020));
  AmortChoices choices{3, 0, 2};
  ScheduleInputs loaded = ToScheduleInputs(out, choices);
  loaded.OtherFees = 75;
  ApplyTerms(t, loaded);
  EXPECT_EQ(loaded.OtherFees, 75);  // not a term of the loan record
  EXPECT_EQ(loaded.PointsPaidMthd, 2);
  ApplyScheduleTerms(loaded, out, choices);
  EXPECT_EQ(out.PV, 250000);
  EXPECT_EQ(out.NumPmts, 180);
  EXPECT_EQ(out.PYR.index, 1);
  EXPECT_EQ(out.CmpPYR.index, 5);
  EXPECT_EQ(out.OrgDate, MakeDate(1, 1, 2024));
  EXPECT_EQ(choices, (AmortChoices{5, 2, 2}));  // the points choice stays
}

}  // namespace
}  // namespace brevika::records
