// Picture boxes: the embedded pictures decode, translucent pixels are blended
// onto the box's colour, and each generator window's picture fills its box so
// that the areas meant for names lie where the overlays are placed.

#include "TestSupport.h"

#include "controls/PicBox.h"
#include "controls/TemplateImage.h"
#include "generators/Catalogue.h"
#include "model/Assets.h"
#include "shell/Shell.h"
#include "shell/ShellWindow.h"

#include <QFile>
#include <QTest>

#include <memory>

using namespace xilan;

namespace {

using test::bytesOf;
using test::fixture;

QImage rendered(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor face()
{
    return QApplication::palette().color(QPalette::Button);
}

// A box built directly, shown inside a plain window.
struct Shown
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    PicBox *box = nullptr;

    Shown(const PicBoxProperties &p, QSize size)
    {
        window->setFixedSize(size + QSize(20, 20));
        box = new PicBox(p, window.get());
        box->setGeometry(QRect(QPoint(10, 10), size));
    }
    bool show()
    {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
};

struct Generator
{
    std::unique_ptr<Shell> shell;
    QString name;
    const GeneratorDefinition *definition = nullptr;

    QWidget *box() const { return shell->control(name, definition->picture); }
    // Overlays lying inside the box are part of its grab; empty them so that
    // only the picture shows.
    void emptyOverlays() const
    {
        for (const QString &o : definition->overlays)
            shell->SetText(name, o, {});
    }
};

std::unique_ptr<Generator> openGenerator(const QString &name)
{
    auto g = std::make_unique<Generator>();
    g->name = name;
    g->definition = Catalogue::generator(name);
    if (!g->definition)
        return nullptr;
    g->shell = std::make_unique<Shell>(test::programTable());
    if (!g->shell->LoadWindow(name) || !QTest::qWaitForWindowExposed(g->shell->window(name)))
        return nullptr;
    return g;
}

} // namespace

class TestPicBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void decodesEmbeddedPictures_data();
    void decodesEmbeddedPictures();
    void blendsTranslucentPixels_data();
    void blendsTranslucentPixels();
    void undecodableBytesGivePlainBox_data();
    void undecodableBytesGivePlainBox();
    void borders_data();
    void borders();
    void newerSettingsCannotBeBuilt();

    void pictureFillsBox_data();
    void pictureFillsBox();
    void freeAreasLieUnderOverlays_data();
    void freeAreasLieUnderOverlays();
};

void TestPicBox::initTestCase()
{
    test::pinLookAndFonts();
}

void TestPicBox::decodesEmbeddedPictures_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("channels");

    QTest::newRow("triangle png") << 0 << 319 << 284 << 4;
    QTest::newRow("bloom jpeg") << 1 << 334 << 374 << 3;
    QTest::newRow("whitestripe png") << 2 << 325 << 294 << 4;
    QTest::newRow("semicircle png") << 3 << 307 << 291 << 4;
    QTest::newRow("animal png") << 4 << 326 << 295 << 4;
    QTest::newRow("countryname jpeg") << 5 << 150 << 150 << 3;
    QTest::newRow("brandstyle jpeg") << 6 << 400 << 400 << 3;
}

void TestPicBox::decodesEmbeddedPictures()
{
    QFETCH(int, index);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, channels);

    const Bytes pictures[] = {assets::trianglePng(),   assets::bloomJpg(),
                              assets::whiteStripePng(), assets::semicirclePng(),
                              assets::animalPng(),     assets::countryNameJpg(),
                              assets::brandStyleJpg()};
    PicBoxProperties p;
    p.Picture = pictures[index];
    p.DisplayMode = 1;
    const PicBox box(p);
    QVERIFY(box.hasPicture());
    const DecodedPicture &d = *box.decodedPicture();
    QCOMPARE(d.width, width);
    QCOMPARE(d.height, height);
    QCOMPARE(d.channels, channels);
    QCOMPARE(d.pixels.size(), std::size_t(width) * height * channels);
}

