#include "TestSupport.h"

#include "controls/EditBox.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>

using namespace xilan;

using test::commit;
using test::typeText;

namespace {

using Action = std::function<void(EditBox *)>;

// A top-level host with the box under test, optionally a twin to compare its
// pixels with in the same window state, and a second control that can take the
// focus away from both.
struct Host
{
    explicit Host(const EditBoxProperties &properties, QSize size = {96, 30},
                  const std::optional<EditBoxProperties> &twinProperties = {})
    {
        window = std::make_unique<QWidget>();
        window->resize(2 * size.width() + 30, size.height() + 60);
        // First in the focus chain, so that the window's activation gives the
        // focus to it rather than to a box.
        other = new QLineEdit(window.get());
        other->setGeometry(10, size.height() + 20, 60, 24);
        box = new EditBox(properties, window.get());
        box->setGeometry(QRect(QPoint(10, 10), size));
        if (twinProperties) {
            twin = new EditBox(*twinProperties, window.get());
            twin->setGeometry(QRect(QPoint(size.width() + 20, 10), size));
        }
    }

    bool show()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    std::unique_ptr<QWidget> window;
    EditBox *box = nullptr;
    EditBox *twin = nullptr;
    QLineEdit *other = nullptr;
};

EditBoxProperties withText(const QString &text)
{
    EditBoxProperties p;
    p.Text = Text::fromUnicode(text);
    return p;
}

void preedit(QWidget *widget, const QString &text)
{
    QInputMethodEvent event(text, {});
    QApplication::sendEvent(widget, &event);
}

Action type(const QString &text)
{
    return [text](EditBox *box) { typeText(box, text); };
}

Action key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return [k, modifiers](EditBox *box) { QTest::keyClick(box, k, modifiers); };
}

Action standard(QKeySequence::StandardKey which)
{
    return [which](EditBox *box) { QTest::keySequence(box, QKeySequence(which)); };
}

Action imeCommit(const QString &text)
{
    return [text](EditBox *box) { commit(box, text); };
}

Action imePreedit(const QString &text)
{
    return [text](EditBox *box) { preedit(box, text); };
}

Action pasteOf(const QString &text)
{
    return [text](EditBox *box) {
        QApplication::clipboard()->setText(text);
        QTest::keySequence(box, QKeySequence(QKeySequence::Paste));
    };
}

Action clickNearEnd()
{
    return [](EditBox *box) {
        QTest::mouseClick(box, Qt::LeftButton, {},
                          QPoint(box->width() - 6,
                                 box->textLineTop() + box->fontMetrics().height() / 2));
    };
}

Action both(Action first, Action second)
{
    return [first, second](EditBox *box) {
        first(box);
        second(box);
    };
}

Action nothing()
{
    return [](EditBox *) {};
}

// The rows of an image that hold pixels different from the background colour.
std::optional<std::pair<int, int>> inkRows(const QImage &image, QRgb background, const QRect &area)
{
    int first = -1, last = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    if (first < 0)
        return std::nullopt;
    return std::make_pair(first, last);
}

std::optional<std::pair<int, int>> inkColumns(const QImage &image, QRgb background,
                                              const QRect &area)
{
    int first = -1, last = -1;
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (image.pixel(x, y) != background) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    if (first < 0)
        return std::nullopt;
    return std::make_pair(first, last);
}

QImage rgb(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestEditBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void kindDefaults();
    void honoursProperties_data();
    void honoursProperties();
    void passwordShowsOnlyTheMask_data();
    void passwordShowsOnlyTheMask();
    void hidesSelectionWithoutFocus();

    void textLineIsCentred_data();
    void textLineIsCentred();

    void announcesUserChanges_data();
    void announcesUserChanges();
    void announcesProgramSettingOnce_data();
    void announcesProgramSettingOnce();
    void readOnlyAnnouncesNothing();
};

void TestEditBox::initTestCase()
{
    test::pinLookAndFonts();
}

