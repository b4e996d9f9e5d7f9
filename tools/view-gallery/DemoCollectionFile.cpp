#include "DemoCollectionFile.h"

#include "DemoArt.h"

#include "color/ColorScience.h"
#include "db/Schema.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <QVariant>

#include <cstdio>

namespace Gallery {

namespace {

const QString kConnection = QStringLiteral("view-gallery-demo");

const char *const kHueWords[] = {"Poppy", "Ember", "Saffron", "Meadow", "Fern",   "Lagoon",
                                 "Glacier", "Harbour", "Indigo", "Iris", "Orchid", "Rosehip"};
const char *const kShadeWords[] = {"Mist", "Veil", "Whisper", "Bloom", "Dune", "Grove", "Dusk"};

class DemoWriter
{
public:
    explicit DemoWriter(QSqlDatabase database)
        : database(std::move(database))
    {
    }

    bool ok = true;

    QVariant exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery query(database);
        if (!query.prepare(sql)) {
            report(sql, query);
            return QVariant();
        }
        for (const QVariant &value : values)
            query.addBindValue(value);
        if (!query.exec()) {
            report(sql, query);
            return QVariant();
        }
        return query.lastInsertId();
    }

    qint64 collection(const QUuid &uuid, const QString &systemId, const QString &name, int order)
    {
        const qint64 id = exec(QStringLiteral("INSERT INTO COLLECTION(UUID, SYSTEMID, VERSION, NAME, \"ORDER\") "
                                              "VALUES(?, ?, 1, ?, ?)"),
                               {uuid.toString(QUuid::WithBraces), systemId, name, order})
                              .toLongLong();
        setting(id, QStringLiteral("collection.enabled"), 1);
        return id;
    }

    void setting(qint64 collectionId, const QString &name, const QVariant &value, int index = 0)
    {
        exec(QStringLiteral("INSERT INTO SETTING(COLLECTION_ID, NAME, VALUE, VALUE_INDEX) VALUES(?, ?, ?, ?)"),
             {collectionId, name, value, index});
    }

    void text(qint64 collectionId, const QString &key, const QString &string)
    {
        exec(QStringLiteral("INSERT INTO LOCALE(COLLECTION_ID, LOCALE, \"KEY\", STRING) VALUES(?, 'en', ?, ?)"),
             {collectionId, key, string});
    }

    void theme(qint64 collectionId, const QString &key, const QImage &image)
    {
        exec(QStringLiteral("INSERT INTO THEME(COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES(?, ?, ?)"),
             {collectionId, key, pngBytes(image)});
    }

    qint64 page(qint64 collectionId, int pageIndex, int segment, int mood, bool exterior, const QString &name)
    {
        const qint64 id = exec(QStringLiteral("INSERT INTO PAGE(COLLECTION_ID, PAGE_INDEX, SEGMENT, NAME, EXTERIOR, "
                                              "MOOD, NAME0) VALUES(?, ?, ?, ?, ?, ?, ?)"),
                               {collectionId, pageIndex, segment, QStringLiteral("page-%1").arg(pageIndex),
                                exterior ? 1 : 0, mood, name})
                              .toLongLong();
        exec(QStringLiteral("INSERT INTO COLLECTION_PAGE_MAP(COLLECTION_ID, PAGE_ID) VALUES(?, ?)"),
             {collectionId, id});
        return id;
    }

    void chip(qint64 collectionId, qint64 pageId, int rowIndex, int segment, int mood, const QString &code,
              const QString &name, const QColor &color, bool madeToOrder)
    {
        const Tintor::ColorTriple lab = Tintor::colorToLab(color);
        exec(QStringLiteral("INSERT INTO \"ROW\"(COLLECTION_ID, PAGE_ID, ROW_INDEX, CODE, SEGMENT, RED, GREEN, BLUE, "
                            "L, A, B, MOOD, IS_MTO, NAME0) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {collectionId, pageId, rowIndex, code, segment, color.red(), color.green(), color.blue(), lab[0], lab[1],
              lab[2], mood, madeToOrder ? 1 : 0, name});
    }

private:
    void report(const QString &sql, const QSqlQuery &query)
    {
        ok = false;
        std::fprintf(stderr, "view-gallery: %s: %s\n", qPrintable(sql), qPrintable(query.lastError().text()));
    }

