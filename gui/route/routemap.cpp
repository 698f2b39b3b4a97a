#include "gui/route/routemap.h"

#include "gui/app/qtcompat.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Kilometres per degree of latitude on a sphere of the Earth's mean radius.
constexpr double kKmPerDegree = 6371.0 * kPi / 180.0;
// Points of the drawn line closer than this (pixels) to the one before are left out.
constexpr double kMinStep = 0.75;
// How near (pixels) the pointer must be to a fix to hover or click it.
constexpr double kPickRadius = 8;
constexpr double kMinScale = 0.002, kMaxScale = 200000; // pixels per km
constexpr int kFitMargin = 40;

// Speed bands of the line: below 20, 40, 60, 80, 100 km/h, and 100 and above.
constexpr int kBandEdges[] = {20, 40, 60, 80, 100};
constexpr int kBandCount = 6;
const QColor &bandColour(int band)
{
    static const QColor colours[kBandCount] = {QColor(0x3b, 0x6f, 0xd8), QColor(0x14, 0xa3, 0xb4),
                                               QColor(0x3c, 0xae, 0x4a), QColor(0xc9, 0xb0, 0x00),
                                               QColor(0xf0, 0x82, 0x1e), QColor(0xd7, 0x26, 0x3d)};
    return colours[band];
}
quint8 speedBand(int speed)
{
    quint8 band = 0;
    for (int edge : kBandEdges)
        band += speed >= edge ? 1 : 0;
    return band;
}
QString bandText(int band)
{
    if (band == kBandCount - 1)
        return QStringLiteral("%1+ km/h").arg(kBandEdges[band - 1]);
    return QStringLiteral("%1–%2 km/h").arg(band == 0 ? 0 : kBandEdges[band - 1]).arg(kBandEdges[band]);
}

// 1, 2 or 5 times a power of ten, the largest not above `limit`.
double niceStep(double limit)
{
    const double power = std::pow(10.0, std::floor(std::log10(limit)));
    for (double m : {5.0, 2.0, 1.0}) {
        if (m * power <= limit)
            return m * power;
    }
    return power;
}

// 1, 2 or 5 times a power of ten, the smallest not below `least`.
double niceStepAbove(double least)
{
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= least)
            return m * power;
    }
    return 10 * power;
}

QString degreesText(double value, int decimals)
{
    return QString::number(value, 'f', decimals) + QChar(0x00b0);
}

void drawPolyline(QPainter &painter, const QVector<QPointF> &line)
{
    if (line.size() == 1)
        painter.drawPoint(line.first());
    else
        painter.drawPolyline(line.constData(), line.size());
}

} // namespace

RouteMap::RouteMap(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("routeMap"));
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

void RouteMap::setRoute(const route::Route &route)
{
    points.clear();
    fixes.clear();
    runEnds.clear();
    cursorIndex = -1;
    double west = 180, east = -180, south = 90, north = -90;
    for (const route::RouteRun &run : route.runs) {
        for (const route::RoutePoint &p : run) {
            points.append(p);
            west = std::min(west, p.longitude);
            east = std::max(east, p.longitude);
            south = std::min(south, p.latitude);
            north = std::max(north, p.latitude);
        }
        runEnds.append(points.size());
    }
    // The projection: distances true along the meridians and along the middle parallel.
    originLon = points.isEmpty() ? 0 : (west + east) / 2;
    originLat = points.isEmpty() ? 0 : (south + north) / 2;
    lonKm = kKmPerDegree * std::max(0.01, std::cos(originLat * kPi / 180));
    fixes.resize(points.size());
    bounds = QRectF();
    for (int i = 0; i < points.size(); ++i) {
        const route::RoutePoint &p = points.at(i);
        Fix &fix = fixes[i];
        fix.km = project(p.longitude, p.latitude);
        fix.timed = p.time.isValid();
        fix.ms = fix.timed ? p.time.toMSecsSinceEpoch() : 0;
        fix.band = speedBand(p.speed);
    }
    if (!points.isEmpty()) {
        const QPointF sw = project(west, south), ne = project(east, north);
        bounds = QRectF(sw, ne).normalized();
    }
    fitAll();
}

QPointF RouteMap::project(double lon, double lat) const
{
    return QPointF((lon - originLon) * lonKm, (lat - originLat) * kKmPerDegree);
}

void RouteMap::setHighlight(const std::function<bool(const Fix &)> &test)
{
    for (Fix &fix : fixes)
        fix.highlighted = test(fix);
    invalidateCache();
}

