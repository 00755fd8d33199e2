#include "ActionManager.h"

#include "ActionContainer.h"
#include "ContextAction.h"
#include "ContextManager.h"
#include "PluginManager.h"

#include <QAction>
#include <QMenu>
#include <QSettings>

namespace {
const QString kGroup = QStringLiteral("Shortcuts");
}

ActionManager::ActionManager(ContextManager *pContextManager, QObject *pParent)
    : QObject(pParent)
    , m_pContextManager(pContextManager)
{
    if (m_pContextManager)
        connect(m_pContextManager, &ContextManager::contextsChanged, this, &ActionManager::updateContexts);
}

ActionManager::~ActionManager()
{
    qDeleteAll(m_containers);
}

ContextAction *ActionManager::registerAction(QAction *pAction, const QString &strId, const QString &strContext)
{
    if (!pAction || strId.isEmpty())
        return nullptr;
    unregisterAction(strId);
    auto *ca = new ContextAction(strId, pAction, strContext, this);
    pAction->setObjectName(strId);
    m_actions.insert(strId, ca);
    m_order.append(strId);
    if (m_pContextManager)
        ca->updateForContexts(m_pContextManager->activeContexts());
    return ca;
}

void ActionManager::unregisterAction(const QString &strId)
{
    if (ContextAction *ca = m_actions.take(strId)) {
        m_order.removeAll(strId);
        delete ca;
    }
}

QAction *ActionManager::getAction(const QString &strId) const
{
    ContextAction *ca = m_actions.value(strId);
    return ca ? ca->action() : nullptr;
}

ContextAction *ActionManager::getContextAction(const QString &strId) const
{
    return m_actions.value(strId);
}

QList<ContextAction *> ActionManager::getActions() const
{
    QList<ContextAction *> out;
    for (const QString &id : m_order)
        out << m_actions.value(id);
    return out;
}

ActionContainer *ActionManager::createMenuContainer(const QString &strId, const QString &strTitle)
{
    if (ActionContainer *existing = m_containers.value(strId))
        return existing;
    auto *menu = new QMenu(strTitle);
    menu->setObjectName(strId);
    auto *container = new ActionContainer(strId, menu);
    connect(container, &QObject::destroyed, menu, &QObject::deleteLater);
    m_containers.insert(strId, container);
    return container;
}

ActionContainer *ActionManager::createMenuBarContainer(const QString &strId, QMenuBar *pMenuBar)
{
    if (ActionContainer *existing = m_containers.value(strId))
        return existing;
    auto *container = new ActionContainer(strId, pMenuBar);
    m_containers.insert(strId, container);
    return container;
}

ActionContainer *ActionManager::getActionContainer(const QString &strId) const
{
    return m_containers.value(strId);
}

void ActionManager::readFromSettings(QSettings *pSettings)
{
    QSettings *s = pSettings ? pSettings : ExtensionSystem::PluginManager::settings();
    s->beginGroup(kGroup);
    for (ContextAction *ca : qAsConst(m_actions)) {
        if (!s->contains(ca->id()))
            continue;
        // A saved list the user emptied means "no shortcut"; keys that do not parse are dropped,
        // and when nothing valid is left the default stays.
        const QStringList texts = s->value(ca->id()).toStringList();
        QList<QKeySequence> keys;
        bool bGarbled = false;
        for (const QString &text : texts) {
            if (text.isEmpty())
                continue;
            const QKeySequence key = QKeySequence::fromString(text, QKeySequence::PortableText);
            if (key.isEmpty() || (key[0] & ~Qt::KeyboardModifierMask) == Qt::Key_unknown)
                bGarbled = true;
            else
                keys << key;
        }
        if (!keys.isEmpty() || !bGarbled)
            ca->setShortcuts(keys);
    }
    s->endGroup();
}

void ActionManager::saveSettings(QSettings *pSettings) const
{
    QSettings *s = pSettings ? pSettings : ExtensionSystem::PluginManager::settings();
    s->beginGroup(kGroup);
    for (ContextAction *ca : m_actions) {
        if (ca->isDefault()) {
            s->remove(ca->id());
            continue;
        }
        QStringList texts;
        for (const QKeySequence &key : ca->shortcuts())
            texts << key.toString(QKeySequence::PortableText);
        s->setValue(ca->id(), texts);
    }
    s->endGroup();
    s->sync();
}

void ActionManager::resetToDefault()
{
    for (ContextAction *ca : qAsConst(m_actions))
        ca->resetToDefault();
}

void ActionManager::updateContexts(const QStringList &active)
{
    for (ContextAction *ca : qAsConst(m_actions))
        ca->updateForContexts(active);
}
