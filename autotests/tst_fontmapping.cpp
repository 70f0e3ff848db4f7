// Fonts from records with heights no definition uses but a record can hold:
// the mapping must neither overflow nor ask for a font that cannot be drawn.

#include "TestSupport.h"
#include "controls/FontMapping.h"
#include "model/FontRecord.h"

#include <QFile>
#include <QPainter>
#include <QTest>

#include <limits>

using namespace xilan;

class TestFontMapping : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { test::pinLookAndFonts(); }
    void extremeHeights_data();
    void extremeHeights();
};

void TestFontMapping::extremeHeights_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("minPixels");
    QTest::addColumn<int>("maxPixels");

    auto record = [](std::int32_t height) {
        FontRecord r;
        r.height = height;
        r.weight = 400;
        r.charSet = 134;
        return r.toBytes();
    };
    constexpr int cap = 0xFFFF;
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    // Character heights are taken as they are, up to the cap.
    QTest::newRow("character height -24") << record(-24) << 24 << 24;
    QTest::newRow("character height beyond the cap") << record(-100000) << cap << cap;
    QTest::newRow("lowest 32-bit height") << record(lowest) << cap << cap;
    // Cell heights square in the conversion: 46341 squared is past 2^31.
    QTest::newRow("cell height 46341") << record(46341) << 1 << cap;
    QTest::newRow("highest 32-bit height") << record(highest) << 1 << cap;

    // Found by fuzz_fontrecord: a cell height of 1869676532.
    QFile found(QStringLiteral(XILAN_TEST_DATA "/fontrecord/cell-height-1869676532.rec"));
    QVERIFY(found.open(QIODevice::ReadOnly));
    QTest::newRow("fuzzer: cell height 1869676532") << found.readAll() << 1 << cap;
}

void TestFontMapping::extremeHeights()
{
    QFETCH(QByteArray, record);
    QFETCH(int, minPixels);
    QFETCH(int, maxPixels);
    QCOMPARE(record.size(), FontRecord::Size);

    const std::optional<QFont> font = FontMapping::fontFromRecord(record);
    QVERIFY(font);
    QVERIFY2(font->pixelSize() >= minPixels && font->pixelSize() <= maxPixels,
             qPrintable(QString::number(font->pixelSize())));

    // The font is usable: a text drawn with it into a small image.
    QImage image(48, 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(*font);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("溪岚 Ag"));
    painter.end();
}

QTEST_MAIN(TestFontMapping)
#include "tst_fontmapping.moc"
