#include "KVDocumentSettings.h"

#include "Reporter.h"
#include "model/KVJsonUtil.h"

#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>

using namespace KVJsonUtil;

namespace {
const QString kDefaultLoadingIndicatorProps = QStringLiteral("defaultLoadingIndicatorProps");
const QString kAutoplay = QStringLiteral("autoplay");
const QString kAutoKeyframeMode = QStringLiteral("autoKeyframeMode");
const QString kDocVersion = QStringLiteral("docVersion");
const QString kHasCustomLoader = QStringLiteral("hasCustomLoader");
const QString kLoaderType = QStringLiteral("loaderType");
// The key has always been spelled so; files depend on it.
const QString kEmbedSystemFont = QStringLiteral("embedSytemFont");
const QString kResFolderHtml5Output = QStringLiteral("resFolderHtml5Output");
const QString kPreResFolderHtml5Output = QStringLiteral("preResFolderHtml5Output");
const QString kViewportWMeta = QStringLiteral("viewportWMeta");
const QString kViewportHMeta = QStringLiteral("viewportHMeta");
const QString kContainerId = QStringLiteral("containerID");
const QString kHtmlOutput = QStringLiteral("htmlOutput");
const QString kCssDoc = QStringLiteral("cssDoc");
const QString kPlayControl = QStringLiteral("playControl");
const QString kClickTag = QStringLiteral("clickTag");
const QString kInitResponsive = QStringLiteral("initResponsive");

const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kFirstLetterCount = 42; // a-z, A-P
constexpr int kLetterCount = 52;
constexpr int kContainerIdLength = 8;
} // namespace

KVDocumentSettings::KVDocumentSettings()
    : m_strResFolderHtml5Output(defaultResFolder()),
      m_strPreResFolderHtml5Output(defaultPreResFolder()),
      m_strContainerId(newContainerId())
{
}

const QString &KVDocumentSettings::defaultClickTag()
{
    static const QString str = QStringLiteral("clickTag");
    return str;
}

bool KVDocumentSettings::isClickTagName(const QString &strName)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_$][A-Za-z0-9_$]*$"));
    return name.match(strName).hasMatch();
}

const QString &KVDocumentSettings::defaultResFolder()
{
    static const QString str = QStringLiteral("resources");
    return str;
}

const QString &KVDocumentSettings::defaultPreResFolder()
{
    static const QString str = QStringLiteral("preloader_resources");
    return str;
}

bool KVDocumentSettings::operator==(const KVDocumentSettings &o) const
{
    return m_bAutoplay == o.m_bAutoplay && m_bAutoKeyframeMode == o.m_bAutoKeyframeMode
        && m_bHasCustomLoader == o.m_bHasCustomLoader && m_nLoaderType == o.m_nLoaderType
        && m_bEmbedSystemFont == o.m_bEmbedSystemFont && m_strResFolderHtml5Output == o.m_strResFolderHtml5Output
        && m_strPreResFolderHtml5Output == o.m_strPreResFolderHtml5Output && m_nViewportWMeta == o.m_nViewportWMeta
        && m_nViewportHMeta == o.m_nViewportHMeta && m_strContainerId == o.m_strContainerId
        && m_strHtmlOutput == o.m_strHtmlOutput && m_strCssDoc == o.m_strCssDoc
        && m_bInitResponsive == o.m_bInitResponsive && m_bPlayControl == o.m_bPlayControl
        && m_strClickTag == o.m_strClickTag
        && m_defaultLoadingIndicator == o.m_defaultLoadingIndicator;
}

void KVDocumentSettings::toJson(QJsonObject &jo) const
{
    jo.insert(kDefaultLoadingIndicatorProps, m_defaultLoadingIndicator.toJson());
    jo.insert(kAutoplay, m_bAutoplay);
    jo.insert(kAutoKeyframeMode, m_bAutoKeyframeMode);
    jo.insert(kDocVersion, CurrentFormatVersion);
    jo.insert(kHasCustomLoader, m_bHasCustomLoader);
    jo.insert(kLoaderType, m_nLoaderType);
    jo.insert(kEmbedSystemFont, m_bEmbedSystemFont);
    jo.insert(kResFolderHtml5Output, m_strResFolderHtml5Output);
    jo.insert(kPreResFolderHtml5Output, m_strPreResFolderHtml5Output);
    jo.insert(kViewportWMeta, m_nViewportWMeta);
    jo.insert(kViewportHMeta, m_nViewportHMeta);
    jo.insert(kContainerId, m_strContainerId);
    jo.insert(kHtmlOutput, m_strHtmlOutput);
    jo.insert(kCssDoc, m_strCssDoc);
    jo.insert(kInitResponsive, m_bInitResponsive);
    // Written only when on, so that files without it stay as they were.
    if (m_bPlayControl)
        jo.insert(kPlayControl, true);
    if (m_strClickTag != defaultClickTag())
        jo.insert(kClickTag, m_strClickTag);
}

