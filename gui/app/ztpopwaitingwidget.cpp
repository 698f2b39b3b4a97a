#include "gui/app/ztpopwaitingwidget.h"
#include "ui_ztpopwaitingwidget.h"

#include <QEvent>
#include <QMovie>

ZtPopWaitingWidget::ZtPopWaitingWidget(QWidget *parent) : QWidget(parent), ui(new Ui::ZtPopWaitingWidget)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_StyledBackground, true);
    resize(1920, 1080);
    if (layout() != ui->horizontalLayout)
        setLayout(ui->horizontalLayout);
    ui->waitting_slider->hide();
    // It reports progress; it is not a control.
    ui->waitting_slider->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->cancel_pushButton->hide();
    connect(ui->cancel_pushButton, &QPushButton::clicked, this, &ZtPopWaitingWidget::cancelRequested);
    movie = new QMovie(QStringLiteral(":/image/loading"));
    ui->circle->setMovie(movie);
}

ZtPopWaitingWidget::~ZtPopWaitingWidget()
{
    movie->stop();
    delete movie;
    delete ui;
}

void ZtPopWaitingWidget::setText(const QString &text)
{
    ui->text->setText(text);
}

QString ZtPopWaitingWidget::text() const
{
    return ui->text->text();
}

void ZtPopWaitingWidget::startWaiting()
{
    movie->start();
    show();
}

void ZtPopWaitingWidget::stopWaiting()
{
    movie->stop();
    ui->text->clear();
    ui->waitting_slider->setValue(0);
    ui->waitting_slider->hide();
    ui->cancel_pushButton->hide();
    hide();
}

void ZtPopWaitingWidget::setProgress(int done, int total)
{
    if (total <= 0) {
        ui->waitting_slider->hide();
        return;
    }
    ui->waitting_slider->setRange(0, total);
    ui->waitting_slider->setValue(qBound(0, done, total));
    ui->waitting_slider->show();
}

int ZtPopWaitingWidget::progressValue() const
{
    return ui->waitting_slider->value();
}

int ZtPopWaitingWidget::progressMaximum() const
{
    return ui->waitting_slider->maximum();
}

bool ZtPopWaitingWidget::progressShown() const
{
    return !ui->waitting_slider->isHidden();
}

void ZtPopWaitingWidget::setCancelShown(bool shown)
{
    ui->cancel_pushButton->setVisible(shown);
}

bool ZtPopWaitingWidget::cancelShown() const
{
    return !ui->cancel_pushButton->isHidden();
}

void ZtPopWaitingWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QWidget::changeEvent(event);
}
