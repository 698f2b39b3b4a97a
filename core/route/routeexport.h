#pragma once

#include "core/route/route.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The route as a file for other programs: GPX 1.1 or KML 2.2, UTF-8.
//
// GPX: one track named after the day, one segment per run; per point lat/lon with seven
// decimals, <ele> from the height, <time> in UTC (the recorder's local time converted with
// the local time zone of this machine, named in the metadata's <desc>), and the speed in
// km/h as <tavrin:speed> inside <extensions>.
// KML: a placemark "Route" holding one LineString per run (a MultiGeometry when there are
// several; a run of one fix is a Point), and the placemarks "Start" and "End" with their
// times in UTC.
namespace route {

enum class RouteFormat
{
    Gpx,
    Kml
};

// "gpx", "kml"
QStringList routeFormatNames();
bool routeFormatFromName(const QString &name, RouteFormat *format);

// The document of a route; empty for an empty route. `title` names the track or document.
QByteArray routeDocument(const Route &route, RouteFormat format, const QString &title);

// Why an empty route is not written: "the day has no fix with a position".
QString noPositionMessage();

// Writes the document whole or not at all: an empty route is refused and a failed write
// leaves whatever lay at `path` before. False with the reason otherwise.
bool saveRoute(const Route &route, RouteFormat format, const QString &title, const QString &path,
               QString *error);

} // namespace route
