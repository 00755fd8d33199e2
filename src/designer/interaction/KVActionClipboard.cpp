#include "KVActionClipboard.h"

#include "KVActionValues.h"
#include "KVEventListener.h"
#include "model/KVJsonUtil.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <limits>

namespace {
const QLatin1String kActionType("actionType");
const QLatin1String kActionData("actionData");
} // namespace

QString KVActionClipboard::mimeType()
{
    return QStringLiteral("action-data");
}

QByteArray KVActionClipboard::encode(const QList<const KVEventListener *> &handlers)
{
    QJsonArray array;
    for (const KVEventListener *pHandler : handlers) {
        if (!pHandler)
            continue;
        QJsonObject jo;
        jo.insert(kActionType, pHandler->action());
        jo.insert(kActionData, pHandler->actionData());
        array.append(jo);
    }
    return KVJsonUtil::toBinary(QJsonDocument(array));
}

QList<KVEventListener *> KVActionClipboard::decode(const QByteArray &data, int nEvent,
                                                   const QJsonObject &joEventValue, QString *pError)
{
    QList<KVEventListener *> handlers;
    const QJsonDocument document = data.isEmpty() ? QJsonDocument() : KVJsonUtil::fromBinary(data);
    if (!document.isArray()) {
        if (pError)
            *pError = tr("The clipboard does not hold actions that can be pasted.");
        return handlers;
    }
    const QJsonArray array = document.array();
    for (const QJsonValue &value : array) {
        const QJsonObject jo = value.toObject();
        const int nAction = KVActionValues::toInt(jo.value(kActionType), std::numeric_limits<int>::min());
        if (nAction == std::numeric_limits<int>::min())
            continue;
        handlers << new KVEventListener(nEvent, nAction, jo.value(kActionData).toObject(), joEventValue);
    }
    if (pError)
        pError->clear();
    return handlers;
}
