// Overlays (transparent labels) and captions, checked on the pixels they leave
// on the screen. Overlays keep no image of what lies beneath them, so most of
// these checks read the window's backing store right after a change, without
// letting the event loop run, and compare it with a window that showed the
// new state from the start.

#include "TestSupport.h"

#include "controls/Button.h"
#include "controls/EditBox.h"
#include "controls/FontMapping.h"
#include "controls/Label.h"
#include "controls/OverlayText.h"
#include "controls/TransLabel.h"
#include "generators/Catalogue.h"
#include "model/FontRecord.h"
#include "shell/Shell.h"
#include "shell/ShellWindow.h"

#include <QFontInfo>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <memory>

using namespace xilan;

namespace {

QImage onScreen(QWidget *window)
{
    return window->screen()
            ->grabWindow(window->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
}

QImage rendered(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The part of a window whose pixels do not depend on which window is active:
// inputs and buttons draw focus frames and carets, so they are left out.
QRegion steadyArea(QWidget *window)
{
    QRegion area(window->rect());
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (qobject_cast<EditBox *>(w) || qobject_cast<Button *>(w))
            area -= QRect(w->mapTo(window, QPoint(0, 0)), w->size());
    }
    return area;
}

// Over the whole image when no area is given.
int differing(const QImage &a, const QImage &b, const QRegion &area = {})
{
    if (area.isEmpty())
        return test::differingPixels(a, b);
    int count = 0;
    for (const QRect &r : area)
        count += test::differingPixels(a, b, r);
    return count;
}

QByteArray fontRecord(const QString &face, int height, int weight, bool italic = false)
{
    FontRecord r;
    r.height = height;
    r.weight = weight;
    r.italic = italic ? 255 : 0;
    r.charSet = 134;
    r.setFaceName(Text::fromUnicode(face).bytes());
    return r.toBytes();
}

// One window of the program, or a variant of it, live in a shell of its own.
struct Live
{
    std::unique_ptr<WindowDefinition> definition;
    std::unique_ptr<Shell> shell;
    ShellWindow *window = nullptr;

    QWidget *control(const QString &name) const { return shell->control(definition->name, name); }
    void setText(const QString &control, const QString &text) const
    {
        shell->SetText(definition->name, control, Text::fromUnicode(text));
    }
    // Where a control lies in the window, cut at its parent's client area.
    QRect visibleRect(const QString &name) const
    {
        QWidget *c = control(name);
        QRect r(c->mapTo(window, QPoint(0, 0)), c->size());
        if (c->parentWidget() != window)
            r &= QRect(c->parentWidget()->mapTo(window, QPoint(0, 0)), c->parentWidget()->size());
        return r;
    }
};

WindowDefinition programWindow(const QString &name)
{
    const WindowDefinition *w = test::programTable().window(name);
    if (!w)
        qFatal("no window %s", qPrintable(name));
    return *w;
}

ControlDefinition &controlOf(WindowDefinition &window, const QString &name)
{
    for (ControlDefinition &c : window.controls)
        if (c.name == name)
            return c;
    qFatal("no control %s", qPrintable(name));
}

WindowDefinition withText(const QString &window, const QString &overlay, const QString &text)
{
    WindowDefinition w = programWindow(window);
    controlOf(w, overlay).as<TransLabelProperties>().Text = Text::fromUnicode(text);
    return w;
}

std::unique_ptr<Live> open(WindowDefinition definition)
{
    auto live = std::make_unique<Live>();
    live->definition = std::make_unique<WindowDefinition>(std::move(definition));
    live->shell = std::make_unique<Shell>(WindowTable({live->definition.get()}));
    if (!live->shell->LoadWindow(live->definition->name))
        return nullptr;
    live->window = live->shell->window(live->definition->name);
    if (!QTest::qWaitForWindowExposed(live->window))
        return nullptr;
    return live;
}

// A top-level surface of one solid colour holding overlays built directly.
struct Host
{
    std::unique_ptr<QWidget> widget;

    explicit Host(QColor background, QSize size = QSize(300, 200))
        : widget(std::make_unique<QWidget>())
    {
        QPalette pal = widget->palette();
        pal.setColor(QPalette::Window, background);
        widget->setPalette(pal);
        widget->setAutoFillBackground(true);
        widget->setFixedSize(size);
    }
    TransLabel *add(const TransLabelProperties &p, const QRect &rect)
    {
        auto *label = new TransLabel(p, widget.get());
        label->setGeometry(rect);
        return label;
    }
    bool show()
    {
        widget->show();
        return QTest::qWaitForWindowExposed(widget.get());
    }
    QImage screen() const { return onScreen(widget.get()); }
};

TransLabelProperties overlayProperties(const QString &text, const QByteArray &font, QColor colour,
                                       int horz = 0, int vert = 1)
{
    TransLabelProperties p;
    p.Text = Text::fromUnicode(text);
    p.Font = font;
    p.TextColor = Colour(std::uint32_t(colour.red() | (colour.green() << 8) | (colour.blue() << 16)));
    p.HorzAlign = horz;
    p.VertAlign = vert;
    return p;
}

QImage hostImage(const TransLabelProperties &p, const QRect &rect, QColor background,
                 QSize size = QSize(300, 200))
{
    Host host(background, size);
    host.add(p, rect);
    if (!host.show())
        return {};
    return host.screen();
}

bool hasInk(const QImage &image, const QRect &area, QRgb background)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

QRect inkBounds(const QImage &image, const QRect &area, QRgb background)
{
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

const QColor Backdrop(96, 112, 144);

bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance
           && qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Whether `both` is `copy` with `text` drawn over it, from drawings of each
// alone over `under`. Where one of them leaves a pixel as it was, the other
// shows as drawn alone; glyph edges blended over a different colour may round
// differently by a few units. Returns the number of pixels where only the copy
// shows, or -1 at the first pixel that breaks the rule.
int copyUnderText(const QImage &both, const QImage &text, const QImage &copy, const QImage &under,
                  const QRect &area)
{
    constexpr int tolerance = 8;
    int copyShows = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb u = under.pixel(x, y);
            const QRgb t = text.pixel(x, y);
            const QRgb k = copy.pixel(x, y);
            const QRgb b = both.pixel(x, y);
            if ((t == u && !near(b, k, tolerance)) || (k == u && !near(b, t, tolerance))) {
                qWarning("at %d,%d: text %08x, copy %08x, both %08x", x, y, t, k, b);
                return -1;
            }
            if (t == u && !near(k, u, tolerance))
                ++copyShows;
        }
    }
    return copyShows;
}

} // namespace