void TestEditBox::kindDefaults()
{
    Host host{EditBoxProperties{}};
    EditBox *box = host.box;
    QVERIFY(host.show());

    QVERIFY(box->text().isEmpty());
    QCOMPARE(box->maxLength(), 32767);
    QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(box->hasFrame());
    QVERIFY(!box->isReadOnly());
    QCOMPARE(box->echoMode(), QLineEdit::Normal);
    QCOMPARE(box->cursorPosition(), 0);
    QVERIFY(!box->hasSelectedText());
    QCOMPARE(box->font(), QApplication::font());
    QCOMPARE(box->palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(box->palette().color(QPalette::Base), QColor(Qt::white));

    // The toolkit's maximum is the only limit: a longer paste is cut there.
    QApplication::clipboard()->setText(QString(40000, u'x'));
    box->setFocus();
    QTest::keySequence(box, QKeySequence(QKeySequence::Paste));
    QCOMPARE(box->QLineEdit::text().size(), 32767);

    // Sunken edge around white.
    box->clear();
    box->clearFocus();
    const QImage image = rgb(box->grab());
    const int middle = image.height() / 2;
    QCOMPARE(QColor(image.pixel(image.width() / 2, middle)), QColor(Qt::white));
    QVERIFY(QColor(image.pixel(0, middle)) != QColor(Qt::white));
    QVERIFY(QColor(image.pixel(image.width() - 1, middle)) != QColor(Qt::white));
}

void TestEditBox::honoursProperties_data()
{
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<int>("caseConversion");
    QTest::addColumn<int>("inputMode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("expected");

    QTest::newRow("max length cuts typing") << 4 << 0 << 0 << "abcdef" << "" << "abcd";
    QTest::newRow("max length cuts pasting") << 3 << 0 << 0 << "" << "霁川青禾" << "霁川青";
    QTest::newRow("limit inside a pasted character") << 2 << 0 << 0 << "" << "霁😀😀" << "霁";
    QTest::newRow("limit inside a typed character") << 2 << 0 << 0 << "a😀" << "" << "a";
    QTest::newRow("as typed") << 0 << 0 << 0 << "AbC" << "DeF" << "AbCDeF";
    QTest::newRow("lower case") << 0 << 1 << 0 << "AbC" << "DeF" << "abcdef";
    QTest::newRow("upper case") << 0 << 2 << 0 << "AbC" << "dEf" << "ABCDEF";
    QTest::newRow("case conversion keeps Chinese") << 0 << 2 << 0 << "q" << "霁川" << "Q霁川";
    QTest::newRow("read-only") << 0 << 0 << 1 << "abc" << "xyz" << "";
    QTest::newRow("password takes text") << 0 << 0 << 2 << "ab" << "cd" << "abcd";
}

void TestEditBox::honoursProperties()
{
    QFETCH(int, maxLength);
    QFETCH(int, caseConversion);
    QFETCH(int, inputMode);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, expected);

    EditBoxProperties p;
    p.MaxLength = maxLength;
    p.CaseConversion = caseConversion;
    p.InputMode = inputMode;
    Host host(p);
    QVERIFY(host.show());
    host.box->setFocus();
    typeText(host.box, typed);
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        QTest::keySequence(host.box, QKeySequence(QKeySequence::Paste));
    }
    QCOMPARE(host.box->text().toUnicode(), expected);
}

void TestEditBox::passwordShowsOnlyTheMask_data()
{
    QTest::addColumn<QString>("passwordChar");
    QTest::addColumn<QString>("shown");

    QTest::newRow("default mask") << QString() << "****";
    QTest::newRow("hash") << "#" << "####";
    QTest::newRow("first character only") << "@%" << "@@@@";
}

void TestEditBox::passwordShowsOnlyTheMask()
{
    QFETCH(QString, passwordChar);
    QFETCH(QString, shown);

    EditBoxProperties password = withText(QStringLiteral("ab霁c"));
    password.InputMode = 2;
    if (!passwordChar.isNull())
        password.PasswordChar = Text::fromUnicode(passwordChar);
    Host host(password, {96, 30}, withText(shown));
    QVERIFY(host.show());

    QCOMPARE(host.box->text().toUnicode(), QStringLiteral("ab霁c"));
    const QImage a = rgb(host.box->grab());
    const QImage b = rgb(host.twin->grab());
    QCOMPARE(a.size(), b.size());
    QCOMPARE(test::differingPixels(a, b), 0);
}

