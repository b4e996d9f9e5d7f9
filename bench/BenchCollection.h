#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QUuid>

// One collection file for a benchmark: linked into a temporary collection
// folder, with the user state in a temporary folder of its own.
class BenchCollection
{
public:
    // Points the user state away from the real one and picks the offscreen
    // platform unless another is set: make it before the application object.
    BenchCollection();

    // Registers `file` as the only collection file and makes its first
    // collection the last used one; a null UUID (with the reason printed)
    // when that fails.
    QUuid open(const char *file);

    // How many chips the collection holds, and its highest card index;
    // -1 when the file does not say.
    static int chipCount(const QUuid &collection);
    static int cardCount(const QUuid &collection);

private:
    QTemporaryDir m_folder;
};
