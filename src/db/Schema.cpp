#include "db/Schema.h"

namespace Tintor::DB::Schema {

namespace {

const char *const kPk = "integer PRIMARY KEY AUTOINCREMENT NOT NULL";

QString pk()
{
    return QString::fromLatin1(kPk);
}

QStringList nameAndExtraColumns()
{
    QStringList columns;
    for (int i = 0; i < 10; ++i)
        columns << QStringLiteral("NAME%1").arg(i);
    for (int i = 0; i < 10; ++i)
        columns << QStringLiteral("EXTRA%1").arg(i);
    return columns;
}

} // namespace

QUuid systemWideCollectionUuid()
{
    return QUuid(QStringLiteral("{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"));
}

QStringList moodNames()
{
    return {QStringLiteral("fresh"), QStringLiteral("warm"), QStringLiteral("calm"),
            QStringLiteral("rich"), QStringLiteral("offwhite"), QStringLiteral("neutral")};
}

QStringList schemeNames()
{
    return {QStringLiteral("harmonic"), QStringLiteral("contrast"), QStringLiteral("widecontrast"),
            QStringLiteral("dynamic"), QStringLiteral("dramatic"), QStringLiteral("neutral"),
            QStringLiteral("tonalneutral"), QStringLiteral("complementaryneutral")};
}

QStringList tableNames()
{
    return {QStringLiteral("GLOBALSETTING"), QStringLiteral("COLLECTION"), QStringLiteral("MOOD"),
            QStringLiteral("SCHEME"), QStringLiteral("SETTING"), QStringLiteral("LOCALE"),
            QStringLiteral("THEME"), QStringLiteral("PAGE"), QStringLiteral("ROW"),
            QStringLiteral("ROW_NAME"), QStringLiteral("PAGE_SCHEME"), QStringLiteral("PRODUCT_GROUP"),
            QStringLiteral("PRODUCT"), QStringLiteral("PRODUCT_PRODUCT_GROUP_MAP"),
            QStringLiteral("ROW_PRODUCT_MAP"), QStringLiteral("ROW_PRODUCT_GROUP_MAP"),
            QStringLiteral("FORESIGHT_GROUP"), QStringLiteral("FORESIGHT_ENTRY"),
            QStringLiteral("TEXTURE"), QStringLiteral("TEXTURE_MAP"),
            QStringLiteral("CAPSURE_COLLECTION_IDS_BY_PRIORITY")};
}

QStringList declaredStatements()
{
    const QString collectionRef = QStringLiteral(
        "REFERENCES COLLECTION(ID) ON DELETE CASCADE ON UPDATE RESTRICT");
    const QString pageRef = QStringLiteral("REFERENCES PAGE(ID) ON DELETE CASCADE ON UPDATE RESTRICT");
    const QString rowRef = QStringLiteral("REFERENCES \"ROW\"(ID) ON DELETE CASCADE ON UPDATE RESTRICT");
    const QString setNull = QStringLiteral("ON DELETE SET NULL ON UPDATE SET NULL");
    QStringList s;
    s << QStringLiteral("CREATE TABLE GLOBALSETTING (NAME varchar(256) PRIMARY KEY NOT NULL COLLATE NOCASE, "
                        "VALUE NOT NULL)");
    s << QStringLiteral("CREATE TABLE COLLECTION (ID %1, "
                        "UUID varchar(64) NOT NULL UNIQUE COLLATE NOCASE, "
                        "SYSTEMID varchar(32) NOT NULL UNIQUE COLLATE NOCASE, "
                        "VERSION integer NOT NULL DEFAULT 1, "
                        "NAME varchar(128) NOT NULL COLLATE NOCASE, "
                        "\"ORDER\" integer NOT NULL DEFAULT 1)").arg(pk());
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_UUID ON COLLECTION (UUID)");
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_SYSTEMID ON COLLECTION (SYSTEMID)");
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_ORDER ON COLLECTION (\"ORDER\")");
    s << QStringLiteral("CREATE TABLE MOOD (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "NAME varchar(32) NOT NULL COLLATE NOCASE)").arg(pk(), collectionRef);
    s << QStringLiteral("CREATE TABLE SCHEME (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "NAME varchar(32) NOT NULL COLLATE NOCASE)").arg(pk(), collectionRef);
    s << QStringLiteral("CREATE TABLE SETTING (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "NAME varchar(255) NOT NULL COLLATE NOCASE, VALUE TEXT NOT NULL, "
                        "VALUE_INDEX integer NOT NULL DEFAULT 0)").arg(pk(), collectionRef);
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_SETTING_NAME_PER_COLLECTION ON SETTING "
                        "(COLLECTION_ID ASC, NAME COLLATE NOCASE ASC, VALUE_INDEX ASC)");
    s << QStringLiteral("CREATE TABLE LOCALE (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "LOCALE varchar(32) NOT NULL COLLATE NOCASE DEFAULT '', ITEM_ID integer, "
                        "\"KEY\" varchar(255) NOT NULL COLLATE NOCASE, "
                        "STRING text NOT NULL COLLATE NOCASE)").arg(pk(), collectionRef);
    s << QStringLiteral("CREATE TABLE THEME (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "ITEM_KEY varchar(255) NOT NULL COLLATE NOCASE, ITEM_DATA blob NOT NULL)")
             .arg(pk(), collectionRef);
    s << QStringLiteral("CREATE TABLE PAGE (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "PAGE_INDEX integer NOT NULL CHECK (PAGE_INDEX > 0), "
                        "SEGMENT integer NOT NULL CHECK (SEGMENT > 0), "
                        "NAME varchar(255) NOT NULL COLLATE NOCASE, "
                        "EXTERIOR integer NOT NULL DEFAULT 0, MOOD integer NOT NULL DEFAULT 0)")
             .arg(pk(), collectionRef);
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_PAGE_INDEX_IN_COLLECTION ON PAGE (COLLECTION_ID, PAGE_INDEX)");
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_NAME_IN_COLLECTION ON PAGE (COLLECTION_ID, NAME)");
    s << QStringLiteral("CREATE TABLE \"ROW\" (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "PAGE_ID integer NOT NULL %3, "
                        "ROW_INDEX integer NOT NULL CHECK (ROW_INDEX > 0), "
                        "CODE varchar(32) NOT NULL COLLATE NOCASE DEFAULT '', "
                        "NAME varchar(128) NOT NULL COLLATE NOCASE DEFAULT '', "
                        "SEGMENT integer NOT NULL CHECK (SEGMENT > 0), "
                        "RED integer NOT NULL CHECK (RED >= 0 AND RED < 256), "
                        "GREEN integer NOT NULL CHECK (GREEN >= 0 AND GREEN < 256), "
                        "BLUE integer NOT NULL CHECK (BLUE >= 0 AND BLUE < 256), "
                        "L real NOT NULL CHECK (L >= 0 AND L <= 100), "
                        "A real NOT NULL CHECK (A >= -128 AND A <= 127), "
                        "B real NOT NULL CHECK (B >= -128 AND B <= 127), "
                        "NEUTRAL integer NOT NULL DEFAULT 0, WHITE integer NOT NULL DEFAULT 0, "
                        "MOOD integer NOT NULL DEFAULT 0, SCHEME_POS integer NOT NULL DEFAULT 0, "
                        "NSCHEME_POS integer NOT NULL DEFAULT 0, "
                        "CHECK (SCHEME_POS >= -1 AND NSCHEME_POS >= -1))")
             .arg(pk(), collectionRef, pageRef);
    s << QStringLiteral("CREATE INDEX IDX_PAGE_ID ON \"ROW\" (PAGE_ID)");
    s << QStringLiteral("CREATE INDEX UNQ_COLLECTION_CODE ON \"ROW\" (COLLECTION_ID, CODE)");
    s << QStringLiteral("CREATE TABLE ROW_NAME (ROW_ID integer NOT NULL ON CONFLICT FAIL %1, "
                        "NAME_INDEX integer NOT NULL DEFAULT 1 CHECK (NAME_INDEX > 0), "
                        "NAME varchar(128) NOT NULL ON CONFLICT FAIL COLLATE NOCASE "
                        "CHECK (LENGTH(TRIM(NAME)) > 0), "
                        "AUXILIARY_INFO integer NOT NULL DEFAULT 0, PRIMARY KEY (ROW_ID, NAME_INDEX))")
             .arg(rowRef);
    s << QStringLiteral("CREATE INDEX IDX_NAME ON ROW_NAME (NAME)");
    s << QStringLiteral("CREATE TABLE PAGE_SCHEME (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "PAGE_ID integer NOT NULL %3, SCHEME_PAGE_ID integer NOT NULL %3, "
                        "SCHEME_ID integer NOT NULL REFERENCES SCHEME(ID) ON DELETE CASCADE ON UPDATE RESTRICT, "
                        "\"ORDER\" integer NOT NULL DEFAULT 0)")
             .arg(pk(), collectionRef, pageRef);
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_PAGE_SCHEME_ORDER ON PAGE_SCHEME (PAGE_ID, SCHEME_ID, \"ORDER\")");
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_PAGE_SCHEME_SCHEMEPAGE ON PAGE_SCHEME "
                        "(PAGE_ID, SCHEME_PAGE_ID, SCHEME_ID)");
    s << QStringLiteral("CREATE TABLE PRODUCT_GROUP (ID %1, NAME varchar(128) NOT NULL)").arg(pk());
    s << QStringLiteral("CREATE TABLE PRODUCT (ID %1, NAME varchar(128) NOT NULL)").arg(pk());
    s << QStringLiteral("CREATE TABLE PRODUCT_PRODUCT_GROUP_MAP ("
                        "PRODUCT_GROUP_ID integer REFERENCES PRODUCT_GROUP(ID) %1, "
                        "PRODUCT_ID integer REFERENCES PRODUCT(ID) %1)").arg(setNull);
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_PRODUCT_GROUP_PRODUCT_ENTRY ON PRODUCT_PRODUCT_GROUP_MAP "
                        "(PRODUCT_GROUP_ID, PRODUCT_ID)");
    s << QStringLiteral("CREATE TABLE ROW_PRODUCT_MAP (COLLECTION_ID integer NOT NULL %1, "
                        "ROW_ID integer REFERENCES \"ROW\"(ID) %2, "
                        "PRODUCT_ID integer REFERENCES PRODUCT(ID) %2)").arg(collectionRef, setNull);
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_ROW_PRODUCT_ENTRY ON ROW_PRODUCT_MAP "
                        "(COLLECTION_ID, ROW_ID, PRODUCT_ID)");
    s << QStringLiteral("CREATE TABLE ROW_PRODUCT_GROUP_MAP (COLLECTION_ID integer NOT NULL %1, "
                        "ROW_ID integer REFERENCES \"ROW\"(ID) %2, "
                        "PRODUCT_GROUP_ID integer REFERENCES PRODUCT_GROUP(ID) %2)").arg(collectionRef, setNull);
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_ROW_PRODUCT_GROUP_ENTRY ON ROW_PRODUCT_GROUP_MAP "
                        "(COLLECTION_ID, ROW_ID, PRODUCT_GROUP_ID)");
    s << QStringLiteral("CREATE TABLE FORESIGHT_GROUP (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "NAME text NOT NULL DEFAULT '', DEFAULT_OPEN integer NOT NULL DEFAULT 0, "
                        "\"ORDER\" integer NOT NULL DEFAULT 0)").arg(pk(), collectionRef);
    s << QStringLiteral("CREATE TABLE FORESIGHT_ENTRY (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "FORESIGHT_GROUP_ID integer NOT NULL REFERENCES FORESIGHT_GROUP(ID) "
                        "ON DELETE CASCADE ON UPDATE RESTRICT, ROW_ID integer, "
                        "NAME_1 varchar(64) NOT NULL COLLATE NOCASE DEFAULT '', "
                        "NAME_2 varchar(64) NOT NULL COLLATE NOCASE DEFAULT '', "
                        "RED integer NOT NULL DEFAULT 0 CHECK (RED >= 0 AND RED < 256), "
                        "GREEN integer NOT NULL DEFAULT 0 CHECK (GREEN >= 0 AND GREEN < 256), "
                        "BLUE integer NOT NULL DEFAULT 0 CHECK (BLUE >= 0 AND BLUE < 256), "
                        "\"ORDER\" integer NOT NULL DEFAULT 0)").arg(pk(), collectionRef);
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_COLLECTION_GROUP_ORDER ON FORESIGHT_ENTRY "
                        "(COLLECTION_ID, FORESIGHT_GROUP_ID, \"ORDER\")");
    s << QStringLiteral("CREATE TABLE TEXTURE (ID %1, COLLECTION_ID integer NOT NULL %2, "
                        "NAME varchar(64) NOT NULL DEFAULT '', IMAGE blob NOT NULL, "
                        "BASE_ALPHA real NOT NULL DEFAULT 1.0 CHECK (BASE_ALPHA >= 0.0 AND BASE_ALPHA <= 1.0))")
             .arg(pk(), collectionRef);
    s << QStringLiteral("CREATE TABLE TEXTURE_MAP (TEXTURE_ID integer NOT NULL REFERENCES TEXTURE(ID) "
                        "ON DELETE CASCADE ON UPDATE RESTRICT, PAGE_ID integer NOT NULL %1, "
                        "ALPHA real NOT NULL DEFAULT 1.0 CHECK (ALPHA > 0 AND ALPHA <= 1.0), "
                        "NAME varchar(64) NOT NULL DEFAULT '')").arg(pageRef);
    s << QStringLiteral("CREATE UNIQUE INDEX UNQ_TEXTURE_PAGE ON TEXTURE_MAP (TEXTURE_ID, PAGE_ID)");
    s << QStringLiteral(
        " CREATE VIEW CAPSURE_COLLECTION_IDS_BY_PRIORITY AS  SELECT      S.COLLECTION_ID,      "
        "COALESCE(CAST(S.VALUE AS INTEGER), 999) AS PRIORITY  FROM      SETTING S  WHERE      "
        "S.NAME = 'capsure.priority' AND      S.COLLECTION_ID IN (SELECT S2.COLLECTION_ID FROM "
        "SETTING S2 WHERE S2.NAME = 'capsure.enabled' COLLATE NOCASE AND CAST(S2.VALUE AS INTEGER) "
        "= 1)  ORDER BY      PRIORITY ASC");
    return s;
}

