#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

#include <QAction>

// An action known by a string id, with its description, its default shortcuts and the context
// (a string id; empty = always) in which it is enabled.
class ContextAction : public QObject
{
    Q_OBJECT
public:
    ContextAction(const QString &strId, QAction *pAction, const QString &strContext, QObject *pParent = nullptr);

    QString id() const { return m_strId; }
    QAction *action() const { return m_pAction; }
    QString context() const { return m_strContext; }

    QString description() const;
    void setDescription(const QString &strDescription) { m_strDescription = strDescription; }

    QList<QKeySequence> defaultShortcuts() const { return m_defaultShortcuts; }
    void setDefaultShortcuts(const QList<QKeySequence> &shortcuts);
    QList<QKeySequence> shortcuts() const;
    void setShortcuts(const QList<QKeySequence> &shortcuts);
    bool isDefault() const { return shortcuts() == m_defaultShortcuts; }
    void resetToDefault() { setShortcuts(m_defaultShortcuts); }

    // Called by the context manager when the active contexts change.
    void updateForContexts(const QStringList &activeContexts);

private:
    QString m_strId;
    QPointer<QAction> m_pAction;
    QString m_strContext;
    QString m_strDescription;
    QList<QKeySequence> m_defaultShortcuts;
};