void TestPicBox::blendsTranslucentPixels_data()
{
    QTest::addColumn<QColor>("back");
    QTest::addColumn<QRgb>("halfBlack");
    QTest::addColumn<QRgb>("halfWhite");

    // The fixture: black and white at alpha 128, then opaque red. Single
    // precision truncation gives 126 for black over white, not 127.
    QTest::newRow("over white") << QColor(Qt::white) << qRgb(126, 126, 126) << qRgb(255, 255, 255);
    QTest::newRow("over black") << QColor(Qt::black) << qRgb(0, 0, 0) << qRgb(128, 128, 128);
    QTest::newRow("over blue") << QColor(0, 0, 255) << qRgb(0, 0, 126) << qRgb(128, 128, 255);
}

void TestPicBox::blendsTranslucentPixels()
{
    QFETCH(QColor, back);
    QFETCH(QRgb, halfBlack);
    QFETCH(QRgb, halfWhite);

    const QByteArray png = fixture("rgba-3x1.png");
    const std::optional<DecodedPicture> decoded = TemplateImage::decode(bytesOf(png));
    QVERIFY(decoded);
    const QImage bitmap = PicBox::screenBitmap(*decoded, back);
    QCOMPARE(bitmap.pixel(0, 0), halfBlack);
    QCOMPARE(bitmap.pixel(1, 0), halfWhite);
    QCOMPARE(bitmap.pixel(2, 0), qRgb(255, 0, 0));

    // And on the screen: a box of the picture's own size shows those pixels.
    PicBoxProperties p;
    p.Picture = bytesOf(png);
    p.DisplayMode = 1;
    p.BackColor = Colour(std::uint32_t(back.red() | (back.green() << 8) | (back.blue() << 16)));
    Shown shown(p, QSize(3, 1));
    QVERIFY(shown.show());
    const QImage box = rendered(shown.box);
    QCOMPARE(box.pixel(0, 0), halfBlack);
    QCOMPARE(box.pixel(1, 0), halfWhite);
    QCOMPARE(box.pixel(2, 0), qRgb(255, 0, 0));
}

void TestPicBox::undecodableBytesGivePlainBox_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("nothing") << QByteArray();
    QTest::newRow("text") << QByteArray("not a picture at all");
    QTest::newRow("png signature only") << QByteArray::fromHex("89504e470d0a1a0a");
    QTest::newRow("png with a broken checksum") << fixture("bad-crc.png");
    QTest::newRow("bmp") << QByteArray::fromHex("424d3e000000000000003e000000280000000100000001");
}

void TestPicBox::undecodableBytesGivePlainBox()
{
    QFETCH(QByteArray, bytes);
    PicBoxProperties p;
    p.Picture = bytesOf(bytes);
    p.DisplayMode = 1;
    Shown shown(p, QSize(50, 40));
    QVERIFY(!shown.box->hasPicture());
    QVERIFY(shown.show());
    const QImage box = rendered(shown.box);
    QCOMPARE(box.size(), QSize(50, 40));
    QImage plain(box.size(), QImage::Format_RGB32);
    plain.fill(face());
    QCOMPARE(test::differingPixels(box, plain), 0);
}

void TestPicBox::borders_data()
{
    QTest::addColumn<int>("border");
    QTest::addColumn<int>("width");
    QTest::newRow("0 none") << 0 << 0;
    QTest::newRow("1 sunken edge") << 1 << 2;
    QTest::newRow("2 raised dialog frame") << 2 << 2;
    QTest::newRow("3 thin sunken edge") << 3 << 1;
    QTest::newRow("4 sunken inside raised") << 4 << 4;
    QTest::newRow("5 single line") << 5 << 1;
}