class TestOverlay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void screenGrabReadsBackingStore();

    void changeLeavesNoTrace_data();
    void changeLeavesNoTrace();
    void emptyOverlayDrawsNothing_data();
    void emptyOverlayDrawsNothing();
    void upperOverlayStaysOnTop();

    void overflowIsCutNotShrunk_data();
    void overflowIsCutNotShrunk();
    void wordWrapBreaksBetweenWords();

    void effectsDrawTheirCopy_data();
    void effectsDrawTheirCopy();
    void triangleCaptionIsEtched();

    void ampersandsAreLiteral_data();
    void ampersandsAreLiteral();
    void fontRecordOfOtherLengthIsNoFont_data();
    void fontRecordOfOtherLengthIsNoFont();
    void fontRecordsMapToInstalledFaces_data();
    void fontRecordsMapToInstalledFaces();
    void missingGlyphsFallBack();

    void settersClampAndRepaint_data();
    void settersClampAndRepaint();

    void mainWindowCaptionIsCentredRed();

    void captionFrames_data();
    void captionFrames();
    void captionIsOpaque();
};

void TestOverlay::initTestCase()
{
    test::pinLookAndFonts();
}

// The checks below rely on the screen grab reading what was last painted into
// the window's backing store rather than painting the widgets afresh.
void TestOverlay::screenGrabReadsBackingStore()
{
    class Swatch : public QWidget
    {
    public:
        QColor colour = Qt::red;
    protected:
        void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), colour); }
    };
    Swatch swatch;
    swatch.setFixedSize(40, 30);
    swatch.show();
    QVERIFY(QTest::qWaitForWindowExposed(&swatch));
    QCOMPARE(onScreen(&swatch).pixel(20, 15), QColor(Qt::red).rgb());

    swatch.colour = Qt::blue;
    QCOMPARE(rendered(&swatch).pixel(20, 15), QColor(Qt::blue).rgb());
    QCOMPARE(onScreen(&swatch).pixel(20, 15), QColor(Qt::red).rgb());
    swatch.repaint();
    QCOMPARE(onScreen(&swatch).pixel(20, 15), QColor(Qt::blue).rgb());
}

