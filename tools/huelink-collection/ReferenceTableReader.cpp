#include "ReferenceTableReader.h"

#include "FieldReader.h"
#include "ManifestContext.h"
#include "ProblemList.h"
#include "SourceFiles.h"
#include "SourceTable.h"

#include <QJsonArray>
#include <QJsonObject>

#include <climits>

namespace Tintor {

ReferenceTableReader::ReferenceTableReader(ManifestContext &context)
    : m_context(context)
{
}

void ReferenceTableReader::readSharedPages(const QJsonValue &value, const QString &path, SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    if (!value.isArray()) {
        m_context.problems().error(m_context.at(path),
                                   QStringLiteral("expected an array of {\"collection\": ..., \"pages\": ...}"));
        return;
    }
    const QJsonArray array = value.toArray();
    for (int i = 0; i < array.size(); ++i) {
        const QString itemPath = ManifestContext::element(path, i);
        const QJsonObject object = array.at(i).toObject();
        m_context.checkKeys(object, itemPath, {QStringLiteral("collection"), QStringLiteral("pages")});
        SourceSharedPages shared;
        shared.where = m_context.at(itemPath);
        shared.collection = object.value(QStringLiteral("collection")).toString();
        if (shared.collection.isEmpty())
            m_context.problems().error(m_context.at(ManifestContext::member(itemPath, QStringLiteral("collection"))),
                                       QStringLiteral("missing (the systemId of the collection that owns the cards)"));
        const QJsonValue pages = object.value(QStringLiteral("pages"));
        if (pages.toString() == QLatin1String("all")) {
            shared.all = true;
        } else if (pages.isArray()) {
            for (const QJsonValue &page : pages.toArray()) {
                if (!page.isDouble() || page.toDouble() != double(page.toInt()) || page.toInt() < 1) {
                    m_context.problems().error(m_context.at(ManifestContext::member(itemPath, QStringLiteral("pages"))),
                                               QStringLiteral("page indexes must be integers >= 1"));
                    break;
                }
                shared.pageIndexes << page.toInt();
            }
        } else {
            m_context.problems().error(m_context.at(ManifestContext::member(itemPath, QStringLiteral("pages"))),
                                       QStringLiteral("expected \"all\" or an array of page indexes"));
        }
        collection.sharedPages << shared;
    }
}

void ReferenceTableReader::readPageSchemes(const QJsonValue &value, const QString &path, SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    const QStringList columns{QStringLiteral("page"), QStringLiteral("scheme"), QStringLiteral("scheme_page"),
                              QStringLiteral("order")};
    for (const SourceRecord &record : SourceTable::load(value, path, columns, m_context.files())) {
        SourcePageScheme scheme;
        scheme.where = record.origin();
        scheme.page = m_context.fields().pageReference(record, QStringLiteral("page"), false);
        bool ok = scheme.page.pageIndex > 0;
        ok = m_context.fields().scheme(record, QStringLiteral("scheme"), scheme.scheme) && ok;
        scheme.schemePage = m_context.fields().pageReference(record, QStringLiteral("scheme_page"), false);
        ok = scheme.schemePage.pageIndex > 0 && ok;
        scheme.order = -1; // default: position within (page, scheme)
        ok = m_context.fields().integer(record, QStringLiteral("order"), 0, INT_MAX, false, scheme.order) && ok;
        if (ok)
            collection.pageSchemes << scheme;
    }
}

void ReferenceTableReader::readRowSchemes(const QJsonValue &value, const QString &path, SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    const QStringList columns{
        QStringLiteral("page"),        QStringLiteral("row"),         QStringLiteral("code"),
        QStringLiteral("scheme"),      QStringLiteral("scheme_page"), QStringLiteral("scheme_row"),
        QStringLiteral("scheme_code"), QStringLiteral("page_order"),  QStringLiteral("row_order")};
    const QList<SourceRecord> records = SourceTable::load(value, path, columns, m_context.files());
    collection.rowSchemes.reserve(records.size());
    for (const SourceRecord &record : records) {
        SourceRowScheme scheme;
        scheme.where = record.origin();
        scheme.chip = m_context.fields().chipReference(record, QString(), false);
        scheme.schemeChip = m_context.fields().chipReference(record, QStringLiteral("scheme_"), false);
        bool ok = true;
        if (!scheme.chip.isGiven()) {
            m_context.problems().error(record.origin(),
                                       QStringLiteral("missing the chip (\"page\" and \"row\", or \"code\")"));
            ok = false;
        }
        if (!scheme.schemeChip.isGiven()) {
            m_context.problems().error(record.origin(),
                                       QStringLiteral("missing the scheme chip (\"scheme_page\" and "
                                                      "\"scheme_row\", or \"scheme_code\")"));
            ok = false;
        }
        ok = m_context.fields().scheme(record, QStringLiteral("scheme"), scheme.scheme) && ok;
        scheme.pageOrder = -1;
        scheme.rowOrder = -1;
        ok = m_context.fields().integer(record, QStringLiteral("page_order"), 0, INT_MAX, false, scheme.pageOrder)
            && ok;
        ok = m_context.fields().integer(record, QStringLiteral("row_order"), 0, INT_MAX, false, scheme.rowOrder) && ok;
        if (ok)
            collection.rowSchemes << scheme;
    }
}

void ReferenceTableReader::readRowPageSchemes(const QJsonValue &value, const QString &path,
                                              SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    const QStringList columns{QStringLiteral("page"),   QStringLiteral("row"),         QStringLiteral("code"),
                              QStringLiteral("scheme"), QStringLiteral("scheme_page"), QStringLiteral("order")};
    const QList<SourceRecord> records = SourceTable::load(value, path, columns, m_context.files());
    collection.rowPageSchemes.reserve(records.size());
    for (const SourceRecord &record : records) {
        SourceRowPageScheme scheme;
        scheme.where = record.origin();
        scheme.chip = m_context.fields().chipReference(record, QString(), false);
        bool ok = true;
        if (!scheme.chip.isGiven()) {
            m_context.problems().error(record.origin(),
                                       QStringLiteral("missing the chip (\"page\" and \"row\", or \"code\")"));
            ok = false;
        }
        ok = m_context.fields().scheme(record, QStringLiteral("scheme"), scheme.scheme) && ok;
        scheme.schemePage = m_context.fields().pageReference(record, QStringLiteral("scheme_page"), false);
        ok = scheme.schemePage.pageIndex > 0 && ok;
        scheme.order = -1;
        ok = m_context.fields().integer(record, QStringLiteral("order"), 0, INT_MAX, false, scheme.order) && ok;
        if (ok)
            collection.rowPageSchemes << scheme;
    }
}

void ReferenceTableReader::readForesight(const QJsonValue &value, const QString &path, bool shared,
                                         SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    if (!value.isArray()) {
        m_context.problems().error(m_context.at(path), QStringLiteral("expected an array of groups"));
        return;
    }
    const QJsonArray groups = value.toArray();
    const QStringList columns{QStringLiteral("order"), QStringLiteral("name1"),     QStringLiteral("name2"),
                              QStringLiteral("red"),   QStringLiteral("green"),     QStringLiteral("blue"),
                              QStringLiteral("hex"),   QStringLiteral("page"),      QStringLiteral("row"),
                              QStringLiteral("code"),  QStringLiteral("collection")};
    for (int g = 0; g < groups.size(); ++g) {
        const QString groupPath = ManifestContext::element(path, g);
        const QJsonObject object = groups.at(g).toObject();
        m_context.checkKeys(object, groupPath,
                            {QStringLiteral("name"), QStringLiteral("defaultOpen"), QStringLiteral("order"),
                             QStringLiteral("entries")});
        SourceForesightGroup group;
        group.where = m_context.at(groupPath);
        group.name = object.value(QStringLiteral("name")).toString();
        if (group.name.isEmpty())
            m_context.problems().error(m_context.at(ManifestContext::member(groupPath, QStringLiteral("name"))),
                                       QStringLiteral("missing (the group title)"));
        const QJsonValue open = object.value(QStringLiteral("defaultOpen"));
        if (!open.isUndefined() && !open.isBool())
            m_context.problems().error(m_context.at(ManifestContext::member(groupPath, QStringLiteral("defaultOpen"))),
                                       QStringLiteral("not true or false"));
        group.defaultOpen = open.toBool();
        const QJsonValue order = object.value(QStringLiteral("order"));
        group.order = g + 1;
        if (!order.isUndefined()) {
            if (!order.isDouble() || order.toDouble() != double(order.toInt()))
                m_context.problems().error(m_context.at(ManifestContext::member(groupPath, QStringLiteral("order"))),
                                           QStringLiteral("not an integer"));
            else
                group.order = order.toInt();
        }
        int position = 0;
        const QJsonValue entries = object.value(QStringLiteral("entries"));
        if (!entries.isUndefined()) {
            for (const SourceRecord &record :
                 SourceTable::load(entries, ManifestContext::member(groupPath, QStringLiteral("entries")), columns,
                                   m_context.files())) {
                ++position;
                SourceForesightEntry entry;
                entry.where = record.origin();
                entry.order = position;
                bool ok
                    = m_context.fields().integer(record, QStringLiteral("order"), INT_MIN, INT_MAX, false, entry.order);
                entry.name1 = record.value(QStringLiteral("name1"));
                entry.name2 = record.value(QStringLiteral("name2"));
                ok = m_context.fields().color(record, false, entry.red, entry.green, entry.blue, &entry.hasColor) && ok;
                entry.chip = m_context.fields().chipReference(record, QString(), true);
                if (!entry.chip.isGiven() && !entry.hasColor) {
                    m_context.problems().error(record.origin(), QStringLiteral("an entry needs a colour or a chip"));
                    ok = false;
                }
                if (shared && entry.chip.isGiven() && entry.chip.collection.isEmpty()) {
                    m_context.problems().error(
                        record.origin(), QStringLiteral("a shared entry names its chip's \"collection\" (a systemId)"));
                    ok = false;
                }
                if (!entry.chip.isGiven() && record.has(QStringLiteral("collection")))
                    m_context.problems().error(record.where(QStringLiteral("collection")),
                                               QStringLiteral("given without a chip"));
                if (ok)
                    group.entries << entry;
            }
        }
        collection.foresight << group;
    }
}

void ReferenceTableReader::readTextures(const QJsonValue &value, const QString &path, bool shared,
                                        SourceCollection &collection)
{
    if (value.isUndefined())
        return;
    if (!value.isArray()) {
        m_context.problems().error(m_context.at(path), QStringLiteral("expected an array of textures"));
        return;
    }
    const QJsonArray textures = value.toArray();
    const QStringList columns{QStringLiteral("page"), QStringLiteral("alpha"), QStringLiteral("name"),
                              QStringLiteral("collection")};
    for (int t = 0; t < textures.size(); ++t) {
        const QString texturePath = ManifestContext::element(path, t);
        const QJsonObject object = textures.at(t).toObject();
        m_context.checkKeys(
            object, texturePath,
            {QStringLiteral("name"), QStringLiteral("image"), QStringLiteral("baseAlpha"), QStringLiteral("maps")});
        SourceTexture texture;
        texture.where = m_context.at(texturePath);
        texture.name = object.value(QStringLiteral("name")).toString();
        const QString imagePath = ManifestContext::member(texturePath, QStringLiteral("image"));
        if (!object.value(QStringLiteral("image")).isString())
            m_context.problems().error(m_context.at(imagePath), QStringLiteral("missing (the image file)"));
        else if (m_context.files().read(object.value(QStringLiteral("image")).toString(), m_context.at(imagePath),
                                        texture.image)
                 && !ManifestContext::imageDecodes(texture.image))
            m_context.problems().error(m_context.at(imagePath),
                                       QStringLiteral("\"%1\" does not decode as an image")
                                           .arg(object.value(QStringLiteral("image")).toString()));
        const QJsonValue baseAlpha = object.value(QStringLiteral("baseAlpha"));
        if (!baseAlpha.isUndefined()) {
            if (!baseAlpha.isDouble() || baseAlpha.toDouble() < 0.0 || baseAlpha.toDouble() > 1.0)
                m_context.problems().error(
                    m_context.at(ManifestContext::member(texturePath, QStringLiteral("baseAlpha"))),
                    QStringLiteral("must be a number within 0..1"));
            else
                texture.baseAlpha = baseAlpha.toDouble();
        }
        const QJsonValue maps = object.value(QStringLiteral("maps"));
        if (!maps.isUndefined()) {
            for (const SourceRecord &record : SourceTable::load(
                     maps, ManifestContext::member(texturePath, QStringLiteral("maps")), columns, m_context.files())) {
                SourceTextureMap map;
                map.where = record.origin();
                map.page = m_context.fields().pageReference(record, QStringLiteral("page"), true);
                bool ok = map.page.pageIndex > 0;
                if (shared && map.page.collection.isEmpty()) {
                    m_context.problems().error(
                        record.origin(), QStringLiteral("a shared texture's map names the card's \"collection\""));
                    ok = false;
                }
                ok = m_context.fields().number(record, QStringLiteral("alpha"), 0.0, 1.0, false, map.alpha) && ok;
                if (map.alpha <= 0.0) {
                    m_context.problems().error(record.where(QStringLiteral("alpha")),
                                               QStringLiteral("must be above 0"));
                    ok = false;
                }
                map.name = record.value(QStringLiteral("name"));
                if (ok)
                    texture.maps << map;
            }
        }
        collection.textures << texture;
    }
}

} // namespace Tintor
