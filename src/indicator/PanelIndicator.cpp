#include "indicator/PanelIndicator.h"

#include "AlarmProxy.h"
#include "indicator/PanelTexts.h"
#include "platform/ApplicationId.h"
#include "platform/ErrorNote.h"
#include "platform/linux/desktop/X11SystemTray.h"
#include "platform/linux/shared/AlarmBusNames.h"
#include "platform/linux/shared/SessionBus.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDateTime>
#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>

namespace {
const QString Watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");
// The icon and its tooltip change at most this often: never at the tick's pace.
constexpr int RefreshMs = 1000;
} // namespace

PanelIndicator::PanelIndicator(SessionBus& bus, AlarmStore& store, std::function<QIcon()> icon,
                               QString program, QString stateFolder)
    : session_(bus), store_(store), makeIcon_(std::move(icon)), program_(std::move(program)),
      stateFolder_(std::move(stateFolder)) {
    refresh_.setInterval(RefreshMs);
    refresh_.setTimerType(Qt::CoarseTimer);
    connect(&refresh_, &QTimer::timeout, this, &PanelIndicator::refresh);
}

PanelIndicator::~PanelIndicator() = default;

QString PanelIndicator::busName() {
    return applicationId() + QStringLiteral(".Indicator");
}

void PanelIndicator::start() {
    bus_ = session_.connection();
    if (!bus_)
        return;
    connect(bus_->interface(), &QDBusConnectionInterface::serviceRegistered, this,
            &PanelIndicator::nameAcquired);
    // In the queue (no flags): the bus hands the name on when its owner's connection goes.
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request << busName() << 0u;
    bus_->asyncCall(request);
}

void PanelIndicator::nameAcquired(const QString& name) {
    if (name != busName() || owner_)
        return;
    owner_ = true;
    // No sender named: naming one would make Qt ask the bus who owns it, and wait.
    bus_->connect(QString(), WatcherPath, Watcher, QStringLiteral("StatusNotifierHostRegistered"),
                  this, SLOT(hostRegistered()));
    auto* watcher =
        new QDBusServiceWatcher(Watcher, *bus_, QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this,
            &PanelIndicator::hostRegistered);
    alarms_ = std::make_unique<RunningAlarms>(*bus_, store_, stateFolder_);
    connect(alarms_.get(), &RunningAlarms::changed, this, &PanelIndicator::alarmsChanged);
    alarms_->start();
    // Told when one comes, by the bus or by the X server, never asked for at intervals.
    x11Tray_ = std::make_unique<X11SystemTray>([this] { show(); });
    if (x11Tray_->present())
        show();
    else
        lookForHost();
}

// A watcher that came, or told of a host that registered with it.
void PanelIndicator::hostRegistered() {
    if (!tray_)
        lookForHost();
}

void PanelIndicator::lookForHost() {
    if (tray_)
        return;
    QDBusMessage get = QDBusMessage::createMethodCall(
        Watcher, WatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << Watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* call = new QDBusPendingCallWatcher(bus_->asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *w;
        if (!reply.isError() && reply.value().variant().toBool())
            show();
    });
}

void PanelIndicator::show() {
    if (tray_)
        return;
    icon_ = makeIcon_();
    menu_ = std::make_unique<QMenu>();
    tray_ = std::make_unique<QSystemTrayIcon>();
    connect(tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    openMostPressing();
            });
    alarmsChanged();
    tray_->setContextMenu(menu_.get());
    tray_->show();
    refresh_.start();
}

void PanelIndicator::alarmsChanged() {
    if (!tray_)
        return;
    // Rebuilt only when its entries change, not at every change of a message: the alarms that
    // answer, which of them sound, and whether kept ones wait.
    QStringList shape;
    for (const Verbs::ListedAlarm& a : alarms_->alarms())
        if (!a.service.isEmpty())
            shape << a.service + (alarmSounds(a.state) ? QStringLiteral(" sounds") : QString());
    shape << (alarms_->anyKept() ? QStringLiteral("kept") : QString());
    if (shape != menuShape_) {
        menuShape_ = shape;
        rebuildMenu();
    }
    refresh();
}

