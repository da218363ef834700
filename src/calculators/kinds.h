// The calculator kinds. Each kind's description (calculators/kind.h) says
// everything else about it; records/kind_registry.h lists them in order.
#pragma once

namespace brevika {

enum class CalcKind { Loan, InterestDue, RemainingBalance, Accelerated, Balloon, Refinance,
                      TruthInLending };
inline constexpr int kCalcKindCount = 7;
inline constexpr int kMaxSlots = 2;

}  // namespace brevika
