#pragma once

#include <QString>

#include <functional>

namespace xilan {

class Services;

enum class Event { Created, CanClose, Clicked, TextChanged };

// Handlers are plain operations run on the UI thread; the shell hands them its
// services. A CanClose handler answers whether the window may close.
using Handler = std::function<void(Services &)>;
using CloseQuery = std::function<bool(Services &)>;

struct EventBinding
{
    QString source; // a control's name; empty for the window itself
    Event event = Event::Clicked;
    Handler handler;      // for every event but CanClose
    CloseQuery canClose;  // for CanClose
};

} // namespace xilan