void PanelIndicator::refresh() {
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const std::vector<Verbs::ListedAlarm> alarms = alarms_->alarms();
    IndicatorMark mark;
    if (const auto pressing = PanelTexts::mostPressing(alarms, now)) {
        const Verbs::ListedAlarm& a = alarms[*pressing];
        mark.sounding = alarmSounds(a.state);
        if (!mark.sounding && a.dueMs)
            mark.left = PanelTexts::shortSpan(*a.dueMs - now);
    }
    if (!(mark == mark_) || tray_->icon().isNull()) {
        mark_ = mark;
        tray_->setIcon(indicatorIcon(icon_, mark));
    }
    QStringList lines;
    for (const Verbs::ListedAlarm& a : alarms)
        lines << PanelTexts::line(a, now);
    const QString toolTip = lines.isEmpty() ? QStringLiteral("Pingolet") : lines.join(u'\n');
    if (toolTip != toolTip_) {
        toolTip_ = toolTip;
        tray_->setToolTip(toolTip);
    }
    for (QAction* action : menu_->actions()) {
        if (QMenu* submenu = action->menu()) {
            const auto alarm = std::find_if(alarms.begin(), alarms.end(), [&](const auto& a) {
                return a.service == submenu->objectName();
            });
            if (alarm == alarms.end())
                continue;
            if (const QString title = PanelTexts::menuTitle(*alarm, now); action->text() != title)
                action->setText(title);
        }
    }
}

void PanelIndicator::rebuildMenu() {
    // Clearing the menu drops the submenus' entries, not the submenus themselves.
    qDeleteAll(menu_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
    menu_->clear();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (const Verbs::ListedAlarm& a : alarms_->alarms()) {
        if (a.service.isEmpty())
            continue; // kept, with no program to answer
        QMenu* submenu = menu_->addMenu(PanelTexts::menuTitle(a, now));
        submenu->setObjectName(a.service);
        const QString service = a.service;
        submenu->addAction(QStringLiteral("Open"), this, [this, service] {
            call(service, QStringLiteral("Open"), [](AlarmProxy& p) { return p.Open(); });
        });
        if (alarmSounds(a.state))
            submenu->addAction(QStringLiteral("Acknowledge"), this, [this, service] {
                call(service, QStringLiteral("Acknowledge"),
                     [](AlarmProxy& p) { return p.Acknowledge(); });
            });
        submenu->addAction(QStringLiteral("Snooze 5 min"), this, [this, service] {
            call(service, QStringLiteral("Snooze"),
                 [](AlarmProxy& p) { return p.Snooze(QStringLiteral("5m")); });
        });
        submenu->addAction(QStringLiteral("Cancel"), this, [this, service] {
            call(service, QStringLiteral("Cancel"), [](AlarmProxy& p) { return p.Cancel(); });
        });
    }
    menu_->addSeparator();
    if (alarms_->anyKept())
        menu_->addAction(QStringLiteral("Resume kept alarms"), this, [this] {
            QProcess::startDetached(program_, {QStringLiteral("--resume")});
        });
    menu_->addAction(QStringLiteral("New alarm…"), this,
                     [this] { QProcess::startDetached(program_, {}); });
}

// The same call as the command line's, never waited for.
void PanelIndicator::call(const QString& service, const QString& what,
                          const std::function<QDBusPendingCall(AlarmProxy&)>& method) {
    AlarmProxy proxy(service, AlarmBusNames::path(), *bus_);
    auto* pending = new QDBusPendingCallWatcher(method(proxy), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [what, service](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (w->isError())
                    errorNote(QStringLiteral("%1 %2: %3")
                                  .arg(what, service.mid(AlarmBusNames::servicePrefix().size(), 8),
                                       w->error().message()));
            });
}

// A click on the icon: the alarm that sounds, else the nearest.
void PanelIndicator::openMostPressing() {
    const std::vector<Verbs::ListedAlarm> alarms = alarms_->alarms();
    const auto pressing = PanelTexts::mostPressing(alarms, QDateTime::currentMSecsSinceEpoch());
    if (pressing && !alarms[*pressing].service.isEmpty())
        call(alarms[*pressing].service, QStringLiteral("Open"),
             [](AlarmProxy& p) { return p.Open(); });
}
