#pragma once

#include "indicator/IndicatorIcon.h"
#include "indicator/RunningAlarms.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QIcon>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class AlarmProxy;
class AlarmStore;
class QMenu;
class QSystemTrayIcon;
class SessionBus;
class X11SystemTray;

// One status icon in the panel for all the user's running Pingolets. Every program queues for
// one well-known name on the session bus; the one that holds it shows the icon, and the bus hands
// the name to the next in line when it ends, however it ends. The icon shows the alarm that
// matters most, its tooltip every alarm, its menu the answers of the command line. It is made
// only once a panel that shows such icons is there (a StatusNotifierItem host, or an X11 tray):
// Qt looks for one once, when the first icon is made. Where none is, nothing is shown.
class PanelIndicator : public QObject {
    Q_OBJECT
public:
    // icon: makes the application's, once the panel icon is shown; program: this executable,
    // which "New alarm…" starts afresh; stateFolder: where the store keeps its records.
    PanelIndicator(SessionBus& bus, AlarmStore& store, std::function<QIcon()> icon, QString program,
                   QString stateFolder);
    ~PanelIndicator() override;
    PanelIndicator(const PanelIndicator&) = delete;
    PanelIndicator& operator=(const PanelIndicator&) = delete;

    // Joins the queue for the name; once the window is up.
    void start();

    // The name the programs queue for.
    static QString busName();

private slots:
    void nameAcquired(const QString& name);
    void hostRegistered();

private:
    void lookForHost();
    void show();
    void alarmsChanged();
    void refresh();
    void rebuildMenu();
    // what: the answer's name, for a note when it fails.
    void call(const QString& service, const QString& what,
              const std::function<QDBusPendingCall(AlarmProxy&)>& method);
    void openMostPressing();

    SessionBus& session_;
    AlarmStore& store_;
    std::function<QIcon()> makeIcon_;
    QIcon icon_;
    QString program_;
    QString stateFolder_;
    std::optional<QDBusConnection> bus_;
    bool owner_ = false;
    std::unique_ptr<X11SystemTray> x11Tray_;
    std::unique_ptr<RunningAlarms> alarms_;
    std::unique_ptr<QMenu> menu_;
    std::optional<QStringList> menuShape_; // what the menu was built for
    std::unique_ptr<QSystemTrayIcon> tray_;
    QTimer refresh_;
    IndicatorMark mark_;
    QString toolTip_;
};
