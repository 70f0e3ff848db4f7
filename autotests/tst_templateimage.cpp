#include "TestSupport.h"
#include "controls/TemplateImage.h"

#include <QFile>
#include <QTemporaryFile>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace xilan;

Q_DECLARE_METATYPE(TemplateImage::Format)

namespace {

using test::bytesOf;
using test::fixture;

QByteArray hex(const char *digits)
{
    return QByteArray::fromHex(digits);
}

// Offset of the first marker `code` after SOI, walking the segments by their
// lengths so that table contents are never mistaken for a marker.
qsizetype markerOffset(const QByteArray &jpeg, std::uint8_t code)
{
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && std::uint8_t(jpeg[at]) == 0xFF) {
        if (std::uint8_t(jpeg[at + 1]) == code)
            return at;
        at += 2 + ((std::uint8_t(jpeg[at + 2]) << 8) | std::uint8_t(jpeg[at + 3]));
    }
    qFatal("marker %02x not found", code);
}

// A baseline JPEG with the frame header claiming another size.
QByteArray withFrameSize(QByteArray jpeg, int width, int height)
{
    const qsizetype sof = markerOffset(jpeg, 0xC0);
    jpeg[sof + 5] = char(height >> 8);
    jpeg[sof + 6] = char(height);
    jpeg[sof + 7] = char(width >> 8);
    jpeg[sof + 8] = char(width);
    return jpeg;
}

// The progressive JPEG with its last scan repeated `extra` more times before
// EOI. Entropy-coded data never holds FF DA, so the last FF DA starts the
// last scan.
QByteArray withExtraScans(const QByteArray &jpeg, int extra)
{
    const qsizetype eoi = jpeg.size() - 2;
    const qsizetype lastScan = jpeg.lastIndexOf("\xFF\xDA");
    const QByteArray scan = jpeg.mid(lastScan, eoi - lastScan);
    return jpeg.left(eoi) + scan.repeated(extra) + jpeg.mid(eoi);
}

// Whether every channel of the RGB pixel at (x, y) is within `tolerance` of
// the three bytes at `expected`.
bool pixelNear(const DecodedPicture &picture, int x, int y, const char *expected, int tolerance)
{
    const std::uint8_t *p = &picture.pixels[(std::size_t(y) * picture.width + x) * 3];
    for (int c = 0; c < 3; ++c)
        if (std::abs(int(p[c]) - int(std::uint8_t(expected[c]))) > tolerance)
            return false;
    return true;
}

bool rowsEqual(const DecodedPicture &a, const DecodedPicture &b, int rows)
{
    const std::size_t length = std::size_t(rows) * a.width * a.channels;
    return std::equal(a.pixels.begin(), a.pixels.begin() + length, b.pixels.begin());
}

} // namespace

class TestTemplateImage : public QObject
{
    Q_OBJECT

private slots:
    void detectFormat_data();
    void detectFormat();
    void decodesPng_data();
    void decodesPng();
    void decodesJpeg_data();
    void decodesJpeg();
    void rejectsMalformed_data();
    void rejectsMalformed();
    void keepsDecodedPartOfTruncatedJpeg_data();
    void keepsDecodedPartOfTruncatedJpeg();
    void limitsProgressiveScans_data();
    void limitsProgressiveScans();
    void staysSilent();
};

void TestTemplateImage::detectFormat_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TemplateImage::Format>("expected");
    using F = TemplateImage::Format;

    QTest::newRow("empty") << QByteArray() << F::None;
    QTest::newRow("png signature, 7 bytes") << hex("89504e470d0a1a") << F::None;
    QTest::newRow("jpeg start, 7 bytes") << hex("ffd8ffe000104a") << F::None;
    QTest::newRow("bmp") << hex("424d3e0000000000") << F::None;
    QTest::newRow("gif") << QByteArray("GIF89a\x10\x00", 8) << F::None;
    QTest::newRow("ico") << hex("0000010001001010") << F::None;
    QTest::newRow("garbage") << QByteArray("garbage!") << F::None;
    QTest::newRow("jpeg end marker") << hex("ffd9ffd8ffe00010") << F::None;
    QTest::newRow("png, one letter off") << hex("89504e460d0a1a0a") << F::None;
    QTest::newRow("png signature") << hex("89504e470d0a1a0a") << F::Png;
    QTest::newRow("jpeg start of image") << hex("ffd8ffe000104a46") << F::Jpeg;
}

