#pragma once

#include <QString>

class QWidget;

namespace xilan {

// The platform's standard message box, described by a style word: the low
// four bits choose the buttons (0 OK, 1 OK and Cancel, 2 Abort, Retry and
// Ignore, 3 Yes, No and Cancel, 4 Yes and No, 5 Retry and Cancel), the next
// four the icon (1 stop, 2 question, 3 exclamation, 4 information), the next
// four the default button. The box is modal to the whole program.
class MessageBox
{
public:
    enum Result { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
    static constexpr int IconError = 0x10;

    // Returns the button that closed the box once the user has dismissed it by
    // any means: a button, Enter, Esc or the close button.
    static int show(const QString &text, int style, const QString &title, QWidget *owner);
};

} // namespace xilan
