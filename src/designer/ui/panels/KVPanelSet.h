#pragma once

#include "KVDocumentPanel.h"
#include "KVElementsPanel.h"
#include "KVResourcePanel.h"
#include "KVScenesPanel.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class ActionManager;
class QWidget;

// The panels of the side docks ("Scenes", "Document", "Elements", "Resources"): puts each into the
// content widget of its dock, lets them follow the active editor, and carries out the catalogue
// actions that act through them (Blank Scene, Duplicate Scene, Rename).
class KVPanelSet : public QObject
{
    Q_OBJECT
public:
    explicit KVPanelSet(QObject *pParent = nullptr);

    // Whether a dock of that object name gets a panel of this set.
    static bool holds(const char *pszDockName);
    // Fills the dock's content widget with its panel.
    void install(const char *pszDockName, QWidget *pContent);
    // Connects the actions this set carries out; returns their ids.
    QStringList connectActions(ActionManager *pActions);

    KVScenesPanel *scenesPanel() const { return m_pScenes; }
    KVDocumentPanel *documentPanel() const { return m_pDocument; }
    KVElementsPanel *elementsPanel() const { return m_pElements; }
    KVResourcePanel *resourcePanel() const { return m_pResources; }

private:
    // Rename acts in the panel that has the focus, else in the elements panel.
    void rename();

    QPointer<KVScenesPanel> m_pScenes;
    QPointer<KVDocumentPanel> m_pDocument;
    QPointer<KVElementsPanel> m_pElements;
    QPointer<KVResourcePanel> m_pResources;
};
