#pragma once

// The palette tests' collection: a deck whose chips carry their display name
// in name slot 1, a second deck without a name order, the system-wide one.

#include "db/Schema.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

#include <memory>
#include <utility>

namespace PaletteFixture {

inline const QUuid kDeck(QStringLiteral("{5a1e0000-0000-0000-0000-0000000000d1}"));
inline const QUuid kPlainDeck(QStringLiteral("{5a1e0000-0000-0000-0000-0000000000d2}"));
// Named by palette cells but installed nowhere.
inline const QUuid kGone(QStringLiteral("{5a1e0000-0000-0000-0000-0000000000ff}"));

struct Chip
{
    QString code;
    QColor color;
    QString name; // name slot 1
};

inline const QList<Chip> kDeckChips = {
    {QStringLiteral("HL 1010"), QColor(196, 64, 52), QStringLiteral("Brick Lane")},
    {QStringLiteral("HL 1020"), QColor(232, 168, 56), QStringLiteral("Saffron")},
    {QStringLiteral("HL 1030"), QColor(92, 148, 96), QStringLiteral("Fern Hollow")},
    {QStringLiteral("HL 1040"), QColor(48, 96, 164), QStringLiteral("Harbour Blue")},
    {QStringLiteral("HL 1050"), QColor(120, 80, 150), QStringLiteral("Heather")},
    {QStringLiteral("HL 1060"), QColor(236, 230, 214), QString()},
    {QStringLiteral("HL 1070"), QColor(64, 60, 58), QStringLiteral("Slate")},
    {QStringLiteral("HL 1080"), QColor(210, 120, 150), QStringLiteral("Rosehip")},
};

struct Collections
{
    std::unique_ptr<FixtureDatabase> file;
    qint64 deckId = -1;
    qint64 plainDeckId = -1;
    // Row IDs of kDeckChips, in order, and of the plain deck's chips.
    QList<qint64> deckRows;
    QList<qint64> plainRows;
    qint64 deckPageId = -1;
    qint64 plainPageId = -1;
};

inline Collections create(const QString &fileName = QStringLiteral("palette.db"))
{
    Collections result;
    result.file = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QLatin1Char('/') + fileName);
    FixtureDatabase &file = *result.file;
    result.deckId = file.addCollection(kDeck, QStringLiteral("DECK"), 1, true, QStringLiteral("Demo Deck"));
    result.plainDeckId = file.addCollection(kPlainDeck, QStringLiteral("PLAIN"), 2, true, QStringLiteral("Plain Deck"));
    file.addSetting(result.deckId, QStringLiteral("row.name.display.order"), 1, 0);
    file.addSetting(result.deckId, QStringLiteral("row.name.display.order"), 0, 1);
    for (const char *key : {"color.tooltip.show.collection.name", "color.tooltip.show.row.code",
                            "color.tooltip.show.row.name"})
        file.addSetting(result.deckId, QString::fromLatin1(key), 1);
    const std::pair<const char *, const char *> texts[] = {
        {"mypalette.note.instructions", "Describe your palette here"},
        {"common.confirmation.dialog.caption", "Please confirm"},
        {"mypalette.clearpalettebutton.question", "Remove every colour from My Palette?"}};
    for (const auto &[key, text] : texts)
        file.addLocale(result.deckId, QString::fromLatin1(key), QString::fromLatin1(text));

    FixtureDatabase::Page page;
    page.pageIndex = 1;
    page.names = {QStringLiteral("Warm card")};
    result.deckPageId = file.addPage(result.deckId, page);
    int rowIndex = 1;
    for (const Chip &chip : kDeckChips) {
        FixtureDatabase::Row row;
        row.rowIndex = rowIndex++;
        row.code = chip.code;
        row.color = chip.color;
        row.names = {QStringLiteral("unused %1").arg(chip.code), chip.name.isNull() ? QStringLiteral("") : chip.name};
        result.deckRows.append(file.addRow(result.deckId, result.deckPageId, row));
    }

    result.plainPageId = file.addPage(result.plainDeckId, page);
    for (int index = 0; index < 3; ++index) {
        FixtureDatabase::Row row;
        row.rowIndex = index + 1;
        row.code = QStringLiteral("PL-%1").arg(index + 1);
        row.color = QColor(30 + 60 * index, 200 - 50 * index, 90);
        row.names = {QStringLiteral("Plain %1").arg(index + 1)};
        result.plainRows.append(file.addRow(result.plainDeckId, result.plainPageId, row));
    }
    return result;
}

inline Tintor::DB::ItemIndex deckItem(const Collections &collections, int chip)
{
    return Tintor::DB::ItemIndex{kDeck, collections.deckPageId, collections.deckRows.at(chip)};
}

} // namespace PaletteFixture
