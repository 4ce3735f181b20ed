#include "ViewFixture.h"

#include "view/WhenFirstShown.h"

#include <QTest>

// The window's size and state against the form's outer Width and Height in twips.
class WindowTest : public ViewTest {
protected:
    void SetUp() override {
        form.Resize.connect([this] {
            resizes << Seen{form.width(), form.height(), form.windowState()};
        });
    }
    // Lets the window system's events and the view's settling of them run.
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    // The frame the form counts, whatever the platform draws.
    static QSize frame() { return {0, 27}; }
    int outerTwips(int client, int frame) const { return (client + frame) * 15; }
    struct Seen {
        int width, height, state;
        bool operator==(const Seen&) const = default;
    };
    friend void PrintTo(const Seen& s, std::ostream* os) {
        *os << '{' << s.width << ", " << s.height << ", " << s.state << '}';
    }
    QList<Seen> resizes;

    // Counts the resize events a widget receives.
    struct ResizeCounter : QObject {
        explicit ResizeCounter(QWidget& w) { w.installEventFilter(this); }
        bool eventFilter(QObject*, QEvent* e) override {
            count += e->type() == QEvent::Resize;
            return false;
        }
        int count = 0;
    };
};

TEST_F(WindowTest, FirstShowRaisesOneResize) {
    view.show();
    settle();
    // The form's outer size less the frame it counts.
    EXPECT_EQ(view.size(), QSize(376, 143));
    EXPECT_EQ(resizes, (QList<Seen>{Seen{outerTwips(376, frame().width()),
                                         outerTwips(143, frame().height()), 0}}));
}

TEST_F(WindowTest, SizeAndStateFromTheModelAreNotReportedBack) {
    view.show();
    settle();
    resizes.clear();
    const int shownHeight = form.height();

    form.setWidth(6000);
    form.setHeight(3000);
    settle();
    EXPECT_EQ(view.size(), QSize(400, 200) - frame());
    // Only the model's own Resize for each.
    EXPECT_EQ(resizes, (QList<Seen>{{6000, shownHeight, 0}, {6000, 3000, 0}}));

    form.setWindowState(Form1::Minimized);
    settle();
    EXPECT_TRUE(view.isMinimized());
    EXPECT_EQ(resizes.size(), 3);
}

TEST_F(WindowTest, UserResizingMinimisingAndRestoringRaiseOneResizeEach) {
    view.show();
    settle();
    resizes.clear();

    view.resize(500, 300); // as the window manager does it for the user
    settle();
    const int w = outerTwips(500, frame().width()), h = outerTwips(300, frame().height());
    EXPECT_EQ(resizes, (QList<Seen>{Seen{w, h, 0}}));

    view.showMinimized();
    settle();
    view.showNormal();
    settle();
    EXPECT_EQ(resizes, (QList<Seen>{{w, h, 0}, {w, h, 1}, {w, h, 0}}));

    // The state comes first and the screen-filling size after it: one Resize for both. The
    // window is resized once, by the platform: the form's new size is not pushed back half-new.
    resizes.clear();
    ResizeCounter windowResizes(view);
    view.showMaximized();
    settle();
    EXPECT_EQ(windowResizes.count, 1);
    ASSERT_EQ(resizes.size(), 1);
    EXPECT_EQ(resizes[0].state, 2);
    EXPECT_GT(view.width(), 500);
    EXPECT_EQ(resizes[0].width, outerTwips(view.width(), frame().width()));
}

// What the program starts after its window appears runs once, when the window has first been
// painted, and not before it is shown.
TEST(WhenFirstShown, RunsOnceAfterTheFirstPaint) {
    QWidget window;
    int runs = 0;
    whenFirstShown(window, [&runs] { ++runs; });
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE_WITH_TIMEOUT(runs, 1, 500); // well before the fallback of a second
    window.repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
}
