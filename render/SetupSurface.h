#pragma once

#include "render/PrinterDevice.h"

namespace quillet {

struct Session;

/// Applies the listing's orientation and paper to the printer and measures the
/// page: PageW, PageH (whole millimetres) and the unprintable border OffX, OffY.
/// Ends any print job first, so callers run it before drawing a document.
void SetupSurface(Session &session);

/// Gives the printer a custom paper of widthMm x heightMm; discards a job in progress.
CustomPaperResult SetCustomPaper(Session &session, int widthMm, int heightMm);

} // namespace quillet
