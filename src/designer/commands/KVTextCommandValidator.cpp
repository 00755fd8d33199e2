#include "commands/KVTextCommandValidator.h"

#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"

namespace {

constexpr int TextActionType = 1008;

} // namespace

KVTextCommandValidator::KVTextCommandValidator()
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &KVTextCommandValidator::onTimeout);
}

KVTextCommandValidator::~KVTextCommandValidator()
{
    destroyWebPage();
    for (const Entry &e : qAsConst(m_listQueue))
        delete e.pCommand;
}

void KVTextCommandValidator::submit(KVCommand *pCommand, int nFormatId)
{
    if (!pCommand)
        return;
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return;
    }
    m_listQueue.append({pCommand, nFormatId});
    if (m_listQueue.size() == 1)
        processQueue();
}

void KVTextCommandValidator::dropCommandsOf(IKVCommandTarget *pDocument)
{
    for (int i = m_listQueue.size() - 1; i >= 0; --i) {
        if (m_listQueue.at(i).pCommand->document() != pDocument)
            continue;
        if (i == 0 && m_bBusy) {
            // The head was waiting for the page: the page's late answer finds nothing to change.
            m_timer.stop();
            m_bBusy = m_bWaiting = m_bPageLoading = false;
            destroyWebPage();
        }
        delete m_listQueue.takeAt(i).pCommand;
    }
    if (!m_bBusy && !m_listQueue.isEmpty())
        processQueue();
}

void KVTextCommandValidator::processQueue()
{
    // Submitting runs the command, whose views may submit again: the loop below takes those too.
    if (m_bProcessing)
        return;
    m_bProcessing = true;
    while (!m_bBusy && !m_listQueue.isEmpty()) {
        KVCommand *pHead = m_listQueue.first().pCommand;
        m_listTextActions.clear();
        const QList<KVCommandAction *> &actions = pHead->actions();
        for (int i = 0; i < actions.size(); ++i) {
            KVCommandAction *pAction = actions.at(i);
            if (pAction->type() == TextActionType && pAction->param(1)
                && pAction->param(1)->kind() == KVCmdParam::String) {
                m_listTextActions.append(i);
            }
        }
        if (m_listTextActions.isEmpty() || !m_pageFactory) {
            submitHead();
            continue;
        }
        m_pPage = m_pageFactory(this);
        if (!m_pPage) {
            submitHead();
            continue;
        }
        m_bBusy = true;
        m_nNext = 0;
        // A page that tells when it has loaded is given the text once it has.
        const bool bHasSignal = m_pPage->metaObject()->indexOfSignal("ready()") >= 0;
        if (bHasSignal || m_pPage->property("waitsForReady").toBool()) {
            m_bPageLoading = true;
            if (bHasSignal)
                connect(m_pPage, SIGNAL(ready()), this, SLOT(pageReady()));
            m_timer.start(m_nTimeLimit);
        } else {
            processNextAction();
        }
    }
    m_bProcessing = false;
}

void KVTextCommandValidator::submitHead()
{
    KVCommand *pCommand = m_listQueue.takeFirst().pCommand;
    if (KVCommand::push(pCommand))
        emit commandSubmitted(pCommand);
}

void KVTextCommandValidator::processNextAction()
{
    if (!m_bBusy || m_bWaiting || m_bPageLoading || m_listQueue.isEmpty())
        return;
    if (m_nNext < m_listTextActions.size()) {
        KVCommandAction *pAction = m_listQueue.first().pCommand->actions().at(m_listTextActions.at(m_nNext));
        m_bWaiting = true;
        m_timer.start(m_nTimeLimit);
        emit removeFormat(pAction->param(1)->toString(), m_listQueue.first().nFormatId);
        return;
    }
    // Every text action is done: the command goes on, the page goes, the queue moves.
    m_bBusy = false;
    destroyWebPage();
    submitHead();
    processQueue();
}

void KVTextCommandValidator::onHtmlProcessed(QString strHtml)
{
    if (!m_bBusy || !m_bWaiting || m_listQueue.isEmpty())
        return;
    m_timer.stop();
    KVCommandAction *pAction = m_listQueue.first().pCommand->actions().at(m_listTextActions.at(m_nNext));
    pAction->param(1)->setValue(strHtml);
    m_bWaiting = false;
    ++m_nNext;
    processNextAction();
}

void KVTextCommandValidator::pageReady()
{
    if (!m_bPageLoading)
        return;
    m_timer.stop();
    m_bPageLoading = false;
    processNextAction();
}

void KVTextCommandValidator::onTimeout()
{
    if (m_bPageLoading) {
        // The page did not load: every text action keeps its HTML.
        qInfo("The text helper page did not load in %d ms; the text is kept as it was", m_nTimeLimit);
        m_bPageLoading = false;
        m_nNext = m_listTextActions.size();
        processNextAction();
        return;
    }
    if (!m_bWaiting)
        return;
    qInfo("The text helper page did not answer in %d ms; the text is kept as it was", m_nTimeLimit);
    m_bWaiting = false;
    ++m_nNext;
    processNextAction();
}

void KVTextCommandValidator::destroyWebPage()
{
    if (m_pPage)
        m_pPage->deleteLater();
    m_pPage = nullptr;
}
