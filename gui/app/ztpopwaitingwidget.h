#pragma once

#include <QWidget>

class QMovie;

namespace Ui {
class ZtPopWaitingWidget;
}

// The "please wait" veil: a half-transparent cover over the central widget with a
// centred box that shows a text and a spinning animation.
class ZtPopWaitingWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ZtPopWaitingWidget(QWidget *parent = nullptr);
    ~ZtPopWaitingWidget() override;

    void setText(const QString &text);
    QString text() const;
    void startWaiting();
    void stopWaiting();
    // Shows the progress bar at `done` of `total` (a download's days); stopWaiting hides it.
    void setProgress(int done, int total);
    int progressValue() const;
    int progressMaximum() const;
    bool progressShown() const;
    // The "Cancel" button, for a wait that the user may end (a download); stopWaiting hides it.
    void setCancelShown(bool shown);
    bool cancelShown() const;

signals:
    void cancelRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui::ZtPopWaitingWidget *ui;
    QMovie *movie = nullptr;
};
