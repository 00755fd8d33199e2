#pragma once

#include "model/ISingleton.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class IKVCommandTarget;
class KVCommand;

// The queue every editor submits its commands through. Commands reach their document's undo stack
// in the order they were submitted. A command that changes text content (an action of type 1008)
// waits at the head of the queue while a hidden helper page normalises the HTML of each such
// action: the validator hands the page the raw HTML with removeFormat(), the page answers through
// onHtmlProcessed(), and the next text action follows. The commands behind it wait.
//
// The page is made by a factory that the plug-in installs (kavio-core has no web engine). A page
// object with a ready() signal, or with the property "waitsForReady" set, is waited for until it
// signals ready() or calls pageReady(); any other is taken as ready.
// Without a page, and whenever the page does not load or answer within the time limit, the HTML
// stays as it was and the command goes on: the queue never stalls.
class KVTextCommandValidator : public QObject, public ISingleton<KVTextCommandValidator>
{
    Q_OBJECT

public:
    // Makes the helper page, which connects itself to removeFormat() and answers through
    // onHtmlProcessed(); the validator destroys it when the command's text is done. May return null.
    using PageFactory = std::function<QObject *(KVTextCommandValidator *)>;

    KVTextCommandValidator();
    ~KVTextCommandValidator() override;

    void setPageFactory(const PageFactory &factory) { m_pageFactory = factory; }
    // How long one text action waits for the page (ms); 3000 by default.
    int timeLimit() const { return m_nTimeLimit; }
    void setTimeLimit(int nMilliseconds) { m_nTimeLimit = qMax(1, nMilliseconds); }

    // Appends the command (format id -1 unless given) and starts when the queue was empty. A
    // command without actions is destroyed at once.
    void submit(KVCommand *pCommand, int nFormatId = -1);
    int pendingCount() const { return m_listQueue.size(); }
    bool isWaitingForPage() const { return m_bWaiting; }
    // Destroys the queued commands of a document that goes away (none of them is pushed).
    void dropCommandsOf(IKVCommandTarget *pDocument);

signals:
    // The page's task: normalise this HTML.
    void removeFormat(QString strRawHtml, int nFormatId);
    // The command went onto its document's undo stack.
    void commandSubmitted(KVCommand *pCmd);

public slots:
    // The page's answer for the text action it was given.
    void onHtmlProcessed(QString strHtml);
    // Hands the page the next text action of the head command, or submits the command when none is
    // left. Does nothing while an answer is awaited.
    void processNextAction();
    void destroyWebPage();
    // The page has loaded and listens.
    void pageReady();

private:
    struct Entry
    {
        KVCommand *pCommand = nullptr;
        int nFormatId = -1;
    };

    void processQueue();
    void submitHead();
    void onTimeout();

    QList<Entry> m_listQueue;
    PageFactory m_pageFactory;
    QPointer<QObject> m_pPage;
    QTimer m_timer;
    int m_nTimeLimit = 3000;
    // The text actions of the head command and the one being worked on.
    QList<int> m_listTextActions;
    int m_nNext = 0;
    bool m_bBusy = false;
    bool m_bPageLoading = false;
    bool m_bWaiting = false;
    bool m_bProcessing = false;
};
