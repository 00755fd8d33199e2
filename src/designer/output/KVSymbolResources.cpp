#include "KVSymbolResources.h"

#include "model/KVJsonReader.h"
#include "document/KVSymbol.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "model/KVSymbolElement.h"
#include "output/KVPlayerData.h"
#include "resources/KVResource.h"
#include "resources/KVResourceType.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QtDebug>

KVSymbolResources::KVSymbolResources() = default;

KVSymbolResources::~KVSymbolResources() = default;

bool KVSymbolResources::load(const KVResourceManager *pManager, const IKVDocumentContext *pContext)
{
    m_symbols.clear();
    if (!pManager)
        return true;
    bool bOk = true;
    for (const KVResource *pResource : pManager->liveResources(KVResourceType::Symbol)) {
        auto pSymbol = std::make_shared<KVSymbol>();
        if (!readSymbolFile(*pSymbol, pManager->filePath(pResource), pContext)) {
            bOk = false;
            continue;
        }
        m_symbols.insert(pResource->id(), pSymbol);
    }
    // The instances inside the symbols play the other symbols.
    for (const auto &pSymbol : qAsConst(m_symbols))
        attach(*pSymbol);
    return bOk;
}

KVSymbol *KVSymbolResources::symbol(int nResourceId) const
{
    return m_symbols.value(nResourceId).get();
}

void KVSymbolResources::attach(KVElement *pRoot, bool bKeepAttached) const
{
    if (!pRoot)
        return;
    const bool bAttached = pRoot->type() == KVElementType::Symbol
        && static_cast<KVSymbolElement *>(pRoot)->symbolTimeline() != nullptr;
    if (pRoot->type() == KVElementType::Symbol && !(bKeepAttached && bAttached)) {
        auto *pInstance = static_cast<KVSymbolElement *>(pRoot);
        // An instance of a symbol that was not read keeps what it has.
        if (const KVSymbol *pSymbol = symbol(pInstance->symbolId())) {
            const KVScene *pFirst = pSymbol->sceneList()->at(0);
            pInstance->setSymbolTimeline(pFirst ? pFirst->mainTimeline() : nullptr);
            pInstance->setSymbolBreakpoints(pSymbol->breakpoints());
        }
    }
    for (KVElement *pChild : pRoot->children())
        attach(pChild, bKeepAttached);
}

void KVSymbolResources::attach(const KVSymbol &owner, bool bKeepAttached) const
{
    for (KVScene *pScene : owner.sceneList()->scenes())
        attach(pScene, bKeepAttached);
}

QJsonObject KVSymbolResources::playerData(const KVResource &resource) const
{
    KVSymbol *pSymbol = symbol(resource.id());
    return pSymbol ? KVPlayerData::symbolResourceJson(*pSymbol) : QJsonObject();
}

KVResourceManager::SymbolDataWriter KVSymbolResources::writer() const
{
    return [this](const KVResource &resource) { return playerData(resource); };
}

bool KVSymbolResources::writeSymbol(const KVSymbol &symbol, QIODevice &device)
{
    QJsonObject jo;
    const QByteArray data = symbol.writeSymbolData(jo) ? QJsonDocument(jo).toJson(QJsonDocument::Compact) : QByteArray();
    if (data.isEmpty() || device.write(data) != data.size()) {
        qWarning() << "Could not save symbol data";
        return false;
    }
    return true;
}

bool KVSymbolResources::readSymbol(KVSymbol &symbol, QIODevice &device, const IKVDocumentContext *pContext)
{
    QJsonParseError error;
    const QJsonDocument doc = KVJsonReader::parse(device.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        qWarning() << "Error while reading symbol data. The data structure is invalid.";
        return false;
    }
    symbol.clearSymbolData();
    return symbol.readSymbolData(doc.object(), pContext);
}

bool KVSymbolResources::writeSymbolFile(const KVSymbol &symbol, const QString &strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning().noquote() << "Could not save symbol data:" << strPath << file.errorString();
        return false;
    }
    return writeSymbol(symbol, file) && file.flush();
}

bool KVSymbolResources::readSymbolFile(KVSymbol &symbol, const QString &strPath, const IKVDocumentContext *pContext)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning().noquote() << "Could not read the symbol file" << strPath << file.errorString();
        return false;
    }
    return readSymbol(symbol, file, pContext);
}
