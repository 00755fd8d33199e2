#include "ui/inspector/KVInspectorField.h"

#include "animation/KVPropertyCatalogue.h"
#include "commands/KVCommand.h"
#include "commands/KVEditContext.h"
#include "commands/KVElementCommandAction.h"
#include "commands/KVCmdParam.h"
#include "commands/KVInspectorOperation.h"
#include "commands/KVPropertyGroup.h"
#include "commands/KVTimelineOperation.h"
#include "model/KVElement.h"
#include "model/KVHTMLWidget.h"
#include "model/KVMedia.h"
#include "model/KVScene.h"
#include "ui/inspector/KVColorButton.h"
#include "ui/inspector/KVGradientStrip.h"
#include "ui/inspector/KVInspector.h"
#include "ui/inspector/KVOverrideLabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QEvent>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QToolButton>

namespace {
using Cat = KVPropertyCatalogue;
using P = KVCmdParam;

bool isFlagAction(int nType)
{
    return nType == 1013 || (nType >= 1022 && nType <= 1024);
}
} // namespace

KVInspectorField::KVInspectorField(const KVFieldSpec &spec, KVInspector *pInspector, QWidget *pParent)
    : QWidget(pParent)
    , m_spec(spec)
    , m_pInspector(pInspector)
{
    build();
}

