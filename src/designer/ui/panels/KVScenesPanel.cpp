#include "KVScenesPanel.h"
#include "KVSceneThumbnailRenderer.h"
#include "KVSceneThumbnailView.h"

#include "animation/KVTimeline.h"
#include "commands/KVCommandAction.h"
#include "commands/KVElementTreeOperation.h"
#include "commands/KVSceneOperation.h"
#include "document/KVDocument.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "ui/IUi.h"

#include "ActionManager.h"
#include "ICore.h"
#include "PluginManager.h"
#include "Reporter.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const QString kViewModeKey = QStringLiteral("scene_view_mode");
}

KVScenesPanel::KVScenesPanel(QWidget *pParent)
    : KVPanelBase(pParent)
    , m_pView(new KVSceneThumbnailView(this))
    , m_pRenderer(new KVSceneThumbnailRenderer(this))
{
    connect(m_pRenderer, &KVSceneThumbnailRenderer::thumbnailReady, this, &KVScenesPanel::onThumbnailReady);
    setObjectName(QStringLiteral("ScenesPanel"));
    auto *pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    auto *pBar = new QToolBar(this);
    pBar->setObjectName(QStringLiteral("ScenesToolBar"));
    pBar->setIconSize(QSize(16, 16));
    pBar->addAction(IUi::getInstance()->icon(QStringLiteral("insert_blank_scene")), tr("Blank Scene"), this,
                    &KVScenesPanel::onBlankScene)->setObjectName(QStringLiteral("BlankScene"));
    pBar->addAction(tr("Duplicate"), this, &KVScenesPanel::onDuplicateScene)->setObjectName(QStringLiteral("DuplicateScene"));
    pBar->addAction(tr("Delete"), this, &KVScenesPanel::onDelete)->setObjectName(QStringLiteral("DeleteScene"));
    pLayout->addWidget(pBar);
    pLayout->addWidget(m_pView);
    QSettings *pSettings = ExtensionSystem::PluginManager::settings();
    m_pView->setColumnView(!pSettings || pSettings->value(kViewModeKey, 0).toInt() == 0);
    m_pView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pView, &QListWidget::itemSelectionChanged, this, &KVScenesPanel::onItemSelectionChanged);
    connect(m_pView, &QListWidget::itemChanged, this, &KVScenesPanel::onItemChanged);
    connect(m_pView, &KVSceneThumbnailView::sceneThumbnailMoved, this, &KVScenesPanel::onSceneMoved);
    connect(m_pView, &QWidget::customContextMenuRequested, this, &KVScenesPanel::showContextMenu);
    auto *pDelete = new QAction(this);
    pDelete->setShortcut(QKeySequence::Delete);
    pDelete->setShortcutContext(Qt::WidgetShortcut);
    m_pView->addAction(pDelete);
    connect(pDelete, &QAction::triggered, this, &KVScenesPanel::onDelete);
}

QString KVScenesPanel::itemText(const KVScene *pScene) const
{
    if (!m_bDurations)
        return pScene->name();
    const KVTimeline *pMain = pScene->mainTimeline();
    const int nMs = pMain ? pMain->duration() : 0;
    return tr("%1\n%2 s").arg(pScene->name()).arg(nMs / 1000.0, 0, 'f', 2);
}

