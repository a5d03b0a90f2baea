#include "ReportPainter.h"

#include "platform/SafeFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include <map>

namespace grx {
namespace {

constexpr double kPdfDpi = 600;
// Frames are hairlines of the template's 1 px at 96 dpi.
constexpr double kFrameWidthMm = 25.4 / 96;

QFont deviceFont(const ReportFont& f, double dotsPerMm, const QPaintDevice* device) {
  QFont font(f.family);
  // Point sizes are converted by the device's own resolution; scale so that the text has the size
  // it had in the layout at dotsPerMm.
  const double deviceDpi = device ? device->logicalDpiY() : 96;
  font.setPointSizeF(f.pointSize * dotsPerMm * 25.4 / deviceDpi);
  font.setBold(f.bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

Qt::Alignment horizontal(HAlign a) {
  switch (a) {
    case HAlign::Left: return Qt::AlignLeft;
    case HAlign::Right: return Qt::AlignRight;
    case HAlign::Center: break;
  }
  return Qt::AlignHCenter;
}

// The pictures of the page: lines, then marks, then their texts, in their own colours.
void paintDrawings(QPainter& painter, const ReportPage& page, double dotsPerMm, QPointF origin) {
  for (const PlacedDrawing& d : page.drawings) {
    const QPointF at = origin + d.rect.topLeft() * dotsPerMm;
    auto dots = [&](QPointF mm) { return at + mm * dotsPerMm; };
    painter.setBrush(Qt::NoBrush);
    for (const DrawnLine& l : d.drawing.lines) {
      QPen pen(l.color);
      pen.setWidthF(std::max(1.0, l.widthMm * dotsPerMm));
      if (l.dashed) pen.setStyle(Qt::DashLine);
      painter.setPen(pen);
      QPolygonF points;
      for (const QPointF& p : l.points) points.append(dots(p));
      painter.drawPolyline(points);
    }
    for (const DrawnMark& m : d.drawing.marks) {
      const QPointF c = dots(m.at);
      const double r = m.sizeMm * dotsPerMm / 2;
      QPen pen(m.color);
      pen.setWidthF(std::max(1.0, 0.3 * dotsPerMm));
      painter.setPen(pen);
      if (m.shape == MarkShape::Dot) {
        painter.setBrush(m.color);
        painter.drawEllipse(c, r, r);
        painter.setBrush(Qt::NoBrush);
      } else {
        painter.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        painter.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
      }
    }
    for (const DrawnText& t : d.drawing.texts) {
      painter.setPen(t.color);
      painter.setFont(deviceFont(t.font, dotsPerMm, painter.device()));
      const QRectF r(dots(t.rect.topLeft()), t.rect.size() * dotsPerMm);
      painter.drawText(r, int(horizontal(t.hAlign) | Qt::AlignVCenter) | Qt::TextDontClip, t.text);
    }
  }
}

}  // namespace

void paintReportPage(QPainter& painter, const ReportPage& page, double dotsPerMm, QPointF origin, int highlight) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  auto dots = [&](const QRectF& mm) {
    return QRectF(origin.x() + mm.x() * dotsPerMm, origin.y() + mm.y() * dotsPerMm, mm.width() * dotsPerMm,
                  mm.height() * dotsPerMm);
  };
  if (highlight >= 0 && highlight < page.texts.size())
    painter.fillRect(dots(page.texts[highlight].rect), QColor(255, 235, 120));

  QPen pen(Qt::black);
  pen.setWidthF(std::max(1.0, kFrameWidthMm * dotsPerMm));
  painter.setPen(pen);
  for (const QLineF& l : page.lines)
    painter.drawLine(QLineF(origin + l.p1() * dotsPerMm, origin + l.p2() * dotsPerMm));
  if (!page.drawings.isEmpty()) {
    paintDrawings(painter, page, dotsPerMm, origin);
    painter.setPen(pen);
  }

  QString fontKey;
  for (const PlacedText& t : page.texts) {
    const QString key = t.font.family + QString::number(t.font.pointSize) + (t.font.bold ? u'b' : u'r');
    if (key != fontKey) {
      painter.setFont(deviceFont(t.font, dotsPerMm, painter.device()));
      fontKey = key;
    }
    const double block = t.lines.size() * t.lineHeightMm;
    double top = t.rect.top() + kCellPaddingYMm;
    if (t.vAlign == VAlign::Center) top = t.rect.top() + (t.rect.height() - block) / 2;
    else if (t.vAlign == VAlign::Bottom) top = t.rect.bottom() - kCellPaddingYMm - block;
    const Qt::Alignment flags = horizontal(t.hAlign) | Qt::AlignVCenter;
    for (const QString& line : t.lines) {
      const QRectF lineMm(t.rect.left() + kCellPaddingXMm, top, t.rect.width() - 2 * kCellPaddingXMm, t.lineHeightMm);
      painter.drawText(dots(lineMm), int(flags) | Qt::TextDontClip, line);
      top += t.lineHeightMm;
    }
  }
  painter.restore();
}

QImage renderReportPage(const PreparedReport& report, int pageIndex, double dpi, int highlight) {
  const double dotsPerMm = dpi / 25.4;
  QImage image(int(report.pageWidthMm * dotsPerMm + 0.5), int(report.pageHeightMm * dotsPerMm + 0.5),
               QImage::Format_RGB32);
  const int dotsPerMeter = int(dpi / 0.0254 + 0.5);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(Qt::white);
  if (pageIndex >= 0 && pageIndex < report.pages.size()) {
    QPainter painter(&image);
    paintReportPage(painter, report.pages[pageIndex], dotsPerMm, {}, highlight);
  }
  return image;
}

bool writeReportPdf(const PreparedReport& report, const QString& path, const QString& title) {
  return writeFileSafely(path, [&](QIODevice& device) {
    QPdfWriter pdf(&device);
    pdf.setResolution(int(kPdfDpi));
    pdf.setPageSize(QPageSize(QSizeF(report.pageWidthMm, report.pageHeightMm), QPageSize::Millimeter));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("GRX-1"));
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    const double dotsPerMm = kPdfDpi / 25.4;
    for (int i = 0; i < report.pages.size(); ++i) {
      if (i > 0 && !pdf.newPage()) return false;
      paintReportPage(painter, report.pages[i], dotsPerMm);
    }
    return painter.end();
  }) == SafeWriteResult::Ok;
}

QString pngPagePath(const QString& path, int page) {
  const QFileInfo info(path);
  const QString suffix = info.suffix();
  const QString stem = suffix.isEmpty() ? path : path.left(path.size() - suffix.size() - 1);
  return stem + u'-' + QString::number(page) + (suffix.isEmpty() ? QString() : u'.' + suffix);
}

QStringList removeEarlierPngPages(const QString& path, int pageCount) {
  // The names pngPagePath gives: "stem-" + a page number without leading zeros + ".suffix".
  const QFileInfo first(pngPagePath(path, 1));
  const QString prefix = first.fileName().chopped(first.suffix().size() + (first.suffix().isEmpty() ? 1 : 2));
  const QString ending = first.suffix().isEmpty() ? QString() : u'.' + first.suffix();
  std::map<int, QString> pages;
  const QDir folder = first.dir();
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
    if (!name.startsWith(prefix) || !name.endsWith(ending)) continue;
    const QString number = name.mid(prefix.size(), name.size() - prefix.size() - ending.size());
    bool ok = false;
    const int page = number.toInt(&ok);
    if (!ok || page <= pageCount || number != QString::number(page)) continue;
    const QFileInfo info(folder.filePath(name));
    if (info.isSymLink() || !info.isFile()) continue;  // only a picture of ours; a FIFO is never opened
    QFile file(info.filePath());
    static const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);
    if (!file.open(QIODevice::ReadOnly) || file.read(8) != kPngSignature) continue;
    file.close();
    if (file.remove()) pages.emplace(page, name);
  }
  QStringList removed;
  for (const auto& [page, name] : pages) removed.append(name);
  return removed;
}

bool writeReportPngPages(const PreparedReport& report, const QString& path, double dpi, QStringList* written,
                         QStringList* removed) {
  // Every page is made first and the files replaced together: a failure leaves all the old pages.
  QList<FileContent> pages;
  for (int i = 0; i < report.pages.size(); ++i) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !renderReportPage(report, i, dpi).save(&buffer, "PNG")) return false;
    pages.append({pngPagePath(path, i + 1), bytes});
  }
  if (writeFilesSafely(pages) != SafeWriteResult::Ok) return false;
  if (written)
    for (const FileContent& page : pages) written->append(page.path);
  const QStringList earlier = removeEarlierPngPages(path, int(pages.size()));
  if (removed) *removed = earlier;
  return true;
}

}  // namespace grx
