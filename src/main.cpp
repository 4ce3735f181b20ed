#include "app/Program.h"
#include "platform/Platform.h"
#include "platform/linux/DesktopDocumentOpener.h"
#include "platform/linux/IniProfileFile.h"
#include "platform/linux/LinuxFileSystem.h"
#include "platform/linux/ProcessLauncher.h"
#include "platform/linux/PulseBeep.h"
#include "platform/linux/QtProgramEnvironment.h"
#include "platform/linux/QtWindowControl.h"
#include "platform/linux/SystemClock.h"
#include "view/MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    SystemClock clock;
    PulseBeep beep;
    ProcessLauncher launcher;
    QtWindowControl window;
    QtProgramEnvironment environment(QApplication::arguments());
    IniProfileFile profile;
    LinuxFileSystem files;
    DesktopDocumentOpener opener;
    Platform platform{clock, beep, launcher, window, environment, profile, files, opener};

    Program program(platform);
    MainWindow view(program.form);

    // Start-up runs before the window appears, as the form's Load does.
    program.form.Load.raise();
    if (program.ended())
        return 0;
    view.show();
    return QApplication::exec();
}
