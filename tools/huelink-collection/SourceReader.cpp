#include "SourceReader.h"

#include "FieldReader.h"
#include "ManifestContext.h"
#include "ReferenceTableReader.h"
#include "ProblemList.h"
#include "SettingKinds.h"
#include "SourceFiles.h"
#include "SourceTable.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <climits>

namespace Tintor {

namespace {

// Braced or bare 8-4-4-4-12 hexadecimal groups.
bool isUuidText(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\{?[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\}?$"));
    return pattern.match(text).hasMatch() && (text.startsWith(QLatin1Char('{')) == text.endsWith(QLatin1Char('}')));
}

QStringList pageColumns()
{
    return QStringList{QStringLiteral("page"), QStringLiteral("segment"), QStringLiteral("exterior"),
                       QStringLiteral("mood"), QStringLiteral("name")}
    + SourceTable::numbered(QStringLiteral("name")) + SourceTable::numbered(QStringLiteral("extra"));
}

QStringList chipColumns()
{
    return QStringList{QStringLiteral("page"),
                       QStringLiteral("row"),
                       QStringLiteral("code"),
                       QStringLiteral("red"),
                       QStringLiteral("green"),
                       QStringLiteral("blue"),
                       QStringLiteral("hex"),
                       QStringLiteral("l"),
                       QStringLiteral("a"),
                       QStringLiteral("b"),
                       QStringLiteral("segment"),
                       QStringLiteral("neutral"),
                       QStringLiteral("white"),
                       QStringLiteral("is_mto"),
                       QStringLiteral("mood"),
                       QStringLiteral("scheme_pos"),
                       QStringLiteral("nscheme_pos"),
                       QStringLiteral("products"),
                       QStringLiteral("product_groups")}
    + SourceTable::numbered(QStringLiteral("name")) + SourceTable::numbered(QStringLiteral("extra"));
}

QString member(const QString &path, const QString &key)
{
    return ManifestContext::member(path, key);
}

QString element(const QString &path, int index)
{
    return ManifestContext::element(path, index);
}

} // namespace

SourceReader::SourceReader(ProblemList &problems)
    : m_problems(problems)
    , m_fields(std::make_unique<FieldReader>(problems))
{
}

SourceReader::~SourceReader() = default;

QString SourceReader::at(const QString &path) const
{
    return m_context->at(path);
}

void SourceReader::checkKeys(const QJsonObject &object, const QString &path, const QStringList &known)
{
    m_context->checkKeys(object, path, known);
}

bool SourceReader::read(const QString &sourcePath, CollectionSource &out)
{
    out = CollectionSource();
    const QFileInfo info(sourcePath);
    QString folder;
    QString manifest;
    if (info.isDir()) {
        folder = info.absoluteFilePath();
        manifest = manifestFileName();
    } else {
        folder = info.absolutePath();
        manifest = info.fileName();
    }
    m_files = std::make_unique<SourceFiles>(folder, manifest, m_problems);
    m_context = std::make_unique<ManifestContext>(m_problems, *m_files, *m_fields);
    m_references = std::make_unique<ReferenceTableReader>(*m_context);
    if (!QFileInfo(folder + QLatin1Char('/') + manifest).isFile()) {
        m_problems.error(sourcePath, QStringLiteral("no manifest \"%1\" found").arg(manifest));
        return false;
    }
    QByteArray bytes;
    if (!m_files->read(manifest, sourcePath, bytes))
        return false;
    QJsonParseError parseError;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        const int line = bytes.left(parseError.offset).count('\n') + 1;
        m_problems.error(QStringLiteral("%1:%2").arg(manifest).arg(line),
                         QStringLiteral("invalid JSON: %1").arg(parseError.errorString()));
        return false;
    }
    if (!document.isObject()) {
        m_problems.error(manifest, QStringLiteral("the manifest must be a JSON object"));
        return false;
    }
    const QJsonObject root = document.object();
    checkKeys(root, QString(),
              {QStringLiteral("format"), QStringLiteral("globalSettings"), QStringLiteral("products"),
               QStringLiteral("productGroups"), QStringLiteral("systemWide"), QStringLiteral("collections")});
    if (root.value(QStringLiteral("format")).toInt(-1) != 1) {
        m_problems.error(at(QStringLiteral("format")), QStringLiteral("must be 1 (the source format version)"));
        return false;
    }
    readGlobalSettings(root.value(QStringLiteral("globalSettings")), out);
    readProducts(root.value(QStringLiteral("products")), out);
    if (root.contains(QStringLiteral("productGroups"))) {
        const QString path = QStringLiteral("productGroups");
        const QStringList columns{QStringLiteral("key"), QStringLiteral("name"), QStringLiteral("products")};
        for (const SourceRecord &record : SourceTable::load(root.value(path), path, columns, *m_files)) {
            SourceProductGroup group;
            group.where = record.origin();
            group.key = record.value(QStringLiteral("key"));
            group.name = record.value(QStringLiteral("name"));
            if (group.key.isEmpty())
                m_problems.error(record.origin(), QStringLiteral("missing \"key\""));
            if (group.name.isEmpty())
                m_problems.error(record.origin(), QStringLiteral("missing \"name\""));
            group.productKeys = m_fields->keyList(record, QStringLiteral("products"));
            out.productGroups << group;
        }
    }
    if (root.contains(QStringLiteral("systemWide"))) {
        if (!root.value(QStringLiteral("systemWide")).isObject())
            m_problems.error(at(QStringLiteral("systemWide")), QStringLiteral("expected an object"));
        else
            readSystemWide(root.value(QStringLiteral("systemWide")).toObject(), QStringLiteral("systemWide"),
                           out.collections[0]);
    }
    const QJsonValue collections = root.value(QStringLiteral("collections"));
    if (!collections.isArray()) {
        m_problems.error(at(QStringLiteral("collections")), QStringLiteral("expected an array of collections"));
        return true;
    }
    const QJsonArray array = collections.toArray();
    for (int i = 0; i < array.size(); ++i) {
        const QString path = element(QStringLiteral("collections"), i);
        SourceCollection collection;
        collection.where = at(path);
        if (!array.at(i).isObject())
            m_problems.error(at(path), QStringLiteral("expected an object"));
        else
            readCollection(array.at(i).toObject(), path, collection);
        out.collections << collection;
    }
    return true;
}

void SourceReader::readGlobalSettings(const QJsonValue &value, CollectionSource &out)
{
    if (value.isUndefined())
        return;
    if (!value.isObject()) {
        m_problems.error(at(QStringLiteral("globalSettings")), QStringLiteral("expected an object"));
        return;
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        SourceGlobalSetting setting;
        setting.name = it.key();
        setting.where = at(member(QStringLiteral("globalSettings"), it.key()));
        if (it.value().isArray() || !SourceTable::jsonScalarText(it.value(), setting.value))
            m_problems.error(setting.where, QStringLiteral("expected a text, number or flag"));
        out.globalSettings << setting;
    }
}

void SourceReader::readProducts(const QJsonValue &value, CollectionSource &out)
{
    if (value.isUndefined())
        return;
    const QStringList columns{QStringLiteral("key"), QStringLiteral("name"), QStringLiteral("code")};
    for (const SourceRecord &record : SourceTable::load(value, QStringLiteral("products"), columns, *m_files)) {
        SourceProduct product;
        product.where = record.origin();
        product.key = record.value(QStringLiteral("key"));
        product.name = record.value(QStringLiteral("name"));
        product.code = record.value(QStringLiteral("code"));
        if (product.key.isEmpty())
            m_problems.error(record.origin(), QStringLiteral("missing \"key\""));
        if (product.name.isEmpty())
            m_problems.error(record.origin(), QStringLiteral("missing \"name\""));
        out.products << product;
    }
}

void SourceReader::readSystemWide(const QJsonObject &object, const QString &path, SourceCollection &collection)
{
    checkKeys(object, path,
              {QStringLiteral("settings"), QStringLiteral("locale"), QStringLiteral("theme"),
               QStringLiteral("foresight"), QStringLiteral("textures")});
    collection.where = at(path);
    readSettings(object.value(QStringLiteral("settings")), member(path, QStringLiteral("settings")), collection);
    readLocale(object.value(QStringLiteral("locale")), member(path, QStringLiteral("locale")), collection);
    readTheme(object.value(QStringLiteral("theme")), member(path, QStringLiteral("theme")), collection);
    m_references->readForesight(object.value(QStringLiteral("foresight")), member(path, QStringLiteral("foresight")),
                                true, collection);
    m_references->readTextures(object.value(QStringLiteral("textures")), member(path, QStringLiteral("textures")), true,
                               collection);
}

void SourceReader::readCollection(const QJsonObject &object, const QString &path, SourceCollection &collection)
{
    checkKeys(object, path,
              {QStringLiteral("uuid"), QStringLiteral("systemId"), QStringLiteral("name"), QStringLiteral("order"),
               QStringLiteral("version"), QStringLiteral("enabled"), QStringLiteral("settings"),
               QStringLiteral("locale"), QStringLiteral("theme"), QStringLiteral("pages"), QStringLiteral("chips"),
               QStringLiteral("sharedPages"), QStringLiteral("pageSchemes"), QStringLiteral("rowSchemes"),
               QStringLiteral("rowPageSchemes"), QStringLiteral("foresight"), QStringLiteral("textures")});

    const QJsonValue uuid = object.value(QStringLiteral("uuid"));
    if (!uuid.isString())
        m_problems.error(at(member(path, QStringLiteral("uuid"))), QStringLiteral("missing (a braced UUID text)"));
    else if (!isUuidText(uuid.toString()))
        m_problems.error(
            at(member(path, QStringLiteral("uuid"))),
            QStringLiteral("\"%1\" is not a UUID like {6F1C2A40-0B5E-4C39-9D7E-2A4B1C3D5E6F}").arg(uuid.toString()));
    else
        collection.uuid = QUuid(uuid.toString());

    const QJsonValue systemId = object.value(QStringLiteral("systemId"));
    if (!systemId.isString() || systemId.toString().trimmed().isEmpty())
        m_problems.error(at(member(path, QStringLiteral("systemId"))), QStringLiteral("missing (a short name)"));
    else if (systemId.toString().size() > 32)
        m_problems.error(at(member(path, QStringLiteral("systemId"))), QStringLiteral("longer than 32 characters"));
    else
        collection.systemId = systemId.toString().trimmed();

    const QJsonValue name = object.value(QStringLiteral("name"));
    if (!name.isString() || name.toString().trimmed().isEmpty())
        m_problems.error(at(member(path, QStringLiteral("name"))), QStringLiteral("missing (the internal name)"));
    else
        collection.name = name.toString();

    const QJsonValue order = object.value(QStringLiteral("order"));
    if (!order.isDouble() || order.toDouble() != double(order.toInt()) || order.toInt() < 1)
        m_problems.error(at(member(path, QStringLiteral("order"))), QStringLiteral("missing or not an integer >= 1"));
    else
        collection.order = order.toInt();

    if (object.contains(QStringLiteral("version"))) {
        const QJsonValue version = object.value(QStringLiteral("version"));
        if (!version.isDouble() || version.toDouble() != double(version.toInt()))
            m_problems.error(at(member(path, QStringLiteral("version"))), QStringLiteral("not an integer"));
        else
            collection.version = version.toInt();
    }
    if (object.contains(QStringLiteral("enabled"))) {
        const QJsonValue enabled = object.value(QStringLiteral("enabled"));
        if (enabled.isBool())
            collection.enabled = enabled.toBool();
        else if (enabled.isDouble() && (enabled.toInt() == 0 || enabled.toInt() == 1))
            collection.enabled = enabled.toInt() == 1;
        else
            m_problems.error(at(member(path, QStringLiteral("enabled"))), QStringLiteral("not a flag"));
    }

    readSettings(object.value(QStringLiteral("settings")), member(path, QStringLiteral("settings")), collection);
    for (const SourceSetting &setting : collection.settings) {
        if (setting.name.compare(QLatin1String("collection.enabled"), Qt::CaseInsensitive) == 0)
            m_problems.error(setting.where, QStringLiteral("use the collection's \"enabled\" key instead"));
    }
    readLocale(object.value(QStringLiteral("locale")), member(path, QStringLiteral("locale")), collection);
    readTheme(object.value(QStringLiteral("theme")), member(path, QStringLiteral("theme")), collection);
    readPages(object.value(QStringLiteral("pages")), member(path, QStringLiteral("pages")), collection);
    readChips(object.value(QStringLiteral("chips")), member(path, QStringLiteral("chips")), collection);
    m_references->readSharedPages(object.value(QStringLiteral("sharedPages")),
                                  member(path, QStringLiteral("sharedPages")), collection);
    m_references->readPageSchemes(object.value(QStringLiteral("pageSchemes")),
                                  member(path, QStringLiteral("pageSchemes")), collection);
    collection.hasRowSchemes = object.contains(QStringLiteral("rowSchemes"));
    m_references->readRowSchemes(object.value(QStringLiteral("rowSchemes")), member(path, QStringLiteral("rowSchemes")),
                                 collection);
    collection.hasRowPageSchemes = object.contains(QStringLiteral("rowPageSchemes"));
    m_references->readRowPageSchemes(object.value(QStringLiteral("rowPageSchemes")),
                                     member(path, QStringLiteral("rowPageSchemes")), collection);
    m_references->readForesight(object.value(QStringLiteral("foresight")), member(path, QStringLiteral("foresight")),
                                false, collection);
    m_references->readTextures(object.value(QStringLiteral("textures")), member(path, QStringLiteral("textures")),
                               false, collection);
}

void SourceReader::readSettings(const QJsonValue &value, const QString &path, SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    QList<SourceSetting> settings;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            SourceSetting setting;
            setting.name = it.key();
            setting.where = at(member(path, it.key()));
            const QJsonArray elements = it.value().isArray() ? it.value().toArray() : QJsonArray{it.value()};
            bool ok = true;
            for (const QJsonValue &element : elements) {
                QString text;
                if (element.isArray() || element.isNull() || !SourceTable::jsonScalarText(element, text)) {
                    ok = false;
                    break;
                }
                setting.values << text;
            }
            if (!ok) {
                m_problems.error(setting.where, QStringLiteral("expected a text, number, flag or array of them"));
                continue;
            }
            settings << setting;
        }
    } else {
        const QStringList columns{QStringLiteral("name"), QStringLiteral("value"), QStringLiteral("index")};
        for (const SourceRecord &record : SourceTable::load(value, path, columns, *m_files)) {
            const QString name = record.value(QStringLiteral("name"));
            if (name.isEmpty()) {
                m_problems.error(record.origin(), QStringLiteral("missing \"name\""));
                continue;
            }
            int existing = -1;
            for (int i = 0; i < settings.size(); ++i) {
                if (settings.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
                    existing = i;
            }
            if (existing < 0) {
                SourceSetting setting;
                setting.name = name;
                setting.where = record.origin();
                settings << setting;
                existing = settings.size() - 1;
            }
            SourceSetting &setting = settings[existing];
            int index = setting.values.size();
            if (!m_fields->integer(record, QStringLiteral("index"), 0, 10000, false, index))
                continue;
            if (index != setting.values.size()) {
                m_problems.error(record.where(QStringLiteral("index")),
                                 QStringLiteral("expected index %1 (list elements come in order 0, 1, 2, ...)")
                                     .arg(setting.values.size()));
                continue;
            }
            setting.values << record.value(QStringLiteral("value"));
        }
    }
    for (SourceSetting &setting : settings) {
        const QString problem = SettingKinds::checkAndNormalize(setting.name, setting.values);
        if (!problem.isEmpty()) {
            m_problems.error(setting.where, QStringLiteral("setting \"%1\": %2").arg(setting.name, problem));
            continue;
        }
        if (SettingKinds::kindOf(setting.name) == SettingKinds::Kind::Unknown)
            m_problems.warning(setting.where,
                               QStringLiteral("setting \"%1\" is not a key the program reads").arg(setting.name));
        collection.settings << setting;
    }
}

