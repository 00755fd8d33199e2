#include "ui/inspector/KVInspector.h"

#include "IEditor.h"
#include "PluginManager.h"
#include "animation/KVTimeline.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "commands/KVPropertyGroup.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "resources/KVFontResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVSystemFonts.h"
#include "ui/inspector/KVInspectorPage.h"
#include "ui/inspector/KVInspectorPageInfo.h"
#include "ui/inspector/KVInspectorPageTitle.h"

#include <QHash>
#include <QScrollBar>
#include <QSettings>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QString kExpandKey = QStringLiteral("Inspector/Expand");

// Types after which the selection the inspector shows may differ.
bool changesSelection(int nType)
{
    switch (nType) {
    case 1: case 2: case 3: case 5: case 6: case 7: case 11: case 33: case 43:
        return true;
    default:
        return false;
    }
}
} // namespace

KVInspector::KVInspector(QWidget *pParent)
    : QScrollArea(pParent)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pContent = new QWidget(this);
    m_pColumn = new QVBoxLayout(m_pContent);
    m_pColumn->setContentsMargins(0, 0, 0, 0);
    m_pColumn->setSpacing(0);
    m_pColumn->addStretch(1);
    setWidget(m_pContent);
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(100);
    connect(&m_refreshTimer, &QTimer::timeout, this, &KVInspector::refreshNow);
    connect(this, &KVInspector::titleClicked, this, &KVInspector::onTitleClicked);
}

KVInspector::~KVInspector()
{
    if (QSettings *pSettings = ExtensionSystem::PluginManager::settings()) {
        for (KVInspectorPageInfo *pInfo : qAsConst(m_pages))
            pSettings->setValue(kExpandKey + QString::number(pInfo->pageId()), pInfo->isExpanded());
    }
    qDeleteAll(m_pages);
}

void KVInspector::addPage(int nPageId, const QString &strTitle)
{
    auto *pInfo = new KVInspectorPageInfo(nPageId, strTitle, this);
    auto *pTitle = new KVInspectorPageTitle(strTitle, m_pContent);
    pTitle->setObjectName(QStringLiteral("inspectorTitle%1").arg(nPageId));
    pInfo->setTitleBar(pTitle);
    connect(pTitle, &KVInspectorPageTitle::clicked, this, &KVInspector::titleClicked);
    m_pColumn->insertWidget(m_pColumn->count() - 1, pTitle);
    m_pages.append(pInfo);
    showPage(pInfo, false);
}

void KVInspector::restoreExpanded()
{
    QSettings *pSettings = ExtensionSystem::PluginManager::settings();
    for (KVInspectorPageInfo *pInfo : qAsConst(m_pages)) {
        const bool bExpanded = pSettings && pSettings->value(kExpandKey + QString::number(pInfo->pageId()), false).toBool();
        pInfo->setExpanded(bExpanded);
        pInfo->titleBar()->setExpanded(bExpanded);
    }
}

KVInspectorPageInfo *KVInspector::pageInfo(int nPageId) const
{
    for (KVInspectorPageInfo *pInfo : m_pages) {
        if (pInfo->pageId() == nPageId)
            return pInfo;
    }
    return nullptr;
}

KVDocument *KVInspector::document() const
{
    return m_pDocument.data();
}

KVScene *KVInspector::currentScene() const
{
    return m_pScene.data();
}

QList<KVElement *> KVInspector::selection() const
{
    QList<KVElement *> list;
    for (const QPointer<KVElement> &p : m_selection) {
        if (p)
            list.append(p);
    }
    if (list.isEmpty() && m_pScene)
        list.append(m_pScene);
    return list;
}

KVLayoutKey KVInspector::layout() const
{
    return m_pScene ? m_pScene->currentLayout() : KVLayoutKey::base();
}

KVEditContext KVInspector::context() const
{
    KVEditContext c;
    c.pTarget = m_pDocument.data();
    c.pScene = m_pScene.data();
    c.pTimeline = m_pScene ? m_pScene->currentTimeline() : nullptr;
    c.nCurrentTime = c.pTimeline ? c.pTimeline->currentTimeMs() : 0;
    c.bAutoKeyframe = m_pDocument && m_pDocument->isAutoKeyframeMode();
    c.selection = selection();
    return c;
}