    QSqlDatabase database;
};

void addInterfaceTexts(DemoWriter &writer, qint64 collectionId)
{
    const QList<QPair<QString, QString>> texts = {
        {QStringLiteral("mood.filter.all.moods"), QStringLiteral("All moods")},
        {QStringLiteral("mood.filter.exterior.colors"), QStringLiteral("Exterior colours")},
        {QStringLiteral("do.not.show.mto"), QStringLiteral("Hide made-to-order colours")},
        {QStringLiteral("tiptext.mood.fresh.button"), QStringLiteral("Fresh colours")},
        {QStringLiteral("tiptext.mood.warm.button"), QStringLiteral("Warm colours")},
        {QStringLiteral("tiptext.mood.calm.button"), QStringLiteral("Calm colours")},
        {QStringLiteral("tiptext.mood.rich.button"), QStringLiteral("Rich colours")},
        {QStringLiteral("tiptext.mood.offwhite.button"), QStringLiteral("Off-whites")},
        {QStringLiteral("tiptext.mood.neutral.button"), QStringLiteral("Neutrals")},
        {QStringLiteral("color.palette.enter.search.text"), QStringLiteral("Colour code or name")},
        {QStringLiteral("tab.bar.color.schemes.caption"), QStringLiteral("Colour schemes")},
        {QStringLiteral("tab.bar.products.caption"), QStringLiteral("Products")},
        {QStringLiteral("tab.bar.color.foresight.caption"), QStringLiteral("Colour foresight")},
        {QStringLiteral("tab.bar.textures.caption"), QStringLiteral("Textures")},
    };
    for (const auto &text : texts)
        writer.text(collectionId, text.first, text.second);
}

void addSystemWideTheme(DemoWriter &writer)
{
    const qint64 systemWide = 0;
    writer.theme(systemWide, QStringLiteral("image.widget.main.background"), mainBackground(QSize(800, 600)));
    writer.theme(systemWide, QStringLiteral("image.widget.bar.background"), barBackground(QSize(800, 30)));
    writer.theme(systemWide, QStringLiteral("image.widget.color.wheel.background"), colorWheelBackground());
    const QList<QPair<const char *, QColor>> moods = {
        {"fresh", QColor(126, 204, 140)}, {"warm", QColor(232, 142, 72)},     {"calm", QColor(112, 162, 212)},
        {"rich", QColor(156, 58, 92)},    {"offwhite", QColor(238, 232, 216)}, {"neutral", QColor(164, 154, 142)},
    };
    for (const auto &mood : moods) {
        const QString name = QString::fromLatin1(mood.first);
        writer.theme(systemWide, QStringLiteral("image.mood.%1.normal").arg(name), moodImage(mood.second, false));
        writer.theme(systemWide, QStringLiteral("image.mood.%1.selected").arg(name), moodImage(mood.second, true));
    }
    writer.theme(systemWide, QStringLiteral("image.tick.normal"), tickImage());
    writer.theme(systemWide, QStringLiteral("image.mood.disabled"), disabledMarkImage());
    writer.theme(systemWide, QStringLiteral("image.widget.search.magnifying.glass"), magnifyingGlassImage());
    writer.theme(systemWide, QStringLiteral("image.widget.roll.backward.normal"), rollImage(false, false));
    writer.theme(systemWide, QStringLiteral("image.widget.roll.backward.down"), rollImage(false, true));
    writer.theme(systemWide, QStringLiteral("image.widget.roll.forward.normal"), rollImage(true, false));
    writer.theme(systemWide, QStringLiteral("image.widget.roll.forward.down"), rollImage(true, true));
    writer.theme(systemWide, QStringLiteral("image.widget.dropdown.arrow.up"), dropDownArrowImage(true));
    writer.theme(systemWide, QStringLiteral("image.widget.dropdown.arrow.down"), dropDownArrowImage(false));
    writer.exec(QStringLiteral("INSERT INTO THEME(COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES(0, ?, ?)"),
                {QStringLiteral("color.widget.collectionselector.text"), QByteArray("240,240,242")});
    // Families found on a plain Linux machine first.
    writer.exec(QStringLiteral("INSERT INTO THEME(COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES(0, ?, ?)"),
                {QStringLiteral("list.of.preferred.font.faces"),
                 QByteArray("DejaVu Sans,9;Liberation Sans,9;Noto Sans,9;Arial,8")});
    addInterfaceTexts(writer, systemWide);
}

// Chips of a card: one hue, light to dark.
QColor chipColor(int segment, int cardInSegment, int row, int rows)
{
    const int hue = ((segment - 1) * 30 + (cardInSegment - 1) * 8 + 356) % 360;
    const int saturation = 70 + cardInSegment * 45;
    const int lightness = 228 - (row - 1) * (170 / std::max(1, rows - 1));
    return QColor::fromHsl(hue, std::min(saturation, 230), lightness);
}

void addDeck(DemoWriter &writer, const QUuid &uuid, const QString &systemId, const QString &name, int order,
             bool pelvon)
{
    const qint64 id = writer.collection(uuid, systemId, name, order);
    writer.setting(id, QStringLiteral("card.type"), pelvon ? QStringLiteral("pelvon") : QStringLiteral("normal"));
    writer.setting(id, QStringLiteral("num.of.segments"), 12);
    writer.setting(id, QStringLiteral("first.segment.angle"), 90);
    writer.setting(id, QStringLiteral("segment.increment.orientation"), QStringLiteral("CW"));
    writer.setting(id, QStringLiteral("page.name.display.order"), 0);
    writer.setting(id, QStringLiteral("row.name.display.order"), 0);
    writer.setting(id, QStringLiteral("row.name.search.order"), 0);
    writer.setting(id, QStringLiteral("color.tooltip.show.page.name"), 1);
    writer.setting(id, QStringLiteral("color.tooltip.show.row.code"), 1);
    writer.setting(id, QStringLiteral("color.tooltip.show.row.name"), 1);
    writer.setting(id, QStringLiteral("cie2000.delta.intervals"), QStringLiteral("2,5,10"));
    addInterfaceTexts(writer, id);
    writer.theme(id, QStringLiteral("image.mto"), madeToOrderImage());
    writer.theme(id, QStringLiteral("image.banner"), bannerImage(name));

    const int cardsPerSegment = pelvon ? 2 : 3;
    const int rows = pelvon ? 6 : 7;
    int pageIndex = 1;
    for (int segment = 1; segment <= 12; ++segment) {
        for (int card = 1; card <= cardsPerSegment; ++card, ++pageIndex) {
            const int mood = pageIndex % 9 == 0 ? 5 + (pageIndex / 9) % 2 : 1 + (pageIndex % 4);
            const bool exterior = pageIndex % 3 == 1;
            const QString cardName = QStringLiteral("%1 %2").arg(QString::fromLatin1(kHueWords[segment - 1]),
                                                                 QString::fromLatin1(kShadeWords[card - 1]));
            const qint64 pageId = writer.page(id, pageIndex, segment, mood, exterior, cardName);
            for (int row = 1; row <= rows; ++row) {
                const QString code = QStringLiteral("%1 %2%3")
                                         .arg(pelvon ? QStringLiteral("PV") : QStringLiteral("HL"))
                                         .arg(pageIndex, 2, 10, QLatin1Char('0'))
                                         .arg(row);
                const QString chipName = QStringLiteral("%1 %2").arg(cardName).arg(row);
                writer.chip(id, pageId, row, segment, mood, code, chipName,
                            chipColor(segment, card, row, rows), pelvon && row % 3 == 2);
            }
        }
    }
}

} // namespace

