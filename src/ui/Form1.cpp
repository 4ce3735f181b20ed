#include "Form1.h"

namespace {
const Font windowDefault = Font::sansSerif(8.25, true);
const Font displayFont = Font::sansSerif(8.25, false);

void textBox(TextBox& box, const QString& text, int maxLength, int left, int top, int width,
             int height, bool visible, int tabIndex, const Font& font, Colors::Ole back,
             const QString& tip) {
    box.createText(text, maxLength, false);
    box.create(left, top, width, height, visible, tabIndex);
    box.createLook(font, back, Colors::WindowText);
    box.createToolTip(tip);
}

void button(CommandButton& b, const QString& caption, int left, int top, int width, int height,
            bool visible, int tabIndex, const QString& tip) {
    b.createCaption(caption);
    b.create(left, top, width, height, visible, tabIndex);
    b.createLook(displayFont, Colors::ButtonFace, Colors::WindowText);
    b.createToolTip(tip);
}
} // namespace

Form1::Form1() : Control(Kind::Form, QStringLiteral("Form1")) {
    caption_ = QStringLiteral("Pingolet");
    create(0, 0, CreationClientWidth + DefaultFrameWidth, CreationClientHeight + DefaultFrameHeight,
           true, 0);
    createLook(windowDefault, Colors::ButtonFace, Colors::WindowText);

    textBox(Text10, {}, 15, 4440, 1320, 855, 285, false, 4, windowDefault, Colors::WindowBackground,
            QStringLiteral("DropDead: Time for which beeping will occurr -- beyond which nagging "
                           "is quiet, but in-your-face"));
    textBox(Text9, QStringLiteral("0"), 0, 240, 1410, 1770, 195, true, 13, windowDefault,
            Colors::Yellow, QStringLiteral("Number of Cycles in «ReRun:» mode"));
    button(CmdEditINI, QStringLiteral("Help"), 5025, 480, 505, 290, false, 8,
           QStringLiteral("No Editor Assigned"));
    button(CmdOpnX, QStringLiteral("More"), 5025, 120, 505, 290, true, 2,
           QStringLiteral("Open and Close an area to set Slider Values and Delay Time, and to "
                          "edit the .INI file."));
    textBox(Text8, {}, 15, 4440, 1680, 855, 285, false, 3, windowDefault, Colors::WindowBackground,
            QStringLiteral("StartSet: Alarm time, as either specific time (##h##), or as duration "
                           "of pre-alarm period with units of: sec, min, hour, day, week."));
    textBox(Text7, {}, 3, 4440, 840, 495, 285, false, 5, windowDefault, Colors::WindowBackground,
            QStringLiteral("Minimum slider value."));
    textBox(Text6, {}, 3, 4440, 480, 495, 285, false, 6, windowDefault, Colors::WindowBackground,
            QStringLiteral("Slider Setting: Update Rate"));
    textBox(Text5, {}, 3, 4440, 120, 495, 285, false, 7, windowDefault, Colors::WindowBackground,
            QStringLiteral("Maximum slider value."));
    button(CmdWrtINI, QStringLiteral("Save New Settings"), 1240, 1730, 1575, 325, true, 9,
           QStringLiteral("Save revised Settings to .INI file, for use when next the program is "
                          "called."));
    textBox(Text4, QStringLiteral("Text4\r\n"), 0, 120, 120, 4940, 1550, true, 0,
            Font::monospace(12, true), Colors::WindowBackground,
            QStringLiteral("Enter your message here. Enter the two-character message '/?', for "
                           "help."));
    Text4.createText(QStringLiteral("Text4\r\n"), 0, true);
    textBox(Text3, {}, 0, 2920, 1750, 840, 285, true, 10, displayFont, Colors::ButtonFace,
            QStringLiteral("Time to When BEEPING will Commence; OR Time for since BEEPING was "
                           "initiated."));
    VScroll1.createRange(2, 0, 1, 1, 3);
    VScroll1.create(5190, 480, 255, 1550, true, 1);
    textBox(Text2, {}, 0, 3940, 1750, 530, 285, true, 11, displayFont, Colors::ButtonFace,
            QStringLiteral("Updates occur when this number matches the one to the right"));
    Timer1.create(0, 0, 0, 0, false, -1);
    textBox(Text1, {}, 0, 4640, 1750, 420, 285, true, 12, displayFont, Colors::ButtonFace,
            QStringLiteral("Update Rate"));
}

bool Form1::setWidth(int twips) {
    if (twips < 0)
        return false;
    if (twips == width()) // nothing changes, so nothing to raise
        return true;
    Control::setWidth(twips);
    Resize.raise();
    return true;
}

bool Form1::setHeight(int twips) {
    if (twips < 0)
        return false;
    if (twips == height())
        return true;
    Control::setHeight(twips);
    Resize.raise();
    return true;
}

bool Form1::setWindowState(int state) {
    if (state < Normal || state > Maximized)
        return false;
    if (state == windowState_)
        return true;
    windowState_ = state;
    notify(Property::WindowState);
    Resize.raise();
    return true;
}

void Form1::windowResized(int widthTwips, int heightTwips, int state) {
    if (widthTwips >= 0)
        Control::setWidth(widthTwips);
    if (heightTwips >= 0)
        Control::setHeight(heightTwips);
    if (state >= Normal && state <= Maximized)
        assign(windowState_, state, Property::WindowState);
    Resize.raise();
}

void Form1::windowMoved(int leftTwips, int topTwips) {
    setLeft(leftTwips);
    setTop(topTwips);
}

std::array<Control*, 15> Form1::controls() {
    return {&Text10,    &Text9, &CmdEditINI, &CmdOpnX,  &Text8, &Text7,  &Text6, &Text5,
            &CmdWrtINI, &Text4, &Text3,      &VScroll1, &Text2, &Timer1, &Text1};
}

void Form1::setFormObserver(FormObserver* observer) {
    setObserver(observer);
    for (Control* c : controls())
        c->setObserver(observer);
}
