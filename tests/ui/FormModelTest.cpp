#include "ui/Form1.h"

#include "QtPrinters.h"

#include <QStringList>

#include <gtest/gtest.h>
#include <vector>

namespace {
struct Recorder : FormObserver {
    std::vector<std::pair<QString, Property>> changes;
    void propertyChanged(const Control& c, Property p) override {
        changes.push_back({c.name(), p});
    }
};
} // namespace

TEST(FormModel, CreationValues) {
    Form1 f;
    EXPECT_EQ(f.caption(), "Pingolet");
    EXPECT_EQ(f.width(), 5640);
    EXPECT_EQ(f.height(), 2550);
    EXPECT_EQ(f.Text4.text(), "Text4\r\n");
    EXPECT_TRUE(f.Text4.multiLine());
    EXPECT_EQ(f.Text4.font(), Font::monospace(12, true));
    EXPECT_EQ(f.Text9.backColor(), Colors::Yellow);
    EXPECT_EQ(f.Text1.backColor(), Colors::ButtonFace);
    EXPECT_EQ(f.Text8.maxLength(), 15);
    EXPECT_EQ(f.Text5.maxLength(), 3);
    EXPECT_FALSE(f.Text10.visible());
    EXPECT_FALSE(f.CmdEditINI.visible());
    EXPECT_EQ(f.CmdOpnX.caption(), "More");
    EXPECT_EQ(f.Text9.toolTipText(), QString::fromUtf8("Number of Cycles in «ReRun:» mode"));
    EXPECT_EQ(f.VScroll1.min(), 2);
    EXPECT_EQ(f.VScroll1.max(), 0);
    EXPECT_EQ(f.VScroll1.value(), 1);
    EXPECT_EQ(f.VScroll1.largeChange(), 3);

    // Tab order: Message Area, slider, More, StartSet, DropDead, min, setting, max, Help, Save.
    std::vector<QString> byTab(14);
    for (Control* c : f.controls())
        if (c->kind() != Control::Kind::Timer)
            byTab.at(c->tabIndex()) = c->name();
    EXPECT_EQ(byTab, (std::vector<QString>{"Text4", "VScroll1", "CmdOpnX", "Text8", "Text10",
                                           "Text7", "Text6", "Text5", "CmdEditINI", "CmdWrtINI",
                                           "Text3", "Text2", "Text1", "Text9"}));
}

TEST(FormModel, ChangesRaiseNestedEventsOnlyWhenTheValueChanges) {
    Form1 f;
    Recorder r;
    f.setFormObserver(&r);
    QStringList seen;
    f.Text4.Change.connect([&] {
        seen << f.Text4.text();
        if (f.Text4.text() == "ReRun:")
            f.Text4.setText("template"); // nested, before the outer setter returns
        seen << "after " + f.Text4.text();
    });
    f.Text4.setText("ReRun:");
    EXPECT_EQ(seen, (QStringList{"ReRun:", "template", "after template", "after template"}));
    seen.clear();
    f.Text4.setText("template");
    EXPECT_TRUE(seen.isEmpty()) << "the same text raises nothing";
    EXPECT_EQ(r.changes.size(), 2u);
}

TEST(FormModel, ScrollBarKeepsValueWithinItsEnds) {
    Form1 f;
    int changes = 0;
    f.VScroll1.Change.connect([&] { ++changes; });
    EXPECT_TRUE(f.VScroll1.setMin(32));
    EXPECT_TRUE(f.VScroll1.setValue(20));
    EXPECT_FALSE(f.VScroll1.setValue(40)) << "outside the range: refused";
    EXPECT_FALSE(f.VScroll1.setMin(40000));
    EXPECT_EQ(f.VScroll1.value(), 20);
    EXPECT_TRUE(f.VScroll1.setMin(10)); // value now beyond the top end
    EXPECT_EQ(f.VScroll1.value(), 10);
    EXPECT_EQ(changes, 2);
}

TEST(FormModel, WindowSizeFromCodeRaisesResize) {
    Form1 f;
    int resizes = 0;
    f.Resize.connect([&] { ++resizes; });
    f.setWidth(4520);
    f.setWidth(4520);
    EXPECT_FALSE(f.setHeight(-1));
    f.setWindowState(Form1::Minimized);
    f.windowResized(6000, 3000, Form1::Normal);
    EXPECT_EQ(resizes, 3);
    EXPECT_EQ(f.width(), 6000);
    EXPECT_EQ(f.windowState(), Form1::Normal);
    EXPECT_FALSE(f.Timer1.setInterval(70000));
}