void TestOverlay::changeLeavesNoTrace_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("overlay");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("expected"); // what the screen then shows

    // Overlays inside the picture box.
    QTest::newRow("triangle name, shorter")
            << "TriangleWindow" << u"透明标签1"_qs << u"霁川霁川霁川"_qs << u"川"_qs << u"川"_qs;
    QTest::newRow("triangle name, spaces")
            << "TriangleWindow" << u"透明标签1"_qs << u"霁川霁"_qs << u"     "_qs << QString();
    QTest::newRow("bloom top, emptied")
            << "BloomWindow" << u"透明标签1"_qs << u"霁霁"_qs << QString() << QString();
    QTest::newRow("animal, left-aligned, shorter")
            << "AnimalWindow" << u"透明标签1"_qs << u"霁川霁川霁川"_qs << u"霁"_qs << u"霁"_qs;
    QTest::newRow("whitestripe lower, wide")
            << "WhiteStripeWindow" << u"透明标签1"_qs << u"霁"_qs << u"霁川霁川霁川霁川"_qs
            << u"霁川霁川霁川霁川"_qs;
    QTest::newRow("whitestripe upper, right-aligned")
            << "WhiteStripeWindow" << u"透明标签2"_qs << u"QQ1234567890123"_qs << u"1"_qs
            << u"1"_qs;
    QTest::newRow("countryname inside box")
            << "CountryNameWindow" << u"透明标签2"_qs << u"国国"_qs << u"中"_qs << u"中"_qs;
    // Overlays of the window lying over the picture box.
    QTest::newRow("bloom window overlay")
            << "BloomWindow" << u"透明标签2"_qs << u"川川川"_qs << u"霁"_qs << u"霁"_qs;
    QTest::newRow("semicircle window overlay")
            << "SemicircleWindow" << u"透明标签2"_qs << u"ABCDEFG"_qs << u"川"_qs << u"川"_qs;
    QTest::newRow("brandstyle window overlay, spaces")
            << "BrandStyleWindow" << u"透明标签2"_qs << u"川川"_qs << u"  "_qs << QString();
    QTest::newRow("countryname window overlay")
            << "CountryNameWindow" << u"透明标签4"_qs << u"国国国"_qs << u"霁"_qs << u"霁"_qs;
    // Over the window background only.
    QTest::newRow("triangle caption")
            << "TriangleWindow" << u"透明标签2"_qs << u"名字名字名字:"_qs << u":"_qs << u":"_qs;
    QTest::newRow("whitestripe hint")
            << "WhiteStripeWindow" << u"透明标签3"_qs << u"长长长长长长长长长长长长长长长"_qs
            << u"短"_qs << u"短"_qs;
    QTest::newRow("main window")
            << "MainWindow" << u"透明标签1"_qs << u"透明标签透明标签透明标签"_qs << u"透"_qs
            << u"透"_qs;
}

void TestOverlay::changeLeavesNoTrace()
{
    QFETCH(QString, window);
    QFETCH(QString, overlay);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, expected);

    const auto reference = open(withText(window, overlay, expected));
    QVERIFY(reference);
    const QImage wanted = onScreen(reference->window);
    const QRegion area = steadyArea(reference->window);

    const auto live = open(programWindow(window));
    QVERIFY(live);
    live->setText(overlay, first);
    // The first text shows, or the comparison below would prove nothing.
    QVERIFY(differing(onScreen(live->window), wanted, area) > 0);
    live->setText(overlay, second);
    // No events processed: the change must already be on the screen.
    const QImage shown = onScreen(live->window);
    QCOMPARE(differing(shown, wanted, area), 0);

    // Only the overlay's own rectangle differs from the window without text.
    const auto blank = open(withText(window, overlay, QString()));
    QVERIFY(blank);
    const QImage empty = onScreen(blank->window);
    QCOMPARE(differing(shown, empty, area - live->visibleRect(overlay)), 0);
    QCOMPARE(differing(shown, empty, area) == 0, expected.trimmed().isEmpty());
}

void TestOverlay::emptyOverlayDrawsNothing_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("overlay");

    QTest::newRow("MainWindow 透明标签1") << "MainWindow" << u"透明标签1"_qs;
    for (const GeneratorDefinition &g : Catalogue::generators()) {
        QStringList overlays = g.overlays;
        for (const QString &c : g.captions)
            if (c.startsWith(u"透明标签"))
                overlays << c;
        for (const QString &o : std::as_const(overlays)) {
            const QString name = g.windowDefinition->name;
            QTest::newRow(qPrintable(name + u' ' + o)) << name << o;
        }
    }
}

void TestOverlay::emptyOverlayDrawsNothing()
{
    QFETCH(QString, window);
    QFETCH(QString, overlay);

    WindowDefinition hidden = programWindow(window);
    controlOf(hidden, overlay).Visible = false;
    const auto without = open(hidden);
    QVERIFY(without);
    const QImage none = rendered(without->window);
    const QRegion area = steadyArea(without->window);

    const auto live = open(programWindow(window));
    QVERIFY(live);
    // With its text, the overlay changes pixels only inside its rectangle.
    const QImage withText = onScreen(live->window);
    QCOMPARE(differing(withText, none, area - live->visibleRect(overlay)), 0);

    live->setText(overlay, QString());
    QCOMPARE(differing(onScreen(live->window), none, area), 0);
    QCOMPARE(differing(rendered(live->window), none, area), 0);
}

