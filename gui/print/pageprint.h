#pragma once

// Putting a whole widget on paper: the speed report preview and the "Period" page print and
// save their PDF files through these.

#include <QColor>
#include <QString>
#include <QWidget>

class QPrinter;

namespace pageprint {

// Paints the whole of `widget` onto the printer's page, scaled by the smaller of the two ratios
// to fit the printable area and centred on it, on `ground` when that is valid. False when the
// printer cannot be painted on.
bool render(QWidget *widget, QPrinter &printer, QWidget::RenderFlags flags, const QColor &ground = QColor());

// Writes `widget` as render() paints it to a landscape PDF file at `path`; true when a
// non-empty file was written.
bool writePdf(QWidget *widget, const QString &path, QWidget::RenderFlags flags,
              const QColor &ground = QColor());

// Asks where to save a PDF file, starting in the folder a PDF was last saved in with the
// name `fileName`; remembers the folder chosen. Empty when the user cancels.
QString choosePdfPath(QWidget *parent, const QString &fileName);

// With no printer installed, a page can still be kept as a PDF file to print elsewhere: asks
// `question` (Save / Cancel) under `title`, then where, as choosePdfPath(). Empty when the
// user declines or cancels.
QString offerPdfInstead(QWidget *parent, const QString &title, const QString &question,
                        const QString &fileName);

} // namespace pageprint
