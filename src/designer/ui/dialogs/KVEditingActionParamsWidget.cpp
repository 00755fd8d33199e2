#include "KVEditingActionParamsWidget.h"

#include "KVDocumentActionContext.h"

#include "interaction/KVActionCatalogue.h"
#include "interaction/KVActionDescription.h"
#include "interaction/KVActionKey.h"
#include "model/KVElementType.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QComboBox *comboOf(QWidget *pParent, const QString &strName)
{
    auto *pBox = new QComboBox(pParent);
    pBox->setObjectName(strName);
    return pBox;
}

void selectData(QComboBox *pBox, int nValue)
{
    const int nIndex = pBox->findData(nValue);
    pBox->setCurrentIndex(nIndex);
}

} // namespace

KVEditingActionParamsWidget::KVEditingActionParamsWidget(QWidget *pParent)
    : QWidget(pParent)
{
    setObjectName(QStringLiteral("ActionParamsEditor"));
    setWindowTitle(tr("Action Params Editor"));
    auto *pOuter = new QVBoxLayout(this);
    m_pForm = new QFormLayout;
    pOuter->addLayout(m_pForm);
    pOuter->addStretch(1);

    m_pType = comboOf(this, QStringLiteral("ActionType"));
    for (KVActionCatalogue::Group eGroup : KVActionCatalogue::groups()) {
        for (int nCode : KVActionCatalogue::codes(eGroup))
            m_pType->addItem(KVActionCatalogue::name(nCode), nCode);
    }
    m_pForm->addRow(tr("Action"), m_pType);
    m_pTarget = comboOf(this, QStringLiteral("ActionTarget"));
    m_pForm->addRow(tr("Target"), m_pTarget);

    auto *pTimeRow = new QWidget(this);
    auto *pTimeLayout = new QHBoxLayout(pTimeRow);
    pTimeLayout->setContentsMargins(0, 0, 0, 0);
    m_pTimeMode = comboOf(pTimeRow, QStringLiteral("TimeMode"));
    m_pTimeMode->addItem(tr("Time"));
    m_pTimeMode->addItem(tr("Label"));
    m_pTime = new QSpinBox(pTimeRow);
    m_pTime->setObjectName(QStringLiteral("Time"));
    m_pTime->setRange(0, 24 * 3600 * 1000);
    m_pTime->setSuffix(QStringLiteral(" ms"));
    m_pLabel = new QLineEdit(pTimeRow);
    m_pLabel->setObjectName(QStringLiteral("Label"));
    pTimeLayout->addWidget(m_pTimeMode);
    pTimeLayout->addWidget(m_pTime, 1);
    pTimeLayout->addWidget(m_pLabel, 1);
    m_pForm->addRow(tr("Time"), pTimeRow);

    m_pDirection = comboOf(this, QStringLiteral("Direction"));
    m_pDirection->addItem(tr("Forward"));
    m_pDirection->addItem(tr("Backward"));
    m_pForm->addRow(tr("Direction"), m_pDirection);
    m_pSpeed = new QSpinBox(this);
    m_pSpeed->setObjectName(QStringLiteral("Speed"));
    m_pSpeed->setRange(1, 10000);
    m_pSpeed->setSuffix(QStringLiteral("%"));
    m_pForm->addRow(tr("Speed"), m_pSpeed);
    m_pUrl = new QLineEdit(this);
    m_pUrl->setObjectName(QStringLiteral("Url"));
    m_pForm->addRow(tr("URL"), m_pUrl);
    m_pNewWindow = new QCheckBox(tr("Open in a new window"), this);
    m_pNewWindow->setObjectName(QStringLiteral("NewWindow"));
    m_pForm->addRow(QString(), m_pNewWindow);
    m_pText = new QLineEdit(this);
    m_pText->setObjectName(QStringLiteral("Text"));
    m_pForm->addRow(tr("Text"), m_pText);
    m_pVolume = new QSpinBox(this);
    m_pVolume->setObjectName(QStringLiteral("Volume"));
    m_pVolume->setRange(0, 100);
    m_pVolume->setSuffix(QStringLiteral("%"));
    m_pForm->addRow(tr("Volume"), m_pVolume);

    m_pFunction = comboOf(this, QStringLiteral("Function"));
    m_pForm->addRow(tr("Function"), m_pFunction);
    m_pFunctionButtons = new QWidget(this);
    auto *pButtons = new QHBoxLayout(m_pFunctionButtons);
    pButtons->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QString, void (KVEditingActionParamsWidget::*)()>> buttons = {
        {tr("Edit Function"), &KVEditingActionParamsWidget::editJsFunction},
        {tr("Add Function"), &KVEditingActionParamsWidget::addJsFunction}};
    for (const auto &button : buttons) {
        auto *pButton = new QPushButton(button.first, m_pFunctionButtons);
        pButton->setObjectName(button.first);
        connect(pButton, &QPushButton::clicked, this, button.second);
        pButtons->addWidget(pButton);
    }
    m_pForm->addRow(QString(), m_pFunctionButtons);

    m_pTransMode = comboOf(this, QStringLiteral("TransitionMode"));
    m_pTransMode->addItem(tr("Default"));
    m_pTransMode->addItem(tr("Custom"));
    m_pForm->addRow(tr("Transition"), m_pTransMode);
    m_pTransType = comboOf(this, QStringLiteral("TransitionType"));
    for (int nType = 0; nType <= 5; ++nType)
        m_pTransType->addItem(KVActionDescription::transitionTypeName(nType), nType);
    m_pForm->addRow(tr("Type"), m_pTransType);
    m_pTransDuration = new QSpinBox(this);
    m_pTransDuration->setObjectName(QStringLiteral("TransitionDuration"));
    m_pTransDuration->setRange(0, 60000);
    m_pTransDuration->setSuffix(QStringLiteral(" ms"));
    m_pForm->addRow(tr("Duration"), m_pTransDuration);
    m_pTransEasing = comboOf(this, QStringLiteral("TransitionEasing"));
    for (int nEasing = 0; nEasing <= 40; ++nEasing)
        m_pTransEasing->addItem(KVActionDescription::easingName(nEasing), nEasing);
    m_pForm->addRow(tr("Easing"), m_pTransEasing);
    m_pTransDirection = comboOf(this, QStringLiteral("TransitionDirection"));
    for (int nDirection = 0; nDirection <= 7; ++nDirection)
        m_pTransDirection->addItem(KVActionDescription::transitionDirectionName(nDirection), nDirection);
    m_pForm->addRow(tr("Direction"), m_pTransDirection);

    connect(m_pType, QOverload<int>::of(&QComboBox::activated), this, &KVEditingActionParamsWidget::onTypeChosen);
    for (QComboBox *pBox : {m_pTarget, m_pDirection, m_pTransEasing, m_pTransDirection})
        connect(pBox, QOverload<int>::of(&QComboBox::activated), this, &KVEditingActionParamsWidget::commit);
    connect(m_pFunction, QOverload<int>::of(&QComboBox::activated), this, &KVEditingActionParamsWidget::changeJsFunction);
    connect(m_pTimeMode, QOverload<int>::of(&QComboBox::activated), this, [this] {
        updateTimeLabelVisibility();
        commit();
    });
    connect(m_pTransMode, QOverload<int>::of(&QComboBox::activated), this, [this] {
        updateTransModeUI();
        commit();
    });
    connect(m_pTransType, QOverload<int>::of(&QComboBox::activated), this, [this](int nIndex) {
        updateTransCustomUI(nIndex);
        commit();
    });
    for (QSpinBox *pSpin : {m_pTime, m_pSpeed, m_pVolume, m_pTransDuration})
        connect(pSpin, &QSpinBox::editingFinished, this, &KVEditingActionParamsWidget::commit);
    for (QLineEdit *pEdit : {m_pLabel, m_pUrl, m_pText})
        connect(pEdit, &QLineEdit::editingFinished, this, &KVEditingActionParamsWidget::commit);
    connect(m_pNewWindow, &QCheckBox::clicked, this, &KVEditingActionParamsWidget::commit);
    setAction(0, QJsonObject());
}