void TestTemplateImage::detectFormat()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TemplateImage::Format, expected);
    QCOMPARE(TemplateImage::detectFormat(bytesOf(bytes)), expected);
    if (expected == TemplateImage::Format::None)
        QVERIFY(!TemplateImage::decode(bytesOf(bytes)));
}

void TestTemplateImage::decodesPng_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QByteArray>("bgra");

    // Opaque pixels get alpha 255; colours and alpha come out as stored.
    QTest::newRow("rgb") << fixture("rgb-3x2.png") << 3 << 2
                         << hex("0000ffff 00ff00ff ff0000ff"
                                "302010ff ffffffff 000000ff");
    QTest::newRow("rgba") << fixture("rgba-3x1.png") << 3 << 1
                          << hex("00000080 ffffff80 0000ffff");
    QTest::newRow("grey") << fixture("grey-2x1.png") << 2 << 1 << hex("282828ff c8c8c8ff");
    QTest::newRow("palette with transparency")
        << fixture("palette-2x1.png") << 2 << 1 << hex("1e140a40 3264c8ff");
}

void TestTemplateImage::decodesPng()
{
    QFETCH(QByteArray, file);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QByteArray, bgra);

    QCOMPARE(TemplateImage::detectFormat(bytesOf(file)), TemplateImage::Format::Png);
    const auto picture = TemplateImage::decode(bytesOf(file));
    QVERIFY(picture);
    QCOMPARE(picture->width, width);
    QCOMPARE(picture->height, height);
    QCOMPARE(picture->channels, 4);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(picture->pixels.data()),
                        qsizetype(picture->pixels.size())).toHex(' '),
             bgra.toHex(' '));
}

void TestTemplateImage::decodesJpeg_data()
{
    QTest::addColumn<QByteArray>("file");
    // RGB of the four flat 8 × 8 blocks of a 16 × 16 picture, in reading order.
    QTest::addColumn<QByteArray>("blocks");

    const QByteArray colours = hex("dc1e1e 1ec828 2832d2 e6dc28");
    QTest::newRow("grey") << fixture("grey-quadrants.jpg") << hex("202020 606060 a0a0a0 e0e0e0");
    QTest::newRow("baseline colour") << fixture("quadrants-baseline.jpg") << colours;
    QTest::newRow("progressive colour") << fixture("quadrants-progressive.jpg") << colours;
}

void TestTemplateImage::decodesJpeg()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, blocks);

    const auto picture = TemplateImage::decode(bytesOf(file));
    QVERIFY(picture);
    QCOMPARE(picture->width, 16);
    QCOMPARE(picture->height, 16);
    QCOMPARE(picture->channels, 3);
    QCOMPARE(picture->pixels.size(), std::size_t(16 * 16 * 3));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const char *expected = blocks.constData() + ((y / 8) * 2 + x / 8) * 3;
            const auto *p = &picture->pixels[(std::size_t(y) * 16 + x) * 3];
            if (!pixelNear(*picture, x, y, expected, 3))
                QFAIL(qPrintable(QString("pixel (%1, %2) is %3, expected %4")
                                     .arg(x).arg(y)
                                     .arg(QByteArray(reinterpret_cast<const char *>(p), 3).toHex(),
                                          QByteArray(expected, 3).toHex())));
            // A grey file's channels are copies, not three separate roundings.
            if (expected[0] == expected[1] && expected[1] == expected[2])
                QVERIFY(p[0] == p[1] && p[1] == p[2]);
        }
    }
}

void TestTemplateImage::rejectsMalformed_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray rgbPng = fixture("rgb-3x2.png");
    QTest::newRow("png, idat checksum wrong") << fixture("bad-crc.png");
    QTest::newRow("png, idat not deflate") << fixture("garbage-idat.png");
    QTest::newRow("png claims 100000 x 100000") << fixture("claims-100000x100000.png");
    QTest::newRow("png claims 65536 x 16384") << fixture("claims-65536x16384.png");
    QTest::newRow("png claims 2^31-1 squared") << fixture("claims-7fffffff.png");
    QTest::newRow("png of 5000 x 1000, valid but too large") << fixture("black-5000x1000.png");
    QTest::newRow("png signature only") << rgbPng.left(8);
    QTest::newRow("png cut after its header") << rgbPng.left(33);
    QTest::newRow("png cut inside idat") << rgbPng.left(50);

    const QByteArray jpeg = fixture("quadrants-baseline.jpg");
    QTest::newRow("jpeg start then garbage")
        << QByteArray("\xFF\xD8not a marker in sight, just words and more words");
    QTest::newRow("jpeg cut inside its first segment") << jpeg.left(8);
    QTest::newRow("jpeg cut before its scan") << jpeg.left(markerOffset(jpeg, 0xDA));
    QTest::newRow("jpeg frame width 0") << withFrameSize(jpeg, 0, 16);
    QTest::newRow("jpeg claims 5000 x 1000") << withFrameSize(jpeg, 5000, 1000);
    QTest::newRow("jpeg claims 60000 x 60000") << withFrameSize(jpeg, 60000, 60000);
    QTest::newRow("jpeg cmyk") << fixture("cmyk.jpg");
}