QList<QColor> KVInspector::documentColors() const
{
    QHash<QRgb, int> counts;
    if (m_pScene) {
        const KVLayoutKey l = layout();
        const auto count = [&counts](const QVariant &argb) { ++counts[QRgb(argb.toInt())]; };
        m_pScene->forEachInSubtree([&](const KVElement *p) {
            const QVariantList fill = KVPropertyGroup::values(p, KVPropertyGroup::Fill, l);
            if (!fill.isEmpty() && fill.at(KVPropertyGroup::FillStyle).toInt() == 1)
                count(fill.at(KVPropertyGroup::FillSolidColor));
            const QVariantList border = KVPropertyGroup::values(p, KVPropertyGroup::Border, l);
            if (!border.isEmpty() && border.at(KVPropertyGroup::BorderStyle).toInt() != 0)
                count(border.at(KVPropertyGroup::BorderColor));
            const QVariantList text = KVPropertyGroup::values(p, KVPropertyGroup::Text, l);
            if (!text.isEmpty())
                count(text.at(KVPropertyGroup::TextColor));
        });
    }
    QList<QRgb> colors = counts.keys();
    std::sort(colors.begin(), colors.end(), [&counts](QRgb a, QRgb b) {
        return counts.value(a) != counts.value(b) ? counts.value(a) > counts.value(b) : a < b;
    });
    QList<QColor> list;
    for (int i = 0; i < colors.size() && i < 16; ++i)
        list.append(QColor::fromRgba(colors.at(i)));
    return list;
}

QStringList KVInspector::fontFamilies() const
{
    QStringList list;
    // The project's web fonts first, then what is installed.
    if (m_pDocument && m_pDocument->resourceManager()) {
        for (KVResource *pResource : m_pDocument->resourceManager()->liveResources(4)) {
            auto *pFont = dynamic_cast<KVFontResource *>(pResource);
            const QString strFamily = pFont && !pFont->family().isEmpty() ? pFont->family() : pResource->name();
            if (!strFamily.isEmpty() && !list.contains(strFamily))
                list.append(strFamily);
        }
    }
    static const QStringList installed = KVSystemFonts::families();
    for (const QString &strFamily : installed) {
        if (!list.contains(strFamily))
            list.append(strFamily);
    }
    return list;
}

void KVInspector::updateEditorActivated(IEditor *pEditor)
{
    auto *pDocument = pEditor ? qobject_cast<KVDocument *>(pEditor->getDocument()) : nullptr;
    if (pDocument == m_pDocument)
        return;
    handleDocumentClosing();
    m_pDocument = pDocument;
    handleDocumentLoaded();
}

void KVInspector::updateEditorDeactivated(IEditor *pEditor)
{
    if (pEditor && pEditor->getDocument() == m_pDocument.data())
        handleDocumentClosing();
}

void KVInspector::handleDocumentLoaded()
{
    if (!m_pDocument)
        return;
    connect(m_pDocument, &KVDocument::dataChanged, this, &KVInspector::handleDocumentChanged);
    connect(m_pDocument, &QObject::destroyed, this, &KVInspector::handleDocumentClosing);
    m_bSelectionChanged = true;
    readSelection();
    updateAvailability();
    refreshNow();
}

void KVInspector::handleDocumentClosing()
{
    while (m_nEditDepth > 0)
        endEdit();
    if (m_pDocument)
        disconnect(m_pDocument, nullptr, this, nullptr);
    m_pDocument = nullptr;
    m_pScene = nullptr;
    m_selection.clear();
    updateAvailability();
}

void KVInspector::readSelection()
{
    m_selection.clear();
    m_pScene = m_pDocument ? m_pDocument->currentScene() : nullptr;
    if (!m_pScene)
        return;
    KVEditContext c;
    c.pScene = m_pScene.data();
    const QList<KVElement *> list = c.selectedElements();
    for (KVElement *p : list)
        m_selection.append(p);
}