void TestEditBox::hidesSelectionWithoutFocus()
{
    EditBoxProperties selected = withText(QStringLiteral("霁川 abc"));
    selected.SelStart = 0;
    selected.SelLength = 4;
    Host host(selected, {96, 30}, withText(QStringLiteral("霁川 abc")));
    QVERIFY(host.show());
    const QImage unselected = rgb(host.twin->grab());
    QVERIFY(host.box->hasSelectedText());

    QCOMPARE(test::differingPixels(rgb(host.box->grab()), unselected), 0);

    // With the focus the selection shows ...
    const QRgb highlight = QApplication::palette().color(QPalette::Active, QPalette::Highlight).rgb();
    auto highlighted = [&](const QImage &image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == highlight;
        return count;
    };
    QCOMPARE(highlighted(unselected), 0);
    host.box->setFocus(Qt::MouseFocusReason);
    host.box->setSelection(0, 4);
    QVERIFY(highlighted(rgb(host.box->grab())) > 50);

    // ... and it hides again when the focus moves on,
    host.other->setFocus(Qt::TabFocusReason);
    QCOMPARE(test::differingPixels(rgb(host.box->grab()), unselected), 0);

    // and when another window takes the activation away.
    host.box->setFocus(Qt::MouseFocusReason);
    host.box->setSelection(0, 4);
    QWidget elsewhere;
    elsewhere.resize(50, 50);
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QVERIFY(!host.box->hasFocus());
    QVERIFY(host.box->hasSelectedText());
    QCOMPARE(test::differingPixels(rgb(host.box->grab()), rgb(host.twin->grab())), 0);

    // Back in the window, the selection it kept shows again.
    host.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(host.window.get()));
    QVERIFY(host.box->hasFocus());
    QVERIFY(highlighted(rgb(host.box->grab())) > 50);
}

void TestEditBox::textLineIsCentred_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("align");

    for (int height : {24, 30, 32, 40}) {
        QTest::addRow("height %d, left", height) << height << 0;
        QTest::addRow("height %d, centre", height) << height << 1;
        QTest::addRow("height %d, right", height) << height << 2;
    }
    // Odd spare space: the half is rounded down.
    QTest::newRow("height 25") << 25 << 0;
    QTest::newRow("height 31") << 31 << 0;
}

void TestEditBox::textLineIsCentred()
{
    QFETCH(int, height);
    QFETCH(int, align);

    EditBoxProperties p = withText(QStringLiteral("W"));
    p.Align = align;
    Host host(p, QSize(72, height));
    QVERIFY(host.show());
    EditBox *box = host.box;
    QCOMPARE(box->alignment() & Qt::AlignHorizontal_Mask,
             align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft);

    const int lineHeight = box->fontMetrics().height();
    // The area inside the frame, as the style draws it.
    QStyleOptionFrame option;
    option.initFrom(box);
    const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const int inside = height - 2 * frame;
    const int top = box->textLineTop();
    QCOMPARE(top, frame + (inside - lineHeight) / 2);
    QVERIFY(qAbs((top + lineHeight / 2.0) - (frame + inside / 2.0)) <= 1.0);

    // Where the toolkit draws "W" in a line of that height starting at row 0.
    QImage line(80, lineHeight, QImage::Format_RGB32);
    line.fill(Qt::white);
    {
        QPainter painter(&line);
        painter.setFont(box->font());
        painter.setPen(Qt::black);
        painter.drawText(QRect(0, 0, line.width(), lineHeight), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("W"));
    }
    const auto expectedRows = inkRows(line, qRgb(255, 255, 255), line.rect());
    QVERIFY(expectedRows);

    const QImage image = rgb(box->grab());
    box->QLineEdit::clear();
    const QImage blank = rgb(box->grab());
    // The glyph is what differs from the empty box.
    QImage glyph(image.size(), QImage::Format_RGB32);
    glyph.fill(Qt::white);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != blank.pixel(x, y))
                glyph.setPixel(x, y, image.pixel(x, y));
    const auto rows = inkRows(glyph, qRgb(255, 255, 255), glyph.rect());
    const auto columns = inkColumns(glyph, qRgb(255, 255, 255), glyph.rect());
    QVERIFY(rows && columns);
    QVERIFY2(rows->first >= top && rows->second < top + lineHeight,
             qPrintable(QStringLiteral("ink rows %1..%2, line %3..%4")
                                .arg(rows->first).arg(rows->second).arg(top)
                                .arg(top + lineHeight - 1)));
    QCOMPARE(rows->first, top + expectedRows->first);
    QCOMPARE(rows->second, top + expectedRows->second);

    // Black on white.
    int darkest = 255;
    for (int y = rows->first; y <= rows->second; ++y)
        for (int x = columns->first; x <= columns->second; ++x)
            darkest = qMin(darkest, qGray(glyph.pixel(x, y)));
    QVERIFY(darkest < 64);
    QCOMPARE(QColor(blank.pixel(frame + 4, height / 2)), QColor(Qt::white));

    // Horizontally the glyph sits where the alignment puts it.
    const int centre = (columns->first + columns->second) / 2;
    const int width = image.width();
    switch (align) {
    case 0: QVERIFY(centre < width / 3); break;
    case 1: QVERIFY(qAbs(centre - width / 2) <= 3); break;
    case 2: QVERIFY(centre > 2 * width / 3); break;
    }
}

