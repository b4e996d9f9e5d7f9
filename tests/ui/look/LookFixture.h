#pragma once

#include "db/CollectionRegistry.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QImage>
#include <QUuid>

// System-wide theme rows (ID 0) and one shown collection; publish() registers it and makes it the last used.
class LookFixture
{
public:
    static QUuid shownCollection() { return QUuid(QStringLiteral("{5b0c6e52-8d1f-4f7a-9a41-2f3d5c7e9b10}")); }

    bool isOpen() const { return m_database.isOpen() && m_shownId >= 0; }
    void addSystemTheme(const QString &key, const QByteArray &data) { m_database.addTheme(0, key, data); }
    void addShownTheme(const QString &key, const QByteArray &data) { m_database.addTheme(m_shownId, key, data); }
    void addShownText(const QString &key, const QString &text) { m_database.addLocale(m_shownId, key, text); }
    bool exec(const QString &sql, const QVariantList &values = {}) { return m_database.exec(sql, values); }

    void publish()
    {
        Tintor::DB::scanCollectionFiles(Tintor::DB::collectionRegistry(), true);
        Tintor::UserState::setLastUsedCollection(shownCollection());
    }

    static QImage filled(const QSize &size, const QColor &color)
    {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(color);
        return image;
    }

    static QString outputPath(const QString &fileName)
    {
        QDir().mkpath(HUELINK_BUILD_DIR "/test-output");
        return HUELINK_BUILD_DIR "/test-output/" + fileName;
    }

private:
    FixtureDatabase m_database{TestEnvironment::collectionFolder() + "/look.db"};
    qint64 m_shownId = m_database.addCollection(shownCollection(), "LOOK", 1);
};
