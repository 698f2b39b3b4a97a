#pragma once

#include "core/charts/plotmodel.h"
#include "gui/app/qtcompat.h"

#include <QColor>
#include <QDateTime>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>

QT_CHARTS_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QDateTimeAxis;
class QLineSeries;
class QValueAxis;
QT_CHARTS_END_NAMESPACE

class QGraphicsItem;
class QGraphicsPathItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QLabel;
class QWidget;

// A chart with a date-time axis along its bottom, drawn through a view that covers only the
// part of the chart that is on screen.
//
// The chart is laid out as if it were `width` columns wide: its plot spans the whole time axis
// with the insets the chart has at the width of the screen, and the ticks divide it evenly.
// The view is a child of its host widget placed over the columns that are shown, and its own
// time axis runs between the whole ticks around them, so ticks, grid lines and labels fall
// where the wide chart has them, while the view holds a handful of ticks and the points of a
// screen, whatever the width. The chart's margins absorb what its labels would otherwise move.
//
// The view owns the chart and this object; all three go with the host.
class TimeChart : public QObject
{
    Q_OBJECT

public:
    TimeChart(QWidget *host, const QMargins &margins);

    QT_CHARTS_NAMESPACE::QChartView *view() const { return m_view; }
    QT_CHARTS_NAMESPACE::QChart *chart() const { return m_chart; }
    QT_CHARTS_NAMESPACE::QDateTimeAxis *axisX() const { return m_axisX; }

    // The whole time axis: min to max, with tickCount ticks (at least 2). Laid out by the next
    // showColumns().
    void setTimeAxis(const QDateTime &min, const QDateTime &max, int tickCount);
    QDateTime timeMin() const;
    QDateTime timeMax() const;
    int tickCount() const { return m_scale.tickCount; }

    // Shows the columns [scroll, scroll + visible) of the chart laid out `width` columns wide
    // (and as high as the host).
    void showColumns(int width, int scroll, int visible);
    // The whole chart's time axis in its columns, and the part the view shows.
    const plot::TimeScale &scale() const { return m_scale; }
    const plot::TimeWindow &window() const { return m_window; }

    // Chart x of an instant and the instant at a chart x, as the chart draws them.
    double chartXOf(qint64 ms) const;
    qint64 instantAtChartX(double x) const;

    // Lays both charts' plots out between the same columns: each takes the wider of the two
    // charts' left and right insets, so that their time axes coincide at every width.
    void alignWith(TimeChart *other);

signals:
    // The view shows another time span or plot area.
    void laidOut();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    virtual void windowChanged() {}
    // The view's columns that its scroll area shows.
    int shownLeft() const { return m_scroll - m_window.viewLeft; }
    int shownRight() const { return shownLeft() + m_visible; }

private:
    void apply();
    void applyWhole(int height);
    void applyWindow(int height);
    int measuredTicks() const;
    void measure(int width, int height, int ticks);
    void layOutNow();
    void plotAreaMoved();
    void takeInsets();
    void placePlotX(double left, double right);
    void restoreLayoutMargins();

    QT_CHARTS_NAMESPACE::QChartView *m_view = nullptr; // owns this object
    QT_CHARTS_NAMESPACE::QChart *m_chart = nullptr;
    QT_CHARTS_NAMESPACE::QDateTimeAxis *m_axisX = nullptr;
    QMargins m_margins; // the chart's own margins
    QMarginsF m_inner;  // from the margins to the plot: axes, title, legend (last layout)

    plot::TimeScale m_scale;
    plot::TimeWindow m_window;
    int m_scroll = 0;
    int m_visible = 0;
    double m_plotTop = 0; // plot insets of the whole chart, top and bottom
    double m_plotBottom = 0;
    QVector<qint64> m_measuredFor; // what the insets were measured for
    bool m_applying = false;
    bool m_pending = false; // to be laid out when shown
    bool m_remeasurePending = false;

    QPointer<TimeChart> m_partner; // aligned with this chart
    double m_naturalLeft = 0;      // the plot insets the chart itself lays out
    double m_naturalRight = 0;
    bool m_insetsChanged = false; // the partner has to follow
    QMarginsF m_layoutMargins;    // the layout's own contents margins...
    bool m_nudged = false;        // ...changed by a fraction to put the plot to the column
};

// The speed history plot of the chart page and of the printed report: a chart with the time
// axis, the speed axis 0 to 240 km/h, the speed line (the day's points, drawn as the envelope
// of the shown pixel columns) and the time cursor.
class SpeedPlot : public TimeChart
{
    Q_OBJECT

public:
    explicit SpeedPlot(QWidget *host);

    QT_CHARTS_NAMESPACE::QValueAxis *axisY() const { return m_axisY; }
    QT_CHARTS_NAMESPACE::QLineSeries *series() const { return m_series; }
    int maxSpeed() const { return plot::kSpeedAxisMax; }

    // The day's line, every point in ms since the epoch and km/h. A plot without a line (none
    // set, or cleared) draws none; a line may have no points.
    void setLine(const QVector<QPointF> &points);
    void clearLine();
    bool hasLine() const { return m_hasLine; }
    const plot::SpeedLine &line() const { return m_line; }

    void setCursor(const plot::SpeedCursor &cursor) { m_cursor = cursor; }
    void clearCursor() { m_cursor = plot::SpeedCursor(); }
    const plot::SpeedCursor &cursor() const { return m_cursor; }

    // Places `line` (a one-pixel label) at the cursor's instant, at height y and `height` tall,
    // in the coordinates of its parent; hides it when there is no cursor, when the instant is
    // not on the chart or, with a clip widget, not within the part of the view it shows.
    void placeCursorLine(QLabel *line, int y, int height, const QWidget *clip = nullptr) const;

    // The day's fault and event periods, shaded behind the line in a light colour per type
    // with a legend entry per type shown; hovering a shade names it.
    void setFaultPeriods(const QVector<plot::FaultPeriod> &periods);
    const QVector<plot::FaultPeriod> &faultPeriods() const { return m_periods; }
    // The shades drawn now, in the order of the periods (hidden: not in the view), and the
    // legend's texts.
    QVector<QGraphicsRectItem *> shades() const { return m_shades; }
    QStringList legendTexts() const;
    // Colour of the shades of a fault type.
    static QColor shadeColour(int type);

    // Instants of samples above the speed axis: each gets a mark at the top edge of the plot.
    void setClippedSamples(const QVector<qint64> &instants);
    // The marks drawn now: one per pixel column holding a clipped sample, by column.
    QVector<int> clippedMarkColumns() const { return m_markColumns; }

protected:
    void windowChanged() override;

private:
    void refreshLine();
    void refreshMarks();

    QVector<plot::FaultPeriod> m_periods;
    QVector<QGraphicsRectItem *> m_shades;
    QVector<QGraphicsItem *> m_legend; // swatches and texts
    QVector<qint64> m_clipped;
    QVector<int> m_markColumns;
    QGraphicsPathItem *m_marks = nullptr;
    QGraphicsRectItem *m_legendGround = nullptr;

    QT_CHARTS_NAMESPACE::QValueAxis *m_axisY = nullptr;
    QT_CHARTS_NAMESPACE::QLineSeries *m_series = nullptr;
    plot::SpeedLine m_line;
    bool m_hasLine = false;
    QVector<double> m_shownFor; // the span and columns the series holds the line for
    plot::SpeedCursor m_cursor;
};
