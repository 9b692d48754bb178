#include "cell_text_painter.h"

#include "header_paint.h"

namespace axview {

CellTextPainter::CellTextPainter(const QFont& font) : m_font(font), m_metrics(font) {
  m_raw = QRawFont::fromFont(font);
  if (!m_raw.isValid()) return;
  m_fast = true;
  for (int c = 32; c < 127; ++c) {
    const QChar ch(c);
    QList<quint32> glyphs = m_raw.glyphIndexesForString(QString(ch));
    if (glyphs.size() != 1 || (glyphs[0] == 0 && c != ' ')) {
      m_glyphs[c] = 0;
      m_advances[c] = -1;  // not in this font: such texts take the normal way
      continue;
    }
    m_glyphs[c] = glyphs[0];
    m_advances[c] = m_raw.advancesForGlyphIndexes(glyphs).value(0).x();
  }
  QList<quint32> ellipsis = m_raw.glyphIndexesForString(QString(QChar(0x2026)));
  if (ellipsis.size() == 1 && ellipsis[0] != 0) {
    m_ellipsisGlyph = ellipsis[0];
    m_ellipsisAdvance = m_raw.advancesForGlyphIndexes(ellipsis).value(0).x();
  }
  m_run.setRawFont(m_raw);
}

void CellTextPainter::Draw(QPainter& painter, const QRect& rect, std::string_view text, Qt::Alignment horizontal) {
  if (rect.width() <= 0 || text.empty()) return;
  qreal width = 0;
  bool fast = m_fast;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 32 || u > 126 || m_advances[u] < 0) {
      fast = false;
      break;
    }
    width += m_advances[u];
  }
  const bool cut = width > rect.width();
  // Texts that need shaping are drawn the normal way.
  if (!fast || (cut && m_ellipsisAdvance < 0)) {
    painter.setFont(m_font);
    DrawElidedText(painter, m_metrics, rect, QString::fromUtf8(text.data(), static_cast<int>(text.size())), horizontal);
    return;
  }
  m_runGlyphs.clear();
  m_runPositions.clear();
  qreal pen = 0;
  const qreal room = cut ? rect.width() - m_ellipsisAdvance : rect.width();
  if (room < 0) return;  // not even the ellipsis fits
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (cut && pen + m_advances[u] > room) break;
    m_runGlyphs.push_back(m_glyphs[u]);
    m_runPositions.emplace_back(pen, 0);
    pen += m_advances[u];
  }
  if (cut) {
    // Cut at the end with an ellipsis, as much of the text as fits before it.
    m_runGlyphs.push_back(m_ellipsisGlyph);
    m_runPositions.emplace_back(pen, 0);
    pen += m_ellipsisAdvance;
  }
  width = pen;
  qreal x = rect.left();
  if (horizontal & Qt::AlignRight) x = rect.left() + rect.width() - width;
  else if (horizontal & Qt::AlignHCenter) x = rect.left() + (rect.width() - width) / 2;
  const qreal y = rect.top() + (rect.height() - m_metrics.height()) / 2 + m_metrics.ascent();
  m_run.setRawData(m_runGlyphs.data(), m_runPositions.data(), static_cast<int>(m_runGlyphs.size()));
  painter.drawGlyphRun(QPointF(x, y), m_run);
}

}  // namespace axview
