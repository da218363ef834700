// The kind descriptions and their registry: every kind once, in menu
// order, with names that the windows, the command line and the JSON find.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "calculators/transfer_records.h"
#include "records/kind_registry.h"

namespace brevika {
namespace {

struct Seen {
  std::vector<CalcKind> kinds;
  std::set<std::string> shortcuts, commands, menuNames;
};

template <class R>
void CheckNames(const KindDescription<R>& d) {
  SCOPED_TRACE(d.info.title);
  std::set<std::string> names, options, json;
  for (const KindField<R>& f : d.fields) {
    EXPECT_TRUE(names.insert(f.name).second) << "field " << f.name << " twice";
    if (f.option) {
      EXPECT_TRUE(options.insert(f.option).second) << f.option;
    }
    if (*f.JsonName()) {
      EXPECT_TRUE(json.insert(f.JsonName()).second) << f.JsonName();
    }
  }
  // A name in an order that is no field would drop a row, a key or an option.
  for (const auto* order : {&d.rowOrder, &d.jsonOrder, &d.optionOrder})
    for (const char* name : *order) EXPECT_NE(d.Find(name), nullptr) << name;
  // An option order must not leave out a field that has an option.
  if (!d.optionOrder.empty()) {
    std::size_t ordered = 0;
    for (const KindField<R>* f : d.Ordered(d.optionOrder)) ordered += f->option ? 1 : 0;
    EXPECT_EQ(ordered, options.size());
  }
  EXPECT_NE(d.make, nullptr);
  EXPECT_NE(d.reset, nullptr);
  EXPECT_NE(d.calc, nullptr);
}

TEST(KindRegistry, EveryKindOnceInMenuOrderWithItsOwnKeysAndCommand) {
  Seen seen;
  ForEachKind([&seen](const auto& d) {
    seen.kinds.push_back(d.info.kind);
    EXPECT_TRUE(seen.shortcuts.insert(d.info.menu.shortcut).second) << d.info.menu.shortcut;
    EXPECT_TRUE(seen.menuNames.insert(d.info.menu.name).second) << d.info.menu.name;
    if (d.info.command.name) {
      EXPECT_TRUE(seen.commands.insert(d.info.command.name).second);
    }
    EXPECT_GE(d.info.slotCount, 1);
    EXPECT_LE(d.info.slotCount, kMaxSlots);
    CheckNames(d);
  });
  EXPECT_EQ(seen.kinds, (std::vector<CalcKind>{CalcKind::Loan, CalcKind::InterestDue,
                                               CalcKind::RemainingBalance, CalcKind::Accelerated,
                                               CalcKind::Balloon, CalcKind::TruthInLending,
                                               CalcKind::Refinance, CalcKind::CompareLoans}));
  EXPECT_EQ(static_cast<int>(seen.kinds.size()), kCalcKindCount);
}

TEST(KindRegistry, TitlesSlotsMenusAndHelpOfTheKinds) {
  EXPECT_EQ(SlotCaption(LoanKind().info, 1), "Loan Calculator 1");
  EXPECT_EQ(SlotCaption(RefinanceKind().info, 1), "Refinance Advisor 1");
  EXPECT_EQ(RefinanceKind().info.slotCount, 1);
  EXPECT_EQ(RefinanceKind().info.menu.menu, KindMenu::Advisors);
  EXPECT_EQ(std::string(RefinanceKind().info.menu.shortcut), "Ctrl+R");
  EXPECT_EQ(std::string(IntDueKind().info.menu.caption), "&Interest Due...");
  EXPECT_EQ(BalloonKind().info.help.window, 92);
  EXPECT_FALSE(BalloonKind().undoMovesRecord);
  EXPECT_EQ(LoanKind().info.help.calc, 21);
  EXPECT_EQ(SlotCaption(CompareKind().info, 1), "Compare Loans 1");
  EXPECT_EQ(CompareKind().info.slotCount, 1);
  EXPECT_EQ(CompareKind().info.menu.menu, KindMenu::Advisors);
  EXPECT_EQ(std::string(CompareKind().info.menu.caption), "Co&mpare Loans...");
  EXPECT_EQ(CompareKind().info.help.window, 280);
  EXPECT_EQ(SlotCaption(TilKind().info, 2), "Truth in Lending 2");
  EXPECT_EQ(std::string(TilKind().info.menu.caption) + "|" + TilKind().info.menu.shortcut,
            "&Truth in Lending...|F7");
  EXPECT_EQ(TilKind().info.help.window, 260);
  EXPECT_EQ(std::string(TilKind().info.command.name), "apr");
}

TEST(KindDescription, RowsFollowTheRowOrderAndTheFieldsKinds) {
  BalloonRecord b = NewBalloonRecord();
  b.PV = 10000;
  b.BallPmt = 5000;
  b.PerDue = 12;
  const std::vector<CalcRow> rows = KindRows(BalloonKind(), b);
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[2].caption, "&Balloon Payment?:");
  EXPECT_EQ(rows[2].kind, RowKind::PlainMoney);
  EXPECT_EQ(rows[3].kind, RowKind::Count);
  EXPECT_EQ(rows[3].count, 12);
  EXPECT_EQ(rows[1].kind, RowKind::Number);
  EXPECT_EQ(rows[1].decimals, 4);
  // A date row carries its weekday; the weekday texts have no rows.
  IntDueRecord d = NewIntDueRecord(MakeDate(1, 1, 2026));
  const std::vector<CalcRow> dueRows = KindRows(IntDueKind(), d);
  ASSERT_EQ(dueRows.size(), 11u);
  EXPECT_EQ(dueRows[3].kind, RowKind::Date);
  EXPECT_EQ(dueRows[3].text, "Thursday");
  EXPECT_EQ(dueRows[3].count, MakeDate(1, 1, 2026));
  // The advisor's rows in its three framed groups.
  const auto groups = KindRowGroups(RefinanceKind(), NewRefiRecord());
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].size(), 4u);
  EXPECT_EQ(groups[1].size(), 7u);
  EXPECT_EQ(groups[2].size(), 5u);
  EXPECT_EQ(groups[2][2].caption, "Property Sold After? (Yrs):");
}

TEST(TransferRecords, OneRecordPerKindMadeOnceWithItsContext) {
  TransferRecords records;
  EXPECT_FALSE(records.Has(CalcKind::InterestDue));
  IntDueRecord* first = records.Get(IntDueKind(), KindContext{MakeDate(1, 1, 2026)});
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->StartDate, MakeDate(1, 1, 2026));
  EXPECT_EQ(first->StartDay, "Thursday");
  first->PV = 5;
  // Asked again, the same record: the context of later windows is not used.
  EXPECT_EQ(records.Get(IntDueKind(), KindContext{MakeDate(2, 2, 2030)}), first);
  EXPECT_EQ(first->PV, 5);
  EXPECT_TRUE(records.Has(CalcKind::InterestDue));
  EXPECT_FALSE(records.Has(CalcKind::Loan));
}

}  // namespace
}  // namespace brevika
