#include "calculators/kinds.h"

#include <array>

namespace brevika {

namespace {
struct KindRow {
  const char* title;
  int slots;
};
constexpr std::array<KindRow, kCalcKindCount> kKinds = {{
    {"Loan Calculator", 2},
    {"Interest Due Calculator", 2},
    {"Remaining Balance Calculator", 2},
    {"Accelerated Payment Calculator", 2},
    {"Balloon Payment Calculator", 2},
    {"Refinance Advisor", 1},
}};
}  // namespace

const char* KindTitle(CalcKind kind) { return kKinds[static_cast<std::size_t>(kind)].title; }
int KindSlotCount(CalcKind kind) { return kKinds[static_cast<std::size_t>(kind)].slots; }

std::string SlotCaption(CalcKind kind, int slot) {
  return std::string(KindTitle(kind)) + " " + std::to_string(slot);
}

}  // namespace brevika
