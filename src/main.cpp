#include "app/DisplayChoice.h"
#include "app/Program.h"
#include "app/Usage.h"
#include "platform/Platform.h"
#include "platform/linux/DBusNotifier.h"
#include "platform/linux/DesktopDocumentOpener.h"
#include "platform/linux/IniProfileFile.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/ProcessLauncher.h"
#include "platform/linux/PulseBeep.h"
#include "platform/linux/QtProgramEnvironment.h"
#include "platform/linux/QtWindowControl.h"
#include "platform/linux/SystemClock.h"
#include "view/AppIcon.h"
#include "view/ApplicationId.h"
#include "view/MainWindow.h"
#include "view/WhenFirstShown.h"

#include <QApplication>
#include <QPixmapCache>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Answered before anything asks for a display, so that they work from any terminal.
    switch (Usage::request(argc, argv)) {
    case Usage::Request::Help:
        std::fputs(Usage::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case Usage::Request::Version:
        std::fputs(Usage::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case Usage::Request::None:
        break;
    }
    DisplayChoice::apply();

    QApplication app(argc, argv);
    QApplication::setDesktopFileName(applicationId());
    QApplication::setWindowIcon(appIcon());
    // The style's drawings of this window's controls fit in a fraction of Qt's 10 MB default.
    QPixmapCache::setCacheLimit(256);

    SystemClock clock;
    PulseBeep beep;
    ProcessLauncher launcher;
    QtWindowControl window;
    QtProgramEnvironment environment(QApplication::arguments());
    IniProfileFile profile;
    LinuxFileSystem files;
    DesktopDocumentOpener opener;
    DBusNotifier notifier([&window](const QString& token) { window.bringForward(token); });
    Platform platform{clock, beep, launcher, window, environment, profile, files, opener, notifier};

    Program program(platform);

    // Start-up runs before the window appears, as the form's Load does; its beep sounds once
    // the window is on the screen. The window is made after it, from the form as Load left it,
    // so that nothing Load hides is prepared for showing.
    beep.hold();
    program.form.Load.raise();
    if (program.ended())
        return 0;
    MainWindow view(program.form);
    view.show();
    // Whatever the program starts with but its window does not need in order to appear goes
    // here, to run once the window has been painted for the first time.
    whenFirstShown(view, [&beep] { beep.release(); });
    return QApplication::exec();
}
