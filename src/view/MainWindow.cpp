#include "MainWindow.h"

#include "AccessibleNames.h"
#include "AppIcon.h"
#include "ButtonView.h"
#include "MessageAreaView.h"
#include "ScrollBarView.h"
#include "TextBoxView.h"
#include "TimerView.h"
#include "WindowMirror.h"

#include <QEvent>
#include <QLineEdit>

#include <algorithm>

namespace {
// The form declares these text boxes as displays: the program writes them, the user reads.
bool isDisplayBox(const Form1& form, const TextBox& box) {
    return &box == &form.Text1 || &box == &form.Text2 || &box == &form.Text3 || &box == &form.Text9;
}

std::vector<ControlView*> byTabIndex(std::vector<ControlView*> views) {
    std::stable_sort(views.begin(), views.end(), [](const ControlView* a, const ControlView* b) {
        return a->control().tabIndex() < b->control().tabIndex();
    });
    return views;
}
} // namespace

MainWindow::MainWindow(Form1& form, SteadyTime* time) : form_(form) {
    setObjectName(form.name());
    setWindowIcon(appIcon());
    {
        PushGuard::Scope pushing(guard_);
        add(std::make_unique<WindowMirror>(form, *this), form);
        for (Control* control : form.controls()) {
            switch (control->kind()) {
            case Control::Kind::TextBox: {
                auto& box = static_cast<TextBox&>(*control);
                if (box.multiLine())
                    add(std::make_unique<MessageAreaView>(box, *this, guard_), box);
                else
                    add(std::make_unique<TextBoxView>(box, *this, guard_, isDisplayBox(form, box)),
                        box);
                if (isDisplayBox(form, box))
                    throttleText(box);
                break;
            }
            case Control::Kind::CommandButton:
                add(std::make_unique<ButtonView>(static_cast<CommandButton&>(*control), *this,
                                                 guard_),
                    *control);
                break;
            case Control::Kind::VScrollBar:
                add(std::make_unique<ScrollBarView>(static_cast<VScrollBar&>(*control), *this,
                                                    guard_),
                    *control);
                break;
            case Control::Kind::Timer: {
                auto ticks = std::make_unique<TimerView>(static_cast<Timer&>(*control), *this,
                                                         time ? *time : monotonic_);
                ticks_ = ticks.get();
                add(std::move(ticks), *control);
                break;
            }
            case Control::Kind::Form:
                break;
            }
        }
        // The ReRun counter is a strip 13 pixels high in the Message Area's corner: a frame
        // would leave its digits no room.
        if (auto* counter = findChild<QLineEdit*>(form.Text9.name()))
            counter->setFrame(false);
        for (auto& mirror : mirrors_)
            mirror->pushAll();
        for (ControlView* view : views_) {
            const QString name = accessibleNameOf(form, view->control());
            if (!name.isEmpty())
                view->widget().setAccessibleName(name);
        }
        pushStacking();
        pushTabOrder();
        focusFirstControl();
    }
    form_.setFormObserver(this);
}

MainWindow::~MainWindow() {
    form_.setFormObserver(nullptr);
}

void MainWindow::add(std::unique_ptr<ControlMirror> mirror, const Control& control) {
    if (auto* view = dynamic_cast<ControlView*>(mirror.get()))
        views_.push_back(view);
    byControl_.insert(&control, mirror.get());
    mirrors_.push_back(std::move(mirror));
}

void MainWindow::throttleText(const TextBox& box) {
    ControlMirror* mirror = byControl_.value(&box);
    auto throttle = std::make_unique<FrameThrottle>([this, mirror] {
        PushGuard::Scope pushing(guard_);
        mirror->push(Property::Text);
    });
    textThrottles_.insert(&box, throttle.get());
    throttles_.push_back(std::move(throttle));
}

// Called for every property the model changes, up to a thousand times a second for the
// tick's texts: one lookup, then only that property.
void MainWindow::propertyChanged(const Control& control, Property property) {
    if (ticks_)
        ticks_->modelChanged();
    if (property == Property::Text) {
        if (FrameThrottle* throttle = textThrottles_.value(&control)) {
            throttle->request();
            return;
        }
    }
    ControlMirror* mirror = byControl_.value(&control);
    if (!mirror)
        return;
    PushGuard::Scope pushing(guard_);
    if (property == Property::TabIndex)
        pushTabOrder();
    else
        mirror->push(property);
}

// Minimised, the display boxes are on no screen: their texts wait for the restore, and the
// ticks sleep until an update is due. Restored, the ticks catch up before the texts show.
void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const bool minimised = isMinimized();
    if (minimised)
        for (auto& throttle : throttles_)
            throttle->setHeld(true);
    if (ticks_)
        ticks_->setAsleep(minimised);
    if (!minimised)
        for (auto& throttle : throttles_)
            throttle->setHeld(false);
}

// The close button, the window manager's close, and every other close of the window: the form
// hears of it before the window goes.
void MainWindow::closeEvent(QCloseEvent* event) {
    form_.Unload.raise();
    QWidget::closeEvent(event);
}

// The form lists its controls from the top down; Qt stacks the one created last on top. The
// ReRun counter, for one, sits over the Message Area's lower left corner.
void MainWindow::pushStacking() {
    for (ControlView* view : views_)
        view->widget().lower();
}

void MainWindow::pushTabOrder() {
    const std::vector<ControlView*> order = byTabIndex(views_);
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(&order[i - 1]->widget(), &order[i]->widget());
}

// The control first in the tab order has the focus when the window opens.
void MainWindow::focusFirstControl() {
    for (ControlView* view : byTabIndex(views_)) {
        const Control& control = view->control();
        if (control.visible() && control.enabled() &&
            (view->widget().focusPolicy() & Qt::TabFocus)) {
            view->widget().setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}
