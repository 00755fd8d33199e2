#include "DocumentManager.h"

#include "IDocument.h"
#include "PluginManager.h"

#include <QFileInfo>
#include <QSettings>
#include <QTimer>
#include <QUndoGroup>
#include <QUndoStack>

namespace {
const char kHBreakpoints[] = "Breakpoints/Horizontal";
const char kVBreakpoints[] = "Breakpoints/Vertical";
const char kAutobackup[] = "Backup/Enabled";
const char kAutobackupTimeout[] = "Backup/Timeout";

QStringList toStrings(const DocumentManager::Breakpoints &list)
{
    QStringList out;
    for (const auto &bp : list)
        out << QStringLiteral("%1:%2").arg(bp.first).arg(bp.second ? 1 : 0);
    return out;
}

DocumentManager::Breakpoints fromStrings(const QStringList &list)
{
    DocumentManager::Breakpoints out;
    for (const QString &s : list) {
        const QStringList parts = s.split(QLatin1Char(':'));
        bool ok = false;
        const int value = parts.value(0).toInt(&ok);
        if (ok && value > 0)
            out.append({value, parts.value(1) == QLatin1String("1")});
    }
    return out;
}

QString canonical(const QString &strFile)
{
    const QFileInfo fi(strFile);
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? fi.absoluteFilePath() : c;
}
} // namespace

DocumentManager::DocumentManager(QObject *pParent)
    : QObject(pParent)
    , m_pUndoGroup(new QUndoGroup(this))
    , m_pBackupTimer(new QTimer(this))
{
    m_pBackupTimer->setSingleShot(false);
    connect(m_pBackupTimer, &QTimer::timeout, this, &DocumentManager::backupAll);
}

DocumentManager::~DocumentManager() = default;

void DocumentManager::addDocument(IDocument *pDocument)
{
    if (!pDocument || m_documents.contains(pDocument))
        return;
    m_documents.append(pDocument);
    m_pUndoGroup->addStack(pDocument->getUndoStack());
    connect(pDocument, &QObject::destroyed, this, [this, pDocument] {
        m_documents.removeAll(pDocument);
    });
    emit documentAdded(pDocument);
}

void DocumentManager::removeDocument(IDocument *pDocument)
{
    if (!m_documents.removeAll(pDocument))
        return;
    m_pUndoGroup->removeStack(pDocument->getUndoStack());
    disconnect(pDocument, &QObject::destroyed, this, nullptr);
    emit documentRemoved(pDocument);
}

IDocument *DocumentManager::documentForFile(const QString &strFileName) const
{
    if (strFileName.isEmpty())
        return nullptr;
    const QString wanted = canonical(strFileName);
    for (IDocument *doc : m_documents) {
        if (!doc->getFileName().isEmpty() && canonical(doc->getFileName()) == wanted)
            return doc;
    }
    return nullptr;
}

void DocumentManager::initBreakpoints(bool bSave)
{
    m_hBreakpoints = {{480, true}, {768, true}, {1024, true}, {1280, false}, {1440, false}};
    m_vBreakpoints = {{480, false}, {768, false}, {1024, false}};
    if (bSave)
        saveSettings();
}

void DocumentManager::setAutoBackupEnabled(bool bEnabled)
{
    m_bAutobackup = bEnabled;
    if (!bEnabled)
        stopWaitingBackup();
}

void DocumentManager::setAutobackupTimeout(int nSeconds)
{
    m_nAutobackupTimeout = qMax(1, nSeconds);
    if (m_pBackupTimer->isActive())
        startWaitingBackup();
}

void DocumentManager::startWaitingBackup()
{
    if (!m_bAutobackup)
        return;
    m_pBackupTimer->start(m_nAutobackupTimeout * 1000);
}

void DocumentManager::stopWaitingBackup()
{
    m_pBackupTimer->stop();
}

bool DocumentManager::isWaitingBackup() const
{
    return m_pBackupTimer->isActive();
}

int DocumentManager::backupAll()
{
    int n = 0;
    for (IDocument *doc : qAsConst(m_documents)) {
        if (doc->isModified() && doc->saveBackup())
            ++n;
    }
    emit backupDone(n);
    return n;
}

void DocumentManager::readSettings()
{
    QSettings *s = ExtensionSystem::PluginManager::settings();
    m_hBreakpoints = fromStrings(s->value(QLatin1String(kHBreakpoints)).toStringList());
    m_vBreakpoints = fromStrings(s->value(QLatin1String(kVBreakpoints)).toStringList());
    m_bAutobackup = s->value(QLatin1String(kAutobackup), true).toBool();
    m_nAutobackupTimeout = qMax(1, s->value(QLatin1String(kAutobackupTimeout), 300).toInt());
}

void DocumentManager::saveSettings()
{
    QSettings *s = ExtensionSystem::PluginManager::settings();
    s->setValue(QLatin1String(kHBreakpoints), toStrings(m_hBreakpoints));
    s->setValue(QLatin1String(kVBreakpoints), toStrings(m_vBreakpoints));
    s->setValue(QLatin1String(kAutobackup), m_bAutobackup);
    s->setValue(QLatin1String(kAutobackupTimeout), m_nAutobackupTimeout);
    s->sync();
}
