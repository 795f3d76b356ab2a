// Opens a C host's preview, the way a C or Python program does (the C
// interface starts Qt and picks its platform), and prints the platform it ran
// on and whether the preview window was shown and exposed; then closes it.
// Exits 1 when the window never showed.

#include "quillet/quillet.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

constexpr int GiveUpMs = 30000;
const char ListingName[] = "Wayland preview";

/// The preview, once Qt says the compositor shows it: visible and exposed.
QWidget *exposedPreview()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().contains(QLatin1String(ListingName)) &&
            window->windowHandle() && window->windowHandle()->isExposed())
            return window;
    return nullptr;
}

} // namespace

int main()
{
    quillet_t *q = quillet_create();
    if (!q ||
        quillet_init(q, ListingName, nullptr, nullptr, nullptr, QUILLET_DEFAULTS | QUILLET_NODIALOG, 0, 0)) {
        QTextStream(stderr) << "open_preview: the listing did not open\n";
        return 1;
    }
    quillet_c(q, "A page shown on the desktop's own window system", 2, QUILLET_CURRENT, QUILLET_CURRENT);

    bool exposed = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget *preview = exposedPreview()) {
            exposed = true;
            preview->close();
        }
    });
    poll.start(20);
    // A preview that never shows must not hang the test: close whatever opened.
    QTimer::singleShot(GiveUpMs, [] { QApplication::closeAllWindows(); });
    quillet_show(q); // returns when the preview is closed

    QTextStream(stdout) << QGuiApplication::platformName() << (exposed ? " exposed" : " never exposed")
                        << '\n';
    quillet_destroy(q);
    return exposed ? 0 : 1;
}
