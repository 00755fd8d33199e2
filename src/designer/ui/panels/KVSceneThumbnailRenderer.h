#pragma once

#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QQueue>

class KVDocument;
class KVScene;
class QTimer;
class QWebEngineView;

// Draws scene thumbnails off screen: a hidden web view loads the thumbnail page, which draws a
// scene with the player's own modules as the stage does; the view's picture then becomes the
// thumbnail. Scenes are drawn one at a time in the order they were asked for; a scene asked for
// again while it waits keeps its place. A crashed page is loaded again and the queue goes on.
class KVSceneThumbnailRenderer : public QObject
{
    Q_OBJECT
public:
    explicit KVSceneThumbnailRenderer(QObject *pParent = nullptr);
    ~KVSceneThumbnailRenderer() override;

    // The box thumbnails fit in, keeping the stage's proportions.
    static QSize boxSize() { return QSize(96, 72); }
    // The document whose scenes are drawn; another one empties the queue.
    void setDocument(KVDocument *pDocument);
    // Queues the scene (drawn again when it was drawn before).
    void request(KVScene *pScene);
    bool isIdle() const { return !m_pCurrent && m_queue.isEmpty(); }

signals:
    void thumbnailReady(KVScene *pScene, const QPixmap &pixmap);

private:
    void startView();
    void next();
    void poll();

    QWebEngineView *m_pView = nullptr;
    QTimer *m_pPoll;
    QPointer<KVDocument> m_pDocument;
    QQueue<QPointer<KVScene>> m_queue;
    QPointer<KVScene> m_pCurrent;
    QSize m_size;
    int m_nRequest = 0;
    int m_nPolls = 0;
    bool m_bLoaded = false;
};