// In WhiteStripeWindow the account overlay lies on top of part of the name
// overlay; a change of the lower one must not paint over the upper one.
void TestOverlay::upperOverlayStaysOnTop()
{
    const QString window = QStringLiteral("WhiteStripeWindow");
    const QString lower = QStringLiteral("透明标签1");
    const QString upper = QStringLiteral("透明标签2");
    const QString wide = QStringLiteral("霁川霁川霁川霁川霁川霁川");

    const auto live = open(withText(window, lower, QString()));
    QVERIFY(live);
    const QImage before = onScreen(live->window);
    const QRect upperRect = live->visibleRect(upper);
    const QRgb red = qRgb(255, 0, 0); // the upper overlay's text colour
    QList<QPoint> glyphs;
    for (int y = upperRect.top(); y <= upperRect.bottom(); ++y)
        for (int x = upperRect.left(); x <= upperRect.right(); ++x)
            if (before.pixel(x, y) == red)
                glyphs << QPoint(x, y);
    QVERIFY(!glyphs.isEmpty());

    live->setText(lower, wide);
    const QImage after = onScreen(live->window);
    // The wide text does reach under the upper overlay...
    QVERIFY(differing(after, before, upperRect) > 0);
    // ...and the upper overlay's glyphs are still drawn over it.
    for (const QPoint &p : std::as_const(glyphs))
        QVERIFY2(after.pixel(p) == red, qPrintable(QStringLiteral("at %1,%2").arg(p.x()).arg(p.y())));

    // Changing the upper one keeps the lower one's text beneath intact too.
    live->setText(upper, QStringLiteral("QQ1"));
    const auto reference = open([&] {
        WindowDefinition w = withText(window, lower, wide);
        controlOf(w, upper).as<TransLabelProperties>().Text = Text::fromUnicode(u"QQ1");
        return w;
    }());
    QVERIFY(reference);
    QCOMPARE(differing(onScreen(live->window), onScreen(reference->window),
                       steadyArea(live->window)),
             0);
}

void TestOverlay::overflowIsCutNotShrunk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("font");
    QTest::addColumn<int>("horz");
    QTest::addColumn<int>("vert");
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QRect>("roomy"); // the same anchor with room to spare
    QTest::addColumn<QString>("cutEdges");

    const QByteArray wide = fontRecord({}, -24, 400);
    const QString longText = QStringLiteral("WWWWWWWWWWWWWWWWWWWW");
    const QRect box(100, 80, 100, 40);
    QTest::newRow("left, cut on the right")
            << longText << wide << 0 << 1 << box << QRect(100, 80, 2000, 40) << "R";
    QTest::newRow("centre, cut on both sides")
            << longText << wide << 1 << 1 << box << QRect(150 - 1000, 80, 2000, 40) << "LR";
    QTest::newRow("right, cut on the left")
            << longText << wide << 2 << 1 << box << QRect(200 - 2000, 80, 2000, 40) << "L";

    // The CountryNameWindow fonts: an 80-pixel bold line in a 72-pixel box.
    const QByteArray tall = fontRecord({}, -80, 700);
    const QRect square(100, 60, 80, 72);
    QTest::newRow("80px in 72px, middle")
            << u"█"_qs << tall << 1 << 1 << square << QRect(100, 96 - 500, 80, 1000) << "TB";
    QTest::newRow("80px in 40px, top")
            << u"国"_qs << tall << 1 << 0 << QRect(100, 60, 80, 40) << QRect(100, 60, 80, 1000)
            << "B";
    QTest::newRow("80px in 40px, bottom")
            << u"国"_qs << tall << 1 << 2 << QRect(100, 60, 80, 40) << QRect(100, 100 - 1000, 80, 1000)
            << "T";
}

void TestOverlay::overflowIsCutNotShrunk()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, font);
    QFETCH(int, horz);
    QFETCH(int, vert);
    QFETCH(QRect, box);
    QFETCH(QRect, roomy);
    QFETCH(QString, cutEdges);

    const TransLabelProperties p = overlayProperties(text, font, Qt::white, horz, vert);
    const QImage cut = hostImage(p, box, Backdrop);
    const QImage whole = hostImage(p, roomy, Backdrop);
    QVERIFY(!cut.isNull() && !whole.isNull());
    const QRgb bg = Backdrop.rgb();

    // The text really overflows the box.
    QVERIFY(hasInk(whole, QRegion(cut.rect()).subtracted(box).boundingRect(), bg));
    // Nothing outside the box is touched...
    QImage plain(cut.size(), QImage::Format_RGB32);
    plain.fill(bg);
    QCOMPARE(differing(cut, plain, QRegion(cut.rect()) - box), 0);
    // ...and inside it the line lies exactly where it lies with room to spare.
    QCOMPARE(differing(cut, whole, box), 0);
    // The glyphs reach the edges where the line is cut.
    if (cutEdges.contains(u'L'))
        QVERIFY(hasInk(cut, QRect(box.left(), box.top(), 1, box.height()), bg));
    if (cutEdges.contains(u'R'))
        QVERIFY(hasInk(cut, QRect(box.right(), box.top(), 1, box.height()), bg));
    if (cutEdges.contains(u'T'))
        QVERIFY(hasInk(cut, QRect(box.left(), box.top(), box.width(), 1), bg));
    if (cutEdges.contains(u'B'))
        QVERIFY(hasInk(cut, QRect(box.left(), box.bottom(), box.width(), 1), bg));
}

