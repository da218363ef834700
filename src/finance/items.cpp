#include "finance/items.h"

#include <algorithm>
#include <cctype>

namespace brevika {

const ItemList& PaymentPeriodItems() {
  static const ItemList k{"Weekly", "BiWeekly", "Monthly", "BiMonthly",
                          "Quarterly", "SemiAnnually", "Annually"};
  return k;
}
const ItemList& CompoundingPeriodItems() {
  static const ItemList k{"Daily", "Weekly", "BiWeekly", "Monthly", "BiMonthly",
                          "Quarterly", "SemiAnnually", "Annually", "Continuous"};
  return k;
}
const ItemList& InterestDueCompoundingItems() {
  static const ItemList k{"Simple", "Continuous", "Daily", "Weekly", "BiWeekly",
                          "Monthly", "BiMonthly", "Quarterly", "SemiAnnually", "Annually"};
  return k;
}
const ItemList& DayBasisItems() {
  static const ItemList k{"360", "365"};
  return k;
}
const ItemList& InterestBasisItems() {
  static const ItemList k{"Ordinary", "Exact/360", "Exact/365"};
  return k;
}
const ItemList& AmortizingMethodItems() {
  static const ItemList k{"Canadian", "Interest Only", "Fixed Principal",
                          "Normal", "Rule of 78's", "U.S. Rule"};
  return k;
}
const ItemList& PaymentMethodItems() {
  static const ItemList k{"Advance", "Arrears"};
  return k;
}
const ItemList& DeductibilityItems() {
  static const ItemList k{"Deductible", "Not Deductible"};
  return k;
}
const ItemList& PointsTreatmentItems() {
  static const ItemList k{"Prepaid", "Amortized"};
  return k;
}
const ItemList& PointsPaidItems() {
  static const ItemList k{"At Origination", "With 1st Payment", "Amortized"};
  return k;
}

int FindItem(const ItemList& items, const std::string& text) {
  auto lower = [](std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
  };
  const std::string want = lower(text);
  for (std::size_t i = 0; i < items.size(); ++i)
    if (lower(items[i]) == want) return static_cast<int>(i);
  return -1;
}

ListEntry ListEntry::Of(const ItemList& list, int index) {
  ListEntry e;
  e.items = list;
  e.Select(index);
  return e;
}

void ListEntry::Select(int i) {
  index = i;
  text = (i >= 0 && i < static_cast<int>(items.size())) ? items[i] : std::string();
}

const std::string& ListEntry::SelectedText() const { return text; }

}  // namespace brevika
