#include "gui/driverkey/ztcreatedriverkeydialog.h"
#include "ui_ztcreatedriverkeydialog.h"

#include "core/driverkey/driverkeyfile.h"
#include "gui/app/viewersettings.h"

#include <QDebug>
#include <QFileDialog>
#include <QMessageBox>

// A modal box without parent, the text and one "OK" button.
static void tell(const QString &text)
{
    QMessageBox box;
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

ZtCreateDriverKeyDialog::ZtCreateDriverKeyDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ZtCreateDriverKeyDialog)
{
    ui->setupUi(this);
}

ZtCreateDriverKeyDialog::~ZtCreateDriverKeyDialog()
{
    delete ui;
}

void ZtCreateDriverKeyDialog::on_path_pushButton_clicked()
{
    // It starts where the last key was put; a cancelled dialog empties the field.
    const QString dir = QFileDialog::getExistingDirectory(
        this, tr("Open Directory"),
        viewersettings::lastFolder(QStringLiteral("driverkey"), QStringLiteral("c:/")),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    ui->path_lineEdit->setText(dir);
    viewersettings::rememberFolder(QStringLiteral("driverkey"), dir);
}

void ZtCreateDriverKeyDialog::on_ok_pushButton_clicked()
{
    const QString name = ui->name_lineEdit->text();
    const QString id = ui->id_lineEdit->text();
    const QString dir = ui->path_lineEdit->text();

    const QString problem = driverkey::checkFields(name, id, dir);
    if (!problem.isEmpty()) {
        tell(problem);
        return;
    }

    const driverkey::WriteResult written = driverkey::writeKeyFile(dir, name, id);
    if (!written.ok) {
        qDebug() << "Can not create file !";
        // The dialog stays open with its fields, so the user can pick another directory.
        tell(tr("The driver key file could not be written:\n%1\n%2").arg(written.path, written.error));
        return;
    }
    tell(tr("Create ") + written.path + tr(" success!"));
    accept();
}

void ZtCreateDriverKeyDialog::on_cancel_pushButton_clicked()
{
    reject();
}
