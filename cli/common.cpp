#include "cli/cli.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace cli {

bool readFile(const QString &path, QByteArray *data, QString *error)
{
    // A device or pipe could be endless.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) {
        *error = QStringLiteral("not a regular file");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    *data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    return true;
}

int parseArguments(QCommandLineParser &parser, const QString &command, const QStringList &arguments)
{
    if (!parser.parse(arguments)) {
        printError(QStringLiteral("tavrin-vdr %1: %2").arg(command, parser.errorText()));
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        printOut(parser.helpText());
        return ExitOk;
    }
    return -1;
}

int readSingleDayFile(const QCommandLineParser &parser, const QString &command, QString *path,
                      QByteArray *data)
{
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        printError(QStringLiteral("tavrin-vdr %1: give exactly one day file").arg(command));
        return ExitUsage;
    }
    *path = files.first();
    QString error;
    if (!readFile(*path, data, &error)) {
        printError(QStringLiteral("%1: cannot read: %2").arg(*path, error));
        return ExitUsage;
    }
    return -1;
}

void printError(const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void printOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

} // namespace cli
