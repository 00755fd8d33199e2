#include "KVResourcePanel.h"
#include "KVResourceListWidget.h"

#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "commands/KVInsertOperation.h"
#include "document/KVDocument.h"
#include "model/KVScene.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"

#include "FileDialogs.h"
#include "Reporter.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

using P = KVCmdParam;

namespace {
const QList<QPair<const char *, int>> kTypes = {
    {QT_TRANSLATE_NOOP("KVResourcePanel", "All"), -1},        {QT_TRANSLATE_NOOP("KVResourcePanel", "Images"), 0},
    {QT_TRANSLATE_NOOP("KVResourcePanel", "Audio"), 1},       {QT_TRANSLATE_NOOP("KVResourcePanel", "Video"), 2},
    {QT_TRANSLATE_NOOP("KVResourcePanel", "Symbols"), 3},     {QT_TRANSLATE_NOOP("KVResourcePanel", "Fonts"), 4},
    {QT_TRANSLATE_NOOP("KVResourcePanel", "Scripts"), 5},     {QT_TRANSLATE_NOOP("KVResourcePanel", "Style Sheets"), 6},
    {QT_TRANSLATE_NOOP("KVResourcePanel", "HTML Pages"), 7}};
}

KVResourcePanel::KVResourcePanel(QWidget *pParent)
    : KVPanelBase(pParent)
    , m_pType(new QComboBox(this))
    , m_pList(new KVResourceListWidget(this))
{
    setObjectName(QStringLiteral("ResourcePanel"));
    auto *pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    auto *pBar = new QToolBar(this);
    pBar->setObjectName(QStringLiteral("ResourcesToolBar"));
    pBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addButton = [this, pBar](const QString &strText, const QString &strName, const QString &strTip,
                                  void (KVResourcePanel::*slot)()) {
        QAction *pAction = pBar->addAction(strText, this, slot);
        pAction->setObjectName(strName);
        pAction->setToolTip(strTip);
    };
    addButton(tr("Import"), QStringLiteral("Import"), tr("Import Resources"), &KVResourcePanel::onAddFromFile);
    addButton(tr("Delete"), QStringLiteral("Delete"), tr("Delete"), &KVResourcePanel::onDelete);
    addButton(tr("Rename"), QStringLiteral("Rename"), tr("Rename"), &KVResourcePanel::onRename);
    addButton(tr("Unused"), QStringLiteral("SelectUnused"), tr("Select Unused Resources"),
              &KVResourcePanel::selectUnusedResources);
    addButton(tr("Add to Scene"), QStringLiteral("AddToScene"), tr("Add selected resources to scene as elements"),
              &KVResourcePanel::insertResourceToScene);
    m_pType->setObjectName(QStringLiteral("ResourceType"));
    for (const auto &type : kTypes)
        m_pType->addItem(tr(type.first), type.second);
    pLayout->addWidget(pBar);
    pLayout->addWidget(m_pType);
    pLayout->addWidget(m_pList);
    connect(m_pType, qOverload<int>(&QComboBox::currentIndexChanged), this, &KVResourcePanel::onResourceTypeChanged);
    connect(m_pList, &QListWidget::itemChanged, this, &KVResourcePanel::onItemChanged);
    connect(m_pList, &QListWidget::itemSelectionChanged, this, &KVResourcePanel::selectionChanged);
    auto *pDelete = new QAction(this);
    pDelete->setShortcut(QKeySequence::Delete);
    pDelete->setShortcutContext(Qt::WidgetShortcut);
    m_pList->addAction(pDelete);
    connect(pDelete, &QAction::triggered, this, &KVResourcePanel::onDelete);
}

bool KVResourcePanel::concerns(int nType) const
{
    // Resources come, go and change (39-52, 103); elements that come and go change use counts.
    return (nType >= 39 && nType <= 52) || nType == 103 || nType == KVCommandAction::InsertElement
           || nType == KVCommandAction::RemoveElement || nType == KVCommandAction::InsertScene
           || nType == KVCommandAction::RemoveScene;
}

void KVResourcePanel::refresh()
{
    m_bBuilding = true;
    m_pList->clear();
    KVResourceManager *pManager = document() ? document()->resourceManager() : nullptr;
    if (pManager) {
        for (KVResource *pResource : pManager->liveResources(m_pType->currentData().toInt())) {
            auto *pItem = new QListWidgetItem(m_pList);
            fillItem(pItem, pResource);
        }
    }
    m_bBuilding = false;
}