void KVDocumentSettings::fromJson(const QJsonObject &jo, int nFormatVersion)
{
    m_bHasCustomLoader = readBool(jo, kHasCustomLoader, false);
    m_bAutoKeyframeMode = readBool(jo, kAutoKeyframeMode, false);
    m_bAutoplay = readBool(jo, kAutoplay, false);
    m_bEmbedSystemFont = readBool(jo, kEmbedSystemFont, false);
    m_bInitResponsive = readBool(jo, kInitResponsive, false);
    m_bPlayControl = readBool(jo, kPlayControl, false);
    m_strClickTag = readString(jo, kClickTag);
    if (m_strClickTag.isEmpty()) {
        m_strClickTag = defaultClickTag();
    } else if (!isClickTagName(m_strClickTag)) {
        Reporter::warning(tr("The click tag \"%1\" is not a JavaScript name; the project uses \"%2\" instead.")
                              .arg(m_strClickTag, defaultClickTag()));
        m_strClickTag = defaultClickTag();
    }

    if (nFormatVersion < 2) {
        resetHtml5Output();
    } else {
        m_strResFolderHtml5Output = readString(jo, kResFolderHtml5Output);
        m_strPreResFolderHtml5Output = readString(jo, kPreResFolderHtml5Output);
        m_nViewportWMeta = readInt(jo, kViewportWMeta, 0);
        m_nViewportHMeta = readInt(jo, kViewportHMeta, 0);
        m_strContainerId = readString(jo, kContainerId);
        // The id is written into the exported page's markup and script as it is.
        if (!isHtmlId(m_strContainerId)) {
            const QString strNew = newContainerId();
            Reporter::warning(containerIdMessage(m_strContainerId) + QLatin1Char('\n')
                              + tr("The project uses the container id \"%1\" instead.").arg(strNew));
            m_strContainerId = strNew;
        }
        m_strHtmlOutput = readString(jo, kHtmlOutput);
        m_strCssDoc = readString(jo, kCssDoc);
    }

    m_nLoaderType = readInt(jo, kLoaderType, 0);
    m_defaultLoadingIndicator = KVLoadingIndicator::fromJson(readObject(jo, kDefaultLoadingIndicatorProps));
}

void KVDocumentSettings::resetHtml5Output()
{
    m_strResFolderHtml5Output = defaultResFolder();
    m_strPreResFolderHtml5Output = defaultPreResFolder();
    m_nViewportWMeta = -3;
    m_nViewportHMeta = -3;
    m_strContainerId = newContainerId();
    m_strHtmlOutput.clear();
    m_strCssDoc.clear();
}

QString KVDocumentSettings::newContainerId()
{
    QRandomGenerator *pRandom = QRandomGenerator::global();
    QString strId;
    strId.reserve(kContainerIdLength);
    strId.append(QLatin1Char(kLetters[pRandom->bounded(kFirstLetterCount)]));
    for (int n = 1; n < kContainerIdLength; ++n)
        strId.append(QLatin1Char(kLetters[pRandom->bounded(kLetterCount)]));
    return strId;
}

bool KVDocumentSettings::isValidContainerId(const QString &strId)
{
    if (strId.size() != kContainerIdLength)
        return false;
    for (int n = 0; n < strId.size(); ++n) {
        const int nLimit = n == 0 ? kFirstLetterCount : kLetterCount;
        const char *pEnd = kLetters + nLimit;
        if (strId.at(n).unicode() > 127 || std::find(kLetters, pEnd, strId.at(n).toLatin1()) == pEnd)
            return false;
    }
    return true;
}

bool KVDocumentSettings::isHtmlId(const QString &strId)
{
    static const QRegularExpression reId(QStringLiteral("^$|^[A-Za-z][A-Za-z0-9_-]*$"));
    return reId.match(strId).hasMatch();
}

QString KVDocumentSettings::containerIdMessage(const QString &strId)
{
    return tr("The container id \"%1\" is not a valid HTML id: it must start with a letter and hold only "
              "letters, digits, \"_\" and \"-\".")
        .arg(strId);
}
