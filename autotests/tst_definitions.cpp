// The window definitions: the invariants every window of the program keeps,
// the places and orders that follow from them, and the kinds' defaults.

#include "TestSupport.h"
#include "controls/EditBox.h"
#include "model/WindowTable.h"

#include <QSet>
#include <QTest>

using namespace xilan;
using namespace Qt::StringLiterals;

class TestDefinitions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::pinLookAndFonts(); }

    void namesUniqueWithinWindow();
    void parentsArePictureBoxesOfTheSameWindow();
    void controlNamesFollowTheirKind();
    void bindingsNameRealSourcesAndEvents();
    void placeInWindow_data();
    void placeInWindow();
    void lookupNeedsTheWindow();
    void tabOrderRule();
    void editBoxDefaults();
    void liveEditBoxFromDefaults();
};

void TestDefinitions::namesUniqueWithinWindow()
{
    QSet<QString> windows;
    for (const WindowDefinition *w : test::programTable().windows()) {
        QVERIFY2(!windows.contains(w->name), qPrintable(w->name));
        windows.insert(w->name);
        QSet<QString> names;
        for (const ControlDefinition &c : w->controls) {
            QVERIFY2(!names.contains(c.name), qPrintable(w->name + u'/' + c.name));
            names.insert(c.name);
        }
    }
}

void TestDefinitions::parentsArePictureBoxesOfTheSameWindow()
{
    for (const WindowDefinition *w : test::programTable().windows()) {
        for (const ControlDefinition &c : w->controls) {
            if (c.parent.isEmpty())
                continue;
            const ControlDefinition *parent = w->control(c.parent);
            const QString where = w->name + u'/' + c.name;
            QVERIFY2(parent, qPrintable(where));
            QVERIFY2(parent->kind() == ControlKind::PicBox, qPrintable(where));
            // The picture box itself lies in the window.
            QVERIFY2(parent->parent.isEmpty(), qPrintable(where));
        }
    }
}

void TestDefinitions::controlNamesFollowTheirKind()
{
    // A control's name is its kind's Chinese name followed by a number.
    for (const WindowDefinition *w : test::programTable().windows()) {
        for (const ControlDefinition &c : w->controls) {
            const QString prefix = chineseKindName(c.kind());
            QVERIFY2(c.name.startsWith(prefix), qPrintable(w->name + u'/' + c.name));
            bool number = false;
            c.name.mid(prefix.size()).toInt(&number);
            QVERIFY2(number, qPrintable(w->name + u'/' + c.name));
        }
    }
}

void TestDefinitions::bindingsNameRealSourcesAndEvents()
{
    for (const WindowDefinition *w : test::programTable().windows()) {
        QSet<QPair<QString, int>> seen;
        for (const EventBinding &b : w->events) {
            const QString where = w->name + u'/' + b.source;
            const auto key = qMakePair(b.source, int(b.event));
            QVERIFY2(!seen.contains(key), qPrintable(where + u" bound twice"_s));
            seen.insert(key);
            if (b.source.isEmpty()) {
                QVERIFY2(b.event == Event::Created || b.event == Event::CanClose, qPrintable(where));
                continue;
            }
            const ControlDefinition *c = w->control(b.source);
            QVERIFY2(c, qPrintable(where));
            if (c->kind() == ControlKind::Button)
                QVERIFY2(b.event == Event::Clicked, qPrintable(where));
            else if (c->kind() == ControlKind::EditBox)
                QVERIFY2(b.event == Event::TextChanged, qPrintable(where));
            else
                QFAIL(qPrintable(where + u": this kind raises no event"_s));
            QVERIFY2(b.handler, qPrintable(where));
        }
    }
}

void TestDefinitions::placeInWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("nested in a box at 8,8") << u"TriangleWindow"_s << u"透明标签1"_s << QPoint(56, 160);
    QTest::newRow("box defined after its child") << u"BloomWindow"_s << u"透明标签3"_s << QPoint(168, 216);
    QTest::newRow("outside its box") << u"BloomWindow"_s << u"透明标签4"_s << QPoint(344, 144);
    QTest::newRow("box at 16,11") << u"BrandStyleWindow"_s << u"透明标签1"_s << QPoint(60, 67);
    QTest::newRow("child of the window") << u"BloomWindow"_s << u"透明标签2"_s << QPoint(131, 106);
    QTest::newRow("main window button") << u"MainWindow"_s << u"按钮9"_s << QPoint(331, 58);
}

