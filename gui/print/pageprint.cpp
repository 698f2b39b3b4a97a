#include "gui/print/pageprint.h"

#include "core/print/printspan.h"
#include "gui/app/viewersettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QStandardPaths>

namespace pageprint {

bool render(QWidget *widget, QPrinter &printer, QWidget::RenderFlags flags, const QColor &ground)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter of a printer starts at the printable area's top-left corner.
    const QRectF paint = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF target = print::pagePlacement(QSizeF(widget->width(), widget->height()), paint.size());
    painter.translate(target.topLeft());
    painter.scale(target.width() / widget->width(), target.height() / widget->height());
    if (ground.isValid())
        painter.fillRect(widget->rect(), ground);
    widget->render(&painter, QPoint(0, 0), QRegion(), flags);
    return painter.end();
}

bool writePdf(QWidget *widget, const QString &path, QWidget::RenderFlags flags, const QColor &ground)
{
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageOrientation(QPageLayout::Landscape);
    return render(widget, printer, flags, ground) && QFileInfo(path).size() > 0;
}

QString choosePdfPath(QWidget *parent, const QString &fileName)
{
    const QString folder = viewersettings::lastFolder(
        QStringLiteral("pdf"), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QFileDialog dialog(parent, QCoreApplication::translate("ZtPrintWidget", "Save as PDF"),
                       QDir(folder).filePath(fileName),
                       QCoreApplication::translate("ZtPrintWidget", "PDF files (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString path = dialog.selectedFiles().constFirst();
    viewersettings::rememberFolder(QStringLiteral("pdf"), path);
    return path;
}

QString offerPdfInstead(QWidget *parent, const QString &title, const QString &question,
                        const QString &fileName)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setIcon(QMessageBox::Information);
    box.setText(question);
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Save);
    if (box.exec() != QMessageBox::Save)
        return QString();
    return choosePdfPath(parent, fileName);
}

} // namespace pageprint
