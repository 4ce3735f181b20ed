// The alarm record's reader on any bytes. A record it accepts is written back to the same
// record, and a program brought back from it runs a few hundred ticks over an hour without
// breaking: whatever a damaged or hostile file holds, the worst is a refusal with a reason.
#include "FakePlatform.h"
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AlarmRecordText::ReadResult read = AlarmRecordText::read(fuzz::bytes(data, size));
    FUZZ_CHECK(read.record.has_value() != !read.error.isEmpty(), "a record or a reason");
    if (!read.record)
        return 0;
    const AlarmRecordText::ReadResult again =
        AlarmRecordText::read(AlarmRecordText::write(*read.record));
    FUZZ_CHECK(again.record && again.record->sameAs(*read.record), "written back the same");

    Harness h;
    h.program.keeper.resume(*read.record);
    h.program.keeper.windowShown();
    for (int i = 0; i < 400 && !h.program.ended(); ++i) {
        h.clock.advance(9);
        h.form.Timer1.TimerEvent.raise();
    }
    FUZZ_CHECK(h.alarms.records.size() <= 1, "one record for one alarm");
    return 0;
}
