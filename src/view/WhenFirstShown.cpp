#include "WhenFirstShown.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
constexpr int LatestMs = 1000;

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget& window, std::function<void()> work)
        : QObject(&window), work_(std::move(work)) {
        window.installEventFilter(this);
        QTimer::singleShot(LatestMs, this, [this] { run(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Queued, so that the paint and its flush to the screen are over first.
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, this, [this] { run(); });
        return QObject::eventFilter(watched, event);
    }

private:
    void run() {
        if (!work_)
            return;
        const std::function<void()> work = std::move(work_);
        work_ = nullptr;
        parent()->removeEventFilter(this);
        deleteLater();
        work();
    }

    std::function<void()> work_;
};
} // namespace

void whenFirstShown(QWidget& window, std::function<void()> work) {
    new FirstPaintWatch(window, std::move(work));
}