// The frame lies around the client area, which the colour and a stretched
// picture fill exactly.
void TestPicBox::borders()
{
    QFETCH(int, border);
    QFETCH(int, width);

    // Opaque red (the last fixture pixel) stretched shows as solid red.
    const QByteArray png = fixture("rgb-3x2.png");
    PicBoxProperties p;
    p.Border = border;
    p.BackColor = 0x00FF00;
    Shown plain(p, QSize(60, 40));
    p.Picture = bytesOf(png);
    p.DisplayMode = 0;
    Shown pictured(p, QSize(60, 40));
    QVERIFY(plain.show() && pictured.show());

    const QImage box = rendered(plain.box);
    const QRect client = QRect(0, 0, 60, 40).adjusted(width, width, -width, -width);
    QImage green(box.size(), QImage::Format_RGB32);
    green.fill(QColor(0, 255, 0));
    QCOMPARE(test::differingPixels(box, green, client), 0);
    for (int d = 0; d < width; ++d) {
        QVERIFY(box.pixel(30, d) != green.pixel(0, 0));
        QVERIFY(box.pixel(30, 39 - d) != green.pixel(0, 0));
        QVERIFY(box.pixel(d, 20) != green.pixel(0, 0));
        QVERIFY(box.pixel(59 - d, 20) != green.pixel(0, 0));
    }
    // The picture starts at the client area's corner, not the box's.
    const QImage withPicture = rendered(pictured.box);
    QCOMPARE(withPicture.pixel(client.topLeft()), qRgb(255, 0, 0));
    QCOMPARE(withPicture.pixel(client.left() + 2, client.top() + 1), qRgb(0, 0, 0));
    QCOMPARE(withPicture.pixel(client.left() + 3, client.top()), qRgb(0, 255, 0));
}

void TestPicBox::newerSettingsCannotBeBuilt()
{
    PicBoxProperties p;
    QVERIFY(PicBox::canBuild(p));
    p.version = PicBoxProperties::SupportedVersion + 1;
    QVERIFY(!PicBox::canBuild(p));

    auto windowWith = [](int version) {
        WindowDefinition w;
        w.name = QStringLiteral("Pictured");
        w.width = 200;
        w.height = 150;
        PicBoxProperties box;
        box.version = version;
        box.Picture = assets::countryNameJpg();
        box.DisplayMode = 1;
        ControlDefinition c;
        c.name = QStringLiteral("图片框1");
        c.left = 8;
        c.top = 8;
        c.width = 100;
        c.height = 100;
        c.properties = box;
        w.controls.push_back(c);
        return w;
    };
    const WindowDefinition current = windowWith(PicBoxProperties::SupportedVersion);
    const WindowDefinition newer = windowWith(PicBoxProperties::SupportedVersion + 1);
    {
        Shell shell(WindowTable({&current}));
        QVERIFY(shell.LoadWindow(current.name));
        QVERIFY(shell.isLive(current.name));
    }
    Shell shell(WindowTable({&newer}));
    QVERIFY(!shell.LoadWindow(newer.name));
    QVERIFY(!shell.isLive(newer.name));
    QVERIFY(!shell.window(newer.name));
}

void TestPicBox::pictureFillsBox_data()
{
    QTest::addColumn<QString>("window");
    for (const GeneratorDefinition &g : Catalogue::generators())
        QTest::newRow(qPrintable(g.windowDefinition->name)) << g.windowDefinition->name;
}

// Stretched over the whole box, aspect ratio not kept: the picture's corners
// land in the box's corners and no background shows along any edge.
void TestPicBox::pictureFillsBox()
{
    QFETCH(QString, window);
    const auto g = openGenerator(window);
    QVERIFY(g);
    g->emptyOverlays();
    auto *box = qobject_cast<PicBox *>(g->box());
    QVERIFY(box);
    QCOMPARE(box->properties().DisplayMode, 1);
    QVERIFY(box->hasPicture());
    const QImage shown = rendered(box);
    QCOMPARE(shown.size(), box->size());

    const QRgb background = box->backgroundColour().rgb();
    QCOMPARE(background, face().rgb());
    auto allBackground = [&](QRect line) {
        for (int y = line.top(); y <= line.bottom(); ++y)
            for (int x = line.left(); x <= line.right(); ++x)
                if (shown.pixel(x, y) != background)
                    return false;
        return true;
    };
    const int w = shown.width();
    const int h = shown.height();
    QVERIFY(!allBackground(QRect(0, 0, w, 1)));
    QVERIFY(!allBackground(QRect(0, h - 1, w, 1)));
    QVERIFY(!allBackground(QRect(0, 0, 1, h)));
    QVERIFY(!allBackground(QRect(w - 1, 0, 1, h)));

    const QImage picture = PicBox::screenBitmap(*box->decodedPicture(), box->backgroundColour());
    const QPoint corners[][2] = {{{0, 0}, {0, 0}},
                                 {{w - 1, 0}, {picture.width() - 1, 0}},
                                 {{0, h - 1}, {0, picture.height() - 1}},
                                 {{w - 1, h - 1}, {picture.width() - 1, picture.height() - 1}}};
    for (const auto &[inBox, inPicture] : corners) {
        const QColor a = shown.pixelColor(inBox);
        const QColor b = picture.pixelColor(inPicture);
        QVERIFY2(qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue())
                         <= 60,
                 qPrintable(QStringLiteral("corner %1,%2: %3 vs %4")
                                    .arg(inBox.x())
                                    .arg(inBox.y())
                                    .arg(a.name(), b.name())));
    }
}

