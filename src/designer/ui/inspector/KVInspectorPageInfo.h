#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class KVElement;
class KVInspector;
class KVInspectorPage;
class KVInspectorPageTitle;
class KVUpdateViewInfo;
class QWidget;

// One page of an inspector: its title and id, whether it applies to the selection, whether an
// update concerns it, and its widget (made the first time the page is shown open). Which fields a
// page has and which updates concern it come from KVFieldSpec.
class KVInspectorPageInfo
{
public:
    KVInspectorPageInfo(int nPageId, const QString &strTitle, KVInspector *pInspector);
    ~KVInspectorPageInfo();

    int pageId() const { return m_nPageId; }
    QString title() const { return m_strTitle; }
    KVInspector *inspector() const { return m_pInspector; }
    KVInspectorPage *page() const;
    KVInspectorPageTitle *titleBar() const { return m_pTitle; }
    void setTitleBar(KVInspectorPageTitle *pTitle) { m_pTitle = pTitle; }

    bool isExpanded() const { return m_bExpanded; }
    void setExpanded(bool b) { m_bExpanded = b; }
    bool isAvailable() const { return m_bAvailable; }
    void setAvailable(bool b) { m_bAvailable = b; }
    bool isDirty() const { return m_bDirty; }
    void setDirty(bool b) { m_bDirty = b; }

    // Whether the page applies to the elements (none selected: to the current scene).
    bool isAvailableFor(const QList<KVElement *> &selection, bool bSceneShown) const;
    // Marks the page dirty when the update concerns it.
    void noteUpdate(const KVUpdateViewInfo &info);
    KVInspectorPage *createPage(QWidget *pParent);

private:
    int m_nPageId;
    QString m_strTitle;
    KVInspector *m_pInspector;
    QPointer<KVInspectorPage> m_pPage;
    KVInspectorPageTitle *m_pTitle = nullptr;
    QList<int> m_updateTypes;
    bool m_bExpanded = false;
    bool m_bAvailable = false;
    bool m_bDirty = true;
};
