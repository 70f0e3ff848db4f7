#include "TestSupport.h"

#include "controls/EditBox.h"
#include "controls/Label.h"
#include "controls/TransLabel.h"
#include "generators/Catalogue.h"
#include "model/Services.h"
#include "shell/Shell.h"
#include "shell/ShellWindow.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>

using namespace xilan;
using namespace Qt::StringLiterals;

using test::commit;
using test::typeText;

namespace {

using Action = std::function<void(EditBox *)>;

const GeneratorDefinition &generatorOf(const QString &window)
{
    const GeneratorDefinition *g = Catalogue::generator(window);
    if (!g)
        qFatal("no generator window %s", qPrintable(window));
    return *g;
}

// A control's rectangle in its window's client area.
QRect placeIn(const WindowDefinition &w, const ControlDefinition &c)
{
    return QRect(w.placeInWindow(c), c.rect().size());
}

QRect pictureRect(const GeneratorDefinition &g)
{
    const WindowDefinition &w = *g.windowDefinition;
    return placeIn(w, *w.control(g.picture));
}

// The window's pixels as they were last put on the screen, not a fresh
// rendering: traces of an earlier text would show here.
QImage onScreen(QWidget *window, const QRect &area)
{
    QCoreApplication::processEvents();
    const QPixmap shot = window->screen()->grabWindow(window->winId(), area.x(), area.y(),
                                                      area.width(), area.height());
    if (shot.isNull() || shot.size() != area.size())
        qFatal("cannot grab the screen of %s", qPrintable(window->objectName()));
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// The bounding rectangle of the pixels that differ between two images.
QRect differingArea(const QImage &a, const QImage &b)
{
    QRect area;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                area |= QRect(x, y, 1, 1);
    return area;
}

// Pixels that differ clearly between two windows' images. Two windows drawing
// the same large glyphs at different moments may round their anti-aliased
// edges a few levels apart; a text left over or missing changes pixels by far
// more than that.
int clearlyDiffering(const QImage &a, const QImage &b, const QRect &area = {})
{
    constexpr int tolerance = 32;
    const QRect r = area.isNull() ? a.rect() : area.intersected(a.rect());
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            count += qAbs(qRed(p) - qRed(q)) > tolerance || qAbs(qGreen(p) - qGreen(q)) > tolerance
                     || qAbs(qBlue(p) - qBlue(q)) > tolerance;
        }
    return count;
}

bool open(Shell &shell, const QString &window)
{
    if (!shell.LoadWindow(window))
        return false;
    ShellWindow *w = shell.window(window);
    if (!w || !QTest::qWaitForWindowExposed(w))
        return false;
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

void reactivate(Shell &shell, const QString &window)
{
    ShellWindow *w = shell.window(window);
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        qWarning("%s did not become active", qPrintable(window));
}

EditBox *inputOf(Shell &shell, const QString &window, const QString &name)
{
    return qobject_cast<EditBox *>(shell.control(window, name));
}

TransLabel *overlayOf(Shell &shell, const QString &window, const QString &name)
{
    return qobject_cast<TransLabel *>(shell.control(window, name));
}

void paste(QWidget *widget, const QString &text)
{
    QApplication::clipboard()->setText(text);
    QTest::keySequence(widget, QKeySequence(QKeySequence::Paste));
}

// The texts of every transparent label of a live window, by name.
std::map<QString, Text> overlayTexts(Shell &shell, const WindowDefinition &w)
{
    std::map<QString, Text> texts;
    for (const ControlDefinition &c : w.controls)
        if (c.kind() == ControlKind::TransLabel)
            texts[c.name] = overlayOf(shell, w.name, c.name)->text();
    return texts;
}

std::map<QString, Text> definitionTexts(const WindowDefinition &w)
{
    std::map<QString, Text> texts;
    for (const ControlDefinition &c : w.controls)
        if (c.kind() == ControlKind::TransLabel)
            texts[c.name] = c.as<TransLabelProperties>().Text;
    return texts;
}

QStringList names(const std::vector<const ControlDefinition *> &controls)
{
    QStringList out;
    for (const ControlDefinition *c : controls)
        out << c->name;
    return out;
}

QStringList names(const std::vector<QWidget *> &widgets)
{
    QStringList out;
    for (const QWidget *w : widgets)
        out << w->objectName();
    return out;
}

// Services that answer GetText from a table and record SetText.
class RecordingServices : public Services
{
public:
    bool LoadWindow(const QString &, const QString &, bool) override { return false; }
    void UnloadWindow(const QString &, bool) override {}
    int ShowMessageBox(const Text &, int, const Text &, const QString &) override { return 0; }
    void OpenUri(const Text &) override {}
    Text GetText(const QString &window, const QString &control) override
    {
        return texts.value(window + u'/' + control);
    }
    void SetText(const QString &window, const QString &control, const Text &text) override
    {
        set.append({window + u'/' + control, text});
    }

    QHash<QString, Text> texts;
    QList<std::pair<QString, Text>> set;
};

} // namespace

Q_DECLARE_METATYPE(Action)

class TestGenerators : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void catalogueIsConsistent_data() { generatorWindows(); }
    void catalogueIsConsistent();
    void textChangedRunsItsOwnBinding_data() { generatorWindows(); }
    void textChangedRunsItsOwnBinding();
    void bindingCopiesWholeText_data();
    void bindingCopiesWholeText();
    void menuButtonOpensGenerator_data();
    void menuButtonOpensGenerator();