void TestOverlay::wordWrapBreaksBetweenWords()
{
    const QByteArray font = fontRecord({}, -20, 400);
    const QRect box(10, 10, 120, 150);
    TransLabelProperties p = overlayProperties(u"Alpha Beta Gamma"_qs, font, Qt::black, 0, 0);
    // Wide enough for "Alpha Beta", not for all three words.
    const QFontMetrics metrics(FontMapping::fontOrDefault(font));
    QVERIFY(metrics.horizontalAdvance(u"Alpha Beta"_qs) < box.width());
    QVERIFY(metrics.horizontalAdvance(u"Alpha Beta Gamma"_qs) > box.width());

    p.WordWrap = true;
    const QImage wrapped = hostImage(p, box, Backdrop);
    p.WordWrap = false;
    p.Text = Text::fromUnicode(u"Alpha Beta");
    const QImage firstLine = hostImage(p, box, Backdrop);
    const QRgb bg = Backdrop.rgb();

    const QRect line = inkBounds(firstLine, box, bg);
    QVERIFY(line.isValid());
    // The first line holds the first two words, whole...
    const QRect band(box.left(), box.top(), box.width(), line.bottom() - box.top() + 1);
    QCOMPARE(differing(wrapped, firstLine, band), 0);
    // ...and the third word follows on a line of its own.
    const QRect below(box.left(), line.bottom() + 1, box.width(), box.bottom() - line.bottom());
    const QRect rest = inkBounds(wrapped, below, bg);
    QVERIFY(rest.isValid());
    QVERIFY(rest.top() > line.bottom());
    QVERIFY(rest.width() < line.width());
}

void TestOverlay::effectsDrawTheirCopy_data()
{
    QTest::addColumn<int>("effect");
    QTest::addColumn<QColor>("copyColour");
    QTest::addColumn<QPoint>("copyOffset");
    QTest::addColumn<QPoint>("textOffset");

    QTest::newRow("etched") << 1 << QColor(Qt::white) << QPoint(1, 1) << QPoint(0, 0);
    QTest::newRow("embossed") << 2 << QColor(Qt::white) << QPoint(0, 0) << QPoint(1, 1);
    QTest::newRow("shadow") << 3 << QColor(Qt::black) << QPoint(2, 2) << QPoint(0, 0);
}

// The effect's copy lies beneath the text: where the text leaves a pixel
// alone the copy shows as drawn by itself, and where the copy does, the text.
void TestOverlay::effectsDrawTheirCopy()
{
    QFETCH(int, effect);
    QFETCH(QColor, copyColour);
    QFETCH(QPoint, copyOffset);
    QFETCH(QPoint, textOffset);

    const QByteArray font = fontRecord(u"宋体"_qs, -40, 700);
    const QColor colour(200, 40, 40);
    const QRect box(40, 40, 200, 100);
    TransLabelProperties p = overlayProperties(u"霁川A"_qs, font, colour, 1, 1);
    p.Effect = effect;
    const QImage both = hostImage(p, box, Backdrop);
    p.Effect = 0;
    const QImage text = hostImage(p, box.translated(textOffset), Backdrop);
    TransLabelProperties c = overlayProperties(u"霁川A"_qs, font, copyColour, 1, 1);
    const QImage copy = hostImage(c, box.translated(copyOffset), Backdrop);

    QImage under(both.size(), QImage::Format_RGB32);
    under.fill(Backdrop);
    QVERIFY(copyUnderText(both, text, copy, under, both.rect()) > 0);
}

