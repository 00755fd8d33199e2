#include "canvas/KVTextHelperPage.h"

#include "ICore.h"
#include "commands/KVTextCommandValidator.h"

#include <QUrl>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineSettings>

KVTextHelperPage::KVTextHelperPage(KVTextCommandValidator *pValidator, const QString &strPagePath)
{
    m_pPage = new QWebEnginePage(this);
    m_pChannel = new QWebChannel(this);
    m_pChannel->registerObject(QStringLiteral("kvTextValidator"), pValidator);
    m_pPage->setWebChannel(m_pChannel);
    // The page parses text of received projects: it reads no local file beyond its own.
    m_pPage->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    const QString strPath = strPagePath.isEmpty() ? defaultPagePath() : strPagePath;
    connect(m_pPage, &QWebEnginePage::loadFinished, this, [strPath](bool bOk) {
        if (!bOk)
            qInfo("The text helper page did not load: %s", qPrintable(strPath));
    });
    m_pPage->load(QUrl::fromLocalFile(strPath));
}

KVTextHelperPage::~KVTextHelperPage()
{
    // The validator outlives the page: it leaves the channel before the page goes.
    m_pChannel->deregisterObject(m_pChannel->registeredObjects().value(QStringLiteral("kvTextValidator")));
}

QString KVTextHelperPage::defaultPagePath()
{
    ICore *pCore = ICore::instance();
    return (pCore ? pCore->resourcePath() : QString())
           + QStringLiteral("/resources/helperhtml/kvtexteditorhelper.html");
}

void KVTextHelperPage::install(KVTextCommandValidator *pValidator)
{
    pValidator->setPageFactory([](KVTextCommandValidator *p) { return new KVTextHelperPage(p); });
}
