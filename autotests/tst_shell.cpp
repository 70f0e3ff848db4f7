// The shell: building windows from their definitions, placing and stacking
// them, dialog mode and its nested loops, closing and unloading, keys and
// focus, the message box, the URI hand-over and the ends of the program.

#include "TestSupport.h"
#include "controls/Button.h"
#include "controls/TransLabel.h"
#include "model/Assets.h"
#include "shell/IcoImage.h"
#include "shell/MainWindow.h"
#include "shell/Shell.h"
#include "shell/ShellWindow.h"
#include "shell/WindowBuilder.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace xilan;
using namespace Qt::StringLiterals;

namespace {

const QString Main = u"MainWindow"_s;
const QString Triangle = u"TriangleWindow"_s;
const QString Bloom = u"BloomWindow"_s;

ControlDefinition buttonControl(const QString &name, int left, int top, bool isDefault = false)
{
    ButtonProperties p;
    p.Text = Text::fromUnicode(name);
    p.DefaultButton = isDefault;
    return {name, {}, left, top, 80, 30, true, false, true, 0, p};
}

WindowDefinition testWindow(const QString &name, std::vector<ControlDefinition> controls = {},
                            std::vector<EventBinding> events = {})
{
    WindowDefinition w;
    w.name = name;
    w.Title = Text::fromUnicode(name);
    w.width = 300;
    w.height = 200;
    w.controls = std::move(controls);
    w.events = std::move(events);
    return w;
}

// Runs f from inside whatever loop is running next, once.
void soon(std::function<void()> f)
{
    QTimer::singleShot(0, qApp, std::move(f));
}

QMessageBox *openMessageBox()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    return nullptr;
}

// Waits inside a running loop for a message box, then hands it to f.
// Each poll hands the next timer a copy of itself: nothing holds a reference
// to itself, so nothing outlives the last poll.
void whenMessageBox(std::function<void(QMessageBox *)> f)
{
    struct Poll
    {
        std::function<void(QMessageBox *)> f;
        void operator()() const
        {
            if (QMessageBox *box = openMessageBox()) {
                f(box);
                return;
            }
            QTimer::singleShot(10, qApp, Poll{f});
        }
    };
    QTimer::singleShot(10, qApp, Poll{std::move(f)});
}

// A close request the way a user makes one: Esc or Alt+F4 to the focused
// control, or the window's close button.
void closeAsTheUser(const QString &how, QWidget *window)
{
    if (how == u"esc")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else if (how == u"altf4")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::AltModifier);
    else
        window->close();
}

QString focusedName()
{
    const QWidget *w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { test::pinLookAndFonts(); }
    void cleanup();

    void centredPlace_data();
    void centredPlace();
    void mainWindowIsBuiltFromItsDefinition();
    void windowFrameAndFlags();
    void iconDecodesAsTheToolkitDoes();
    void brokenIconsGiveNoImage_data();
    void brokenIconsGiveNoImage();
    void stackingFollowsDefinitionOrder();
    void mainWindowTabOrder();
    void spaceClicksEnterDoesNot();
    void enterClicksTheDefaultButton();
    void createdIsRaisedOnceBeforeShowingWithEventsReleased();
    void createdHandlerMayDestroyTheWindow();
    void loadingALiveWindowBuildsNothing();
    void windowThatCannotBeBuilt_data();
    void windowThatCannotBeBuilt();

    void dialogModeDisablesAndRestores_data();
    void dialogModeDisablesAndRestores();
    void dialogOwnedByTheHiddenOwner();
    void reopenedWindowIsBuiltAfresh();
    void nestedDialogLoopsRestoreModalWindow();
    void activatingADisabledWindowActivatesTheDialog();
    void disabledWindowIgnoresCloseRequests();
    void unloadIsDeferredUntilTheHandlerReturns();

    void contactButtonHandsOverTheExactUri();
    void jokeBoxThenTheProgramEnds_data();
    void jokeBoxThenTheProgramEnds();
    void mainWindowCloseEndsTheProgram_data();
    void mainWindowCloseEndsTheProgram();
    void startupWindowThatCannotBeBuiltIsFatal();

private:
    std::unique_ptr<Shell> m_shell;
    std::vector<std::unique_ptr<WindowDefinition>> m_defs;
    const WindowDefinition *keep(WindowDefinition w)
    {
        m_defs.push_back(std::make_unique<WindowDefinition>(std::move(w)));
        return m_defs.back().get();
    }
    Shell &programShell()
    {
        m_shell = std::make_unique<Shell>(test::programTable());
        return *m_shell;
    }
};

