#pragma once

#include <QLabel>

// A label that wraps its text to its own width by inserting line breaks, at most two
// lines (fewer when the margin eats into the line height); the rest is dropped.
class AutoWrapLabel : public QLabel
{
    Q_OBJECT

public:
    explicit AutoWrapLabel(QWidget *parent = nullptr);
    AutoWrapLabel(const QString &text, QWidget *parent = nullptr, Qt::WindowFlags f = Qt::WindowFlags());

    void setText(const QString &text);
    QString fullText() const { return m_fullText; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rewrap();

    QString m_fullText;
};
