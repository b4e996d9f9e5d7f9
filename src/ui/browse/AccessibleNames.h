#pragma once

#include <QUuid>

namespace Tintor {

class MainWidget;

// Gives every view and button of the main widget an accessible name and
// description from the collection's locale texts (the texts its captions
// and tooltips use; a built-in English text where the collection has none)
// and the painted views a role that says what they are. Called again on
// every collection change, as the texts change with the collection.
void applyAccessibleNames(MainWidget &mainWidget, const QUuid &collection);

} // namespace Tintor