    void opensWithDefaults_data() { generatorWindows(); }
    void opensWithDefaults();
    void typingChangesOnlyItsOwnOverlay_data() { generatorWindows(); }
    void typingChangesOnlyItsOwnOverlay();
    void tabKeyFollowsTabOrder_data() { generatorWindows(); }
    void tabKeyFollowsTabOrder();
    void reopeningStartsFromDefaults_data() { generatorWindows(); }
    void reopeningStartsFromDefaults();

    void overlayFollowsEditing_data();
    void overlayFollowsEditing();
    void unusualTextReachesOverlay_data();
    void unusualTextReachesOverlay();

    void bloomNameLeavesLargeCharacters();
    void bloomOverlayOutsidePictureNeverShows();
    void whiteStripeAccountNumberCanBeEmptied();
    void semicircleSealNameFollowsItsInput();

private:
    // One row per generator window.
    static void generatorWindows();
};

void TestGenerators::initTestCase()
{
    test::pinLookAndFonts();
}

void TestGenerators::generatorWindows()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("tabOrder");

    for (const GeneratorDefinition &g : Catalogue::generators()) {
        const QString &name = g.windowDefinition->name;
        QStringList order = names(g.windowDefinition->tabOrder());
        // Equal keys go in reverse definition order; this window defines its
        // inputs in neither reading order.
        if (name == u"CountryNameWindow")
            order = {u"编辑框1"_s, u"编辑框2"_s, u"编辑框4"_s, u"编辑框3"_s};
        QTest::newRow(qPrintable(name)) << name << order;
    }
}

