#pragma once

#include "db/ColorEntry.h"

#include <QColor>
#include <QString>
#include <QUuid>
#include <QVariantMap>

class QMimeData;

// The data of a chip drag: one private MIME format holding the UTF-8 JSON
// text of one object, either a reference to a chip of a collection
// (collection UUID and row ID) or a bare colour with two names. Other
// instances of the program read these texts, so their exact form (key
// order, the key "collectuionUuid" as spelt, separators) must not change.
// A drop may come from any application, so every reader treats an
// unreadable payload as absent. The drag itself is in ChipDrag.h; this
// module needs no widgets.
namespace Tintor {

// The value of the payload's "from" key. Readers map anything else to
// FromNowhere.
enum ChipSource {
    FromNowhere = 0,
    FromCardRoller = 1,
    FromHarmonizer = 2,
    FromMyPalette = 3,
    FromForesight = 4,
};

QString chipPayloadMimeType();

// The payload texts (the codec's output, decoded from UTF-8).
QString chipPayloadText(ChipSource source, const QUuid &collectionUuid, const DB::ColorEntry &chip);
QString colorPayloadText(ChipSource source, const QColor &color, const QString &name1, const QString &name2);

// New MIME data holding `payloadText` under the payload format; the caller
// (usually a QDrag) owns it.
QMimeData *newChipPayloadMimeData(const QString &payloadText);

// The payload's object; false when the data is not UTF-8 JSON text of an
// object. `data` is the raw content of the format.
bool parseChipPayload(const QByteArray &data, QVariantMap &payload);

// Readers of a drop's MIME data (null allowed).
bool hasChipPayload(const QMimeData *mime);
// FromNowhere when absent, unreadable or not one of the known kinds.
ChipSource chipPayloadSource(const QMimeData *mime);
// 0 with the chip loaded from its collection; -1 when the payload is absent
// or unreadable, otherwise the status of the chip lookup.
int readChipPayload(const QMimeData *mime, QUuid &collectionUuid, DB::ColorEntry &chip);
// 0 with the opaque colour (black when the payload has none); -1 when the
// payload is absent or unreadable.
int readColorPayload(const QMimeData *mime, QColor &color);
// 0 with both names (empty when missing); -1 when absent or unreadable.
int readColorNames(const QMimeData *mime, QString &name1, QString &name2);

} // namespace Tintor
