#include "ContextManager.h"

#include <QApplication>
#include <QWidget>

ContextManager::ContextManager(QObject *pParent)
    : QObject(pParent)
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget *, QWidget *now) { updateFromWidget(now); });
    }
}

ContextManager::~ContextManager() = default;

void ContextManager::registerContext(QWidget *pWidget, const QString &strContextId, const QString &strName)
{
    if (!pWidget || strContextId.isEmpty())
        return;
    QStringList &list = m_contexts[pWidget];
    if (!list.contains(strContextId))
        list.append(strContextId);
    if (!strName.isEmpty())
        m_names.insert(strContextId, strName);
    connect(pWidget, &QObject::destroyed, this, [this, pWidget] { m_contexts.remove(pWidget); },
            Qt::UniqueConnection);
}

void ContextManager::unregisterContext(QWidget *pWidget, const QString &strContextId)
{
    auto it = m_contexts.find(pWidget);
    if (it == m_contexts.end())
        return;
    it->removeAll(strContextId);
    if (it->isEmpty())
        m_contexts.erase(it);
    if (m_active.contains(strContextId))
        updateFromWidget(QApplication::focusWidget());
}

QStringList ContextManager::contextsOf(QWidget *pWidget) const
{
    return m_contexts.value(pWidget);
}

void ContextManager::updateFromWidget(QWidget *pWidget)
{
    QStringList active;
    for (QWidget *w = pWidget; w; w = w->parentWidget()) {
        for (const QString &c : m_contexts.value(w)) {
            if (!active.contains(c))
                active.append(c);
        }
    }
    if (active == m_active)
        return;
    m_active = active;
    emit contextsChanged(m_active);
}