void TestGenerators::catalogueIsConsistent()
{
    QFETCH(QString, window);
    QFETCH(QStringList, tabOrder);
    const GeneratorDefinition &g = generatorOf(window);
    const WindowDefinition &w = *g.windowDefinition;
    QCOMPARE(Catalogue::generator(window), &g);

    const ControlDefinition *picture = w.control(g.picture);
    QVERIFY(picture);
    QCOMPARE(picture->kind(), ControlKind::PicBox);
    QVERIFY(picture->parent.isEmpty());
    const QRect pictureArea = pictureRect(g);

    // Overlays: window-level ones over the picture (which must be defined
    // before it to lie above it), then the picture's own, each in definition
    // order. Everything else with text is a caption.
    QStringList above, inside, captions;
    bool pictureDefined = false;
    for (const ControlDefinition &c : w.controls) {
        if (&c == picture) {
            pictureDefined = true;
            continue;
        }
        if (c.kind() == ControlKind::Label) {
            captions << c.name;
        } else if (c.kind() == ControlKind::TransLabel) {
            if (c.parent == g.picture) {
                inside << c.name;
            } else if (c.parent.isEmpty() && placeIn(w, c).intersects(pictureArea)) {
                QVERIFY2(!pictureDefined, qPrintable(c.name + QStringLiteral(" lies beneath the picture")));
                above << c.name;
            } else {
                QVERIFY2(c.parent.isEmpty(), qPrintable(c.name));
                captions << c.name;
            }
        }
    }
    QCOMPARE(g.overlays, above + inside);
    QCOMPARE(g.captions, captions);
    QCOMPARE(g.inputs, names(w.tabOrder()));
    QCOMPARE(g.inputs, tabOrder);

    QStringList editBoxes;
    for (const ControlDefinition &c : w.controls)
        if (c.kind() == ControlKind::EditBox)
            editBoxes << c.name;
    QStringList sortedInputs = g.inputs;
    sortedInputs.sort();
    editBoxes.sort();
    QCOMPARE(sortedInputs, editBoxes);

    QStringList boundInputs, boundOverlays;
    for (const TextBinding &b : g.bindings) {
        const ControlDefinition *input = w.control(b.input);
        const ControlDefinition *overlay = w.control(b.overlay);
        QVERIFY2(input && input->kind() == ControlKind::EditBox, qPrintable(b.input));
        QVERIFY2(overlay && overlay->kind() == ControlKind::TransLabel, qPrintable(b.overlay));
        QVERIFY2(g.overlays.contains(b.overlay), qPrintable(b.overlay));
        QVERIFY2(!boundInputs.contains(b.input), qPrintable(b.input + QStringLiteral(" is bound twice")));
        QVERIFY2(!boundOverlays.contains(b.overlay), qPrintable(b.overlay + QStringLiteral(" is bound twice")));
        boundInputs << b.input;
        boundOverlays << b.overlay;
    }
    boundInputs.sort();
    QCOMPARE(boundInputs, editBoxes);

    QStringList changeSources;
    for (const EventBinding &e : w.events) {
        QCOMPARE(e.event, Event::TextChanged);
        QVERIFY(e.handler);
        changeSources << e.source;
    }
    changeSources.sort();
    QCOMPARE(changeSources, editBoxes);
}

void TestGenerators::textChangedRunsItsOwnBinding()
{
    QFETCH(QString, window);
    const GeneratorDefinition &g = generatorOf(window);
    const WindowDefinition &w = *g.windowDefinition;

    for (const TextBinding &b : g.bindings) {
        RecordingServices services;
        const Text text = Text::fromUnicode(QStringLiteral(" 值 ") + b.input + u' ');
        services.texts.insert(window + u'/' + b.input, text);
        const EventBinding *e = w.binding(b.input, Event::TextChanged);
        QVERIFY(e && e->handler);
        e->handler(services);
        QCOMPARE(services.set.size(), 1);
        QCOMPARE(services.set.front().first, window + u'/' + b.overlay);
        QCOMPARE(services.set.front().second, text);
    }
}

void TestGenerators::bindingCopiesWholeText_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("spaces around") << "  霁 川  ";
    QTest::newRow("empty") << "";
    QTest::newRow("a default's prefix") << "霁";
    QTest::newRow("long") << QString(5000, u'川');
    QTest::newRow("outside GBK") << "\U0001F600\U00020000";
}

void TestGenerators::bindingCopiesWholeText()
{
    QFETCH(QString, text);
    RecordingServices services;
    services.texts.insert(u"W/in"_s, Text::fromUnicode(text));
    ApplyTextBinding(services, u"W"_s, {u"in"_s, u"out"_s});
    QCOMPARE(services.set.size(), 1);
    QCOMPARE(services.set.front().first, u"W/out"_s);
    QCOMPARE(services.set.front().second.toUnicode(), text);
}

void TestGenerators::menuButtonOpensGenerator_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");

    QTest::newRow("三角形") << "按钮1" << "TriangleWindow";
    QTest::newRow("开花") << "按钮2" << "BloomWindow";
    QTest::newRow("半圆") << "按钮3" << "SemicircleWindow";
    QTest::newRow("白条") << "按钮4" << "WhiteStripeWindow";
    QTest::newRow("动物") << "按钮5" << "AnimalWindow";
    QTest::newRow("国家名字") << "按钮7" << "CountryNameWindow";
    QTest::newRow("溪岚") << "按钮8" << "BrandStyleWindow";
}