void TestShell::cleanup()
{
    m_shell.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_defs.clear();
    QTRY_VERIFY(QApplication::topLevelWidgets().size() <= 1 || !openMessageBox());
}

void TestShell::centredPlace_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("main window, 1024x768") << QRect(0, 0, 1024, 768) << QSize(505, 220) << QPoint(259, 274);
    QTest::newRow("triangle, 1024x768") << QRect(0, 0, 1024, 768) << QSize(286, 321) << QPoint(369, 223);
    QTest::newRow("even sizes") << QRect(0, 0, 800, 600) << QSize(200, 100) << QPoint(300, 250);
    QTest::newRow("screen not at origin") << QRect(100, 50, 1024, 768) << QSize(505, 220) << QPoint(359, 324);
    // Larger than the screen: the division still rounds towards zero.
    QTest::newRow("larger than the screen") << QRect(0, 0, 300, 200) << QSize(505, 221) << QPoint(-102, -10);
}

void TestShell::centredPlace()
{
    QFETCH(QRect, screen);
    QFETCH(QSize, outer);
    QFETCH(QPoint, place);
    QCOMPARE(WindowBuilder::centredPlace(screen, outer), place);
}

void TestShell::mainWindowIsBuiltFromItsDefinition()
{
    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Main));
    ShellWindow *w = shell.window(Main);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QCOMPARE(w->windowTitle(), u"溪岚头像大全- by霁川"_s);
    // The offscreen platform draws no frame: the client area is the outer size.
    QCOMPARE(w->frameGeometry().size(), QSize(505, 220));
    const QRect screen = w->screen()->geometry();
    QCOMPARE(w->frameGeometry().topLeft(),
             QPoint((screen.width() - 505) / 2, (screen.height() - 220) / 2));
    QVERIFY(!w->windowIcon().isNull());
    QCOMPARE(w->windowIcon().availableSizes().value(0), QSize(48, 48));

    const WindowDefinition &def = MainWindow::definition();
    for (const ControlDefinition &c : def.controls) {
        QWidget *widget = shell.control(Main, c.name);
        QVERIFY2(widget, qPrintable(c.name));
        QCOMPARE(widget->geometry(), c.rect());
        QVERIFY(widget->isVisible());
        if (c.kind() == ControlKind::Button)
            QCOMPARE(static_cast<QPushButton *>(widget)->text(),
                     c.as<ButtonProperties>().Text.toUnicode());
    }
    QCOMPARE(shell.GetText(Main, u"按钮7"_s).toUnicode(), u"国家名字头像生成"_s);
    QCOMPARE(shell.GetText(Main, u"透明标签1"_s).toUnicode(), u"透明标签"_s);
}

void TestShell::windowFrameAndFlags()
{
    const Qt::WindowFlags f = WindowBuilder::windowFlags(MainWindow::definition());
    QVERIFY(f & Qt::WindowTitleHint);
    QVERIFY(f & Qt::WindowSystemMenuHint);
    QVERIFY(f & Qt::WindowMinimizeButtonHint);
    QVERIFY(f & Qt::WindowCloseButtonHint);
    QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
    QVERIFY(f & Qt::MSWindowsFixedSizeDialogHint);

    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Main));
    ShellWindow *w = shell.window(Main);
    // A fixed frame: the user cannot resize it.
    QCOMPARE(w->minimumSize(), w->maximumSize());
    // The face colour behind everything.
    QCOMPARE(w->palette().color(QPalette::Window), w->palette().color(QPalette::Button));
    QVERIFY(w->autoFillBackground());
}

