#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>

// Points every per-user and all-users folder at temporary folders so tests never touch the real user's data, and
// selects the offscreen platform. Call prepare() before the application object exists (see HUELINK_TEST_MAIN).
class TestEnvironment {
public:
    static void prepare();
    // The temporary all-users data folder ($PROGRAMDATA).
    static QString programData();
    // Vestrel/Huelink/SQLite below programData().
    static QString databaseFolder();
    // Contents/Resources below databaseFolder(), created.
    static QString collectionFolder();
    // Empties the user state store and forgets the cached collection.
    static void resetUserState();
};

#define HUELINK_TEST_MAIN(TestObject)                                                                                  \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        TestEnvironment::prepare();                                                                                    \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject test;                                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
