#include "platform/print_document.h"

#include <QAbstractTextDocumentLayout>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <memory>

namespace lirvane {

void ClearPageMargins(QPrinter& printer) {
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool PrintFullPage(const QTextDocument& document, QPrinter& printer) {
  // The painter's origin is then the corner inside the page set-up's
  // margins, and the page rectangle what lies within them.
  printer.setFullPage(false);
  const std::unique_ptr<QTextDocument> doc(document.clone());
  doc->documentLayout()->setPaintDevice(&printer);
  doc->setDocumentMargin(0);
  const QRectF page = printer.pageRect(QPrinter::DevicePixel);
  if (page.isEmpty()) return false;
  doc->setPageSize(page.size());

  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const int pages = doc->pageCount();
  for (int i = 0; i < pages; ++i) {
    if (i > 0 && !printer.newPage()) break;
    painter.save();
    painter.translate(0, -i * page.height());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, i * page.height(), page.width(), page.height());
    context.palette.setColor(QPalette::Text, Qt::black);
    doc->documentLayout()->draw(&painter, context);
    painter.restore();
  }
  const bool ended = painter.end();
  return ended && printer.printerState() != QPrinter::Error &&
         printer.printerState() != QPrinter::Aborted;
}

}  // namespace lirvane
