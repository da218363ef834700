// What-if events saved with a loan in EVENTS.DBF: written and read back in
// their order, readable by other tools, replaced and deleted with the
// loan's rows, absent from books that never saved any, and applied again
// after a load so the rows get their marks back.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "amortization/schedule.h"
#include "records/loan_records.h"
#include "records/loan_tables.h"
#include "support/loan_records_fixture.h"
#include "support/python_dbf.h"
#include "support/temp_dir.h"

namespace brevika::records {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;

long long Cents(double v) { return std::llround(v * 100); }

// 100,000 over 360 months at 7.5 %, first payment a month after
// origination (the loan of the schedule's hand-checked event examples).
ScheduleInputs Mortgage() {
  ScheduleInputs in;
  in.PV = 100000;
  in.NumPmts = 360;
  in.Rate = 7.5f;
  in.OrgDate = MakeDate(1, 1, 1997);
  in.FrstPmtDate = MakeDate(1, 2, 1997);
  return in;
}

ScheduleEvent Ev(EventKind kind, int from, std::optional<int> to, double amount, float rate, EventHow how) {
  return ScheduleEvent{kind, from, to, amount, rate, how};
}

// One of each kind, the holiday listed first: the list keeps its order.
std::vector<ScheduleEvent> OneOfEach() {
  return {Ev(EventKind::Holiday, 100, 102, 0, 0, EventHow::KeepTerm),
          Ev(EventKind::Extra, 13, 60, 100, 0, EventHow::ShorterTerm),
          Ev(EventKind::Lump, 60, std::nullopt, 10000, 0, EventHow::ShorterTerm),
          Ev(EventKind::Rate, 61, std::nullopt, 0, 6.25f, EventHow::KeepTerm)};
}

Schedule Calculated(ScheduleInputs in) {
  Schedule s;
  const Outcome o = s.Calculate(in);
  EXPECT_TRUE(o.ok()) << o.FirstText();
  return s;
}

bool HasFile(const TempDir& dir, const char* name) { return std::filesystem::exists(dir.file(name)); }

TEST(LoanEvents, SavedWithTheLoanReadBackAndAppliedAgain) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  ScheduleInputs in = Mortgage();
  in.events = OneOfEach();
  const Schedule s = Calculated(in);
  Loan loan;
  loan.terms = TermsOf(in);
  ASSERT_TRUE(r->SaveNewLoan(kDefaultAccount, loan, s).ok());
  ASSERT_EQ(loan.loanNo, "1");

  // Other tools read the events as written: LOANNO, SEQ, KIND, FROMPMT,
  // TOPMT, AMOUNT, RATE, HOW; a record is 1 + 9 + 5 + 7 + 5 + 5 + 15 + 9 + 13
  // = 69 bytes.
  const std::string bytes = ReadFileBytes(dir.file("EVENTS.DBF"));
  ASSERT_GE(bytes.size(), 12u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[10]) | (static_cast<unsigned char>(bytes[11]) << 8), 69);
  EXPECT_EQ(testing::ReadWithPython("dbfread", dir.file("EVENTS.DBF")).lines,
            (std::vector<std::string>{
                " LOANNO='1' SEQ=1 KIND='holiday' FROMPMT=100 TOPMT=102 AMOUNT=0.0 RATE=0.0 HOW='keep-term'",
                " LOANNO='1' SEQ=2 KIND='extra' FROMPMT=13 TOPMT=60 AMOUNT=100.0 RATE=0.0 HOW='shorter-term'",
                " LOANNO='1' SEQ=3 KIND='lump' FROMPMT=60 TOPMT=0 AMOUNT=10000.0 RATE=0.0 HOW='shorter-term'",
                " LOANNO='1' SEQ=4 KIND='rate' FROMPMT=61 TOPMT=0 AMOUNT=0.0 RATE=6.25 HOW='keep-term'"}));
  EXPECT_EQ(testing::ReadWithPython("dbf", dir.file("EVENTS.DBF")).lines,
            (std::vector<std::string>{
                " LOANNO='1        ' SEQ=1 KIND='holiday' FROMPMT=100 TOPMT=102 AMOUNT=0.0 RATE=0.0 "
                "HOW='keep-term    '",
                " LOANNO='1        ' SEQ=2 KIND='extra  ' FROMPMT=13 TOPMT=60 AMOUNT=100.0 RATE=0.0 "
                "HOW='shorter-term '",
                " LOANNO='1        ' SEQ=3 KIND='lump   ' FROMPMT=60 TOPMT=0 AMOUNT=10000.0 RATE=0.0 "
                "HOW='shorter-term '",
                " LOANNO='1        ' SEQ=4 KIND='rate   ' FROMPMT=61 TOPMT=0 AMOUNT=0.0 RATE=6.25 "
                "HOW='keep-term    '"}));

  // Read back by a copy that only reads: the rows as saved, the events in
  // their order, no marks until they are applied again.
  r.reset();
  Outcome opened;
  RecordsOptions readOnly = testing::FixedClock();
  readOnly.readOnly = true;
  r = LoanRecords::Open(dir.path(), opened, readOnly);
  ASSERT_TRUE(r);
  Loan back;
  Schedule loaded;
  const Outcome o = r->LoadSchedule("1", back, loaded);
  ASSERT_TRUE(o.ok());
  EXPECT_TRUE(o.messages.empty());
  EXPECT_EQ(back.terms.events, OneOfEach());
  EXPECT_TRUE(testing::LoadsAs(*r, "1", s));
  EXPECT_FALSE(loaded.hasEvents());
  EXPECT_EQ(loaded.eventMarks(60), 0);

  ScheduleInputs terms = Mortgage();
  ApplyTerms(back.terms, terms);
  const Outcome again = ReapplyEvents(terms, loaded);
  EXPECT_TRUE(again.ok());
  EXPECT_TRUE(again.messages.empty());
  ASSERT_TRUE(loaded.hasEvents());
  // The hand-checked rows: payment 60 pays 699.21 + 100 + 10,000, payment
  // 61 the payment recomputed at 6.25 %, 521.40.
  EXPECT_EQ(loaded.eventMarks(60), kMarkExtra | kMarkLump);
  EXPECT_EQ(loaded.eventMarks(61), kMarkRate | kMarkNewPayment);
  EXPECT_EQ(loaded.eventMarks(101), kMarkHoliday);
  EXPECT_EQ(Cents(loaded.row(60).payment), 1079921);
  EXPECT_EQ(Cents(loaded.row(61).payment), 52140);
  EXPECT_EQ(loaded.baseLastRow(), 360);
}