void TestShell::iconDecodesAsTheToolkitDoes()
{
    const Bytes ico = assets::iconIco();
    const QImage ours = IcoImage::decode(ico);
    const QImage toolkit = QImage::fromData(ico.data(), int(ico.size()), "ICO");
    QCOMPARE(ours.size(), QSize(48, 48));
    QCOMPARE(ours.convertToFormat(QImage::Format_ARGB32),
             toolkit.convertToFormat(QImage::Format_ARGB32));
    // Fully opaque: every pixel's alpha is 255.
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x)
            QCOMPARE(qAlpha(ours.pixel(x, y)), 255);
}

void TestShell::brokenIconsGiveNoImage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const Bytes ico = assets::iconIco();
    const QByteArray whole(reinterpret_cast<const char *>(ico.data()), qsizetype(ico.size()));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << whole.left(6);
    QTest::newRow("directory cut") << whole.left(12);
    QTest::newRow("pixels cut") << whole.left(2000);
    QByteArray farOffset = whole;
    farOffset[18] = '\xFF'; // the image's offset points past the end
    farOffset[19] = '\xFF';
    QTest::newRow("offset past the end") << farOffset;
    QTest::newRow("not an icon") << QByteArray("GIF89a\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 22);
}

void TestShell::brokenIconsGiveNoImage()
{
    QFETCH(QByteArray, bytes);
    const QImage image = IcoImage::decode(test::bytesOf(bytes));
    QVERIFY(image.isNull());
}

void TestShell::stackingFollowsDefinitionOrder()
{
    // Among siblings the first defined lies on top: the toolkit's child list
    // runs bottom to top, so it must be the reverse of the definition order.
    Shell &shell = programShell();
    for (const WindowDefinition *def : shell.table().windows()) {
        QVERIFY(shell.LoadWindow(def->name));
        ShellWindow *w = shell.window(def->name);
        auto checkSiblings = [&](QWidget *parent, const std::vector<const ControlDefinition *> &defined) {
            QStringList bottomToTop;
            for (QObject *o : parent->children())
                if (o->isWidgetType() && !static_cast<QWidget *>(o)->isWindow())
                    bottomToTop << o->objectName();
            QStringList expected;
            for (auto it = defined.rbegin(); it != defined.rend(); ++it)
                expected << (*it)->name;
            QCOMPARE(bottomToTop, expected);
        };
        checkSiblings(w, def->windowControls());
        for (const ControlDefinition &c : def->controls)
            if (c.kind() == ControlKind::PicBox)
                checkSiblings(shell.control(def->name, c.name), def->children(c.name));
        shell.requestClose(def->name);
    }
}

void TestShell::mainWindowTabOrder()
{
    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Main));
    ShellWindow *w = shell.window(Main);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(focusedName(), u"按钮1"_s);

    const QStringList order{u"按钮1"_s, u"按钮2"_s, u"按钮4"_s, u"按钮3"_s, u"按钮5"_s,
                            u"按钮6"_s, u"按钮7"_s, u"按钮8"_s, u"按钮9"_s};
    for (int i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusedName(), order[i % order.size()]);
    }
    for (int i = order.size() - 1; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focusedName(), order[i]);
    }
    // Ctrl+Tab is not Tab.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focusedName(), u"按钮1"_s);
    QCOMPARE(shell.control(Main, u"透明标签1"_s)->focusPolicy(), Qt::NoFocus);
}

void TestShell::spaceClicksEnterDoesNot()
{
    int clicks = 0;
    const WindowDefinition *def = keep(testWindow(u"Keys"_s, {buttonControl(u"按钮1"_s, 10, 10)},
        {{u"按钮1"_s, Event::Clicked, [&clicks](Services &) { ++clicks; }, {}}}));
    m_shell = std::make_unique<Shell>(WindowTable({def}));
    QVERIFY(m_shell->LoadWindow(def->name));
    QVERIFY(QTest::qWaitForWindowActive(m_shell->window(def->name)));
    QWidget *button = m_shell->control(def->name, u"按钮1"_s);
    QCOMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(clicks, 0);
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(clicks, 1);
}