bool SourceReader::itemData(const QJsonValue &value, const QString &path, bool allowPlainPath, QByteArray &out)
{
    if (value.isString() && allowPlainPath)
        return m_files->read(value.toString(), at(path), out);
    if (value.isString()) {
        out = value.toString().toUtf8();
        return true;
    }
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        checkKeys(object, path, {QStringLiteral("file"), QStringLiteral("text")});
        if (object.size() == 1 && object.value(QStringLiteral("file")).isString())
            return m_files->read(object.value(QStringLiteral("file")).toString(),
                                 at(member(path, QStringLiteral("file"))), out);
        if (object.size() == 1 && object.value(QStringLiteral("text")).isString()) {
            out = object.value(QStringLiteral("text")).toString().toUtf8();
            return true;
        }
    }
    m_problems.error(at(path),
                     allowPlainPath ? QStringLiteral("expected a file name, {\"file\": ...} or {\"text\": ...}")
                                    : QStringLiteral("expected a text, {\"file\": ...} or {\"text\": ...}"));
    return false;
}

void SourceReader::readLocale(const QJsonValue &value, const QString &path, SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            SourceLocaleText text;
            text.key = it.key();
            text.where = at(member(path, it.key()));
            QByteArray bytes;
            if (!itemData(it.value(), member(path, it.key()), false, bytes))
                continue;
            text.text = QString::fromUtf8(bytes);
            collection.locale << text;
        }
        return;
    }
    const QStringList columns{QStringLiteral("key"), QStringLiteral("text"), QStringLiteral("locale")};
    for (const SourceRecord &record : SourceTable::load(value, path, columns, *m_files)) {
        SourceLocaleText text;
        text.where = record.origin();
        text.key = record.value(QStringLiteral("key"));
        text.text = record.value(QStringLiteral("text"));
        text.locale = record.value(QStringLiteral("locale"));
        if (text.key.isEmpty()) {
            m_problems.error(record.origin(), QStringLiteral("missing \"key\""));
            continue;
        }
        collection.locale << text;
    }
}

