#include "core/route/routeexport.h"

#include "core/platform/version.h"

#include <QSaveFile>
#include <QTimeZone>
#include <QXmlStreamWriter>

namespace route {

namespace {

const QString kGpxNamespace = QStringLiteral("http://www.topografix.com/GPX/1/1");
const QString kOwnNamespace = QStringLiteral("urn:tavrinplayer:gpx-extensions:1");
const QString kKmlNamespace = QStringLiteral("http://www.opengis.net/kml/2.2");

// Seven decimals of a degree are about 1 cm, finer than the recorder's ten-thousandth of a
// minute (about 0.19 m).
QString degreesText(double degrees)
{
    return QString::number(degrees, 'f', 7);
}

QString heightText(double metres)
{
    return QString::number(metres, 'f', 1);
}

QString utcText(const QDateTime &local)
{
    return local.toUTC().toString(Qt::ISODate);
}

void startDocument(QXmlStreamWriter &xml)
{
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
}

QByteArray gpxDocument(const Route &route, const QString &title)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startDocument(xml);
    xml.writeDefaultNamespace(kGpxNamespace);
    xml.writeNamespace(kOwnNamespace, QStringLiteral("tavrin"));
    xml.writeStartElement(kGpxNamespace, QStringLiteral("gpx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("TavrinPlayer %1").arg(version::text()));

    xml.writeStartElement(kGpxNamespace, QStringLiteral("metadata"));
    xml.writeTextElement(kGpxNamespace, QStringLiteral("name"), title);
    const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    xml.writeTextElement(kGpxNamespace, QStringLiteral("desc"),
                         QStringLiteral("Times in UTC, converted from the recorder's local time with the "
                                        "time zone %1. Speed in km/h.")
                             .arg(zone.isEmpty() ? QStringLiteral("of the exporting machine") : zone));
    xml.writeEndElement();

    xml.writeStartElement(kGpxNamespace, QStringLiteral("trk"));
    xml.writeTextElement(kGpxNamespace, QStringLiteral("name"), title);
    for (const RouteRun &run : route.runs) {
        xml.writeStartElement(kGpxNamespace, QStringLiteral("trkseg"));
        for (const RoutePoint &p : run) {
            xml.writeStartElement(kGpxNamespace, QStringLiteral("trkpt"));
            xml.writeAttribute(QStringLiteral("lat"), degreesText(p.latitude));
            xml.writeAttribute(QStringLiteral("lon"), degreesText(p.longitude));
            xml.writeTextElement(kGpxNamespace, QStringLiteral("ele"), heightText(p.height));
            if (p.time.isValid())
                xml.writeTextElement(kGpxNamespace, QStringLiteral("time"), utcText(p.time));
            xml.writeStartElement(kGpxNamespace, QStringLiteral("extensions"));
            xml.writeTextElement(kOwnNamespace, QStringLiteral("speed"), QString::number(p.speed));
            xml.writeEndElement();
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QString kmlCoordinates(const RouteRun &run)
{
    QStringList tuples;
    tuples.reserve(run.size());
    for (const RoutePoint &p : run)
        tuples << degreesText(p.longitude) + QLatin1Char(',') + degreesText(p.latitude) + QLatin1Char(',') +
                      heightText(p.height);
    return tuples.join(QLatin1Char(' '));
}

// A line needs two positions; a run of a single fix is a point.
void writeKmlRun(QXmlStreamWriter &xml, const RouteRun &run)
{
    if (run.size() == 1) {
        xml.writeStartElement(QStringLiteral("Point"));
    } else {
        xml.writeStartElement(QStringLiteral("LineString"));
        xml.writeTextElement(QStringLiteral("tessellate"), QStringLiteral("1"));
    }
    xml.writeTextElement(QStringLiteral("coordinates"), kmlCoordinates(run));
    xml.writeEndElement();
}

void writeKmlEnd(QXmlStreamWriter &xml, const QString &name, const RoutePoint &p)
{
    xml.writeStartElement(QStringLiteral("Placemark"));
    xml.writeTextElement(QStringLiteral("name"), name);
    if (p.time.isValid()) {
        xml.writeStartElement(QStringLiteral("TimeStamp"));
        xml.writeTextElement(QStringLiteral("when"), utcText(p.time));
        xml.writeEndElement();
    }
    writeKmlRun(xml, RouteRun{p});
    xml.writeEndElement();
}

QByteArray kmlDocument(const Route &route, const QString &title)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    startDocument(xml);
    xml.writeDefaultNamespace(kKmlNamespace);
    xml.writeStartElement(QStringLiteral("kml"));
    xml.writeStartElement(QStringLiteral("Document"));
    xml.writeTextElement(QStringLiteral("name"), title);

    xml.writeStartElement(QStringLiteral("Placemark"));
    xml.writeTextElement(QStringLiteral("name"), QStringLiteral("Route"));
    const bool several = route.runs.size() > 1;
    if (several)
        xml.writeStartElement(QStringLiteral("MultiGeometry"));
    for (const RouteRun &run : route.runs)
        writeKmlRun(xml, run);
    if (several)
        xml.writeEndElement();
    xml.writeEndElement();

    writeKmlEnd(xml, QStringLiteral("Start"), route.first());
    writeKmlEnd(xml, QStringLiteral("End"), route.last());
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

} // namespace

QStringList routeFormatNames()
{
    return {QStringLiteral("gpx"), QStringLiteral("kml")};
}

bool routeFormatFromName(const QString &name, RouteFormat *format)
{
    const int i = routeFormatNames().indexOf(name);
    if (i < 0)
        return false;
    *format = RouteFormat(i);
    return true;
}

QByteArray routeDocument(const Route &route, RouteFormat format, const QString &title)
{
    if (route.isEmpty())
        return {};
    return format == RouteFormat::Gpx ? gpxDocument(route, title) : kmlDocument(route, title);
}

QString noPositionMessage()
{
    return QStringLiteral("the day has no fix with a position");
}

bool saveRoute(const Route &route, RouteFormat format, const QString &title, const QString &path,
               QString *error)
{
    if (route.isEmpty()) {
        *error = noPositionMessage();
        return false;
    }
    const QByteArray document = routeDocument(route, format, title);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace route