void TestShell::enterClicksTheDefaultButton()
{
    QStringList clicked;
    auto record = [&clicked](const QString &name) {
        return EventBinding{name, Event::Clicked, [&clicked, name](Services &) { clicked << name; }, {}};
    };
    const WindowDefinition *def = keep(testWindow(u"Defaults"_s,
        {buttonControl(u"按钮1"_s, 10, 10), buttonControl(u"按钮2"_s, 10, 50, true),
         buttonControl(u"按钮3"_s, 10, 90, true)},
        {record(u"按钮1"_s), record(u"按钮2"_s), record(u"按钮3"_s)}));
    m_shell = std::make_unique<Shell>(WindowTable({def}));
    QVERIFY(m_shell->LoadWindow(def->name));
    QVERIFY(QTest::qWaitForWindowActive(m_shell->window(def->name)));
    // The tab order is the reverse of the definition order: 按钮3 first.
    QCOMPARE(focusedName(), u"按钮3"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusedName(), u"按钮2"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusedName(), u"按钮1"_s);
    // A plain focused button passes Enter to the first default button.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(clicked, (QStringList{u"按钮3"_s, u"按钮2"_s, u"按钮2"_s}));
}

void TestShell::createdIsRaisedOnceBeforeShowingWithEventsReleased()
{
    int created = 0;
    bool visibleWhenCreated = true;
    bool controlsExisted = false;
    int heldWhenCreated = -1;
    Shell *shell = nullptr;
    const WindowDefinition *def = keep(testWindow(u"Created"_s, {buttonControl(u"按钮1"_s, 10, 10)},
        {{{}, Event::Created, [&](Services &) {
              ++created;
              visibleWhenCreated = shell->window(u"Created"_s)->isVisible();
              controlsExisted = shell->control(u"Created"_s, u"按钮1"_s) != nullptr;
              heldWhenCreated = shell->eventsHeld();
          }, {}}}));
    m_shell = std::make_unique<Shell>(WindowTable({def}));
    shell = m_shell.get();
    QVERIFY(shell->LoadWindow(def->name));
    QCOMPARE(created, 1);
    QVERIFY(!visibleWhenCreated);
    QVERIFY(controlsExisted);
    QCOMPARE(heldWhenCreated, 0);
    QVERIFY(shell->window(def->name)->isVisible());
    QCOMPARE(shell->eventsHeld(), 0);
}

void TestShell::createdHandlerMayDestroyTheWindow()
{
    const WindowDefinition *def = keep(testWindow(u"Gone"_s, {},
        {{{}, Event::Created, [](Services &s) { s.UnloadWindow(u"Gone"_s, true); }, {}}}));
    m_shell = std::make_unique<Shell>(WindowTable({def}));
    QVERIFY(m_shell->LoadWindow(def->name, {}, /*dialogMode=*/true));
    QVERIFY(!m_shell->isLive(def->name));
    QCOMPARE(m_shell->modalWindow(), QString());
}

void TestShell::loadingALiveWindowBuildsNothing()
{
    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Triangle));
    ShellWindow *first = shell.window(Triangle);
    QVERIFY(shell.LoadWindow(Triangle));
    QCOMPARE(shell.window(Triangle), first);
    QVERIFY(!shell.LoadWindow(u"NoSuchWindow"_s));
}

void TestShell::windowThatCannotBeBuilt_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("picture settings from a newer version") << 0;
    QTest::newRow("parent is not a picture box") << 1;
    QTest::newRow("parent does not exist") << 2;
    QTest::newRow("name used twice") << 3;
    QTest::newRow("non-dialog load with a parent that is not live") << 4;
}