void RouteMap::highlightSpan(const QDateTime &from, const QDateTime &to)
{
    const qint64 begin = from.toMSecsSinceEpoch(), end = to.toMSecsSinceEpoch();
    setHighlight([begin, end](const Fix &fix) { return fix.timed && fix.ms >= begin && fix.ms < end; });
}

void RouteMap::highlightInvalidTimes()
{
    setHighlight([](const Fix &fix) { return !fix.timed; });
}

void RouteMap::clearHighlight()
{
    setHighlight([](const Fix &) { return false; });
}

int RouteMap::highlightedCount() const
{
    return int(std::count_if(fixes.begin(), fixes.end(), [](const Fix &fix) { return fix.highlighted; }));
}

void RouteMap::setCursorTime(const QDateTime &t)
{
    const qint64 ms = t.toMSecsSinceEpoch();
    int best = -1;
    qint64 bestGap = std::numeric_limits<qint64>::max();
    for (int i = 0; i < fixes.size(); ++i) {
        if (!fixes.at(i).timed)
            continue;
        const qint64 gap = qAbs(fixes.at(i).ms - ms);
        if (gap < bestGap) {
            best = i;
            bestGap = gap;
        }
    }
    if (best != cursorIndex) {
        cursorIndex = best;
        update();
    }
}

void RouteMap::clearCursor()
{
    if (cursorIndex >= 0) {
        cursorIndex = -1;
        update();
    }
}

void RouteMap::fitAll()
{
    fitted = true;
    centre = bounds.center();
    // The legend keeps its column at the right: the route is fitted beside it.
    const int legend = legendSize().width() + 12;
    const double w = std::max(1, width() - 2 * kFitMargin - legend),
                 h = std::max(1, height() - 2 * kFitMargin);
    if (bounds.width() <= 0 && bounds.height() <= 0)
        scale = 1000; // one point, or none: a metre a pixel
    else
        scale = std::min(bounds.width() > 0 ? w / bounds.width() : kMaxScale,
                         bounds.height() > 0 ? h / bounds.height() : kMaxScale);
    scale = std::max(kMinScale, std::min(kMaxScale, scale));
    centre.rx() += legend / 2.0 / scale;
    invalidateCache();
}

void RouteMap::zoomAt(const QPointF &pos, double factor)
{
    const QPointF km = toKm(pos);
    const double next = std::max(kMinScale, std::min(kMaxScale, scale * factor));
    if (next == scale)
        return;
    scale = next;
    fitted = false;
    centre = QPointF(km.x() - (pos.x() - width() / 2.0) / scale, km.y() + (pos.y() - height() / 2.0) / scale);
    update();
}

void RouteMap::panBy(const QPointF &pixels)
{
    centre -= QPointF(pixels.x() / scale, -pixels.y() / scale);
    fitted = false;
    update();
}

QPointF RouteMap::toWidget(const QPointF &km) const
{
    return QPointF(width() / 2.0 + (km.x() - centre.x()) * scale,
                   height() / 2.0 - (km.y() - centre.y()) * scale);
}

QPointF RouteMap::toKm(const QPointF &pos) const
{
    return QPointF(centre.x() + (pos.x() - width() / 2.0) / scale,
                   centre.y() - (pos.y() - height() / 2.0) / scale);
}

QPointF RouteMap::pointPosition(int index) const
{
    return toWidget(fixes.at(index).km);
}

int RouteMap::pointAt(const QPointF &pos, double radius) const
{
    const QPointF km = toKm(pos);
    const double limit = (radius / scale) * (radius / scale);
    int best = -1;
    double bestDistance = limit;
    for (int i = 0; i < fixes.size(); ++i) {
        const QPointF d = fixes.at(i).km - km;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance <= bestDistance && (best < 0 || distance < bestDistance)) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

QString RouteMap::pointText(int index) const
{
    const route::RoutePoint &p = points.at(index);
    const QString time = p.time.isValid() ? p.time.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))
                                          : QStringLiteral("----/--/-- --:--:--");
    return tr("Time: %1\nSpeed: %2 km/h\nLatitude: %3\nLongitude: %4")
        .arg(time)
        .arg(p.speed)
        .arg(degreesText(p.latitude, 6), degreesText(p.longitude, 6));
}

void RouteMap::invalidateCache()
{
    cachedScale = 0;
    update();
}

