#pragma once

#include "model/WindowDefinition.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace xilan {

class Services;

// One copy rule: whenever the input's text changes, its whole text becomes
// the overlay's text.
struct TextBinding
{
    QString input;   // an EditBox of the window
    QString overlay; // a TransLabel of the same window
};

// A generator window: its picture, the overlays over it, the inputs that feed
// them and the captions beside them.
struct GeneratorDefinition
{
    const WindowDefinition *windowDefinition = nullptr;
    QString picture;      // the PicBox showing the template picture
    QStringList overlays; // in stacking order, topmost first
    QStringList inputs;   // in tab order
    QStringList captions; // labels and transparent labels that never change
    std::vector<TextBinding> bindings;
};

// Copies the input's whole text into the overlay, in the window that raised
// the event: not trimmed, limited or merged with the overlay's default, so an
// emptied input leaves its overlay empty.
void ApplyTextBinding(Services &services, const QString &window, const TextBinding &binding);

} // namespace xilan
