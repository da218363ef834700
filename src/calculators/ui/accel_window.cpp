#include "calculators/ui/accel_window.h"

namespace brevika {

TcLoAccel::TcLoAccel(AccelRecord* record, int slot, AppServices* services, QWidget* parent)
    : KindWindow(AccelKind(), record, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoAccel"));
  Build();
}

}  // namespace brevika
