// The transfer component's bindings that the windows' own controls use:
// a date that keeps its value when emptied, an edited text read back
// trimmed, an unsigned count, and a control of the window's own making.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QWidget>

#include "components/masked_fields.h"
#include "components/transfer.h"
#include "gui_test_util.h"

namespace brevika {
namespace {

TEST(Transfer, KeptDateTrimmedTextUnsignedCountAndOwnControl) {
  QWidget window;
  auto* date = new DateField(&window);
  auto* name = new QLineEdit(&window);
  auto* count = new CountField(&window);
  auto* own = new QLineEdit(&window);
  Date day = MakeDate(15, 4, 2024);
  std::string text = "Smith";
  std::uint16_t periods = 360;
  int shown = 0, read = 0;
  Transfer t;
  t.Day(date, &day, true);
  t.Edit(name, &text);
  t.Count(count, &periods);
  t.Own(own, [&] { ++shown; own->setText(QStringLiteral("rows")); }, [&] { ++read; });

  QSignalSpy edits(own, &QLineEdit::textChanged);
  t.ToControls();
  EXPECT_EQ(date->value(), MakeDate(15, 4, 2024));
  EXPECT_EQ(name->text(), "Smith");
  EXPECT_EQ(count->value(), 360);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(own->text(), "rows");
  EXPECT_EQ(edits.count(), 0) << "a control's signals are blocked while it is filled";

  // An emptied date keeps the record's date and shows it again; an edited
  // text loses its outer blanks; a negative count reads as 0.
  date->setValue(kBadDate);
  name->setText(QStringLiteral("  Jones "));
  count->setValue(-5);
  t.FromControls();
  EXPECT_EQ(day, MakeDate(15, 4, 2024));
  EXPECT_EQ(date->value(), MakeDate(15, 4, 2024));
  EXPECT_EQ(text, "Jones");
  EXPECT_EQ(periods, 0);
  EXPECT_EQ(read, 1);
  EXPECT_EQ(t.controls().size(), 4u);
}

}  // namespace
}  // namespace brevika
