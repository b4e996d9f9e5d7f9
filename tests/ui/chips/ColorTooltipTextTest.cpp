#include "ui/chips/ColorTooltipText.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/SearchQueries.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using Tintor::colorTooltipText;

namespace {

const QUuid kAllOn("{2a000000-0000-0000-0000-00000000002a}");
const QUuid kAllOff("{2b000000-0000-0000-0000-00000000002b}");
const QUuid kOlderKeys("{2c000000-0000-0000-0000-00000000002c}");

const char *const kSwitches[] = { "color.tooltip.show.collection.name", "color.tooltip.show.page.name",
    "color.tooltip.show.row.code", "color.tooltip.show.row.name", "color.tooltip.show.row.auxiliary.info",
    "color.tooltip.show.page.index", "color.tooltip.show.row.row.index" };

QString span(const QString &text)
{
    return QStringLiteral("<span style=\"font-style:italic;\">%1</span>").arg(text);
}

QString div(const QStringList &lines)
{
    return QStringLiteral("<div style=\"margin:2px;\">%1</div>").arg(lines.join("<br/>"));
}

} // namespace

class ColorTooltipTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/tips.db");
        QVERIFY(m_fixture->isOpen());

        const qint64 allOn = m_fixture->addCollection(kAllOn, "ON", 1, true, "Interior");
        for (const char *key : kSwitches)
            m_fixture->addSetting(allOn, QString::fromLatin1(key), 1);
        // Orders name indices outside the names (3, 9) and empty texts.
        const auto addOrder = [this](qint64 collection, const char *key, const QList<int> &indices) {
            for (int i = 0; i < indices.size(); ++i)
                m_fixture->addSetting(collection, QString::fromLatin1(key), indices.at(i), i);
        };
        addOrder(allOn, "page.name.display.order", { 1, 0, 9 });
        addOrder(allOn, "row.name.display.order", { 1, 3, 0 });
        addOrder(allOn, "row.extra.display.order", { 2, 1, 0 });
        addOrder(allOn, "row.name.search.order", { 1 });
        const FixtureDatabase::Page page(5, 1, { "Card A", "Card <B>" });
        const qint64 pageId = m_fixture->addPage(allOn, page);
        FixtureDatabase::Row row(4, "X1", QColor(1, 2, 3), { "Nøl", "Blue & Grey" });
        row.extras = QStringList { "Ex0", "", "Ex2" };
        m_rowId = m_fixture->addRow(allOn, pageId, row);
        row.code = "";
        row.rowIndex = 5;
        m_rowWithoutCodeId = m_fixture->addRow(allOn, pageId, row);

        const qint64 allOff = m_fixture->addCollection(kAllOff, "OFF", 2);
        const qint64 offPageId = m_fixture->addPage(allOff, page);
        m_offRowId = m_fixture->addRow(allOff, offPageId, row);
        // A row whose card is not part of kAllOn.
        row.code = "LOOSE";
        m_rowOfForeignPageId = m_fixture->addRow(allOff, offPageId, row);

        const qint64 older = m_fixture->addCollection(kOlderKeys, "OLD", 3);
        for (const auto &[key, on] : { std::pair { "color.code", 1 }, { "card.name", 1 }, { "page.name", 0 } })
            m_fixture->addSetting(older, "color.tooltip.show." + QLatin1String(key), on);
        addOrder(older, "page.name.display.order", { 0 });
        const qint64 olderPageId = m_fixture->addPage(older, page);
        row.code = "OLD 1";
        m_olderRowId = m_fixture->addRow(older, olderPageId, row);

        QCOMPARE(Tintor::DB::discoverCollections(), 1);
    }

    void factsInTheConfiguredOrderAndOlderKeys()
    {
        const QString plain = "Interior\nCard <B>\nCard A\nX1\nBlue & Grey\nNøl\nEx2\nEx0\n5\n4";
        QCOMPARE(colorTooltipText(kAllOn, m_rowId, false), plain);
        QStringList richLines = plain.split(QLatin1Char('\n'));
        richLines[6] = span("Ex2");
        richLines[7] = span("Ex0");
        // Mark-up in names passes through unchanged.
        QCOMPARE(colorTooltipText(kAllOn, m_rowId, true), div(richLines));

        const QString text = colorTooltipText(kAllOn, m_rowWithoutCodeId, false);
        QCOMPARE(text.split(QLatin1Char('\n')).size(), 9);
        QVERIFY(text.endsWith("Ex0\n5\n5"));
        // A row on another collection's card is no chip of this one.
        QCOMPARE(colorTooltipText(kAllOn, m_rowOfForeignPageId, false), QString());
        QCOMPARE(colorTooltipText(kAllOff, m_offRowId, false), QString());
        QCOMPARE(colorTooltipText(kAllOff, m_offRowId, true), div({}));
        for (const bool rich : { false, true }) {
            QCOMPARE(colorTooltipText(kAllOn, m_rowId + 1000, rich), QString());
            QCOMPARE(colorTooltipText(QUuid(), m_rowId, rich), QString());
        }

        // Another collection in between mixes neither settings nor name orders up; page-name 0 beats the older key.
        QCOMPARE(colorTooltipText(kOlderKeys, m_olderRowId, false), "OLD 1");
        QVERIFY(colorTooltipText(kAllOn, m_rowId, false).startsWith("Interior\n"));
        QCOMPARE(colorTooltipText(kOlderKeys, m_olderRowId, false), "OLD 1");
        QCOMPARE(colorTooltipText(kAllOn, m_rowId, false).count(QLatin1Char('\n')), 9);

        Tintor::CollectionSettings::loadNameOrders(kAllOn);
        QVERIFY(!colorTooltipText(kAllOff, m_offRowId, true).isEmpty());
        int pageIndex = -1, rowIndex = -1, segment = -1, mood = -1;
        bool exterior = true;
        QCOMPARE(Tintor::DB::findPhrase(kAllOn, "blue & grey", pageIndex, rowIndex, segment, mood, exterior), 0);
        QCOMPARE(pageIndex, 5);
        QCOMPARE(rowIndex, 4);
    }

private:
    std::unique_ptr<FixtureDatabase> m_fixture;
    qint64 m_rowId = -1;
    qint64 m_rowWithoutCodeId = -1;
    qint64 m_offRowId = -1;
    qint64 m_rowOfForeignPageId = -1;
    qint64 m_olderRowId = -1;
};

HUELINK_TEST_MAIN(ColorTooltipTextTest)
#include "ColorTooltipTextTest.moc"
