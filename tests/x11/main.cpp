#include "FakeDesktop.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// A private X server for the test process; -displayfd tells its number once it listens.
pid_t startXvfb() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, STDOUT_FILENO);
        dup2(devNull, STDERR_FILENO);
        const std::string fd = std::to_string(pipeFds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string number;
    pollfd readable{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (poll(&readable, 1, 30000) == 1 && read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    if (pid < 0 || number.empty()) {
        std::fputs("Xvfb did not start\n", stderr);
        return -1;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return pid;
}
} // namespace

FakeDesktop& desktop() {
    static FakeDesktop desk;
    return desk;
}

// The window's marks and focus as the X server sees them: the program on the xcb platform of a
// private Xvfb, the desktop around it played by the test.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const pid_t xvfb = startXvfb();
    if (xvfb < 0)
        return 1;
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("XAUTHORITY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    desktop(); // before the program's connection reads what the window manager supports
    int result = 1;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    return result;
}