void KVEditingActionParamsWidget::setRowVisible(QWidget *pField, bool bVisible)
{
    pField->setVisible(bVisible);
    if (QWidget *pLabel = m_pForm->labelForField(pField))
        pLabel->setVisible(bVisible);
}

void KVEditingActionParamsWidget::setAction(int nAction, const QJsonObject &joActionData)
{
    using namespace KVActionKey;
    const QSignalBlocker blocker(this);
    m_bLoading = true;
    m_nAction = nAction;
    m_joData = joActionData;
    selectData(m_pType, nAction);
    fillTargets();
    const QJsonValue time = joActionData.value(Time);
    m_pTimeMode->setCurrentIndex(time.isString() ? 1 : 0);
    m_pTime->setValue(time.isString() ? 0 : time.toInt());
    m_pLabel->setText(time.isString() ? time.toString() : QString());
    const double dSpeed = joActionData.value(Speed).toDouble(100);
    m_pDirection->setCurrentIndex(dSpeed < 0 ? 1 : 0);
    m_pSpeed->setValue(qRound(qAbs(dSpeed)));
    m_pUrl->setText(joActionData.value(Url).toString());
    m_pNewWindow->setChecked(joActionData.value(NewWindow).toBool(true));
    m_pText->setText(joActionData.value(Text).toString());
    m_pVolume->setValue(joActionData.value(Volume).toInt(100));
    m_pFunction->clear();
    m_pFunction->addItem(QString(), KVActionCatalogue::NoFunction);
    if (m_pContext) {
        for (const auto &choice : m_pContext->functionChoices())
            m_pFunction->addItem(choice.first, choice.second);
    }
    selectData(m_pFunction, joActionData.value(FunctionId).toInt(KVActionCatalogue::NoFunction));
    m_pTransMode->setCurrentIndex(joActionData.value(TransDefault).toBool(true) ? 0 : 1);
    selectData(m_pTransType, joActionData.value(TransType).toInt(0));
    m_pTransDuration->setValue(joActionData.value(TransDuration).toInt(0));
    selectData(m_pTransEasing, joActionData.value(TransEasing).toInt(-1));
    selectData(m_pTransDirection, joActionData.value(TransDirection).toInt(-1));
    updateEditorVisibility();
    m_bLoading = false;
}

