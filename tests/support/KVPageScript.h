#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>

// Runs a script in the page and waits, up to ten seconds, for its result: an invalid value when
// none came in time.
inline QVariant kvRunScript(QWebEnginePage *pPage, const QString &strScript)
{
    QVariant result;
    bool bDone = false;
    pPage->runJavaScript(strScript, [&](const QVariant &v) {
        result = v;
        bDone = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!bDone && timer.elapsed() < 10000)
        QTest::qWait(5);
    return result;
}
