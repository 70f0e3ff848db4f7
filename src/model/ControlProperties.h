#pragma once

#include "Bytes.h"
#include "Colour.h"
#include "Text.h"

#include <QByteArray>

#include <cstdint>
#include <variant>

// The property set of each control kind. A member's initialiser is the kind's
// default: the value a control has when its definition stores none. Names are
// those the definitions use.
namespace xilan {

enum class ControlKind { Button, Label, TransLabel, EditBox, PicBox };

struct ButtonProperties
{
    xilan::Text Text = u"按钮"_t;
    bool DefaultButton = false;
    int HorzAlign = 1;
    int VertAlign = 1;
    QByteArray Font; // a 60-byte font record, or empty for the default GUI font
};

struct LabelProperties
{
    xilan::Text Text = u"标签"_t;
    int Effect = 0;
    QByteArray Font;
    Colour TextColor = 0x000000;
    Colour BackColor = Colour::Face;
    int Border = 0;
    int HorzAlign = 0;
    int VertAlign = 1;
    bool WordWrap = false;
};

struct TransLabelProperties
{
    xilan::Text Text = u"透明标签"_t;
    int Effect = 0;
    QByteArray Font;
    Colour TextColor = 0x000000;
    int HorzAlign = 0;
    int VertAlign = 1;
    bool WordWrap = false;
};

struct EditBoxProperties
{
    xilan::Text Text;
    int Border = 1;
    Colour TextColor = 0x000000;
    Colour BackColor = 0xFFFFFF;
    QByteArray Font;
    bool HideSelection = true;
    int MaxLength = 0; // 0: the toolkit's maximum
    bool MultiLine = false;
    int ScrollBars = 0;
    int Align = 0;          // 0 left, 1 centre, 2 right
    int InputMode = 0;      // 0 any text; 1 read-only; 2 password
    xilan::Text PasswordChar = u"*"_t;
    int CaseConversion = 0; // 0 as typed, 1 lower, 2 upper
    int SelStart = 0;
    int SelLength = 0;
};

struct PicBoxProperties
{
    // Settings blocks above this version come from a newer format and cannot
    // be read.
    static constexpr int SupportedVersion = 2;

    int version = SupportedVersion;
    int Border = 0;
    Colour BackColor = Colour::Face;
    Bytes Picture;
    int DisplayMode = 0; // 0 TopLeft, 1 Stretch, 2 CenterFit
    bool Animate = true;
};

using ControlProperties = std::variant<ButtonProperties, LabelProperties, TransLabelProperties,
                                       EditBoxProperties, PicBoxProperties>;

// The kind whose property set a properties value holds.
constexpr ControlKind kindOf(const ControlProperties &properties)
{
    return ControlKind(properties.index());
}

} // namespace xilan
