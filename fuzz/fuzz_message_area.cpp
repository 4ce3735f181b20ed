// The Message Area's classification on any text, typed into a started program, with updates
// between the edits. Two leading bytes choose the situation; the rest is up to eight messages,
// split at NUL characters, as UTF-8 or as UTF-16.
//
//   byte 0: bit 0 UTF-16, bits 1-2 the countdown, bit 3 launches succeed, bit 4 a BEEP command,
//           bits 5-6 the DropDead delay, bit 7 long steps between updates
//   byte 1: bits 0-1 the time of day at the start, bits 2-3 updates after each edit
#include "FakePlatform.h"
#include "FuzzCheck.h"

#include <cmath>

using namespace AlarmModes;

namespace {

bool knownMode(std::int16_t mode) {
    return mode == ModeIdle ||
           (mode >= ModeArmed && mode <= ModeLaunchFailedInYourFace && mode != 3 && mode != 4);
}

QStringList messages(QByteArrayView raw, bool utf16) {
    const QString text = utf16 ? fuzz::fromUtf16Le(raw) : QString::fromUtf8(raw);
    QStringList parts = text.split(QChar(u'\0'));
    while (parts.size() > 8)
        parts.removeLast();
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::uint8_t situation = data[0];
    const std::uint8_t timing = data[1];
    static const char* const countdowns[] = {"0", "3s", "1.5m", "2h"};
    static const char* const dropDeads[] = {"0", "5s", "1m", "0.5h"};
    static constexpr float starts[] = {36000, 86390, 0.5f, 7200};

    Harness h;
    h.clock.now = starts[timing & 3];
    h.launcher.nextResult = situation & 8 ? 4242 : 0;
    h.program.Form_Load();
    if (situation & 16)
        h.m.BeepCommand = QStringLiteral("/bin/true");
    h.form.Text10.setText(QString::fromLatin1(dropDeads[(situation >> 5) & 3]));
    h.form.Text10.LostFocus.raise();
    h.form.Text8.setText(QString::fromLatin1(countdowns[(situation >> 1) & 3]));
    h.form.Text8.LostFocus.raise();
    FUZZ_CHECK(knownMode(h.m.AlarmMode), "alarm mode after the start-up");

    const float step = situation & 128 ? 61 : 1.5f;
    const int updates = 1 + ((timing >> 2) & 3);
    for (const QString& message :
         messages(QByteArrayView(data + 2, qsizetype(size - 2)), situation & 1)) {
        h.form.Text4.setText(message);
        FUZZ_CHECK(knownMode(h.m.AlarmMode), "alarm mode after an edit");
        for (int i = 0; i < updates && !h.program.ended(); ++i) {
            h.clock.now = std::fmod(h.clock.now + step, 86400.0f);
            h.m.TickCounter = 0; // the next tick is an update
            h.program.Timer1_Timer();
            FUZZ_CHECK(knownMode(h.m.AlarmMode), "alarm mode after an update");
            FUZZ_CHECK(!std::isnan(h.m.SecondsToAlarm), "the countdown is a number");
        }
        if (h.program.ended()) {
            FUZZ_CHECK(h.window.endCount == 1 && !h.launcher.launches.empty(),
                       "the program ends only after a launch");
            break;
        }
    }
    return 0;
}
