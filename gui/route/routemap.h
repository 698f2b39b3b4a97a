#pragma once

#include "core/route/route.h"

#include <QDateTime>
#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QWidget>

#include <functional>

// The day's route drawn on a plain north-up map of its area: an equal-distance projection
// about the middle latitude of the route, no tiles and no network. The line is coloured by
// speed and breaks wherever the route does (a fix without a position); start and end are
// marked, with a legend, a scale bar in km and a light grid in degrees.
//
// The wheel zooms about the pointer, dragging pans, a double-click fits the whole route. A
// click on the route reports the time of the fix nearest to it; hovering a fix shows its time,
// speed and coordinates. The route can highlight a span of time and mark one fix (the cursor).
class RouteMap : public QWidget
{
    Q_OBJECT

public:
    explicit RouteMap(QWidget *parent = nullptr);

    // A new route: the view fits it; highlight and cursor are dropped.
    void setRoute(const route::Route &route);
    int pointCount() const { return points.size(); }
    // The points in route order (runs one after the other), 0 .. pointCount() - 1.
    const route::RoutePoint &point(int index) const { return points.at(index); }

    // Highlights the fixes with from <= time < to (highlightInvalidTimes: the fixes whose time
    // is not valid), in place of the highlight before.
    void highlightSpan(const QDateTime &from, const QDateTime &to);
    void highlightInvalidTimes();
    void clearHighlight();
    int highlightedCount() const;

    // Marks the fix nearest in time to t (none when no fix has a valid time).
    void setCursorTime(const QDateTime &t);
    void clearCursor();
    int cursorPoint() const { return cursorIndex; }

    // The view: the whole route in the widget, zoom about a widget position.
    void fitAll();
    void zoomAt(const QPointF &pos, double factor);
    void panBy(const QPointF &pixels);
    double pixelsPerKm() const { return scale; }
    // Where a point lies in the widget.
    QPointF pointPosition(int index) const;
    // The point nearest to a widget position within `radius` pixels, -1 when none.
    int pointAt(const QPointF &pos, double radius) const;
    // The hover text of a point: time, speed, latitude and longitude.
    QString pointText(int index) const;

signals:
    // A click on the route: the time of the nearest fix (not sent for a fix without a valid time).
    void pointClicked(const QDateTime &time);

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct Fix
    {
        QPointF km; // projected: east and north of the projection's origin
        qint64 ms = 0;
        bool timed = false;
        bool highlighted = false;
        quint8 band = 0; // speed band of the line that ends here
    };
    // A piece of the line in one colour, in pixels about the projection's origin (y down):
    // the view's centre and size only move it.
    struct Stroke
    {
        int band = 0;
        QVector<QPointF> line;
    };

    QVector<route::RoutePoint> points;
    QVector<Fix> fixes;   // one per point
    QVector<int> runEnds; // index after the last point of each run
    double originLon = 0, originLat = 0, lonKm = 0;
    QRectF bounds;    // of the route, km
    QPointF centre;   // km, at the widget's centre
    double scale = 1; // pixels per km
    int cursorIndex = -1;
    bool fitted = true; // the view shows the whole route and follows the widget's size

    // The cache of the drawn line: valid for one scale.
    QVector<Stroke> strokes;
    QVector<QVector<QPointF>> highlightLines;
    double cachedScale = 0;

    QPoint pressPos;
    QPointF lastDragPos;
    bool dragging = false;

    QPointF toWidget(const QPointF &km) const;
    QPointF toKm(const QPointF &pos) const;
    QPointF project(double lon, double lat) const;
    void invalidateCache();
    void setHighlight(const std::function<bool(const Fix &)> &test);
    void buildCache();
    void drawGrid(QPainter &painter) const;
    void drawScaleBar(QPainter &painter) const;
    void drawLegend(QPainter &painter) const;
    int legendTextWidth() const;
    QSize legendSize() const;
};
