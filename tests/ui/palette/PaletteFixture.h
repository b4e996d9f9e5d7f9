#pragma once

// A deck with display names in name slot 1, a second deck without a name order, the system-wide collection.

#include "db/Schema.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <memory>

namespace PaletteFixture {

inline const QUuid kDeck(QStringLiteral("{5a1e0000-0000-0000-0000-0000000000d1}"));
inline const QUuid kPlainDeck(QStringLiteral("{5a1e0000-0000-0000-0000-0000000000d2}"));
// Named by palette cells but installed nowhere.
inline const QUuid kGone(QStringLiteral("{5a1e0000-0000-0000-0000-0000000000ff}"));

struct Chip {
    QString code;
    QColor color;
    QString name; // name slot 1
};

inline const QList<Chip> kDeckChips = {
    { "HL 1010", QColor(196, 64, 52), "Brick Lane" },
    { "HL 1020", QColor(232, 168, 56), "Saffron" },
    { "HL 1030", QColor(92, 148, 96), "Fern Hollow" },
    { "HL 1040", QColor(48, 96, 164), "Harbour Blue" },
    { "HL 1050", QColor(120, 80, 150), "Heather" },
    { "HL 1060", QColor(236, 230, 214), "" },
    { "HL 1070", QColor(64, 60, 58), "Slate" },
    { "HL 1080", QColor(210, 120, 150), "Rosehip" },
};

struct Collections {
    std::unique_ptr<FixtureDatabase> file;
    QList<qint64> deckRows; // row IDs of kDeckChips, in order
    QList<qint64> plainRows;
    qint64 deckPageId = -1;
    qint64 plainPageId = -1;
};

inline Collections create(const QString &fileName = "palette.db")
{
    Collections result;
    result.file = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QLatin1Char('/') + fileName);
    FixtureDatabase &file = *result.file;
    const qint64 deck = file.addCollection(kDeck, "DECK", 1, true, "Demo Deck");
    const qint64 plain = file.addCollection(kPlainDeck, "PLAIN", 2, true, "Plain Deck");
    file.addSetting(deck, "row.name.display.order", 1, 0);
    file.addSetting(deck, "row.name.display.order", 0, 1);
    for (const char *key : { "collection.name", "row.code", "row.name" })
        file.addSetting(deck, "color.tooltip.show." + QLatin1String(key), 1);
    file.addLocale(deck, "mypalette.note.instructions", "Describe your palette here");
    file.addLocale(deck, "common.confirmation.dialog.caption", "Please confirm");
    file.addLocale(
        deck, "mypalette.clearpalettebutton.question", QStringLiteral("Remove every colour from My Palette?"));
    const FixtureDatabase::Page page(1, 1, { "Warm card" });
    result.deckPageId = file.addPage(deck, page);
    for (const Chip &chip : kDeckChips)
        result.deckRows.append(file.addRow(deck, result.deckPageId,
            { int(result.deckRows.size()) + 1, chip.code, chip.color,
                { QStringLiteral("unused %1").arg(chip.code), chip.name } }));
    result.plainPageId = file.addPage(plain, page);
    for (int index = 0; index < 3; ++index)
        result.plainRows.append(file.addRow(plain, result.plainPageId,
            { index + 1, QStringLiteral("PL-%1").arg(index + 1), QColor(30 + 60 * index, 200 - 50 * index, 90),
                { QStringLiteral("Plain %1").arg(index + 1) } }));
    return result;
}

inline Tintor::DB::ItemIndex deckItem(const Collections &collections, int chip)
{
    return Tintor::DB::ItemIndex { kDeck, collections.deckPageId, collections.deckRows.at(chip) };
}

} // namespace PaletteFixture
