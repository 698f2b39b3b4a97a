#include "support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QMutex>
#include <QTest>

namespace testsupport {

ModalCloser::ModalCloser(QMessageBox::StandardButton answer) : m_answer(answer)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalCloser::poll);
    m_timer.start(5);
}

ModalCloser::~ModalCloser() = default;

void ModalCloser::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        m_texts << box->text();
        QAbstractButton *button = box->button(m_answer);
        if (!button)
            button = box->button(QMessageBox::Ok);
        if (button)
            button->click();
        else
            box->done(0);
    } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
        dialog->reject();
    }
}

namespace {
QMutex captureMutex;
QStringList capturedDebug, capturedWarnings;
QtMessageHandler previousDebugHandler = nullptr;

void debugHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker lock(&captureMutex);
        (type == QtDebugMsg ? capturedDebug : capturedWarnings) << message;
    }
    if (type != QtDebugMsg && previousDebugHandler)
        previousDebugHandler(type, context, message);
}
} // namespace

DebugCapture::DebugCapture()
{
    QMutexLocker lock(&captureMutex);
    capturedDebug.clear();
    capturedWarnings.clear();
    previousDebugHandler = qInstallMessageHandler(debugHandler);
}

DebugCapture::~DebugCapture()
{
    qInstallMessageHandler(previousDebugHandler);
}

QStringList DebugCapture::lines() const
{
    QMutexLocker lock(&captureMutex);
    return capturedDebug;
}

QStringList DebugCapture::warnings() const
{
    QMutexLocker lock(&captureMutex);
    return capturedWarnings;
}

QString mwTr(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool dropFiles(QWidget *target, const QStringList &paths)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return enter.isAccepted();
}

QByteArray responseFrame(quint8 status, quint16 packId, const QByteArray &payload, int checksumFlip)
{
    QByteArray f(14, '\0');
    f[0] = char(0x55);
    f[1] = char(0x7A);
    f[2] = char(status);
    f[3] = char(packId & 0xFF);
    f[4] = char(packId >> 8);
    f[5] = char(0x20); // head bytes 5-10 carry anything; the program ignores them
    f[11] = char(payload.size() & 0xFF);
    f[12] = char(payload.size() >> 8);
    quint8 x = 0;
    for (char c : f.left(13) + payload)
        x ^= quint8(c);
    f[13] = char(x ^ checksumFlip);
    return f + payload;
}

QStringList fileTree(const QString &dir)
{
    QStringList found;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(dir).relativeFilePath(it.next());
    found.sort();
    return found;
}

QString writeFile(const QString &dir, const QString &name, const QByteArray &data)
{
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

} // namespace testsupport