TEST(LoanEvents, ReplacedAndDeletedWithTheLoanAndNoTableWithoutThem) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  const Schedule plain = Calculated(Mortgage());
  Loan a;
  a.terms = TermsOf(Mortgage());
  ASSERT_TRUE(r->SaveNewLoan(kDefaultAccount, a, plain).ok());
  // A save without events makes no new table, and loading needs none.
  EXPECT_FALSE(HasFile(dir, "EVENTS.DBF"));
  Loan back;
  Schedule loaded;
  ASSERT_TRUE(r->LoadSchedule(a.loanNo, back, loaded).ok());
  EXPECT_TRUE(back.terms.events.empty());
  EXPECT_TRUE(ReapplyEvents(Mortgage(), loaded).messages.empty());
  EXPECT_FALSE(HasFile(dir, "EVENTS.DBF"));
  ASSERT_TRUE(r->SaveSchedule(a.loanNo, a.terms, plain, true).ok());
  ASSERT_TRUE(r->DeleteLoan(a.loanNo).ok());
  EXPECT_FALSE(HasFile(dir, "EVENTS.DBF"));

  // Loan 2 with four events, loan 3 with one.
  ScheduleInputs four = Mortgage();
  four.events = OneOfEach();
  ScheduleInputs one = Mortgage();
  one.events = {Ev(EventKind::Extra, 13, std::nullopt, 100, 0, EventHow::LowerPayment)};
  Loan b, c;
  b.terms = TermsOf(four);
  c.terms = TermsOf(one);
  ASSERT_TRUE(r->SaveNewLoan(kDefaultAccount, b, Calculated(four)).ok());
  ASSERT_TRUE(r->SaveNewLoan(kDefaultAccount, c, Calculated(one)).ok());
  auto lines = [&] { return testing::ReadWithPython("dbfread", dir.file("EVENTS.DBF")).lines; };
  EXPECT_EQ(lines().size(), 5u);

  // Replacing loan 2 with one event leaves one row of it (the others gone
  // for good); replacing it without events leaves none.
  ASSERT_TRUE(r->SaveSchedule(b.loanNo, c.terms, Calculated(one), true).ok());
  EXPECT_EQ(lines(), (std::vector<std::string>{
                         " LOANNO='2' SEQ=1 KIND='extra' FROMPMT=13 TOPMT=0 AMOUNT=100.0 RATE=0.0 "
                         "HOW='lower-payment'",
                         " LOANNO='3' SEQ=1 KIND='extra' FROMPMT=13 TOPMT=0 AMOUNT=100.0 RATE=0.0 "
                         "HOW='lower-payment'"}));
  ASSERT_TRUE(r->SaveSchedule(b.loanNo, a.terms, plain, true).ok());
  EXPECT_EQ(lines().size(), 1u);
  ASSERT_TRUE(r->LoadSchedule(b.loanNo, back, loaded).ok());
  EXPECT_TRUE(back.terms.events.empty());

  // Deleting the loan, or its account, deletes its events.
  ASSERT_TRUE(r->SaveSchedule(b.loanNo, b.terms, Calculated(four), true).ok());
  EXPECT_EQ(lines().size(), 5u);
  ASSERT_TRUE(r->DeleteLoan(c.loanNo).ok());
  EXPECT_EQ(lines().size(), 4u);
  Account acct;
  acct.lastName = "Ng";
  acct.firstName = "Ada";
  ASSERT_TRUE(r->AddAccount(acct, IdMode::Generate).ok());
  Loan d;
  d.terms = TermsOf(four);
  ASSERT_TRUE(r->SaveNewLoan(acct.accountNo, d, Calculated(four)).ok());
  EXPECT_EQ(lines().size(), 8u);
  ASSERT_TRUE(r->DeleteAccount(acct.accountNo).ok());
  EXPECT_EQ(lines().size(), 4u);
  for (const std::string& l : lines()) EXPECT_EQ(l.substr(0, 11), " LOANNO='2'");
}

