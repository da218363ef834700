// Where a window goes whose saved position may no longer suit the screens
// (a smaller screen, another scale, a screen that is gone).
#pragma once
#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>

class QWidget;

namespace brevika {

// The top-left corner for a window whose frame would cover `frame`: kept
// where the frame lies whole on one of `screens` (their available areas),
// else moved onto the nearest screen, the one it overlaps most or, off
// every screen, the one closest to its centre, just far enough to fit; a
// frame larger than that screen keeps its top-left corner (the title bar)
// on it. `frame` itself without screens.
QPoint FitOnScreens(const QRect& frame, const QList<QRect>& screens);

// The frame the window manager draws around a window: that of `window`
// once it has been shown, else that of `decorated` (a window of the same
// kind already on the screen), else a title bar and borders as the style
// draws them.
QMargins FrameMarginsOf(const QWidget* window, const QWidget* decorated = nullptr);

// The client-area position to restore `window` to when it was saved at
// `saved`: FitOnScreens of its frame over the available areas of the
// screens there are now.
QPoint FittedPosition(const QWidget* window, QPoint saved, const QWidget* decorated = nullptr);

}  // namespace brevika
