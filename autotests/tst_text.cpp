// Texts are GBK bytes; conversions must keep every character a user can type
// and must survive any byte string. Font records have a fixed 60-byte layout.

#include "TestSupport.h"
#include "model/FontRecord.h"
#include "model/Text.h"

#include <QTest>

using namespace xilan;
using namespace Qt::StringLiterals;

class TestText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gbkBytes_data();
    void gbkBytes();
    void unicodeRoundTrip_data();
    void unicodeRoundTrip();
    void everyTableTextRoundTrips();
    void invalidBytes_data();
    void invalidBytes();
    void unpairedSurrogates_data();
    void unpairedSurrogates();
    void emptyIsNone();

    void fontRecordLayout();
    void fontRecordRoundTrip();
    void fontRecordLength_data();
    void fontRecordLength();
    void faceNameIsTerminated();
};

void TestText::gbkBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"QQ517284963"_s << QByteArray("QQ517284963");
    QTest::newRow("han") << u"霁川"_s << QByteArray("\xF6\xAB\xB4\xA8");
    QTest::newRow("full-width colon") << u"名字："_s << QByteArray("\xC3\xFB\xD7\xD6\xA3\xBA");
    // GBK's own extensions of GB2312 keep their GBK bytes.
    QTest::newRow("euro sign") << u"€"_s << QByteArray("\xA2\xE3");
    // Outside GBK: GB18030's four-byte form, where GBK would have lost it.
    QTest::newRow("emoji") << u"😀"_s << QByteArray("\x94\x39\xFC\x36");
}

void TestText::gbkBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Text::fromUnicode(text).bytes(), bytes);
    QCOMPARE(Text::fromGbk(bytes).toUnicode(), text);
}

void TestText::unicodeRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("chinese name") << u"张三丰"_s;
    QTest::newRow("rare han outside GBK") << QString::fromUcs4(U"\U00020000\U0002A6D6");
    QTest::newRow("emoji with modifier") << u"👍🏽 ok"_s;
    QTest::newRow("other scripts") << u"Ωмир שלום مرحبا 한국"_s;
    QTest::newRow("combining marks") << u"e\u0301 a\u0308"_s;
    QTest::newRow("zero-width") << u"a\u200Bb\u200Dc\uFEFF"_s;
    QTest::newRow("controls") << u"a\tb\nc\rd"_s;
    QTest::newRow("ampersands") << u"A&B&&C"_s;
    QTest::newRow("private use") << u"\uE000\uF8FF"_s;
}

void TestText::unicodeRoundTrip()
{
    QFETCH(QString, text);
    const Text gbk = Text::fromUnicode(text);
    QVERIFY(!gbk.isEmpty());
    QCOMPARE(gbk.toUnicode(), text);
}

void TestText::everyTableTextRoundTrips()
{
    // Every text of the definitions is stored as GBK and must come back as
    // it was written.
    auto check = [](const Text &t, const QString &where) {
        QVERIFY2(Text::fromUnicode(t.toUnicode()) == t, qPrintable(where));
        QVERIFY2(!t.toUnicode().contains(QChar::ReplacementCharacter), qPrintable(where));
    };
    for (const WindowDefinition *w : test::programTable().windows()) {
        check(w->Title, w->name);
        for (const ControlDefinition &c : w->controls) {
            std::visit([&](const auto &p) {
                if constexpr (requires { p.Text; })
                    check(p.Text, w->name + u'/' + c.name);
            }, c.properties);
        }
    }
}

void TestText::invalidBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("lead byte at end") << QByteArray("ab\x81") << u"ab"_s + bad;
    QTest::newRow("lone 0xFF") << QByteArray("\xFFz") << bad + u"z"_s;
    QTest::newRow("0x80") << QByteArray("\x80") << bad;
    QTest::newRow("cut four-byte form") << QByteArray("\x94\x39\xFC") << bad;
}

// An input can hold half a character: the toolkit's redo may leave the caret
// between the halves of a surrogate pair, and Delete there removes one half.
// The overlay then shows a replacement character in its place, as the input
// itself does, not a question mark or an invisible control character.
void TestText::unpairedSurrogates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("high half alone") << QString(QChar(0xD840)) << bad;
    QTest::newRow("low half alone") << QString(QChar(0xDC00)) << bad;
    QTest::newRow("high half inside text")
            << u"霁"_s + QChar(0xD83D) + u"川"_s << u"霁"_s + bad + u"川"_s;
    QTest::newRow("halves in the wrong order")
            << QString(QChar(0xDE00)) + QChar(0xD83D) + u"a"_s << bad + bad + u"a"_s;
}