void TestGenerators::menuButtonOpensGenerator()
{
    QFETCH(QString, button);
    QFETCH(QString, window);
    const QString menu = u"MainWindow"_s;

    Shell shell(test::programTable());
    QVERIFY(open(shell, menu));
    auto *b = qobject_cast<QPushButton *>(shell.control(menu, button));
    QVERIFY(b);

    QObject guard;
    bool ran = false, live = false, shown = false, menuDisabled = false;
    QString modal;
    QTimer::singleShot(0, &guard, [&] {
        ran = true;
        live = shell.isLive(window);
        shown = live && shell.window(window)->isVisible();
        menuDisabled = !shell.window(menu)->isEnabled();
        modal = shell.modalWindow();
        shell.requestClose(window);
    });
    // Keeps the test from waiting for ever should the close not end the loop.
    QTimer::singleShot(20000, &guard, [&] { shell.UnloadWindow(window, true); });

    QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY2(ran, "the click returned before the generator was closed");
    QVERIFY(live);
    QVERIFY(shown);
    QVERIFY(menuDisabled);
    QCOMPARE(modal, window);
    QVERIFY(!shell.isLive(window));
    QVERIFY(shell.window(menu)->isEnabled());
}

void TestGenerators::opensWithDefaults()
{
    QFETCH(QString, window);
    QFETCH(QStringList, tabOrder);
    const GeneratorDefinition &g = generatorOf(window);
    const WindowDefinition &w = *g.windowDefinition;

    Shell shell(test::programTable());
    QVERIFY(open(shell, window));

    QVERIFY(overlayTexts(shell, w) == definitionTexts(w));
    for (const QString &name : g.captions) {
        const ControlDefinition *c = w.control(name);
        const Text defined = c->kind() == ControlKind::Label ? c->as<LabelProperties>().Text
                                                             : c->as<TransLabelProperties>().Text;
        QCOMPARE(shell.GetText(window, name), defined);
    }

    for (const QString &name : g.inputs) {
        EditBox *input = inputOf(shell, window, name);
        QVERIFY(input);
        QVERIFY(input->text().isEmpty());
        QCOMPARE(input->maxLength(), 32767);
        QCOMPARE(input->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        QVERIFY(input->hasFrame());
        QVERIFY(!input->isReadOnly());
        QCOMPARE(input->echoMode(), QLineEdit::Normal);
        QCOMPARE(input->font(), QApplication::font());
        QCOMPARE(input->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(input->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(input->cursorPosition(), 0);
    }

    QCOMPARE(QApplication::focusWidget(), shell.control(window, tabOrder.front()));

    // Window-level overlays lie above the picture box, which holds the rest.
    QWidget *picture = shell.control(window, g.picture);
    const QObjectList stack = shell.window(window)->children();
    for (const QString &name : g.overlays) {
        QWidget *overlay = shell.control(window, name);
        if (overlay->parentWidget() == picture)
            continue;
        QCOMPARE(overlay->parentWidget(), shell.window(window));
        QVERIFY2(stack.indexOf(overlay) > stack.indexOf(picture), qPrintable(name));
    }
}

void TestGenerators::typingChangesOnlyItsOwnOverlay()
{
    QFETCH(QString, window);
    const GeneratorDefinition &g = generatorOf(window);
    const WindowDefinition &w = *g.windowDefinition;

    Shell shell(test::programTable());
    QVERIFY(open(shell, window));
    ShellWindow *top = shell.window(window);
    const QRect picture = pictureRect(g);

    std::map<QString, Text> expected = definitionTexts(w);
    QImage before = onScreen(top, picture);
    int n = 0;
    for (const TextBinding &b : g.bindings) {
        EditBox *input = inputOf(shell, window, b.input);
        input->setFocus(Qt::MouseFocusReason);
        const QString typed = QStringLiteral("青%1").arg(++n);
        typeText(input, typed);
        QCOMPARE(input->text().toUnicode(), typed);
        expected[b.overlay] = Text::fromUnicode(typed);
        QVERIFY2(overlayTexts(shell, w) == expected, qPrintable(b.input));

        // Only the overlay's own rectangle is painted anew.
        const QImage after = onScreen(top, picture);
        const QRect changed = differingArea(before, after).translated(picture.topLeft());
        const QRect own = placeIn(w, *w.control(b.overlay));
        QVERIFY2(!changed.isEmpty(), qPrintable(b.overlay));
        QVERIFY2(own.contains(changed), qPrintable(b.overlay));
        before = after;
    }
}

void TestGenerators::tabKeyFollowsTabOrder()
{
    QFETCH(QString, window);
    QFETCH(QStringList, tabOrder);

    Shell shell(test::programTable());
    QVERIFY(open(shell, window));
    QCOMPARE(names(shell.liveTabOrder(window)), tabOrder);
    QCOMPARE(QApplication::focusWidget(), shell.control(window, tabOrder.front()));

    const qsizetype n = tabOrder.size();
    for (qsizetype i = 1; i <= n; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), shell.control(window, tabOrder.at(i % n)));
    }
    for (qsizetype i = n - 1; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), shell.control(window, tabOrder.at(i)));
    }
}

