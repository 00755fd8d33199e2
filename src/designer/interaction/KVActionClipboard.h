#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QString>

class KVEventListener;

// The "action-data" clipboard entry of the event-action dialog: Qt's binary JSON form of an array
// of {"actionType": action code, "actionData": action data}, one per copied action in row order.
class KVActionClipboard
{
    Q_DECLARE_TR_FUNCTIONS(KVActionClipboard)

public:
    static QString mimeType(); // "action-data"

    static QByteArray encode(const QList<const KVEventListener *> &handlers);

    // New handlers for the actions of an "action-data" entry, each with the given event code and
    // event value (a trigger's {"action_time": t}); the caller owns them. Objects without an
    // integer "actionType" are skipped. Data that is not such an array gives an empty list and,
    // when pError is given, the reason.
    static QList<KVEventListener *> decode(const QByteArray &data, int nEvent,
                                           const QJsonObject &joEventValue = QJsonObject(),
                                           QString *pError = nullptr);
};
