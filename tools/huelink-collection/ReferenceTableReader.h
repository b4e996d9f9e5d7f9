#pragma once

#include "CollectionSource.h"

#include <QJsonValue>

namespace Tintor {

class ManifestContext;

// Reads the parts of a collection that name its cards and chips: shared
// cards, the three scheme tables, foresight groups and textures. Names stay
// unresolved here; SourceValidator resolves them once every card is known.
class ReferenceTableReader {
public:
    explicit ReferenceTableReader(ManifestContext &context);

    void readSharedPages(const QJsonValue &value, const QString &path, SourceCollection &collection);
    void readPageSchemes(const QJsonValue &value, const QString &path, SourceCollection &collection);
    void readRowSchemes(const QJsonValue &value, const QString &path, SourceCollection &collection);
    void readRowPageSchemes(const QJsonValue &value, const QString &path, SourceCollection &collection);
    // `shared`: items of the system-wide collection, which name the
    // collection of every chip and card they refer to.
    void readForesight(const QJsonValue &value, const QString &path, bool shared, SourceCollection &collection);
    void readTextures(const QJsonValue &value, const QString &path, bool shared, SourceCollection &collection);

private:
    ManifestContext &m_context;
};

} // namespace Tintor
