#include "state/IniSettingsFormat.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using Tintor::IniSettingsFormat;

namespace {

// What a store holds, read from a copy of `path` (a path of its own, so no cached contents are shared).
QVariantMap readCopy(const QString &path, QSettings::Format format, const QString &copyName)
{
    const QString copy = QFileInfo(path).dir().filePath(copyName);
    QFile::copy(path, copy);
    QSettings store(copy, format);
    QVariantMap values;
    for (const QString &key : store.allKeys())
        values.insert(key, store.value(key));
    return values;
}

} // namespace

class IniSettingsFormatTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filesReadTheSameInBothFormats_data()
    {
        QTest::addColumn<int>("writer"); // 0: the toolkit's INI format, 1: ours, 2: the text below as it is
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("toolkit writes") << 0 << QByteArray();
        QTest::newRow("own writes") << 1 << QByteArray();
        QTest::newRow("hand-written") << 2
                                      << QByteArray("\xEF\xBB\xBF; note\r\n[General]\r\nUuid = {x} ; rest\n"
                                                    "[%General]\nkey=\"quoted, ;=\" , next\\\n line\n"
                                                    "[My%20Group\nsp%U00E9cial\\key = \\x41\\101\\q \"a\nb\" \n"
                                                    "no equals here\n  [group] \nlist=a,,\"\",b\\");
    }

    void filesReadTheSameInBothFormats()
    {
        QFETCH(int, writer);
        QFETCH(QByteArray, text);
        const QVariantMap values {
            { "UuidOfLastUsedCollection", "{01234567-89ab-cdef-0123-456789abcdef}" },
            { "{01234567-89AB-CDEF-0123-456789ABCDEF}/PageIndex", 12 },
            { "MyPalette/(2,5).Entry", "ItemIndex({01234567-89ab-cdef-0123-456789abcdef},3,4)" },
            { "MyPalette/MyPaletteDescription", "Say \"hi\", a;b=c \\ back #1" },
            { "MyPalette/padded", "  leading and trailing\t " },
            { "MyPalette/lines", "one\ntwo\r\nthree\ttab\a" },
            { "MyPalette/unicode", "Fåglar «été» 色 😀" },
            { "MyPalette/at", "@ByteArray(not bytes)" },
            { "MyPalette/nul",
                QString::fromUtf16(u"a\0"
                                   "7b",
                    4) },
            { "MyPalette/bytes", QByteArray("\0\x01\xff\x7f raw", 8) },
            { "MyPalette/list", QStringList { "a", " b ", "@c", "" } },
            { "MyPalette/emptyList", QStringList() },
            { "MyPalette/mixed", QVariantList { 1, "x", QRect(1, 2, 3, 4) } },
            { "MyPalette/shapes", QVariantList { QSize(5, 6), QPoint(-7, 8) } },
            { "MyPalette/when", QDateTime(QDate(2026, 12, 6), QTime(22, 51), Qt::UTC) },
            { "General/key", true },
            { "deep/er/key", 2.5 },
            { "Ünï/ключ", "non-ASCII names" },
        };
        QTemporaryDir folder;
        const QString path = folder.filePath("written.ini");
        const QSettings::Format own = IniSettingsFormat::format();
        if (writer == 2) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        } else {
            QSettings store(path, writer == 0 ? QSettings::IniFormat : own);
            for (auto value = values.cbegin(); value != values.cend(); ++value)
                store.setValue(value.key(), value.value());
            store.sync();
            QCOMPARE(store.status(), QSettings::NoError);
        }
        const QVariantMap byToolkit = readCopy(path, QSettings::IniFormat, "toolkit.ini");
        const QVariantMap byOwn = readCopy(path, own, "own.ini");
        QCOMPARE(byOwn, byToolkit);
        if (writer != 2) {
            QCOMPARE(byOwn.keys(), values.keys());
            for (auto value = values.cbegin(); value != values.cend(); ++value) {
                // An empty list reads back as no value in both formats.
                if (value->typeId() == QMetaType::QString
                    || (value->typeId() == QMetaType::QStringList && !value->toStringList().isEmpty()))
                    QCOMPARE(byOwn.value(value.key()), value.value());
            }
        } else {
            QCOMPARE(byOwn.size(), 4);
        }
    }
};

HUELINK_TEST_MAIN(IniSettingsFormatTest)
#include "IniSettingsFormatTest.moc"
