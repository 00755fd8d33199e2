#pragma once

#include <QPointer>
#include <QWebEngineView>

// A web view that can tell when its content has been painted: the scene thumbnails render a page
// and grab it once it shows. The view watches the child widget the engine paints into; while the
// render notification is on, each paint of that child emits webContentRendered(), which then also
// asks for a thumbnail.
class KVWebEngineView : public QWebEngineView
{
    Q_OBJECT
public:
    explicit KVWebEngineView(QWidget *pParent = nullptr);

    bool renderNotification() const { return m_bNotify; }
    void setRenderNotification(bool bOn);

signals:
    void webContentRendered();
    void requestCreateThumbnail();

protected:
    bool event(QEvent *pEvent) override;
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    QPointer<QObject> m_pRenderChild;
    bool m_bNotify = false;
};
