#pragma once

#include <QByteArray>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QWidget;

namespace testsupport {

// A source text as the main window shows it (the catalogue is installed by the window).
QString mwTr(const char *text);

// The named child of a window; a missing one ends the test run.
template <typename T> T *child(const QObject &parent, const char *name)
{
    T *object = parent.findChild<T *>(QLatin1String(name));
    if (!object)
        qFatal("no child %s", name);
    return object;
}

// The bytes of a file, or "<missing>" when it cannot be read.
QByteArray readFile(const QString &path);

// Answers every modal dialog that opens while it lives: message boxes get the chosen
// button (OK by default) and their texts are recorded; other modal dialogs are rejected.
class ModalCloser : public QObject
{
public:
    explicit ModalCloser(QMessageBox::StandardButton answer = QMessageBox::Ok);
    ~ModalCloser() override;

    QStringList texts() const { return m_texts; }
    void clear() { m_texts.clear(); }
    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }

private:
    void poll();

    QTimer m_timer;
    QStringList m_texts;
    QMessageBox::StandardButton m_answer;
};

// Records the program's debug output (qDebug lines), and its warnings apart, while it lives.
class DebugCapture
{
public:
    DebugCapture();
    ~DebugCapture();
    QStringList lines() const;
    QStringList warnings() const;
    bool contains(const QString &line) const { return lines().contains(line); }
};

// A recorder's response frame: 55 7A | status | u16 packId | 6 bytes | u16 payload length |
// XOR of the head and payload (xor-ed with checksumFlip to spoil it) | payload.
QByteArray responseFrame(quint8 status, quint16 packId, const QByteArray &payload = {}, int checksumFlip = 0);

// Drags the files over the widget and drops them; returns whether the drag was taken.
bool dropFiles(QWidget *target, const QStringList &paths);

// Every file and link below dir, as sorted relative paths.
QStringList fileTree(const QString &dir);

// Writes bytes to dir/name, creating dir; returns the full path.
QString writeFile(const QString &dir, const QString &name, const QByteArray &data);

} // namespace testsupport