// The caption of TriangleWindow is black, etched over the face colour: a white
// copy one pixel to the right and down shows beside the strokes.
void TestOverlay::triangleCaptionIsEtched()
{
    const QString window = QStringLiteral("TriangleWindow");
    const QString caption = QStringLiteral("透明标签2");
    auto variant = [&](auto change) {
        WindowDefinition w = programWindow(window);
        change(controlOf(w, caption));
        return open(w);
    };
    const auto live = open(programWindow(window));
    const auto text = variant([](ControlDefinition &c) { c.as<TransLabelProperties>().Effect = 0; });
    const auto copy = variant([](ControlDefinition &c) {
        c.as<TransLabelProperties>().Effect = 0;
        c.as<TransLabelProperties>().TextColor = 0xFFFFFF;
        c.left += 1;
        c.top += 1;
    });
    const auto none = variant([](ControlDefinition &c) { c.Visible = false; });
    QVERIFY(live && text && copy && none);

    const QRect r = live->visibleRect(caption);
    QVERIFY(copyUnderText(onScreen(live->window), onScreen(text->window), onScreen(copy->window),
                          onScreen(none->window), r.adjusted(-2, -2, 2, 2))
            > 0);
}

void TestOverlay::ampersandsAreLiteral_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("between letters") << u"A&B"_qs;
    QTest::newRow("doubled") << u"A&&B"_qs;
    QTest::newRow("trailing") << u"AB&"_qs;
    QTest::newRow("alone") << u"&"_qs;
}

// Drawn like the literal string drawn at a point, which knows no mnemonics.
void TestOverlay::ampersandsAreLiteral()
{
    QFETCH(QString, text);
    const QByteArray record = fontRecord({}, -32, 400);
    const QRect box(20, 20, 240, 80);
    const QImage shown =
            hostImage(overlayProperties(text, record, Qt::black, 0, 0), box, Backdrop);

    QImage literal(shown.size(), QImage::Format_RGB32);
    literal.fill(Backdrop);
    {
        QPainter painter(&literal);
        const QFont font = FontMapping::fontOrDefault(record);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(box.left(), box.top() + QFontMetricsF(font).ascent()), text);
    }
    QCOMPARE(differing(shown, literal), 0);
}

void TestOverlay::fontRecordOfOtherLengthIsNoFont_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("59 bytes") << 59;
    QTest::newRow("61 bytes") << 61;
    QTest::newRow("1 byte") << 1;
}

void TestOverlay::fontRecordOfOtherLengthIsNoFont()
{
    QFETCH(int, length);
    const QByteArray record = fontRecord(u"宋体"_qs, -40, 700);
    const QByteArray other = (record + QByteArray(8, '\0')).left(length);
    const QRect box(10, 10, 250, 120);
    const QString text = QStringLiteral("霁川 Ab");

    const QImage none = hostImage(overlayProperties(text, {}, Qt::black), box, Backdrop);
    QCOMPARE(differing(hostImage(overlayProperties(text, other, Qt::black), box, Backdrop), none),
             0);
    // The whole record does make a difference.
    QVERIFY(differing(hostImage(overlayProperties(text, record, Qt::black), box, Backdrop), none) > 0);
}

void TestOverlay::fontRecordsMapToInstalledFaces_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelSize");

    QTest::newRow("宋体 bold") << u"宋体"_qs << -60 << 700 << false << "Noto Serif CJK SC" << 60;
    QTest::newRow("新宋体 italic") << u"新宋体"_qs << -64 << 400 << true << "Noto Serif CJK SC"
                                << 64;
    QTest::newRow("微软雅黑 bold") << u"微软雅黑"_qs << -56 << 700 << false << "Noto Sans CJK SC"
                               << 56;
    QTest::newRow("微软雅黑 Light") << u"微软雅黑 Light"_qs << -60 << 290 << true
                                << "Noto Sans CJK SC Light" << 60;
    QTest::newRow("no face, bold") << QString() << -80 << 700 << false << "Noto Sans CJK SC" << 80;
    QTest::newRow("no face, regular") << QString() << -37 << 400 << false << "Noto Sans CJK SC"
                                      << 37;
}

void TestOverlay::fontRecordsMapToInstalledFaces()
{
    QFETCH(QString, face);
    QFETCH(int, height);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(QString, family);
    QFETCH(int, pixelSize);

    const std::optional<QFont> font = FontMapping::fontFromRecord(fontRecord(face, height, weight, italic));
    QVERIFY(font);
    const QFontInfo info(*font);
    QCOMPARE(info.family(), family);
    QCOMPARE(info.pixelSize(), pixelSize);
    QCOMPARE(info.bold(), weight >= 600);
    QCOMPARE(info.style() != QFont::StyleNormal, italic);

    // And the overlay draws with it: like the installed face asked for directly.
    QFont direct(family);
    direct.setPixelSize(pixelSize);
    direct.setWeight(QFont::Weight(weight));
    direct.setItalic(italic);
    QImage expected(160, 100, QImage::Format_RGB32);
    expected.fill(Backdrop);
    {
        QPainter painter(&expected);
        painter.setFont(direct);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, QFontMetricsF(direct).ascent()), u"永"_qs);
    }
    Host host(Backdrop, expected.size());
    host.add(overlayProperties(u"永"_qs, fontRecord(face, height, weight, italic), Qt::black, 0, 0),
             expected.rect());
    QVERIFY(host.show());
    QCOMPARE(differing(host.screen(), expected), 0);
}

