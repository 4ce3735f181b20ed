#include "alarm/AlarmRecord.h"

#include "alarm/AlarmMode.h"
#include "platform/AlarmBus.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {
// Far beyond any screen, yet clear of overflow in the layout's arithmetic.
constexpr double LargestTwips = 10'000'000;

// An instant beyond the years the text can say (a ReRun Off time of thirty digits) is written
// as the last one it can, or the first: a record that cannot be read back would be lost.
QString instantText(qint64 ms) {
    constexpr qint64 first = -62135596800000; // 0001-01-01T00:00:00.000Z
    constexpr qint64 last = 253402300799999;  // 9999-12-31T23:59:59.999Z
    return QDateTime::fromMSecsSinceEpoch(std::clamp(ms, first, last), Qt::UTC)
        .toString(Qt::ISODateWithMs);
}

bool isPendingMode(int mode) {
    using namespace AlarmModes;
    return mode == ModeArmed || (mode >= ModeReRunNoTimes && mode <= ModeLaunchFailedInYourFace);
}

// Ids name files: a few hex digits, nothing a path could be made of.
bool isId(const QString& id) {
    if (id.size() < 8 || id.size() > 64)
        return false;
    for (const QChar c : id) {
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')))
            return false;
    }
    return true;
}

// Reads the fields one by one; the first that is missing or wrong names the reason.
class Reader {
public:
    explicit Reader(QJsonObject object) : object_(std::move(object)) {}
    const QString& error() const { return error_; }

    QString text(const QJsonObject& from, const QString& key, const QString& where = {}) {
        const QJsonValue v = from.value(key);
        if (!v.isString())
            fail(where + key + QStringLiteral(" is not a text"));
        return v.toString();
    }
    QString text(const QString& key) { return text(object_, key); }

    double number(const QJsonObject& from, const QString& key, double low, double high,
                  const QString& where = {}) {
        const QJsonValue v = from.value(key);
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || !(d >= low && d <= high)) {
            fail(where + key + QStringLiteral(" is not a number from %1 to %2").arg(low).arg(high));
            return low; // the record is refused; the value only has to be harmless
        }
        return d;
    }
    int whole(const QJsonObject& from, const QString& key, double low, double high,
              const QString& where = {}) {
        const double d = number(from, key, low, high, where);
        if (d != std::floor(d))
            fail(where + key + QStringLiteral(" is not a whole number"));
        return int(d);
    }

    std::optional<qint64> instant(const QString& key, bool nullable) {
        const QJsonValue v = object_.value(key);
        if (nullable && v.isNull())
            return std::nullopt;
        const QDateTime t = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
        if (!v.isString() || !t.isValid()) {
            fail(key + QStringLiteral(" is not a date and time"));
            return 0;
        }
        return t.toMSecsSinceEpoch();
    }

    QJsonObject part(const QString& key) {
        const QJsonValue v = object_.value(key);
        if (!v.isObject())
            fail(key + QStringLiteral(" is missing"));
        return v.toObject();
    }

    void fail(const QString& reason) {
        if (error_.isEmpty())
            error_ = reason;
    }

private:
    QJsonObject object_;
    QString error_;
};
} // namespace

bool AlarmRecord::sameAs(const AlarmRecord& o) const {
    return id == o.id && state == o.state && mode == o.mode && message == o.message &&
           sameInstant(dueMs, o.dueMs) && onsetMs.has_value() == o.onsetMs.has_value() &&
           (!onsetMs || sameInstant(*onsetMs, *o.onsetMs)) &&
           dropDeadSeconds == o.dropDeadSeconds && dropDeadText == o.dropDeadText &&
           startSetText == o.startSetText && rateMin == o.rateMin && rateSet == o.rateSet &&
           rateMax == o.rateMax && reRunOffSeconds == o.reRunOffSeconds &&
           reRunOnSeconds == o.reRunOnSeconds && cycles == o.cycles &&
           settingsFile == o.settingsFile && controlAreaOpen == o.controlAreaOpen &&
           windowLeft == o.windowLeft && windowTop == o.windowTop && windowWidth == o.windowWidth &&
           windowHeight == o.windowHeight && windowState == o.windowState;
}

