#include "CollectionWriter.h"

#include "ComputedSchemeMaps.h"
#include "ProblemList.h"
#include "color/ColorScience.h"
#include "db/Schema.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>

namespace Tintor {

namespace {

bool isIndexStatement(const QString &sql)
{
    const QString text = sql.trimmed();
    return text.startsWith(QLatin1String("CREATE INDEX"), Qt::CaseInsensitive)
        || text.startsWith(QLatin1String("CREATE UNIQUE INDEX"), Qt::CaseInsensitive);
}

QString columnList(const QString &prefix)
{
    QStringList columns;
    for (int i = 0; i < 10; ++i)
        columns << prefix + QString::number(i);
    return columns.join(QStringLiteral(", "));
}

QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

int connectionCounter = 0;

// A null QString binds as SQL NULL, which the NOT NULL text columns refuse.
QVariant textValue(const QString &value)
{
    return value.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(value);
}

} // namespace

CollectionWriter::CollectionWriter(ProblemList &problems)
    : m_problems(problems)
    , m_connection(QStringLiteral("huelink-collection-writer-%1").arg(++connectionCounter))
{
}

CollectionWriter::~CollectionWriter()
{
    m_db = QSqlDatabase();
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

bool CollectionWriter::exec(const QString &sql)
{
    QSqlQuery query(m_db);
    if (!query.exec(sql)) {
        m_problems.error(m_outputName, QStringLiteral("SQL failed: %1: %2").arg(sql, query.lastError().text()));
        return false;
    }
    return true;
}

bool CollectionWriter::prepare(QSqlQuery &query, const QString &sql)
{
    if (!query.prepare(sql)) {
        m_problems.error(m_outputName, QStringLiteral("SQL failed: %1: %2").arg(sql, query.lastError().text()));
        return false;
    }
    return true;
}

bool CollectionWriter::run(QSqlQuery &query)
{
    if (!query.exec()) {
        m_problems.error(m_outputName,
                         QStringLiteral("SQL failed: %1: %2").arg(query.lastQuery(), query.lastError().text()));
        return false;
    }
    return true;
}

bool CollectionWriter::write(const CollectionSource &source, const QString &outputPath)
{
    m_outputName = outputPath;
    m_counts = Counts();
    const QFileInfo output(outputPath);
    if (!output.absoluteDir().exists() && !QDir().mkpath(output.absolutePath())) {
        m_problems.error(outputPath, QStringLiteral("cannot create the folder %1").arg(output.absolutePath()));
        return false;
    }
    // A temporary file next to the output, so the final rename stays on one file system.
    QTemporaryFile temporary(output.absoluteFilePath() + QStringLiteral(".XXXXXX.partial"));
    temporary.setAutoRemove(false);
    if (!temporary.open()) {
        m_problems.error(outputPath, QStringLiteral("cannot create a temporary file: %1").arg(temporary.errorString()));
        return false;
    }
    const QString temporaryPath = temporary.fileName();
    temporary.close();

    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db.setDatabaseName(temporaryPath);
    bool ok = m_db.open();
    if (!ok)
        m_problems.error(outputPath,
                         QStringLiteral("cannot open the temporary database: %1").arg(m_db.lastError().text()));
    if (ok)
        ok = writeContent(source);
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);

    // Temporary files are private; a collection file is read by every user.
    if (ok)
        QFile::setPermissions(temporaryPath,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                  | QFileDevice::ReadOther);
    if (ok
        && std::rename(QFile::encodeName(temporaryPath).constData(), QFile::encodeName(outputPath).constData()) != 0) {
        m_problems.error(outputPath, QStringLiteral("cannot rename the finished file into place"));
        ok = false;
    }
    if (!ok)
        QFile::remove(temporaryPath);
    return ok;
}

bool CollectionWriter::writeContent(const CollectionSource &source)
{
    // The temporary file is thrown away on any failure, so no journal is needed.
    if (!exec(QStringLiteral("PRAGMA journal_mode = OFF")) || !exec(QStringLiteral("PRAGMA synchronous = OFF"))
        || !exec(QStringLiteral("PRAGMA page_size = 4096")) || !exec(QStringLiteral("BEGIN")))
        return false;

    // Tables first, indexes after the rows: bulk loading into indexed tables is several times slower.
    const QStringList schema = DB::Schema::declaredStatements() + DB::Schema::readerStatements();
    QStringList indexes;
    for (const QString &sql : schema) {
        if (isIndexStatement(sql))
            indexes << sql;
        else if (!exec(sql))
            return false;
    }
    for (const QString &sql : DB::Schema::seedStatements()) {
        if (!exec(sql))
            return false;
    }
    assignIds(source);
    if (!writeCollections(source) || !writePagesAndChips(source) || !writeSchemes(source) || !writeProducts(source)
        || !writeForesightAndTextures(source))
        return false;
    // The computed scheme maps read through the other indexes; their own
    // indexes come after them.
    QStringList mapIndexes;
    for (const QString &sql : indexes) {
        if (sql.contains(QLatin1String(" ON ROW_SCHEME_MAP "))
            || sql.contains(QLatin1String(" ON ROW_TO_PAGE_SCHEME ")))
            mapIndexes << sql;
        else if (!exec(sql))
            return false;
    }
    ComputedSchemeMaps computed(m_db);
    if (!computed.write(source)) {
        m_problems.error(m_outputName, computed.error());
        return false;
    }
    m_counts.rowSchemeRows += computed.rowSchemeRows();
    m_counts.rowPageSchemeRows += computed.rowPageSchemeRows();
    for (const QString &sql : mapIndexes) {
        if (!exec(sql))
            return false;
    }
    if (!exec(QStringLiteral("COMMIT")))
        return false;
    // Statistics let the query planner pick the reader's indexes.
    return exec(QStringLiteral("ANALYZE"));
}

void CollectionWriter::assignIds(const CollectionSource &source)
{
    m_pageIds.clear();
    m_rowIds.clear();
    m_pageOfIndex.clear();
    qint64 nextPage = 1;
    qint64 nextRow = 1;
    for (const SourceCollection &collection : source.collections) {
        QVector<qint64> pages;
        pages.reserve(collection.pages.size());
        for (int p = 0; p < collection.pages.size(); ++p)
            pages << nextPage++;
        QVector<qint64> rows;
        rows.reserve(collection.chips.size());
        for (int r = 0; r < collection.chips.size(); ++r)
            rows << nextRow++;
        m_pageIds << pages;
        m_rowIds << rows;

        QHash<int, int> pageOfIndex;
        for (int p = 0; p < collection.pages.size(); ++p)
            pageOfIndex.insert(collection.pages.at(p).pageIndex, p);
        m_pageOfIndex << pageOfIndex;
    }
}

bool CollectionWriter::writeCollections(const CollectionSource &source)
{
    QSqlQuery global(m_db);
    if (!prepare(global, QStringLiteral("INSERT INTO GLOBALSETTING(NAME, VALUE) VALUES(?, ?)")))
        return false;
    for (const SourceGlobalSetting &setting : source.globalSettings) {
        global.addBindValue(textValue(setting.name));
        global.addBindValue(textValue(setting.value));
        if (!run(global))
            return false;
    }
    QSqlQuery collectionInsert(m_db);
    QSqlQuery setting(m_db);
    QSqlQuery locale(m_db);
    QSqlQuery theme(m_db);
    if (!prepare(collectionInsert,
                 QStringLiteral("INSERT INTO COLLECTION(ID, UUID, SYSTEMID, VERSION, NAME, \"ORDER\") "
                                "VALUES(?, ?, ?, ?, ?, ?)"))
        || !prepare(setting,
                    QStringLiteral("INSERT INTO SETTING(COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                                   "VALUES(?, ?, ?, ?)"))
        || !prepare(locale,
                    QStringLiteral("INSERT INTO LOCALE(COLLECTION_ID, LOCALE, \"KEY\", STRING) VALUES(?, ?, ?, ?)"))
        || !prepare(theme, QStringLiteral("INSERT INTO THEME(COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES(?, ?, ?)")))
        return false;
    for (int c = 0; c < source.collections.size(); ++c) {
        const SourceCollection &collection = source.collections.at(c);
        if (!collection.isSystemWide) {
            ++m_counts.collections;
            collectionInsert.addBindValue(c);
            collectionInsert.addBindValue(collection.uuid.toString(QUuid::WithBraces).toUpper());
            collectionInsert.addBindValue(textValue(collection.systemId));
            collectionInsert.addBindValue(collection.version);
            collectionInsert.addBindValue(textValue(collection.name));
            collectionInsert.addBindValue(collection.order);
            if (!run(collectionInsert))
                return false;
            setting.addBindValue(c);
            setting.addBindValue(QStringLiteral("collection.enabled"));
            setting.addBindValue(collection.enabled ? QStringLiteral("1") : QStringLiteral("0"));
            setting.addBindValue(0);
            if (!run(setting))
                return false;
        }
        for (const SourceSetting &item : collection.settings) {
            for (int i = 0; i < item.values.size(); ++i) {
                setting.addBindValue(c);
                setting.addBindValue(textValue(item.name));
                setting.addBindValue(textValue(item.values.at(i)));
                setting.addBindValue(i);
                if (!run(setting))
                    return false;
            }
        }
        for (const SourceLocaleText &text : collection.locale) {
            locale.addBindValue(c);
            locale.addBindValue(textValue(text.locale));
            locale.addBindValue(textValue(text.key));
            locale.addBindValue(textValue(text.text));
            if (!run(locale))
                return false;
        }
        for (const SourceThemeItem &item : collection.theme) {
            theme.addBindValue(c);
            theme.addBindValue(textValue(item.key));
            theme.addBindValue(item.data);
            if (!run(theme))
                return false;
        }
    }
    return true;
}

bool CollectionWriter::writePagesAndChips(const CollectionSource &source)
{
    QSqlQuery page(m_db);
    QSqlQuery pageMap(m_db);
    QSqlQuery row(m_db);
    if (!prepare(page,
                 QStringLiteral("INSERT INTO PAGE(ID, COLLECTION_ID, PAGE_INDEX, SEGMENT, NAME, EXTERIOR, MOOD, "
                                "%1, %2) VALUES(%3)")
                     .arg(columnList(QStringLiteral("NAME")), columnList(QStringLiteral("EXTRA")), placeholders(27)))
        || !prepare(pageMap, QStringLiteral("INSERT INTO COLLECTION_PAGE_MAP(COLLECTION_ID, PAGE_ID) VALUES(?, ?)"))
        || !prepare(
            row,
            QStringLiteral("INSERT INTO \"ROW\"(ID, COLLECTION_ID, PAGE_ID, ROW_INDEX, CODE, NAME, SEGMENT, "
                           "RED, GREEN, BLUE, L, A, B, NEUTRAL, WHITE, MOOD, SCHEME_POS, NSCHEME_POS, "
                           "IS_MTO, %1, %2) VALUES(%3)")
                .arg(columnList(QStringLiteral("NAME")), columnList(QStringLiteral("EXTRA")), placeholders(39))))
        return false;

    for (int c = 0; c < source.collections.size(); ++c) {
        const SourceCollection &collection = source.collections.at(c);
        const QHash<int, int> &pageOfIndex = m_pageOfIndex.at(c);
        for (int p = 0; p < collection.pages.size(); ++p) {
            const SourcePage &card = collection.pages.at(p);
            page.addBindValue(pageId(c, p));
            page.addBindValue(c);
            page.addBindValue(card.pageIndex);
            page.addBindValue(card.segment);
            page.addBindValue(textValue(card.declaredName));
            page.addBindValue(card.exterior ? 1 : 0);
            page.addBindValue(card.mood);
            for (const QString &name : card.names)
                page.addBindValue(textValue(name));
            for (const QString &extra : card.extras)
                page.addBindValue(textValue(extra));
            if (!run(page))
                return false;
            pageMap.addBindValue(c);
            pageMap.addBindValue(pageId(c, p));
            if (!run(pageMap))
                return false;
            ++m_counts.pages;
        }
        for (int i = 0; i < collection.chips.size(); ++i) {
            const SourceChip &chip = collection.chips.at(i);
            const int p = pageOfIndex.value(chip.pageIndex, -1);
            if (p < 0)
                return false; // the validator reports chips on unknown cards
            ColorTriple lab{chip.l, chip.a, chip.b};
            if (!chip.hasLab) {
                lab = colorToLab(QColor(chip.red, chip.green, chip.blue));
                // Rounding may step just past the format's CHECK bounds at white and the extremes.
                lab[0] = std::clamp(lab[0], 0.0, 100.0);
                lab[1] = std::clamp(lab[1], -128.0, 127.0);
                lab[2] = std::clamp(lab[2], -128.0, 127.0);
            }
            row.addBindValue(rowId(c, i));
            row.addBindValue(c);
            row.addBindValue(pageId(c, p));
            row.addBindValue(chip.rowIndex);
            row.addBindValue(textValue(chip.code));
            row.addBindValue(textValue(chip.names.at(0)));
            row.addBindValue(chip.segment > 0 ? chip.segment : collection.pages.at(p).segment);
            row.addBindValue(chip.red);
            row.addBindValue(chip.green);
            row.addBindValue(chip.blue);
            row.addBindValue(lab[0]);
            row.addBindValue(lab[1]);
            row.addBindValue(lab[2]);
            row.addBindValue(chip.neutral ? 1 : 0);
            row.addBindValue(chip.white ? 1 : 0);
            row.addBindValue(chip.mood);
            row.addBindValue(chip.schemePos);
            row.addBindValue(chip.nschemePos);
            row.addBindValue(chip.madeToOrder ? 1 : 0);
            for (const QString &name : chip.names)
                row.addBindValue(textValue(name));
            for (const QString &extra : chip.extras)
                row.addBindValue(textValue(extra));
            if (!run(row))
                return false;
            ++m_counts.chips;
        }
    }
    // Cards listed by further collections.
    for (int c = 0; c < source.collections.size(); ++c) {
        for (const SourceSharedPages &shared : source.collections.at(c).sharedPages) {
            for (int pageIndex : shared.pageIndexes) {
                const int p = m_pageOfIndex.at(shared.ownerCollection).value(pageIndex, -1);
                if (p < 0)
                    return false; // reported by the validator
                pageMap.addBindValue(c);
                pageMap.addBindValue(pageId(shared.ownerCollection, p));
                if (!run(pageMap))
                    return false;
            }
        }
    }
    return true;
}

bool CollectionWriter::writeSchemes(const CollectionSource &source)
{
    QSqlQuery pageScheme(m_db);
    QSqlQuery rowScheme(m_db);
    QSqlQuery rowPageScheme(m_db);
    if (!prepare(pageScheme,
                 QStringLiteral("INSERT INTO PAGE_SCHEME(COLLECTION_ID, PAGE_ID, SCHEME_PAGE_ID, SCHEME_ID, "
                                "\"ORDER\") VALUES(?, ?, ?, ?, ?)"))
        || !prepare(rowScheme,
                    QStringLiteral("INSERT INTO ROW_SCHEME_MAP(COLLECTION_ID, ROW_ID, SCHEME_ID, "
                                   "SCHEME_ROW_ID, PAGE_ORDER, ROW_ORDER) VALUES(?, ?, ?, ?, ?, ?)"))
        || !prepare(rowPageScheme,
                    QStringLiteral("INSERT INTO ROW_TO_PAGE_SCHEME(COLLECTION_ID, ROW_ID, SCHEME_ID, "
                                   "SCHEME_PAGE_ID, \"ORDER\") VALUES(?, ?, ?, ?, ?)")))
        return false;
    for (int c = 0; c < source.collections.size(); ++c) {
        const SourceCollection &collection = source.collections.at(c);
        for (const SourcePageScheme &scheme : collection.pageSchemes) {
            pageScheme.addBindValue(c);
            pageScheme.addBindValue(pageId(scheme.page.ownerCollection, scheme.page.page));
            pageScheme.addBindValue(pageId(scheme.schemePage.ownerCollection, scheme.schemePage.page));
            pageScheme.addBindValue(scheme.scheme);
            pageScheme.addBindValue(scheme.order);
            if (!run(pageScheme))
                return false;
        }
        for (const SourceRowScheme &scheme : collection.rowSchemes) {
            rowScheme.addBindValue(c);
            rowScheme.addBindValue(rowId(scheme.chip.ownerCollection, scheme.chip.chip));
            rowScheme.addBindValue(scheme.scheme);
            rowScheme.addBindValue(rowId(scheme.schemeChip.ownerCollection, scheme.schemeChip.chip));
            rowScheme.addBindValue(scheme.pageOrder);
            rowScheme.addBindValue(scheme.rowOrder);
            if (!run(rowScheme))
                return false;
            ++m_counts.rowSchemeRows;
        }
        for (const SourceRowPageScheme &scheme : collection.rowPageSchemes) {
            rowPageScheme.addBindValue(c);
            rowPageScheme.addBindValue(rowId(scheme.chip.ownerCollection, scheme.chip.chip));
            rowPageScheme.addBindValue(scheme.scheme);
            rowPageScheme.addBindValue(pageId(scheme.schemePage.ownerCollection, scheme.schemePage.page));
            rowPageScheme.addBindValue(scheme.order);
            if (!run(rowPageScheme))
                return false;
            ++m_counts.rowPageSchemeRows;
        }
    }
    return true;
}

bool CollectionWriter::writeProducts(const CollectionSource &source)
{
    QHash<QString, int> productIds;
    QHash<QString, int> groupIds;
    QSqlQuery product(m_db);
    QSqlQuery group(m_db);
    QSqlQuery groupMap(m_db);
    QSqlQuery rowProduct(m_db);
    QSqlQuery rowGroup(m_db);
    if (!prepare(product, QStringLiteral("INSERT INTO PRODUCT(ID, NAME, PRODUCT_CODE) VALUES(?, ?, ?)"))
        || !prepare(group, QStringLiteral("INSERT INTO PRODUCT_GROUP(ID, NAME) VALUES(?, ?)"))
        || !prepare(groupMap,
                    QStringLiteral("INSERT INTO PRODUCT_PRODUCT_GROUP_MAP(PRODUCT_GROUP_ID, PRODUCT_ID) "
                                   "VALUES(?, ?)"))
        || !prepare(rowProduct,
                    QStringLiteral("INSERT INTO ROW_PRODUCT_MAP(COLLECTION_ID, ROW_ID, PRODUCT_ID) "
                                   "VALUES(?, ?, ?)"))
        || !prepare(rowGroup,
                    QStringLiteral("INSERT INTO ROW_PRODUCT_GROUP_MAP(COLLECTION_ID, ROW_ID, PRODUCT_GROUP_ID) "
                                   "VALUES(?, ?, ?)")))
        return false;
    for (int i = 0; i < source.products.size(); ++i) {
        const SourceProduct &item = source.products.at(i);
        productIds.insert(item.key, i + 1);
        product.addBindValue(i + 1);
        product.addBindValue(textValue(item.name));
        product.addBindValue(textValue(item.code));
        if (!run(product))
            return false;
    }
    for (int i = 0; i < source.productGroups.size(); ++i) {
        const SourceProductGroup &item = source.productGroups.at(i);
        groupIds.insert(item.key, i + 1);
        group.addBindValue(i + 1);
        group.addBindValue(textValue(item.name));
        if (!run(group))
            return false;
        for (const QString &key : item.productKeys) {
            groupMap.addBindValue(i + 1);
            groupMap.addBindValue(productIds.value(key));
            if (!run(groupMap))
                return false;
        }
    }
    for (int c = 0; c < source.collections.size(); ++c) {
        const SourceCollection &collection = source.collections.at(c);
        for (int i = 0; i < collection.chips.size(); ++i) {
            const SourceChip &chip = collection.chips.at(i);
            for (const QString &key : chip.productKeys) {
                rowProduct.addBindValue(c);
                rowProduct.addBindValue(rowId(c, i));
                rowProduct.addBindValue(productIds.value(key));
                if (!run(rowProduct))
                    return false;
            }
            for (const QString &key : chip.productGroupKeys) {
                rowGroup.addBindValue(c);
                rowGroup.addBindValue(rowId(c, i));
                rowGroup.addBindValue(groupIds.value(key));
                if (!run(rowGroup))
                    return false;
            }
        }
    }
    return true;
}

bool CollectionWriter::writeForesightAndTextures(const CollectionSource &source)
{
    QSqlQuery group(m_db);
    QSqlQuery entry(m_db);
    QSqlQuery texture(m_db);
    QSqlQuery textureMap(m_db);
    if (!prepare(group,
                 QStringLiteral("INSERT INTO FORESIGHT_GROUP(ID, COLLECTION_ID, NAME, DEFAULT_OPEN, \"ORDER\") "
                                "VALUES(?, ?, ?, ?, ?)"))
        || !prepare(entry,
                    QStringLiteral("INSERT INTO FORESIGHT_ENTRY(COLLECTION_ID, FORESIGHT_GROUP_ID, ROW_ID, NAME_1, "
                                   "NAME_2, RED, GREEN, BLUE, \"ORDER\") VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)"))
        || !prepare(texture,
                    QStringLiteral("INSERT INTO TEXTURE(ID, COLLECTION_ID, NAME, IMAGE, BASE_ALPHA) "
                                   "VALUES(?, ?, ?, ?, ?)"))
        || !prepare(textureMap,
                    QStringLiteral("INSERT INTO TEXTURE_MAP(TEXTURE_ID, PAGE_ID, ALPHA, NAME) "
                                   "VALUES(?, ?, ?, ?)")))
        return false;
    qint64 nextGroup = 1;
    qint64 nextTexture = 1;
    for (int c = 0; c < source.collections.size(); ++c) {
        const SourceCollection &collection = source.collections.at(c);
        for (const SourceForesightGroup &item : collection.foresight) {
            const qint64 groupId = nextGroup++;
            group.addBindValue(groupId);
            group.addBindValue(c);
            group.addBindValue(textValue(item.name));
            group.addBindValue(item.defaultOpen ? 1 : 0);
            group.addBindValue(item.order);
            if (!run(group))
                return false;
            for (const SourceForesightEntry &colour : item.entries) {
                entry.addBindValue(c);
                entry.addBindValue(groupId);
                entry.addBindValue(colour.chip.chip >= 0
                                       ? QVariant(rowId(colour.chip.ownerCollection, colour.chip.chip))
                                       : QVariant(QMetaType::fromType<qint64>()));
                entry.addBindValue(textValue(colour.name1));
                entry.addBindValue(textValue(colour.name2));
                entry.addBindValue(colour.red);
                entry.addBindValue(colour.green);
                entry.addBindValue(colour.blue);
                entry.addBindValue(colour.order);
                if (!run(entry))
                    return false;
            }
        }
        for (const SourceTexture &item : collection.textures) {
            const qint64 textureId = nextTexture++;
            texture.addBindValue(textureId);
            texture.addBindValue(c);
            texture.addBindValue(textValue(item.name));
            texture.addBindValue(item.image);
            texture.addBindValue(item.baseAlpha);
            if (!run(texture))
                return false;
            for (const SourceTextureMap &map : item.maps) {
                textureMap.addBindValue(textureId);
                textureMap.addBindValue(pageId(map.page.ownerCollection, map.page.page));
                textureMap.addBindValue(map.alpha);
                textureMap.addBindValue(textValue(map.name));
                if (!run(textureMap))
                    return false;
            }
        }
    }
    return true;
}

} // namespace Tintor