void TestPicBox::freeAreasLieUnderOverlays_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QRect>("area"); // in box coordinates
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("share"); // per cent of the area in that colour at least

    QTest::newRow("triangle banner") << "TriangleWindow" << QRect(QPoint(55, 153), QPoint(197, 184))
                                     << QColor(Qt::black) << 97;
    // The picture has a thin grey outline of its own at x 0 and 255.
    QTest::newRow("whitestripe band") << "WhiteStripeWindow"
                                      << QRect(QPoint(1, 52), QPoint(254, 176))
                                      << QColor(Qt::white) << 99;
    QTest::newRow("whitestripe above") << "WhiteStripeWindow"
                                       << QRect(QPoint(1, 1), QPoint(254, 51))
                                       << QColor(Qt::black) << 97;
    QTest::newRow("whitestripe below") << "WhiteStripeWindow"
                                       << QRect(QPoint(1, 177), QPoint(254, 229))
                                       << QColor(Qt::black) << 97;
    // Rounded squares: their corners are background.
    QTest::newRow("countryname top left") << "CountryNameWindow"
                                          << QRect(QPoint(7, 6), QPoint(96, 84))
                                          << QColor(245, 160, 0) << 95;
    QTest::newRow("countryname top right") << "CountryNameWindow"
                                           << QRect(QPoint(104, 6), QPoint(193, 84))
                                           << QColor(230, 0, 20) << 95;
    QTest::newRow("countryname bottom left") << "CountryNameWindow"
                                             << QRect(QPoint(7, 91), QPoint(96, 170))
                                             << QColor(0, 155, 70) << 95;
    QTest::newRow("countryname bottom right") << "CountryNameWindow"
                                              << QRect(QPoint(104, 91), QPoint(193, 170))
                                              << QColor(0, 105, 190) << 95;
    // The seal bears two small white characters of its own in its lower half.
    QTest::newRow("semicircle seal") << "SemicircleWindow" << QRect(QPoint(58, 124), QPoint(116, 171))
                                     << QColor(220, 20, 30) << 75;
    QTest::newRow("animal between the ears") << "AnimalWindow"
                                             << QRect(QPoint(47, 8), QPoint(212, 47))
                                             << QColor(Qt::white) << 90;
}

// Sampled after stretching, with the overlays in the box emptied. The areas
// are the rectangles the overlays are placed on; their colour may stop a
// little short of their corners and edges.
void TestPicBox::freeAreasLieUnderOverlays()
{
    QFETCH(QString, window);
    QFETCH(QRect, area);
    QFETCH(QColor, colour);
    QFETCH(int, share);

    const auto g = openGenerator(window);
    QVERIFY(g);
    g->emptyOverlays();
    const QImage shown = rendered(g->box());
    QVERIFY(shown.rect().contains(area));

    auto near = [&](QPoint p) {
        const QColor c = shown.pixelColor(p);
        return qMax(qAbs(c.red() - colour.red()),
                    qMax(qAbs(c.green() - colour.green()), qAbs(c.blue() - colour.blue())))
               <= 64;
    };
    int matching = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            matching += near(QPoint(x, y));
    const qint64 n = qint64(area.width()) * area.height();
    QVERIFY2(matching * 100 >= share * n,
             qPrintable(QStringLiteral("%1 of %2").arg(matching).arg(n)));
    // Its centre is that colour at any rate.
    QVERIFY(near(area.center()));
}

QTEST_MAIN(TestPicBox)
#include "tst_picbox.moc"
