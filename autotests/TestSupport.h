#pragma once

// Shared by the widget tests: the program's real window table, composed as
// main() composes it, and fonts pinned so that pixel checks do not depend on
// the machine's font configuration.

#include "generators/Catalogue.h"
#include "shell/MainWindow.h"
#include "model/WindowTable.h"

#include <QApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QTest>
#include <QFont>
#include <QImage>
#include <QStyleFactory>

namespace xilan::test {

// One table for the whole test run, like the program's; a reference, so that
// range-for loops over its windows() never outlive it.
inline const WindowTable &programTable()
{
    static const WindowTable table = [] {
        std::vector<const WindowDefinition *> windows{&MainWindow::definition()};
        for (const WindowDefinition *w : Catalogue::windows())
            windows.push_back(w);
        return WindowTable(std::move(windows));
    }();
    return table;
}

// The offscreen platform warns about every raise() and size hint it cannot
// honour; those lines would bury the test output.
inline QtMessageHandler &testLogHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void dropPlatformNoise(QtMsgType type, const QMessageLogContext &context,
                              const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (testLogHandler())
        testLogHandler()(type, context, message);
}

inline void pinLookAndFonts()
{
    static const bool quiet = [] {
        testLogHandler() = qInstallMessageHandler(dropPlatformNoise);
        return true;
    }();
    Q_UNUSED(quiet);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(12);
    QApplication::setFont(font);
}

// Pixels of an image that differ between two images of the same size.
inline int differingPixels(const QImage &a, const QImage &b, const QRect &area = {})
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    const QRect r = area.isNull() ? x.rect() : area.intersected(x.rect());
    int count = 0;
    for (int row = r.top(); row <= r.bottom(); ++row)
        for (int col = r.left(); col <= r.right(); ++col)
            if (x.pixel(col, row) != y.pixel(col, row))
                ++count;
    return count;
}

// One key event per code point, carrying the character as its text, as a
// keyboard delivers it; surrogate pairs stay together.
inline void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString unit = text.mid(i, length);
        const QChar c = unit.at(0);
        const Qt::Key key = c.unicode() < 0x80 && c.isLetterOrNumber()
                                    ? Qt::Key(c.toUpper().unicode())
                                    : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, widget, key, unit, Qt::NoModifier);
        i += length - 1;
    }
}

// What an input method hands over when the user picks a candidate.
inline void commit(QWidget *widget, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

// A decoder fixture from autotests/data/templateimage.
inline QByteArray fixture(const char *name)
{
    QFile file(QString(XILAN_TEST_DATA) + "/templateimage/" + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return file.readAll();
}

inline Bytes bytesOf(const QByteArray &data)
{
    return Bytes(reinterpret_cast<const std::uint8_t *>(data.constData()),
                 static_cast<std::size_t>(data.size()));
}

} // namespace xilan::test
