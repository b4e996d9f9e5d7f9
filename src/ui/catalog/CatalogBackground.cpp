#include "ui/catalog/CatalogBackground.h"

#include "ui/chips/MainWidgetAccess.h"
#include "ui/look/Theme.h"

#include <QWidget>

namespace Tintor {

QImage mainBackgroundUnder(const QWidget *widget, const QRect &rect)
{
    MainWidgetAccess *access = currentMainWidget();
    const QWidget *main = access ? access->mainWidgetItself() : nullptr;
    if (!main || (widget != main && !main->isAncestorOf(widget)))
        main = widget->window();
    QImage background = main->palette().brush(QPalette::Window).textureImage();
    if (background.isNull() || background.size() != main->size())
        background = themeImage(ThemeItem::MainBackground, main->size());
    const QRect mapped(widget->mapTo(main, rect.topLeft()), rect.size());
    return background.copy(mapped);
}

} // namespace Tintor
