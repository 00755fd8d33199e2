#include "KVScriptEditorOptionTab.h"

#include "KVCodeEdit.h"
#include "KVCodeEditorSettings.h"
#include "KVSyntaxHighlighter.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

KVScriptEditorOptionTab::KVScriptEditorOptionTab(QWidget *pParent)
    : IOptionPage(pParent)
{
    setObjectName(QStringLiteral("KVScriptEditorOptionTab"));
    auto *pLayout = new QHBoxLayout(this);
    auto *pLeft = new QVBoxLayout;
    auto *pFeatures = new QGroupBox(tr("Feature"), this);
    auto *pFeatureLayout = new QVBoxLayout(pFeatures);
    const QList<QPair<QString, QString>> switches = {
        {QStringLiteral("prebuilt_function"), tr("Show API")},   {QStringLiteral("text_wrap"), tr("Line Wrap")},
        {QStringLiteral("show_line_number"), tr("Line Number")}, {QStringLiteral("code_folding"), tr("Code Folding")},
        {QStringLiteral("code_suggestion"), tr("Code Suggestion")},
        {QStringLiteral("bracket_match"), tr("Bracket Matching")}};
    for (const auto &entry : switches) {
        auto *pBox = new QCheckBox(entry.second, pFeatures);
        pBox->setObjectName(entry.first);
        connect(pBox, &QCheckBox::toggled, this, &KVScriptEditorOptionTab::onToggleOptions);
        pFeatureLayout->addWidget(pBox);
        m_switches.insert(entry.first, pBox);
    }
    pLeft->addWidget(pFeatures);
    auto *pColorBox = new QGroupBox(tr("Color"), this);
    auto *pGrid = new QGridLayout(pColorBox);
    const QStringList classes = KVSyntaxHighlighter::textClasses();
    for (int i = 0; i < classes.size(); ++i) {
        auto *pButton = new QToolButton(pColorBox);
        pButton->setObjectName(classes.at(i));
        pButton->setFixedSize(22, 18);
        pButton->setProperty("textClass", classes.at(i));
        connect(pButton, &QToolButton::clicked, this, &KVScriptEditorOptionTab::onSelectColor);
        pGrid->addWidget(new QLabel(classes.at(i), pColorBox), i % 8, (i / 8) * 2);
        pGrid->addWidget(pButton, i % 8, (i / 8) * 2 + 1);
        m_colorButtons.insert(classes.at(i), pButton);
    }
    pLeft->addWidget(pColorBox);
    auto *pReset = new QPushButton(tr("Restore Defaults"), this);
    pReset->setObjectName(QStringLiteral("RestoreDefaults"));
    connect(pReset, &QPushButton::clicked, this, &KVScriptEditorOptionTab::resetDefault);
    pLeft->addWidget(pReset);
    pLeft->addStretch(1);
    pLayout->addLayout(pLeft);
    m_pPreview = new KVCodeEdit(this, KVCodeEdit::JavaScript);
    m_pPreview->setObjectName(QStringLiteral("Preview"));
    m_pPreview->setReadOnly(true);
    m_pPreview->setPlainText(sampleText());
    pLayout->addWidget(m_pPreview, 1);
}

QString KVScriptEditorOptionTab::sampleText()
{
    return QStringLiteral("function untitledFunction(no_parameter){\n\tvar string = 'this is string';\n\tvar number = 15;\n"
                          "\tif(number == 15) {\n\t\t// this is a comment\t\n\t\tnumber += 20;\n\t}\n\n}");
}

void KVScriptEditorOptionTab::initValues()
{
    KVCodeEditorSettings *pSettings = KVCodeEditorSettings::getInstance();
    for (auto it = m_switches.cbegin(); it != m_switches.cend(); ++it) {
        const QSignalBlocker blocker(it.value());
        it.value()->setChecked(pSettings->value(it.key()));
    }
    m_colors = pSettings->colors();
    showColors();
}

void KVScriptEditorOptionTab::showColors()
{
    for (auto it = m_colorButtons.cbegin(); it != m_colorButtons.cend(); ++it)
        it.value()->setStyleSheet(QStringLiteral("QToolButton{background-color: %1;}").arg(m_colors.value(it.key()).name()));
    if (m_pPreview->highlighter())
        m_pPreview->highlighter()->setColors(m_colors);
}

void KVScriptEditorOptionTab::saveChanges()
{
    KVCodeEditorSettings *pSettings = KVCodeEditorSettings::getInstance();
    {
        const QSignalBlocker blocker(pSettings);
        for (auto it = m_switches.cbegin(); it != m_switches.cend(); ++it)
            pSettings->setValue(it.key(), it.value()->isChecked());
        pSettings->setColors(m_colors);
    }
    // Every open code editor follows at once, once.
    emit pSettings->changed();
}

void KVScriptEditorOptionTab::resetDefault()
{
    for (auto it = m_switches.cbegin(); it != m_switches.cend(); ++it)
        it.value()->setChecked(it.key() != QLatin1String("text_wrap") && it.key() != QLatin1String("prebuilt_function"));
    m_colors = KVSyntaxHighlighter::defaultColors();
    showColors();
    setChanged(true);
    emit changed();
}

void KVScriptEditorOptionTab::onColorChanged(const QColor &color)
{
    if (!color.isValid() || m_strEditedClass.isEmpty())
        return;
    m_colors.insert(m_strEditedClass, color);
    showColors();
    setChanged(true);
    emit changed();
}

void KVScriptEditorOptionTab::onToggleOptions(bool)
{
    setChanged(true);
    emit changed();
}

void KVScriptEditorOptionTab::onSelectColor()
{
    m_strEditedClass = sender() ? sender()->property("textClass").toString() : QString();
    const QColor color = QColorDialog::getColor(m_colors.value(m_strEditedClass), this, m_strEditedClass);
    onColorChanged(color);
}
