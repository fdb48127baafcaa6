// The rules' colours and Qt's, one into the other.
#pragma once

#include "ui/skin/SkinRules.h"

#include <QColor>

namespace skin {

inline QColor ToQColor(SRgb c) { return QColor(c.m_nRed, c.m_nGreen, c.m_nBlue); }
inline SRgb ToRgb(const QColor& c) { return {c.red(), c.green(), c.blue()}; }

}  // namespace skin
