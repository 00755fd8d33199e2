// Writes Qt's own qwebchannel.js, which the toolkit ships only inside its WebChannel library's
// resources, to the file given on the command line. The canvas page loads it beside its script.
// Usage: kavio-qwebchanneljs OUTPUT
#include <QCoreApplication>
#include <QFile>
#include <QWebChannel>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: kavio-qwebchanneljs OUTPUT\n");
        return 2;
    }
    // Using the library makes sure its resources are registered.
    QWebChannel channel;
    QFile in(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kavio-qwebchanneljs: the toolkit holds no qwebchannel.js\n");
        return 1;
    }
    const QByteArray text = in.readAll();
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(text) != text.size()) {
        std::fprintf(stderr, "kavio-qwebchanneljs: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
