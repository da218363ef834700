#include "calculators/ui/balloon_window.h"

namespace brevika {

TcLoBallP::TcLoBallP(BalloonRecord* record, int slot, AppServices* services, QWidget* parent)
    : KindWindow(BalloonKind(), record, slot, services, parent) {
  setObjectName(QStringLiteral("TcLoBallP"));
  Build();
}

}  // namespace brevika
