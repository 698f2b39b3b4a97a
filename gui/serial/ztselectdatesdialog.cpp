#include "gui/serial/ztselectdatesdialog.h"
#include "ui_ztselectdatesdialog.h"

#include <QCalendarWidget>
#include <QMessageBox>

namespace {
const QString kDatePattern = QStringLiteral("yyyy/MM/dd");
}

ZtSelectDatesDialog::ZtSelectDatesDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ZtSelectDatesDialog)
{
    ui->setupUi(this);
    const QString today = QDate::currentDate().toString(kDatePattern);
    ui->start_pushButton->setText(today);
    ui->end_pushButton->setText(today);
}

ZtSelectDatesDialog::~ZtSelectDatesDialog()
{
    delete ui;
}

QDate ZtSelectDatesDialog::selectedStartDate() const
{
    return QDate::fromString(ui->start_pushButton->text(), kDatePattern);
}

QDate ZtSelectDatesDialog::selectedEndDate() const
{
    return QDate::fromString(ui->end_pushButton->text(), kDatePattern);
}

void ZtSelectDatesDialog::showCalendar(const QString &buttonText)
{
    const QDate today = QDate::currentDate();
    calendarWidget->setWindowTitle(tr("Calendar"));
    calendarWidget->resize(size());
    calendarWidget->setDateRange(today.addYears(-1), today);
    calendarWidget->setSelectedDate(QDate::fromString(buttonText, kDatePattern));
    calendarWidget->raise();
    calendarWidget->show();
}

void ZtSelectDatesDialog::on_start_pushButton_clicked()
{
    if (!calendarWidget)
        calendarWidget = new QCalendarWidget(this);
    connect(calendarWidget, &QCalendarWidget::clicked, this,
            &ZtSelectDatesDialog::onStartCalendarDate_clicked, Qt::UniqueConnection);
    showCalendar(ui->start_pushButton->text());
}

void ZtSelectDatesDialog::on_end_pushButton_clicked()
{
    if (!calendarWidget)
        calendarWidget = new QCalendarWidget(this);
    connect(calendarWidget, &QCalendarWidget::clicked, this, &ZtSelectDatesDialog::onEndCalendarDate_clicked,
            Qt::UniqueConnection);
    showCalendar(ui->end_pushButton->text());
}

void ZtSelectDatesDialog::onStartCalendarDate_clicked(QDate date)
{
    ui->start_pushButton->setText(date.toString(kDatePattern));
    if (calendarWidget) {
        disconnect(calendarWidget, &QCalendarWidget::clicked, this,
                   &ZtSelectDatesDialog::onStartCalendarDate_clicked);
        calendarWidget->hide();
    }
}

void ZtSelectDatesDialog::onEndCalendarDate_clicked(QDate date)
{
    ui->end_pushButton->setText(date.toString(kDatePattern));
    if (calendarWidget) {
        disconnect(calendarWidget, &QCalendarWidget::clicked, this,
                   &ZtSelectDatesDialog::onEndCalendarDate_clicked);
        calendarWidget->hide();
    }
}

void ZtSelectDatesDialog::on_ok_pushButton_clicked()
{
    const QDate start = selectedStartDate();
    const QDate end = selectedEndDate();
    if (start > end) {
        QMessageBox::about(this, tr("warning"), tr("Start time is greater than end time"));
        return;
    }
    if (end > start.addDays(30)) {
        QMessageBox::about(this, tr("warning"), tr("Export time exceeds 30 days"));
        return;
    }
    accept();
}

void ZtSelectDatesDialog::on_cancel_pushButton_clicked()
{
    reject();
}
