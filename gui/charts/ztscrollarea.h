#pragma once

#include <QLabel>
#include <QPointer>
#include <QScrollArea>

// Scroll area of a chart. freezeLeftStrip() lays a still image of the area's left strip (the
// chart's value axis) over it, so the axis stays in view while the chart scrolls sideways.
class ZtScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit ZtScrollArea(QWidget *parent = nullptr);

    // Replaces the frozen strip by a new image of the leftmost `width` pixels of the area as
    // it looks now, leaving the lowest `bottomCut` pixels (and a visible horizontal scroll
    // bar) uncovered.
    void freezeLeftStrip(int width, int bottomCut);
    QLabel *frozenLabel() const { return m_frozenLabel; }

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    QPointer<QLabel> m_frozenLabel;
};