// The line in pixels about the projection's origin, split where its colour changes and
// thinned to what the scale can show.
void RouteMap::buildCache()
{
    strokes.clear();
    highlightLines.clear();
    cachedScale = scale;
    const auto pixel = [this](int i) {
        return QPointF(fixes.at(i).km.x() * scale, -fixes.at(i).km.y() * scale);
    };
    const auto tooClose = [](const QPointF &a, const QPointF &b) {
        return std::abs(a.x() - b.x()) < kMinStep && std::abs(a.y() - b.y()) < kMinStep;
    };
    int begin = 0;
    for (int end : qAsConst(runEnds)) {
        QPointF last = pixel(begin);
        strokes.append({fixes.at(begin).band, {last}});
        QVector<QPointF> lit;
        if (fixes.at(begin).highlighted)
            lit.append(last);
        for (int i = begin + 1; i < end; ++i) {
            const QPointF p = pixel(i);
            const Fix &fix = fixes.at(i);
            const bool lastOfRun = i == end - 1;
            Stroke &stroke = strokes.last();
            if (fix.band != stroke.band && stroke.line.size() > 1)
                strokes.append({fix.band, {last, p}});
            else if (!tooClose(p, last) || lastOfRun || fix.band != stroke.band ||
                     fix.highlighted != fixes.at(i - 1).highlighted) {
                stroke.band = fix.band;
                stroke.line.append(p);
            } else {
                continue;
            }
            last = p;
            if (fix.highlighted) {
                if (lit.isEmpty() && fixes.at(i - 1).highlighted)
                    lit.append(pixel(i - 1));
                lit.append(p);
            } else if (!lit.isEmpty()) {
                highlightLines.append(lit);
                lit.clear();
            }
        }
        if (!lit.isEmpty())
            highlightLines.append(lit);
        begin = end;
    }
}

void RouteMap::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xf4, 0xf2, 0xec));
    if (fixes.isEmpty()) {
        painter.setPen(QColor(0x55, 0x55, 0x55));
        painter.drawText(rect(), Qt::AlignCenter, tr("No fix with a position on this day"));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    drawGrid(painter);
    if (cachedScale != scale)
        buildCache();

    painter.save();
    painter.translate(width() / 2.0 - centre.x() * scale, height() / 2.0 + centre.y() * scale);
    QPen pen(QColor(255, 200, 0, 150), 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    for (const QVector<QPointF> &line : qAsConst(highlightLines))
        drawPolyline(painter, line);
    pen.setWidthF(3);
    for (const Stroke &stroke : qAsConst(strokes)) {
        pen.setColor(bandColour(stroke.band));
        painter.setPen(pen);
        drawPolyline(painter, stroke.line);
    }
    painter.restore();

    // Start and end, then the cursor above everything.
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(QColor(0x1e, 0x8e, 0x3e));
    painter.drawEllipse(pointPosition(0), 7, 7);
    painter.setBrush(QColor(0xc0, 0x18, 0x18));
    const QPointF end = pointPosition(fixes.size() - 1);
    painter.drawRect(QRectF(end - QPointF(6, 6), QSizeF(12, 12)));
    if (cursorIndex >= 0) {
        const QPointF at = pointPosition(cursorIndex);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 5));
        painter.drawEllipse(at, 10, 10);
        painter.setPen(QPen(QColor(0x9c, 0x00, 0xb0), 3));
        painter.drawEllipse(at, 10, 10);
        painter.drawLine(at - QPointF(16, 0), at - QPointF(11, 0));
        painter.drawLine(at + QPointF(11, 0), at + QPointF(16, 0));
        painter.drawLine(at - QPointF(0, 16), at - QPointF(0, 11));
        painter.drawLine(at + QPointF(0, 11), at + QPointF(0, 16));
    }
    drawScaleBar(painter);
    drawLegend(painter);
}

// Meridians and parallels a round number of degrees apart, at least 90 pixels.
void RouteMap::drawGrid(QPainter &painter) const
{
    const QPointF topLeft = toKm(QPointF(0, 0)), bottomRight = toKm(QPointF(width(), height()));
    const double west = originLon + topLeft.x() / lonKm, east = originLon + bottomRight.x() / lonKm;
    const double south = originLat + bottomRight.y() / kKmPerDegree,
                 north = originLat + topLeft.y() / kKmPerDegree;
    const double step = niceStepAbove(90 / (scale * std::min(lonKm, kKmPerDegree)));
    const int decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(QFont(font().family(), 8));
    const QColor line(0xd6, 0xd2, 0xc8), label(0x8a, 0x86, 0x7c);
    for (double lon = std::ceil(west / step) * step; lon <= east; lon += step) {
        const double x = toWidget(project(lon, originLat)).x();
        painter.setPen(line);
        painter.drawLine(QPointF(x, 0), QPointF(x, height()));
        painter.setPen(label);
        painter.drawText(QPointF(x + 3, height() - 4), degreesText(lon, decimals));
    }
    for (double lat = std::ceil(south / step) * step; lat <= north; lat += step) {
        const double y = toWidget(project(originLon, lat)).y();
        painter.setPen(line);
        painter.drawLine(QPointF(0, y), QPointF(width(), y));
        painter.setPen(label);
        painter.drawText(QPointF(3, y - 3), degreesText(lat, decimals));
    }
    painter.restore();
}

