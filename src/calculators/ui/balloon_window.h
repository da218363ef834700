// Balloon payment calculator window: the periodic payment of a loan that
// ends with a balloon.
// Its rows and commands come from the kind's description.
#pragma once
#include "calculators/balloon.h"
#include "calculators/ui/kind_window.h"

namespace brevika {

class TcLoBallP : public KindWindow<BalloonRecord> {
  Q_OBJECT
 public:
  TcLoBallP(BalloonRecord* record, int slot, AppServices* services, QWidget* parent = nullptr);
};
template <>
struct KindWindowOf<BalloonRecord> { using type = TcLoBallP; };

}  // namespace brevika
