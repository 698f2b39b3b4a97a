#include "gui/app/autowraplabel.h"

#include <QFontMetrics>

// The text is measured and broken character by character, so it is shown as the characters
// it holds: plain text, never markup (it comes from the recorder's files).
AutoWrapLabel::AutoWrapLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

AutoWrapLabel::AutoWrapLabel(const QString &text, QWidget *parent, Qt::WindowFlags f)
    : QLabel(parent, f), m_fullText(text)
{
    setTextFormat(Qt::PlainText);
    rewrap();
}

void AutoWrapLabel::setText(const QString &text)
{
    m_fullText = text;
    rewrap();
}

void AutoWrapLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    rewrap();
}

void AutoWrapLabel::rewrap()
{
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    int linesLeft = lineHeight > 0 ? ((lineHeight - margin()) * 2) / lineHeight : 0;
    const int maxWidth = width() - 5;

    QString result;
    QString line;
    if (linesLeft > 0) {
        for (const QChar c : qAsConst(m_fullText)) {
            if (metrics.horizontalAdvance(line + c) > maxWidth) {
                result += line;
                --linesLeft;
                if (linesLeft > 0)
                    result += QLatin1Char('\n');
                line = QString(c);
            } else {
                line += c;
            }
            if (linesLeft <= 0)
                break;
        }
        if (linesLeft > 0)
            result += line;
    }
    QLabel::setText(result);
}
