#pragma once

#include "CollectionSource.h"

#include <QJsonObject>
#include <QJsonValue>
#include <memory>

namespace Tintor {

class FieldReader;
class ManifestContext;
class ReferenceTableReader;
class ProblemList;
class SourceFiles;

// Reads a collection source (a folder with collection.json, or the manifest
// file itself) into a CollectionSource. It checks each value on its own:
// syntax, types, ranges, unknown keys, readable files. Checks across records
// (uniqueness, references) belong to SourceValidator.
class SourceReader {
public:
    explicit SourceReader(ProblemList &problems);
    ~SourceReader();

    // False when the manifest cannot be read at all; otherwise true, with
    // any problems found reported to the problem list.
    bool read(const QString &sourcePath, CollectionSource &out);

    static QString manifestFileName() { return QStringLiteral("collection.json"); }

private:
    void readCollection(const QJsonObject &object, const QString &path, SourceCollection &collection);
    void readSystemWide(const QJsonObject &object, const QString &path, SourceCollection &collection);
    void readSettings(const QJsonValue &value, const QString &path, SourceCollection &collection);
    void readLocale(const QJsonValue &value, const QString &path, SourceCollection &collection);
    void readTheme(const QJsonValue &value, const QString &path, SourceCollection &collection);
    void readPages(const QJsonValue &value, const QString &path, SourceCollection &collection);
    void readChips(const QJsonValue &value, const QString &path, SourceCollection &collection);
    void readProducts(const QJsonValue &value, CollectionSource &out);
    void readGlobalSettings(const QJsonValue &value, CollectionSource &out);

    // "collection.json: <path>"
    QString at(const QString &path) const;
    // Reports keys of `object` not in `known`.
    void checkKeys(const QJsonObject &object, const QString &path, const QStringList &known);
    // Text of a file item: a path string, {"file": path} or {"text": ...}.
    bool itemData(const QJsonValue &value, const QString &path, bool allowPlainPath, QByteArray &out);

    ProblemList &m_problems;
    std::unique_ptr<FieldReader> m_fields;
    std::unique_ptr<SourceFiles> m_files;
    std::unique_ptr<ManifestContext> m_context;
    std::unique_ptr<ReferenceTableReader> m_references;
};

} // namespace Tintor
