#pragma once

#include "KVDocument.h"
#include "document/KVLoadingIndicator.h"

// The custom preloader of a project: a project of its own, kept as
// "<base>_res/preloader/preloader.kavio" and owned by the project's document, that the exported page
// plays while the project loads. Beside a document's content it has its own loading indicator
// ("loadingIndicatorProps") and whether to show it ("useLoadingIndicator").
class KVPreloader : public KVDocument
{
    Q_OBJECT
public:
    explicit KVPreloader(QObject *pParent = nullptr);
    ~KVPreloader() override;

    bool useLoadingIndicator() const { return m_bUseLoadingIndicator; }
    void setUseLoadingIndicator(bool b) { m_bUseLoadingIndicator = b; }
    KVLoadingIndicator &loadingIndicator() { return m_loadingIndicator; }
    const KVLoadingIndicator &loadingIndicator() const { return m_loadingIndicator; }

protected:
    bool writeProjectJson(QJsonObject &joProject) const override;
    bool readProjectJson(const QJsonObject &joProject) override;

private:
    KVLoadingIndicator m_loadingIndicator;
    bool m_bUseLoadingIndicator = true;
};
