// Remaining balance calculator window: the balance still owed after a
// given payment, and the first periodic payment.
// Its rows and commands come from the kind's description.
#pragma once
#include "calculators/remaining_balance.h"
#include "calculators/ui/kind_window.h"

namespace brevika {

class TcLoRemBl : public KindWindow<RemBalRecord> {
  Q_OBJECT
 public:
  TcLoRemBl(RemBalRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);
};
template <>
struct KindWindowOf<RemBalRecord> { using type = TcLoRemBl; };

}  // namespace brevika
