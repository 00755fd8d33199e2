#include "KVResponsiveToolbar.h"

#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include "DocumentManager.h"
#include "ICore.h"
#include "Reporter.h"

#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QToolButton>
#include <QUndoStack>


namespace {

// The elements first: whoever hears of the set's change finds them at the layout already.
void showLayout(KVDocument *pDocument, const KVLayoutKey &layout)
{
    if (KVSceneList *scenes = pDocument->sceneList())
        scenes->setCurrentLayout(layout);
    pDocument->breakpoints()->setCurrentLayout(layout);
}

// Adds (89: direction, value, id 0 for a new one) or removes (90: direction, id, value) one
// breakpoint of the document as an undoable command; the removal keeps the layout's property
// objects, which its undo gives back.
void submitBreakpointChange(KVDocument *pDocument, int nType, bool bVertical, int nSecond, int nThird)
{
    auto *pCommand = new KVCommand(pDocument, nType == 89 ? QObject::tr("Add Breakpoint") : QObject::tr("Remove Breakpoint"));
    auto *pAction = new KVCommandAction(nType, pDocument, 4);
    pAction->addParam(KVCmdParam::makeObject(KVCmdParam::LayoutData, pDocument->breakpoints()));
    pAction->addParam(KVCmdParam::makeInt(bVertical ? 1 : 0));
    pAction->addParam(KVCmdParam::makeInt(nSecond));
    pAction->addParam(KVCmdParam::makeInt(nThird));
    pCommand->addAction(pAction);
    pDocument->submitCommand(pCommand, true);
}

QString valueText(int nValue)
{
    return QObject::tr("%1px").arg(nValue);
}

} // namespace

KVResponsiveToolbar::KVResponsiveToolbar(QWidget *pParent)
    : QToolBar(pParent)
{
    setObjectName(QStringLiteral("ResponsiveToolbar"));
    setMovable(false);

    m_pResponsiveAction = addAction(tr("Responsive"), this, &KVResponsiveToolbar::onToggleResponsiveMode);
    m_pResponsiveAction->setCheckable(true);
    m_pResponsiveAction->setObjectName(QStringLiteral("ResponsiveMode"));

    m_pAddMenu = new QMenu(this);
    connect(m_pAddMenu, &QMenu::triggered, this, &KVResponsiveToolbar::onAddPreset);
    m_pAddButton = new QToolButton(this);
    m_pAddButton->setText(tr("Add Breakpoint"));
    connect(m_pAddButton, &QToolButton::clicked, this, &KVResponsiveToolbar::onShowAddMenu);
    addWidget(m_pAddButton);

    m_pHorizontalMenu = new QMenu(this);
    m_pHorizontalButton = new QToolButton(this);
    m_pHorizontalButton->setToolTip(tr("Horizontal Layout"));
    connect(m_pHorizontalButton, &QToolButton::clicked, this, &KVResponsiveToolbar::onShowHorizontalMenu);
    addWidget(m_pHorizontalButton);
    m_pRemoveHAction = addAction(tr("Remove Horizontal Breakpoint"), this, [this] { removeBreakpoint(Horizontal); });

    m_pVerticalMenu = new QMenu(this);
    m_pVerticalButton = new QToolButton(this);
    m_pVerticalButton->setToolTip(tr("Vertical Layout"));
    connect(m_pVerticalButton, &QToolButton::clicked, this, &KVResponsiveToolbar::onShowVerticalMenu);
    addWidget(m_pVerticalButton);
    m_pRemoveVAction = addAction(tr("Remove Vertical Breakpoint"), this, [this] { removeBreakpoint(Vertical); });

    m_pRangeLabel = new QLabel(this);
    addWidget(m_pRangeLabel);

    // The spin boxes sit in a row of their own, which the container-handle toggle shows or hides
    // (no other widget of the bar lies over its buttons).
    auto *row = new QToolBar(this);
    m_pWidthSpin = new QSpinBox(row);
    m_pHeightSpin = new QSpinBox(row);
    for (QSpinBox *spin : {m_pWidthSpin, m_pHeightSpin}) {
        spin->setRange(1, KVBreakpoint::MaxValue);
        spin->setSuffix(QStringLiteral("px"));
    }
    row->addWidget(m_pWidthSpin);
    row->addWidget(m_pHeightSpin);
    m_pContainerAction = addWidget(row);
    connect(m_pWidthSpin, QOverload<int>::of(&QSpinBox::valueChanged), this, &KVResponsiveToolbar::onContainerWChanged);
    connect(m_pHeightSpin, QOverload<int>::of(&QSpinBox::valueChanged), this, &KVResponsiveToolbar::onContainerHChanged);

    addSeparator();
    m_pTranslateAction = addAction(tr("Translate"), this, &KVResponsiveToolbar::onEnableTranslateTool);
    m_pRotateAction = addAction(tr("Rotate"), this, &KVResponsiveToolbar::onEnableRotateTool);
    m_pScaleAction = addAction(tr("Scale"), this, &KVResponsiveToolbar::onEnableScaleTool);
    m_pRotateViewAction = addAction(tr("Rotate View"), this, &KVResponsiveToolbar::onToggleRotateViewTool);
    for (QAction *action : {m_pTranslateAction, m_pRotateAction, m_pScaleAction, m_pRotateViewAction})
        action->setCheckable(true);

    updateTransformTools();
    updateUI();
}

