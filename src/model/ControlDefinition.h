#pragma once

#include "ControlProperties.h"

#include <QRect>
#include <QString>

namespace xilan {

// One control of a window, as its definition describes it.
struct ControlDefinition
{
    QString name;   // unique within its window only
    QString parent; // empty: the window's client area; else a PicBox of the same window
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool Visible = true;
    bool Disabled = false;
    bool TabStop = false;
    int TabOrder = 0;
    ControlProperties properties;

    ControlKind kind() const { return kindOf(properties); }
    QRect rect() const { return QRect(left, top, width, height); }

    template<typename P> const P &as() const { return std::get<P>(properties); }
    template<typename P> P &as() { return std::get<P>(properties); }
};

// The kind's Chinese name, which control names begin with.
QString chineseKindName(ControlKind kind);

} // namespace xilan
