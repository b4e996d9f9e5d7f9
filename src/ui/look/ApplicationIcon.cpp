#include "ui/look/ApplicationIcon.h"

namespace Tintor {

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/image/ui/icon_%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace Tintor
