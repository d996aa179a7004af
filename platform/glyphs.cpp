#include "platform/glyphs.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <QPainterPath>

namespace lirvane {
namespace {

const QColor kInk(40, 40, 60);
const QColor kFrom(200, 60, 50);
const QColor kTo(40, 110, 190);

QPixmap Blank(int w, int h) {
  QPixmap pixmap(w, h);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void Badge(QPainter& p, const QRectF& r, const QColor& color, const QString& text) {
  p.setPen(Qt::NoPen);
  p.setBrush(color);
  p.drawRoundedRect(r, 2.5, 2.5);
  QFont f = p.font();
  f.setPixelSize(8);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(r, Qt::AlignCenter, text);
}

void Arrow(QPainter& p, qreal x0, qreal x1, qreal y, bool twice) {
  p.setPen(QPen(kInk, 1.4));
  p.drawLine(QPointF(x0, y), QPointF(x1, y));
  auto head = [&](qreal x) {
    p.drawLine(QPointF(x, y), QPointF(x - 3, y - 3));
    p.drawLine(QPointF(x, y), QPointF(x - 3, y + 3));
  };
  head(x1);
  if (twice) head(x1 - 3);
}

QPixmap RecodingPicture(const QString& from, const QString& to, bool twice) {
  QPixmap pixmap = Blank(44, 20);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  Badge(p, QRectF(0.5, 3.5, 17, 13), kFrom, from);
  Badge(p, QRectF(26.5, 3.5, 17, 13), kTo, to);
  Arrow(p, 19, 25, 10, twice);
  return pixmap;
}

QPixmap SchemePicture() {
  QPixmap pixmap = Blank(44, 20);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colors[] = {kFrom, QColor(120, 150, 60), kTo};
  for (int i = 0; i < 3; ++i) {
    p.setPen(Qt::NoPen);
    p.setBrush(colors[i]);
    p.drawRoundedRect(QRectF(1 + i * 15, 5, 11, 10), 2, 2);
    if (i < 2) Arrow(p, 12.5 + i * 15, 15.5 + i * 15, 10, false);
  }
  return pixmap;
}

// A sheet of paper with a folded corner.
void Sheet(QPainter& p, const QRectF& r, const QColor& fill = Qt::white) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 3, r.top());
  path.lineTo(r.right(), r.top() + 3);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(kInk, 1));
  p.setBrush(fill);
  p.drawPath(path);
}

void Lines(QPainter& p, qreal x0, qreal x1, qreal y0, int count) {
  p.setPen(QPen(QColor(120, 120, 140), 1));
  for (int i = 0; i < count; ++i) p.drawLine(QPointF(x0, y0 + 2 * i), QPointF(x1, y0 + 2 * i));
}

void Folder(QPainter& p, const QRectF& r) {
  QPainterPath path;
  path.moveTo(r.left(), r.top() + 2);
  path.lineTo(r.left() + 5, r.top() + 2);
  path.lineTo(r.left() + 6, r.top());
  path.lineTo(r.right() - 4, r.top());
  path.lineTo(r.right() - 4, r.top() + 2);
  path.lineTo(r.right(), r.top() + 2);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(QColor(150, 110, 20), 1));
  p.setBrush(QColor(240, 200, 80));
  p.drawPath(path);
}