void KVScenesPanel::refresh()
{
    m_bBuilding = true;
    m_pView->clear();
    KVSceneList *pList = document() ? document()->sceneList() : nullptr;
    // Another project: every scene is drawn anew; else the scene the stage edits (which the command
    // changed) and the scenes not drawn yet.
    if (m_pDrawn != document()) {
        m_pDrawn = document();
        m_thumbnails.clear();
        m_pRenderer->setDocument(document());
    } else if (document() && document()->currentScene()) {
        m_thumbnails.remove(document()->currentScene());
    }
    if (pList) {
        for (auto it = m_thumbnails.begin(); it != m_thumbnails.end();)
            it = pList->indexOf(it.key()) < 0 ? m_thumbnails.erase(it) : std::next(it);
        for (KVScene *pScene : pList->scenes()) {
            if (!m_thumbnails.contains(pScene))
                m_pRenderer->request(pScene);
            auto *pItem = new QListWidgetItem(itemText(pScene), m_pView);
            const QPixmap pixmap = m_thumbnails.value(pScene);
            if (!pixmap.isNull())
                pItem->setIcon(QIcon(pixmap));
            pItem->setData(KVSceneThumbnailView::SceneRole, QVariant::fromValue(static_cast<void *>(pScene)));
            pItem->setFlags(pItem->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
        }
    }
    m_bBuilding = false;
    followSelection();
}

void KVScenesPanel::onThumbnailReady(KVScene *pScene, const QPixmap &pixmap)
{
    m_thumbnails.insert(pScene, pixmap);
    if (QListWidgetItem *pItem = m_pView->itemOf(pScene)) {
        m_bBuilding = true;
        pItem->setIcon(QIcon(pixmap));
        m_bBuilding = false;
    }
}

bool KVScenesPanel::isSelectionOnly(int nType) const
{
    return nType == KVCommandAction::SelectScene || KVPanelBase::isSelectionOnly(nType);
}

void KVScenesPanel::followSelection()
{
    m_bBuilding = true;
    KVScene *pCurrent = document() ? document()->currentScene() : nullptr;
    for (int i = 0; i < m_pView->count(); ++i) {
        QListWidgetItem *pItem = m_pView->item(i);
        KVScene *pScene = KVSceneThumbnailView::sceneOf(pItem);
        pItem->setSelected(pScene && (pScene->isSelected() || pScene == pCurrent));
        if (pScene == pCurrent)
            m_pView->setCurrentItem(pItem, QItemSelectionModel::NoUpdate);
    }
    m_bBuilding = false;
}

QList<KVScene *> KVScenesPanel::selectedScenes() const
{
    QList<KVScene *> list;
    for (int i = 0; i < m_pView->count(); ++i) {
        if (m_pView->item(i)->isSelected())
            list.append(KVSceneThumbnailView::sceneOf(m_pView->item(i)));
    }
    return list;
}

void KVScenesPanel::onItemSelectionChanged()
{
    if (m_bBuilding || !document())
        return;
    QListWidgetItem *pItem = m_pView->currentItem();
    if (!pItem || !pItem->isSelected() || m_pView->selectedItems().size() != 1)
        return;
    KVScene *pScene = KVSceneThumbnailView::sceneOf(pItem);
    if (pScene && pScene != document()->currentScene())
        KVSceneOperation::show(document(), pScene);
}

void KVScenesPanel::onItemChanged(QListWidgetItem *pItem)
{
    KVScene *pScene = KVSceneThumbnailView::sceneOf(pItem);
    if (m_bBuilding || !pScene || !document())
        return;
    // Only the name is edited; the durations line is not part of it.
    const QString strName = pItem->text().section(QLatin1Char('\n'), 0, 0);
    KVElementTreeOperation::RenameResult eResult;
    KVCommand *pCommand = KVElementTreeOperation::rename(document(), pScene, strName, &eResult);
    if (eResult == KVElementTreeOperation::Taken)
        Reporter::warning(tr("The %1 name already exists.\nPlease enter another name.").arg(tr("Scene")));
    if (!submit(pCommand)) {
        m_bBuilding = true;
        pItem->setText(itemText(pScene));
        m_bBuilding = false;
    }
}

void KVScenesPanel::onSceneMoved(int nIndex, int nNewIndex)
{
    submit(KVSceneOperation::moveScene(document(), nIndex, nNewIndex));
}

void KVScenesPanel::onBlankScene()
{
    if (document())
        submit(KVSceneOperation::blankScene(document(), document()->currentScene()));
}

void KVScenesPanel::onDuplicateScene()
{
    if (document())
        submit(KVSceneOperation::duplicateScene(document(), document()->currentScene()));
}

void KVScenesPanel::onDelete()
{
    if (!document())
        return;
    QList<KVScene *> scenes = selectedScenes();
    if (scenes.isEmpty() && document()->currentScene())
        scenes.append(document()->currentScene());
    KVCommand *pCommand = KVSceneOperation::removeScenes(document(), scenes);
    if (!pCommand && !scenes.isEmpty()) {
        Reporter::warning(tr("A project keeps at least one scene."));
        return;
    }
    submit(pCommand);
}

void KVScenesPanel::onRename()
{
    QListWidgetItem *pItem = m_pView->currentItem();
    if (!pItem)
        return;
    m_bBuilding = true;
    pItem->setText(KVSceneThumbnailView::sceneOf(pItem)->name());
    m_bBuilding = false;
    m_pView->editItem(pItem);
}

void KVScenesPanel::onShowInColumn()
{
    m_pView->setColumnView(true);
    if (QSettings *pSettings = ExtensionSystem::PluginManager::settings())
        pSettings->setValue(kViewModeKey, 0);
    refresh();
}

void KVScenesPanel::onShowInGrid()
{
    m_pView->setColumnView(false);
    if (QSettings *pSettings = ExtensionSystem::PluginManager::settings())
        pSettings->setValue(kViewModeKey, 1);
    refresh();
}

void KVScenesPanel::onShowSceneDuration()
{
    m_bDurations = !m_bDurations;
    refresh();
}

void KVScenesPanel::showContextMenu(const QPoint &pt)
{
    if (!document())
        return;
    QMenu menu(this);
    menu.addAction(tr("Blank Scene"), this, &KVScenesPanel::onBlankScene);
    menu.addAction(tr("Duplicate Scene"), this, &KVScenesPanel::onDuplicateScene);
    menu.addAction(tr("Rename"), this, &KVScenesPanel::onRename);
    menu.addAction(tr("Delete"), this, &KVScenesPanel::onDelete);
    menu.addSeparator();
    QAction *pColumn = menu.addAction(tr("Show in Column"), this, &KVScenesPanel::onShowInColumn);
    pColumn->setCheckable(true);
    pColumn->setChecked(m_pView->isColumnView());
    QAction *pGrid = menu.addAction(tr("Show in Grid"), this, &KVScenesPanel::onShowInGrid);
    pGrid->setCheckable(true);
    pGrid->setChecked(!m_pView->isColumnView());
    QAction *pDurations = menu.addAction(tr("Show Scene Duration"), this, &KVScenesPanel::onShowSceneDuration);
    pDurations->setCheckable(true);
    pDurations->setChecked(m_bDurations);
    menu.exec(m_pView->viewport()->mapToGlobal(pt));
}