void TestShell::windowThatCannotBeBuilt()
{
    QFETCH(int, fault);
    PicBoxProperties box;
    ControlDefinition picture{u"图片框1"_s, {}, 0, 0, 50, 50, true, false, false, 0, box};
    ControlDefinition label{u"透明标签1"_s, u"图片框1"_s, 0, 0, 50, 50, true, false, false, 0,
                            TransLabelProperties{}};
    WindowDefinition broken = testWindow(u"Broken"_s, {label, picture});
    switch (fault) {
    case 0: broken.controls[1].as<PicBoxProperties>().version = 3; break;
    case 1: broken.controls[0].parent = u"按钮1"_s; broken.controls.push_back(buttonControl(u"按钮1"_s, 0, 0)); break;
    case 2: broken.controls[0].parent = u"图片框9"_s; break;
    case 3: broken.controls[0].name = u"图片框1"_s; broken.controls[0].parent.clear(); break;
    default: break;
    }
    const WindowDefinition *brokenDef = keep(std::move(broken));
    const WindowDefinition *mainDef = keep(testWindow(u"Menu"_s, {buttonControl(u"按钮1"_s, 10, 10)}));
    m_shell = std::make_unique<Shell>(WindowTable({mainDef, brokenDef}));
    QVERIFY(m_shell->LoadWindow(mainDef->name));
    const int topLevels = int(QApplication::topLevelWidgets().size());

    const bool loaded = fault == 4 ? m_shell->LoadWindow(brokenDef->name, u"NotLive"_s)
                                   : m_shell->LoadWindow(brokenDef->name, {}, true);
    QVERIFY(!loaded);
    QVERIFY(!m_shell->isLive(brokenDef->name));
    QVERIFY(m_shell->window(mainDef->name)->isEnabled());
    QCOMPARE(m_shell->eventsHeld(), 0);
    QCOMPARE(m_shell->modalWindow(), QString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(int(QApplication::topLevelWidgets().size()), topLevels);
}

void TestShell::dialogModeDisablesAndRestores_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << u"esc"_s;
    QTest::newRow("close button") << u"close"_s;
    QTest::newRow("Alt+F4") << u"altf4"_s;
    QTest::newRow("deferred unload") << u"unload"_s;
}

void TestShell::dialogModeDisablesAndRestores()
{
    QFETCH(QString, how);
    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Main));
    ShellWindow *main = shell.window(Main);
    QVERIFY(QTest::qWaitForWindowActive(main));
    QCOMPARE(focusedName(), u"按钮1"_s);
    // Not the first button, so that getting the focus back is not the same
    // as starting afresh.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusedName(), u"按钮2"_s);

    bool checked = false;
    soon([&] {
        ShellWindow *dialog = shell.window(Bloom);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(shell.modalWindow(), Bloom);
        QVERIFY(!main->isEnabled());
        QVERIFY(dialog->isEnabled());
        QCOMPARE(shell.instance(Bloom)->disabledWindows,
                 (std::vector<std::pair<QString, bool>>{{Main, true}}));
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(focusedName(), u"编辑框1"_s);
        checked = true;
        if (how == u"unload")
            shell.UnloadWindow(Bloom);
        else
            closeAsTheUser(how, dialog);
    });
    // Space on the focused 按钮2 opens the bloom generator in dialog mode;
    // the key event returns only once the dialog has been closed.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(checked);
    QVERIFY(!shell.isLive(Bloom));
    QCOMPARE(shell.modalWindow(), QString());
    QVERIFY(main->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(main));
    QTRY_COMPARE(focusedName(), u"按钮2"_s);
    QVERIFY(shell.isLive(Main));
}

void TestShell::dialogOwnedByTheHiddenOwner()
{
    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Main));
    QWidget *owner = nullptr;
    soon([&] {
        ShellWindow *dialog = shell.window(Triangle);
        owner = dialog->parentWidget();
        QVERIFY(dialog->isWindow());
        shell.requestClose(Triangle);
    });
    shell.LoadWindow(Triangle, Main, true); // the parent is ignored in dialog mode
    QVERIFY(owner);
    // Not owned by the window that opened it, and the owner is never shown.
    QVERIFY(owner != shell.window(Main));
    QVERIFY(!owner->isVisible());
    QVERIFY(!shell.window(Main)->parentWidget());
}