QPixmap DrawFileGlyph(FileGlyph glyph) {
  const bool large = glyph == FileGlyph::kOpenFromList;
  QPixmap pixmap = Blank(large ? 20 : 16, large ? 19 : 15);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (glyph) {
    case FileGlyph::kNew:
      Sheet(p, QRectF(3.5, 1.5, 9, 12));
      break;
    case FileGlyph::kOpen:
      Folder(p, QRectF(1.5, 3.5, 13, 10));
      break;
    case FileGlyph::kPaste:
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(190, 140, 90));
      p.drawRoundedRect(QRectF(1.5, 2.5, 10, 11.5), 1, 1);
      Sheet(p, QRectF(6.5, 5.5, 8, 9));
      Lines(p, 8, 12.5, 9, 3);
      break;
    case FileGlyph::kCopy:
      Sheet(p, QRectF(1.5, 1.5, 8, 9));
      Sheet(p, QRectF(6.5, 4.5, 8, 10));
      Lines(p, 8, 12.5, 8, 3);
      break;
    case FileGlyph::kSave:
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(60, 90, 160));
      p.drawRect(QRectF(1.5, 1.5, 12, 12));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4, 1.5, 7, 5));
      p.setBrush(QColor(200, 200, 210));
      p.drawRect(QRectF(4, 9, 7, 4.5));
      break;
    case FileGlyph::kPrint:
      Sheet(p, QRectF(4.5, 0.5, 7, 6));
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(170, 170, 180));
      p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
      Sheet(p, QRectF(4.5, 10.5, 7, 4));
      break;
    case FileGlyph::kReload: {
      p.setPen(QPen(QColor(40, 140, 70), 2));
      p.drawArc(QRectF(2.5, 2.5, 10, 10), 60 * 16, 280 * 16);
      QPainterPath head;
      head.moveTo(9, 0.5);
      head.lineTo(13.5, 3.5);
      head.lineTo(9, 6.5);
      head.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(40, 140, 70));
      p.drawPath(head);
      break;
    }
    case FileGlyph::kRemember: {
      Sheet(p, QRectF(2.5, 1.5, 10, 12));
      QPainterPath mark;
      mark.moveTo(8, 1.5);
      mark.lineTo(11, 1.5);
      mark.lineTo(11, 8);
      mark.lineTo(9.5, 6.5);
      mark.lineTo(8, 8);
      mark.closeSubpath();
      p.setPen(Qt::NoPen);
      p.setBrush(kFrom);
      p.drawPath(mark);
      break;
    }
    case FileGlyph::kSwap:
      p.setPen(QPen(kFrom, 1.5));
      p.drawLine(QPointF(2, 5), QPointF(13, 5));
      p.drawLine(QPointF(13, 5), QPointF(10, 2));
      p.drawLine(QPointF(13, 5), QPointF(10, 8));
      p.setPen(QPen(kTo, 1.5));
      p.drawLine(QPointF(14, 11), QPointF(3, 11));
      p.drawLine(QPointF(3, 11), QPointF(6, 8));
      p.drawLine(QPointF(3, 11), QPointF(6, 14));
      break;
    case FileGlyph::kOpenFromList:
      Folder(p, QRectF(1.5, 5.5, 15, 12));
      p.setPen(QPen(QColor(40, 140, 70), 2));
      p.drawLine(QPointF(9, 15), QPointF(9, 2));
      p.drawLine(QPointF(9, 2), QPointF(5.5, 5.5));
      p.drawLine(QPointF(9, 2), QPointF(12.5, 5.5));
      break;
  }
  return pixmap;
}

}  // namespace

std::vector<QPixmap> RecodingButtonPictures() {
  return {
      RecodingPicture("Koi", "Win", false),
      RecodingPicture("Win", "Koi", false),
      RecodingPicture("Alt", "Win", false),
      RecodingPicture("Win", "Alt", false),
      RecodingPicture("Koi", "Win", true),
      RecodingPicture("Iso", "Win", false),
      RecodingPicture("Mac", "Win", false),
      RecodingPicture("%", "Win", false),
      SchemePicture(),
      RecodingPicture("Utf", "Win", false),
      RecodingPicture("Win", "Utf", false),
  };
}

QIcon FileBarIcon(FileGlyph glyph) { return QIcon(DrawFileGlyph(glyph)); }

QPixmap Logo(int width, int height) {
  QPixmap pixmap = Blank(width, height);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const qreal h = height;
  const qreal w = width;
  QLinearGradient gradient(0, 0, w, h);
  gradient.setColorAt(0, kFrom);
  gradient.setColorAt(1, kTo);
  p.setPen(Qt::NoPen);
  p.setBrush(gradient);
  p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), h / 6, h / 6);
  const QString text = width > 2 * height ? QStringLiteral("Lirvane!") : QString::fromUtf8("Ль");
  QFont f;
  f.setBold(true);
  // As large as fits inside the badge with a margin: wide fonts would run
  // the text over its edges at a size taken from the height alone.
  const qreal room = w - 2 * std::max<qreal>(2, h / 8);
  for (int px = static_cast<int>(h * 0.55); px > 4; --px) {
    f.setPixelSize(px);
    if (QFontMetricsF(f).horizontalAdvance(text) <= room) break;
  }
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, w, h), Qt::AlignCenter, text);
  return pixmap;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(Logo(size, size));
  return icon;
}

QPixmap AutoRecodingPicture() {
  // "?" -> Win: whatever the text is in, it comes out as Windows-1251.
  QPixmap pixmap = Blank(44, 20);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  Badge(p, QRectF(0.5, 3.5, 17, 13), QColor(120, 150, 60), QStringLiteral("?"));
  Badge(p, QRectF(26.5, 3.5, 17, 13), kTo, QStringLiteral("Win"));
  Arrow(p, 19, 25, 10, false);
  return pixmap;
}

}  // namespace lirvane
