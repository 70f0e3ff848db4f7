#pragma once

#include "model/ControlProperties.h"

#include <QLineEdit>

namespace xilan {

// A one-line input. It announces every change of its text that the user
// makes (typing, an input method's commit, deletion, cut, paste, undo, redo),
// and every setting of its text by the program, through changed(); caret and
// selection moves announce nothing.
class EditBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit EditBox(const EditBoxProperties &properties, QWidget *parent = nullptr);

    xilan::Text text() const;
    // Announces the change exactly once, also when the text is unchanged.
    void setText(const xilan::Text &text);

    // The top of the text line inside the box: one line high (the height of
    // "W"), centred in the area inside the frame, rounded towards zero.
    int textLineTop() const;

Q_SIGNALS:
    void changed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QRect contentsArea() const;
    void placeTextLine();
    void showSelection(bool show);
    void onTextEdited();
    template<typename Handle> void announceAfter(Handle handle);

    // While a key or an input method event is being handled, a change is
    // announced when the handling has finished rather than in its middle.
    int m_handlingInput = 0;
    bool m_changePending = false;
    bool m_hideSelection = true;
    QPalette m_selectionShown;
    QPalette m_selectionHidden;
};

} // namespace xilan