void KVInspectorField::build()
{
    auto *pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    m_pLabel = new KVOverrideLabel(m_spec.strLabel, this);
    m_pLabel->setFixedWidth(126);
    pLayout->addWidget(m_pLabel);
    connect(m_pLabel, &KVOverrideLabel::removeOverride, this, [this] {
        m_pInspector->processCommand(KVInspectorOperation::removeOverride(m_pInspector->context(), m_spec.nCode, false), this);
    });
    connect(m_pLabel, &KVOverrideLabel::removeOverrideEverywhere, this, [this] {
        m_pInspector->processCommand(KVInspectorOperation::removeOverride(m_pInspector->context(), m_spec.nCode, true), this);
    });

    switch (m_spec.eWidget) {
    case KVFieldSpec::Number:
    case KVFieldSpec::Slider: {
        m_pSpin = new QDoubleSpinBox(this);
        m_pSpin->setKeyboardTracking(false);
        m_pSpin->setRange(m_spec.dMin, m_spec.dMax);
        m_pSpin->setDecimals(m_spec.dScale == 1 && m_spec.eTarget == KVFieldSpec::Geometry ? 1 : 0);
        m_pSpin->setSuffix(m_spec.strSuffix);
        m_pSpin->setAccelerated(true);
        m_pSpin->installEventFilter(this);
        connect(m_pSpin, qOverload<double>(&QDoubleSpinBox::valueChanged), this, [this](double d) {
            if (m_pSlider) {
                const QSignalBlocker block(m_pSlider);
                m_pSlider->setValue(qRound(d));
            }
            edit(d / m_spec.dScale);
        });
        m_pEditor = m_pSpin;
        if (m_spec.eWidget == KVFieldSpec::Slider) {
            m_pSlider = new QSlider(Qt::Horizontal, this);
            m_pSlider->setRange(int(m_spec.dMin), int(m_spec.dMax));
            pLayout->addWidget(m_pSlider, 1);
            connect(m_pSlider, &QSlider::sliderPressed, m_pInspector, &KVInspector::beginEdit);
            connect(m_pSlider, &QSlider::sliderReleased, m_pInspector, &KVInspector::endEdit);
            connect(m_pSlider, &QSlider::valueChanged, this, [this](int n) {
                const QSignalBlocker block(m_pSpin);
                m_pSpin->setValue(n);
                edit(n / m_spec.dScale);
            });
            m_pEditor = m_pSlider;
        }
        if (m_pSlider)
            m_pSpin->setFixedWidth(84);
        pLayout->addWidget(m_pSpin, m_pSlider ? 0 : 1);
        break;
    }
    case KVFieldSpec::Color:
        m_pColor = new KVColorButton(this);
        connect(m_pColor, &KVColorButton::editStarted, m_pInspector, &KVInspector::beginEdit);
        connect(m_pColor, &KVColorButton::editFinished, m_pInspector, &KVInspector::endEdit);
        connect(m_pColor, &KVColorButton::colorEditing, this, [this](const QColor &color) { edit(int(color.rgba())); });
        m_pEditor = m_pColor;
        pLayout->addWidget(m_pColor, 1, Qt::AlignLeft);
        break;
    case KVFieldSpec::Choice:
        m_pCombo = new QComboBox(this);
        m_pCombo->addItems(m_spec.choices);
        connect(m_pCombo, qOverload<int>(&QComboBox::activated), this,
                [this](int n) { edit(m_spec.choiceValues.isEmpty() ? n : m_spec.choiceValues.value(n)); });
        m_pEditor = m_pCombo;
        pLayout->addWidget(m_pCombo, 1);
        break;
    case KVFieldSpec::Font:
        m_pCombo = new QComboBox(this);
        m_pCombo->setEditable(true);
        m_pCombo->setInsertPolicy(QComboBox::NoInsert);
        connect(m_pCombo, qOverload<int>(&QComboBox::activated), this,
                [this](int n) { edit(m_pCombo->itemText(n)); });
        m_pEditor = m_pCombo;
        pLayout->addWidget(m_pCombo, 1);
        break;
    case KVFieldSpec::Check:
        m_pCheck = new QCheckBox(this);
        connect(m_pCheck, &QCheckBox::clicked, this, [this](bool b) { edit(b); });
        m_pEditor = m_pCheck;
        pLayout->addWidget(m_pCheck, 1);
        break;
    case KVFieldSpec::Code:
        // The widget's own HTML, applied when the editor loses the focus.
        m_pCode = new QPlainTextEdit(this);
        m_pCode->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_pCode->setMinimumHeight(160);
        m_pCode->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        m_pCode->installEventFilter(this);
        m_pEditor = m_pCode;
        pLayout->addWidget(m_pCode, 1);
        break;
    case KVFieldSpec::Stops:
        m_pStrip = new KVGradientStrip(this);
        connect(m_pStrip, &KVGradientStrip::editStarted, m_pInspector, &KVInspector::beginEdit);
        connect(m_pStrip, &KVGradientStrip::editFinished, m_pInspector, &KVInspector::endEdit);
        connect(m_pStrip, &KVGradientStrip::stopsEditing, this, [this](const QJsonArray &ja) { edit(QVariant(ja)); });
        m_pEditor = m_pStrip;
        pLayout->addWidget(m_pStrip, 1);
        break;
    }
    m_pEditor->setObjectName(QStringLiteral("field_%1_%2_%3").arg(m_spec.nGroup).arg(m_spec.nField).arg(m_spec.nCode));
    if (Cat::isValidCode(m_spec.nCode)) {
        m_pKey = new QToolButton(this);
        m_pKey->setAutoRaise(true);
        m_pKey->setText(QStringLiteral("\u25C7"));
        m_pKey->setToolTip(tr("Add Keyframe: %1").arg(Cat::displayName(m_spec.nCode)));
        connect(m_pKey, &QToolButton::clicked, this, &KVInspectorField::addOrRemoveKey);
        pLayout->addWidget(m_pKey);
    }
}