void TestGenerators::reopeningStartsFromDefaults()
{
    QFETCH(QString, window);
    QFETCH(QStringList, tabOrder);
    const GeneratorDefinition &g = generatorOf(window);
    const WindowDefinition &w = *g.windowDefinition;
    const QRect picture = pictureRect(g);

    Shell reference(test::programTable());
    QVERIFY(open(reference, window));
    const QImage defaults = onScreen(reference.window(window), picture);

    Shell shell(test::programTable());
    QVERIFY(open(shell, window));
    for (const QString &name : g.inputs) {
        EditBox *input = inputOf(shell, window, name);
        input->setFocus(Qt::MouseFocusReason);
        typeText(input, QStringLiteral("换了"));
    }
    QVERIFY(clearlyDiffering(onScreen(shell.window(window), picture), defaults) > 0);

    shell.requestClose(window);
    QVERIFY(!shell.isLive(window));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(open(shell, window));

    for (const QString &name : g.inputs)
        QVERIFY(inputOf(shell, window, name)->text().isEmpty());
    QVERIFY(overlayTexts(shell, w) == definitionTexts(w));
    QCOMPARE(QApplication::focusWidget(), shell.control(window, tabOrder.front()));
    QCOMPARE(clearlyDiffering(onScreen(shell.window(window), picture), defaults), 0);
}

void TestGenerators::overlayFollowsEditing_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("overlay");

    for (const GeneratorDefinition &g : Catalogue::generators())
        for (const TextBinding &b : g.bindings)
            QTest::addRow("%s %s", qPrintable(g.windowDefinition->name), qPrintable(b.input))
                    << g.windowDefinition->name << b.input << b.overlay;
}

void TestGenerators::overlayFollowsEditing()
{
    QFETCH(QString, window);
    QFETCH(QString, input);
    QFETCH(QString, overlay);
    const QRect picture = pictureRect(generatorOf(window));

    Shell shell(test::programTable());
    Shell fresh(test::programTable());
    QVERIFY(open(shell, window));
    const QImage defaults = onScreen(shell.window(window), picture);
    EditBox *box = inputOf(shell, window, input);
    box->setFocus(Qt::MouseFocusReason);

    const std::vector<std::pair<const char *, Action>> steps{
        {"type", [](EditBox *b) { typeText(b, QStringLiteral("霁川ab")); }},
        {"backspace", [](EditBox *b) { QTest::keyClick(b, Qt::Key_Backspace); }},
        {"select all, delete",
         [](EditBox *b) {
             QTest::keySequence(b, QKeySequence(QKeySequence::SelectAll));
             QTest::keyClick(b, Qt::Key_Delete);
         }},
        {"paste", [](EditBox *b) { paste(b, QStringLiteral("青禾 \U0001F600")); }},
        {"type more", [](EditBox *b) { typeText(b, QStringLiteral("xy")); }},
        {"undo", [](EditBox *b) { QTest::keySequence(b, QKeySequence(QKeySequence::Undo)); }},
        {"redo", [](EditBox *b) { QTest::keySequence(b, QKeySequence(QKeySequence::Redo)); }},
        {"shorter paste over all",
         [](EditBox *b) {
             QTest::keySequence(b, QKeySequence(QKeySequence::SelectAll));
             paste(b, QStringLiteral("霁"));
         }},
    };

    Text previous = box->text();
    for (const auto &[step, act] : steps) {
        reactivate(shell, window);
        box->setFocus(Qt::MouseFocusReason);
        act(box);
        const Text now = box->text();
        QVERIFY2(now != previous, step);
        previous = now;
        QVERIFY2(overlayOf(shell, window, overlay)->text() == now, step);
        const QImage edited = onScreen(shell.window(window), picture);

        // The same text set once in a window that never showed another.
        if (fresh.isLive(window))
            fresh.requestClose(window);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(open(fresh, window));
        fresh.SetText(window, input, now);
        const QImage once = onScreen(fresh.window(window), picture);
        QVERIFY2(clearlyDiffering(edited, once) == 0, step);
        if (now.isEmpty())
            QVERIFY2(clearlyDiffering(edited, defaults) > 0, "the default came back");
    }
}