void TestShell::reopenedWindowIsBuiltAfresh()
{
    Shell &shell = programShell();
    QPointer<ShellWindow> first;
    soon([&] {
        first = shell.window(Triangle);
        shell.SetText(Triangle, u"编辑框1"_s, u"改过"_t);
        QCOMPARE(shell.GetText(Triangle, u"透明标签1"_s), u"改过"_t);
        shell.requestClose(Triangle);
    });
    shell.LoadWindow(Triangle, {}, true);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull()); // destroyed with its controls

    soon([&] {
        QVERIFY(shell.window(Triangle));
        QCOMPARE(shell.GetText(Triangle, u"编辑框1"_s), Text());
        QCOMPARE(shell.GetText(Triangle, u"透明标签1"_s), u"霁川"_t);
        shell.requestClose(Triangle);
    });
    shell.LoadWindow(Triangle, {}, true);
}

void TestShell::nestedDialogLoopsRestoreModalWindow()
{
    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Main));
    QStringList log;
    soon([&] {
        QCOMPARE(shell.modalWindow(), Triangle);
        soon([&] {
            QCOMPARE(shell.modalWindow(), Bloom);
            QVERIFY(!shell.window(Main)->isEnabled());
            QVERIFY(!shell.window(Triangle)->isEnabled());
            log << u"inner"_s;
            shell.requestClose(Bloom);
        });
        QVERIFY(shell.LoadWindow(Bloom, {}, true));
        QCOMPARE(shell.modalWindow(), Triangle);
        // The inner dialog gave back exactly what it took.
        QVERIFY(shell.window(Triangle)->isEnabled());
        QVERIFY(!shell.window(Main)->isEnabled());
        log << u"outer"_s;
        shell.requestClose(Triangle);
    });
    QVERIFY(shell.LoadWindow(Triangle, {}, true));
    QCOMPARE(log, (QStringList{u"inner"_s, u"outer"_s}));
    QCOMPARE(shell.modalWindow(), QString());
    QVERIFY(shell.window(Main)->isEnabled());
}

void TestShell::activatingADisabledWindowActivatesTheDialog()
{
    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Main));
    QVERIFY(QTest::qWaitForWindowActive(shell.window(Main)));
    bool redirected = false;
    soon([&] {
        ShellWindow *dialog = shell.window(Triangle);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        // As the taskbar or the window switcher would.
        shell.window(Main)->activateWindow();
        redirected = QTest::qWaitFor([&] {
            return QApplication::activeWindow() == dialog;
        }) && !shell.window(Main)->isActiveWindow();
        QTest::qWait(50);
        redirected = redirected && QApplication::activeWindow() == dialog;
        shell.requestClose(Triangle);
    });
    shell.LoadWindow(Triangle, {}, true);
    QVERIFY(redirected);
}

void TestShell::disabledWindowIgnoresCloseRequests()
{
    Shell &shell = programShell();
    QVERIFY(shell.LoadWindow(Main));
    soon([&] {
        // The close button of a disabled window does nothing.
        shell.window(Main)->close();
        QVERIFY(shell.isLive(Main));
        shell.requestClose(Triangle);
    });
    shell.LoadWindow(Triangle, {}, true);
    QVERIFY(shell.isLive(Main));
}

void TestShell::unloadIsDeferredUntilTheHandlerReturns()
{
    bool liveInHandler = false;
    Shell *shell = nullptr;
    const WindowDefinition *def = keep(testWindow(u"Unload"_s, {buttonControl(u"按钮1"_s, 10, 10)},
        {{u"按钮1"_s, Event::Clicked, [&](Services &s) {
              s.UnloadWindow(u"Unload"_s);
              liveInHandler = shell->isLive(u"Unload"_s);
          }, {}}}));
    m_shell = std::make_unique<Shell>(WindowTable({def}));
    shell = m_shell.get();
    QVERIFY(shell->LoadWindow(def->name));
    static_cast<QPushButton *>(shell->control(def->name, u"按钮1"_s))->click();
    QVERIFY(liveInHandler);
    QVERIFY(shell->isLive(def->name));
    QTRY_VERIFY(!shell->isLive(def->name));
}