KVResponsiveToolbar::~KVResponsiveToolbar() = default;

void KVResponsiveToolbar::setDocument(KVDocument *pDocument)
{
    if (m_pDocument)
        disconnect(m_pDocument->breakpoints(), nullptr, this, nullptr);
    m_pDocument = pDocument;
    if (pDocument) {
        connect(pDocument->breakpoints(), &KVBreakpointSet::changed, this, &KVResponsiveToolbar::onUpdateBreakpoint);
        const QSize size(pDocument->width(), pDocument->height());
        // The container starts at the stage size, moved into the layout the document shows.
        const KVBreakpointSet *set = pDocument->breakpoints();
        const KVLayoutKey layout = set->currentLayout();
        setContainerSize(set->fitSize(false, layout.nHLayoutId, qMax(1, size.width())),
                         set->fitSize(true, layout.nVLayoutId, qMax(1, size.height())));
    }
    updateUI();
}

bool KVResponsiveToolbar::isRotateViewTool() const
{
    return m_pRotateViewAction->isChecked();
}

// --- Responsive mode and breakpoints ------------------------------------------------------------

void KVResponsiveToolbar::onToggleResponsiveMode()
{
    if (!m_pDocument)
        return;
    KVBreakpointSet *set = m_pDocument->breakpoints();
    set->setResponsiveMode(!set->isResponsiveMode());
    updateUI();
}

QMenu *KVResponsiveToolbar::populateAddMenu()
{
    m_pAddMenu->clear();
    DocumentManager *manager = ICore::instance() ? ICore::instance()->documentManager() : nullptr;
    const auto addPresets = [&](const QString &title, bool bVertical) {
        QMenu *sub = m_pAddMenu->addMenu(title);
        const DocumentManager::Breakpoints list = manager
            ? (bVertical ? manager->getVBreakpoints() : manager->getHBreakpoints())
            : DocumentManager::Breakpoints();
        for (const auto &preset : list) {
            QAction *action = sub->addAction(valueText(preset.first));
            action->setData(QVariantList{bVertical, preset.first});
        }
        sub->setEnabled(!list.isEmpty());
    };
    addPresets(tr("Horizontal Preset"), false);
    addPresets(tr("Vertical Preset"), true);
    m_pAddMenu->addSeparator();
    m_pAddMenu->addAction(tr("Horizontal Breakpoint..."), this, &KVResponsiveToolbar::onShowAddHorizontalPopup);
    m_pAddMenu->addAction(tr("Vertical Breakpoint..."), this, &KVResponsiveToolbar::onShowAddVerticalPopup);
    return m_pAddMenu;
}

void KVResponsiveToolbar::onShowAddMenu()
{
    populateAddMenu()->popup(m_pAddButton->mapToGlobal(QPoint(0, m_pAddButton->height())));
}

void KVResponsiveToolbar::onAddPreset(QAction *pAction)
{
    const QVariantList data = pAction ? pAction->data().toList() : QVariantList();
    if (data.size() != 2)
        return; // the typed entries carry no data
    addBreakpoint(data.at(0).toBool(), data.at(1).toInt());
}

void KVResponsiveToolbar::onShowAddHorizontalPopup()
{
    bool bOk = false;
    const int nValue = QInputDialog::getInt(this, tr("Add Horizontal Breakpoint"), tr("Width (px):"),
                                            qBound(1, m_nContainerW, KVBreakpoint::MaxValue),
                                            0, KVBreakpoint::MaxValue + 1, 1, &bOk);
    if (bOk)
        onAddHorizontal(nValue);
}

void KVResponsiveToolbar::onShowAddVerticalPopup()
{
    bool bOk = false;
    const int nValue = QInputDialog::getInt(this, tr("Add Vertical Breakpoint"), tr("Height (px):"),
                                            qBound(1, m_nContainerH, KVBreakpoint::MaxValue),
                                            0, KVBreakpoint::MaxValue + 1, 1, &bOk);
    if (bOk)
        onAddVertical(nValue);
}

void KVResponsiveToolbar::onAddHorizontal(int nValue)
{
    addBreakpoint(false, nValue);
}