void KVEditingActionParamsWidget::fillTargets()
{
    using A = KVActionCatalogue;
    m_pTarget->clear();
    if (!m_pContext)
        return;
    KVDocumentActionContext::Choices choices;
    int nCurrent = A::NoTarget;
    if (A::isTimelineAction(m_nAction)) {
        choices = m_pContext->timelineChoices();
        nCurrent = m_joData.value(KVActionKey::TimelineId).toInt(A::MainTimeline);
    } else if (m_nAction == A::JumpToScene) {
        choices = m_pContext->sceneChoices();
        nCurrent = m_joData.value(KVActionKey::SceneId).toInt(A::NextScene);
    } else if (A::parameterKeys(m_nAction).contains(QString(KVActionKey::ElementId))) {
        if (A::isSymbolAction(m_nAction)) {
            choices = {{A::currentSymbolName(), A::CurrentSymbol}, {A::parentSymbolName(), A::ParentSymbol}};
            choices += m_pContext->elementChoices({KVElementType::Symbol});
        } else if (A::isMediaAction(m_nAction)) {
            choices = m_pContext->elementChoices(m_nAction == A::PlayVideoFullScreen
                                                     ? QList<int>{KVElementType::Video}
                                                     : QList<int>{KVElementType::Audio, KVElementType::Video});
        } else if (m_nAction == A::ChangeText) {
            choices = m_pContext->elementChoices({KVElementType::Text});
        } else {
            choices = m_pContext->elementChoices();
        }
        nCurrent = m_joData.value(KVActionKey::ElementId).toInt(A::NoTarget);
    }
    for (const auto &choice : qAsConst(choices))
        m_pTarget->addItem(choice.first, choice.second);
    selectData(m_pTarget, nCurrent);
}

void KVEditingActionParamsWidget::updateEditorVisibility()
{
    using namespace KVActionKey;
    const QStringList keys = KVActionCatalogue::parameterKeys(m_nAction);
    setRowVisible(m_pType, m_nAction != 0);
    setRowVisible(m_pTarget, keys.contains(QString(TimelineId)) || keys.contains(QString(ElementId))
                                 || keys.contains(QString(SceneId)));
    setRowVisible(m_pTime->parentWidget(), keys.contains(QString(Time)));
    // Media play from a time, never from a label.
    m_pTimeMode->setVisible(!KVActionCatalogue::isMediaAction(m_nAction));
    const bool bSpeed = keys.contains(QString(Speed));
    setRowVisible(m_pDirection, bSpeed && !KVActionCatalogue::isMediaAction(m_nAction));
    setRowVisible(m_pSpeed, bSpeed);
    setRowVisible(m_pUrl, keys.contains(QString(Url)));
    setRowVisible(m_pNewWindow, keys.contains(QString(NewWindow)));
    setRowVisible(m_pText, keys.contains(QString(Text)));
    setRowVisible(m_pVolume, keys.contains(QString(Volume)));
    setRowVisible(m_pFunction, keys.contains(QString(FunctionId)));
    setRowVisible(m_pFunctionButtons, keys.contains(QString(FunctionId)));
    setRowVisible(m_pTransMode, keys.contains(QString(TransDefault)));
    updateTimeLabelVisibility();
    updateTransModeUI();
}

