// Masked entry fields: what each picture lets through, the formatted and
// the editing forms, and values.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QTest>
#include <cmath>
#include <limits>

#include "components/locale_info.h"
#include "components/masked_fields.h"
#include "gui_test_util.h"

namespace brevika {
namespace {

// Types into a field as a user would after selecting its contents.
template <typename F>
void Type(F& field, const QString& keys) {
  field.selectAll();
  QTest::keyClicks(&field, keys);
}

TEST(MaskedFields, MoneyAcceptsOnlyThePicture) {
  MoneyField f;
  Type(f, "12a3b.4x56");
  EXPECT_EQ(f.text(), "123.45");
  EXPECT_DOUBLE_EQ(f.value(), 123.45);

  // Twelve integer digits whatever the grouping of the picture shows.
  Type(f, "1234567890123");
  EXPECT_EQ(f.text(), "123456789012");
  EXPECT_DOUBLE_EQ(f.value(), 123456789012.0);

  Type(f, "-5.5");
  EXPECT_DOUBLE_EQ(f.value(), -5.5);
  Type(f, "1,234.5");  // thousands separators may be typed
  EXPECT_DOUBLE_EQ(f.value(), 1234.5);
  Type(f, "-");
  EXPECT_DOUBLE_EQ(f.value(), 0.0);  // nothing but a sign reads as zero, the unknown
}

TEST(MaskedFields, FormattedUnlessEditing) {
  MoneyField f;
  f.setValue(1234.5);
  EXPECT_FALSE(f.editing());
  EXPECT_EQ(f.text(), "$1,234.50");
  f.setValue(-99.999);
  EXPECT_EQ(f.text(), "-$100.00");
  EXPECT_DOUBLE_EQ(f.value(), -99.999);  // the value is not rounded by showing it

  // The first key on a formatted field opens the plain form and replaces it.
  f.setValue(250);
  QTest::keyClicks(&f, "75");
  EXPECT_TRUE(f.editing());
  EXPECT_EQ(f.text(), "75");

  EXPECT_FALSE(f.setValue(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(f.setValue(std::nan("")));
  EXPECT_DOUBLE_EQ(f.value(), 75.0);
}

TEST(MaskedFields, FocusSwitchesForms) {
  QWidget window;
  auto* money = new MoneyField(&window);
  auto* other = new MoneyField(&window);
  money->move(0, 0);
  other->move(0, 40);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  money->setValue(100000);
  other->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(money->text(), "$100,000.00");
  money->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(money->editing());
  EXPECT_EQ(money->text(), "100000");
  EXPECT_EQ(money->selectedText(), "100000");  // tabbing in selects everything
  QTest::keyClicks(money, "699.21");
  other->setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(money->editing());
  EXPECT_EQ(money->text(), "$699.21");
  EXPECT_DOUBLE_EQ(money->value(), 699.21);

  // Double click selects the whole text.
  money->setFocus(Qt::MouseFocusReason);
  money->deselect();
  QTest::mouseDClick(money, Qt::LeftButton, Qt::NoModifier, QPoint(5, money->height() / 2));
  EXPECT_EQ(money->selectedText(), money->text());
}

TEST(MaskedFields, LocaleMasks) {
  LocaleFormat de;
  de.currencySymbol = "\xE2\x82\xAC";
  de.symbolBefore = true;  // the mask decides the side
  de.symbolSpaced = true;
  de.thousands = ".";
  de.decimal = ",";
  MoneyField f;
  f.SetLocaleFormat(de);
  f.SetMask("#,###,###.##CCC");
  EXPECT_EQ(f.mask(), "#,###,###.##CCC");
  f.setValue(1234567.891);
  EXPECT_EQ(f.text(), QString::fromUtf8("1.234.567,89 \xE2\x82\xAC"));
  Type(f, "12,5");
  EXPECT_DOUBLE_EQ(f.value(), 12.5);
  Type(f, "12.75");  // a point is a decimal point too
  EXPECT_DOUBLE_EQ(f.value(), 12.75);

  f.SetMask("cc ###,###,###.");  // no decimals
  Type(f, "1500,5");
  EXPECT_EQ(f.text(), "15005");

  MoneyField shown;
  shown.SetLocaleFormat(de);
  shown.SetMask("cc ###,###,###.");
  shown.setValue(2500.4);
  EXPECT_EQ(shown.text(), QString::fromUtf8("\xE2\x82\xAC 2.500"));
  shown.SetMask("");  // an unknown country's empty mask keeps the current one
  EXPECT_EQ(shown.mask(), "cc ###,###,###.");
}

TEST(MaskedFields, RatePicture) {
  RateField f;
  EXPECT_EQ(f.text(), "0.0000");
  Type(f, "7.12345");
  EXPECT_EQ(f.text(), "7.1234");
  Type(f, "123");
  EXPECT_EQ(f.text(), "12");
  Type(f, "-7.5x");
  EXPECT_FLOAT_EQ(f.value(), -7.5f);
  f.setValue(7.49993f);
  EXPECT_EQ(f.text(), "7.4999");
  EXPECT_FLOAT_EQ(f.value(), 7.49993f);
  EXPECT_FALSE(f.setValue(std::numeric_limits<float>::quiet_NaN()));
}

TEST(MaskedFields, CountPictureAndBound) {
  CountField f;
  Type(f, "1a2.5");
  EXPECT_EQ(f.text(), "125");
  EXPECT_EQ(f.value(), 125);
  Type(f, "40000");  // beyond 16 bits
  EXPECT_EQ(f.text(), "4000");
  Type(f, "-32768");
  EXPECT_EQ(f.value(), -32768);
  CountField shown;
  shown.setValue(12345);
  EXPECT_EQ(shown.text(), "12,345");

  f.SetMaximum(360);
  Type(f, "361");
  EXPECT_EQ(f.text(), "36");
  Type(f, "360");
  EXPECT_EQ(f.value(), 360);
}

TEST(MaskedFields, DatesAndCenturyWindow) {
  DateField f;
  EXPECT_EQ(f.value(), kBadDate);
  EXPECT_EQ(f.text(), "");
  Type(f, "01/15/25");
  EXPECT_EQ(f.value(), MakeDate(15, 1, 2025));
  Type(f, "12/31/59");
  EXPECT_EQ(f.value(), MakeDate(31, 12, 2059));
  Type(f, "01/01/60");
  EXPECT_EQ(f.value(), MakeDate(1, 1, 1960));
  Type(f, "02/29/2000");
  EXPECT_EQ(f.value(), MakeDate(29, 2, 2000));
  // No thirteenth month: typed as it comes, the field holds no date.
  Type(f, "13/45/2027");
  EXPECT_EQ(f.text(), "13/45/2027");
  EXPECT_EQ(f.value(), kBadDate);
  EXPECT_TRUE(f.showsBadDate());
  Type(f, "ab/");  // only digits and slashes
  EXPECT_EQ(f.text(), "/");
  Type(f, "123");  // at most two digits of month
  EXPECT_EQ(f.text(), "12");

  f.SetEpoch(1900);
  Type(f, "07/04/59");
  EXPECT_EQ(f.value(), MakeDate(4, 7, 1959));
  Type(f, "12/31/3999");
  EXPECT_EQ(f.value(), MakeDate(31, 12, 3999));
  Type(f, "01/01/1600");
  EXPECT_EQ(f.value(), 0);

  DateField shown;
  shown.setValue(MakeDate(4, 7, 1959));  // outside the window: shown in full
  EXPECT_EQ(shown.text(), "07/04/1959");
  shown.setValue(MakeDate(9, 3, 2024));
  EXPECT_EQ(shown.text(), "03/09/24");
  shown.SetFourDigitYear(true);
  EXPECT_EQ(shown.text(), "03/09/2024");
  EXPECT_FALSE(shown.setValue(MakeDate(1, 1, 4000)));
  EXPECT_EQ(shown.value(), MakeDate(9, 3, 2024));

  // Text that is no date (before 1600, or not yet complete) is no value,
  // and stays shown once the field is left.
  Type(shown, "01/01/1599");
  EXPECT_EQ(shown.text(), "01/01/1599");
  EXPECT_EQ(shown.value(), kBadDate);
  EXPECT_TRUE(shown.showsBadDate());
  Type(shown, "02/30/2026");
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(&shown, &out);
  EXPECT_EQ(shown.text(), "02/30/2026");
  EXPECT_EQ(shown.value(), kBadDate);
  // A date set goes in its place; emptied, the field holds nothing.
  EXPECT_TRUE(shown.setValue(MakeDate(9, 3, 2024)));
  EXPECT_FALSE(shown.showsBadDate());
  Type(shown, "");
  QTest::keyClick(&shown, Qt::Key_Backspace);
  EXPECT_EQ(shown.value(), kBadDate);
  EXPECT_FALSE(shown.showsBadDate());
  EXPECT_TRUE(shown.setValue(kBadDate));
}

TEST(LocaleInfoTest, CountryCodesAndFormats) {
  EXPECT_EQ(CountryCodeForTerritory(QLocale::UnitedStates), 1);
  EXPECT_EQ(CountryCodeForTerritory(QLocale::Canada), 2);
  EXPECT_EQ(CountryCodeForTerritory(QLocale::UnitedKingdom), 44);
  EXPECT_EQ(CountryCodeForTerritory(QLocale::Germany), 49);
  EXPECT_EQ(CountryCodeForTerritory(QLocale::Taiwan), 886);
  EXPECT_EQ(CountryCodeForTerritory(QLocale::Ireland), 353);
  EXPECT_EQ(CountryCodeForTerritory(QLocale::Japan), 0);

  const LocaleInfo c = LocaleInfoFor(QLocale::c());
  EXPECT_EQ(c.countryCode, 1);
  EXPECT_EQ(c.format.currencySymbol, "$");
  EXPECT_TRUE(c.format.symbolBefore);
  EXPECT_EQ(c.format.thousands, ",");
  EXPECT_EQ(c.format.decimal, ".");

  const LocaleInfo us = LocaleInfoFor(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(us.countryCode, 1);
  EXPECT_EQ(FormatMoney(-1234.5, 2, us.format), "-$1,234.50");

  const LocaleInfo de = LocaleInfoFor(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(de.countryCode, 49);
  EXPECT_EQ(de.format.currencySymbol, "\xE2\x82\xAC");
  EXPECT_FALSE(de.format.symbolBefore);
  EXPECT_TRUE(de.format.symbolSpaced);
  EXPECT_EQ(de.format.thousands, ".");
  EXPECT_EQ(de.format.decimal, ",");

  EXPECT_EQ(LocaleInfoFor(QLocale(QLocale::French, QLocale::Canada)).countryCode, 2);
  EXPECT_EQ(LocaleInfoFor(QLocale(QLocale::Japanese, QLocale::Japan)).countryCode, 0);

  LocaleInfo forced;
  forced.countryCode = 49;
  SetLocaleInfoOverride(forced);
  EXPECT_EQ(CurrentLocaleInfo().countryCode, 49);
  EXPECT_EQ(CurrentMoneyMask(), "#,###,###.##CCC");
  SetLocaleInfoOverride(std::nullopt);
  EXPECT_EQ(CurrentLocaleInfo().countryCode, LocaleInfoFor(QLocale::system()).countryCode);
}

}  // namespace
}  // namespace brevika
