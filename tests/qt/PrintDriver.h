#pragma once
// Printing from the preview as a user does: picking a queue in the system
// print dialog, reading the message a print ends with.

#include "PreviewDriver.h"
#include "control/Runtime.h"
#include "platform/QtPrinterDevice.h"

#include <QPrinter>

namespace preview_driver {

inline quillet::QtPrinterDevice &printerDevice()
{
    return quillet::Runtime::instance().printer();
}

/// Picks queue in the system print dialog that the set-up button opens.
inline void pickPrinter(PreviewWindow &window, const QString &queue)
{
    onNextModal("QPrintDialog", [queue](QWidget &dialog) {
        auto *printers = child<QComboBox>(dialog, "printers");
        printers->setCurrentIndex(printers->findText(queue));
        static_cast<QDialog &>(dialog).accept();
    });
    child<QToolButton>(window, "butSETUP")->click();
    QCOMPARE(printerDevice().printer().printerName(), queue);
}

/// Closes the next message box, if one comes while action runs; its text, marked
/// when a progress dialog was still showing behind it.
inline QString messageDuring(const std::function<void()> &action)
{
    QString message;
    QPointer<QTimer> watch = onNextModal("QMessageBox", [&message](QWidget &box) {
        message = (topLevel("wWAIT") ? QStringLiteral("behind progress: ") : QString()) +
                  static_cast<QMessageBox &>(box).text() + u' ';
        box.close();
    });
    action();
    delete watch;
    return message.trimmed();
}

} // namespace preview_driver