void TestGenerators::unusualTextReachesOverlay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("method"); // 0 keys, 1 input method, 2 paste

    const std::pair<const char *, QString> texts[] = {
        {"emoji", QStringLiteral("\U0001F600")},
        {"Han outside GBK", QStringLiteral("\U00020000")},
        {"Chinese name", QStringLiteral("霁川青禾")},
        {"mixed", QStringLiteral("a\U0001F600 \U00020000霁·€")},
    };
    const char *methods[] = {"keys", "input method", "paste"};
    for (const auto &[name, text] : texts)
        for (int m = 0; m < 3; ++m)
            QTest::addRow("%s, %s", name, methods[m]) << text << m;
}

void TestGenerators::unusualTextReachesOverlay()
{
    QFETCH(QString, text);
    QFETCH(int, method);

    for (const GeneratorDefinition &g : Catalogue::generators()) {
        const QString &window = g.windowDefinition->name;
        Shell shell(test::programTable());
        QVERIFY(open(shell, window));
        for (const TextBinding &b : g.bindings) {
            EditBox *input = inputOf(shell, window, b.input);
            input->setFocus(Qt::MouseFocusReason);
            switch (method) {
            case 0: typeText(input, text); break;
            case 1: commit(input, text); break;
            default: paste(input, text); break;
            }
            QCOMPARE(input->text().toUnicode(), text);
            QCOMPARE(overlayOf(shell, window, b.overlay)->text().toUnicode(), text);
        }
    }
}

void TestGenerators::bloomNameLeavesLargeCharacters()
{
    const QString window = u"BloomWindow"_s;
    const WindowDefinition &w = *generatorOf(window).windowDefinition;
    Shell shell(test::programTable());
    QVERIFY(open(shell, window));
    const QRect large = placeIn(w, *w.control(u"透明标签1")) | placeIn(w, *w.control(u"透明标签2"));
    const QImage before = onScreen(shell.window(window), large);

    EditBox *qq = inputOf(shell, window, u"编辑框3"_s);
    qq->setFocus(Qt::MouseFocusReason);
    typeText(qq, QStringLiteral("QQ123"));
    QCOMPARE(shell.GetText(window, u"透明标签3"_s).toUnicode(), QStringLiteral("QQ123"));
    QCOMPARE(shell.GetText(window, u"透明标签1"_s), w.control(u"透明标签1")->as<TransLabelProperties>().Text);
    QCOMPARE(shell.GetText(window, u"透明标签2"_s), w.control(u"透明标签2")->as<TransLabelProperties>().Text);
    QCOMPARE(test::differingPixels(onScreen(shell.window(window), large), before), 0);
}

void TestGenerators::bloomOverlayOutsidePictureNeverShows()
{
    const QString window = u"BloomWindow"_s;
    const QString hidden = u"透明标签4"_s;
    const GeneratorDefinition &g = generatorOf(window);
    const WindowDefinition &w = *g.windowDefinition;
    QCOMPARE(w.control(hidden)->parent, g.picture);
    QVERIFY(!QRect(QPoint(), w.control(g.picture)->rect().size())
                     .intersects(w.control(hidden)->rect()));

    Shell shell(test::programTable());
    QVERIFY(open(shell, window));
    ShellWindow *top = shell.window(window);
    // No caret in the pictures compared.
    QApplication::focusWidget()->clearFocus();
    const QRect all = top->rect();
    const QImage shown = onScreen(top, all);

    shell.SetText(window, hidden, Text::fromUnicode(u"看得见吗看得见吗"));
    QCOMPARE(test::differingPixels(onScreen(top, all), shown), 0);
    shell.control(window, hidden)->hide();
    QCOMPARE(test::differingPixels(onScreen(top, all), shown), 0);
    shell.control(window, hidden)->show();
    QCOMPARE(test::differingPixels(onScreen(top, all), shown), 0);

    // The same comparison sees an overlay that is in the picture.
    shell.SetText(window, u"透明标签3"_s, Text::fromUnicode(u"看得见吗"));
    QVERIFY(test::differingPixels(onScreen(top, all), shown) > 0);
}

