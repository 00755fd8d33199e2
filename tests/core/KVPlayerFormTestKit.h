#pragma once

// Reading the player form in tests.

#include "model/KVLayoutKey.h"

#include <QJsonArray>
#include <QJsonObject>

namespace KVPlayerFormTestKit {

// The values of one layout in an element's "rp" ([h, v, values] entries); empty when the layout
// was left out.
inline QJsonObject exportLayout(const QJsonObject &jo, const KVLayoutKey &key)
{
    for (const QJsonValue &entry : jo.value(QStringLiteral("rp")).toArray()) {
        const QJsonArray ja = entry.toArray();
        if (ja.at(0).toInt() == key.nHLayoutId && ja.at(1).toInt() == key.nVLayoutId)
            return ja.at(2).toObject();
    }
    return QJsonObject();
}

} // namespace KVPlayerFormTestKit