// An emoji is in none of the CJK faces; it must come from another installed
// face rather than show as the box of a missing glyph, which looks the same
// for every character.
void TestOverlay::missingGlyphsFallBack()
{
    const QRect box(20, 20, 120, 80);
    auto draw = [&](const QString &text) {
        return hostImage(overlayProperties(text, fontRecord({}, -48, 400), Qt::black, 1), box,
                         QColor(Qt::white), QSize(160, 120));
    };
    const QImage smile = draw(u"😀"_qs);
    const QImage cat = draw(u"🐱"_qs);
    const QImage missing = draw(QString(QChar(0xE000))); // private use: no face has it
    QVERIFY(hasInk(smile, box, qRgb(255, 255, 255)));
    QVERIFY(hasInk(cat, box, qRgb(255, 255, 255)));
    QVERIFY(differing(smile, cat) > 0);
    QVERIFY(differing(smile, missing) > 0);
    QVERIFY(differing(cat, missing) > 0);
}

void TestOverlay::settersClampAndRepaint_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");

    QTest::newRow("effect 3") << "Effect" << 3 << 3;
    QTest::newRow("effect 7") << "Effect" << 7 << 3;
    QTest::newRow("effect -1") << "Effect" << -1 << 0;
    QTest::newRow("horz 2") << "HorzAlign" << 2 << 2;
    QTest::newRow("horz 9") << "HorzAlign" << 9 << 2;
    QTest::newRow("horz -3") << "HorzAlign" << -3 << 0;
    QTest::newRow("vert 0") << "VertAlign" << 0 << 0;
    QTest::newRow("vert 5") << "VertAlign" << 5 << 2;
    QTest::newRow("wrap") << "WordWrap" << 1 << 1;
    QTest::newRow("colour") << "TextColor" << 0x00FF00 << 0x00FF00;
    QTest::newRow("font") << "Font" << -30 << -30;
}

void TestOverlay::settersClampAndRepaint()
{
    QFETCH(QString, property);
    QFETCH(int, value);
    QFETCH(int, stored);

    const QRect box(20, 20, 200, 120);
    TransLabelProperties start =
            overlayProperties(u"霁川 Alpha Beta"_qs, fontRecord({}, -20, 700), Qt::white, 1, 1);
    start.Effect = 1;
    Host host(Backdrop);
    TransLabel *label = host.add(start, box);
    QVERIFY(host.show());
    const QImage before = host.screen();

    TransLabelProperties expected = start;
    if (property == u"Effect") {
        label->setEffect(value);
        QCOMPARE(label->properties().Effect, stored);
        expected.Effect = stored;
    } else if (property == u"HorzAlign") {
        label->setHorzAlign(value);
        QCOMPARE(label->properties().HorzAlign, stored);
        expected.HorzAlign = stored;
    } else if (property == u"VertAlign") {
        label->setVertAlign(value);
        QCOMPARE(label->properties().VertAlign, stored);
        expected.VertAlign = stored;
    } else if (property == u"WordWrap") {
        label->setWordWrap(value != 0);
        expected.WordWrap = stored != 0;
        QCOMPARE(label->properties().WordWrap, expected.WordWrap);
    } else if (property == u"TextColor") {
        label->setTextColor(Colour(std::uint32_t(value)));
        expected.TextColor = Colour(std::uint32_t(stored));
        QCOMPARE(label->properties().TextColor, expected.TextColor);
    } else if (property == u"Font") {
        expected.Font = fontRecord({}, stored, 400);
        label->setFontRecord(expected.Font);
        QCOMPARE(label->properties().Font, expected.Font);
    }
    // On the screen before any event is processed.
    const QImage after = host.screen();
    QVERIFY(differing(after, before) > 0);
    QCOMPARE(differing(after, hostImage(expected, box, Backdrop)), 0);
}

