// kavio: the headless command-line tool. Each verb is a KVCliCommand; "kavio --help" lists them.
#include "KVCliApplication.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kavio"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVIO_VERSION));
    KVCliApplication cli;
    return cli.run(QCoreApplication::arguments());
}
