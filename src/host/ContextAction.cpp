#include "ContextAction.h"

#include <QAction>

ContextAction::ContextAction(const QString &strId, QAction *pAction, const QString &strContext, QObject *pParent)
    : QObject(pParent)
    , m_strId(strId)
    , m_pAction(pAction)
    , m_strContext(strContext)
{
    if (m_pAction)
        m_defaultShortcuts = m_pAction->shortcuts();
}

QString ContextAction::description() const
{
    if (!m_strDescription.isEmpty())
        return m_strDescription;
    return m_pAction ? m_pAction->text().remove(QLatin1Char('&')) : QString();
}

void ContextAction::setDefaultShortcuts(const QList<QKeySequence> &shortcuts)
{
    m_defaultShortcuts = shortcuts;
    setShortcuts(shortcuts);
}

QList<QKeySequence> ContextAction::shortcuts() const
{
    return m_pAction ? m_pAction->shortcuts() : QList<QKeySequence>();
}

void ContextAction::setShortcuts(const QList<QKeySequence> &shortcuts)
{
    if (m_pAction)
        m_pAction->setShortcuts(shortcuts);
}

void ContextAction::updateForContexts(const QStringList &activeContexts)
{
    if (!m_pAction || m_strContext.isEmpty())
        return;
    m_pAction->setEnabled(activeContexts.contains(m_strContext));
}
