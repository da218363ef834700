// Accelerated payment calculator window: the payments it takes, and the
// interest saved, when an extra amount is paid after a given period.
// Its rows and commands come from the kind's description.
#pragma once
#include "calculators/accelerated.h"
#include "calculators/ui/kind_window.h"

namespace brevika {

class TcLoAccel : public KindWindow<AccelRecord> {
  Q_OBJECT
 public:
  TcLoAccel(AccelRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);
};
template <>
struct KindWindowOf<AccelRecord> { using type = TcLoAccel; };

}  // namespace brevika
