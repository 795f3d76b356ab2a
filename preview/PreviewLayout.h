#pragma once
// The preview window's geometry, in twips as its layout rule gives it, and
// what its toolbar and panels share.

#include "widgets/Twips.h"

#include <QFrame>

#include <cstdint>
#include <limits>

namespace quillet::preview_layout {

// Geometry in twips.
constexpr int InitialWidth = 12000;
constexpr int InitialHeight = 9000;
constexpr int MinWidth = 1000;
constexpr int ToolbarHeight = 660;
constexpr int ButtonTop = 45;
constexpr int ButtonWidth = 615;
constexpr int ButtonHeight = 555;
constexpr int ButtonSlot = 660;
constexpr int FirstButtonLeft = 240;
constexpr int PagePanelTop = 30;
constexpr int PagePanelWidth = 1995;
constexpr int PagePanelHeight = 600;
constexpr int NavigationTop = 240;
constexpr int NavigationWidth = 435;
constexpr int NavigationHeight = 315;
constexpr int PageLabelHeight = 195;
constexpr int ZoomPanelTop = 120;
constexpr int ZoomPanelWidth = 1275;
constexpr int ZoomPanelHeight = 420;
constexpr int ScrollBarThickness = 255;
constexpr int PageMarginTwips = 200;
constexpr int ScrollArrowStepTwips = 300;

constexpr int PageMargin = twipsToPixels(PageMarginTwips);
constexpr int MaxScrollRange = std::numeric_limits<int16_t>::max();
/// Whole percents tried by the automatic fit, from 100 % down.
constexpr int FitFromPercent = 100;
constexpr int FitDownToPercent = 10;
constexpr float MinZoom = 0.1f;
constexpr float MaxZoom = 2.0f;
constexpr double ZoomStepPercent = 5;
constexpr double MinPercent = 10;
constexpr double MaxPercent = 200;
/// Thumbnails are the page at this zoom, in whole percent as the page zooms.
constexpr float ThumbnailZoom = 0.15f;
constexpr int WheelAnglePerNotch = 120;

/// Makes frame one of the toolbar's raised panels, named name.
inline void makePanel(QFrame &frame, const char *name)
{
    frame.setObjectName(QLatin1String(name));
    frame.setFrameStyle(QFrame::Panel | QFrame::Raised);
}

inline int rightEdge(const QWidget *widget)
{
    return widget->x() + widget->width();
}

} // namespace quillet::preview_layout
