#include "core/driverkey/driverkeyfile.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace driverkey {

QString checkFields(const QString &name, const QString &id, const QString &directory)
{
    if (name.isEmpty())
        return QCoreApplication::translate("ZtCreateDriverKeyDialog", "Name Format Error!");
    if (name.toUtf8().size() > kMaxFieldBytes)
        return QCoreApplication::translate("ZtCreateDriverKeyDialog", "Name lenght is too long");
    if (id.isEmpty())
        return QCoreApplication::translate("ZtCreateDriverKeyDialog", "ID Format Error!");
    if (id.toUtf8().size() > kMaxFieldBytes)
        return QCoreApplication::translate("ZtCreateDriverKeyDialog", "ID lenght is too long");
    if (directory.isEmpty())
        return QCoreApplication::translate("ZtCreateDriverKeyDialog", "No save path!");
    return QString();
}

QByteArray keyJson(const QString &name, const QString &id)
{
    QJsonObject object;
    object.insert(QStringLiteral("mode"), 0);
    object.insert(QStringLiteral("name"), name);
    object.insert(QStringLiteral("id"), id);
    // QJsonObject keeps its keys sorted: id, mode, name.
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray keyContent(const QString &name, const QString &id)
{
    return keyJson(name, id).toBase64();
}

QString keyFilePath(const QString &directory)
{
    QString path = directory;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QLatin1String(fileName());
}

WriteResult writeKeyFile(const QString &directory, const QString &name, const QString &id)
{
    WriteResult result;
    result.path = keyFilePath(directory);
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = file.errorString();
        return result;
    }
    const QByteArray content = keyContent(name, id);
    if (file.write(content) != content.size() || !file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace driverkey
