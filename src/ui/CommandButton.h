#pragma once

#include "Control.h"

class CommandButton : public Control {
public:
    explicit CommandButton(QString name) : Control(Kind::CommandButton, std::move(name)) {}

    const QString& caption() const { return caption_; }
    bool setCaption(const QString& caption) { return assign(caption_, caption, Property::Caption); }

    void createCaption(const QString& caption) { caption_ = caption; }

private:
    QString caption_;
};