void TestGenerators::whiteStripeAccountNumberCanBeEmptied()
{
    const QString window = u"WhiteStripeWindow"_s;
    const QString number = u"透明标签2"_s;
    const QString hint = u"透明标签3"_s;
    const GeneratorDefinition &g = generatorOf(window);
    const WindowDefinition &w = *g.windowDefinition;
    const QRect picture = pictureRect(g);
    const QRect hintArea = placeIn(w, *w.control(hint));

    // What the picture is without any account number on it.
    Shell reference(test::programTable());
    QVERIFY(open(reference, window));
    reference.control(window, number)->hide();
    const QImage bare = onScreen(reference.window(window), picture);

    Shell shell(test::programTable());
    QVERIFY(open(shell, window));
    const QImage defaults = onScreen(shell.window(window), picture);
    const QImage hintBefore = onScreen(shell.window(window), hintArea);
    QVERIFY(clearlyDiffering(defaults, bare) > 0);

    EditBox *name = inputOf(shell, window, u"编辑框1"_s);
    EditBox *qq = inputOf(shell, window, u"编辑框2"_s);
    name->setFocus(Qt::MouseFocusReason);
    typeText(name, QStringLiteral("霁川"));
    qq->setFocus(Qt::MouseFocusReason);
    typeText(qq, QStringLiteral("123456"));
    QCOMPARE(shell.GetText(window, number).toUnicode(), QStringLiteral("123456"));
    QTest::keySequence(qq, QKeySequence(QKeySequence::SelectAll));
    QTest::keyClick(qq, Qt::Key_Backspace);

    QVERIFY(qq->text().isEmpty());
    QVERIFY(shell.GetText(window, number).isEmpty());
    const QImage emptied = onScreen(shell.window(window), picture);
    const QRect numberArea = placeIn(w, *w.control(number)).translated(-picture.topLeft());
    QCOMPARE(clearlyDiffering(emptied, bare, numberArea), 0);

    QCOMPARE(shell.GetText(window, hint), w.control(hint)->as<TransLabelProperties>().Text);
    QCOMPARE(test::differingPixels(onScreen(shell.window(window), hintArea), hintBefore), 0);
}

void TestGenerators::semicircleSealNameFollowsItsInput()
{
    const QString window = u"SemicircleWindow"_s;
    const GeneratorDefinition &g = generatorOf(window);
    const WindowDefinition &w = *g.windowDefinition;
    const ControlDefinition *caption = w.control(u"标签2");
    const ControlDefinition *input = w.control(u"编辑框3");
    const ControlDefinition *seal = w.control(u"透明标签3");
    QCOMPARE(caption->as<LabelProperties>().Text, u"专用"_t);
    // The input sits to the right of the caption, on the same line.
    const QRect captionArea = placeIn(w, *caption), inputArea = placeIn(w, *input);
    QVERIFY(inputArea.left() > captionArea.right());
    QVERIFY(inputArea.top() <= captionArea.bottom() && captionArea.top() <= inputArea.bottom());
    const QRect picture = pictureRect(g);
    const QRect sealArea = placeIn(w, *seal);
    QVERIFY(picture.contains(sealArea));

    Shell shell(test::programTable());
    QVERIFY(open(shell, window));
    const QImage before = onScreen(shell.window(window), picture);
    EditBox *box = inputOf(shell, window, input->name);
    box->setFocus(Qt::MouseFocusReason);
    typeText(box, QStringLiteral("青禾"));
    QCOMPARE(shell.GetText(window, seal->name).toUnicode(), QStringLiteral("青禾"));
    for (const QString &other : g.overlays)
        if (other != seal->name)
            QCOMPARE(shell.GetText(window, other), w.control(other)->as<TransLabelProperties>().Text);

    const QImage after = onScreen(shell.window(window), picture);
    const QRect changed = differingArea(before, after).translated(picture.topLeft());
    QVERIFY(!changed.isEmpty());
    QVERIFY(sealArea.contains(changed));
    // Drawn in white.
    int brightest = 0;
    const QRect local = changed.translated(-picture.topLeft());
    for (int y = local.top(); y <= local.bottom(); ++y)
        for (int x = local.left(); x <= local.right(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y))
                brightest = qMax(brightest, qGray(after.pixel(x, y)));
    QVERIFY(brightest > 230);
}

QTEST_MAIN(TestGenerators)
#include "tst_generators.moc"
