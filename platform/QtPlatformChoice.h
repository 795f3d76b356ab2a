#pragma once
// Which Qt platforms a process tries when its host named none. Shared by the
// library's C interface and the command line, which only link the library's
// public symbols: so everything here is inline.

#include <QByteArray>
#include <QtGlobal>

namespace quillet {

/// The platforms to try, in order, for a window on the desktop. A Wayland
/// compositor comes first where one is announced: WAYLAND_DISPLAY names the
/// socket the client connects to, whereas XDG_SESSION_TYPE describes the login
/// session, which an ssh or su shell inherits without its socket and which a
/// nested or headless compositor never sets. Qt goes on to the next platform
/// when one does not connect, and offscreen always starts, so a host without
/// a display keeps running.
inline QByteArray desktopPlatforms(const QByteArray &waylandDisplay)
{
    return waylandDisplay.isEmpty() ? QByteArrayLiteral("xcb;offscreen")
                                    : QByteArrayLiteral("wayland;xcb;offscreen");
}

/// Sets QT_QPA_PLATFORM to platforms when the host left it unset or empty,
/// before the QApplication starts; true when it did. Where Qt has a platform
/// of its own (Windows, macOS), the host's Qt default stays.
inline bool choosePlatformsUnlessHostDid(const QByteArray &platforms)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return false;
    qputenv("QT_QPA_PLATFORM", platforms);
    return true;
#else
    Q_UNUSED(platforms);
    return false;
#endif
}

/// desktopPlatforms() for this process's environment.
inline QByteArray desktopPlatforms()
{
    return desktopPlatforms(qgetenv("WAYLAND_DISPLAY"));
}

} // namespace quillet
