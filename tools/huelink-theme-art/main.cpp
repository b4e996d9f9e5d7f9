// huelink-theme-art: renders the demo theme images, the collections' own
// art and the surface textures as PNG files.
//
//   huelink-theme-art --out DIR [--scale FACTOR] [--contact-sheet FILE.png] [--list]

#include "ArtCatalog.h"
#include "ContactSheet.h"
#include "engine/inc/AtomicFileWriter.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextStream>

using namespace Tintor::ThemeArt;

int main(int argc, char *argv[])
{
    // Rendering needs no display; fonts and images only.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("huelink-theme-art"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders the Huelink demo theme art."));
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Folder to write the images into."),
                                       QStringLiteral("folder"));
    const QCommandLineOption scaleOption(QStringLiteral("scale"),
                                         QStringLiteral("Size factor over the designed pixel sizes (default 1)."),
                                         QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption sheetOption(QStringLiteral("contact-sheet"),
                                         QStringLiteral("Also write one PNG showing every piece."),
                                         QStringLiteral("file"));
    const QCommandLineOption listOption(QStringLiteral("list"), QStringLiteral("List the pieces and sizes."));
    parser.addOptions({outOption, scaleOption, sheetOption, listOption});
    parser.process(application);

    QTextStream out(stdout);
    QTextStream err(stderr);
    bool scaleOk = false;
    const double scale = parser.value(scaleOption).toDouble(&scaleOk);
    if (!scaleOk || scale <= 0.0 || scale > 16.0) {
        err << "huelink-theme-art: --scale needs a number above 0 and at most 16\n";
        return 2;
    }
    const QVector<ArtPiece> pieces = artCatalog();
    if (parser.isSet(listOption)) {
        for (const ArtPiece &piece : pieces)
            out << piece.relativePath() << '\t' << piece.size.width() << 'x' << piece.size.height() << '\n';
        return 0;
    }
    if (!parser.isSet(outOption) && !parser.isSet(sheetOption)) {
        err << "huelink-theme-art: give --out, --contact-sheet or --list\n";
        return 2;
    }

    QVector<QImage> images;
    images.reserve(pieces.size());
    for (const ArtPiece &piece : pieces)
        images.push_back(renderPiece(piece, scale));

    if (parser.isSet(outOption)) {
        const QDir root(parser.value(outOption));
        for (int index = 0; index < pieces.size(); ++index) {
            const QString path = root.filePath(pieces[index].relativePath());
            if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
                err << "huelink-theme-art: cannot create the folder of " << path << '\n';
                return 1;
            }
            QString error;
            if (!Tintor::AtomicFileWriter::writeImage(path, images[index], "png", error)) {
                err << "huelink-theme-art: cannot write " << path << ": " << error << '\n';
                return 1;
            }
        }
    }
    if (parser.isSet(sheetOption)) {
        const QString path = parser.value(sheetOption);
        QImage sheet = contactSheet(pieces, images);
        const QImage preview = previewComposition(pieces, images);
        QImage combined(sheet.width(), sheet.height() + preview.height() + 32, QImage::Format_ARGB32);
        combined.fill(QColor(38, 39, 42));
        {
            QPainter painter(&combined);
            painter.drawImage(16, 16, preview);
            painter.drawImage(0, preview.height() + 32, sheet);
        }
        QString error;
        if (!Tintor::AtomicFileWriter::writeImage(path, combined, "png", error)) {
            err << "huelink-theme-art: cannot write " << path << ": " << error << '\n';
            return 1;
        }
    }
    return 0;
}