void SourceReader::readTheme(const QJsonValue &value, const QString &path, SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    if (!value.isObject()) {
        m_problems.error(at(path), QStringLiteral("expected an object from item key to file"));
        return;
    }
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        SourceThemeItem item;
        item.key = it.key();
        item.where = at(member(path, it.key()));
        if (!itemData(it.value(), member(path, it.key()), true, item.data))
            continue;
        if (item.data.isEmpty()) {
            m_problems.error(item.where, QStringLiteral("theme item \"%1\" is empty").arg(item.key));
            continue;
        }
        if (item.key.startsWith(QLatin1String("image."), Qt::CaseInsensitive)
            && !ManifestContext::imageDecodes(item.data)) {
            m_problems.error(item.where,
                             QStringLiteral("theme image \"%1\" does not decode as an image").arg(item.key));
            continue;
        }
        collection.theme << item;
    }
}

void SourceReader::readPages(const QJsonValue &value, const QString &path, SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    for (const SourceRecord &record : SourceTable::load(value, path, pageColumns(), *m_files)) {
        SourcePage page;
        page.where = record.origin();
        bool ok = m_fields->integer(record, QStringLiteral("page"), 1, INT_MAX, true, page.pageIndex);
        // The range against num.of.segments is the validator's.
        ok = m_fields->integer(record, QStringLiteral("segment"), 1, INT_MAX, true, page.segment) && ok;
        ok = m_fields->flag(record, QStringLiteral("exterior"), page.exterior) && ok;
        ok = m_fields->mood(record, QStringLiteral("mood"), page.mood) && ok;
        page.names = m_fields->tenTexts(record, QStringLiteral("name"));
        page.extras = m_fields->tenTexts(record, QStringLiteral("extra"));
        page.declaredName = record.value(QStringLiteral("name"));
        if (ok)
            collection.pages << page;
    }
}

