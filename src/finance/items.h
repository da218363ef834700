// Fixed item lists of the choice fields, and the default choices.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace brevika {

using ItemList = std::vector<std::string>;

const ItemList& PaymentPeriodItems();        // "Weekly" .. "Annually"
const ItemList& CompoundingPeriodItems();    // "Daily" .. "Continuous"
const ItemList& InterestDueCompoundingItems();
const ItemList& DayBasisItems();
const ItemList& InterestBasisItems();        // "Ordinary", "Exact/360", "Exact/365"
const ItemList& AmortizingMethodItems();
const ItemList& PaymentMethodItems();
const ItemList& DeductibilityItems();
const ItemList& PointsTreatmentItems();
const ItemList& PointsPaidItems();

// Amortizing method codes (item index of the amortizing method list).
enum class AmortMethod : int {
  Canadian = 0, InterestOnly = 1, FixedPrincipal = 2, Normal = 3, RuleOf78 = 4, USRule = 5
};
// Payment method codes: only 1 is arrears, anything else is advance.
enum class PaymentMethod : int { Advance = 0, Arrears = 1 };

inline AmortMethod AmortMethodOf(int index) { return static_cast<AmortMethod>(index); }
inline bool IsArrears(int paymentMethodIndex) {
  return paymentMethodIndex == static_cast<int>(PaymentMethod::Arrears);
}

// Default choices; each entry is a code, not a list index, where noted.
struct LoanDefaultsTable {
  std::uint8_t paymentPeriod;         // PeriodCode; a PYR list gets code - 1
  std::uint8_t compoundingPeriod;     // PeriodCode = CmpPYR index
  std::uint8_t canadianPYR;           // PeriodCode
  std::uint8_t canadianCmpPYR;        // PeriodCode
  std::uint8_t amortizingMethod;
  std::uint8_t paymentMethod;
  std::uint8_t interestBasis;
  std::uint8_t dayBasis;
  std::uint8_t interestDueCompounding;
  std::uint8_t deductibility;
  std::uint8_t pointsTreatment;
  std::uint8_t pointsPaid;
  // Index of the default payment period in a payment-period list.
  constexpr int pyrIndex() const { return paymentPeriod - 1; }
};
inline constexpr LoanDefaultsTable LoanDefaults{3, 3, 3, 6, 3, 1, 0, 1, 2, 0, 0, 0};

// Index of an item by its text, ignoring case; -1 when absent.
int FindItem(const ItemList& items, const std::string& text);

// The state of a list control: item index, its text and the items.
struct ListEntry {
  std::int32_t index = 0;
  std::string text;
  ItemList items;

  static ListEntry Of(const ItemList& list, int index);
  void Select(int i);
  const std::string& SelectedText() const;
  // The selected item as the list's code type (AmortMethod, PaymentMethod ...).
  template <class Code>
  Code code() const { return static_cast<Code>(index); }
};

}  // namespace brevika
