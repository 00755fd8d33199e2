#include "KVProjectFile.h"

#include "model/KVJsonReader.h"
#include "Reporter.h"
#include "document/IKVLocationStore.h"
#include "document/KVDocumentSettings.h"
#include "document/KVSymbol.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVJsonUtil.h"
#include "resources/KVFileCopier.h"
#include "resources/KVResourceManager.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>

namespace {
const QString kDocument = QStringLiteral("document");
const QString kAppName = QStringLiteral("appName");
const QString kLocations = QStringLiteral("locations");
const QString kDocVersion = QStringLiteral("docVersion");
const QString kResources = QStringLiteral("resources");
const QString kScripts = QStringLiteral("scripts");
} // namespace

KVProjectFile::KVProjectFile(KVSymbol *pSymbol, KVDocumentSettings *pSettings, const IKVDocumentContext *pContext)
    : m_pSymbol(pSymbol), m_pSettings(pSettings), m_pContext(pContext)
{
}

KVProjectFile::~KVProjectFile() = default;

QString KVProjectFile::appName()
{
    return QStringLiteral("Kavio Studio");
}

QString KVProjectFile::location(int nType) const
{
    return m_pLocationStore ? m_pLocationStore->location(nType) : m_locations.value(nType);
}

void KVProjectFile::setLocation(int nType, const QString &strPath)
{
    if (m_pLocationStore)
        m_pLocationStore->setLocation(nType, strPath);
    else
        m_locations.insert(nType, strPath);
}

// ---- Reading ------------------------------------------------------------------------------------

bool KVProjectFile::readFile(const QString &strPath, QJsonObject *pTop)
{
    if (!QFileInfo::exists(strPath)) {
        Reporter::error(tr("File doesn't exist.") + QLatin1Char('\n') + strPath);
        return false;
    }
    // Only a regular file: a device or a pipe in its place would be read forever.
    bool bRead = false;
    const QByteArray data = KVFileCopier::readRegularFile(strPath, -1, &bRead);
    if (!bRead) {
        Reporter::error(tr("Unable to read project data."));
        return false;
    }
    return readData(data, pTop);
}

bool KVProjectFile::readData(const QByteArray &data, QJsonObject *pTop)
{
    QJsonParseError error;
    const QJsonDocument doc = KVJsonReader::parse(data, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        Reporter::error(tr("The project file format is invalid."));
        return false;
    }
    const QJsonObject joTop = doc.object();
    if (pTop)
        *pTop = joTop;
    return read(joTop);
}

int KVProjectFile::formatVersionOf(const QJsonObject &joDocument)
{
    const QJsonValue value = joDocument.value(kDocVersion);
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (d >= -2147483648.0 && d <= 2147483647.0 && static_cast<double>(static_cast<int>(d)) == d)
            return static_cast<int>(d);
        return -1;
    }
    if (value.isString() && value.toString() == QLatin1String("1.0"))
        return 1;
    return -1;
}

QString KVProjectFile::outsideMessage(const QString &strName)
{
    return tr("%1 is outside the project folder and was not loaded.").arg(strName);
}

bool KVProjectFile::read(const QJsonObject &joTop)
{
    m_missingFiles.clear();
    m_outsideResources.clear();

    // 1. Only projects of this application.
    if (joTop.value(kAppName).toString() != appName()) {
        Reporter::error(tr("Not a valid %1 project.").arg(appName()));
        return false;
    }

    // 2, 3. Format version; an unknown or newer one opens only when the user accepts losses.
    const QJsonObject joDocument = KVJsonUtil::readObject(joTop, kDocument);
    m_nFormatVersion = formatVersionOf(joDocument);
    if (m_nFormatVersion == -1 || m_nFormatVersion >= 4) {
        const IReporter::Button answer = Reporter::question(
            tr("The project is incompatible with current application version.\n"
               "Do you want to open anyway (some information may be lost)?"),
            IReporter::Ok | IReporter::Cancel, IReporter::Ok);
        if (answer != IReporter::Ok)
            return false;
    }

    // 4. Remembered folders; an empty object leaves them as they are.
    const QJsonObject joLocations = KVJsonUtil::readObject(joTop, kLocations);
    if (!joLocations.isEmpty()) {
        for (int nType = FirstLocationType; nType <= LastLocationType; ++nType)
            setLocation(nType, KVJsonUtil::readString(joLocations, QString::number(nType)));
    }

    // 5. The symbol part: functions, resources, symbol resources, then the symbol data.
    m_pSymbol->functions()->fromJson(KVJsonUtil::readObject(joDocument, kScripts));

    KVResourceManager *pResources = m_pSymbol->resourceManager();
    const bool bComplete = pResources->fromJson(KVJsonUtil::readArray(joDocument, kResources), m_nFormatVersion,
                                                &m_missingFiles, &m_outsideResources);
    if (!m_outsideResources.isEmpty()) {
        QStringList lines;
        for (const QString &strName : m_outsideResources)
            lines << outsideMessage(strName);
        Reporter::warning(lines.join(QLatin1Char('\n')));
    }
    if (!bComplete) {
        const IReporter::Button answer = Reporter::question(
            tr("Some resource files cannot be loaded.\nDo you want to continue?"),
            IReporter::Yes | IReporter::No, IReporter::Yes);
        if (answer != IReporter::Yes)
            return false;
    }

    if (m_symbolLoader && !m_symbolLoader()) {
        Reporter::error(tr("Cannot open project.\nError while loading symbol resources."));
        return false;
    }

    if (!m_pSymbol->readSymbolData(joDocument, m_pContext)) {
        Reporter::error(tr("Cannot open project.\nError while loading scene data."));
        return false;
    }

    // 6 to 8. Document settings.
    m_pSettings->fromJson(joDocument, m_nFormatVersion);
    return true;
}

// ---- Writing ------------------------------------------------------------------------------------

bool KVProjectFile::toJson(QJsonObject &joTop) const
{
    QJsonObject joDocument;
    joDocument.insert(kResources, m_pSymbol->resourceManager()->toJson());
    joDocument.insert(kScripts, m_pSymbol->functions()->toJson());
    if (!joDocument.contains(kResources) || !joDocument.contains(kScripts))
        return false;
    if (!m_pSymbol->writeSymbolData(joDocument))
        return false;
    m_pSettings->toJson(joDocument);

    QJsonObject joLocations;
    for (int nType = FirstLocationType; nType <= LastLocationType; ++nType)
        joLocations.insert(QString::number(nType), location(nType));

    joTop.insert(kDocument, joDocument);
    joTop.insert(kAppName, appName());
    joTop.insert(kLocations, joLocations);
    return joTop.contains(kDocument) && joTop.contains(kLocations);
}

QByteArray KVProjectFile::toData() const
{
    QJsonObject joTop;
    if (!toJson(joTop))
        return QByteArray();
    return QJsonDocument(joTop).toJson(QJsonDocument::Compact);
}

bool KVProjectFile::writeFile(const QString &strPath) const
{
    const QByteArray data = toData();
    if (data.isEmpty()) {
        Reporter::error(tr("Cannot save project data."));
        return false;
    }
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly)) {
        Reporter::error(tr("Cannot write project data."));
        return false;
    }
    if (file.write(data) != data.size() || !file.commit()) {
        file.cancelWriting();
        Reporter::error(tr("Error when saving document information."));
        return false;
    }
    return true;
}