void TestDefinitions::placeInWindow()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QPoint, place);
    const WindowTable table = test::programTable();
    const WindowDefinition *w = table.window(window);
    QVERIFY(w);
    const ControlDefinition *c = w->control(control);
    QVERIFY(c);
    QCOMPARE(w->placeInWindow(*c), place);
}

void TestDefinitions::lookupNeedsTheWindow()
{
    // Seven windows have an input named 编辑框1, each its own.
    const WindowTable table = test::programTable();
    QSet<const ControlDefinition *> found;
    for (const WindowDefinition *w : table.windows()) {
        if (const ControlDefinition *c = table.control(w->name, u"编辑框1"_s)) {
            QCOMPARE(c, w->control(u"编辑框1"_s));
            found.insert(c);
        }
    }
    QCOMPARE(found.size(), 7);
    QVERIFY(!table.control(u"NoSuchWindow"_s, u"编辑框1"_s));
    QVERIFY(!table.control(u"MainWindow"_s, u"编辑框1"_s));
}

void TestDefinitions::tabOrderRule()
{
    // Only visible, enabled TabStop buttons and inputs, sorted by key, equal
    // keys last-defined first; labels never, whatever their flags.
    auto control = [](const char16_t *name, ControlProperties p, bool tabStop, int key,
                      bool visible = true, bool disabled = false) {
        return ControlDefinition{QString::fromUtf16(name), {}, 0, 0, 10, 10, visible, disabled,
                                 tabStop, key, std::move(p)};
    };
    WindowDefinition w;
    w.controls = {
        control(u"按钮1", ButtonProperties{}, true, 0),
        control(u"标签1", LabelProperties{}, true, 0),
        control(u"编辑框1", EditBoxProperties{}, true, 1),
        control(u"按钮2", ButtonProperties{}, true, 0),
        control(u"按钮3", ButtonProperties{}, false, 0),
        control(u"按钮4", ButtonProperties{}, true, 0, /*visible=*/false),
        control(u"按钮5", ButtonProperties{}, true, 0, true, /*disabled=*/true),
        control(u"透明标签1", TransLabelProperties{}, true, 0),
        control(u"编辑框2", EditBoxProperties{}, true, -1),
        control(u"图片框1", PicBoxProperties{}, true, 0),
    };
    QStringList names;
    for (const ControlDefinition *c : w.tabOrder())
        names << c->name;
    QCOMPARE(names, (QStringList{u"编辑框2"_s, u"按钮2"_s, u"按钮1"_s, u"编辑框1"_s}));
}

void TestDefinitions::editBoxDefaults()
{
    const EditBoxProperties p;
    QVERIFY(p.Text.isEmpty());
    QCOMPARE(p.Border, 1);
    QCOMPARE(p.TextColor, Colour(0x000000));
    QCOMPARE(p.BackColor, Colour(0xFFFFFF));
    QVERIFY(p.Font.isEmpty());
    QVERIFY(p.HideSelection);
    QCOMPARE(p.MaxLength, 0);
    QVERIFY(!p.MultiLine);
    QCOMPARE(p.Align, 0);
    QCOMPARE(p.InputMode, 0);
    QCOMPARE(p.PasswordChar.toUnicode(), u"*"_s);
    QCOMPARE(p.CaseConversion, 0);
    QCOMPARE(p.SelStart, 0);
    QCOMPARE(p.SelLength, 0);
    // Every input of the program stores nothing and so has these values.
    for (const WindowDefinition *w : test::programTable().windows())
        for (const ControlDefinition &c : w->controls)
            if (c.kind() == ControlKind::EditBox) {
                const auto &e = c.as<EditBoxProperties>();
                QVERIFY2(e.Text.isEmpty() && e.Border == 1 && e.MaxLength == 0 && e.Font.isEmpty()
                                 && e.BackColor == Colour(0xFFFFFF) && e.InputMode == 0,
                         qPrintable(w->name + u'/' + c.name));
            }
}

void TestDefinitions::liveEditBoxFromDefaults()
{
    // An input that stores nothing: empty, white, one line with a frame,
    // black text in the default GUI font, caret at the start.
    EditBox box{EditBoxProperties{}};
    QVERIFY(box.text().isEmpty());
    QVERIFY(box.hasFrame());
    QCOMPARE(box.palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(box.palette().color(QPalette::Text), QColor(Qt::black));
    QCOMPARE(box.font(), QApplication::font());
    QCOMPARE(box.maxLength(), 32767);
    QCOMPARE(box.cursorPosition(), 0);
    QCOMPARE(box.echoMode(), QLineEdit::Normal);
    QVERIFY(!box.isReadOnly());
}

QTEST_MAIN(TestDefinitions)
#include "tst_definitions.moc"