// A bar of a round number of km, at most 150 pixels, at the bottom left.
void RouteMap::drawScaleBar(QPainter &painter) const
{
    const double km = niceStep(150 / scale);
    const double length = km * scale;
    const QPointF left(16, height() - 28);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    painter.drawLine(left, left + QPointF(length, 0));
    painter.drawLine(left - QPointF(0, 5), left + QPointF(0, 1));
    painter.drawLine(left + QPointF(length, -5), left + QPointF(length, 1));
    painter.drawText(left + QPointF(0, -8), QStringLiteral("%1 km").arg(km));
    painter.restore();
}

int RouteMap::legendTextWidth() const
{
    const QFontMetrics metrics(font());
    int textWidth = metrics.horizontalAdvance(tr("Speed"));
    for (int band = 0; band < kBandCount; ++band)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(bandText(band)));
    return std::max(
        {textWidth, metrics.horizontalAdvance(tr("Start")), metrics.horizontalAdvance(tr("End"))});
}

QSize RouteMap::legendSize() const
{
    return QSize(legendTextWidth() + 48, (QFontMetrics(font()).height() + 4) * (kBandCount + 3) + 12);
}

// The speed bands and the two end marks, at the top right.
void RouteMap::drawLegend(QPainter &painter) const
{
    const int row = QFontMetrics(font()).height() + 4;
    const int textWidth = legendTextWidth();
    const int w = legendSize().width(), h = legendSize().height();
    const QRectF box(width() - w - 12, 12, w, h);
    painter.save();
    painter.setPen(QColor(0xb0, 0xac, 0xa0));
    painter.setBrush(QColor(255, 255, 255, 225));
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(Qt::black);
    double y = box.top() + 6;
    painter.drawText(QRectF(box.left() + 8, y, w - 16, row), Qt::AlignVCenter, tr("Speed"));
    for (int band = 0; band < kBandCount; ++band) {
        y += row;
        painter.setPen(QPen(bandColour(band), 4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(box.left() + 10, y + row / 2.0), QPointF(box.left() + 32, y + row / 2.0));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(box.left() + 40, y, textWidth, row), Qt::AlignVCenter, bandText(band));
    }
    y += row;
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(QColor(0x1e, 0x8e, 0x3e));
    painter.drawEllipse(QPointF(box.left() + 21, y + row / 2.0), 6, 6);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(box.left() + 40, y, textWidth, row), Qt::AlignVCenter, tr("Start"));
    y += row;
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(QColor(0xc0, 0x18, 0x18));
    painter.drawRect(QRectF(box.left() + 16, y + row / 2.0 - 5, 10, 10));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(box.left() + 40, y, textWidth, row), Qt::AlignVCenter, tr("End"));
    painter.restore();
}

bool RouteMap::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int index = pointAt(help->pos(), kPickRadius);
        if (index >= 0)
            QToolTip::showText(help->globalPos(), pointText(index), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void RouteMap::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        update();
    QWidget::changeEvent(event);
}

void RouteMap::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (fitted)
        fitAll();
}

void RouteMap::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0 && !fixes.isEmpty())
        zoomAt(event->position(), std::pow(1.2, delta / 120.0));
    event->accept();
}

void RouteMap::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    pressPos = event->pos();
    lastDragPos = qtcompat::mousePosition(event);
    dragging = false;
}

void RouteMap::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    if (!dragging && (event->pos() - pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    if (!dragging)
        setCursor(Qt::ClosedHandCursor);
    dragging = true;
    panBy(qtcompat::mousePosition(event) - lastDragPos);
    lastDragPos = qtcompat::mousePosition(event);
}

void RouteMap::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    if (dragging) {
        dragging = false;
        setCursor(Qt::OpenHandCursor);
        return;
    }
    const int index = pointAt(qtcompat::mousePosition(event), kPickRadius);
    if (index >= 0 && fixes.at(index).timed)
        emit pointClicked(points.at(index).time);
}

void RouteMap::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        fitAll();
}
