#include "EditBox.h"

#include "FontMapping.h"

#include <QEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QMouseEvent>
#include <QStyleOptionFrame>
#include <QValidator>

namespace xilan {
namespace {

// Keeps every character whole and applies the case conversion, whatever the
// change: the toolkit cuts a paste or a typed character at its length limit
// by UTF-16 units, which can keep the first half of a character there, and
// a Delete between the halves of one removes only one of them.
class InputValidator : public QValidator
{
public:
    InputValidator(int caseConversion, QObject *parent)
        : QValidator(parent), m_caseConversion(caseConversion) {}

    State validate(QString &input, int &cursor) const override
    {
        for (qsizetype i = 0; i < input.size();) {
            const QChar c = input.at(i);
            if (c.isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) {
                i += 2;
            } else if (c.isSurrogate()) {
                input.remove(i, 1);
                if (cursor > i)
                    --cursor;
            } else {
                ++i;
            }
        }
        if (m_caseConversion == 1)
            input = input.toLower();
        else if (m_caseConversion == 2)
            input = input.toUpper();
        return Acceptable;
    }

private:
    int m_caseConversion;
};

} // namespace

EditBox::EditBox(const EditBoxProperties &properties, QWidget *parent) : QLineEdit(parent)
{
    if (std::optional<QFont> font = FontMapping::fontFromRecord(properties.Font))
        setFont(*font);
    QPalette pal = palette();
    pal.setColor(QPalette::Text, properties.TextColor.resolve(pal));
    pal.setColor(QPalette::Base, properties.BackColor.resolve(pal));
    setPalette(pal);
    // The toolkit paints a selection whether or not the line has the focus;
    // hidden, it is painted in the line's own colours until the focus comes.
    m_hideSelection = properties.HideSelection;
    m_selectionShown = pal;
    m_selectionHidden = pal;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        m_selectionHidden.setColor(group, QPalette::Highlight, pal.color(group, QPalette::Base));
        m_selectionHidden.setColor(group, QPalette::HighlightedText,
                                   pal.color(group, QPalette::Text));
    }
    showSelection(false);
    setFrame(properties.Border != 0);
    if (properties.MaxLength > 0)
        setMaxLength(properties.MaxLength);
    const Qt::Alignment horizontal = properties.Align == 1 ? Qt::AlignHCenter
                                     : properties.Align == 2 ? Qt::AlignRight
                                                             : Qt::AlignLeft;
    // Top-aligned inside margins that placeTextLine() sets, so that the line's
    // place follows our rounding rather than the toolkit's.
    setAlignment(horizontal | Qt::AlignTop);
    if (properties.InputMode == 1)
        setReadOnly(true);
    if (properties.InputMode == 2) {
        setEchoMode(QLineEdit::Password);
        const QString mask = properties.PasswordChar.toUnicode();
        if (!mask.isEmpty())
            setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; }")
                                  .arg(mask.at(0).unicode()));
    }
    setValidator(new InputValidator(properties.CaseConversion, this));

    QLineEdit::setText(properties.Text.toUnicode());
    setCursorPosition(qBound(0, properties.SelStart, int(QLineEdit::text().size())));
    if (properties.SelLength > 0)
        setSelection(cursorPosition(), properties.SelLength);

    // textEdited is the toolkit's signal for changes made by the user, undo and
    // redo and input-method commits included, and never for setText().
    connect(this, &QLineEdit::textEdited, this, &EditBox::onTextEdited);
    placeTextLine();
}

xilan::Text EditBox::text() const
{
    return xilan::Text::fromUnicode(QLineEdit::text());
}

void EditBox::setText(const xilan::Text &text)
{
    QLineEdit::setText(text.toUnicode());
    Q_EMIT changed();
}

QRect EditBox::contentsArea() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
}

int EditBox::textLineTop() const
{
    const QRect area = contentsArea();
    return area.top() + (area.height() - fontMetrics().height()) / 2;
}

void EditBox::placeTextLine()
{
    // The toolkit draws a top-aligned line one pixel below the top of the
    // area left by the margins.
    constexpr int toolkitLineOffset = 1;
    const int top = textLineTop() - contentsArea().top() - toolkitLineOffset;
    const QMargins current = textMargins();
    if (current.top() != qMax(0, top))
        setTextMargins(current.left(), qMax(0, top), current.right(), 0);
}

void EditBox::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeTextLine();
}

void EditBox::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeTextLine();
}

void EditBox::mousePressEvent(QMouseEvent *event)
{
    // The bands above and below the text line belong to the frame: a click
    // there takes the focus but does not move the caret.
    const int top = textLineTop();
    const int y = event->position().toPoint().y();
    if (y < top || y >= top + fontMetrics().height()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void EditBox::onTextEdited()
{
    if (m_handlingInput > 0)
        m_changePending = true;
    else
        Q_EMIT changed(); // a context-menu action, a drag and drop
}

// The box has marked everything it will repaint for this key by the time
// its own handling returns; the bound overlay repaints synchronously then, in
// the same pass as the box, so the screen is brought up to date once per
// keystroke instead of twice.
template<typename Handle> void EditBox::announceAfter(Handle handle)
{
    ++m_handlingInput;
    handle();
    --m_handlingInput;
    if (m_handlingInput == 0 && m_changePending) {
        m_changePending = false;
        Q_EMIT changed();
    }
}

void EditBox::keyPressEvent(QKeyEvent *event)
{
    announceAfter([&] { QLineEdit::keyPressEvent(event); });
}

void EditBox::keyReleaseEvent(QKeyEvent *event)
{
    // On a key's release the toolkit only restarts the caret's blinking, which
    // the press has just done, by repainting the caret: a second trip to the
    // screen for every keystroke. The press alone keeps the caret shown and
    // blinking.
    QWidget::keyReleaseEvent(event);
}

void EditBox::inputMethodEvent(QInputMethodEvent *event)
{
    // The toolkit lets an input method's commit into a read-only line, which
    // would change a text the user may not edit and announce it.
    if (isReadOnly()) {
        event->ignore();
        return;
    }
    announceAfter([&] { QLineEdit::inputMethodEvent(event); });
}

void EditBox::focusInEvent(QFocusEvent *event)
{
    showSelection(true);
    QLineEdit::focusInEvent(event);
}

void EditBox::focusOutEvent(QFocusEvent *event)
{
    // Also when only the window loses the activation: the toolkit keeps the
    // selection then.
    QLineEdit::focusOutEvent(event);
    showSelection(false);
}

void EditBox::showSelection(bool show)
{
    if (m_hideSelection)
        setPalette(show ? m_selectionShown : m_selectionHidden);
}

} // namespace xilan
