#pragma once

#include <QImage>
#include <QString>
#include <QUuid>

namespace Tintor::DB {

// Decoded theme images for the life of the process, so that a host call
// after the first decodes nothing: every widget asks for its pictures on
// each call, the main background several times. Kept per collection file
// and dropped when that file's content changes (QuerySupport::ContentStamp);
// a connection opened anew, as each host call does, keeps them. A QImage
// needs no application object, so the images outlive the one each host
// call builds.
class ThemeImageCache
{
public:
    // No theme image is drawn larger than this: the window is 800 x 600.
    static constexpr qint64 kMaxThemeImagePixels = 2048LL * 2048LL;

    // The collection's theme image under `key`, decoded; a null image when
    // it is missing, damaged or over a limit (decodeImage), and also when
    // the images of its file would take more than their decode budget.
    static QImage image(const QUuid &collection, const QString &key);
    // How many decodes the cache has run, for checking that it is used.
    static int decodeCount();
};

} // namespace Tintor::DB