void KVResponsiveToolbar::onAddVertical(int nValue)
{
    addBreakpoint(true, nValue);
}

void KVResponsiveToolbar::addBreakpoint(bool bVertical, int nValue)
{
    if (!m_pDocument || !m_pDocument->breakpoints()->checkNewBreakpoint(bVertical, nValue))
        return;
    submitBreakpointChange(m_pDocument, 89, bVertical, nValue, 0);
}

void KVResponsiveToolbar::removeBreakpoint(int nBreakpointType)
{
    if (!m_pDocument)
        return;
    const bool bVertical = nBreakpointType == Vertical;
    const KVBreakpointSet *set = m_pDocument->breakpoints();
    const int nId = bVertical ? set->currentVId() : set->currentHId();
    const int nValue = set->valueOf(bVertical, nId);
    if (nValue < 0)
        return; // the base layout is not a breakpoint
    if (Reporter::question(tr("Are you sure you want to remove the current breakpoint?"),
                           IReporter::Yes | IReporter::No, IReporter::Yes) != IReporter::Yes)
        return;
    submitBreakpointChange(m_pDocument, 90, bVertical, nId, nValue);
}

// --- Layout selection ---------------------------------------------------------------------------

QMenu *KVResponsiveToolbar::populateLayoutMenu(bool bVertical)
{
    QMenu *menu = bVertical ? m_pVerticalMenu : m_pHorizontalMenu;
    menu->clear();
    QAction *base = menu->addAction(tr("Base"));
    base->setData(0);
    if (!m_pDocument)
        return menu;
    const QList<KVBreakpoint> &list = m_pDocument->breakpoints()->breakpoints(bVertical);
    for (int i = 0; i < list.size(); ++i)
        menu->addAction(valueText(list.at(i).nValue))->setData(i + 1);
    const auto select = bVertical ? &KVResponsiveToolbar::onVerticalMenuSelected
                                  : &KVResponsiveToolbar::onHorizontalMenuSelected;
    for (QAction *action : menu->actions())
        connect(action, &QAction::triggered, this, [this, action, select] { (this->*select)(action->data().toInt()); });
    return menu;
}

void KVResponsiveToolbar::onShowHorizontalMenu()
{
    populateLayoutMenu(false)->popup(m_pHorizontalButton->mapToGlobal(QPoint(0, m_pHorizontalButton->height())));
}

void KVResponsiveToolbar::onShowVerticalMenu()
{
    populateLayoutMenu(true)->popup(m_pVerticalButton->mapToGlobal(QPoint(0, m_pVerticalButton->height())));
}

void KVResponsiveToolbar::onHorizontalMenuSelected(int nIndex)
{
    selectLayout(false, nIndex);
}

void KVResponsiveToolbar::onVerticalMenuSelected(int nIndex)
{
    selectLayout(true, nIndex);
}

void KVResponsiveToolbar::selectLayout(bool bVertical, int nIndex)
{
    if (!m_pDocument)
        return;
    const KVBreakpointSet *set = m_pDocument->breakpoints();
    const QList<KVBreakpoint> &list = set->breakpoints(bVertical);
    if (nIndex < 0 || nIndex > list.size())
        return;
    // Index 0 is the base, the others follow the list.
    const int nId = nIndex == 0 ? 0 : list.at(nIndex - 1).nId;
    KVLayoutKey layout = set->currentLayout();
    (bVertical ? layout.nVLayoutId : layout.nHLayoutId) = nId;
    applyLayout(layout);
    if (bVertical)
        setContainerSize(m_nContainerW, set->fitSize(true, nId, m_nContainerH));
    else
        setContainerSize(set->fitSize(false, nId, m_nContainerW), m_nContainerH);
    updateUI();
}

void KVResponsiveToolbar::applyLayout(const KVLayoutKey &layout)
{
    if (m_pDocument && m_pDocument->breakpoints()->currentLayout() != layout)
        showLayout(m_pDocument, layout);
}

void KVResponsiveToolbar::setContainerSize(int nWidth, int nHeight)
{
    if (nWidth == m_nContainerW && nHeight == m_nContainerH)
        return;
    m_nContainerW = nWidth;
    m_nContainerH = nHeight;
    const QSignalBlocker blockW(m_pWidthSpin);
    const QSignalBlocker blockH(m_pHeightSpin);
    m_pWidthSpin->setValue(nWidth);
    m_pHeightSpin->setValue(nHeight);
}

void KVResponsiveToolbar::onContainerWChanged(int nValue)
{
    setContainerSize(nValue, m_nContainerH);
    if (m_pDocument)
        applyLayout(m_pDocument->breakpoints()->layoutFor(m_nContainerW, m_nContainerH));
    updateUI();
}