void KVEditingActionParamsWidget::updateTimeLabelVisibility()
{
    const bool bLabel = m_pTimeMode->isVisible() && m_pTimeMode->currentIndex() == 1;
    m_pTime->setVisible(!bLabel);
    m_pLabel->setVisible(bLabel);
}

void KVEditingActionParamsWidget::updateTransModeUI()
{
    const bool bCustom = m_nAction == KVActionCatalogue::JumpToScene && m_pTransMode->currentIndex() == 1;
    setRowVisible(m_pTransType, bCustom);
    updateTransCustomUI(bCustom ? m_pTransType->currentIndex() : -1);
}

void KVEditingActionParamsWidget::updateTransCustomUI(int nTransType)
{
    // Fade, push, wipe, cover and uncover take a duration and easing; push and the rest a direction.
    setRowVisible(m_pTransDuration, nTransType > 0);
    setRowVisible(m_pTransEasing, nTransType > 0);
    setRowVisible(m_pTransDirection, nTransType > 1);
}

void KVEditingActionParamsWidget::onTypeChosen()
{
    const int nCode = m_pType->currentData().toInt();
    if (nCode == m_nAction)
        return;
    const QJsonObject data = KVActionCatalogue::defaultActionData(nCode, std::nullopt, m_pContext);
    setAction(nCode, data);
    emit actionEdited(m_nAction, m_joData);
}

void KVEditingActionParamsWidget::commit()
{
    using namespace KVActionKey;
    if (m_bLoading || m_nAction == 0)
        return;
    QJsonObject data = m_joData;
    const QStringList keys = KVActionCatalogue::parameterKeys(m_nAction);
    const auto put = [&](const QLatin1String &key, const QJsonValue &value) {
        if (keys.contains(QString(key)))
            data.insert(key, value);
    };
    if (m_pTarget->currentIndex() >= 0) {
        const int nTarget = m_pTarget->currentData().toInt();
        put(TimelineId, nTarget);
        put(ElementId, nTarget);
        put(SceneId, nTarget);
    }
    if (m_pTimeMode->isVisible() && m_pTimeMode->currentIndex() == 1)
        put(Time, m_pLabel->text());
    else
        put(Time, m_pTime->value());
    put(Speed, m_pDirection->isVisible() && m_pDirection->currentIndex() == 1 ? -m_pSpeed->value() : m_pSpeed->value());
    put(Url, m_pUrl->text());
    put(NewWindow, m_pNewWindow->isChecked());
    put(Text, m_pText->text());
    put(Volume, m_pVolume->value());
    put(FunctionId, m_pFunction->currentIndex() >= 0 ? m_pFunction->currentData().toInt() : KVActionCatalogue::NoFunction);
    put(TransDefault, m_pTransMode->currentIndex() == 0);
    put(TransType, m_pTransType->currentData().toInt());
    put(TransDuration, m_pTransDuration->value());
    put(TransEasing, m_pTransEasing->currentIndex() >= 0 ? m_pTransEasing->currentData().toInt() : -1);
    put(TransDirection, m_pTransDirection->currentIndex() >= 0 ? m_pTransDirection->currentData().toInt() : -1);
    if (data == m_joData)
        return;
    m_joData = data;
    emit actionEdited(m_nAction, m_joData);
}

void KVEditingActionParamsWidget::editJsFunction()
{
    const int nId = m_pFunction->currentData().toInt();
    if (nId != KVActionCatalogue::NoFunction)
        emit editFunctionRequested(nId);
}

void KVEditingActionParamsWidget::changeJsFunction()
{
    if (m_bLoading || m_nAction != KVActionCatalogue::RunJavaScript)
        return;
    const int nId = m_pFunction->currentData().toInt();
    if (m_joData.value(KVActionKey::FunctionId).toInt(KVActionCatalogue::NoFunction) == nId)
        return;
    m_joData.insert(KVActionKey::FunctionId, nId);
    emit changeFunctionRequested(nId);
}

void KVEditingActionParamsWidget::addJsFunction()
{
    emit addFunctionRequested();
}
