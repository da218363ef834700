#include "calculators/transfer_records.h"

namespace brevika {

bool TransferRecords::Has(CalcKind kind) const {
  switch (kind) {
    case CalcKind::Loan: return loan_ != nullptr;
    default: return false;
  }
}

}  // namespace brevika
