#include "amortization/compare_offer_text.h"

#include <array>
#include <vector>

#include "finance/parse.h"

namespace brevika {

namespace {

enum Key { kAmount, kRate, kPeriods, kPoints, kFees, kPaymentPeriod, kCompounding, kAmortizing, kKeys };
const ItemList& Keys() {
  static const ItemList k{"amount", "rate", "periods", "points", "fees",
                          "payment-period", "compounding", "amortizing"};
  return k;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<LoanOffer> ParseOfferText(std::string_view text, int number, std::string& error) {
  const std::string name = "Offer " + std::to_string(number) + ": ";
  auto fail = [&](const std::string& what) -> std::optional<LoanOffer> {
    error = name + what;
    return std::nullopt;
  };
  // Pieces between commas; a piece without "=" belongs to the value before.
  std::array<std::optional<std::string>, kKeys> values;
  int current = -1;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) comma = text.size();
    const std::string_view piece = text.substr(start, comma - start);
    const std::size_t eq = piece.find('=');
    if (eq == std::string_view::npos) {
      if (current < 0) {
        if (Trim(piece).empty() && comma == text.size()) return fail("the offer is empty: give amount=, rate= and periods=");
        return fail(Quoted(Trim(piece)) + " is not key=value");
      }
      *values[static_cast<std::size_t>(current)] += "," + std::string(piece);
    } else {
      const std::string key(Trim(piece.substr(0, eq)));
      const int k = FindItem(Keys(), key);
      if (k < 0) {
        std::string list;
        for (const std::string& it : Keys()) list += (list.empty() ? "" : ", ") + it;
        return fail(Quoted(key) + " is not a key of an offer (" + list + ")");
      }
      if (values[static_cast<std::size_t>(k)]) return fail(Keys()[static_cast<std::size_t>(k)] + " is given twice");
      values[static_cast<std::size_t>(k)] = std::string(piece.substr(eq + 1));
      current = k;
    }
    start = comma + 1;
  }

  LoanOffer o;
  for (int k : {kAmount, kRate, kPeriods})
    if (!values[static_cast<std::size_t>(k)]) return fail(Keys()[static_cast<std::size_t>(k)] + " is missing");
  for (int k = 0; k < kKeys; ++k) {
    const std::optional<std::string>& raw = values[static_cast<std::size_t>(k)];
    if (!raw) continue;
    const std::string value(Trim(*raw));
    const std::string what = Keys()[static_cast<std::size_t>(k)] + ": " + Quoted(value);
    std::string why;
    switch (k) {
      case kAmount:
      case kFees: {
        const auto v = ReadAmount(value, why);
        if (!v) return fail(what + " " + why);
        (k == kAmount ? o.amount : o.fees) = *v;
        break;
      }
      case kRate:
      case kPoints: {
        const auto v = ReadRate(value, why);
        if (!v) return fail(what + " " + why);
        (k == kRate ? o.rate : o.points) = *v;
        break;
      }
      case kPeriods: {
        const auto v = ReadCount(value, 0, 32767, why);
        if (!v) return fail(what + " " + why);
        o.periods = *v;
        break;
      }
      default: {
        const ItemList& items = k == kPaymentPeriod ? PaymentPeriodItems()
                                : k == kCompounding ? CompoundingPeriodItems()
                                                    : AmortizingMethodItems();
        const auto index = ReadItem(value, items, why);
        if (!index) return fail(what + " " + why);
        (k == kPaymentPeriod ? o.PYR : k == kCompounding ? o.CmpPYR : o.AmortMthd) = *index;
        break;
      }
    }
  }
  return o;
}

}  // namespace brevika
