#pragma once

// The few places where Qt 5.15 and Qt 6 differ in a way the code meets, so that one
// source builds on both.

#include <QtGlobal>

#include <QtCharts/QChartGlobal>

// Qt Charts 5 keeps its classes in a namespace of its own; Qt Charts 6 puts them beside
// the rest of Qt and drops the macros that name it.
#ifndef QT_CHARTS_BEGIN_NAMESPACE
#define QT_CHARTS_BEGIN_NAMESPACE QT_BEGIN_NAMESPACE
#define QT_CHARTS_END_NAMESPACE QT_END_NAMESPACE
#define QT_CHARTS_USE_NAMESPACE
#define QT_CHARTS_NAMESPACE
#endif

#include <QLibraryInfo>
#include <QMouseEvent>
#include <QPointF>
#include <QString>
#include <QVector>

namespace qtcompat {

// The points of a chart series as a vector: pointsVector() on Qt 5 (where points() gives a
// QList and is deprecated), points() on Qt 6.
template <typename Series> QVector<QPointF> seriesPoints(const Series *series)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return series->points();
#else
    return series->pointsVector();
#endif
}

// The folder of Qt's own translation catalogues (qtbase_<language>.qm).
inline QString qtTranslationsPath()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

// Where a mouse event happened, in the receiving widget's coordinates, to the fraction of a
// pixel: localPos() on Qt 5, position() on Qt 6.
inline QPointF mousePosition(const QMouseEvent *event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position();
#else
    return event->localPos();
#endif
}

} // namespace qtcompat