bool writeDemoCollectionFile(const QString &databaseFolder)
{
    const QString folder = databaseFolder + QStringLiteral("/Contents/Resources");
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/gallery-demo.db");
    QFile::remove(path);
    bool ok = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        database.setDatabaseName(path);
        if (database.open()) {
            DemoWriter writer(database);
            writer.exec(QStringLiteral("BEGIN"));
            using namespace Tintor::DB;
            for (const QString &sql :
                 Schema::declaredStatements() + Schema::readerStatements() + Schema::seedStatements())
                writer.exec(sql);
            addSystemWideTheme(writer);
            addDeck(writer, QUuid(QStringLiteral("{6a1e7000-0000-4000-8000-000000000001}")), QStringLiteral("DEMO"),
                    QStringLiteral("Huelink Demo Interiors"), 1, false);
            addDeck(writer, QUuid(QStringLiteral("{6a1e7000-0000-4000-8000-000000000002}")),
                    QStringLiteral("DEMOPV"), QStringLiteral("Huelink Demo Pelvon"), 2, true);
            writer.exec(QStringLiteral("COMMIT"));
            ok = writer.ok;
            database.close();
        } else {
            std::fprintf(stderr, "view-gallery: cannot create %s\n", qPrintable(path));
        }
    }
    QSqlDatabase::removeDatabase(kConnection);
    return ok;
}

} // namespace Gallery