QStringList seedStatements()
{
    QStringList s;
    const QStringList moods = moodNames();
    for (int i = 0; i < moods.size(); ++i)
        s << QStringLiteral("INSERT INTO MOOD(ID, COLLECTION_ID, NAME) VALUES(%1, %2, '%3')")
                 .arg(i + 1).arg(0).arg(moods.at(i));
    const QStringList schemes = schemeNames();
    for (int i = 0; i < schemes.size(); ++i)
        s << QStringLiteral("INSERT INTO SCHEME(ID, COLLECTION_ID, NAME) VALUES(%1, %2, '%3')")
                 .arg(i + 1).arg(0).arg(schemes.at(i));
    s << QStringLiteral("INSERT INTO COLLECTION(ID, UUID, SYSTEMID, VERSION, NAME, \"ORDER\") "
                        "VALUES(%1, '%2', 'VIRTUAL', 1, 'SystemWide Collection', 0)")
             .arg(0)
             .arg(systemWideCollectionUuid().toString(QUuid::WithBraces).toUpper());
    return s;
}

QStringList readerStatements()
{
    QStringList s;
    for (const QString &column : nameAndExtraColumns()) {
        s << QStringLiteral("ALTER TABLE PAGE ADD COLUMN %1 text NOT NULL COLLATE NOCASE DEFAULT ''").arg(column);
        s << QStringLiteral("ALTER TABLE \"ROW\" ADD COLUMN %1 text NOT NULL COLLATE NOCASE DEFAULT ''").arg(column);
    }
    s << QStringLiteral("ALTER TABLE \"ROW\" ADD COLUMN IS_MTO integer NOT NULL DEFAULT 0");
    s << QStringLiteral("ALTER TABLE PRODUCT ADD COLUMN PRODUCT_CODE text NOT NULL DEFAULT ''");
    s << QStringLiteral("CREATE TABLE COLLECTION_PAGE_MAP (COLLECTION_ID integer NOT NULL "
                        "REFERENCES COLLECTION(ID) ON DELETE CASCADE ON UPDATE RESTRICT, "
                        "PAGE_ID integer NOT NULL REFERENCES PAGE(ID) ON DELETE CASCADE ON UPDATE RESTRICT, "
                        "PRIMARY KEY (COLLECTION_ID, PAGE_ID))");
    s << QStringLiteral("CREATE INDEX IDX_COLLECTION_PAGE_MAP_PAGE ON COLLECTION_PAGE_MAP (PAGE_ID, COLLECTION_ID)");
    s << QStringLiteral("CREATE TABLE ROW_SCHEME_MAP (COLLECTION_ID integer NOT NULL, ROW_ID integer NOT NULL, "
                        "SCHEME_ID integer NOT NULL, SCHEME_ROW_ID integer NOT NULL, "
                        "PAGE_ORDER integer NOT NULL DEFAULT 0, ROW_ORDER integer NOT NULL DEFAULT 0)");
    s << QStringLiteral("CREATE INDEX IDX_ROW_SCHEME_MAP ON ROW_SCHEME_MAP "
                        "(COLLECTION_ID, ROW_ID, SCHEME_ID, PAGE_ORDER, ROW_ORDER)");
    s << QStringLiteral("CREATE TABLE ROW_TO_PAGE_SCHEME (COLLECTION_ID integer NOT NULL, ROW_ID integer NOT NULL, "
                        "SCHEME_ID integer NOT NULL, SCHEME_PAGE_ID integer NOT NULL, "
                        "\"ORDER\" integer NOT NULL DEFAULT 0)");
    s << QStringLiteral("CREATE INDEX IDX_ROW_TO_PAGE_SCHEME ON ROW_TO_PAGE_SCHEME "
                        "(COLLECTION_ID, ROW_ID, SCHEME_ID, \"ORDER\")");
    // Lookups by key and by card.
    s << QStringLiteral("CREATE INDEX IDX_LOCALE_KEY ON LOCALE (COLLECTION_ID, \"KEY\" COLLATE NOCASE)");
    s << QStringLiteral("CREATE INDEX IDX_THEME_KEY ON THEME (COLLECTION_ID, ITEM_KEY COLLATE NOCASE)");
    s << QStringLiteral("CREATE INDEX IDX_PAGE_SEGMENT ON PAGE (SEGMENT, PAGE_INDEX)");
    s << QStringLiteral("CREATE INDEX IDX_PAGE_PAGE_INDEX ON PAGE (PAGE_INDEX)");
    // Stepping and segment search under a mood or exterior filter: seek the
    // next passing card instead of walking past those that fail.
    s << QStringLiteral("CREATE INDEX IDX_PAGE_MOOD_INDEX ON PAGE (MOOD, PAGE_INDEX)");
    s << QStringLiteral("CREATE INDEX IDX_PAGE_EXTERIOR_INDEX ON PAGE (EXTERIOR, PAGE_INDEX)");
    s << QStringLiteral("CREATE INDEX IDX_PAGE_MOOD_SEGMENT ON PAGE (MOOD, SEGMENT, PAGE_INDEX)");
    s << QStringLiteral("CREATE INDEX IDX_PAGE_EXTERIOR_SEGMENT ON PAGE (EXTERIOR, SEGMENT, PAGE_INDEX)");
    s << QStringLiteral("CREATE INDEX IDX_ROW_PAGE_ROW_INDEX ON \"ROW\" (PAGE_ID, ROW_INDEX)");
    s << QStringLiteral("CREATE INDEX IDX_ROW_CODE ON \"ROW\" (CODE COLLATE NOCASE)");
    s << QStringLiteral("CREATE INDEX IDX_ROW_RGB ON \"ROW\" (RED, GREEN, BLUE)");
    s << QStringLiteral("CREATE INDEX IDX_PAGE_SCHEME_PAGE ON PAGE_SCHEME (COLLECTION_ID, PAGE_ID, SCHEME_ID, \"ORDER\")");
    s << QStringLiteral("CREATE INDEX IDX_ROW_PRODUCT_MAP_ROW ON ROW_PRODUCT_MAP (ROW_ID, COLLECTION_ID)");
    s << QStringLiteral("CREATE INDEX IDX_ROW_PRODUCT_GROUP_MAP_ROW ON ROW_PRODUCT_GROUP_MAP (ROW_ID, COLLECTION_ID)");
    s << QStringLiteral("CREATE INDEX IDX_FORESIGHT_ENTRY_GROUP ON FORESIGHT_ENTRY (FORESIGHT_GROUP_ID, \"ORDER\")");
    s << QStringLiteral("CREATE INDEX IDX_TEXTURE_MAP_PAGE ON TEXTURE_MAP (PAGE_ID)");
    return s;
}

} // namespace Tintor::DB::Schema