void KVInspector::updateAvailability()
{
    QList<KVElement *> elements;
    bool bLocked = false;
    for (const QPointer<KVElement> &p : qAsConst(m_selection)) {
        if (!p)
            continue;
        elements.append(p);
        bLocked = bLocked || p->isLocked();
    }
    m_pContent->setEnabled(!bLocked);
    for (KVInspectorPageInfo *pInfo : qAsConst(m_pages)) {
        pInfo->setAvailable(m_pDocument && pInfo->isAvailableFor(elements, m_pScene != nullptr));
        pInfo->setDirty(true);
        showPage(pInfo, pInfo->isAvailable());
    }
    emit availabilityChanged();
}

void KVInspector::handleDocumentChanged(QObject *pUpdateInfo)
{
    auto *pInfo = qobject_cast<KVUpdateViewInfo *>(pUpdateInfo);
    if (!pInfo || !m_pDocument)
        return;
    const int nType = pInfo->type();
    if (m_pDocument->currentScene() != m_pScene)
        m_bSelectionChanged = true;
    if (changesSelection(nType))
        m_bSelectionChanged = true;
    if (nType == 51)
        m_bEditingText = !m_bEditingText;
    for (KVInspectorPageInfo *pPage : qAsConst(m_pages))
        pPage->noteUpdate(*pInfo);
    const bool bEnd = nType == KVCommandAction::CommandDone || nType == 51 || nType == 53;
    if (bEnd && m_bSelectionChanged) {
        // The pages follow a new selection after a pause, so that a run of selections refreshes once.
        readSelection();
        updateAvailability();
        m_bSelectionChanged = false;
        m_refreshTimer.start();
        return;
    }
    // Time moving without a command refreshes the animated fields at once.
    if (bEnd || nType == KVCommandAction::TimeNotice) {
        if (!m_refreshTimer.isActive())
            refreshNow();
    }
}

void KVInspector::refreshNow()
{
    for (KVInspectorPageInfo *pInfo : qAsConst(m_pages)) {
        if (pInfo->isAvailable() && pInfo->isExpanded() && pInfo->isDirty())
            refreshPage(pInfo);
    }
    updateVScrollBar();
}

void KVInspector::refreshPage(KVInspectorPageInfo *pInfo)
{
    if (!pInfo->page()) {
        KVInspectorPage *pPage = pInfo->createPage(m_pContent);
        m_pColumn->insertWidget(m_pColumn->indexOf(pInfo->titleBar()) + 1, pPage);
    }
    pInfo->page()->refresh();
    pInfo->page()->setVisible(true);
    pInfo->setDirty(false);
}

void KVInspector::showPage(KVInspectorPageInfo *pInfo, bool bShow)
{
    pInfo->titleBar()->setVisible(bShow);
    if (pInfo->page())
        pInfo->page()->setVisible(bShow && pInfo->isExpanded());
}

void KVInspector::onTitleClicked(KVInspectorPageTitle *pTitle)
{
    for (KVInspectorPageInfo *pInfo : qAsConst(m_pages)) {
        if (pInfo->titleBar() != pTitle)
            continue;
        pInfo->setExpanded(!pInfo->isExpanded());
        pTitle->setExpanded(pInfo->isExpanded());
        if (pInfo->isExpanded() && pInfo->isAvailable()) {
            pInfo->setDirty(true);
            refreshPage(pInfo);
        } else if (pInfo->page()) {
            pInfo->page()->setVisible(false);
        }
    }
}

void KVInspector::updateVScrollBar()
{
    m_pContent->adjustSize();
}

void KVInspector::processCommand(KVCommand *pCmd, QWidget *pWidgetCmdSrc)
{
    m_pCommandSource = pWidgetCmdSrc;
    if (!pCmd)
        return;
    if (!m_pDocument) {
        delete pCmd;
        return;
    }
    if (m_nEditDepth > 0 && !m_bMacroOpen) {
        m_pDocument->getUndoStack()->beginMacro(pCmd->text());
        m_bMacroOpen = true;
    }
    m_pDocument->submitCommand(pCmd, true);
}

void KVInspector::onToggleShowHide()
{
    if (isVisible())
        refreshNow();
}

void KVInspector::beginEdit()
{
    ++m_nEditDepth;
}

void KVInspector::endEdit()
{
    if (m_nEditDepth == 0)
        return;
    if (--m_nEditDepth > 0)
        return;
    if (m_bMacroOpen && m_pDocument)
        m_pDocument->getUndoStack()->endMacro();
    m_bMacroOpen = false;
}
