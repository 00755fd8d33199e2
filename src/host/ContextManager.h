#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

// Widgets register the contexts they stand for ("Canvas", "Timeline", ...). The active contexts
// are those of the focus widget and its ancestors; actions bound to a context follow them.
class ContextManager : public QObject
{
    Q_OBJECT
public:
    explicit ContextManager(QObject *pParent = nullptr);
    ~ContextManager() override;

    void registerContext(QWidget *pWidget, const QString &strContextId, const QString &strName = QString());
    void unregisterContext(QWidget *pWidget, const QString &strContextId);
    QStringList contextsOf(QWidget *pWidget) const;
    QString contextName(const QString &strContextId) const { return m_names.value(strContextId); }

    QStringList activeContexts() const { return m_active; }
    // Recomputes the active contexts from the given widget (the focus widget normally).
    void updateFromWidget(QWidget *pWidget);

signals:
    void contextsChanged(const QStringList &activeContexts);

private:
    QHash<QWidget *, QStringList> m_contexts;
    QHash<QString, QString> m_names;
    QStringList m_active;
};
