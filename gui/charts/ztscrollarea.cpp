#include "gui/charts/ztscrollarea.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>
#include <QScrollBar>

ZtScrollArea::ZtScrollArea(QWidget *parent) : QScrollArea(parent) {}

void ZtScrollArea::freezeLeftStrip(int width, int bottomCut)
{
    delete m_frozenLabel;
    m_frozenLabel = new QLabel(parentWidget());

    int h = height() - bottomCut;
    if (horizontalScrollBar()->isVisible())
        h -= horizontalScrollBar()->height();
    m_frozenLabel->setGeometry(x(), y(), width, h);
    m_frozenLabel->setStyleSheet(
        QStringLiteral("QLabel {border:0px; border-image:trasparent; background-color: rgb(50, 50, 50); ;}"));

    if (width > 0 && h > 0) {
        QImage image(m_frozenLabel->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        render(&image, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
        m_frozenLabel->setPixmap(QPixmap::fromImage(image));
    }
    m_frozenLabel->setScaledContents(true);
    m_frozenLabel->show();
}

void ZtScrollArea::resizeEvent(QResizeEvent *e)
{
    if (m_frozenLabel)
        m_frozenLabel->setGeometry(x(), y(), m_frozenLabel->width(), e->size().height());
    QScrollArea::resizeEvent(e);
}
