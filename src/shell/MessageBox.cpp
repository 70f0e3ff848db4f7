#include "MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace xilan {

int MessageBox::show(const QString &text, int style, const QString &title, QWidget *owner)
{
    using B = QMessageBox::StandardButton;
    static const std::vector<std::pair<B, int>> buttonSets[] = {
        {{B::Ok, Ok}},
        {{B::Ok, Ok}, {B::Cancel, Cancel}},
        {{B::Abort, Abort}, {B::Retry, Retry}, {B::Ignore, Ignore}},
        {{B::Yes, Yes}, {B::No, No}, {B::Cancel, Cancel}},
        {{B::Yes, Yes}, {B::No, No}},
        {{B::Retry, Retry}, {B::Cancel, Cancel}},
    };
    const int set = style & 0xF;
    const auto &buttons = buttonSets[set < int(std::size(buttonSets)) ? set : 0];

    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    switch ((style >> 4) & 0xF) {
    case 1: box.setIcon(QMessageBox::Critical); break;
    case 2: box.setIcon(QMessageBox::Question); break;
    case 3: box.setIcon(QMessageBox::Warning); break;
    case 4: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    for (const auto &[button, result] : buttons)
        box.addButton(button);
    const std::size_t defaultIndex = std::size_t((style >> 8) & 0xF);
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0].first);
    // Esc and the close button answer as Cancel where there is one; a box with
    // a single button answers with it. Yes/No and Abort/Retry/Ignore boxes
    // cannot be dismissed that way.
    if (box.button(B::Cancel))
        box.setEscapeButton(B::Cancel);
    else if (buttons.size() == 1)
        box.setEscapeButton(buttons.front().first);
    box.setWindowModality(Qt::ApplicationModal);

    box.exec();
    const QAbstractButton *clicked = box.clickedButton();
    for (const auto &[button, result] : buttons)
        if (clicked && clicked == box.button(button))
            return result;
    return buttons.front().second;
}

} // namespace xilan
