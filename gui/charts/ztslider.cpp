#include "gui/charts/ztslider.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

const char *const kScaleNames[] = {
    QT_TRANSLATE_NOOP("ZtSlider", "1 hour"), QT_TRANSLATE_NOOP("ZtSlider", "30 min"),
    QT_TRANSLATE_NOOP("ZtSlider", "20 min"), QT_TRANSLATE_NOOP("ZtSlider", "10 min"),
    QT_TRANSLATE_NOOP("ZtSlider", "5 min"),  QT_TRANSLATE_NOOP("ZtSlider", "1 min"),
    QT_TRANSLATE_NOOP("ZtSlider", "30 sec"),
};

const int kLabelHeight = 48;

QString buttonStyle(const QString &image)
{
    return QStringLiteral(
               "QPushButton { border: none; background: transparent; border-image: url(:/image/%1_N); }\n"
               "QPushButton:pressed { border: none; background: transparent; border-image: "
               "url(:/image/%1_P); }\n"
               "QPushButton:disabled { border: none; background: transparent; border-image: "
               "url(:/image/%1_D); }")
        .arg(image);
}

} // namespace

ZtSlider::ZtSlider(QWidget *parent) : QSlider(parent)
{
    // The form sets orientation, range and geometry after construction; the extra widgets
    // are made once it has.
    QTimer::singleShot(0, this, &ZtSlider::OnFirstTimeInitial);
}

ZtSlider::~ZtSlider()
{
    delete m_valueLabel;
    if (m_minusButton) {
        disconnect(m_minusButton, &QPushButton::clicked, this, &ZtSlider::OnMinus);
        delete m_minusButton;
    }
    if (m_plusButton) {
        disconnect(m_plusButton, &QPushButton::clicked, this, &ZtSlider::OnPlus);
        delete m_plusButton;
    }
}

QString ZtSlider::scaleName(int value)
{
    if (value < 1 || value > 7)
        return QString();
    return QCoreApplication::translate("ZtSlider", kScaleNames[value - 1]);
}

void ZtSlider::OnFirstTimeInitial()
{
    QWidget *parent = parentWidget();
    if (orientation() != Qt::Vertical || !parent)
        return;

    if (!m_valueLabel)
        m_valueLabel = new QLabel(parent);
    m_valueLabel->setGeometry(x(), geometry().bottom() + 1, width(), kLabelHeight);
    const QString colour = isEnabled() ? QStringLiteral("Snow") : QStringLiteral("DimGrey");
    m_valueLabel->setStyleSheet(
        QStringLiteral("QLabel {border:0px; border-image:trasparent; background-color: "
                       "transparent; color:%1; font:16px; font-family: Arial;  "
                       "qproperty-alignment: AlignCenter;}")
            .arg(colour));
    m_valueLabel->setWordWrap(true);
    m_valueLabel->setNum(value());
    m_valueLabel->show();

    connect(this, &QSlider::valueChanged, this, &ZtSlider::setValueText, Qt::UniqueConnection);
    setValueText(value());

    auto makeButton = [parent](QPointer<QPushButton> &button, const QString &image) {
        if (!button)
            button = new QPushButton(parent);
        button->setStyleSheet(buttonStyle(image));
        button->setFocusPolicy(Qt::NoFocus);
        button->show();
    };
    makeButton(m_minusButton, QStringLiteral("down"));
    makeButton(m_plusButton, QStringLiteral("up"));
    connect(m_minusButton, &QPushButton::clicked, this, &ZtSlider::OnMinus, Qt::UniqueConnection);
    connect(m_plusButton, &QPushButton::clicked, this, &ZtSlider::OnPlus, Qt::UniqueConnection);
    // The form has usually placed the slider before this runs; the buttons take their place
    // at once rather than waiting for a move that may never come.
    placeExtraWidgets();
}

void ZtSlider::placeExtraWidgets()
{
    const QRect g = geometry();
    const int w = g.width();
    if (m_valueLabel)
        m_valueLabel->setGeometry(g.x(), g.bottom() + 1, w, kLabelHeight);
    if (m_plusButton)
        m_plusButton->setGeometry(g.x(), g.y() - w, w, w);
    if (m_minusButton)
        m_minusButton->setGeometry(g.x(), g.bottom() + 1 + kLabelHeight, w, w);
}

bool ZtSlider::event(QEvent *e)
{
    if (e->type() == QEvent::Move && m_valueLabel)
        placeExtraWidgets();
    // The scale name follows the interface language at once.
    if (e->type() == QEvent::LanguageChange)
        setValueText(value());
    return QSlider::event(e);
}

void ZtSlider::setValueText(int value)
{
    if (m_valueLabel)
        m_valueLabel->setText(tr("Scale") + QLatin1Char('\n') + scaleName(value));
}

void ZtSlider::OnMinus()
{
    if (value() - singleStep() >= minimum())
        setValue(value() - singleStep());
}

void ZtSlider::OnPlus()
{
    if (value() + singleStep() <= maximum())
        setValue(value() + singleStep());
}
