#pragma once
// Between Qt fonts and LOGFONT descriptions.
#include <QFont>

#include "axview/win_types.h"

namespace axview {

// The pixel height of a point size at the screen's resolution.
int PointsToPixels(double points);
LOGFONT LogFontFromQFont(const QFont& font);
// sizeTenths: the size in tenths of a point (90 = 9 points).
QFont QFontFromLogFont(const LOGFONT& font, int sizeTenths);
void SetFaceName(LOGFONT& font, const std::string& face);

}  // namespace axview