void TestTemplateImage::rejectsMalformed()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(TemplateImage::detectFormat(bytesOf(bytes)) != TemplateImage::Format::None);
    QVERIFY(!TemplateImage::decode(bytesOf(bytes)));
}

void TestTemplateImage::keepsDecodedPartOfTruncatedJpeg_data()
{
    QTest::addColumn<QByteArray>("file");
    // Rows that must match the complete file's. Cut at 60 %, the baseline
    // file keeps its first 16-row block; the block's last row is upsampled
    // partly from chroma in the next block, which is lost. The progressive
    // file is cut inside its sixth scan, so every row is still unfinished.
    // (Both cuts fall in entropy-coded data: a cut inside a table segment is
    // a fatal error to the library, not a short file.)
    QTest::addColumn<int>("intactRows");

    QTest::newRow("baseline") << fixture("stripes-baseline.jpg") << 15;
    QTest::newRow("progressive") << fixture("stripes-progressive.jpg") << 0;
}

void TestTemplateImage::keepsDecodedPartOfTruncatedJpeg()
{
    QFETCH(QByteArray, file);
    QFETCH(int, intactRows);

    const auto full = TemplateImage::decode(bytesOf(file));
    QVERIFY(full);
    const auto cut = TemplateImage::decode(bytesOf(file.left(file.size() * 6 / 10)));
    QVERIFY(cut);
    QCOMPARE(cut->width, full->width);
    QCOMPARE(cut->height, full->height);
    QCOMPARE(cut->channels, full->channels);
    QCOMPARE(cut->pixels.size(), full->pixels.size());
    QVERIFY(rowsEqual(*cut, *full, intactRows));
    QVERIFY(cut->pixels != full->pixels); // the cut did lose something
}

void TestTemplateImage::limitsProgressiveScans_data()
{
    QTest::addColumn<int>("extraScans");
    QTest::addColumn<bool>("decodes");

    // The fixture has ten scans of its own.
    QTest::newRow("as encoded") << 0 << true;
    QTest::newRow("a few dozen more") << 40 << true;
    QTest::newRow("a thousand more") << 1000 << false;
}

void TestTemplateImage::limitsProgressiveScans()
{
    QFETCH(int, extraScans);
    QFETCH(bool, decodes);

    const QByteArray jpeg = withExtraScans(fixture("quadrants-progressive.jpg"), extraScans);
    const auto picture = TemplateImage::decode(bytesOf(jpeg));
    QCOMPARE(bool(picture), decodes);
    if (picture)
        QCOMPARE(picture->width, 16);
}

// The libraries' default handlers write warnings and errors to stderr.
void TestTemplateImage::staysSilent()
{
    const QByteArray jpeg = fixture("stripes-baseline.jpg");
    const char garbage[] = "\xFF\xD8\xFF\xFE\x00\x04zz and then no marker at all";
    const QList<QByteArray> inputs{
        jpeg.left(jpeg.size() / 2), // warning: data ends early
        QByteArray(garbage, sizeof garbage - 1), // warning: extraneous data; error: no image
        withExtraScans(fixture("quadrants-progressive.jpg"), 5), // warning: bogus progression
        fixture("bad-crc.png"),
        fixture("garbage-idat.png"),
        fixture("rgb-3x2.png").left(50),
    };

    QTemporaryFile capture;
    QVERIFY(capture.open());
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    QVERIFY(savedStderr >= 0);
    dup2(capture.handle(), STDERR_FILENO);
    for (const QByteArray &input : inputs)
        TemplateImage::decode(bytesOf(input));
    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);

    capture.seek(0);
    QCOMPARE(capture.readAll(), QByteArray());
}

QTEST_GUILESS_MAIN(TestTemplateImage)
#include "tst_templateimage.moc"
