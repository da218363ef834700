// The look the program's charts share: thin margins and square corners,
// the legend below in a smaller font, category axes labelled on their
// values, plain axis titles, money ticks in the locale's format without
// cents, and the frameless view that fills its widget.
#pragma once
#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>

#include "finance/format.h"

QT_BEGIN_NAMESPACE
class QAbstractAxis;
class QCategoryAxis;
class QChart;
class QChartView;
class QWidget;
QT_END_NAMESPACE

namespace brevika {

// `f` at `share` of its size.
QFont Smaller(QFont f, double share);

// A line of `width` in `colour`.
QPen LinePen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine);

// A chart without series or axes, in the shared look.
QChart* NewChart();

// A category axis labelled on its values in a smaller font, added to
// `chart` at `where`.
QCategoryAxis* NewCategoryAxis(QChart* chart, Qt::Alignment where);

// The axis title's font: smaller and not bold. Smaller than the font the
// axis has now: the application's before it is added to a chart, the
// chart theme's after.
void UsePlainTitleFont(QAbstractAxis* axis);

// Ticks from 0 to `top` every `step`, each labelled in the locale's money
// without cents; the axis spans them.
void SetMoneyTicks(QCategoryAxis* axis, double top, double step, const LocaleFormat& locale);

// A view of `chart` named `name`, antialiased and without a frame, that
// fills `host`.
QChartView* FillWithChart(QWidget* host, QChart* chart, const QString& name);

}  // namespace brevika
