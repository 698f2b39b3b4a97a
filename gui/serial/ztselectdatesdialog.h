#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;

namespace Ui {
class ZtSelectDatesDialog;
}

// The first and last day of a download. Each day is picked on a calendar that offers the
// last year up to today; the range may span at most 31 days.
class ZtSelectDatesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ZtSelectDatesDialog(QWidget *parent = nullptr);
    ~ZtSelectDatesDialog() override;

    QDate selectedStartDate() const;
    QDate selectedEndDate() const;
    // The calendar, once a day button has been used; null before.
    QCalendarWidget *calendar() const { return calendarWidget; }

public slots:
    void on_start_pushButton_clicked();
    void on_end_pushButton_clicked();
    void onStartCalendarDate_clicked(QDate date);
    void onEndCalendarDate_clicked(QDate date);
    void on_ok_pushButton_clicked();
    void on_cancel_pushButton_clicked();

private:
    void showCalendar(const QString &buttonText);

    Ui::ZtSelectDatesDialog *ui;
    QCalendarWidget *calendarWidget = nullptr;
};
