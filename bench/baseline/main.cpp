// One window, one line edit, one timer: every V milliseconds the counter goes up and the line
// edit shows it divided by ten, and after 10 x V ticks it starts again, as Pingolet's counter
// does. Once the window has been painted it beeps once, as Pingolet does at its start, with
// Pingolet's own beep. Nothing else, so that whatever Pingolet costs beyond this is its own. The
// window and the line edit have the sizes of Pingolet's window and its counter box, so that both
// programs have the same pixels to draw.
#include "platform/linux/sound/PulseBeep.h"
#include "view/WhenFirstShown.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int interval = argc > 1 ? qBound(1, QString::fromLocal8Bit(argv[1]).toInt(), 999) : 20;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Baseline"));
    window.resize(368, 143);
    auto* edit = new QLineEdit(&window);
    edit->setReadOnly(true);
    edit->setGeometry(262, 116, 35, 19);
    QFont font = edit->font();
    font.setPointSizeF(8.25);
    edit->setFont(font);

    int counter = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++counter;
        edit->setText(QString::number(counter / 10.0));
        if (counter >= 10 * interval)
            counter = 0;
    });
    timer.start(interval);

    PulseBeep beep;
    beep.hold();
    beep.beep();
    window.show();
    whenFirstShown(window, [&beep] { beep.release(); });
    return QApplication::exec();
}
