#include "KVNewProjectDialog.h"

#include "KVLocationManager.h"

#include "DocumentManager.h"
#include "ICore.h"
#include "IDocument.h"
#include "Reporter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSize>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
bool endsWithExtension(const QString &strName)
{
    return strName.endsWith(QLatin1Char('.') + KVNewProjectDialog::projectExtension(), Qt::CaseInsensitive);
}

QString canonicalOrAbsolute(const QString &strPath)
{
    const QFileInfo fi(strPath);
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? fi.absoluteFilePath() : c;
}
} // namespace

KVNewProjectDialog::KVNewProjectDialog(QWidget *pParent)
    : ICreateDocumentDlg(pParent)
    , m_pName(new QLineEdit(this))
    , m_pLocation(new QLineEdit(this))
    , m_pWidth(new QSpinBox(this))
    , m_pHeight(new QSpinBox(this))
    , m_pScenes(new QSpinBox(this))
    , m_pPresets(new QToolButton(this))
    , m_pResponsive(new QCheckBox(tr("Responsive Layout"), this))
    , m_pBreakpoints(new QPushButton(tr("Breakpoints"), this))
    , m_pDefaultLocation(new QCheckBox(tr("Use as default location"), this))
{
    setWindowTitle(tr("New Project"));
    setObjectName(QStringLiteral("KVNewProjectDialog"));

    m_pName->setObjectName(QStringLiteral("name"));
    m_pName->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^[^//\\\\:*?\"<>|]*$")), m_pName));
    m_pName->setText(QStringLiteral("untitled"));
    m_pName->selectAll();
    connect(m_pName, &QLineEdit::editingFinished, this, &KVNewProjectDialog::onEditingNameFinished);

    m_pLocation->setObjectName(QStringLiteral("location"));
    m_pLocation->setText(KVLocationManager::getInstance()->lastLocation(KVLocationManager::NewProject));
    auto *browse = new QPushButton(tr("Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &KVNewProjectDialog::onBrowseLocation);

    for (QSpinBox *box : {m_pWidth, m_pHeight}) {
        box->setRange(1, 10000);
        box->setSuffix(QStringLiteral(" px"));
    }
    m_pWidth->setValue(800);
    m_pHeight->setValue(600);
    m_pScenes->setRange(1, 100);
    m_pScenes->setValue(1);

    auto *presets = new QMenu(m_pPresets);
    for (const char *size : {"400 x 300", "640 x 480", "720 x 480", "800 x 600", "1024 x 768", "1080 x 720",
                             "1920 x 1080"})
        presets->addAction(QString::fromLatin1(size));
    // The common display ad sizes of the IAB's ad unit portfolio.
    presets->addSection(tr("Ad sizes (IAB)"));
    const struct
    {
        int nWidth;
        int nHeight;
        const char *pszName;
    } adSizes[] = {{300, 250, QT_TR_NOOP("Medium Rectangle")}, {728, 90, QT_TR_NOOP("Leaderboard")},
                   {160, 600, QT_TR_NOOP("Wide Skyscraper")},  {300, 600, QT_TR_NOOP("Half Page")},
                   {320, 50, QT_TR_NOOP("Mobile Banner")},     {320, 100, QT_TR_NOOP("Large Mobile Banner")},
                   {970, 250, QT_TR_NOOP("Billboard")},        {336, 280, QT_TR_NOOP("Large Rectangle")}};
    for (const auto &ad : adSizes)
        presets->addAction(QStringLiteral("%1 x %2 (%3)").arg(ad.nWidth).arg(ad.nHeight).arg(tr(ad.pszName)))
            ->setData(QSize(ad.nWidth, ad.nHeight));
    connect(presets, &QMenu::triggered, this, &KVNewProjectDialog::onPresetSizeChanged);
    m_pPresets->setMenu(presets);
    m_pPresets->setPopupMode(QToolButton::InstantPopup);
    m_pPresets->setText(tr("Presets"));

    m_pBreakpoints->setEnabled(false);
    connect(m_pResponsive, &QCheckBox::toggled, this, &KVNewProjectDialog::onEnableResponsive);
    connect(m_pBreakpoints, &QPushButton::clicked, this, &KVNewProjectDialog::onShowBreakpointsList);

    // The host's breakpoint presets are made on first use.
    if (ICore *core = ICore::instance()) {
        DocumentManager *dm = core->documentManager();
        if (dm->getHBreakpoints().isEmpty() && dm->getVBreakpoints().isEmpty()) {
            dm->initBreakpoints(true);
            dm->saveSettings();
        }
    }

    auto *form = new QFormLayout;
    form->addRow(tr("Name:"), m_pName);
    auto *locationRow = new QHBoxLayout;
    locationRow->addWidget(m_pLocation, 1);
    locationRow->addWidget(browse);
    form->addRow(tr("Location:"), locationRow);
    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(m_pWidth);
    sizeRow->addWidget(m_pHeight);
    sizeRow->addWidget(m_pPresets);
    form->addRow(tr("Size:"), sizeRow);
    form->addRow(tr("Scenes:"), m_pScenes);
    auto *responsiveRow = new QHBoxLayout;
    responsiveRow->addWidget(m_pResponsive);
    responsiveRow->addWidget(m_pBreakpoints);
    form->addRow(QString(), responsiveRow);
    form->addRow(QString(), m_pDefaultLocation);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &KVNewProjectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &KVNewProjectDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

KVNewProjectDialog::~KVNewProjectDialog() = default;

QList<QAction *> KVNewProjectDialog::presetActions() const
{
    return m_pPresets->menu()->actions();
}

QString KVNewProjectDialog::folderNameFor(const QString &strName)
{
    return endsWithExtension(strName) ? QFileInfo(strName).completeBaseName() : strName;
}

QString KVNewProjectDialog::fileNameFor(const QString &strName)
{
    return endsWithExtension(strName) ? strName : strName + QLatin1Char('.') + projectExtension();
}

QString KVNewProjectDialog::getFilePath() const
{
    if (!m_strFilePath.isEmpty())
        return m_strFilePath;
    const QString name = m_pName->text().trimmed();
    return QDir(m_pLocation->text()).filePath(folderNameFor(name) + QLatin1Char('/') + fileNameFor(name));
}

int KVNewProjectDialog::getWidth() const
{
    return m_pWidth->value();
}

int KVNewProjectDialog::getHeight() const
{
    return m_pHeight->value();
}

int KVNewProjectDialog::getSceneCount() const
{
    return m_pScenes->value();
}

bool KVNewProjectDialog::isResponsive() const
{
    return m_pResponsive->isChecked();
}

void KVNewProjectDialog::onBrowseLocation()
{
    const QString dir = QFileDialog::getExistingDirectory(
        this, tr("Select Folder"), KVLocationManager::getInstance()->lastLocation(KVLocationManager::NewProject),
        QFileDialog::ShowDirsOnly);
    if (!dir.isEmpty())
        m_pLocation->setText(QDir::toNativeSeparators(dir));
}

void KVNewProjectDialog::onEditingNameFinished()
{
    const QString name = m_pName->text().trimmed();
    if (endsWithExtension(name))
        m_pName->setText(QFileInfo(name).completeBaseName().trimmed() + QLatin1Char('.') + projectExtension());
    else
        m_pName->setText(name);
}

void KVNewProjectDialog::onPresetSizeChanged(QAction *pAction)
{
    QSize size = pAction->data().toSize();
    if (!size.isValid()) {
        const QStringList parts = pAction->text().split(QStringLiteral(" x "));
        if (parts.size() != 2)
            return;
        size = QSize(parts.at(0).toInt(), parts.at(1).toInt());
    }
    m_pWidth->setValue(size.width());
    m_pHeight->setValue(size.height());
}

void KVNewProjectDialog::onShowBreakpointsList()
{
    // The breakpoint presets are edited by the breakpoints dialog of the responsive tools.
    emit breakpointsRequested();
}

void KVNewProjectDialog::onEnableResponsive()
{
    m_pBreakpoints->setEnabled(m_pResponsive->isChecked());
}

void KVNewProjectDialog::accept()
{
    const QString location = m_pLocation->text().trimmed();
    const QDir locationDir(location);
    if (location.isEmpty() || !locationDir.exists()) {
        Reporter::error(tr("The selected directory doesn't exist."));
        return;
    }

    const QString name = m_pName->text().trimmed();
    const QString folderName = folderNameFor(name);
    const QString folderPath = locationDir.filePath(folderName);
    if (folderName.isEmpty() || (!QFileInfo(folderPath).isDir() && !locationDir.mkdir(folderName))
        || !QFileInfo(folderPath).isDir() || !QFileInfo(folderPath).isExecutable()) {
        Reporter::error(tr("Could not create folder to store project files."));
        return;
    }
    const QDir projectDir(folderPath);

    const QString filePath = projectDir.filePath(fileNameFor(name));
    if (QFileInfo::exists(filePath)) {
        if (Reporter::question(tr("The folder contains an existing project.\nDo you want to overwrite it?"),
                               IReporter::Yes | IReporter::No, IReporter::Yes)
            != IReporter::Yes)
            return;
        if (ICore *core = ICore::instance()) {
            const QString wanted = canonicalOrAbsolute(filePath);
            for (IDocument *doc : core->documentManager()->getDocuments()) {
                if (!doc->getFileName().isEmpty() && canonicalOrAbsolute(doc->getFileName()) == wanted) {
                    Reporter::error(tr("Could not overwrite an opening project."));
                    return;
                }
            }
        }
        bool ok = QFile::remove(filePath);
        const QString backup = projectDir.filePath(folderName + QStringLiteral(".kaviobak"));
        if (ok && QFileInfo::exists(backup))
            ok = QFile::remove(backup);
        QDir resources(projectDir.filePath(folderName + QStringLiteral("_res")));
        if (ok && resources.exists())
            ok = resources.removeRecursively();
        if (!ok) {
            Reporter::error(tr("Unable to overwrite an existing project."));
            return;
        }
    }

    if (m_pDefaultLocation->isChecked()) {
        KVLocationManager *lm = KVLocationManager::getInstance();
        lm->setLastLocation(KVLocationManager::NewProject, location);
        lm->saveHistory();
    }
    m_strFilePath = filePath;
    QDialog::accept();
}
