#include "KVGeneralOptionTab.h"

#include "plugin/KVLocationManager.h"

#include "DocumentManager.h"
#include "FileDialogs.h"
#include "ICore.h"
#include "PluginManager.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
const QString kAutoUpdate = QStringLiteral("Kavio/AutoUpdate");
}

KVGeneralOptionTab::KVGeneralOptionTab(QWidget *pParent)
    : IOptionPage(pParent)
{
    setObjectName(QStringLiteral("KVGeneralOptionTab"));
    auto *pLayout = new QVBoxLayout(this);

    auto *pLocationBox = new QGroupBox(tr("Project Location"), this);
    auto *pLocationRow = new QHBoxLayout(pLocationBox);
    pLocationRow->addWidget(new QLabel(tr("Default Location"), pLocationBox));
    m_pLocation = new QLineEdit(pLocationBox);
    m_pLocation->setObjectName(QStringLiteral("DefaultLocation"));
    pLocationRow->addWidget(m_pLocation, 1);
    auto *pBrowse = new QPushButton(tr("Browse..."), pLocationBox);
    pLocationRow->addWidget(pBrowse);
    pLayout->addWidget(pLocationBox);

    auto *pBackupBox = new QGroupBox(tr("Backup"), this);
    auto *pBackupLayout = new QVBoxLayout(pBackupBox);
    m_pBackup = new QCheckBox(tr("Enable Auto-Backup"), pBackupBox);
    m_pBackup->setObjectName(QStringLiteral("AutoBackup"));
    pBackupLayout->addWidget(m_pBackup);
    auto *pEvery = new QHBoxLayout;
    pEvery->addWidget(new QLabel(tr("Automatically create backup every"), pBackupBox));
    m_pMinutes = new QSpinBox(pBackupBox);
    m_pMinutes->setObjectName(QStringLiteral("BackupMinutes"));
    m_pMinutes->setRange(1, 600);
    pEvery->addWidget(m_pMinutes);
    pEvery->addWidget(new QLabel(tr("minutes"), pBackupBox));
    pEvery->addStretch(1);
    pBackupLayout->addLayout(pEvery);
    pLayout->addWidget(pBackupBox);

    auto *pUpdateBox = new QGroupBox(tr("Automatic Updates"), this);
    auto *pUpdateLayout = new QVBoxLayout(pUpdateBox);
    m_pUpdates = new QCheckBox(tr("Automatically check for updates"), pUpdateBox);
    m_pUpdates->setObjectName(QStringLiteral("AutoUpdate"));
    pUpdateLayout->addWidget(m_pUpdates);
    pLayout->addWidget(pUpdateBox);
    pLayout->addStretch(1);

    connect(pBrowse, &QPushButton::clicked, this, &KVGeneralOptionTab::onBrowseLocation);
    connect(m_pLocation, &QLineEdit::textChanged, this, &KVGeneralOptionTab::onLocationChanged);
    connect(m_pBackup, &QCheckBox::toggled, this, [this](bool bOn) {
        m_pMinutes->setEnabled(bOn);
        markChanged();
    });
    connect(m_pMinutes, QOverload<int>::of(&QSpinBox::valueChanged), this, &KVGeneralOptionTab::markChanged);
    connect(m_pUpdates, &QCheckBox::toggled, this, &KVGeneralOptionTab::markChanged);
}

void KVGeneralOptionTab::markChanged()
{
    if (m_bLoading)
        return;
    setChanged(true);
    emit changed();
}

void KVGeneralOptionTab::initValues()
{
    m_bLoading = true;
    m_pLocation->setText(KVLocationManager::getInstance()->defaultLocation(KVLocationManager::NewProject));
    DocumentManager *pDocuments = ICore::instance() ? ICore::instance()->documentManager() : nullptr;
    m_pBackup->setChecked(pDocuments && pDocuments->isAutobackupEnabled());
    m_pMinutes->setValue(pDocuments ? qMax(1, pDocuments->getAutobackupTimeout() / 60) : 5);
    m_pMinutes->setEnabled(m_pBackup->isChecked());
    QSettings *pSettings = ExtensionSystem::PluginManager::settings();
    m_pUpdates->setChecked(pSettings ? pSettings->value(kAutoUpdate, true).toBool() : true);
    m_bLoading = false;
}

void KVGeneralOptionTab::saveChanges()
{
    if (!m_pLocation->text().trimmed().isEmpty())
        KVLocationManager::getInstance()->setDefaultLocation(KVLocationManager::NewProject, m_pLocation->text().trimmed());
    DocumentManager *pDocuments = ICore::instance() ? ICore::instance()->documentManager() : nullptr;
    if (pDocuments
        && (pDocuments->isAutobackupEnabled() != m_pBackup->isChecked()
            || pDocuments->getAutobackupTimeout() != m_pMinutes->value() * 60)) {
        const bool bWasOn = pDocuments->isAutobackupEnabled();
        pDocuments->setAutoBackupEnabled(m_pBackup->isChecked());
        pDocuments->setAutobackupTimeout(m_pMinutes->value() * 60);
        pDocuments->saveSettings();
        if (bWasOn)
            pDocuments->stopWaitingBackup();
        if (m_pBackup->isChecked())
            pDocuments->startWaitingBackup();
    }
    if (QSettings *pSettings = ExtensionSystem::PluginManager::settings())
        pSettings->setValue(kAutoUpdate, m_pUpdates->isChecked());
}

void KVGeneralOptionTab::onBrowseLocation()
{
    const QString strFolder = FileDialogs::getExistingDirectory(this, tr("Select Location"), m_pLocation->text());
    if (!strFolder.isEmpty())
        m_pLocation->setText(strFolder);
}

void KVGeneralOptionTab::onLocationChanged(const QString &)
{
    markChanged();
}
