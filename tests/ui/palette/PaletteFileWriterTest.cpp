#include "ui/palette/PaletteFileWriter.h"
#include "support/TestEnvironment.h"
#include "ui/palette/PaletteFileReader.h"

#include <QtTest>

using namespace Tintor;

using Chips = QList<PaletteFileWriter::Chip>;

class PaletteFileWriterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paletteFileBytes_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<Chips>("chips");
        QTest::addColumn<QByteArray>("body");
        const QUuid deck(QStringLiteral("{5a1e0000-0000-0000-0000-0000000000d1}"));
        QTest::newRow("empty palette") << QString() << Chips {}
                                       << QByteArray("\t<description/>\n\t<chips>\n\t</chips>\n");
        QTest::newRow("escaped description and a chip")
            << QStringLiteral("a<b&c\r\x01é") << Chips { { QPoint(5, 3), deck, 2, 7, QStringLiteral("Q\"1\t"), {} } }
            << QByteArray("\t<description>a&lt;b&amp;c&#13;\xC3\xA9</description>\n\t<chips>\n\t\t<chip row=\"3\" "
                          "col=\"5\">\n\t\t\t<entry uuid-of-collection=\"{5a1e0000-0000-0000-0000-0000000000d1}\" "
                          "page-index=\"2\" row-index=\"7\" color-code=\"Q&quot;1&#9;\"/>\n\t\t</chip>\n\t</chips>\n");
    }

    void paletteFileBytes()
    {
        QFETCH(QString, description);
        QFETCH(Chips, chips);
        QFETCH(QByteArray, body);
        const QByteArray bytes = PaletteFileWriter::paletteDocument(description, chips);
        QCOMPARE(bytes,
            "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vestrel-palette version=\"3.0\" "
            "system=\"multi-collection\">\n"
                + body + "</vestrel-palette>\n");
        // What is written reads back unchanged; a character XML cannot carry is left out.
        PaletteFileReader::Document document;
        QCOMPARE(PaletteFileReader::parse(bytes, document), PaletteFileReader::Read);
        QCOMPARE(document.description, QString(description).remove(QChar(1)));
        QCOMPARE(document.chips.value(0).code, chips.value(0).code);
    }
};

HUELINK_TEST_MAIN(PaletteFileWriterTest)
#include "PaletteFileWriterTest.moc"
