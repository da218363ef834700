#include "amortization/ui/meter_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace brevika {

TMeterFrm::TMeterFrm(QWidget* over)
    : QFrame(over, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), over_(over) {
  setObjectName("TMeterFrm");
  setWindowTitle("One Moment...");
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setAttribute(Qt::WA_ShowWithoutActivating);
  caption_ = new QLabel("One Moment...", this);
  caption_->setAlignment(Qt::AlignCenter);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);
  Meter = new QProgressBar(this);
  Meter->setObjectName("Meter");
  Meter->setRange(0, 100);
  Meter->setValue(0);
  Meter->setTextVisible(true);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(14, 10, 14, 12);
  box->setSpacing(8);
  box->addWidget(caption_);
  box->addWidget(Meter);
  setFixedSize(260, 76);
}

void TMeterFrm::ShowCentred() {
  if (over_) {
    const QPoint centre = over_->mapToGlobal(over_->rect().center());
    move(centre - QPoint(width() / 2, height() / 2));
  }
  Meter->setValue(percent_);
  show();
  // Get the window on screen before the calculation holds the thread.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  repaint();
  lastPaint_.start();
}

void TMeterFrm::SetPercent(int percent) {
  percent_ = percent;
  // The bar repaints itself synchronously on every visible change.
  if (!isVisible() || (lastPaint_.isValid() && lastPaint_.elapsed() < kPaintInterval)) return;
  Meter->setValue(percent);
  lastPaint_.start();
}

int TMeterFrm::percent() const { return percent_; }

}  // namespace brevika
