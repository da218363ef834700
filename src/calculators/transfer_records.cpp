#include "calculators/transfer_records.h"

namespace brevika {

bool TransferRecords::Has(CalcKind kind) const {
  switch (kind) {
    case CalcKind::Loan: return loan_ != nullptr;
    case CalcKind::InterestDue: return intDue_ != nullptr;
    case CalcKind::RemainingBalance: return remBal_ != nullptr;
    case CalcKind::Accelerated: return accel_ != nullptr;
    case CalcKind::Balloon: return balloon_ != nullptr;
    case CalcKind::Refinance: return refi_ != nullptr;
  }
  return false;
}

}  // namespace brevika