void TestEditBox::announcesUserChanges_data()
{
    QTest::addColumn<Action>("prepare");
    QTest::addColumn<Action>("act");
    QTest::addColumn<QStringList>("announced"); // the text at each announcement
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("movesCaret");

    const Action end = key(Qt::Key_End);
    const QStringList none;

    // The box holds "hello" with the caret at the start.
    QTest::newRow("type a character") << end << type("x") << QStringList{"hellox"} << "hellox"
                                      << false;
    QTest::newRow("type three characters")
            << nothing() << type("abc") << QStringList{"ahello", "abhello", "abchello"}
            << "abchello" << false;
    QTest::newRow("type a Chinese character") << end << type("霁") << QStringList{"hello霁"}
                                              << "hello霁" << false;
    QTest::newRow("type over a selection")
            << standard(QKeySequence::SelectAll) << type("x") << QStringList{"x"} << "x" << false;
    QTest::newRow("input method commit") << end << imeCommit("霁川") << QStringList{"hello霁川"}
                                         << "hello霁川" << false;
    QTest::newRow("input method composing") << end << imePreedit("jichuan") << none << "hello"
                                            << false;
    QTest::newRow("input method commit after composing")
            << both(end, imePreedit("ji")) << imeCommit("霁") << QStringList{"hello霁"}
            << "hello霁" << false;
    QTest::newRow("backspace") << end << key(Qt::Key_Backspace) << QStringList{"hell"} << "hell"
                               << false;
    QTest::newRow("backspace at the start") << nothing() << key(Qt::Key_Backspace) << none
                                            << "hello" << false;
    QTest::newRow("delete") << nothing() << key(Qt::Key_Delete) << QStringList{"ello"} << "ello"
                            << false;
    QTest::newRow("delete at the end") << end << key(Qt::Key_Delete) << none << "hello" << false;
    QTest::newRow("select all and delete")
            << nothing() << both(standard(QKeySequence::SelectAll), key(Qt::Key_Delete))
            << QStringList{""} << "" << false;
    QTest::newRow("delete a selection with backspace")
            << key(Qt::Key_Right, Qt::ShiftModifier) << key(Qt::Key_Backspace)
            << QStringList{"ello"} << "ello" << false;
    QTest::newRow("cut") << standard(QKeySequence::SelectAll) << standard(QKeySequence::Cut)
                         << QStringList{""} << "" << false;
    QTest::newRow("cut without a selection") << nothing() << standard(QKeySequence::Cut) << none
                                             << "hello" << false;
    QTest::newRow("paste") << end << pasteOf("青禾") << QStringList{"hello青禾"} << "hello青禾"
                           << false;
    QTest::newRow("paste over a selection") << standard(QKeySequence::SelectAll) << pasteOf("青禾")
                                            << QStringList{"青禾"} << "青禾" << false;
    QTest::newRow("undo typing") << both(end, type("x")) << standard(QKeySequence::Undo)
                                 << QStringList{"hello"} << "hello" << false;
    QTest::newRow("undo a deletion") << both(end, key(Qt::Key_Backspace))
                                     << standard(QKeySequence::Undo) << QStringList{"hello"}
                                     << "hello" << false;
    QTest::newRow("undo a paste") << both(end, pasteOf("霁")) << standard(QKeySequence::Undo)
                                  << QStringList{"hello"} << "hello" << false;
    QTest::newRow("redo") << both(end, both(type("x"), standard(QKeySequence::Undo)))
                          << standard(QKeySequence::Redo) << QStringList{"hellox"} << "hellox"
                          << false;
    QTest::newRow("undo with nothing to undo") << nothing() << standard(QKeySequence::Undo)
                                               << none << "hello" << false;
    QTest::newRow("copy") << standard(QKeySequence::SelectAll) << standard(QKeySequence::Copy)
                          << none << "hello" << false;

    QTest::newRow("right") << nothing() << key(Qt::Key_Right) << none << "hello" << true;
    QTest::newRow("left") << end << key(Qt::Key_Left) << none << "hello" << true;
    QTest::newRow("end") << nothing() << key(Qt::Key_End) << none << "hello" << true;
    QTest::newRow("home") << end << key(Qt::Key_Home) << none << "hello" << true;
    QTest::newRow("shift+right") << nothing() << key(Qt::Key_Right, Qt::ShiftModifier) << none
                                 << "hello" << true;
    QTest::newRow("shift+home") << end << key(Qt::Key_Home, Qt::ShiftModifier) << none << "hello"
                                << true;
    QTest::newRow("word right") << nothing() << standard(QKeySequence::MoveToNextWord) << none
                                << "hello" << true;
    QTest::newRow("select all") << nothing() << standard(QKeySequence::SelectAll) << none
                                << "hello" << true;
    QTest::newRow("click") << nothing() << clickNearEnd() << none << "hello" << true;
}

