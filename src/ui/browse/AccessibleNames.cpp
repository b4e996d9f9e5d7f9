#include "ui/browse/AccessibleNames.h"

#include "db/CollectionLookups.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/CollectionSelectWidget.h"
#include "ui/browse/ColorWheelWidget.h"
#include "ui/browse/DropDownButton.h"
#include "ui/browse/MainWidget.h"
#include "ui/browse/MoodSelectWidget.h"
#include "ui/browse/RollButton.h"
#include "ui/browse/SearchWidget.h"
#include "ui/browse/TabBarWidget.h"
#include "ui/catalog/ColorForesightWidget.h"
#include "ui/catalog/ProductsWidget.h"
#include "ui/catalog/TexturesWidget.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"
#include "ui/look/ImageButton.h"
#include "ui/look/TaskButton.h"
#include "ui/palette/MyPaletteFullWidget.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextDocument>

namespace Tintor {

namespace {

// Roles of the painted views; everything else keeps the role Qt gives it.
QAccessibleInterface *viewInterface(const QString &className, QObject *object)
{
    static const QHash<QString, QAccessible::Role> roles {
        { QStringLiteral("Tintor::CollectionSelectWidget"), QAccessible::ComboBox },
        { QStringLiteral("Tintor::ColorWheelWidget"), QAccessible::Dial },
        { QStringLiteral("Tintor::MoodSelectWidget"), QAccessible::Grouping },
        { QStringLiteral("Tintor::CardRollerWidget"), QAccessible::List },
        { QStringLiteral("Tintor::TabBarWidget"), QAccessible::PageTabList },
        { QStringLiteral("Tintor::ColorSchemerWidget"), QAccessible::List },
        { QStringLiteral("Tintor::ColorSchemerPelvonWidget"), QAccessible::List },
        { QStringLiteral("Tintor::MyPaletteWidget"), QAccessible::Table },
        { QStringLiteral("Tintor::MyPaletteFullWidget"), QAccessible::Table },
    };
    const auto role = roles.constFind(className);
    if (role == roles.cend() || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), *role);
}

// Locale texts may carry markup and line breaks meant for tooltips.
QString plain(const QString &text)
{
    // Most texts carry none; a document per text would slow every collection switch.
    if (!text.contains(QLatin1Char('<')) && !text.contains(QLatin1Char('&')))
        return text.simplified();
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText().simplified();
}

struct Texts {
    QWidget *widget;
    const char *nameKey;
    const char *fallbackName;
    const char *descriptionKey;
    const char *fallbackDescription;
};

} // namespace

void applyAccessibleNames(MainWidget &mainWidget, const QUuid &collection)
{
    static const bool installed = [] {
        QAccessible::installFactory(&viewInterface);
        return true;
    }();
    Q_UNUSED(installed);

    MyPaletteWidget *palette = mainWidget.myPalette();
    const Texts texts[] = {
        { mainWidget.collectionSelector(), nullptr, "Collection", nullptr, "The collection of colours to browse" },
        { mainWidget.collectionSelector()->dropDownButton(), nullptr, "Choose collection", nullptr,
            "Opens the list of installed collections" },
        { mainWidget.collectionSelector()->capsureButton(), nullptr, "Capsure measurement", nullptr,
            "Finds the colour measured with the Capsure device" },
        { mainWidget.collectionSelector()->collectionList(), nullptr, "Collections", nullptr,
            "The installed collections" },
        { mainWidget.colorWheel(), nullptr, "Colour wheel", nullptr,
            "The segment of the fan deck the cards come from" },
        { mainWidget.moodFilter(), nullptr, "Mood filter", nullptr, "Shows only the cards of one mood" },
        { mainWidget.cardRoller(), nullptr, "Card roller", nullptr, "The cards of the segment and their chips" },
        { mainWidget.search(), nullptr, "Search", "color.palette.enter.search.text",
            "Search a colour by code or name" },
        { mainWidget.search()->lineEdit(), nullptr, "Search", "color.palette.enter.search.text",
            "Search a colour by code or name" },
        { mainWidget.search()->rollButton(Backward), nullptr, "Previous match", nullptr,
            "Goes to the previous card the search found" },
        { mainWidget.search()->rollButton(Forward), nullptr, "Next match", nullptr,
            "Goes to the next card the search found" },
        { mainWidget.tabBar(), nullptr, "Tabs", nullptr, "Schemes, products, colour foresight and textures" },
        { mainWidget.colorSchemer(), "tab.bar.color.schemes.caption", "Colour schemes", "harmonizer.drag.drop.message",
            "Colours that go with the selected chip" },
        { mainWidget.pelvonSchemer(), "tab.bar.color.schemes.caption", "Colour schemes", "harmonizer.drag.drop.message",
            "Colours that go with the selected chip" },
        { mainWidget.foresightView(), "tab.bar.color.foresight.caption", "Colour foresight", nullptr,
            "The maker's colour trend groups" },
        { mainWidget.productsView(), "tab.bar.products.caption", "Products", nullptr,
            "The products the selected colour is sold in" },
        { mainWidget.texturesView(), "tab.bar.textures.caption", "Textures", "textures.select.message",
            "The selected colour on surface textures" },
        { palette, nullptr, "My Palette", "mypalette.note.instructions", "Your own colours" },
        { palette->zoomButton(), nullptr, "Enlarge My Palette", nullptr, "Shows My Palette in full size" },
        { palette->eraseButton(), nullptr, "Erase", nullptr, "Empties the selected cells of My Palette" },
        { palette->clearButton(), nullptr, "Clear My Palette", "mypalette.clearpalettebutton.question",
            "Empties every cell of My Palette" },
        { palette->gridButton(), nullptr, "Grid", nullptr, "Shows or hides the grid lines of My Palette" },
        { palette->descriptionEdit(), nullptr, "Palette description", "mypalette.note.instructions",
            "A note saved with the palette" },
        { mainWidget.fullPalette(), nullptr, "My Palette in full size", nullptr, "Your own colours, enlarged" },
        { mainWidget.fullPalette()->backButton(), nullptr, "Back", nullptr, "Returns to the browsing view" },
        { mainWidget.copyrightLabel(), "color.palette.copyright", "Copyright", nullptr, "Opens the copyright notice" },
        { mainWidget.mottoLabel(), "color.palette.motto", "Motto", nullptr, "Opens the maker's motto" },
    };
    for (const Texts &entry : texts) {
        if (!entry.widget)
            continue;
        const auto text = [&collection](const char *key, const char *fallback) {
            return plain(localizedTextOr(collection, QString::fromLatin1(key ? key : ""), QString::fromUtf8(fallback)));
        };
        entry.widget->setAccessibleName(text(entry.nameKey, entry.fallbackName));
        entry.widget->setAccessibleDescription(text(entry.descriptionKey, entry.fallbackDescription));
    }
    // Task buttons speak their caption, which Qt reads from the button
    // itself, so a caption set after this call is still what is heard.
    const QHash<quint16, const char *> buttonDescriptions {
        { MainWidget::SaveButtonId, "Saves My Palette to a palette file or a text list" },
        { MainWidget::LoadButtonId, "Loads My Palette from a palette file" },
        { MainWidget::HelpButtonId, "Opens the help" },
        { MainWidget::AboutButtonId, "Shows the about box" },
    };
    for (quint16 id : mainWidget.taskButtonOrder()) {
        if (buttonDescriptions.contains(id))
            mainWidget.taskButton(id)->setAccessibleDescription(QString::fromUtf8(buttonDescriptions.value(id)));
    }
}

} // namespace Tintor
