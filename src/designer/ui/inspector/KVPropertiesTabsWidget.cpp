#include "ui/inspector/KVPropertiesTabsWidget.h"

#include "ui/IUi.h"
#include "ui/inspector/KVInspector.h"
#include "ui/inspector/KVInspectorPageInfo.h"

#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
struct PageRow
{
    int nId;
    const char *pszTitle;
};
struct TabRow
{
    const char *pszLabel;
    const char *pszIcon;
    QList<PageRow> pages;
};
} // namespace

KVPropertiesTabsWidget::KVPropertiesTabsWidget(QWidget *pParent)
    : QWidget(pParent)
{
    setObjectName(QStringLiteral("propertiesTabsWidget"));
    setMinimumWidth(300);
    const QList<TabRow> tabs = {
        {QT_TR_NOOP("General"), "general",
         {{3, QT_TR_NOOP("General")}, {14, QT_TR_NOOP("Embedded")}, {7, QT_TR_NOOP("Image")},
          {8, QT_TR_NOOP("Media")}, {9, QT_TR_NOOP("Text")}}},
        {QT_TR_NOOP("Scene"), "scene",
         {{10, QT_TR_NOOP("Scene")}, {18, QT_TR_NOOP("Perspective")}, {12, QT_TR_NOOP("Transition Effects")}}},
        {QT_TR_NOOP("Position & Size"), "position_size",
         {{4, QT_TR_NOOP("Position & Size")}, {5, QT_TR_NOOP("Transform")}}},
        {QT_TR_NOOP("Styles"), "styles", {{6, QT_TR_NOOP("Fill")}, {1, QT_TR_NOOP("Border")}, {13, QT_TR_NOOP("Corner")}}},
        {QT_TR_NOOP("Effects"), "effects", {{16, QT_TR_NOOP("Shadow")}, {17, QT_TR_NOOP("Filter")}, {15, QT_TR_NOOP("Clip")}}},
    };
    auto *pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pTabs = new QTabWidget(this);
    m_pTabs->tabBar()->setObjectName(QStringLiteral("centralTabBar"));
    pLayout->addWidget(m_pTabs);
    for (const TabRow &tab : tabs) {
        auto *pInspector = new KVInspector(m_pTabs);
        pInspector->setObjectName(QStringLiteral("inspector_%1").arg(QLatin1String(tab.pszIcon)));
        for (const PageRow &page : tab.pages)
            pInspector->addPage(page.nId, tr(page.pszTitle));
        pInspector->restoreExpanded();
        QString strLabel = tr(tab.pszLabel);
        // "&" in a tab's text would mark a shortcut.
        const int nIndex = m_pTabs->addTab(pInspector, IUi::getInstance()->icon(QLatin1String(tab.pszIcon)),
                                           QString(strLabel).replace(QLatin1Char('&'), QStringLiteral("&&")));
        m_pTabs->setTabToolTip(nIndex, strLabel);
        m_inspectors.append(pInspector);
        connect(pInspector, &KVInspector::availabilityChanged, this, &KVPropertiesTabsWidget::updateTabs);
    }
    connect(m_pTabs, &QTabWidget::currentChanged, this, &KVPropertiesTabsWidget::onPageChanged);
    updateTabs();
}

KVInspector *KVPropertiesTabsWidget::inspectorOf(int nPageId) const
{
    for (KVInspector *pInspector : m_inspectors) {
        if (pInspector->pageInfo(nPageId))
            return pInspector;
    }
    return nullptr;
}

void KVPropertiesTabsWidget::updateEditorActivated(IEditor *pEditor)
{
    for (KVInspector *p : qAsConst(m_inspectors))
        p->updateEditorActivated(pEditor);
    updateTabs();
}

void KVPropertiesTabsWidget::updateEditorDeactivated(IEditor *pEditor)
{
    for (KVInspector *p : qAsConst(m_inspectors))
        p->updateEditorDeactivated(pEditor);
    updateTabs();
}

void KVPropertiesTabsWidget::handleDocumentLoaded()
{
    for (KVInspector *p : qAsConst(m_inspectors))
        p->handleDocumentLoaded();
    updateTabs();
}

void KVPropertiesTabsWidget::handleDocumentChanged(QObject *pUpdateInfo)
{
    for (KVInspector *p : qAsConst(m_inspectors))
        p->handleDocumentChanged(pUpdateInfo);
    updateTabs();
}

void KVPropertiesTabsWidget::handleDocumentClosing()
{
    for (KVInspector *p : qAsConst(m_inspectors))
        p->handleDocumentClosing();
    updateTabs();
}

void KVPropertiesTabsWidget::onToggleShowHide(bool bShow)
{
    if (!bShow)
        return;
    for (KVInspector *p : qAsConst(m_inspectors))
        p->onToggleShowHide();
}

void KVPropertiesTabsWidget::onPageChanged(int nPage)
{
    if (auto *pInspector = qobject_cast<KVInspector *>(m_pTabs->widget(nPage)))
        pInspector->refreshNow();
}

// A tab none of whose pages applies is disabled.
void KVPropertiesTabsWidget::updateTabs()
{
    for (int i = 0; i < m_inspectors.size(); ++i) {
        bool bAny = false;
        for (KVInspectorPageInfo *pInfo : m_inspectors.at(i)->pageInfos())
            bAny = bAny || pInfo->isAvailable();
        m_pTabs->setTabEnabled(i, bAny);
    }
}