void TestEditBox::announcesUserChanges()
{
    QFETCH(Action, prepare);
    QFETCH(Action, act);
    QFETCH(QStringList, announced);
    QFETCH(QString, expected);
    QFETCH(bool, movesCaret);

    Host host(withText(QStringLiteral("hello")));
    QVERIFY(host.show());
    EditBox *box = host.box;
    box->setFocus(Qt::OtherFocusReason);
    QVERIFY(box->hasFocus());
    prepare(box);

    QStringList seen;
    connect(box, &EditBox::changed, box, [&] { seen << box->text().toUnicode(); });
    const int caret = box->cursorPosition();
    const QString selection = box->selectedText();
    act(box);

    QCOMPARE(seen, announced);
    QCOMPARE(box->text().toUnicode(), expected);
    if (movesCaret)
        QVERIFY(box->cursorPosition() != caret || box->selectedText() != selection);
}

void TestEditBox::announcesProgramSettingOnce_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("new text") << "hello" << "霁川";
    QTest::newRow("same text") << "hello" << "hello";
    QTest::newRow("emptied") << "hello" << "";
    QTest::newRow("empty stays empty") << "" << "";
    QTest::newRow("outside GBK") << "" << "\U0001F600\U00020000";
}

void TestEditBox::announcesProgramSettingOnce()
{
    QFETCH(QString, before);
    QFETCH(QString, after);

    Host host(withText(before));
    QVERIFY(host.show());
    QStringList seen;
    connect(host.box, &EditBox::changed, host.box,
            [&] { seen << host.box->text().toUnicode(); });
    host.box->setText(Text::fromUnicode(after));
    QCOMPARE(seen, QStringList{after});
}

void TestEditBox::readOnlyAnnouncesNothing()
{
    EditBoxProperties p = withText(QStringLiteral("hello"));
    p.InputMode = 1;
    Host host(p);
    QVERIFY(host.show());
    host.box->setFocus();
    QSignalSpy spy(host.box, &EditBox::changed);
    typeText(host.box, QStringLiteral("abc"));
    commit(host.box, QStringLiteral("霁"));
    QTest::keyClick(host.box, Qt::Key_Delete);
    QTest::keyClick(host.box, Qt::Key_End);
    QTest::keyClick(host.box, Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    QTest::keySequence(host.box, QKeySequence(QKeySequence::Paste));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(host.box->text().toUnicode(), QStringLiteral("hello"));

    // The program may still set it.
    host.box->setText(Text::fromUnicode(u"霁川"));
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(TestEditBox)
#include "tst_editbox.moc"
