// The start-up window: product name, version and release date, a request
// to pass the program on, and the publisher's contact lines.
#pragma once
#include <QElapsedTimer>
#include <QWidget>

namespace brevika {

inline constexpr int kSplashMinimumMs = 3000;

class TSplash : public QWidget {
  Q_OBJECT
 public:
  explicit TSplash(QWidget* parent = nullptr);

  // Centres the splash on the primary screen, shows it and paints it at once.
  void ShowNow();
  // Keeps the splash up until `minimumMs` have passed on `started` (the
  // program's start-up tick). Waits in an event loop, so the splash keeps
  // painting and the processor stays idle.
  void HoldUntil(const QElapsedTimer& started, int minimumMs = kSplashMinimumMs);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace brevika