bool KVInspectorField::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == m_pCode && pEvent->type() == QEvent::FocusOut && m_pCode->document()->isModified()) {
        m_pCode->document()->setModified(false);
        edit(m_pCode->toPlainText());
    }
    // Holding a spin box's arrow (or dragging over it) is one step.
    if (pWatched == m_pSpin) {
        if (pEvent->type() == QEvent::MouseButtonPress)
            m_pInspector->beginEdit();
        else if (pEvent->type() == QEvent::MouseButtonRelease)
            m_pInspector->endEdit();
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

QList<KVElement *> KVInspectorField::targets() const
{
    // The scene's own settings edit the scene shown.
    if (m_spec.eTarget == KVFieldSpec::ElementValue && (m_spec.nGroup == 1013 || (m_spec.nGroup >= 1027 && m_spec.nGroup <= 1030))) {
        KVScene *pScene = m_pInspector->currentScene();
        return pScene ? QList<KVElement *>{pScene} : QList<KVElement *>{};
    }
    return m_pInspector->selection();
}

QVariant KVInspectorField::valueOf(const KVElement *pElement) const
{
    const KVLayoutKey layout = m_pInspector->layout();
    switch (m_spec.eTarget) {
    case KVFieldSpec::Geometry:
        if (Cat::isValidCode(m_spec.nCode))
            return KVTimelineOperation::currentValue(pElement, m_spec.nCode, layout);
        return KVElementCommandAction::geometryValue(pElement, m_spec.nField, layout);
    case KVFieldSpec::Group: {
        const QVariantList values = KVPropertyGroup::values(pElement, m_spec.nGroup, layout);
        return m_spec.nField < values.size() ? values.at(m_spec.nField) : QVariant();
    }
    case KVFieldSpec::ElementValue: {
        auto *pMedia = qobject_cast<const KVMedia *>(pElement);
        auto *pScene = qobject_cast<const KVScene *>(pElement);
        switch (m_spec.nGroup) {
        case 1022: return pMedia ? QVariant(pMedia->autoplay()) : QVariant();
        case 1023: return pMedia ? QVariant(pMedia->loop()) : QVariant();
        case 1024: return pMedia ? QVariant(pMedia->controls()) : QVariant();
        case 1013: return pScene ? QVariant(pScene->autoAdvance()) : QVariant();
        case 1028: return pScene ? QVariant(pScene->transitionDuration()) : QVariant();
        case 1033: {
            auto *pWidget = qobject_cast<const KVHTMLWidget *>(pElement);
            return pWidget ? QVariant(pWidget->srcdoc()) : QVariant();
        }
        default: return QVariant();
        }
    }
    }
    return QVariant();
}

void KVInspectorField::refresh()
{
    QVariant first;
    bool bMixed = false;
    bool bOverridden = false;
    int nKeyState = KVInspectorOperation::NoTrack;
    const KVEditContext c = m_pInspector->context();
    const KVLayoutKey layout = m_pInspector->layout();
    for (KVElement *pElement : targets()) {
        const QVariant value = valueOf(pElement);
        if (!value.isValid())
            continue;
        if (!first.isValid())
            first = value;
        else if (value != first)
            bMixed = true;
        if (m_spec.nCode >= 0 && !layout.isBase() && !pElement->isInherited(m_spec.nCode, layout))
            bOverridden = true;
        if (Cat::isValidCode(m_spec.nCode))
            nKeyState = qMax<int>(nKeyState, KVInspectorOperation::keyState(c, pElement, m_spec.nCode));
    }
    m_pLabel->setOverridden(bOverridden);
    setEnabled(first.isValid());
    const QList<KVElement *> list = targets();
    if (m_spec.eTarget == KVFieldSpec::Group && !list.isEmpty())
        setVisible(m_spec.appliesTo(KVPropertyGroup::values(list.first(), m_spec.nGroup, layout)));
    showValue(first, bMixed);
    if (m_pKey) {
        m_pKey->setText(nKeyState == KVInspectorOperation::KeyHere ? QStringLiteral("\u25C6") : QStringLiteral("\u25C7"));
        m_pKey->setProperty("keyState", nKeyState);
        m_pKey->setToolTip(nKeyState == KVInspectorOperation::KeyHere ? tr("Remove the keyframe at the current time")
                                                                       : tr("Add Keyframe: %1").arg(Cat::displayName(m_spec.nCode)));
        QPalette palette = m_pKey->palette();
        palette.setColor(QPalette::ButtonText, nKeyState == KVInspectorOperation::NoTrack ? QColor(Qt::gray) : QColor(214, 120, 30));
        m_pKey->setPalette(palette);
    }
}

void KVInspectorField::showValue(const QVariant &value, bool bMixed)
{
    m_bRefreshing = true;
    if (m_pSpin) {
        const QSignalBlocker block(m_pSpin);
        if (bMixed) {
            // Below the range: the spin box shows its special text for the mixed values.
            m_pSpin->setSpecialValueText(QStringLiteral("\u2014"));
            m_pSpin->setMinimum(m_spec.dMin - 1);
            m_pSpin->setValue(m_spec.dMin - 1);
        } else {
            m_pSpin->setSpecialValueText(QString());
            m_pSpin->setMinimum(m_spec.dMin);
            m_pSpin->setValue(value.toDouble() * m_spec.dScale);
        }
    }
    if (m_pSlider) {
        const QSignalBlocker block(m_pSlider);
        m_pSlider->setValue(qRound(value.toDouble() * m_spec.dScale));
    }
    if (m_pColor) {
        const QColor color = value.userType() == QMetaType::QColor ? value.value<QColor>() : QColor::fromRgba(QRgb(value.toInt()));
        m_pColor->setColor(bMixed || !value.isValid() ? QColor() : color);
        m_pColor->setRecentColors(m_pInspector->documentColors());
    }
    if (m_pCombo && m_spec.eWidget == KVFieldSpec::Font) {
        const QSignalBlocker block(m_pCombo);
        if (m_pCombo->count() == 0)
            m_pCombo->addItems(m_pInspector->fontFamilies());
        m_pCombo->setCurrentIndex(bMixed ? -1 : m_pCombo->findText(value.toString()));
        m_pCombo->setEditText(bMixed ? QString() : value.toString());
    } else if (m_pCombo) {
        const QSignalBlocker block(m_pCombo);
        const int nIndex = m_spec.choiceValues.isEmpty() ? value.toInt() : m_spec.choiceValues.indexOf(value.toInt());
        m_pCombo->setCurrentIndex(bMixed ? -1 : nIndex);
    }
    if (m_pCheck) {
        const QSignalBlocker block(m_pCheck);
        m_pCheck->setTristate(bMixed);
        m_pCheck->setCheckState(bMixed ? Qt::PartiallyChecked : (value.toBool() ? Qt::Checked : Qt::Unchecked));
    }
    if (m_pCode && !m_pCode->hasFocus()) {
        m_pCode->setPlainText(bMixed ? QString() : value.toString());
        m_pCode->document()->setModified(false);
    }
    if (m_pStrip && !bMixed)
        m_pStrip->setStops(value.toJsonArray());
    m_bRefreshing = false;
}

void KVInspectorField::edit(const QVariant &storedValue)
{
    if (m_bRefreshing)
        return;
    const KVEditContext c = m_pInspector->context();
    QString strText = m_spec.strText;
    KVCommand *pCommand = nullptr;
    switch (m_spec.eTarget) {
    case KVFieldSpec::Geometry: {
        const bool bInt = KVElementCommandAction::isIntGeometryCode(m_spec.nField);
        pCommand = KVInspectorOperation::setGeometry(c, m_spec.nField, bInt ? QVariant(qRound(storedValue.toDouble())) : storedValue,
                                                     strText);
        break;
    }
    case KVFieldSpec::Group: {
        QVariant value = storedValue;
        const QList<int> kinds = KVPropertyGroup::kinds(m_spec.nGroup);
        if (m_spec.nField < kinds.size() && kinds.at(m_spec.nField) == P::Int)
            value = qRound(storedValue.toDouble());
        pCommand = KVInspectorOperation::setGroupField(c, m_spec.nGroup, m_spec.nField, value, strText);
        break;
    }
    case KVFieldSpec::ElementValue: {
        if (!c.pTarget)
            break;
        pCommand = new KVCommand(c.pTarget, strText, c.pSender);
        for (KVElement *pElement : targets()) {
            if (valueOf(pElement) == storedValue)
                continue;
            auto *pAction = new KVElementCommandAction(m_spec.nGroup, c.pTarget, 2);
            pAction->addParam(P::makeObject(P::Element, pElement));
            if (m_spec.nGroup == 1033)
                pAction->addParam(P::makeString(storedValue.toString()));
            else
                pAction->addParam(isFlagAction(m_spec.nGroup) ? P::makeBool(storedValue.toBool()) : P::makeInt(storedValue.toInt()));
            pCommand->addAction(pAction);
        }
        if (pCommand->actions().isEmpty()) {
            delete pCommand;
            pCommand = nullptr;
        }
        break;
    }
    }
    m_pInspector->processCommand(pCommand, m_pEditor);
}

void KVInspectorField::addOrRemoveKey()
{
    const KVEditContext c = m_pInspector->context();
    bool bKeyHere = false;
    for (KVElement *pElement : m_pInspector->selection())
        bKeyHere = bKeyHere || KVInspectorOperation::keyState(c, pElement, m_spec.nCode) == KVInspectorOperation::KeyHere;
    m_pInspector->processCommand(bKeyHere ? KVInspectorOperation::removeKey(c, m_spec.nCode)
                                          : KVTimelineOperation::addKeyframe(c, m_spec.nCode),
                                 m_pKey);
}
