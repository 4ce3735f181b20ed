#include "platform/linux/desktop/DisplayProbe.h"

#include <QDir>
#include <QtGlobal>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

namespace {
// Whether a server accepts a connection on the unix socket at path; in the abstract namespace
// (no file) when abstract.
bool accepts(const QByteArray& path, bool abstract) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstract ? 1 : 0;
    if (path.isEmpty() || offset + std::size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path + offset, path.constData(), std::size_t(path.size()));
    const auto length =
        socklen_t(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool accepted = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(fd);
    return accepted;
}

// The number of a display on this machine (":0", ":1.0", "unix:0"); none for any other form.
std::optional<QByteArray> localDisplayNumber(QByteArray display) {
    if (display.startsWith("unix:"))
        display.remove(0, 4);
    if (!display.startsWith(':'))
        return std::nullopt;
    const qsizetype dot = display.indexOf('.');
    const QByteArray number = display.mid(1, dot < 0 ? -1 : dot - 1);
    const QByteArray screen = dot < 0 ? QByteArray("0") : display.mid(dot + 1);
    const auto digits = [](const QByteArray& s) {
        return !s.isEmpty() &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (!digits(number) || !digits(screen))
        return std::nullopt;
    return number;
}
} // namespace

bool DisplayProbe::x11Opens(const QByteArray& display) {
    if (display.isEmpty())
        return false;
    // A display of this machine (":0", ":1.0", "unix:0"): its server's socket, where the X
    // library looks too. Asking it is free, where a whole X connection (the authority file, the
    // set-up exchange) took some 1.5 ms before the window could start. A server that accepts
    // and then refuses is rare; Qt's failure is then turned into the same line (StartGuard).
    if (const auto number = localDisplayNumber(display)) {
        const QByteArray socket = "/tmp/.X11-unix/X" + *number;
        return accepts(socket, true) || accepts(socket, false);
    }
    // Over the network, or a form of its own: only the X library knows how to reach it.
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

bool DisplayProbe::waylandOpens(const QByteArray& name) {
    if (name.isEmpty())
        return false;
    const QByteArray path = QDir::isAbsolutePath(QString::fromLocal8Bit(name))
                                ? name
                                : qgetenv("XDG_RUNTIME_DIR") + '/' + name;
    return path.startsWith('/') && accepts(path, false);
}
