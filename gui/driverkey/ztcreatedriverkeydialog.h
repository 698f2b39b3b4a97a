#pragma once

#include <QDialog>

namespace Ui {
class ZtCreateDriverKeyDialog;
}

// "USB ID" > "Create": asks for a driver's name and ID and a directory, and writes the
// driver key file there. Made anew for each use; keeps no state beyond its widgets.
class ZtCreateDriverKeyDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ZtCreateDriverKeyDialog(QWidget *parent = nullptr);
    ~ZtCreateDriverKeyDialog() override;

private slots:
    void on_path_pushButton_clicked();
    void on_ok_pushButton_clicked();
    void on_cancel_pushButton_clicked();

private:
    Ui::ZtCreateDriverKeyDialog *ui;
};
