#include "ViewFixture.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QScrollBar>
#include <QTest>

namespace {
// Name and role of every visible control, as an assistive technology finds them: the
// window's accessible children.
QStringList namesAndRoles(QWidget& window) {
    QStringList found;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        if (child->state().invisible)
            continue;
        found << child->text(QAccessible::Name) + u'/' + qAccessibleRoleString(child->role());
    }
    found.sort();
    return found;
}
} // namespace

using AccessibilityTest = ViewTest;

TEST_F(AccessibilityTest, EveryControlHasANameAndARole) {
    form.Text4.setText("Tea");
    form.CmdOpnX.setCaption("Less");
    for (Control* c : std::initializer_list<Control*>{&form.Text5, &form.Text6, &form.Text7,
                                                      &form.Text8, &form.Text10, &form.CmdEditINI})
        c->setVisible(true);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    EXPECT_EQ(namesAndRoles(view), (QStringList{
                                       "DropDead/EditableText",
                                       "Help/Button",
                                       "Less/Button",
                                       "Maximum slider value/EditableText",
                                       "Message/EditableText",
                                       "Minimum slider value/EditableText",
                                       "ReRun cycles/EditableText",
                                       "Save New Settings/Button",
                                       "Slider setting/EditableText",
                                       "StartSet/EditableText",
                                       "Time to or since the beeping/EditableText",
                                       "Update counter/EditableText",
                                       "Update rate in use/EditableText",
                                       "Update rate/Slider",
                                   }));

    // The slider tells its value, and a screen reader's change of it reaches the model.
    form.VScroll1.setMin(32);
    form.VScroll1.setMax(1);
    form.VScroll1.setValue(20);
    QAccessibleInterface* slider =
        QAccessible::queryAccessibleInterface(&widget<QScrollBar>(form.VScroll1));
    ASSERT_TRUE(slider->valueInterface());
    EXPECT_EQ(slider->text(QAccessible::Value), "20");
    EXPECT_EQ(slider->valueInterface()->maximumValue().toInt(), 32);
    slider->valueInterface()->setCurrentValue(25);
    EXPECT_EQ(form.VScroll1.value(), 25);
    // Each control's tooltip is its description.
    QAccessibleInterface* startSet =
        QAccessible::queryAccessibleInterface(view.findChild<QWidget*>("Text8"));
    EXPECT_EQ(startSet->text(QAccessible::Description), form.Text8.toolTipText());
}

TEST_F(AccessibilityTest, TheSliderShowsThatItHasTheFocus) {
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    auto& slider = widget<QScrollBar>(form.VScroll1);
    const QColor highlight = slider.palette().color(QPalette::Highlight);
    auto highlighted = [&] {
        const QImage image = slider.grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == highlight;
        return count;
    };
    widget<QWidget>(form.Text4).setFocus(Qt::TabFocusReason);
    const int unfocused = highlighted();
    slider.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(slider.hasFocus());
    EXPECT_GT(highlighted(), unfocused + slider.height());
}