QByteArray AlarmRecordText::write(const AlarmRecord& r) {
    QJsonObject o;
    o.insert(QStringLiteral("format"), QStringLiteral("pingolet-alarm"));
    o.insert(QStringLiteral("version"), AlarmRecord::FormatVersion);
    o.insert(QStringLiteral("id"), r.id);
    o.insert(QStringLiteral("state"), alarmStateName(r.state));
    o.insert(QStringLiteral("mode"), r.mode);
    o.insert(QStringLiteral("message"), r.message);
    o.insert(QStringLiteral("due"), instantText(r.dueMs));
    o.insert(QStringLiteral("onset"),
             r.onsetMs ? QJsonValue(instantText(*r.onsetMs)) : QJsonValue());
    o.insert(QStringLiteral("dropDead"),
             QJsonObject{{QStringLiteral("seconds"), double(r.dropDeadSeconds)},
                         {QStringLiteral("text"), r.dropDeadText}});
    o.insert(QStringLiteral("startSet"), r.startSetText);
    o.insert(QStringLiteral("rate"), QJsonObject{{QStringLiteral("min"), r.rateMin},
                                                 {QStringLiteral("value"), r.rateSet},
                                                 {QStringLiteral("max"), r.rateMax}});
    o.insert(QStringLiteral("reRun"),
             QJsonObject{{QStringLiteral("offSeconds"), double(r.reRunOffSeconds)},
                         {QStringLiteral("onSeconds"), double(r.reRunOnSeconds)},
                         {QStringLiteral("cycles"), r.cycles}});
    o.insert(QStringLiteral("settingsFile"), r.settingsFile);
    o.insert(QStringLiteral("window"),
             QJsonObject{{QStringLiteral("leftTwips"), r.windowLeft},
                         {QStringLiteral("topTwips"), r.windowTop},
                         {QStringLiteral("widthTwips"), r.windowWidth},
                         {QStringLiteral("heightTwips"), r.windowHeight},
                         {QStringLiteral("state"), r.windowState},
                         {QStringLiteral("controlAreaOpen"), r.controlAreaOpen}});
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

AlarmRecordText::ReadResult AlarmRecordText::read(const QByteArray& text) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (!document.isObject())
        return {std::nullopt, QStringLiteral("not an alarm record (%1)")
                                  .arg(parseError.error == QJsonParseError::NoError
                                           ? QStringLiteral("no JSON object")
                                           : parseError.errorString())};
    const QJsonObject o = document.object();
    if (o.value(QStringLiteral("format")).toString() != QLatin1String("pingolet-alarm"))
        return {std::nullopt, QStringLiteral("not an alarm record")};
    const QJsonValue version = o.value(QStringLiteral("version"));
    if (!version.isDouble())
        return {std::nullopt, QStringLiteral("the record carries no format version")};
    if (version.toDouble() != AlarmRecord::FormatVersion)
        return {std::nullopt,
                QStringLiteral("format version %1, which this Pingolet (format %2) cannot read")
                    .arg(version.toDouble())
                    .arg(AlarmRecord::FormatVersion)};

    Reader in(o);
    AlarmRecord r;
    r.id = in.text(QStringLiteral("id"));
    if (in.error().isEmpty() && !isId(r.id))
        in.fail(QStringLiteral("id is not 8 to 64 hex digits"));
    const QString state = in.text(QStringLiteral("state"));
    const std::optional<AlarmState> known = alarmStateNamed(state);
    if (in.error().isEmpty() && (!known || *known == AlarmState::Away))
        in.fail(QStringLiteral("state \"%1\" is no state of a running alarm").arg(state));
    r.state = known.value_or(AlarmState::Idle);
    r.mode = std::int16_t(in.whole(o, QStringLiteral("mode"), 0, 12));
    if (in.error().isEmpty() && !isPendingMode(r.mode))
        in.fail(QStringLiteral("mode %1 is no pending alarm").arg(r.mode));
    r.message = in.text(QStringLiteral("message"));
    r.dueMs = in.instant(QStringLiteral("due"), false).value_or(0);
    r.onsetMs = in.instant(QStringLiteral("onset"), true);

    const QString dd = QStringLiteral("dropDead.");
    const QJsonObject dropDead = in.part(QStringLiteral("dropDead"));
    r.dropDeadSeconds = float(in.number(dropDead, QStringLiteral("seconds"), 0, 1e38, dd));
    r.dropDeadText = in.text(dropDead, QStringLiteral("text"), dd);
    r.startSetText = in.text(QStringLiteral("startSet"));

    const QString rt = QStringLiteral("rate.");
    const QJsonObject rate = in.part(QStringLiteral("rate"));
    r.rateMin = std::int16_t(in.whole(rate, QStringLiteral("min"), 1, 999, rt));
    r.rateSet = std::int16_t(in.whole(rate, QStringLiteral("value"), 1, 999, rt));
    r.rateMax = std::int16_t(in.whole(rate, QStringLiteral("max"), 1, 999, rt));
    if (in.error().isEmpty() && !(r.rateMin <= r.rateSet && r.rateSet <= r.rateMax))
        in.fail(QStringLiteral("the rate's minimum, value and maximum are out of order"));

    const QString rr = QStringLiteral("reRun.");
    const QJsonObject reRun = in.part(QStringLiteral("reRun"));
    r.reRunOffSeconds = float(in.number(reRun, QStringLiteral("offSeconds"), 0, 1e38, rr));
    r.reRunOnSeconds = float(in.number(reRun, QStringLiteral("onSeconds"), 0, 1e38, rr));
    r.cycles = in.text(reRun, QStringLiteral("cycles"), rr);

    r.settingsFile = in.text(QStringLiteral("settingsFile"));
    const QString wn = QStringLiteral("window.");
    const QJsonObject window = in.part(QStringLiteral("window"));
    r.windowLeft = in.whole(window, QStringLiteral("leftTwips"), -LargestTwips, LargestTwips, wn);
    r.windowTop = in.whole(window, QStringLiteral("topTwips"), -LargestTwips, LargestTwips, wn);
    r.windowWidth = in.whole(window, QStringLiteral("widthTwips"), 0, LargestTwips, wn);
    r.windowHeight = in.whole(window, QStringLiteral("heightTwips"), 0, LargestTwips, wn);
    r.windowState = in.whole(window, QStringLiteral("state"), 0, 2, wn);
    const QJsonValue open = window.value(QStringLiteral("controlAreaOpen"));
    if (!open.isBool())
        in.fail(wn + QStringLiteral("controlAreaOpen is not true or false"));
    r.controlAreaOpen = open.toBool();

    if (!in.error().isEmpty())
        return {std::nullopt, in.error()};
    return {r, {}};
}
