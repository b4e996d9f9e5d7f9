#include "formats/SwatchFile.h"

#include "formats/AcoFormat.h"
#include "formats/AseFormat.h"
#include "formats/CssFormat.h"
#include "formats/GplFormat.h"
#include "formats/SwatchLimits.h"

#include <QFile>
#include <QFileInfo>

namespace Tintor {

namespace {

SwatchReadResult refused(const QString &error)
{
    SwatchReadResult result;
    result.error = error;
    return result;
}

} // namespace

SwatchReadResult SwatchFile::read(const QString &path)
{
    const QFileInfo info(path);
    // Checked before opening: opening a FIFO would wait for a writer.
    if (!info.exists())
        return refused(QStringLiteral("the file does not exist"));
    if (info.isDir())
        return refused(QStringLiteral("this is a folder, not a swatch file"));
    if (!info.isFile())
        return refused(QStringLiteral("this is not a regular file"));
    if (info.size() > kMaximumSwatchFileBytes)
        return refused(QStringLiteral("the file is larger than %1 MB").arg(kMaximumSwatchFileBytes / (1024 * 1024)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("the file cannot be read: %1").arg(file.errorString()));
    // Read one byte past the limit: a file that grew since the check is
    // caught without reading all of it.
    const QByteArray bytes = file.read(kMaximumSwatchFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return refused(QStringLiteral("the file cannot be read: %1").arg(file.errorString()));
    if (bytes.size() > kMaximumSwatchFileBytes)
        return refused(QStringLiteral("the file is larger than %1 MB").arg(kMaximumSwatchFileBytes / (1024 * 1024)));
    return parse(bytes, info.fileName());
}

SwatchReadResult SwatchFile::parse(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.isEmpty())
        return refused(QStringLiteral("the file is empty"));
    if (bytes.size() > kMaximumSwatchFileBytes)
        return refused(QStringLiteral("the file is larger than %1 MB").arg(kMaximumSwatchFileBytes / (1024 * 1024)));
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    SwatchReadResult result;
    bool read = false;
    QByteArray start = bytes.left(16);
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    if (bytes.startsWith("ASEF")) {
        result.formatName = QStringLiteral("swatch exchange");
        read = AseFormat::read(bytes, result.colors, result.error);
    } else if (start.startsWith("GIMP Palette")) {
        result.formatName = QStringLiteral("palette text");
        read = GplFormat::read(bytes, result.colors, result.error);
    } else if (suffix == QLatin1String("aco")) {
        result.formatName = QStringLiteral("swatch");
        read = AcoFormat::read(bytes, result.colors, result.error);
    } else if (suffix == QLatin1String("css")) {
        result.formatName = QStringLiteral("style sheet");
        read = CssFormat::read(bytes, result.colors, result.error);
    } else if (suffix == QLatin1String("ase") || suffix == QLatin1String("gpl")) {
        return refused(QStringLiteral("the file's contents do not match its .%1 extension").arg(suffix));
    } else {
        return refused(QStringLiteral("not a swatch file this program reads (.ase, .aco, .gpl or .css)"));
    }
    if (!read) {
        result.colors.clear();
        if (result.error.isEmpty())
            result.error = QStringLiteral("the file cannot be read");
        return result;
    }
    if (result.colors.isEmpty())
        result.error = QStringLiteral("the file holds no colour");
    return result;
}

} // namespace Tintor
