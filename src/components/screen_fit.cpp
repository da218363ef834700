#include "components/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

namespace brevika {

namespace {

long long Area(const QRect& r) { return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height(); }

// Distance from a point to a rectangle (0 inside).
double Distance(QPoint p, const QRect& r) {
  const int dx = std::max({r.left() - p.x(), 0, p.x() - r.right()});
  const int dy = std::max({r.top() - p.y(), 0, p.y() - r.bottom()});
  return std::hypot(dx, dy);
}

// The start of a span of `length` moved into [low, high], or `low` when it
// is longer than that.
int Clamp(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length + 1));
}

}  // namespace

QPoint FitOnScreens(const QRect& frame, const QList<QRect>& screens) {
  if (screens.isEmpty()) return frame.topLeft();
  for (const QRect& s : screens)
    if (s.contains(frame)) return frame.topLeft();
  const QRect* nearest = nullptr;
  long long overlap = 0;
  for (const QRect& s : screens) {
    const long long a = Area(s.intersected(frame));
    if (a > overlap) {
      overlap = a;
      nearest = &s;
    }
  }
  if (!nearest) {
    double best = std::numeric_limits<double>::max();
    for (const QRect& s : screens) {
      const double d = Distance(frame.center(), s);
      if (d < best) {
        best = d;
        nearest = &s;
      }
    }
  }
  return {Clamp(frame.left(), frame.width(), nearest->left(), nearest->right()),
          Clamp(frame.top(), frame.height(), nearest->top(), nearest->bottom())};
}

QMargins FrameMarginsOf(const QWidget* window, const QWidget* decorated) {
  for (const QWidget* w : {window, decorated}) {
    if (!w || !w->isVisible()) continue;
    const QRect frame = w->frameGeometry(), client = w->geometry();
    const QMargins m(client.left() - frame.left(), client.top() - frame.top(),
                     frame.right() - client.right(), frame.bottom() - client.bottom());
    if (!m.isNull()) return m;
  }
  // Not shown yet and nothing to go by: a title bar and borders as the
  // style draws them for windows inside a window.
  if (!window) return {};
  const QStyle* style = window->style();
  const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  return QMargins(border, style->pixelMetric(QStyle::PM_TitleBarHeight), border, border);
}

QPoint FittedPosition(const QWidget* window, QPoint saved, const QWidget* decorated) {
  const QMargins m = FrameMarginsOf(window, decorated);
  QList<QRect> screens;
  for (const QScreen* s : QGuiApplication::screens()) screens << s->availableGeometry();
  const QRect frame = QRect(saved, window->size()).marginsAdded(m);
  return FitOnScreens(frame, screens) + QPoint(m.left(), m.top());
}

}  // namespace brevika