// Events that can't be read are left out with a remark; events that no
// longer give the saved rows leave the saved rows shown, with a remark;
// points paid another way than the current choice are found.
TEST(LoanEvents, UnreadableEventsAndEventsThatNoLongerGiveTheRows) {
  TempDir dir;
  auto r = testing::OpenRecords(dir.path());
  ScheduleInputs in = Mortgage();
  in.events = OneOfEach();
  const Schedule s = Calculated(in);
  Loan loan;
  loan.terms = TermsOf(in);
  ASSERT_TRUE(r->SaveNewLoan(kDefaultAccount, loan, s).ok());

  // Another program wrote a kind this one doesn't know.
  {
    tables::Table& t = *r->database().Find("EVENTS.DBF");
    t.SetOrder(0);
    t.Go(3);
    ASSERT_TRUE(t.ReplaceString("KIND", "bonus").ok());
    ASSERT_TRUE(t.Post().ok());
  }
  Loan back;
  Schedule loaded;
  Outcome o = r->LoadSchedule("1", back, loaded);
  EXPECT_TRUE(o.ok());
  EXPECT_EQ(o.messages, (std::vector<Message>{{"The events saved with loan 1 can't be read:\n\n"
                                               "unknown KIND bonus.\n\nThe loan is loaded without them.",
                                               BoxType::Information}}));
  EXPECT_TRUE(back.terms.events.empty());
  EXPECT_TRUE(testing::LoadsAs(*r, "1", s));

  // The loan's rate changed behind the saved rows: they stay as saved.
  ASSERT_TRUE(r->SaveSchedule("1", loan.terms, s, true).ok());
  Loan changed = *r->FindLoan("1");
  changed.terms.rate = 8.0f;
  ASSERT_TRUE(r->UpdateLoan(changed).ok());
  ASSERT_TRUE(r->LoadSchedule("1", back, loaded).ok());
  ScheduleInputs terms = Mortgage();
  ApplyTerms(back.terms, terms);
  o = ReapplyEvents(terms, loaded);
  EXPECT_TRUE(o.ok());
  EXPECT_EQ(o.messages, (std::vector<Message>{{kMsgEventsNotReapplied, BoxType::Information}}));
  EXPECT_EQ(o.FirstText(),
            "The loan's events no longer give its saved rows.\n\nThe saved rows are shown without the marks\n\n"
            "and the comparison of the events.\n\n");
  EXPECT_FALSE(loaded.hasEvents());
  EXPECT_EQ(Cents(loaded.row(60).payment), 1079921);  // as saved, at 7.5 %

  // 2 points paid with payment 1: loaded with the choice "At Origination"
  // the rows differ, and the choice that gives them is found.
  ScheduleInputs pts = in;
  pts.Points = 2;
  pts.PointsPaidMthd = kWithFirstPayment;
  Loan withPoints;
  withPoints.terms = TermsOf(pts);
  ASSERT_TRUE(r->SaveNewLoan(kDefaultAccount, withPoints, Calculated(pts)).ok());
  ASSERT_TRUE(r->LoadSchedule(withPoints.loanNo, back, loaded).ok());
  terms = Mortgage();
  ApplyTerms(back.terms, terms);
  ASSERT_EQ(terms.PointsPaidMthd, kAtOrigination);
  EXPECT_TRUE(ReapplyEvents(terms, loaded).messages.empty());
  EXPECT_TRUE(loaded.hasEvents());
  // Payment 1: the level payment 699.21 and the 2,000.00 of points.
  EXPECT_EQ(Cents(loaded.row(1).payment), 269921);
}

}  // namespace
}  // namespace brevika::records
