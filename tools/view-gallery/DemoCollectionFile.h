#pragma once

#include <QString>

// The gallery's own collection file, used while no demo collections have
// been built: a normal deck and a pelvon deck with settings, texts and
// plain theme pictures.
namespace Gallery {

// Writes the file into the collection folder below `databaseFolder`
// (replacing it); false with a message on standard error on failure.
bool writeDemoCollectionFile(const QString &databaseFolder);

} // namespace Gallery
