#include "canvas/KVWebEngineView.h"

#include <QChildEvent>
#include <QDebug>

namespace {
const char kRenderWidgetClass[] = "QtWebEngineCore::RenderWidgetHostViewQtDelegateWidget";
}

KVWebEngineView::KVWebEngineView(QWidget *pParent) : QWebEngineView(pParent) {}

void KVWebEngineView::setRenderNotification(bool bOn)
{
    if (bOn == m_bNotify)
        return;
    m_bNotify = bOn;
    if (bOn)
        connect(this, &KVWebEngineView::webContentRendered, this, &KVWebEngineView::requestCreateThumbnail);
    else
        disconnect(this, &KVWebEngineView::webContentRendered, this, &KVWebEngineView::requestCreateThumbnail);
}

bool KVWebEngineView::event(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::ChildPolished || pEvent->type() == QEvent::ChildAdded) {
        auto *pChildEvent = static_cast<QChildEvent *>(pEvent);
        QObject *pChild = pChildEvent->child();
        if (!pChild) {
            qDebug("KVWebEngineView: Cannot get child object to install eventFilter...");
        } else if (pChild != m_pRenderChild && qstrcmp(pChild->metaObject()->className(), kRenderWidgetClass) == 0) {
            m_pRenderChild = pChild;
            pChild->installEventFilter(this);
        }
    }
    return QWebEngineView::event(pEvent);
}

bool KVWebEngineView::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (m_bNotify && pWatched == m_pRenderChild && pEvent->type() == QEvent::Paint)
        emit webContentRendered();
    return QWebEngineView::eventFilter(pWatched, pEvent);
}
