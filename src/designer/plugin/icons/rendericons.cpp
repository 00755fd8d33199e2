// Renders the designer's toolbar and menu icons at build time: each name of the icon map is drawn
// from its outline SVG (Tabler Icons) at the sizes the icon provider loads, in a normal and a
// disabled colour, and listed in a resource file for rcc.
//
//   kavio-rendericons MAP.json SVG_FOLDER OUT_FOLDER
//
// writes OUT_FOLDER/images/<name>.png (24 px), <name>_16.png, <name>_24.png, each with a "_d"
// disabled twin, and OUT_FOLDER/designer-icons.qrc.
#include <QFile>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

namespace {
const char *const kNormal = "#34414b";
const char *const kDisabled = "#a9b1b7";

int fail(const QString &strMessage)
{
    std::fprintf(stderr, "kavio-rendericons: %s\n", qPrintable(strMessage));
    return 1;
}

// The outline drawn in one colour; small sizes get a slightly heavier line so that it stays
// legible at 16 px.
QImage render(const QByteArray &svg, int nSize, const char *pszColour)
{
    QByteArray data = svg;
    data.replace("currentColor", pszColour);
    data.replace("stroke-width=\"2\"", nSize <= 16 ? "stroke-width=\"2\"" : "stroke-width=\"1.75\"");
    QSvgRenderer renderer(data);
    QImage image(nSize, nSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!renderer.isValid())
        return QImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, nSize, nSize));
    return image;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return fail(QStringLiteral("usage: kavio-rendericons MAP.json SVG_FOLDER OUT_FOLDER"));
    QFile mapFile(args.at(1));
    if (!mapFile.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1").arg(args.at(1)));
    const QJsonObject map = QJsonDocument::fromJson(mapFile.readAll()).object();
    if (map.isEmpty())
        return fail(QStringLiteral("%1 holds no icon names").arg(args.at(1)));
    const QDir svgFolder(args.at(2));
    const QDir out(args.at(3));
    if (!out.mkpath(QStringLiteral("images")))
        return fail(QStringLiteral("cannot make %1/images").arg(out.path()));

    QStringList files;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const QString strSvg = svgFolder.filePath(it.value().toString() + QStringLiteral(".svg"));
        QFile svgFile(strSvg);
        if (!svgFile.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("no icon %1 for \"%2\" (is web/node_modules installed?)").arg(strSvg, it.key()));
        const QByteArray svg = svgFile.readAll();
        // The plain name is the 24 px icon; "_16" and "_24" are the sizes asked for by size code.
        const QList<QPair<QString, int>> sizes = {{QString(), 24}, {QStringLiteral("_16"), 16}, {QStringLiteral("_24"), 24}};
        for (const auto &size : sizes) {
            for (const bool bDisabled : {false, true}) {
                const QString strFile = QStringLiteral("images/%1%2%3.png")
                                            .arg(it.key(), size.first, bDisabled ? QStringLiteral("_d") : QString());
                const QImage image = render(svg, size.second, bDisabled ? kDisabled : kNormal);
                if (image.isNull() || !image.save(out.filePath(strFile)))
                    return fail(QStringLiteral("cannot draw %1 into %2").arg(strSvg, out.filePath(strFile)));
                files << strFile;
            }
        }
    }
    QFile qrc(out.filePath(QStringLiteral("designer-icons.qrc")));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("cannot write %1").arg(qrc.fileName()));
    QTextStream stream(&qrc);
    stream << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/designer\">\n";
    files.sort();
    for (const QString &strFile : qAsConst(files))
        stream << "    <file>" << strFile << "</file>\n";
    stream << "</qresource>\n</RCC>\n";
    return 0;
}
