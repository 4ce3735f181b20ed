#pragma once

#include "CommandButton.h"
#include "Control.h"
#include "TextBox.h"
#include "Timer.h"
#include "VScrollBar.h"

#include <array>

// The window and its fifteen controls as they stand at creation. Width and Height are the
// outer size in twips, frame and caption included.
class Form1 : public Control {
public:
    enum WindowStateValue { Normal = 0, Minimized = 1, Maximized = 2 };

    Form1();

    const QString& caption() const { return caption_; }
    int windowState() const { return windowState_; }

    bool setCaption(const QString& caption) { return assign(caption_, caption, Property::Caption); }
    // Set from code, each raises Resize, nested, when the value really changes.
    bool setWidth(int twips) override;
    bool setHeight(int twips) override;
    bool setWindowState(int state);

    // The real window was resized, minimised or restored: one Resize with all three up to date.
    void windowResized(int widthTwips, int heightTwips, int state);
    // The user moved the window: its place is known, and nothing is laid out for it.
    void windowMoved(int leftTwips, int topTwips);

    Event Load;
    Event Resize;
    Event Unload; // the user closes the window

    TextBox Text10{QStringLiteral("Text10")};
    TextBox Text9{QStringLiteral("Text9")};
    CommandButton CmdEditINI{QStringLiteral("CmdEditINI")};
    CommandButton CmdOpnX{QStringLiteral("CmdOpnX")};
    TextBox Text8{QStringLiteral("Text8")};
    TextBox Text7{QStringLiteral("Text7")};
    TextBox Text6{QStringLiteral("Text6")};
    TextBox Text5{QStringLiteral("Text5")};
    CommandButton CmdWrtINI{QStringLiteral("CmdWrtINI")};
    TextBox Text4{QStringLiteral("Text4")};
    TextBox Text3{QStringLiteral("Text3")};
    VScrollBar VScroll1{QStringLiteral("VScroll1")};
    TextBox Text2{QStringLiteral("Text2")};
    Timer Timer1{QStringLiteral("Timer1")};
    TextBox Text1{QStringLiteral("Text1")};

    // In creation order.
    std::array<Control*, 15> controls();

    // Every control and the form report their changes to this one observer.
    void setFormObserver(FormObserver* observer);

    static constexpr int CreationClientWidth = 5520;
    static constexpr int CreationClientHeight = 2145;
    // The frame the model assumes until the view has measured the real one: 8 x 27 pixels.
    static constexpr int DefaultFrameWidth = 8 * 15;
    static constexpr int DefaultFrameHeight = 27 * 15;

private:
    QString caption_;
    int windowState_ = Normal;
};
