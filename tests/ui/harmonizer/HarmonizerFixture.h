#pragma once

// Decks by chip (mode 1) and by card (mode 3), one without schemes whose chip is near the first's, a pelvon deck.

#include "db/CollectionRegistry.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QHash>

#include <memory>

namespace HarmonizerFixture {

inline const QUuid kByChip(QStringLiteral("{4a000000-0000-0000-0000-00000000004a}"));
inline const QUuid kByCard(QStringLiteral("{4b000000-0000-0000-0000-00000000004b}"));
inline const QUuid kPlain(QStringLiteral("{4c000000-0000-0000-0000-00000000004c}"));
inline const QUuid kPelvon(QStringLiteral("{4d000000-0000-0000-0000-00000000004d}"));

struct Deck {
    std::unique_ptr<FixtureDatabase> file;
    QHash<QString, qint64> rows; // by code
    QHash<QString, QColor> colors; // by code
    qint64 collection = -1;
    QHash<int, qint64> pages;

    qint64 addCard(int pageIndex, const QList<std::pair<QString, QColor>> &chips, bool neutral = false)
    {
        const qint64 pageId = file->addPage(collection, { pageIndex, pageIndex });
        pages.insert(pageIndex, pageId);
        int rowIndex = 0;
        for (const auto &[code, color] : chips) {
            FixtureDatabase::Row row(++rowIndex, code, color);
            row.neutral = neutral;
            rows.insert(code, file->addRow(collection, pageId, row));
            colors.insert(code, color);
        }
        return pageId;
    }
    void mapRow(const QString &chip, int kind, const QString &code, int pageOrder, int rowOrder)
    {
        file->exec(QStringLiteral("INSERT INTO ROW_SCHEME_MAP(COLLECTION_ID, ROW_ID, SCHEME_ID, SCHEME_ROW_ID, "
                                  "PAGE_ORDER, ROW_ORDER) VALUES(?, ?, ?, ?, ?, ?)"),
            { collection, rows.value(chip), kind, rows.value(code), pageOrder, rowOrder });
    }
    void rowScheme(const QString &chip, int kind, const QStringList &codes, int perCard)
    {
        for (int i = 0; i < codes.size(); ++i)
            mapRow(chip, kind, codes.at(i), i / perCard, i % perCard + 1);
    }
    void pageScheme(int pageIndex, int kind, const QList<int> &schemePages)
    {
        for (int i = 0; i < schemePages.size(); ++i)
            file->exec(QStringLiteral("INSERT INTO PAGE_SCHEME(COLLECTION_ID, PAGE_ID, SCHEME_PAGE_ID, SCHEME_ID, "
                                      "\"ORDER\") VALUES(?, ?, ?, ?, ?)"),
                { collection, pages.value(pageIndex), pages.value(schemePages.at(i)), kind, i });
    }
    void settings(
        const QString &mode, const QVariantList &schemes, bool hasSchemes = true, const QString &cardType = "normal")
    {
        file->addSetting(collection, QStringLiteral("has.color.schemes.page"), hasSchemes ? 1 : 0);
        file->addSetting(collection, "mode.card", mode);
        file->addSetting(collection, "card.type", cardType);
        file->addSetting(collection, "max.chips.on.a.page", 2);
        for (int i = 0; i < schemes.size(); ++i)
            file->addSetting(collection, "schemes", schemes.at(i), i);
        for (const char *key :
            { "harmonic", "contrast", "wide.contrast", "dramatic", "tonal.neutral", "complementary.neutral" })
            file->addLocale(collection, "harmonizer.palette.scheme." + QLatin1String(key),
                QString::fromLatin1(key).replace(QLatin1Char('.'), QLatin1Char('\n')));
    }
};

// Chip codes name their card: P and N on card 1, B on card 2, C on card 3.
inline Deck build()
{
    Deck deck;
    deck.file = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/harmonizer.db");
    FixtureDatabase &db = *deck.file;
    const QVariantList kinds { "harmonic", "contrast", "dramatic", "neutral" };

    deck.collection = db.addCollection(kByChip, "CHIP", 1);
    deck.settings("ModeColorToColor", kinds);
    deck.addCard(1, { { "P", QColor(200, 40, 40) } });
    deck.addCard(4, { { "N", QColor(128, 128, 128) } }, true);
    deck.addCard(2, { { "B1", QColor(40, 200, 40) }, { "B2", QColor(20, 120, 20) } });
    deck.addCard(3, { { "C1", QColor(40, 40, 200) }, { "C2", QColor(20, 20, 120) } });
    for (const char *chip : { "P", "N" }) {
        deck.rowScheme(chip, 1, { "B1", "B2", "C1", "C2" }, 2);
        deck.rowScheme(chip, 5, { "B1", "B2" }, 2);
        deck.rowScheme(chip, 7, { "C2", "C1" }, 2);
    }
    // Two lines' worth of chips that the segments break into three.
    deck.rowScheme("P", 2, { "B1", "C1", "C2", "B2" }, 2);

    deck.collection = db.addCollection(kByCard, "CARD", 2);
    deck.settings("ModeCardToCard", { "harmonic", "neutral", "tonal neutral" });
    deck.addCard(1, { { "K1", QColor(250, 250, 240) }, { "K2", QColor(230, 230, 220) } });
    deck.addCard(2, { { "L1", QColor(90, 60, 30) }, { "L2", QColor(60, 40, 20) } });
    deck.addCard(3, { { "M1", QColor(170, 170, 160) }, { "M2", QColor(150, 150, 140) } });
    deck.pageScheme(1, 7, { 2, 3 });
    deck.pageScheme(2, 7, { 3 });
    deck.pageScheme(2, 8, { 1 });

    deck.collection = db.addCollection(kPlain, "PLAIN", 3);
    deck.settings("ModeColorToColor", { "harmonic" }, false);
    deck.addCard(1, { { "Q", QColor(198, 42, 41) } });

    deck.collection = db.addCollection(kPelvon, "PELVON", 4);
    deck.settings("ModeColorToColor", {}, true, "pelvon");
    for (const char *key : { "wide.contrast", "contrast" })
        db.addLocale(deck.collection, "tiptext.harmonizer.palette.scheme." + QLatin1String(key), key);
    deck.addCard(1, { { "X", QColor(210, 180, 60) }, { "Y", QColor(60, 90, 210) } });
    deck.addCard(2,
        { { "W0", QColor(30, 160, 200) }, { "T0", QColor(40, 60, 200) }, { "W1", QColor(140, 60, 200) },
            { "T1", QColor(10, 10, 10) } });
    // Stored out of order: wide contrast (3) of card 1 first; Y has a fourth.
    for (const char *chip : { "X", "Y" }) {
        deck.mapRow(chip, 3, "W1", 1, 1);
        deck.mapRow(chip, 2, "T0", 0, 1);
        deck.mapRow(chip, 3, "W0", 0, 1);
    }
    deck.mapRow("Y", 2, "T1", 1, 1);
    Tintor::DB::discoverCollections();
    return deck;
}

} // namespace HarmonizerFixture