void TestShell::contactButtonHandsOverTheExactUri()
{
    Shell &shell = programShell();
    QStringList handedOver;
    shell.setUriOpener([&](const QString &uri) { handedOver << uri; });
    QVERIFY(shell.LoadWindow(Main));
    auto *button = static_cast<QPushButton *>(shell.control(Main, u"按钮6"_s));
    button->click();
    button->click();
    const QString uri = u"tencent://AddContact/?fromId=45&fromSubId=1&subcmd=all&uin=517284963&website="_s;
    QCOMPARE(handedOver, (QStringList{uri, uri}));
    QVERIFY(shell.isLive(Main));
    QVERIFY(shell.window(Main)->isEnabled());
}

void TestShell::jokeBoxThenTheProgramEnds_data()
{
    QTest::addColumn<QString>("dismiss");
    QTest::newRow("OK") << u"ok"_s;
    QTest::newRow("Enter") << u"enter"_s;
    QTest::newRow("Esc") << u"esc"_s;
    QTest::newRow("close button") << u"close"_s;
}

void TestShell::jokeBoxThenTheProgramEnds()
{
    QFETCH(QString, dismiss);
    Shell &shell = programShell();
    bool seen = false;
    soon([&] {
        QVERIFY(shell.isLive(Main));
        whenMessageBox([&](QMessageBox *box) {
            seen = true;
            QCOMPARE(box->windowTitle(), u"霁川最帅"_s);
            QCOMPARE(box->text(),
                     u"想得美不可能的事情一辈子都不可能的事情霁川怎么帅怎么可能给你头像.      关闭了哈重新打开把"_s);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            // Modal to the whole program: the menu takes no input meanwhile.
            QCOMPARE(box->windowModality(), Qt::ApplicationModal);
            QCOMPARE(QApplication::activeModalWidget(), box);
            QVERIFY(shell.isLive(Main));
            if (dismiss == u"ok")
                box->buttons().first()->click();
            else if (dismiss == u"enter")
                QTest::keyClick(box, Qt::Key_Return);
            else if (dismiss == u"esc")
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
        });
        static_cast<QPushButton *>(shell.control(Main, u"按钮9"_s))->click();
        // The handler has returned; the main window goes only now.
        QVERIFY(shell.isLive(Main));
    });
    QCOMPARE(shell.run(), 0);
    QVERIFY(seen);
    QVERIFY(!shell.isLive(Main));
}

void TestShell::mainWindowCloseEndsTheProgram_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << u"esc"_s;
    QTest::newRow("close button") << u"close"_s;
    QTest::newRow("Alt+F4") << u"altf4"_s;
}

void TestShell::mainWindowCloseEndsTheProgram()
{
    QFETCH(QString, how);
    Shell &shell = programShell();
    soon([&] {
        ShellWindow *main = shell.window(Main);
        QVERIFY(QTest::qWaitForWindowActive(main));
        closeAsTheUser(how, main);
    });
    QCOMPARE(shell.run(), 0);
    QVERIFY(!shell.isLive(Main));
    QVERIFY(shell.quitRequested());
}

void TestShell::startupWindowThatCannotBeBuiltIsFatal()
{
    WindowDefinition broken = testWindow(u"Broken"_s);
    PicBoxProperties box;
    box.version = 3;
    broken.controls.push_back({u"图片框1"_s, {}, 0, 0, 50, 50, true, false, false, 0, box});
    const WindowDefinition *def = keep(std::move(broken));
    m_shell = std::make_unique<Shell>(WindowTable({def}));
    bool reported = false;
    whenMessageBox([&](QMessageBox *message) {
        reported = !message->text().isEmpty();
        message->buttons().first()->click();
    });
    QVERIFY(m_shell->run() != 0);
    QVERIFY(reported);
    QVERIFY(!m_shell->isLive(def->name));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
