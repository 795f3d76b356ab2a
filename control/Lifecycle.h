#pragma once
// Opening and ending a listing: Init, Show, Abort, Wait.

#include <QString>
#include <QVariant>

class QWidget;

namespace quillet {

struct InitRequest {
    QWidget *ParentWin = nullptr;
    QString LName;
    QVariant PrtScreen, POri, PPaper;
    bool cSETUP = true, cSELPAG = true, cPRINT = true, cFIND = true, ASize = true, cCANCEL = true;
    bool CanShow = false, NoDialog = false;
    int NPW = 0, NPH = 0;
};

namespace lifecycle {

/// Result codes added up by Init.
enum InitResult : quint8 {
    Opened = 0,
    OrientationRefused = 1,
    PaperRefused = 2,
    SpoolNotOpened = 3,
};

quint8 Init(const InitRequest &request);
void Show();
void Abort();
bool Wait();
/// Gives the host's window back: enabled, active, focused.
void ReactivateParent();

} // namespace lifecycle
} // namespace quillet
