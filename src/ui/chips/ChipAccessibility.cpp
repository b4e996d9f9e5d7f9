#include "ui/chips/ChipAccessibility.h"

#include "db/CollectionLookups.h"
#include "db/CollectionSettings.h"

#include <QAccessible>
#include <QWidget>

#include <climits>
#include <cstdlib>

namespace Tintor {

QString chipAccessibleText(const QUuid &collection, const DB::ColorEntry &chip)
{
    QStringList parts { chip.code };
    const QString name = chipShownName(collection, chip);
    if (!name.isEmpty())
        parts.append(name);
    DB::CollectionPointer record;
    if (DB::collectionByUuid(collection, record) == 0 && record && !record->name.isEmpty())
        parts.append(record->name);
    return parts.join(QStringLiteral(", "));
}

QString chipShownName(const QUuid &collection, const DB::ColorEntry &chip)
{
    const QList<qint64> &order = CollectionSettings::nameOrders(collection).rowNameDisplayOrder;
    const qint64 nameIndex = order.isEmpty() ? -1 : order.first();
    return nameIndex >= 0 && nameIndex <= INT_MAX ? chip.nameAt(int(nameIndex)) : QString();
}

QString localizedTextOr(const QUuid &collection, const QString &key, const QString &fallback)
{
    const QString text = key.isEmpty() ? QString() : DB::localizedString(collection, key);
    return text.isEmpty() || text == key ? fallback : text;
}

void announceKeyFocus(QWidget *view, const QString &text)
{
    if (!view || text.isEmpty())
        return;
    if (view->accessibleDescription() != text)
        view->setAccessibleDescription(text);
    if (!view->hasFocus())
        return;
    QAccessibleEvent event(view, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

int chipInDirection(const QVector<QRect> &chips, int current, int key)
{
    if (chips.isEmpty())
        return -1;
    if (current < 0 || current >= chips.size())
        return 0;
    if (key == Qt::Key_Left)
        return std::max(0, current - 1);
    if (key == Qt::Key_Right)
        return std::min(int(chips.size()) - 1, current + 1);
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return current;
    const QPoint from = chips.at(current).center();
    const bool down = key == Qt::Key_Down;
    int best = current;
    int bestRows = INT_MAX;
    int bestColumns = INT_MAX;
    for (int index = 0; index < chips.size(); ++index) {
        const QRect &chip = chips.at(index);
        const bool beyond = down ? chip.top() > chips.at(current).bottom() : chip.bottom() < chips.at(current).top();
        if (!beyond)
            continue;
        const int rows = std::abs(chip.center().y() - from.y());
        const int columns = std::abs(chip.center().x() - from.x());
        if (rows < bestRows || (rows == bestRows && columns < bestColumns)) {
            best = index;
            bestRows = rows;
            bestColumns = columns;
        }
    }
    return best;
}

} // namespace Tintor
