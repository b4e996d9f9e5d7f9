#pragma once

#include <QString>

class QWidget;

// Drives the module's Capsure import the way a user does: the collection
// selector's Capsure button, then the item list and the OK button of the
// dialog it opens. Widgets are found by class name through the toolkit's
// object tree; the host links none of the module's code.
namespace CapsureChooser {

// The Capsure button of the window's collection selector, while it shows.
QWidget *capsureButton(QWidget *window);

// Clicks `button` in its middle, as a user would. Returns once the click is
// handled: for the Capsure button, after its dialog has closed. Empty when
// clicked, otherwise one line.
QString click(QWidget *button);

// Makes the `item`-th entry (from 1) of the dialog's list current;
// `itemText` gets the entry's text. Empty when done, otherwise one line.
QString chooseItem(QWidget *dialog, int item, QString &itemText);

// Presses the dialog's OK button. Empty when done, otherwise one line.
QString pressOk(QWidget *dialog);

} // namespace CapsureChooser
