#include "ui/chips/ChipPayload.h"

#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "ui/chips/JsonCodec.h"

#include <QMimeData>

namespace Tintor {

namespace {

const QString kCollectionUuidKey = QStringLiteral("collectuionUuid");
const QString kColorIdKey = QStringLiteral("colorId");
const QString kFromKey = QStringLiteral("from");
const QString kColorName1Key = QStringLiteral("colorName1");
const QString kColorName2Key = QStringLiteral("colorName2");
const QString kColorRgbKey = QStringLiteral("colorRgb");

QString payloadText(const QVariantMap &payload)
{
    // Maps of strings and integers always serialise.
    return QString::fromUtf8(JsonCodec::serialize(payload));
}

bool payloadOf(const QMimeData *mime, QVariantMap &payload)
{
    if (!hasChipPayload(mime))
        return false;
    return parseChipPayload(mime->data(chipPayloadMimeType()), payload);
}

} // namespace

QString chipPayloadMimeType()
{
    return QStringLiteral("vestrel.hlnk/color.chip.dnd.info");
}

QString chipPayloadText(ChipSource source, const QUuid &collectionUuid, const DB::ColorEntry &chip)
{
    QVariantMap payload;
    payload.insert(kCollectionUuidKey, collectionUuid.toString());
    payload.insert(kColorIdKey, chip.id);
    payload.insert(kFromKey, int(source));
    return payloadText(payload);
}

QString colorPayloadText(ChipSource source, const QColor &color, const QString &name1, const QString &name2)
{
    QVariantMap payload;
    payload.insert(kColorName1Key, name1);
    payload.insert(kColorName2Key, name2);
    payload.insert(kColorRgbKey, quint32(color.rgb()));
    payload.insert(kFromKey, int(source));
    return payloadText(payload);
}

QMimeData *newChipPayloadMimeData(const QString &payloadText)
{
    auto *mime = new QMimeData;
    mime->setData(chipPayloadMimeType(), payloadText.toUtf8());
    return mime;
}

bool parseChipPayload(const QByteArray &data, QVariantMap &payload)
{
    payload.clear();
    bool ok = false;
    const QVariant value = JsonCodec::parse(QString::fromUtf8(data), ok);
    // The payload is always one object; anything else is not ours.
    if (!ok || value.userType() != QMetaType::QVariantMap)
        return false;
    payload = value.toMap();
    return true;
}

bool hasChipPayload(const QMimeData *mime)
{
    return mime && mime->hasFormat(chipPayloadMimeType());
}

ChipSource chipPayloadSource(const QMimeData *mime)
{
    QVariantMap payload;
    if (!payloadOf(mime, payload))
        return FromNowhere;
    bool ok = false;
    const qint64 source = payload.value(kFromKey).toLongLong(&ok);
    if (!ok || source < FromCardRoller || source > FromForesight)
        return FromNowhere;
    return ChipSource(source);
}

int readChipPayload(const QMimeData *mime, QUuid &collectionUuid, DB::ColorEntry &chip)
{
    QVariantMap payload;
    if (!payloadOf(mime, payload))
        return DB::StatusFailed;
    collectionUuid = QUuid::fromString(payload.value(kCollectionUuidKey).toString());
    const qint64 rowId = payload.value(kColorIdKey).toLongLong();
    return DB::entryById(collectionUuid, rowId, chip);
}

int readColorPayload(const QMimeData *mime, QColor &color)
{
    QVariantMap payload;
    if (!payloadOf(mime, payload))
        return DB::StatusFailed;
    const QVariant rgb = payload.value(kColorRgbKey);
    // Only the low 32 bits count; QColor(QRgb) ignores the alpha byte.
    const quint32 value = rgb.userType() == QMetaType::ULongLong ? quint32(rgb.toULongLong())
                                                                 : quint32(rgb.toLongLong());
    color = QColor(QRgb(value));
    return DB::StatusOk;
}

int readColorNames(const QMimeData *mime, QString &name1, QString &name2)
{
    QVariantMap payload;
    if (!payloadOf(mime, payload))
        return DB::StatusFailed;
    name1 = payload.value(kColorName1Key).toString();
    name2 = payload.value(kColorName2Key).toString();
    return DB::StatusOk;
}

} // namespace Tintor
