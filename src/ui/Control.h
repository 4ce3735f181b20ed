#pragma once

#include "Colors.h"
#include "Event.h"
#include "Font.h"
#include "FormObserver.h"

#include <QString>

// A control of the form model: its properties exactly as code set them, in twips and OLE
// colours. Setters return false when the control refuses the value (the statement fails);
// a setter that changes nothing tells no one.
class Control {
public:
    enum class Kind { Form, TextBox, CommandButton, VScrollBar, Timer };

    Control(Kind kind, QString name) : kind_(kind), name_(std::move(name)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    Kind kind() const { return kind_; }
    const QString& name() const { return name_; }

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool visible() const { return visible_; }
    bool enabled() const { return enabled_; }
    int tabIndex() const { return tabIndex_; }
    const QString& toolTipText() const { return toolTipText_; }
    const Font& font() const { return font_; }
    Colors::Ole backColor() const { return backColor_; }
    Colors::Ole foreColor() const { return foreColor_; }

    bool setLeft(int twips) { return assign(left_, twips, Property::Left); }
    bool setTop(int twips) { return assign(top_, twips, Property::Top); }
    virtual bool setWidth(int twips) {
        return twips >= 0 && assign(width_, twips, Property::Width);
    }
    virtual bool setHeight(int twips) {
        return twips >= 0 && assign(height_, twips, Property::Height);
    }
    bool setVisible(bool v) { return assign(visible_, v, Property::Visible); }
    bool setEnabled(bool v) { return assign(enabled_, v, Property::Enabled); }
    bool setToolTipText(const QString& t) { return assign(toolTipText_, t, Property::ToolTipText); }
    bool setBackColor(Colors::Ole c) { return assign(backColor_, c, Property::BackColor); }
    bool setForeColor(Colors::Ole c) { return assign(foreColor_, c, Property::ForeColor); }

    Event Change;
    Event Click;
    Event DblClick;
    Event LostFocus;

    void setObserver(FormObserver* observer) { observer_ = observer; }

    // Creation values, set before anyone observes.
    void create(int left, int top, int width, int height, bool visible, int tabIndex) {
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
        visible_ = visible;
        tabIndex_ = tabIndex;
    }
    void createLook(const Font& font, Colors::Ole back, Colors::Ole fore) {
        font_ = font;
        backColor_ = back;
        foreColor_ = fore;
    }
    void createToolTip(const QString& tip) { toolTipText_ = tip; }

protected:
    template <typename T> bool assign(T& member, const T& value, Property property) {
        if (member == value)
            return true;
        member = value;
        notify(property);
        return true;
    }
    void notify(Property property) const {
        if (observer_)
            observer_->propertyChanged(*this, property);
    }

private:
    Kind kind_;
    QString name_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    int tabIndex_ = 0;
    QString toolTipText_;
    Font font_;
    Colors::Ole backColor_ = Colors::WindowBackground;
    Colors::Ole foreColor_ = Colors::WindowText;
    FormObserver* observer_ = nullptr;
};