void TestOverlay::mainWindowCaptionIsCentredRed()
{
    const auto live = open(programWindow(QStringLiteral("MainWindow")));
    QVERIFY(live);
    const QImage shown = onScreen(live->window);
    const QRect r(48, 152, 392, 32);
    QCOMPARE(live->visibleRect(QStringLiteral("透明标签1")), r);
    const QRgb face = QApplication::palette().color(QPalette::Button).rgb();

    const QRect ink = inkBounds(shown, r, face);
    QVERIFY(ink.isValid());
    int red = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            if (c.rgb() == face)
                continue;
            // Red over the face colour: red never falls below the others.
            QVERIFY(c.red() >= c.green() && c.red() >= c.blue());
            red += c.rgb() == qRgb(255, 0, 0);
        }
    QVERIFY(red > 0);
    const int leftMargin = ink.left() - r.left();
    const int rightMargin = r.right() - ink.right();
    QVERIFY2(qAbs(leftMargin - rightMargin) <= 2,
             qPrintable(QStringLiteral("%1 / %2").arg(leftMargin).arg(rightMargin)));
    const int topMargin = ink.top() - r.top();
    const int bottomMargin = r.bottom() - ink.bottom();
    QVERIFY2(qAbs(topMargin - bottomMargin) <= 4,
             qPrintable(QStringLiteral("%1 / %2").arg(topMargin).arg(bottomMargin)));
    // Around the caption the face colour is untouched.
    QImage plain(shown.size(), QImage::Format_RGB32);
    plain.fill(face);
    QCOMPARE(differing(shown, plain, QRegion(0, 148, shown.width(), shown.height() - 148).subtracted(r)), 0);
}

void TestOverlay::captionFrames_data()
{
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("outerTopVsBottom"); // -1 top darker, 1 top lighter, 0 same
    QTest::addColumn<int>("innerTopVsBottom"); // the same for the line at depth width-1

    QTest::newRow("0 none") << 0 << 0 << 0 << 0;
    QTest::newRow("1 sunken edge") << 1 << 2 << -1 << -1;
    QTest::newRow("2 raised dialog frame") << 2 << 2 << 1 << 1;
    QTest::newRow("3 thin sunken edge") << 3 << 1 << -1 << -1;
    QTest::newRow("4 sunken inside raised") << 4 << 4 << 1 << -1;
    QTest::newRow("5 single line") << 5 << 1 << 0 << 0;
}

void TestOverlay::captionFrames()
{
    QFETCH(int, border);
    QFETCH(int, width);
    QFETCH(int, outerTopVsBottom);
    QFETCH(int, innerTopVsBottom);

    LabelProperties p;
    p.Text = {};
    p.Border = border;
    p.BackColor = 0x30A050;
    const QColor fill(0x50, 0xA0, 0x30);
    QWidget parent;
    parent.setFixedSize(120, 80);
    auto *label = new Label(p, &parent);
    label->setGeometry(10, 10, 100, 60);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    const QImage shown = rendered(label);

    const QRect inside = QRect(0, 0, 100, 60).adjusted(width, width, -width, -width);
    QImage plain(shown.size(), QImage::Format_RGB32);
    plain.fill(fill);
    QCOMPARE(differing(shown, plain, inside), 0);
    // Every line of the frame is drawn, on all four sides.
    for (int d = 0; d < width; ++d) {
        QVERIFY(shown.pixel(50, d) != fill.rgb());
        QVERIFY(shown.pixel(50, 59 - d) != fill.rgb());
        QVERIFY(shown.pixel(d, 30) != fill.rgb());
        QVERIFY(shown.pixel(99 - d, 30) != fill.rgb());
    }
    auto compare = [&](int depth) {
        const int top = qGray(shown.pixel(50, depth)) + qGray(shown.pixel(depth, 30));
        const int bottom = qGray(shown.pixel(50, 59 - depth)) + qGray(shown.pixel(99 - depth, 30));
        return top < bottom ? -1 : top > bottom ? 1 : 0;
    };
    if (width > 0) {
        QCOMPARE(compare(0), outerTopVsBottom);
        QCOMPARE(compare(width - 1), innerTopVsBottom);
    }
    if (border == 5)
        QCOMPARE(shown.pixel(0, 0), QApplication::palette().color(QPalette::WindowText).rgb());
}

// A caption hides its parent entirely, also between and around its glyphs.
void TestOverlay::captionIsOpaque()
{
    for (const Colour back : {Colour(Colour::Face), Colour(0xFFFFFF)}) {
        QWidget parent;
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(255, 0, 255));
        parent.setPalette(pal);
        parent.setAutoFillBackground(true);
        parent.setFixedSize(200, 100);
        LabelProperties p;
        p.Text = Text::fromUnicode(u"名字 QQ");
        p.BackColor = back;
        p.Border = 2;
        auto *label = new Label(p, &parent);
        label->setGeometry(20, 20, 120, 40);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        const QImage shown = onScreen(&parent);
        const QRgb fill = back.resolve(QApplication::palette()).rgb();
        int filled = 0;
        for (int y = 20; y < 60; ++y)
            for (int x = 20; x < 140; ++x) {
                QVERIFY(shown.pixel(x, y) != qRgb(255, 0, 255));
                filled += shown.pixel(x, y) == fill;
            }
        QVERIFY(filled > 120 * 40 / 2);
        QVERIFY(hasInk(shown, QRect(24, 24, 112, 32), fill));
    }
}

QTEST_MAIN(TestOverlay)
#include "tst_overlay.moc"