void KVResponsiveToolbar::onContainerHChanged(int nValue)
{
    setContainerSize(m_nContainerW, nValue);
    if (m_pDocument)
        applyLayout(m_pDocument->breakpoints()->layoutFor(m_nContainerW, m_nContainerH));
    updateUI();
}

void KVResponsiveToolbar::onShowContainerHandler()
{
    m_pContainerAction->setVisible(!m_pContainerAction->isVisible());
}

// --- Transform tools ----------------------------------------------------------------------------

void KVResponsiveToolbar::onDisableTools()
{
    toggleTransformTools(NoTool);
}

void KVResponsiveToolbar::onEnableTranslateTool()
{
    toggleTransformTools(TranslateTool);
}

void KVResponsiveToolbar::onEnableRotateTool()
{
    toggleTransformTools(RotateTool);
}

void KVResponsiveToolbar::onEnableScaleTool()
{
    toggleTransformTools(ScaleTool);
}

void KVResponsiveToolbar::onToggleRotateViewTool()
{
    // The action toggles itself when triggered; keep the check state as the user left it.
    emit transformToolsChanged(m_nTools);
}

void KVResponsiveToolbar::toggleTransformTools(int nTools)
{
    m_nTools = nTools & (TranslateTool | RotateTool | ScaleTool);
    updateTransformTools();
    emit transformToolsChanged(m_nTools);
}

void KVResponsiveToolbar::updateTransformTools()
{
    m_pTranslateAction->setChecked(m_nTools & TranslateTool);
    m_pRotateAction->setChecked(m_nTools & RotateTool);
    m_pScaleAction->setChecked(m_nTools & ScaleTool);
}

// --- Display ------------------------------------------------------------------------------------

void KVResponsiveToolbar::onUpdateBreakpoint()
{
    // A breakpoint added, removed or moved, or a layout shown by a command or its undo: the container
    // moves into the layout the document shows.
    if (m_pDocument) {
        const KVBreakpointSet *set = m_pDocument->breakpoints();
        const KVLayoutKey layout = set->currentLayout();
        if (set->layoutFor(m_nContainerW, m_nContainerH) != layout)
            setContainerSize(set->fitSize(false, layout.nHLayoutId, m_nContainerW),
                             set->fitSize(true, layout.nVLayoutId, m_nContainerH));
    }
    updateUI();
}

void KVResponsiveToolbar::onEditorActivated()
{
    if (m_pDocument)
        applyLayout(m_pDocument->breakpoints()->currentLayout());
    updateUI();
}

void KVResponsiveToolbar::updateUI()
{
    const KVBreakpointSet *set = m_pDocument ? m_pDocument->breakpoints() : nullptr;
    const bool bResponsive = set && set->isResponsiveMode();
    m_pResponsiveAction->setEnabled(set != nullptr);
    m_pResponsiveAction->setChecked(bResponsive);
    m_pAddButton->setEnabled(bResponsive);
    const auto layoutText = [set](bool bVertical) {
        const int nId = bVertical ? set->currentVId() : set->currentHId();
        const int nValue = set->valueOf(bVertical, nId);
        return nValue < 0 ? tr("Base") : valueText(nValue);
    };
    m_pHorizontalButton->setText(set ? layoutText(false) : tr("Base"));
    m_pVerticalButton->setText(set ? layoutText(true) : tr("Base"));
    m_pHorizontalButton->setEnabled(bResponsive && !set->hBreakpoints().isEmpty());
    m_pVerticalButton->setEnabled(bResponsive && !set->vBreakpoints().isEmpty());
    m_pRemoveHAction->setEnabled(bResponsive && set->currentHId() > 0);
    m_pRemoveVAction->setEnabled(bResponsive && set->currentVId() > 0);
    m_pWidthSpin->setEnabled(bResponsive);
    m_pHeightSpin->setEnabled(bResponsive);
    updateRangeUI();
    // The stage shows the container and the layout (it reloads only when one of them changed).
    if (set)
        emit containerSizeChanged(m_nContainerW, m_nContainerH);
}

QString KVResponsiveToolbar::rangeText() const
{
    if (!m_pDocument)
        return QString();
    const KVBreakpointSet *set = m_pDocument->breakpoints();
    const auto text = [set](bool bVertical) {
        const KVBreakpointSet::Range range = set->rangeOf(bVertical, bVertical ? set->currentVId() : set->currentHId());
        if (range.first < 0)
            return QStringLiteral("?");
        if (range.second < 0)
            return tr("%1px and up").arg(range.first);
        return tr("%1px to %2px").arg(range.first).arg(range.second - 1);
    };
    return tr("Width: %1, Height: %2").arg(text(false), text(true));
}

void KVResponsiveToolbar::updateRangeUI()
{
    m_pRangeLabel->setText(rangeText());
}
