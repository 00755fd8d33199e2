#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// Dispatches "kavio <verb> [options]" to the verb's handler. Messages go to stderr through the
// reporter; the exit code is 0 on success, 1 when the work failed, 2 for a usage error.
class KVCliApplication
{
public:
    using Handler = std::function<int(const QStringList &arguments)>;

    KVCliApplication();
    ~KVCliApplication();

    int run(const QStringList &arguments);
    void addVerb(const QString &strVerb, const QString &strSummary, const Handler &handler);
    QString helpText() const;

private:
    struct Verb {
        QString summary;
        Handler handler;
    };
    QMap<QString, Verb> m_verbs;
};
