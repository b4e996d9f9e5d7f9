// Catalog pages over one small file: products of a chip, trend groups, texture tiles placed and tinted.

#include "db/CollectionRegistry.h"
#include "db/ImageDecoding.h"
#include "db/TextureMapEntry.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/catalog/ColorForesightViewport.h"
#include "ui/catalog/ColorForesightWidget.h"
#include "ui/catalog/ProductsWidget.h"
#include "ui/catalog/TexturesViewport.h"
#include "ui/catalog/TexturesWidget.h"
#include "ui/chips/ChipPayload.h"
#include "ui/look/ProgramFont.h"

#include <QDrag>
#include <QLabel>
#include <QListWidget>
#include <QSqlField>
#include <QSqlRecord>
#include <QtTest>

using namespace Tintor;

namespace {

const QUuid kGroups("{5a000000-0000-0000-0000-00000000005a}");
const QUuid kProducts("{5b000000-0000-0000-0000-00000000005b}");
const QUuid kEmpty("{5c000000-0000-0000-0000-00000000005c}");
const QSize kTile(100, 60);
const QColor kShade(200, 100, 128);

void press(QWidget *widget, QEvent::Type type, const QPoint &point, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(type, QPointF(point), widget->mapToGlobal(QPointF(point)), button,
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

class CatalogTabsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_file = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/cat.db");
        FixtureDatabase &db = *m_file;
        QVERIFY(db.isOpen());
        const qint64 groups = db.addCollection(kGroups, "GROUPS", 1);
        const qint64 products = db.addCollection(kProducts, "PRODUCTS", 2);
        db.addCollection(kEmpty, "EMPTY", 3);
        db.addSetting(groups, "product.groups.mode", "Something else");
        db.addSetting(products, "product.groups.mode", "products");
        db.addSetting(products, "product.group.productname.productcode.separator:string", " / ");
        for (const qint64 collection : { groups, products })
            db.addSetting(collection, "texture.size", "100,60");

        // One card in both collections: a chip with two products, one with none.
        const qint64 pageId = db.addPage(groups, {});
        db.mapPage(products, pageId);
        const qint64 sold = db.addRow(groups, pageId, { 1, "C-1", QColor(40, 120, 200) });
        db.addRow(groups, pageId, { 2, "C-2", QColor(40, 120, 200) });
        QVERIFY(db.exec(QStringLiteral("INSERT INTO PRODUCT(ID, NAME, PRODUCT_CODE) VALUES (1, 'Matt', 'M1'), "
                                       "(2, 'Velvet', '')")));
        QVERIFY(db.exec("INSERT INTO PRODUCT_GROUP(ID, NAME) VALUES (1, 'Walls')"));
        QVERIFY(db.exec(
            QStringLiteral("INSERT INTO ROW_PRODUCT_MAP VALUES (?, ?, 1), (?, ?, 2)"), { groups, sold, groups, sold }));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO ROW_PRODUCT_GROUP_MAP VALUES (?, ?, 1)"), { groups, sold }));

        // Groups 3 and 1 share order 2; group 2 (order 1) opens by default.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO FORESIGHT_GROUP(ID, COLLECTION_ID, NAME, DEFAULT_OPEN, "
                                       "\"ORDER\") VALUES (3, ?, 'Late', 0, 2), (1, ?, 'Early', 0, 2), "
                                       "(2, 0, 'Shared', 1, 1)"),
            { groups, groups }));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO FORESIGHT_ENTRY(COLLECTION_ID, FORESIGHT_GROUP_ID, NAME_1, NAME_2, "
                                       "RED, GREEN, BLUE, \"ORDER\") VALUES (?, 2, '', '', 10, 20, 30, 1), "
                                       "(?, 2, 'Name 2', '', 10, 20, 60, 2), (?, 2, 'Name 3', '', 10, 20, 90, 3)"),
            { groups, groups, groups }));

        // Four pairings of the card; texture 9 of the fourth does not decode.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO TEXTURE(ID, COLLECTION_ID, NAME, IMAGE) VALUES (7, 0, 'Plaster', "
                                       "?), (9, ?, 'Broken', X'00')"),
            { FixtureDatabase::png(kTile, kShade), groups }));
        QVERIFY(db.exec("DROP INDEX UNQ_TEXTURE_PAGE"));
        QVERIFY(
            db.exec(QStringLiteral("INSERT INTO TEXTURE_MAP(TEXTURE_ID, PAGE_ID, ALPHA, NAME) VALUES (7, ?, 0.5, "
                                   "'Tile 1'), (7, ?, 0.5, 'Tile 2'), (7, ?, 0.5, 'Tile 3'), (9, ?, 0.5, 'Tile 4')"),
                { pageId, pageId, pageId, pageId }));
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void init() { TestEnvironment::resetUserState(); }

    // No row, past the card, no products; the groups of a collection in another mode; lower-case "products".
    void productsFollowTheSelectedChip()
    {
        const std::tuple<QUuid, int, QString, QStringList> rows[]
            = { { kGroups, 0, " ", {} }, { kGroups, 3, " ", {} }, { kGroups, 2, "C-2", {} },
                  { kGroups, 1, "C-1", { "Walls" } }, { kProducts, 1, "C-1", { "Matt / M1", "Velvet" } } };
        for (const auto &[collection, row, label, items] : rows) {
            UserState::setLastUsedCollection(collection);
            UserState::setPageIndex(collection, 1);
            UserState::setRowIndex(collection, 1);
            ProductsWidget widget;
            widget.resize(400, 200);
            widget.show();
            UserState::setRowIndex(collection, row);
            widget.selectedColorChanged();
            QCOMPARE(widget.codeLabel()->text(), label);
            QStringList shown;
            for (int i = 0; i < widget.list()->count(); ++i)
                shown << widget.list()->item(i)->text();
            QCOMPARE(shown, items);
            QVERIFY(widget.list()->geometry().top() > widget.codeLabel()->geometry().bottom());
        }
    }

    void foresightGroupsOrderOpenAndToggle()
    {
        ColorForesightViewport viewport;
        viewport.loadGroups(kGroups);
        // Equal orders keep the group ID order.
        QCOMPARE(viewport.groupOrder(), (QList<qint64> { 2, 1, 3 }));
        viewport.resize(170, 10);
        viewport.layoutGroups();
        QVERIFY(viewport.isGroupOpen(2));
        QVERIFY(viewport.chipRects(1).isEmpty());
        // Three chips of 64 pixels and names: the third wraps to x = 0.
        const QVector<QRect> chips = viewport.chipRects(2);
        QCOMPARE(chips.size(), 3);
        const int headerHeight
            = std::max(QFontMetrics(programFont(FontStyle::Normal, 2)).size(Qt::TextSingleLine, "Shared").height(),
                viewport.iconSquare(2).height());
        QCOMPARE(chips.at(0).topLeft(), QPoint(0, headerHeight + 9));
        QCOMPARE(chips.at(2).left(), 0);
        QVERIFY(chips.at(2).top() > chips.at(1).bottom());
        QVERIFY(viewport.groupArea(1).top() > chips.at(2).bottom());

        // A chip press makes the drag candidate, a release drops it.
        press(&viewport, QEvent::MouseButtonPress, chips.at(0).center());
        QCOMPARE(viewport.dragColor(), QColor(10, 20, 30));
        QCOMPARE(viewport.dragText(), "Shared");
        press(&viewport, QEvent::MouseButtonPress, chips.at(1).center(), Qt::RightButton);
        QCOMPARE(viewport.dragText(), "Shared");
        press(&viewport, QEvent::MouseButtonPress, chips.at(1).center());
        QCOMPARE(viewport.dragText(), "Shared\nName 2");
        // Past the start distance it leaves as a drag that carries its names.
        const QPoint past = chips.at(1).center() + QPoint(QApplication::startDragDistance() + 1, 0);
        QMouseEvent move(QEvent::MouseMove, past, viewport.mapToGlobal(past), Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(&viewport, &move);
        const QDrag *drag = viewport.findChild<QDrag *>();
        QVERIFY(drag);
        QCOMPARE(drag->mimeData()->data(chipPayloadMimeType()),
            colorPayloadText(FromForesight, QColor(10, 20, 60), "Name 2", "").toUtf8());
        press(&viewport, QEvent::MouseButtonRelease, chips.at(1).center());
        QCOMPARE(viewport.dragColor(), QColor(Qt::transparent));

        // The icon closes the group, a new page of the collection remembers it, a closed group's chips are not hit.
        press(&viewport, QEvent::MouseButtonPress, viewport.iconSquare(2).center());
        QVERIFY(!viewport.isGroupOpen(2));
        QVERIFY(viewport.chipRects(2).isEmpty());
        press(&viewport, QEvent::MouseButtonPress, chips.at(0).center());
        QCOMPARE(viewport.dragColor(), QColor(Qt::transparent));
        ColorForesightViewport again;
        again.loadGroups(kGroups);
        QVERIFY(!again.isGroupOpen(2));
        // Without groups it keeps its minimum size.
        again.setMinimumSize(200, 120);
        again.loadGroups(QUuid::createUuid());
        again.resize(200, 300);
        again.layoutGroups();
        QCOMPARE(again.size(), QSize(200, 120));
    }

    // Outside 0..1 the tint arithmetic wraps; too many pixels once decoded must not be allocated.
    void tintAlphaAndImageLimits()
    {
        // m = trunc(T a + p (1 - a)); out = p m >> 8: alpha 0 squares the shading, 0.5 mixes, 1 multiplies the tint.
        const std::tuple<QColor, QColor, double, QColor> rows[]
            = { { QColor(200, 100, 16), QColor(255, 0, 0), 0.0, QColor(156, 39, 1) },
                  { QColor(100, 200, 255), QColor(255, 0, 64), 0.5, QColor(69, 78, 158) },
                  { QColor(128, 255, 255), QColor(64, 255, 0), 1.0, QColor(32, 254, 0) } };
        for (const auto &[texture, tint, alpha, expected] : rows) {
            QImage image(2, 1, QImage::Format_RGB32);
            image.fill(texture);
            QCOMPARE(TexturesViewport::tintedImage(image, tint, alpha).pixelColor(1, 0), expected);
        }
        QSqlRecord record;
        record.append(QSqlField("ALPHA", QMetaType(QMetaType::Double)));
        for (const auto &[stored, alpha] : { std::pair { -0.5, 0.0 }, { 1.7, 1.0 }, { std::nan(""), 0.0 } }) {
            record.setValue(0, stored);
            QCOMPARE(DB::TextureMapEntry(record).alpha, alpha);
        }
        QVERIFY(!DB::decodeImage(FixtureDatabase::png(QSize(4, 4), Qt::gray)).isNull());
        QVERIFY(DB::decodeImage(FixtureDatabase::png(QSize(8200, 2050), Qt::gray)).isNull());
        QVERIFY(DB::decodeImage(QByteArray("not an image")).isNull());
    }

    void texturesTilesAndTint()
    {
        UserState::setLastUsedCollection(kGroups);
        UserState::setPageIndex(kGroups, 1);
        UserState::setRowIndex(kGroups, 0);
        TexturesViewport viewport;
        viewport.loadTextures(kGroups);
        viewport.resize(3 * kTile.width() + 2 * 7, 10);
        viewport.layoutTiles();
        const QVector<TexturesViewport::Tile> tiles = viewport.tiles();
        QCOMPARE(tiles.size(), 4);
        // Three flush columns, the fourth tile starts the next row.
        QCOMPARE(tiles.at(2).rect.right(), viewport.width() - 1);
        QCOMPARE(tiles.at(3).rect.left(), 0);
        QVERIFY(tiles.at(3).rect.top() > tiles.at(0).rect.bottom() + 16);
        QVERIFY(viewport.height() > tiles.at(3).rect.bottom());

        // No selected row: pure red over the texture; a texture that does not decode keeps its tile, undrawn.
        QImage shade(kTile, QImage::Format_RGB32);
        shade.fill(kShade);
        const QPoint inside = tiles.at(0).rect.topLeft() + QPoint(10, 10);
        const QImage painted = viewport.grab().toImage();
        QCOMPARE(painted.pixelColor(inside), TexturesViewport::tintedImage(shade, Qt::red, 0.5).pixelColor(10, 10));
        QVERIFY(painted.pixelColor(tiles.at(3).rect.center()) != painted.pixelColor(tiles.at(0).rect.center()));
        // One tinted image serves every tile of the texture until the chip changes.
        viewport.grab();
        QCOMPARE(viewport.cachedTintCount(), 1);
        UserState::setRowIndex(kGroups, 1);
        QCOMPARE(viewport.grab().toImage().pixelColor(inside),
            TexturesViewport::tintedImage(shade, QColor(40, 120, 200), 0.5).pixelColor(10, 10));
        QCOMPARE(viewport.cachedTintCount(), 1);
        // A page without textures shows only the caption.
        UserState::setLastUsedCollection(kEmpty);
        viewport.loadTextures(kEmpty);
        viewport.layoutTiles();
        QVERIFY(viewport.tiles().isEmpty());
        QVERIFY(viewport.height() > 60);
    }

    // Hidden tabs are filled when shown, with the collection current then, not the one they were made under.
    void hiddenTabsAreFilledWhenShown()
    {
        UserState::setLastUsedCollection(kGroups);
        UserState::setPageIndex(kGroups, 1);
        QWidget window;
        window.resize(400, 240);
        ColorForesightWidget foresight(&window);
        TexturesWidget textures(&window);
        for (QWidget *tab : { static_cast<QWidget *>(&foresight), static_cast<QWidget *>(&textures) })
            tab->setGeometry(0, 0, 400, 226);
        window.show();
        QCOMPARE(foresight.foresightViewport()->groupOrder(), (QList<qint64> { 2, 1, 3 }));
        QCOMPARE(textures.texturesViewport()->tiles().size(), 4);
        foresight.hide();
        textures.hide();
        UserState::setLastUsedCollection(kEmpty);
        foresight.selectedCollectionChanged(kEmpty);
        textures.selectedCollectionChanged(kEmpty);
        foresight.show();
        textures.show();
        QCOMPARE(foresight.foresightViewport()->groupOrder(), (QList<qint64> { 2 }));
        QVERIFY(textures.texturesViewport()->tiles().isEmpty());
    }

    // A shared group names chips of every collection of its file: Return hands on the collection holding the card.
    void foresightReturnChoosesTheChipUnderItsOwnCollection()
    {
        const qint64 products = DB::collectionDatabaseId(kProducts);
        const qint64 rowId = m_file->addRow(products, m_file->addPage(products, { 2, 1 }), { 1, "P-9", QColor(1, 2, 3) });
        QVERIFY(m_file->exec("UPDATE FORESIGHT_ENTRY SET ROW_ID = ? WHERE NAME_1 = 'Name 3'", { rowId }));
        ColorForesightViewport viewport;
        viewport.loadGroups(kGroups);
        viewport.resize(300, 300);
        viewport.layoutGroups();
        QStringList chosen;
        connect(&viewport, &ColorForesightViewport::chipChosenInteractively, &viewport,
            [&chosen](QUuid collection, DB::ColorEntry chip) { chosen << collection.toString() + chip.code; });
        for (const int key : { Qt::Key_Right, Qt::Key_Return, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return })
            viewport.handleKey(key);
        QCOMPARE(chosen, QStringList { kProducts.toString() + "P-9" });
    }

private:
    std::unique_ptr<FixtureDatabase> m_file;
};

HUELINK_TEST_MAIN(CatalogTabsTest)
#include "CatalogTabsTest.moc"