void SourceReader::readChips(const QJsonValue &value, const QString &path, SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    const QList<SourceRecord> records = SourceTable::load(value, path, chipColumns(), *m_files);
    collection.chips.reserve(records.size());
    for (const SourceRecord &record : records) {
        SourceChip chip;
        chip.where = record.origin();
        bool ok = m_fields->integer(record, QStringLiteral("page"), 1, INT_MAX, true, chip.pageIndex);
        ok = m_fields->integer(record, QStringLiteral("row"), 1, INT_MAX, true, chip.rowIndex) && ok;
        chip.code = record.value(QStringLiteral("code"));
        if (chip.code.size() > 32)
            m_problems.warning(record.where(QStringLiteral("code")), QStringLiteral("code longer than 32 characters"));
        ok = m_fields->color(record, true, chip.red, chip.green, chip.blue, nullptr) && ok;
        const int labCount = int(record.has(QStringLiteral("l"))) + int(record.has(QStringLiteral("a")))
            + int(record.has(QStringLiteral("b")));
        if (labCount == 3) {
            chip.hasLab = true;
            ok = m_fields->number(record, QStringLiteral("l"), 0.0, 100.0, true, chip.l) && ok;
            ok = m_fields->number(record, QStringLiteral("a"), -128.0, 127.0, true, chip.a) && ok;
            ok = m_fields->number(record, QStringLiteral("b"), -128.0, 127.0, true, chip.b) && ok;
        } else if (labCount != 0) {
            m_problems.error(record.origin(), QStringLiteral("give all of \"l\", \"a\", \"b\" or none of them"));
            ok = false;
        }
        ok = m_fields->integer(record, QStringLiteral("segment"), 1, INT_MAX, false, chip.segment) && ok;
        ok = m_fields->flag(record, QStringLiteral("neutral"), chip.neutral) && ok;
        ok = m_fields->flag(record, QStringLiteral("white"), chip.white) && ok;
        ok = m_fields->flag(record, QStringLiteral("is_mto"), chip.madeToOrder) && ok;
        ok = m_fields->mood(record, QStringLiteral("mood"), chip.mood) && ok;
        ok = m_fields->integer(record, QStringLiteral("scheme_pos"), -1, INT_MAX, false, chip.schemePos) && ok;
        ok = m_fields->integer(record, QStringLiteral("nscheme_pos"), -1, INT_MAX, false, chip.nschemePos) && ok;
        chip.names = m_fields->tenTexts(record, QStringLiteral("name"));
        chip.extras = m_fields->tenTexts(record, QStringLiteral("extra"));
        chip.productKeys = m_fields->keyList(record, QStringLiteral("products"));
        chip.productGroupKeys = m_fields->keyList(record, QStringLiteral("product_groups"));
        if (ok)
            collection.chips << chip;
    }
}

} // namespace Tintor
