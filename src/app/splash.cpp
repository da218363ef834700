#include "app/splash.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace brevika {

namespace {

QLabel* CentredLabel(const QString& text, const QString& name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Splash"));
  setFixedSize(440, 236);
  setAttribute(Qt::WA_OpaquePaintEvent);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 26, 24, 18);
  layout->setSpacing(6);

  QLabel* product = CentredLabel(QStringLiteral("Brevika"), QStringLiteral("ProductLine"), this);
  QFont big = product->font();
  big.setPointSize(30);
  big.setBold(true);
  big.setItalic(true);
  product->setFont(big);
  layout->addWidget(product);

  QLabel* version = CentredLabel(QStringLiteral("Version: 2.0 Released:   12/29/96"),
                                 QStringLiteral("VersionLine"), this);
  QFont bold = version->font();
  bold.setBold(true);
  version->setFont(bold);
  layout->addWidget(version);

  layout->addWidget(CentredLabel(QStringLiteral("Please tell a friend about this software."),
                                 QStringLiteral("FriendLine"), this));
  layout->addStretch(1);

  QLabel* contact = CentredLabel(QStringLiteral("Brevika Software\n"
                                                "Loan calculators for the desktop\n"
                                                "support@brevika.example  \u2022  www.brevika.example"),
                                 QStringLiteral("ContactLines"), this);
  QFont small = contact->font();
  small.setPointSizeF(small.pointSizeF() * 0.9);
  contact->setFont(small);
  layout->addWidget(contact);

  for (QLabel* label : findChildren<QLabel*>()) {
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
  }
}

void TSplash::ShowNow() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  raise();
  repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TSplash::HoldUntil(const QElapsedTimer& started, int minimumMs) {
  const qint64 remaining = minimumMs - started.elapsed();
  if (remaining <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(std::chrono::milliseconds(remaining), Qt::PreciseTimer, &loop,
                     &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  // A precise timer may still fire a hair early on a coarse clock.
  while (started.elapsed() < minimumMs) {
    QTimer::singleShot(1, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
}

void TSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient fill(0, 0, 0, height());
  fill.setColorAt(0.0, QColor(0, 0, 96));
  fill.setColorAt(1.0, QColor(0, 0, 224));
  p.fillRect(rect(), fill);
  p.setPen(QPen(QColor(255, 255, 255, 160), 2));
  p.drawRect(rect().adjusted(5, 5, -6, -6));
  // A rule between the product lines and the contact lines.
  if (const QWidget* contact = findChild<QWidget*>(QStringLiteral("ContactLines"))) {
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    const int y = contact->geometry().top() - 8;
    p.drawLine(40, y, width() - 40, y);
  }
}

}  // namespace brevika