void TestText::unpairedSurrogates()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    const Text gbk = Text::fromUnicode(text);
    QCOMPARE(gbk.toUnicode(), shown);
    QCOMPARE(Text::fromUnicode(shown), gbk);
}

void TestText::invalidBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString decoded = Text::fromGbk(bytes).toUnicode();
    // The exact number of replacement characters for a broken sequence is
    // the converter's business; what matters is that the valid characters
    // survive and the broken ones show as replacements.
    QVERIFY2(decoded.contains(QChar::ReplacementCharacter), qPrintable(decoded));
    QString squeezed = decoded;
    while (squeezed.contains(QString(2, QChar::ReplacementCharacter)))
        squeezed.replace(QString(2, QChar::ReplacementCharacter), QString(QChar::ReplacementCharacter));
    QCOMPARE(squeezed, expected);
}

void TestText::emptyIsNone()
{
    QVERIFY(Text().isEmpty());
    QVERIFY(Text::fromUnicode(QString()).isEmpty());
    QCOMPARE(Text::fromGbk({}), Text());
    QCOMPARE(Text().toUnicode(), QString());
}

void TestText::fontRecordLayout()
{
    FontRecord r;
    r.height = -37;
    r.width = 5;
    r.escapement = 900;
    r.orientation = 450;
    r.weight = 700;
    r.italic = 255;
    r.underline = 1;
    r.strikeOut = 1;
    r.charSet = 134;
    r.outPrecision = 3;
    r.clipPrecision = 2;
    r.quality = 1;
    r.pitchAndFamily = 49;
    r.setFaceName(u"新宋体"_t.bytes());
    const QByteArray b = r.toBytes();
    QCOMPARE(b.size(), 60);
    // Little-endian integers first, then the byte fields, then the face.
    QCOMPARE(b.mid(0, 4), QByteArray("\xDB\xFF\xFF\xFF", 4));
    QCOMPARE(b.mid(4, 4), QByteArray("\x05\x00\x00\x00", 4));
    QCOMPARE(b.mid(8, 4), QByteArray("\x84\x03\x00\x00", 4));
    QCOMPARE(b.mid(16, 4), QByteArray("\xBC\x02\x00\x00", 4));
    QCOMPARE(b.mid(20, 8), QByteArray("\xFF\x01\x01\x86\x03\x02\x01\x31", 8));
    QCOMPARE(b.mid(28, 6), u"新宋体"_t.bytes());
    QCOMPARE(b.at(34), '\0');
}

void TestText::fontRecordRoundTrip()
{
    FontRecord r;
    r.height = -80;
    r.weight = 290;
    r.italic = 255;
    r.setFaceName(u"微软雅黑 Light"_t.bytes());
    const std::optional<FontRecord> back = FontRecord::fromBytes(r.toBytes());
    QVERIFY(back);
    QCOMPARE(*back, r);
    QCOMPARE(Text::fromGbk(back->faceNameBytes()).toUnicode(), u"微软雅黑 Light"_s);
}

void TestText::fontRecordLength_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("isRecord");
    QTest::newRow("empty") << 0 << false;
    QTest::newRow("59") << 59 << false;
    QTest::newRow("60") << 60 << true;
    QTest::newRow("61") << 61 << false;
    QTest::newRow("92 (a wide record)") << 92 << false;
}

void TestText::fontRecordLength()
{
    QFETCH(int, length);
    QFETCH(bool, isRecord);
    QCOMPARE(FontRecord::fromBytes(QByteArray(length, '\x01')).has_value(), isRecord);
}

void TestText::faceNameIsTerminated()
{
    // A face name longer than the field keeps its terminator, and one whose
    // first byte is zero is empty.
    FontRecord r;
    r.setFaceName(QByteArray(40, 'x'));
    QCOMPARE(r.faceNameBytes(), QByteArray(31, 'x'));
    QByteArray bytes = r.toBytes();
    bytes[28] = '\0';
    QCOMPARE(FontRecord::fromBytes(bytes)->faceNameBytes(), QByteArray());
    // Garbage after the terminator is ignored; no terminator at all stops at
    // the field's end.
    bytes.replace(28, 32, QByteArray(32, 'y'));
    QCOMPARE(FontRecord::fromBytes(bytes)->faceNameBytes(), QByteArray(32, 'y'));
}

QTEST_MAIN(TestText)
#include "tst_text.moc"
