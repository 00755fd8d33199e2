#include "KVSceneThumbnailRenderer.h"

#include "canvas/KVResourceSchemeHandler.h"
#include "document/KVDocument.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVCanvasSceneData.h"
#include "output/KVSymbolResources.h"

#include "ICore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
// How often the page is asked whether it has drawn, and for how long at most (ms).
constexpr int kPollMs = 20;
constexpr int kTimeoutMs = 10000;
// The drawn page reaches the view a few frames after the page has drawn it (ms).
constexpr int kFrameDelayMs = 60;
} // namespace

KVSceneThumbnailRenderer::KVSceneThumbnailRenderer(QObject *pParent)
    : QObject(pParent)
    , m_pPoll(new QTimer(this))
{
    m_pPoll->setInterval(kPollMs);
    connect(m_pPoll, &QTimer::timeout, this, &KVSceneThumbnailRenderer::poll);
}

void KVSceneThumbnailRenderer::startView()
{
    // The web engine starts with the first thumbnail asked for, not with the application (which
    // may run without a display, to print its version).
    if (m_pView)
        return;
    m_pView = new QWebEngineView;
    // A profile of its own, so that "resource://" reaches the drawn project's folder.
    auto *pProfile = new QWebEngineProfile(m_pView);
    auto *pHandler = new KVResourceSchemeHandler(
        [this] { return m_pDocument ? m_pDocument->resourceFolderPath() : QString(); }, m_pView);
    pProfile->installUrlSchemeHandler(KVResourceSchemeHandler::schemeName(), pHandler);
    auto *pPage = new QWebEnginePage(pProfile, m_pView);
    m_pView->setPage(pPage);
    pPage->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    pPage->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    // The page draws only while its view counts as shown: a frameless window far outside the screen.
    m_pView->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    m_pView->setAttribute(Qt::WA_ShowWithoutActivating);
    m_pView->resize(boxSize());
    m_pView->move(-10000, -10000);
    m_pView->show();
    connect(m_pView, &QWebEngineView::loadFinished, this, [this](bool bOk) {
        m_bLoaded = bOk;
        next();
    });
    connect(pPage, &QWebEnginePage::renderProcessTerminated, this, [this] {
        // The scene being drawn goes first once the page is back.
        m_bLoaded = false;
        if (m_pCurrent)
            m_queue.prepend(m_pCurrent);
        m_pCurrent = nullptr;
        m_pPoll->stop();
        m_pView->reload();
    });
    ICore *pCore = ICore::instance();
    const QUrl url = QUrl::fromLocalFile((pCore ? pCore->resourcePath() : QString())
                                         + QStringLiteral("/resources/canvas/kvthumbnail.html"));
    qDebug().noquote() << "Thumbnail WebView URL:" << url.toString();
    m_pView->load(url);
}

KVSceneThumbnailRenderer::~KVSceneThumbnailRenderer()
{
    delete m_pView;
}

void KVSceneThumbnailRenderer::setDocument(KVDocument *pDocument)
{
    if (pDocument == m_pDocument)
        return;
    m_pDocument = pDocument;
    m_queue.clear();
    m_pCurrent = nullptr;
    m_pPoll->stop();
}

void KVSceneThumbnailRenderer::request(KVScene *pScene)
{
    if (!pScene || m_queue.contains(pScene))
        return;
    m_queue.enqueue(pScene);
    startView();
    if (!m_pCurrent)
        QTimer::singleShot(0, this, &KVSceneThumbnailRenderer::next);
}

void KVSceneThumbnailRenderer::next()
{
    if (m_pCurrent || !m_bLoaded || !m_pDocument)
        return;
    while (!m_queue.isEmpty() && !m_pCurrent) {
        KVScene *pScene = m_queue.dequeue();
        if (pScene && m_pDocument->sceneList()->indexOf(pScene) >= 0)
            m_pCurrent = pScene;
    }
    if (!m_pCurrent)
        return;
    KVSymbolResources symbols;
    symbols.load(m_pDocument->resourceManager(), m_pDocument.data());
    KVCanvasSceneData::ViewFlags flags;
    flags.strOutputCss = m_pDocument->settings().m_strCssDoc;
    const QString strData = KVCanvasSceneData::buildText(*m_pDocument, m_pCurrent, m_pDocument->resourceManager(),
                                                         flags, symbols.writer());
    // The scale that fits the stage into the box, keeping its proportions.
    const QSize box = boxSize();
    const double dW = qMax(1, m_pDocument->width());
    const double dH = qMax(1, m_pDocument->height());
    const double dScale = qMin(box.width() / dW, box.height() / dH);
    m_size = QSize(qMax(1, int(dW * dScale)), qMax(1, int(dH * dScale)));
    m_pView->resize(m_size);
    ++m_nRequest;
    m_nPolls = 0;
    // The data as a script string literal.
    QString strQuoted = QString::fromUtf8(QJsonDocument(QJsonArray{strData}).toJson(QJsonDocument::Compact));
    strQuoted = strQuoted.mid(1, strQuoted.size() - 2);
    m_pView->page()->runJavaScript(QStringLiteral("window.kvThumbnail && window.kvThumbnail.render(%1, %2, %3)")
                                       .arg(strQuoted)
                                       .arg(m_nRequest)
                                       .arg(dScale));
    m_pPoll->start();
}

void KVSceneThumbnailRenderer::poll()
{
    const int nRequest = m_nRequest;
    m_pView->page()->runJavaScript(QStringLiteral("window.kvThumbnail ? window.kvThumbnail.done : -1"),
                                   [this, nRequest](const QVariant &done) {
        if (nRequest != m_nRequest || !m_pCurrent || !m_pPoll->isActive())
            return;
        if (done.toInt() != nRequest && ++m_nPolls * kPollMs < kTimeoutMs)
            return;
        m_pPoll->stop();
        QTimer::singleShot(kFrameDelayMs, this, [this, nRequest] {
            if (nRequest != m_nRequest || !m_pCurrent)
                return;
            KVScene *pScene = m_pCurrent;
            m_pCurrent = nullptr;
            const QPixmap pixmap = m_pView->grab();
            emit thumbnailReady(pScene, pixmap);
            next();
        });
    });
}