void KVResourcePanel::fillItem(QListWidgetItem *pItem, KVResource *pResource)
{
    KVResourceManager *pManager = document()->resourceManager();
    pItem->setText(pResource->name());
    pItem->setData(KVResourceListWidget::ResourceRole, QVariant::fromValue(static_cast<void *>(pResource)));
    pItem->setFlags(pItem->flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
    QIcon icon;
    if (pResource->type() == KVResourceType::Image) {
        const QImage image = pManager->image(pResource->id());
        if (!image.isNull())
            icon = QIcon(QPixmap::fromImage(image.scaled(m_pList->iconSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    if (icon.isNull())
        icon = style()->standardIcon(pResource->type() == KVResourceType::Audio || pResource->type() == KVResourceType::Video
                                         ? QStyle::SP_MediaPlay
                                         : QStyle::SP_FileIcon);
    pItem->setIcon(icon);
    pItem->setToolTip(tr("%1\n%2\nFile: %3\nUsed: %4")
                          .arg(pResource->name(), pResource->kindText(), pResource->fileReference())
                          .arg(pResource->useCount()));
}

void KVResourcePanel::onResourceTypeChanged()
{
    refresh();
}

void KVResourcePanel::onItemChanged(QListWidgetItem *pItem)
{
    KVResource *pResource = KVResourceListWidget::resourceOf(pItem);
    if (m_bBuilding || !pResource || !document())
        return;
    const QString strName = pItem->text().trimmed();
    KVResourceManager *pManager = document()->resourceManager();
    auto restore = [this, pItem, pResource] {
        m_bBuilding = true;
        pItem->setText(pResource->name());
        m_bBuilding = false;
    };
    if (strName.isEmpty() || strName == pResource->name()) {
        restore();
        return;
    }
    if (strName.contains(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")))) {
        Reporter::warning(tr("A resource name cannot contain any of the characters / \\ : * ? \" < > |"));
        restore();
        return;
    }
    if (pManager->resourceByName(strName, pResource->id())) {
        Reporter::warning(tr("The resource named \"%1\" already exists.").arg(strName));
        restore();
        return;
    }
    auto *pCommand = new KVCommand(document(), tr("Change Resource Name"), this);
    auto *pAction = new KVCommandAction(48, document(), 2);
    pAction->addParam(P::makeResource(pResource));
    pAction->addParam(P::makeString(strName));
    pCommand->addAction(pAction);
    submit(pCommand);
}

void KVResourcePanel::onRename()
{
    QListWidgetItem *pItem = m_pList->currentItem();
    if (pItem)
        m_pList->editItem(pItem);
}

void KVResourcePanel::onDelete()
{
    if (!document())
        return;
    const QList<KVResource *> resources = m_pList->selectedResources();
    QList<int> ids;
    for (const KVResource *p : resources)
        ids.append(p->id());
    // The manager says why resources that elements use cannot go.
    if (ids.isEmpty() || !document()->resourceManager()->canRemove(ids))
        return;
    auto *pCommand = new KVCommand(document(), tr("Remove Resources"), this);
    for (KVResource *p : resources) {
        auto *pAction = new KVCommandAction(40, document(), 1);
        pAction->addParam(P::makeResource(p));
        pCommand->addAction(pAction);
    }
    submit(pCommand);
}

void KVResourcePanel::selectUnusedResources()
{
    if (!document())
        return;
    const QList<KVResource *> unused = document()->resourceManager()->unusedResources();
    for (int i = 0; i < m_pList->count(); ++i)
        m_pList->item(i)->setSelected(unused.contains(KVResourceListWidget::resourceOf(m_pList->item(i))));
}

void KVResourcePanel::insertResourceToScene()
{
    if (!document())
        return;
    KVEditContext c;
    c.pTarget = document();
    c.pScene = document()->currentScene();
    c.pTimeline = c.pScene ? c.pScene->currentTimeline() : nullptr;
    submit(KVInsertOperation::insertResources(c, m_pList->selectedResources(), document()->resourceManager()));
}

void KVResourcePanel::onAddFromFile()
{
    if (!document())
        return;
    KVResourceManager *pManager = document()->resourceManager();
    const QStringList paths = FileDialogs::getOpenFileNames(this, tr("Import Resource"), QString(),
                                                            KVResourceType::allKindsFilter());
    if (paths.isEmpty())
        return;
    QStringList failed;
    const QList<KVResource *> imported = pManager->importFiles(paths, -1, &failed);
    auto *pCommand = new KVCommand(document(), tr("Import Resources"), this);
    for (KVResource *pResource : imported) {
        if (!pManager->addResource(pResource)) {
            delete pResource;
            continue;
        }
        // In the manager already: the first run has nothing to add.
        auto *pAction = new KVCommandAction(KVCommandAction::AddResource, document(), 1, true);
        pAction->addParam(P::makeResource(pResource));
        pCommand->addAction(pAction);
    }
    if (!failed.isEmpty() && !pManager->wasImportCanceled())
        Reporter::warning(tr("Could not import %1 file(s).\nFile format may not be supported.").arg(failed.size()));
    submit(pCommand);
}
