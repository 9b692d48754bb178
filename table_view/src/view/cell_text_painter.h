#pragma once
// Draws the many short texts of the grid quickly. Plain ASCII texts (numbers,
// most titles) are drawn as glyph runs from per-character tables, without
// shaping each string again; anything else goes through the normal text
// drawing. Texts are on one line, vertically centred, cut with an ellipsis.
#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <array>
#include <string_view>
#include <vector>

namespace axview {

class CellTextPainter {
 public:
  explicit CellTextPainter(const QFont& font);

  void Draw(QPainter& painter, const QRect& rect, std::string_view utf8, Qt::Alignment horizontal);
  const QFont& Font() const { return m_font; }

 private:
  QFont m_font;
  QFontMetrics m_metrics;
  QRawFont m_raw;
  bool m_fast = false;
  std::array<quint32, 128> m_glyphs{};
  std::array<qreal, 128> m_advances{};
  quint32 m_ellipsisGlyph = 0;
  qreal m_ellipsisAdvance = -1;  // negative: the font has no ellipsis
  std::vector<quint32> m_runGlyphs;
  std::vector<QPointF> m_runPositions;
  QGlyphRun m_run;
};

}  // namespace axview
