#include "KVSymbolResources.h"

#include "model/KVJsonReader.h"
#include "document/KVSymbol.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "model/KVSymbolElement.h"
#include "output/KVPlayerData.h"
#include "resources/KVFileCopier.h"
#include "resources/KVResource.h"
#include "resources/KVResourceType.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QtDebug>

#include <algorithm>

KVSymbolResources::KVSymbolResources() = default;

KVSymbolResources::~KVSymbolResources() = default;

bool KVSymbolResources::load(const KVResourceManager *pManager, const IKVDocumentContext *pContext)
{
    clear();
    if (!pManager)
        return true;
    for (const KVResource *pResource : pManager->liveResources(KVResourceType::Symbol)) {
        const QString strPath = pManager->filePath(pResource);
        if (!QFileInfo(strPath).isFile()) {
            m_errors << tr("The symbol file \"%1\" of symbol \"%2\" is missing.")
                            .arg(QFileInfo(strPath).fileName(), pResource->name());
            continue;
        }
        auto pSymbol = std::make_shared<KVSymbol>();
        if (!readSymbolFile(*pSymbol, strPath, pContext)) {
            m_errors << tr("The symbol file \"%1\" of symbol \"%2\" cannot be read.")
                            .arg(QFileInfo(strPath).fileName(), pResource->name());
            continue;
        }
        for (const QString &strRepair : pSymbol->readRepairs())
            m_repairs << tr("Symbol \"%1\": %2").arg(pResource->name(), strRepair);
        for (const KVScene *pScene : pSymbol->sceneList()->scenes()) {
            for (const QString &strRepair : pScene->readRepairs())
                m_repairs << tr("Symbol \"%1\", scene \"%2\": %3").arg(pResource->name(), pScene->name(), strRepair);
        }
        m_symbols.insert(pResource->id(), pSymbol);
    }
    dropCycles(pManager);
    // The instances inside the symbols play the other symbols.
    for (const auto &pSymbol : qAsConst(m_symbols))
        attach(*pSymbol);
    return m_errors.isEmpty();
}

void KVSymbolResources::dropCycles(const KVResourceManager *pManager)
{
    // Which symbols the instances of each loaded symbol play.
    QHash<int, QList<int>> plays;
    for (auto it = m_symbols.cbegin(); it != m_symbols.cend(); ++it) {
        QList<int> &targets = plays[it.key()];
        for (const KVScene *pScene : it.value()->sceneList()->scenes()) {
            pScene->forEachInSubtree([&targets](const KVElement *pElement) {
                if (pElement->type() == KVElementType::Symbol) {
                    const int nId = static_cast<const KVSymbolElement *>(pElement)->symbolId();
                    if (!targets.contains(nId))
                        targets.append(nId);
                }
            });
        }
    }
    auto nameOf = [pManager](int nId) {
        const KVResource *pResource = pManager->resource(nId);
        return pResource ? pResource->name() : QString::number(nId);
    };

    // Depth first from every symbol, without recursion (a chain of symbols may be long): a symbol
    // met again while it is still on the path closes a cycle.
    enum State { Unseen, OnPath, Done };
    QHash<int, State> state;
    QSet<int> dropped;
    QList<int> ids = m_symbols.keys();
    std::sort(ids.begin(), ids.end());
    for (int nStart : qAsConst(ids)) {
        if (state.value(nStart, Unseen) != Unseen)
            continue;
        QList<QPair<int, int>> path{{nStart, 0}}; // symbol, next target to look at
        state.insert(nStart, OnPath);
        while (!path.isEmpty()) {
            auto &top = path.last();
            const QList<int> &targets = plays.value(top.first);
            if (top.second >= targets.size()) {
                state.insert(top.first, Done);
                path.removeLast();
                continue;
            }
            const int nNext = targets.at(top.second++);
            if (!m_symbols.contains(nNext))
                continue;
            const State nextState = state.value(nNext, Unseen);
            if (nextState == Unseen) {
                state.insert(nNext, OnPath);
                path.append({nNext, 0});
            } else if (nextState == OnPath && !dropped.contains(nNext)) {
                // One message per symbol that closes a ring (another way round it says no more).
                QStringList chain;
                int nFrom = 0;
                while (path.at(nFrom).first != nNext)
                    ++nFrom;
                for (int n = nFrom; n < path.size(); ++n) {
                    chain << nameOf(path.at(n).first);
                    dropped.insert(path.at(n).first);
                }
                chain << nameOf(nNext);
                m_errors << tr("Symbol \"%1\" contains itself (%2); a symbol cannot play inside itself.")
                                .arg(nameOf(nNext), chain.join(QStringLiteral(" > ")));
            }
        }
    }
    for (int nId : qAsConst(dropped))
        m_symbols.remove(nId);
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

KVSymbol *KVSymbolResources::symbolOrFile(const KVResource *pResource, const KVResourceManager *pManager,
                                          const IKVDocumentContext *pContext)
{
    if (KVSymbol *pLoaded = symbol(pResource->id()))
        return pLoaded;
    const QString strPath = pManager->filePath(pResource);
    if (!QFileInfo(strPath).isFile())
        return nullptr;
    auto pSymbol = std::make_shared<KVSymbol>();
    if (!readSymbolFile(*pSymbol, strPath, pContext))
        return nullptr;
    m_symbols.insert(pResource->id(), pSymbol);
    return pSymbol.get();
}

bool KVSymbolResources::writeFiles(const KVResourceManager *pManager, const IKVDocumentContext *pContext,
                                   const FileHook &beforeReplace, const FileHook &afterReplace)
{
    bool bAll = true;
    for (const KVResource *pResource : pManager->liveResources(KVResourceType::Symbol)) {
        const QString strPath = pManager->filePath(pResource);
        const KVSymbol *pSymbol = symbolOrFile(pResource, pManager, pContext);
        if (!pSymbol) {
            // A file this version cannot read stays as it came; only a missing one is a failure.
            if (!QFileInfo(strPath).isFile()) {
                qWarning().noquote() << "Could not save symbol data:" << strPath << "(no symbol and no file)";
                bAll = false;
            }
            continue;
        }
        const QByteArray data = symbolData(*pSymbol);
        if (data.isEmpty()) {
            qWarning() << "Could not save symbol data";
            bAll = false;
            continue;
        }
        QFile current(strPath);
        if (current.size() == data.size() && current.open(QIODevice::ReadOnly) && current.readAll() == data)
            continue;
        current.close();
        QSaveFile file(strPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
            qWarning().noquote() << "Could not save symbol data:" << strPath << file.errorString();
            file.cancelWriting();
            bAll = false;
            continue;
        }
        if (beforeReplace)
            beforeReplace(strPath);
        if (!file.commit()) {
            qWarning().noquote() << "Could not save symbol data:" << strPath << file.errorString();
            bAll = false;
        }
        if (afterReplace)
            afterReplace(strPath);
    }
    return bAll;
}

QByteArray KVSymbolResources::symbolData(const KVSymbol &symbol)
{
    QJsonObject jo;
    return symbol.writeSymbolData(jo) ? QJsonDocument(jo).toJson(QJsonDocument::Compact) : QByteArray();
}

bool KVSymbolResources::writeSymbol(const KVSymbol &symbol, QIODevice &device)
{
    const QByteArray data = symbolData(symbol);
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
    if (!KVFileCopier::openRegularFile(file)) {
        qWarning().noquote() << "Could not read the symbol file" << strPath << "(not a regular file that can be read)";
        return false;
    }
    return readSymbol(symbol, file, pContext);
}
