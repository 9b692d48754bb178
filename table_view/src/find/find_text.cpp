#include "find_text.h"

#include <QString>

#include "axview/helpers.h"

namespace axview {

namespace {

QString Folded(const std::string& s, bool matchCase) {
  const QString decomposed = QString::fromStdString(s).normalized(QString::NormalizationForm_KD);
  QString out;
  out.reserve(decomposed.size());
  for (QChar c : decomposed) {
    if (c.category() == QChar::Mark_NonSpacing || c.isPunct() || c.isSymbol()) continue;
    out.append(c);
  }
  return matchCase ? out : out.toLower();
}

}  // namespace

bool CellEquals(const std::string& cell, const std::string& text, bool matchCase) {
  return Folded(cell, matchCase) == Folded(text, matchCase);
}

bool FindInCell(const std::string& cell, const std::string& text, bool matchCase, int& start, int& end) {
  std::string c = cell, t = text;
  if (!matchCase) {
    c = QString::fromStdString(cell).toLower().toStdString();
    t = QString::fromStdString(text).toLower().toStdString();
  }
  SearchPartialString(c.c_str(), t.c_str(), 0, &start, &end);
  return start >= 0;
}

std::string ReplaceAll(const std::string& cell, const std::string& find, const std::string& replace) {
  if (find.empty()) return cell;
  std::string out;
  size_t pos = 0;
  for (;;) {
    const size_t at = cell.find(find, pos);
    if (at == std::string::npos) break;
    out.append(cell, pos, at - pos);
    out += replace;
    pos = at + find.size();
  }
  out.append(cell, pos, std::string::npos);
  return out;
}

}  // namespace axview
